// Writes the fuzzers' starting inputs, all a few kilobytes at most, from SaveBuilder's
// containers and LodBuilder's archives:
//   velkar_fuzz_seeds DIR  ->  DIR/container/*, DIR/save-name/*, DIR/game-data/*

#include "model/CharacterLayout.h"
#include "model/InventoryLayout.h"
#include "tests/support/Files.h"
#include "tests/support/LodBuilder.h"
#include "tests/support/SaveBuilder.h"
#include "tools/fuzz/ContainerInput.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace CI = ContainerInput;
using Bytes = std::vector<std::uint8_t>;

void Append(Bytes& bytes, std::uint64_t value, int width)
{
    for (int i = 0; i < width; ++i, value >>= 8)
        bytes.push_back(static_cast<std::uint8_t>(value));
}

void Append(Bytes& bytes, const Bytes& more)
{
    bytes.insert(bytes.end(), more.begin(), more.end());
}

Bytes Prefix(const SaveBuilder& builder, std::size_t length)
{
    Bytes image = builder.Build();
    image.resize(std::min(length, image.size()));
    return image;
}

// Values for the sweep: small, negative, large and edge numbers in turn.
Bytes Values()
{
    Bytes bytes;
    for (std::uint32_t v : {0u, 1u, 7u, 0xFFFFFFFFu, 0x7FFFu, 0x8000u, 0x7FFFFFFFu, 0x80000000u, 250u, 3u, 12u, 1173u,
                            0xFFu, 0x100u, 42u, 2u})
        Append(bytes, v, 4);
    return bytes;
}

// The selection: a group of the party's operations, then characters with a group each.
Bytes Picks(CI::PartyGroup party, std::initializer_list<std::pair<int, CI::Group>> characters)
{
    Bytes bytes{party, static_cast<std::uint8_t>(characters.size() - 1)};
    for (const auto& [n, group] : characters) {
        bytes.push_back(static_cast<std::uint8_t>(n - 1));
        bytes.push_back(group);
    }
    return bytes;
}

void WriteContainerSeeds(const std::filesystem::path& dir)
{
    const SaveBuilder builder;
    // The base container as it is.
    Bytes plain{0x01, 0x00};
    Append(plain, Picks(CI::Clock, {{1, CI::Fields}, {2, CI::Awards}, {50, CI::ActiveSpells}}));
    Append(plain, Values());
    WriteBytes(dir / "plain", plain);

    // Shorter files: just too short, exactly the smallest window, a little more.
    for (std::uint32_t extra : {0u, 16u, 300u}) {
        Bytes cut{0x01 | CI::TruncateBit};
        Append(cut, extra, 4);
        cut.push_back(0);
        Append(cut, Picks(CI::Roster, {{50, CI::Inventory}, {49, CI::Conditions}}));
        Append(cut, Values());
        WriteBytes(dir / ("truncated-" + std::to_string(extra)), cut);
    }

    // party.bin's offset (the unit after its name unit) moved: a little, to the start of
    // the file so the window covers the directory, and past the end.
    const std::size_t partyOffsetUnit = 288 + 32 + 16;
    for (std::uint32_t offset : {builder.PartyOffset() + 4, 0u, 0x7FFFFFF0u}) {
        Bytes moved{0x01, 0x01, CI::File};
        Append(moved, partyOffsetUnit, 2);
        moved.push_back(3); // four bytes
        Append(moved, offset, 4);
        Append(moved, Picks(CI::PartySpells, {{1, CI::Texts}, {25, CI::SpellGroups}, {26, CI::Skills}}));
        Append(moved, Values());
        WriteBytes(dir / ("party-at-" + std::to_string(offset)), moved);
    }

    // Inventories the model did not write: entry numbers past the table, covered cells
    // naming no anchor, a wide item anchored near the grid's corner.
    Bytes grid{0x01, 0x05};
    auto cell = [&](int n, int slot, std::uint32_t value) {
        grid.push_back(CI::Cell);
        grid.push_back(static_cast<std::uint8_t>(n - 1));
        Append(grid, static_cast<std::uint32_t>(slot), 2);
        Append(grid, value, 4);
    };
    cell(1, 0, 139);
    cell(1, 1, ~std::uint32_t{200});
    cell(2, InventoryLayout::CellCount - 1, 1);
    cell(2, InventoryLayout::CellCount, 612); // entry 1's item number: 14 x 4
    cell(3, 60, 0x80000000u);
    Append(grid, Picks(CI::Clock, {{1, CI::Inventory}, {2, CI::Inventory}, {3, CI::Inventory}}));
    Append(grid, Values());
    WriteBytes(dir / "odd-inventory", grid);

    // Raw containers: the start of a real one, cut inside the directory and after it.
    for (std::size_t length : {300u, 1024u, 2048u}) {
        Bytes raw{0x00};
        Append(raw, Prefix(builder, length));
        WriteBytes(dir / ("raw-" + std::to_string(length)), raw);
    }
}

void WriteNameSeeds(const std::filesystem::path& dir)
{
    const SaveBuilder builder("Before the final battle");
    for (std::uint8_t name : {0, 1}) {
        Bytes seed{name, 0};
        Append(seed, Prefix(builder, 1024));
        WriteBytes(dir / ("small-" + std::to_string(name)), seed);
    }

    // A directory longer than the lookup's first read.
    SaveBuilder longer("Long directory");
    for (int i = 0; i < 130; ++i)
        longer.AddMemberBefore("m" + std::to_string(i) + ".dat", 16);
    for (std::uint8_t buffer : {0, 1, 2}) {
        Bytes seed{1, buffer};
        Append(seed, Prefix(longer, 5000));
        WriteBytes(dir / ("long-directory-" + std::to_string(buffer)), seed);
    }

    // The name unit last in the first read, its offset unit in the next.
    Bytes edge{0, 1};
    Bytes file(4200, 0x20);
    const std::string party = "party.bin";
    std::copy(party.begin(), party.end(), file.begin() + 4080);
    file[4080 + party.size()] = 0;
    file[4096] = 0x10;
    Append(edge, file);
    WriteBytes(dir / "unit-at-chunk-end", edge);

    // The save name cut by the end of the file.
    Bytes cut{1, 0};
    Append(cut, Prefix(builder, 288 + 6 * 32 + 5)); // header.bin's data, where the name is
    WriteBytes(dir / "name-cut", cut);
    WriteBytes(dir / "empty", Bytes{2, 0});
}

void WriteGameDataSeeds(const std::filesystem::path& dir)
{
    using Packing = LodBuilder::Packing;
    const std::vector<LodBuilder::Row> rows{
        {0, "", ""}, {1, "item001", "Longsword"}, {2, "\"item002\"", "\"Broad sword\""}, {751, "null", "x"}};
    const std::string table = LodBuilder::ItemsText(rows);
    WriteBytes(dir / "items-txt", Bytes(table.begin(), table.end()));
    for (Packing packing : {Packing::Raw, Packing::Zlib}) {
        const std::string how = packing == Packing::Raw ? "raw" : "zlib";
        LodBuilder language("MMVIII", "language");
        language.AddFile("items.txt", table, packing).AddFile("ITEMS.TXT", "1\n2\n3", packing);
        WriteBytes(dir / ("language-" + how), language.Build());

        // Both transparency rules, mipmaps after the picture, a picture without its palette.
        LodBuilder icons("MMVI", "icons");
        icons.AddIcon("item001", 9, 7, packing);
        Bytes mipmapped(8 * 8 + 4 * 4 + 2 * 2, 3);
        icons.AddBitmap("item002", 8, 8, mipmapped, LodBuilder::IconPalette(), 0x202, packing);
        icons.Add({"item003", Bytes(12, 1), 0, 12, 4, 3, 0, {}});
        WriteBytes(dir / ("icons-" + how), icons.Build());
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: velkar_fuzz_seeds DIR\n");
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir / "container");
    std::filesystem::create_directories(dir / "save-name");
    std::filesystem::create_directories(dir / "game-data");
    WriteContainerSeeds(dir / "container");
    WriteNameSeeds(dir / "save-name");
    WriteGameDataSeeds(dir / "game-data");
    return 0;
}
