#include "model/Container.h"

#include "model/File.h"
#include "model/FileError.h"
#include "model/LittleEndian.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <stdexcept>

namespace {

// Reads grow from one page to a megabyte: a name near the start costs one small read,
// a member at the end of a long directory a few large ones, never one call per unit.
constexpr std::size_t FirstChunk = 4096;
constexpr std::size_t LargestChunk = 1u << 20;
static_assert(FirstChunk % ContainerUnitSize == 0 && LargestChunk % ContainerUnitSize == 0);

bool IsNameUnit(const unsigned char* unit, std::size_t unitSize, std::string_view name)
{
    // Only the bytes actually read take part: a short last unit never matches on stale bytes.
    if (name.size() + 1 > unitSize)
        return false;
    if (!name.empty() && unit[0] != static_cast<unsigned char>(name[0]))
        return false; // most units differ at once; keeps a long directory scan cheap
    return std::memcmp(unit, name.data(), name.size()) == 0 && unit[name.size()] == 0;
}

std::uint32_t LoadLE32(const unsigned char* p)
{
    return static_cast<std::uint32_t>(LittleEndian::LoadUnsigned(p, 4));
}

constexpr std::uint64_t Unbounded = std::numeric_limits<std::uint64_t>::max();

// The lookup; bufferFor(size) gives at least size bytes to read into. Stops looking at limit.
template <typename BufferFor>
std::optional<MemberEntry> Locate(File& file, std::string_view name, std::size_t largest, BufferFor bufferFor,
                                  std::uint64_t limit = Unbounded)
{
    std::uint64_t position = 0;
    std::size_t chunk = FirstChunk;
    for (;;) {
        if (position >= limit)
            return std::nullopt;
        std::uint8_t* const buffer = bufferFor(chunk);
        const std::size_t got = file.ReadAt(position, buffer, chunk);
        for (std::size_t at = 0; at < got; at += ContainerUnitSize) {
            const std::size_t unitSize = std::min<std::size_t>(ContainerUnitSize, got - at);
            if (!IsNameUnit(buffer + at, unitSize, name))
                continue;
            const std::size_t offsetUnit = at + ContainerUnitSize;
            if (offsetUnit + 4 <= got)
                return MemberEntry{LoadLE32(buffer + offsetUnit), position + at};
            // The offset unit lies past this chunk (or past the end of the file).
            unsigned char bytes[4];
            if (file.ReadAt(position + offsetUnit, bytes, sizeof bytes) < sizeof bytes)
                return std::nullopt;
            return MemberEntry{LoadLE32(bytes), position + at};
        }
        if (got < chunk)
            return std::nullopt;
        position += got;
        chunk = std::min(chunk * 4, largest);
    }
}

} // namespace

std::optional<std::uint32_t> FindMember(File& file, std::string_view name)
{
    return FindMember(file, name, Unbounded);
}

std::optional<std::uint32_t> FindMember(File& file, std::string_view name, std::uint64_t limit)
{
    // A buffer only as large as the reads so far: most directories end within the first,
    // and the save listing looks up one container after another.
    std::uint8_t first[FirstChunk];
    std::unique_ptr<std::uint8_t[]> larger;
    std::size_t largerSize = 0;
    const auto entry = Locate(
        file, name, LargestChunk,
        [&](std::size_t size) {
            if (size <= FirstChunk)
                return first;
            if (size > largerSize) {
                larger = std::make_unique_for_overwrite<std::uint8_t[]>(size);
                largerSize = size;
            }
            return larger.get();
        },
        limit);
    if (!entry)
        return std::nullopt;
    return entry->offset;
}

std::optional<std::uint32_t> FindMember(File& file, std::string_view name, std::span<std::uint8_t> buffer)
{
    const auto entry = LocateMember(file, name, buffer);
    if (!entry)
        return std::nullopt;
    return entry->offset;
}

std::optional<MemberEntry> LocateMember(File& file, std::string_view name, std::span<std::uint8_t> buffer)
{
    const std::size_t largest = std::min(LargestChunk, buffer.size() / ContainerUnitSize * ContainerUnitSize);
    if (largest < FirstChunk)
        throw std::invalid_argument("the member lookup needs a buffer of at least 4096 bytes");
    return Locate(file, name, largest, [&](std::size_t) { return buffer.data(); });
}

std::string ReadSaveName(File& file)
{
    const auto offset = FindMember(file, "header.bin", SaveNameScanLimit);
    if (!offset)
        return {};
    char bytes[SaveNameLength] = {};
    const std::size_t got = file.ReadAt(std::uint64_t{*offset} + SaveNameOffset, bytes, sizeof bytes);
    const std::string_view read(bytes, got);
    return std::string(read.substr(0, read.find('\0')));
}

std::optional<std::string> ReadSaveName(const std::filesystem::path& path)
{
    File file;
    try {
        file.Open(path, File::Share::Exclusive, File::Access::Read);
    } catch (const FileError&) {
        return std::nullopt;
    }
    try {
        return ReadSaveName(file);
    } catch (const FileError&) {
        return std::string(); // listed all the same, without a name; the list is rebuilt often
    }
}
