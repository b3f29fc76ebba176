#pragma once

#include "model/LodBitmap.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

// A directory entry: the name as stored, where the entry lies in the file, its size.
struct LodEntry {
    std::string Name;
    std::uint64_t Position; // absolute
    std::uint32_t Size;
};

// The header every entry starts with (after its name's copy).
struct LodEntryHeader {
    std::uint32_t BitmapSize; // 0 when the entry is no picture
    std::uint32_t DataSize;
    std::uint16_t Width;
    std::uint16_t Height;
    std::uint32_t UnpackedSize; // 0 when the data is stored raw
    std::uint32_t Flags;
};

// One of the game's LOD archives, opened read-only. The directory is read once, when the
// archive is opened; an entry is read only when asked for. Every position and size is checked
// against the file before it is used; what does not fit throws LodError with the reason.
class LodArchive {
public:
    // Reads the header and the directory. Throws LodError when the file cannot be opened or
    // read, or is damaged: a truncated header, a directory or an entry past the end of the file.
    explicit LodArchive(const std::filesystem::path& path);

    // The header's version ("MMVI" ... "MMVIII") and the root directory's name ("icons").
    const std::string& Version() const noexcept { return version_; }
    const std::string& RootName() const noexcept { return rootName_; }
    // Directory order, duplicates included.
    const std::vector<LodEntry>& Entries() const noexcept { return entries_; }
    // Case-insensitive (ASCII letters only); of two entries with one name, the first.
    const LodEntry* Find(std::string_view name) const;

    // These read the file and throw LodError for a damaged entry.
    LodEntryHeader ReadHeader(const LodEntry& entry);
    // The entry's data, unpacked: a text file's bytes, a picture's palette indices.
    std::vector<std::uint8_t> ReadData(const LodEntry& entry);
    LodBitmap ReadBitmap(const LodEntry& entry);

    // Lets go of the file until the next read, so that a long-lived archive does not keep the
    // game's file open (on Windows that would stop a patch from replacing it).
    void CloseFile() noexcept { stream_.close(); }

    // What one entry may cost, checked on its header before anything is allocated: the largest
    // text table of the game is about 160 KB, the largest item picture a few hundred pixels a side
    // (the backpack is 448 x 288).
    static constexpr std::uint32_t MaxEntrySize = 4u << 20;
    static constexpr int MaxPictureSide = 512;
    // Why an entry with this header is over one of those limits; "" when it is not.
    static std::string OverLimit(const LodEntryHeader& header);

private:
    std::vector<std::uint8_t> ReadData(const LodEntry& entry, const LodEntryHeader& header);
    void Open();
    void ReadAt(std::uint64_t position, void* buffer, std::size_t size);

    std::filesystem::path path_;
    std::ifstream stream_;
    std::uint64_t fileSize_ = 0;
    std::string version_;
    std::string rootName_;
    std::size_t nameLength_ = 0; // of the name copies that start entries
    std::vector<LodEntry> entries_;
    std::vector<std::string> folded_;   // entries_' names, lower-cased
    std::vector<std::uint32_t> byName_; // entries_ indices sorted by folded name, first of equals only
};
