#include "model/LodArchive.h"

#include "model/AsciiFold.h"
#include "model/LittleEndian.h"
#include "model/LodError.h"
#include "model/LodLayout.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstring>

namespace {

using namespace LodLayout;

template <typename T>
T Get(const std::uint8_t* bytes, std::size_t offset)
{
    return static_cast<T>(LittleEndian::LoadUnsigned(bytes + offset, sizeof(T)));
}

// A fixed-width C string: the bytes before its NUL (whatever follows the NUL is garbage).
std::string CString(const std::uint8_t* bytes, std::size_t width)
{
    const auto* end = std::find(bytes, bytes + width, std::uint8_t{0});
    return {bytes, end};
}

[[noreturn]] void Fail(const LodEntry& entry, const char* problem)
{
    throw LodError(entry.Name + ": " + problem);
}

} // namespace

LodArchive::LodArchive(const std::filesystem::path& path) : path_(path)
{
    Open();
    stream_.seekg(0, std::ios::end);
    const auto end = stream_.tellg();
    if (end < 0)
        throw LodError("the file cannot be read");
    fileSize_ = static_cast<std::uint64_t>(end);

    std::array<std::uint8_t, RootEnd> header;
    if (fileSize_ < header.size())
        throw LodError("the file is too short for an archive header");
    ReadAt(0, header.data(), header.size());
    if (std::memcmp(header.data() + Magic, MagicText.data(), MagicText.size()) != 0)
        throw LodError("the file is not a LOD archive");
    if (Get<std::uint32_t>(header.data(), DirectoryCount) == 0)
        throw LodError("the archive has no directory");
    version_ = CString(header.data() + LodLayout::Version, VersionLength);
    rootName_ = CString(header.data() + LodLayout::RootName, RootNameLength);

    const EntryShape shape = version_ == LongEntryVersion ? LongEntry : ShortEntry;
    nameLength_ = shape.NameLength;
    const std::uint64_t start = Get<std::uint32_t>(header.data(), RootStart);
    const std::size_t count = Get<std::uint16_t>(header.data(), RootFileCount);
    const std::uint64_t length = std::uint64_t{count} * shape.Stride;
    if (start > fileSize_ || length > fileSize_ - start)
        throw LodError("the directory runs past the end of the file");

    std::vector<std::uint8_t> directory(static_cast<std::size_t>(length));
    ReadAt(start, directory.data(), directory.size());
    entries_.reserve(count);
    folded_.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* record = directory.data() + i * shape.Stride;
        LodEntry entry{CString(record, shape.NameLength), start + Get<std::uint32_t>(record, shape.Offset),
                       Get<std::uint32_t>(record, shape.Size)};
        if (entry.Position > fileSize_ || entry.Size > fileSize_ - entry.Position)
            Fail(entry, "the entry runs past the end of the file");
        folded_.push_back(AsciiFold(entry.Name));
        entries_.push_back(std::move(entry));
    }

    byName_.resize(count);
    for (std::uint32_t i = 0; i < count; ++i)
        byName_[i] = i;
    const auto less = [this](std::uint32_t a, std::uint32_t b) { return folded_[a] < folded_[b]; };
    std::stable_sort(byName_.begin(), byName_.end(), less);
    const auto same = [this](std::uint32_t a, std::uint32_t b) { return folded_[a] == folded_[b]; };
    byName_.erase(std::unique(byName_.begin(), byName_.end(), same), byName_.end());
}

const LodEntry* LodArchive::Find(std::string_view name) const
{
    const std::string key = AsciiFold(name);
    const auto at = std::lower_bound(byName_.begin(), byName_.end(), key,
                                     [this](std::uint32_t i, const std::string& k) { return folded_[i] < k; });
    if (at == byName_.end() || folded_[*at] != key)
        return nullptr;
    return &entries_[*at];
}

LodEntryHeader LodArchive::ReadHeader(const LodEntry& entry)
{
    if (entry.Size < nameLength_ + EntryHeaderSize)
        Fail(entry, "the entry is shorter than its header");
    std::array<std::uint8_t, EntryHeaderSize> bytes;
    ReadAt(entry.Position + nameLength_, bytes.data(), bytes.size());
    return {Get<std::uint32_t>(bytes.data(), BitmapSize),   Get<std::uint32_t>(bytes.data(), DataSize),
            Get<std::uint16_t>(bytes.data(), Width),        Get<std::uint16_t>(bytes.data(), Height),
            Get<std::uint32_t>(bytes.data(), UnpackedSize), Get<std::uint32_t>(bytes.data(), Flags)};
}

std::vector<std::uint8_t> LodArchive::ReadData(const LodEntry& entry)
{
    return ReadData(entry, ReadHeader(entry));
}

std::vector<std::uint8_t> LodArchive::ReadData(const LodEntry& entry, const LodEntryHeader& header)
{
    if (header.DataSize > entry.Size - nameLength_ - EntryHeaderSize)
        Fail(entry, "the data runs past the end of the entry");
    // zlib never packs more than about 1032:1, so a larger stated size is a lie; refuse it
    // before allocating, as well as anything beyond what any picture or table needs.
    if (header.UnpackedSize > std::uint64_t{header.DataSize} * 1032 + 64)
        Fail(entry, "the stated unpacked size is implausible");
    if (const std::string over = OverLimit(header); !over.empty())
        throw LodError(entry.Name + ": " + over);
    std::vector<std::uint8_t> stored(header.DataSize);
    ReadAt(entry.Position + nameLength_ + EntryHeaderSize, stored.data(), stored.size());
    if (header.UnpackedSize == 0)
        return stored;

    std::vector<std::uint8_t> unpacked(header.UnpackedSize);
    uLongf size = header.UnpackedSize;
    const int result = uncompress(unpacked.data(), &size, stored.data(), static_cast<uLong>(stored.size()));
    if (result == Z_BUF_ERROR || (result == Z_OK && size != header.UnpackedSize))
        Fail(entry, "the data does not unpack to its stated size");
    if (result != Z_OK)
        Fail(entry, "the packed data is damaged");
    return unpacked;
}

std::string LodArchive::OverLimit(const LodEntryHeader& header)
{
    if (header.BitmapSize != 0 && (header.Width > MaxPictureSide || header.Height > MaxPictureSide)) {
        return "the picture is " + std::to_string(header.Width) + " x " + std::to_string(header.Height) +
               " pixels, more than " + std::to_string(MaxPictureSide) + " x " + std::to_string(MaxPictureSide);
    }
    const std::uint32_t size = std::max(header.UnpackedSize, header.DataSize);
    if (size > MaxEntrySize)
        return "its data is " + std::to_string(size) + " bytes, more than the " + std::to_string(MaxEntrySize >> 20) +
               " MB read";
    return {};
}

LodBitmap LodArchive::ReadBitmap(const LodEntry& entry)
{
    const LodEntryHeader header = ReadHeader(entry);
    if (header.BitmapSize == 0)
        Fail(entry, "the entry is not a picture");
    const std::vector<std::uint8_t> indices = ReadData(entry, header);
    // The palette follows the stored data; ReadData checked that the data fits.
    const std::uint64_t paletteAt = std::uint64_t{nameLength_} + EntryHeaderSize + header.DataSize;
    if (entry.Size - paletteAt < PaletteSize)
        Fail(entry, "the picture has no palette");
    std::array<std::uint8_t, PaletteSize> palette;
    ReadAt(entry.Position + paletteAt, palette.data(), palette.size());
    try {
        return LodBitmap::Decode(header.Width, header.Height, (header.Flags & FlagIndexZeroClear) != 0, indices,
                                 palette);
    } catch (const LodError& error) {
        Fail(entry, error.what());
    }
}

void LodArchive::Open()
{
    // Unbuffered: reads are few and exact, and an entry's header is only 0x20 bytes.
    stream_.rdbuf()->pubsetbuf(nullptr, 0);
    stream_.open(path_, std::ios::binary);
    if (!stream_)
        throw LodError("the file cannot be opened");
}

void LodArchive::ReadAt(std::uint64_t position, void* buffer, std::size_t size)
{
    if (size == 0)
        return;
    if (!stream_.is_open())
        Open();
    stream_.clear();
    stream_.seekg(static_cast<std::streamoff>(position));
    stream_.read(static_cast<char*>(buffer), static_cast<std::streamsize>(size));
    if (static_cast<std::size_t>(stream_.gcount()) != size)
        throw LodError("the file cannot be read");
}
