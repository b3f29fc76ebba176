#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// The game's LOD archives (Data/*.lod), little-endian. One place knows each offset.
namespace LodLayout {

// Archive header, 0x100 bytes.
inline constexpr std::size_t Magic = 0x00;   // "LOD\0"
inline constexpr std::size_t Version = 0x04; // char[80]: a C string, garbage after its NUL
inline constexpr std::size_t VersionLength = 80;
inline constexpr std::size_t Description = 0x54;    // char[80], not read
inline constexpr std::size_t DirectoryCount = 0xAC; // u32, 1 in every archive
inline constexpr std::size_t HeaderSize = 0x100;
inline constexpr std::string_view MagicText{"LOD\0", 4};

// The root directory's entry, right after the header.
inline constexpr std::size_t RootName = 0x100; // char[16]: icons, language, ...
inline constexpr std::size_t RootNameLength = 16;
inline constexpr std::size_t RootStart = 0x110;     // u32, absolute
inline constexpr std::size_t RootSize = 0x114;      // u32, wrong in some archives: not read
inline constexpr std::size_t RootFileCount = 0x11C; // u16
inline constexpr std::size_t RootEnd = 0x120;

// A directory entry. Its offset counts from the directory's start; MMVIII archives have long names.
struct EntryShape {
    std::size_t NameLength; // 0x00: char[NameLength]
    std::size_t Offset;     // u32
    std::size_t Size;       // u32
    std::size_t Stride;
};
inline constexpr EntryShape ShortEntry{16, 0x10, 0x14, 0x20};
inline constexpr EntryShape LongEntry{64, 0x40, 0x44, 0x4C};
inline constexpr std::string_view LongEntryVersion = "MMVIII";

// Every entry begins with a copy of its name (the directory's NameLength), then this header.
inline constexpr std::size_t BitmapSize = 0x00;   // u32 width x height; 0 for other files
inline constexpr std::size_t DataSize = 0x04;     // u32 bytes stored
inline constexpr std::size_t Width = 0x08;        // u16
inline constexpr std::size_t Height = 0x0A;       // u16
inline constexpr std::size_t PaletteId = 0x14;    // i16, not read (0x0C..0x13: texture fields)
inline constexpr std::size_t UnpackedSize = 0x18; // u32: 0 = stored raw, else a zlib stream of this size
inline constexpr std::size_t Flags = 0x1C;        // u32
inline constexpr std::size_t EntryHeaderSize = 0x20;

// A bitmap's data holds its palette indices, top row first; its 256 R,G,B follow.
inline constexpr std::size_t PaletteSize = 768;
inline constexpr std::uint32_t FlagMipmaps = 0x2;          // smaller copies follow the picture
inline constexpr std::uint32_t FlagIndexZeroClear = 0x200; // index 0 is transparent
inline constexpr std::uint16_t ClearRgb565 = 0x07FF;       // otherwise: colours that are this teal

static_assert(Version + VersionLength == Description && Description + VersionLength < DirectoryCount);
static_assert(RootName == HeaderSize && RootName + RootNameLength == RootStart);
static_assert(RootFileCount + 4 == RootEnd && RootEnd - RootName == 0x20);
static_assert(ShortEntry.Offset == ShortEntry.NameLength && ShortEntry.Size + 4 + 8 == ShortEntry.Stride);
static_assert(LongEntry.Offset == LongEntry.NameLength && LongEntry.Size + 4 + 4 == LongEntry.Stride);
static_assert(Flags + 4 == EntryHeaderSize && UnpackedSize + 4 == Flags && PaletteId + 4 == UnpackedSize);

} // namespace LodLayout
