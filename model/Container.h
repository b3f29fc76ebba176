#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

class File;

// The saved-game container is examined as 16-byte units from file position 0. A unit
// names member M when its bytes up to its first zero equal M and a zero; the unit after
// the first such unit holds the member's offset in its first four bytes (little-endian).
inline constexpr std::uint32_t ContainerUnitSize = 16;

// Where the lookup found a member: the offset its entry holds, and the file position of
// the name unit (the offset follows in the next unit).
struct MemberEntry {
    std::uint32_t offset;
    std::uint64_t namePosition;
};

// Returns the offset held by the unit after the first name unit of the member, or nothing
// when no name unit exists or the offset unit is shorter than four bytes.
std::optional<std::uint32_t> FindMember(File& file, std::string_view name);
// The same, looking no further than limit bytes into the file.
std::optional<std::uint32_t> FindMember(File& file, std::string_view name, std::uint64_t limit);
// The same, reading through a buffer of the caller's (at least 4096 bytes).
std::optional<std::uint32_t> FindMember(File& file, std::string_view name, std::span<std::uint8_t> buffer);
// The same lookup, telling where the entry lies too.
std::optional<MemberEntry> LocateMember(File& file, std::string_view name, std::span<std::uint8_t> buffer);

// The saved game's name: the text in the 32 bytes at header.bin's offset + 288, up to the
// first zero. Empty when there is no header.bin within the first SaveNameScanLimit bytes (the
// directory comes first; the list is rebuilt at every keystroke) or those bytes lie past the end.
inline constexpr std::uint32_t SaveNameOffset = 288;
inline constexpr std::size_t SaveNameLength = 32;
inline constexpr std::uint64_t SaveNameScanLimit = std::uint64_t{4} << 20;
std::string ReadSaveName(File& file);

// Opens the container exclusively for reading, as the listing does; nothing when it cannot
// be opened (missing, a folder, no regular file, held by another program), an empty name
// when it opens but cannot be read.
std::optional<std::string> ReadSaveName(const std::filesystem::path& path);
