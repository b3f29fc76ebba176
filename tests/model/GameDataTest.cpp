#include "model/GameData.h"
#include "tests/support/Files.h"
#include "tests/support/LodBuilder.h"
#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

namespace fs = std::filesystem;
using Rows = std::vector<LodBuilder::Row>;

// An archive of a scenario: its file in the data folder, and for a language archive item 1's
// name in its items.txt, for an icon archive the width of item 1's picture. "!" is a file cut
// inside its header, "?" an archive whose item 1 entry is damaged.
struct Lod {
    std::string File;
    std::string Value;
};

void WriteLanguage(const fs::path& path, const std::string& name, const char* version = "MMVIII")
{
    LodBuilder lod(version, "language");
    const Rows rows{{1, "item001", name}, {2, "item002", name + " two"}};
    if (name == "?")
        lod.Add({"items.txt", std::vector<std::uint8_t>(30, 0x55), 500});
    else
        lod.AddFile("items.txt", LodBuilder::ItemsText(rows));
    lod.WriteTo(path);
}

void WriteIcons(const fs::path& path, const std::string& width, bool base)
{
    LodBuilder lod("MMVI", "icons");
    lod.AddIcon("item001", width == "?" ? 20 : std::stoi(width), 30);
    if (base)
        lod.AddIcon("item002", 50, 70);
    std::vector<std::uint8_t> bytes = lod.Build();
    if (width == "?") { // item001's entry is shorter than its header
        const std::uint8_t size[] = {10, 0, 0, 0};
        std::copy(size, size + 4, bytes.begin() + 0x120 + 0x14);
    }
    WriteBytes(path, bytes);
}

void WriteCut(const fs::path& path)
{
    std::ofstream(path, std::ios::binary) << std::string("LOD\0MMVI", 8);
}

TEST(GameDataTest, OverlaysLooseFilesAndDamagedArchivesDecideWhatIsUsed)
{
    const std::string cut = "(the file is too short for an archive header)";
    const struct {
        const char* what;
        const char* data; // the data folder's name as it is on disk
        std::vector<Lod> language, icons;
        const char* loose; // item 1's name in DataFiles/items.txt
        const char* name;  // item 1's name, or none
        int wide, wideTwo; // item 1's and item 2's width in cells, 0 for none
        std::vector<std::string> messages;
    } cases[] = {
        {"base archives", "Data", {{"EnglishT.lod", "Base"}}, {{"icons.lod", "20"}}, nullptr, "Base", 1, 2, {}},
        {"overlays, the last name first",
         "Data",
         {{"EnglishT.lod", "Base"}, {"b.EnglishT.lod", "B"}, {"a.T.lod", "A"}},
         {{"icons.lod", "20"}, {"2.icons.lod", "80"}, {"1.icons.lod", "50"}},
         nullptr,
         "B",
         3,
         2,
         {}},
        {"loose table first", "Data", {{"EnglishT.lod", "Base"}, {"a.T.lod", "A"}}, {}, "Loose", "Loose", 0, 0, {}},
        {"no base archives", "data", {{"x.T.lod", "X"}}, {{"x.icons.lod", "50"}}, nullptr, "X", 2, 0, {}},
        {"the language archive known by its header",
         "DATA",
         {{"Russian.lod", "Ru"}, {"games.lod", "MMVII"}},
         {},
         nullptr,
         "Ru",
         0,
         0,
         {}},
        {"damaged archives left out",
         "DATA",
         {{"EnglishT.lod", "Base"}, {"z.T.lod", "!"}},
         {{"icons.lod", "20"}, {"z.icons.lod", "!"}, {"y.icons.lod", "?"}},
         nullptr,
         "Base",
         1,
         2,
         {"DATA/z.T.lod could not be read " + cut + "; its texts are not used.",
          "DATA/z.icons.lod could not be read " + cut + "; its pictures are not used.",
          "DATA/y.icons.lod could not be read (item001: the entry is shorter than its header); its pictures are "
          "not used."}},
        {"a damaged table and no other",
         "Data",
         {{"EnglishT.lod", "?"}},
         {{"icons.lod", "!"}},
         nullptr,
         nullptr,
         0,
         0,
         {"Data/EnglishT.lod could not be read (items.txt: the packed data is damaged); its item names are not used.",
          "Data/icons.lod could not be read " + cut + "; its pictures are not used."}},
        {"nothing", "Data", {}, {}, nullptr, nullptr, 0, 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDirectory game;
        const fs::path data = game / c.data;
        fs::create_directories(data);
        for (const Lod& lod : c.language) {
            if (lod.Value == "!")
                WriteCut(data / lod.File);
            else if (lod.Value == "MMVII")
                WriteLanguage(data / lod.File, "Not this one", "MMVII");
            else
                WriteLanguage(data / lod.File, lod.Value);
        }
        for (const Lod& lod : c.icons) {
            if (lod.Value == "!")
                WriteCut(data / lod.File);
            else
                WriteIcons(data / lod.File, lod.Value, lod.File == "icons.lod");
        }
        if (c.loose != nullptr) {
            fs::create_directories(game / "DataFiles");
            const Rows rows{{1, "item001", c.loose}};
            std::ofstream(game / "DataFiles" / "items.txt", std::ios::binary) << LodBuilder::ItemsText(rows);
        }

        const GameData gameData(game.Path());
        EXPECT_EQ(gameData.HasItemTable(), c.name != nullptr);
        EXPECT_EQ(gameData.GetItemName(1), c.name != nullptr ? std::optional<std::string_view>(c.name) : std::nullopt);
        const auto wide = [&](int n) { return gameData.GetItemSize(n) ? gameData.GetItemSize(n)->Width : 0; };
        EXPECT_EQ(wide(1), c.wide);
        EXPECT_EQ(wide(2), c.wideTwo);
        EXPECT_EQ(gameData.Messages(), c.messages);
    }
}

TEST(GameDataTest, SizesComeFromThePicturesWhichDecodeOnDemand)
{
    TempDirectory game;
    const int pixels[] = {13, 14, 45, 46, 77, 78};
    const int cells[] = {1, 1, 1, 2, 2, 3};
    Rows rows;
    LodBuilder icons("MMVI", "icons");
    for (int i = 0; i < 6; ++i) {
        std::string picture = std::to_string(pixels[i]);
        picture.insert(picture.begin(), 'p'); // not "p" + ...: a false -Wrestrict of GCC 12 at -O3
        rows.push_back({i + 1, picture, std::string("Item ").append(picture)});
        icons.AddIcon(picture, pixels[i], pixels[5 - i]);
    }
    rows.push_back({7, "null", "Placeholder"});
    rows.push_back({8, "text", "A text, not a picture"});
    rows.push_back({1003, "P13", "A mod's item"});
    icons.AddFile("text", "abc");
    icons.WriteTo(game / "Data" / "icons.lod");
    LodBuilder("MMVIII", "language")
        .AddFile("items.txt", LodBuilder::ItemsText(rows))
        .WriteTo(game / "Data" / "EnglishT.lod");

    const GameData data(game.Path());
    EXPECT_EQ(data.ItemCount(), 1003);
    for (int i = 0; i < 6; ++i) {
        ASSERT_TRUE(data.GetItemSize(i + 1));
        EXPECT_EQ(data.GetItemSize(i + 1)->Width, cells[i]) << pixels[i];
        EXPECT_EQ(data.GetItemSize(i + 1)->Height, cells[5 - i]) << pixels[5 - i];
    }
    EXPECT_EQ(data.GetItemSize(1003)->Width, 1);
    for (int n : {0, 7, 8, 9, 1002, 1004})
        EXPECT_FALSE(data.GetItemSize(n)) << n;
    EXPECT_EQ(data.GetItemPicture(1003), "P13");

    const auto icon = data.GetItemIcon(5);
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->Width(), 77);
    EXPECT_EQ(icon->Height(), 14);
    EXPECT_EQ(icon->Pixels().front(), 0u);               // the teal corner is transparent
    EXPECT_EQ(icon->Pixels()[7 * 77 + 38] >> 24, 0xFFu); // the middle is not
    EXPECT_FALSE(data.GetIcon("text"));
    EXPECT_FALSE(data.GetItemIcon(7));
    EXPECT_FALSE(data.GetItemIcon(2000));
}

// Hostile entries: each over a limit is left out alone, named once, and the next archive's
// table or picture is used; nothing over a limit is unpacked.
TEST(GameDataTest, EntriesOverTheLimitsAreLeftOutAndNamedOnce)
{
    const std::vector<std::uint8_t> noise(5000, 0x55); // would not unpack: proof it is not tried
    const auto palette = LodBuilder::IconPalette();
    const struct {
        const char* file; // in the game folder; with no entries, a loose table of 4 MB and a byte
        std::vector<LodBuilder::Entry> entries;
        std::string message;
    } cases[] = {
        {"Data/z.T.lod",
         {{"items.txt", noise, 5000000}},
         "Data/z.T.lod: items.txt is left out (its data is 5000000 bytes, more than the 4 MB read)."},
        {"DataFiles/items.txt",
         {},
         "DataFiles/items.txt could not be read (the file is 4194305 bytes, more than the 4 MB read); its item "
         "names are not used."},
        // item001 is shown by two items, and named once.
        {"Data/z.icons.lod",
         {{"item001", noise, 0, 8000 * 8000, 8000, 8000, 0, palette}, {"item002", noise, 0, 4800, 600, 8, 0, palette}},
         "Data/z.icons.lod: item001 is left out (the picture is 8000 x 8000 pixels, more than 512 x 512), and 1 "
         "more over the limits."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        TempDirectory game;
        const fs::path data = game / "Data";
        const Rows rows{{1, "item001", "Base"}, {2, "item002", "Two"}, {3, "ITEM001", "Three"}};
        LodBuilder("MMVIII", "language")
            .AddFile("items.txt", LodBuilder::ItemsText(rows))
            .WriteTo(data / "EnglishT.lod");
        WriteIcons(data / "icons.lod", "20", true);
        LodBuilder hostile("MMVI", "icons");
        for (const LodBuilder::Entry& entry : c.entries)
            hostile.Add(entry);
        fs::create_directories(game / "DataFiles");
        if (c.entries.empty())
            WriteBytes(game / c.file, std::vector<std::uint8_t>((4u << 20) + 1, 'x'));
        else
            hostile.WriteTo(game / c.file);

        const GameData gameData(game.Path());
        EXPECT_EQ(gameData.GetItemName(1), "Base");
        for (int n : {1, 3}) { // the base archive's 20 x 30 picture
            EXPECT_EQ(gameData.GetItemSize(n), (ItemSize{1, 1}));
            EXPECT_EQ(gameData.GetItemIcon(n).value_or(LodBitmap()).Width(), 20);
        }
        EXPECT_EQ(gameData.Messages(), std::vector<std::string>{c.message});
    }

    // All pictures together: each counts once, in the table's order, until the bound.
    TempDirectory game;
    const int fit = static_cast<int>(GameData::MaxDecodedPerGame / (512 * 512 * 4));
    Rows rows;
    LodBuilder icons("MMVI", "icons");
    for (int n = 1; n <= fit + 1; ++n) {
        rows.push_back({n, "p" + std::to_string(n), "Item"});
        icons.AddIcon(rows.back().Picture, 512, 512);
    }
    rows.push_back({fit + 2, "P1", "The first picture again"});
    icons.WriteTo(game / "Data" / "icons.lod");
    LodBuilder("MMVIII", "language")
        .AddFile("items.txt", LodBuilder::ItemsText(rows))
        .WriteTo(game / "Data" / "EnglishT.lod");
    const GameData gameData(game.Path());
    for (int n : {1, fit, fit + 2})
        EXPECT_TRUE(gameData.GetItemIcon(n)) << n;
    EXPECT_FALSE(gameData.GetItemIcon(fit + 1));
    EXPECT_EQ(gameData.GetItemSize(fit + 1)->Width, 16) << "its size is still known";
    EXPECT_EQ(gameData.Messages(), std::vector<std::string>{"Item pictures from p" + std::to_string(fit + 1) +
                                                            " on (1 in all) are not shown: together they would take "
                                                            "more than 64 MB."});
}

TEST(GameDataTest, LoadReadsAFolderAgainOnlyWhenAnArchiveChanged)
{
    TempDirectory game;
    const Rows rows = LodBuilder::FullTable(3);
    LodBuilder::WriteGame(game.Path(), rows);
    const auto first = GameData::Load(game.Path());
    EXPECT_EQ(GameData::Load(game.Path()), first);
    EXPECT_EQ(first->GetItemName(2), "Item number 2");

    LodBuilder("MMVI", "icons").AddIcon("item002", 110, 30).WriteTo(game / "Data" / "icons.lod");
    const auto second = GameData::Load(game.Path());
    EXPECT_NE(second, first);
    EXPECT_EQ(second->GetItemSize(2)->Width, 4);
    EXPECT_EQ(GameData::Load(game.Path()), second);
}

} // namespace
