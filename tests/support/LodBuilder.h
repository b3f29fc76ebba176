#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Writes LOD archives shaped like the game's own: the 0x100-byte header, the root directory's
// entry, the directory (0x20-byte entries, 0x4C-byte ones for version MMVIII), then the
// entries, each a copy of its name, a 0x20-byte header and its data (a picture's palette
// after it). Offsets are written from this file's own reading of the format.
class LodBuilder {
public:
    enum class Packing { Raw, Zlib };

    // An entry as it is stored, for damaged ones: nothing is checked or computed.
    struct Entry {
        std::string Name;
        std::vector<std::uint8_t> Stored{};
        std::uint32_t UnpackedSize = 0;
        std::uint32_t BitmapSize = 0;
        std::uint16_t Width = 0;
        std::uint16_t Height = 0;
        std::uint32_t Flags = 0;
        std::vector<std::uint8_t> Tail{}; // after the stored data: a picture's palette
    };

    // An items.txt row.
    struct Row {
        int Number;
        std::string Picture;
        std::string Name;
    };

    LodBuilder(std::string version, std::string root);

    LodBuilder& Add(Entry entry);
    LodBuilder& AddFile(std::string name, std::string_view data, Packing packing = Packing::Zlib);
    // indices: palette indices, top row first (mipmaps may follow); palette: 768 bytes.
    LodBuilder& AddBitmap(std::string name, int width, int height, std::vector<std::uint8_t> indices,
                          std::vector<std::uint8_t> palette, std::uint32_t flags = 0, Packing packing = Packing::Zlib);
    // A picture like the game's icons: a teal background (index 0) round a shaded shape.
    LodBuilder& AddIcon(std::string name, int width, int height, Packing packing = Packing::Zlib);

    std::vector<std::uint8_t> Build() const;
    // Creates the folders the path needs.
    void WriteTo(const std::filesystem::path& path) const;

    // Where entry i's name copy starts in Build()'s bytes.
    std::size_t EntryPosition(std::size_t i) const;
    std::size_t NameLength() const;

    static std::vector<std::uint8_t> Pack(std::span<const std::uint8_t> data);
    // The palette AddIcon uses: index 0 teal, the rest shades.
    static std::vector<std::uint8_t> IconPalette();
    // items.txt as the game has it: a title line, the 17 column names, one CRLF line per row.
    static std::string ItemsText(std::span<const Row> rows);
    // A class.txt shaped as the Merge's: a header, then count rows, the class number being the
    // row; row 0's quoted description runs over four lines; every seventh row is "n/u". Class n
    // is "Class name n".
    static std::string ClassText(int count);
    // An awards.txt: a header, then "A Bit" 2..count + 1 with "Award text k" (award k - 1),
    // every ninth row blank, then blank rows up to count + 8.
    static std::string AwardsText(int count);
    // A full English table: items 0..count-1, item n showing picture "item%03d" (none for 0).
    static std::vector<Row> FullTable(int count);
    // <game>/Data/EnglishT.lod with items.txt for rows, a Merge-sized class.txt (60 rows) and
    // awards.txt (104 awards), and other texts the game has, and
    // <game>/Data/icons.lod with an icon for each row's picture, of varied sizes, among
    // extraIcons pictures no item uses.
    static void WriteGame(const std::filesystem::path& game, std::span<const Row> rows, int extraIcons = 0);

private:
    std::string version_;
    std::string root_;
    std::vector<Entry> entries_;
};
