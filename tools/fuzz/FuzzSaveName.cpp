// The container lookup and the save-name reader the save listing uses, on arbitrary files
// (mounted in memory): besides what the sanitizers report, both must agree with a plain
// in-memory reading of the container rules in Container.h, whatever the read buffer's size.
//
// Input: a byte choosing the member name, a byte choosing the lookup buffer, for a fuzzed
// name its length and bytes, then the file.

#include "model/Container.h"
#include "model/File.h"
#include "tools/fuzz/ByteReader.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

void Check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "\n*** container check failed: %s\n", what);
        std::fflush(stderr);
        std::abort();
    }
}

// Where the file is mounted: no file is written or read on disk.
const std::filesystem::path FilePath = "/velkar-fuzz/save.dod";

// Container.h's rules, read straight off the bytes.
std::optional<std::uint32_t> ExpectedMember(std::span<const std::uint8_t> file, std::string_view name)
{
    for (std::size_t at = 0; at < file.size(); at += ContainerUnitSize) {
        const auto unit = file.subspan(at, std::min<std::size_t>(ContainerUnitSize, file.size() - at));
        const auto zero = std::find(unit.begin(), unit.end(), 0);
        if (zero == unit.end())
            continue;
        const auto length = static_cast<std::size_t>(zero - unit.begin());
        if (std::string_view(reinterpret_cast<const char*>(unit.data()), length) != name)
            continue;
        const std::size_t offset = at + ContainerUnitSize;
        if (offset + 4 > file.size())
            return std::nullopt;
        const std::uint8_t* p = file.data() + offset;
        return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
    }
    return std::nullopt;
}

std::string ExpectedSaveName(std::span<const std::uint8_t> file)
{
    const auto header = ExpectedMember(file, "header.bin");
    if (!header)
        return {};
    const std::uint64_t at = std::uint64_t{*header} + SaveNameOffset;
    if (at >= file.size())
        return {};
    const auto bytes = file.subspan(static_cast<std::size_t>(at),
                                    std::min<std::size_t>(SaveNameLength, file.size() - static_cast<std::size_t>(at)));
    return {bytes.begin(), std::find(bytes.begin(), bytes.end(), 0)};
}

// Buffer sizes around the lookup's chunking: its smallest, not a whole number of units,
// larger than its largest chunk, and one too small to be accepted.
constexpr std::size_t BufferSizes[] = {0, 4096, 4104, 4111, 8192, 16400, (1u << 20) + 100, 4095};

// One buffer of each size, made once and of exactly that size, so that the sanitizer still
// sees a read past its end.
std::span<std::uint8_t> Buffer(std::size_t pick)
{
    static std::unique_ptr<std::uint8_t[]> buffers[std::size(BufferSizes)];
    if (!buffers[pick])
        buffers[pick] = std::make_unique_for_overwrite<std::uint8_t[]>(BufferSizes[pick]);
    return {buffers[pick].get(), BufferSizes[pick]};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ByteReader in({data, size}, ByteReader::AtEnd::Zeros);
    std::string name;
    switch (in.Byte() % 4) {
    case 0:
        name = "party.bin";
        break;
    case 1:
        name = "header.bin";
        break;
    case 2:
        break; // the empty name: a unit that starts with a zero
    default:
        for (std::uint8_t b : in.Take(in.Byte() % 20))
            name.push_back(static_cast<char>(b == 0 ? 1 : b)); // a zero cannot be part of a name
        break;
    }
    const std::size_t bufferPick = in.Byte() % std::size(BufferSizes);
    const auto content = in.Rest();
    static const auto bytes = [] {
        auto mounted = std::make_shared<File::Bytes>();
        File::Mount(FilePath, mounted);
        return mounted;
    }();
    bytes->assign(content.begin(), content.end());

    const auto expected = ExpectedMember(content, name);
    File file;
    file.Open(FilePath, File::Share::ReadWrite);
    if (BufferSizes[bufferPick] == 0) {
        Check(FindMember(file, name) == expected, "FindMember");
    } else {
        const std::span<std::uint8_t> buffer = Buffer(bufferPick);
        bool refused = false;
        std::optional<std::uint32_t> found;
        try {
            found = FindMember(file, name, buffer);
        } catch (const std::invalid_argument&) {
            refused = true;
        }
        Check(refused == (buffer.size() < 4096), "FindMember's buffer check");
        Check(refused || found == expected, "FindMember with a buffer");
    }

    const std::string saveName = ExpectedSaveName(content);
    Check(ReadSaveName(file) == saveName, "ReadSaveName");
    file.Close();
    Check(ReadSaveName(FilePath) == saveName, "ReadSaveName by path");
    return 0;
}
