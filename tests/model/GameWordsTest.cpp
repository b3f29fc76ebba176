#include "model/GameWords.h"
#include "model/GameData.h"
#include "model/GameTextTable.h"
#include "model/SaveGame.h"
#include "tests/support/Files.h"
#include "tests/support/LodBuilder.h"
#include "tests/support/SaveBuilder.h"
#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

using Rows = std::vector<std::vector<std::string>>;

TEST(GameTextTableTest, ReadsQuotedRecordsNotLines)
{
    const struct {
        std::string text;
        std::size_t columns;
        Rows rows;
    } cases[] = {
        {"H\r\n\"a\r\nb\tc\"\tx\r\n", 2, {{"a\r\nb\tc", "x"}}},
        {"H\n\"say \"\"hi\"\"\"\tq\n", 2, {{"say \"hi\"", "q"}}},
        {"H\nA\nB\tb\n", 2, {{"A", ""}, {"B", "b"}}},
        {"H\nA\n\nB\n\r\n\n\"\"\n", 1, {{"A"}, {""}, {"B"}}},
        {"H\n12\" long\tx\ty\n", 2, {{"12\" long", "x"}}},
        {"H\n\"open\nrest", 1, {{"open\nrest"}}},
        {"", 1, {}},
        {"H\tI\tJ", 3, {}},
    };
    for (const auto& c : cases) {
        const std::optional<GameTextTable> table = GameTextTable::Parse(c.text, 1, c.columns);
        ASSERT_TRUE(table.has_value()) << c.text;
        EXPECT_EQ(table->Rows(), c.rows) << c.text;
    }
}

TEST(GameTextTableTest, ATableOverTheCapIsRefusedWhole)
{
    std::string rows = "H\n";
    for (std::size_t i = 0; i < GameTextTable::MaxRows; ++i)
        rows += "r\n";
    EXPECT_EQ(GameTextTable::Parse(rows + "\n\n\n", 1, 1)->Rows().size(), GameTextTable::MaxRows);
    EXPECT_FALSE(GameTextTable::Parse(rows + "\nr\n", 1, 1).has_value());
    const std::string full(GameTextTable::MaxBytes, '\t');
    EXPECT_TRUE(GameTextTable::Parse(full, 0, 1).has_value());
    EXPECT_FALSE(GameTextTable::Parse(full + "\t", 0, 1).has_value());
}

// The Merge's class.txt as it starts (a description over four lines, unused numbers), and an
// awards.txt starting as the English game's does, with gaps, a blank text and bits past the area.
const std::string kMergeClasses = "Class\tDescription\tNotes\r\n"
                                  "Archer\tGood at range.\tMM7\r\n"
                                  "Peasant\t\"Works the land.\r\nFights with \"\"what\"\" is at hand.\r\n"
                                  "\tLearns slowly.\r\nDies often.\"\tMerge\r\n"
                                  "n/u\t\t\r\n"
                                  "Master Archer\t\t\r\n"
                                  "Sniper\t\t\r\n"
                                  "Priest\t\t\r\n"
                                  "Delete me\t\t\r\n"
                                  "\t\t\r\n"
                                  "Sorcerer\t\t\r\n";
const std::string kAwards = "A Bit\tAward\tSort\tNotes\r\n"
                            "2\tBrought Power Stone to Fredrick Talimere.\t1\t\r\n"
                            "3\tBlackmailed the Wererat Smugglers.\t2\t\r\n"
                            "5\tWon X Page Arena Victories\t3\t\r\n"
                            "7\t \t\t\r\n"
                            "x\tNo number\t\t\r\n"
                            "104\tThe Merge's last\t4\t\r\n"
                            "513\tPast the area\t5\t\r\n"
                            "\t\t\t\r\n";

TEST(GameWordsTest, AMergeShapedGameNamesClassesByRowAndAwardsByBit)
{
    TempDirectory game;
    LodBuilder("MMVIII", "language")
        .AddFile("items.txt", LodBuilder::ItemsText(LodBuilder::FullTable(10)))
        .AddFile("class.txt", kMergeClasses)
        .AddFile("awards.txt", kAwards)
        .WriteTo(game / "Data" / "EnglishT.lod");
    const GameWords words = GameWords::FromGame(GameData::Load(game.Path()), "1251");
    EXPECT_EQ(words.CodePage(), "1251");

    const ClassTable& classes = words.Classes();
    EXPECT_EQ(classes.NamedNumbers(), (std::vector<int>{0, 1, 3, 4, 5, 8}));
    EXPECT_EQ(classes.GetClassName(1), "Peasant");
    EXPECT_EQ(classes.GetClassName(5), "Priest");
    EXPECT_EQ(classes.GetClassName(8), "Sorcerer");
    for (int unnamed : {-1, 2, 6, 7, 9, 200})
        EXPECT_FALSE(classes.GetClassName(unnamed).has_value()) << unnamed;

    const AwardTable& awards = words.Awards();
    EXPECT_EQ(awards.Count(), 104);
    EXPECT_EQ(awards.NamedNumbers(), (std::vector<int>{1, 2, 4, 103}));
    EXPECT_EQ(awards.GetAwardText(1), "Brought Power Stone to Fredrick Talimere.");
    EXPECT_EQ(awards.GetAwardText(4), "Won X Page Arena Victories");
    EXPECT_EQ(awards.GetAwardText(6), "");
    EXPECT_FALSE(awards.GetAwardText(104).has_value());

    // Award 1 is bit 0x40 of byte 962; award 103, the last, bit 0x01 of byte 974; 104 is none.
    const auto path = game / "Saves" / "save000.dod";
    std::filesystem::create_directories(path.parent_path());
    SaveBuilder().WriteTo(path);
    SaveGame save;
    ASSERT_TRUE(save.Open(path, words));
    const std::vector<std::uint8_t> before(save.GetWindow().begin(), save.GetWindow().end());
    save.SetAward(2, 1);
    save.SetAward(2, 103);
    save.SetAward(2, 104);
    save.ClearAward(2, 104);
    std::vector<std::uint8_t> expected = before;
    expected[static_cast<std::size_t>(SaveBuilder::CharacterOffset(2, 962))] |= 0x40;
    expected[static_cast<std::size_t>(SaveBuilder::CharacterOffset(2, 974))] |= 0x01;
    EXPECT_EQ(std::vector<std::uint8_t>(save.GetWindow().begin(), save.GetWindow().end()), expected);
    EXPECT_EQ(save.GetAward(2, 103), 0x01);
    EXPECT_EQ(save.GetAward(2, 104), -1);
}

TEST(GameWordsTest, AMissingUnusableOrOversizedTableLeavesTheBuiltInWords)
{
    const std::string huge = "Class\n" + std::string(GameTextTable::MaxRows + 1, '\n') + "Giant\n";
    const struct {
        const char* what;
        std::string loose, archived; // class.txt in DataFiles and in the archive; "" for none
        const char* class0;
        std::size_t messages;
    } cases[] = {
        {"no table", "", "", "Necromancer", 0},
        {"only unused rows", "", "Class\nDelete me\nn/u\n \n", "Necromancer", 0},
        {"a loose table wins", "Class\nLoose\n", "Class\nArchived\n", "Loose", 0},
        {"an oversized loose table is left out", huge, "Class\nArchived\n", "Archived", 1},
    };
    for (const auto& c : cases) {
        TempDirectory game;
        LodBuilder lod("MMVIII", "language");
        lod.AddFile("items.txt", "Items\nItem #\n");
        if (!c.archived.empty())
            lod.AddFile("class.txt", c.archived);
        lod.WriteTo(game / "Data" / "EnglishT.lod");
        if (!c.loose.empty()) {
            std::filesystem::create_directories(game / "DataFiles");
            std::ofstream(game / "DataFiles" / "Class.TXT", std::ios::binary) << c.loose;
        }
        const auto data = GameData::Load(game.Path());
        const GameWords words = GameWords::FromGame(data, "1252");
        EXPECT_EQ(words.Classes().GetClassName(0), c.class0) << c.what;
        EXPECT_FALSE(words.Items().IsFromGame()) << c.what << ": an items.txt without rows";
        EXPECT_FALSE(words.Awards().IsFromGame()) << c.what;
        ASSERT_EQ(data->Messages().size(), c.messages) << c.what;
        if (c.messages != 0) {
            EXPECT_EQ(data->Messages().front(), "DataFiles/Class.TXT is larger than Velkar reads (over 20000 rows or "
                                                "4 MiB); its class names are not used.");
        }
    }
}

} // namespace
