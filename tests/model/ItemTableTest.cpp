#include "model/ItemTable.h"
#include "model/GameData.h"
#include "model/SaveGame.h"
#include "tests/support/LodBuilder.h"
#include "tests/support/SaveBuilder.h"
#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>

namespace {

// A modded game's table: 812 rows (0..811), a name in the Cyrillic code page, a placeholder,
// and pictures for only some items.
struct ModdedGame {
    ModdedGame()
    {
        auto rows = LodBuilder::FullTable(812);
        rows[5].Name = "\xCC\xE5\xF7"; // "Меч" in code page 1251: kept as bytes
        rows[760].Picture = "null";
        rows[806].Name = "Merge blade";
        LodBuilder("MMVIII", "language")
            .AddFile("items.txt", LodBuilder::ItemsText(rows))
            .WriteTo(dir / "Data" / "EnglishT.lod");
        LodBuilder("MMVI", "icons")
            .AddIcon("item001", 46, 77)
            .AddIcon("item806", 110, 14)
            .AddIcon("item760", 30, 30)
            .WriteTo(dir / "Data" / "icons.lod");
    }
    TempDirectory dir;
};

TEST(ItemTableTest, TheGamesTableGivesNamesCountAndSizesWithTheBuiltInSizesAsFallback)
{
    const ModdedGame game;
    const ItemTable table = ItemTable::FromGame(GameData::Load(game.dir.Path()));
    const ItemTable& builtIn = ItemTable::BuiltIn();
    ASSERT_TRUE(table.IsFromGame());
    EXPECT_EQ(table.Count(), 812);
    EXPECT_EQ(table.LastNumber(), 811);
    EXPECT_FALSE(builtIn.IsFromGame());
    EXPECT_EQ(builtIn.Count(), 750);

    const struct {
        int n;
        std::string_view name;
        std::optional<ItemSize> size;
    } cases[] = {
        {1, "Item number 1", ItemSize{2, 2}},         // its picture: 46 x 77 pixels
        {2, "Item number 2", builtIn.GetItemSize(2)}, // no picture: the built-in size
        {5, "\xCC\xE5\xF7", builtIn.GetItemSize(5)},
        {806, "Merge blade", ItemSize{4, 1}},   // above the built-in table, with a picture
        {805, "Item number 805", std::nullopt}, // above it, without one
        {812, "", std::nullopt},
        {0, "", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(table.GetItemName(c.n), c.name) << c.n;
        EXPECT_EQ(table.GetItemSize(c.n), c.size) << c.n;
    }
    const std::vector<int> choosable = table.ChoosableNumbers();
    EXPECT_EQ(choosable.size(), 810u) << "1..811 but the placeholder";
    EXPECT_EQ(std::count(choosable.begin(), choosable.end(), 760), 0);
    EXPECT_EQ(choosable.back(), 811);

    // A copy shares the rows: names stay valid while any copy lives.
    std::string_view name;
    {
        const ItemTable copy = table;
        name = copy.GetItemName(806);
    }
    EXPECT_EQ(name, "Merge blade");
}

TEST(ItemTableTest, AFolderWithoutTheGamesTableUsesTheBuiltInOne)
{
    TempDirectory bare;
    TempDirectory iconsOnly;
    LodBuilder("MMVI", "icons").AddIcon("item001", 46, 77).WriteTo(iconsOnly / "Data" / "icons.lod");
    for (const auto* folder : {&bare, &iconsOnly}) {
        const ItemTable table = ItemTable::FromGame(GameData::Load(folder->Path()));
        EXPECT_FALSE(table.IsFromGame());
        EXPECT_EQ(table.Count(), ItemTable::BuiltInCount);
        EXPECT_EQ(table.GetItemName(1), "Longsword");
        EXPECT_EQ(table.GetItemSize(1), (ItemSize{1, 5}));
    }
    EXPECT_FALSE(ItemTable::FromGame(nullptr).IsFromGame());
}

TEST(ItemTableTest, ASavedGameOpenedWithTheGamesTablePlacesItemsByIt)
{
    const ModdedGame game;
    const auto path = game.dir / "Saves" / "save000.dod";
    std::filesystem::create_directories(path.parent_path());
    SaveBuilder().WriteTo(path);
    SaveGame save;
    ASSERT_TRUE(save.Open(path, GameWords::FromGame(GameData::Load(game.dir.Path()), GameWords::WesternCodePage)));
    EXPECT_EQ(save.GetItemTable().GetItemName(806), "Merge blade");
    InventoryItem item;
    item.ItemNumber = 806;
    ASSERT_EQ(save.AddInventoryItem(1, item), 0);
    item.ItemNumber = 1;
    EXPECT_EQ(save.AddInventoryItem(1, item), 4) << "four cells wide, then two by two";
    EXPECT_EQ(save.GetInventoryGridCell(1, 3), ~0);
    EXPECT_EQ(save.GetInventoryGridCell(1, 19), ~4);
    EXPECT_EQ(save.GetInventoryGridCell(1, 32), 0);

    ASSERT_TRUE(save.Open(path));
    EXPECT_FALSE(save.GetItemTable().IsFromGame()) << "Open(path) opens with the built-in words";
}

} // namespace
