// Writes a demo game folder (GAME/Saves/save000.dod ...) with saved games that look
// played and a small game data set of its own (GAME/Data/EnglishT.lod with the item, class and
// award tables, GAME/Data/icons.lod with pictures drawn by code), and prints a summary of any game
// folder's saved games.
//
//   velkar-demo GAME [PREFIX]   write the demo folder; with PREFIX, also a Wine-style
//                               prefix whose registry names GAME as the game's folder
//   velkar-demo --summary GAME  list its saved games, parties and a few characters

#include "model/Container.h"
#include "model/FileError.h"
#include "model/GameData.h"
#include "model/ItemFootprint.h"
#include "model/SaveGame.h"
#include "model/Vocabulary.h"
#include "tests/support/LodBuilder.h"
#include "tests/support/SaveBuilder.h"
#include "tests/support/WinePrefixWriter.h"
#include "tools/demo/IconPainter.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <iostream>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

struct DemoCharacter {
    int number; // 1..50
    int classRow;
    int level;
    int might;
    std::initializer_list<std::pair<int, int>> skills; // skill slot, skill word
    std::initializer_list<int> spellGroups;            // groups whose first spells are known
    std::initializer_list<InventoryItem> items;
    std::initializer_list<int> awards;
};

struct DemoSave {
    const char* name;
    GameTime time;
    int food, gold, bank;
    std::initializer_list<DemoCharacter> party;
    int conditionCharacter; // 0 = nobody is afflicted
};

InventoryItem Item(int number, int enchantment = 0, int modifier = 0, int special = 0, int charges = 0)
{
    InventoryItem item;
    item.ItemNumber = number;
    item.Enchantment1 = enchantment;
    item.Enchantment1Modifier = modifier;
    item.Enchantment2 = special;
    item.Charges = charges;
    item.ItemFlags = InventoryItemFlags::Identified;
    return item;
}

constexpr int Expert = 0x40, Master = 0x80, Grand = 0x100;
constexpr int DemoAward = 89; // one of the demo game's own awards, past the English game's last

const std::array<DemoSave, 4> Saves{{
    {"Ravenshore, first steps",
     {8, 15, 2, 0, 1172},
     7,
     200,
     0,
     {{1, 4, 3, 18, {{1, 4}, {8, 3}, {11, 2}}, {}, {Item(1), Item(104), Item(222), Item(187), Item(802)}, {}},
      {2, 2, 3, 11, {{16, 4}, {18, 3}, {6, 2}}, {4, 6}, {Item(66), Item(127), Item(222), Item(224)}, {}},
      {3, 0, 2, 9, {{12, 4}, {20, 3}, {0, 2}}, {0, 8}, {Item(79), Item(84), Item(152, 0, 0, 0, 12)}, {}},
      {4, 10, 3, 12, {{1, 3}, {13, 2}, {21, 1}}, {1, 9}, {Item(26), Item(56), Item(137, 7, 3)}, {}}},
     0},
    {"Alvar bounty hunt",
     {14, 40, 20, 5, 1172},
     22,
     5120,
     3000,
     {{1,
       5,
       18,
       35,
       {{1, 12 | Expert}, {8, 10 | Expert}, {11, 8}, {35, 6}},
       {},
       {Item(14, 1, 5), Item(90), Item(132)},
       {21, 45, DemoAward}},
      {2,
       2,
       16,
       14,
       {{16, 10 | Expert}, {18, 8 | Expert}, {6, 6}},
       {4, 5, 6},
       {Item(67), Item(124), Item(223), Item(223)},
       {45}},
      {3,
       0,
       17,
       12,
       {{12, 10 | Expert}, {20, 9 | Expert}, {13, 5}},
       {0, 1, 8},
       {Item(80), Item(138, 2, 4), Item(162, 0, 0, 0, 9)},
       {45}},
      {4, 10, 15, 15, {{1, 8}, {21, 7 | Expert}, {31, 5}}, {1, 9}, {Item(29, 0, 0, 16), Item(58), Item(117)}, {45}},
      {5, 8, 14, 30, {{3, 10 | Expert}, {9, 6}, {27, 4}}, {}, {Item(33), Item(85), Item(110)}, {}}},
     3},
    {"Garrote Gorge dragons",
     {6, 5, 9, 8, 1173},
     40,
     22015,
     18000,
     {{6,
       3,
       32,
       20,
       {{16, 15 | Master}, {19, 12 | Master}, {6, 10 | Expert}},
       {4, 7},
       {Item(538), Item(96), Item(226), Item(234)},
       {10, 29, 45}},
      {7,
       13,
       30,
       25,
       {{20, 14 | Master}, {22, 10 | Master}, {2, 8}},
       {8, 10},
       {Item(525), Item(126), Item(144, 25, 0, 37)},
       {31}},
      {8, 15, 33, 40, {{23, 12 | Master}, {32, 8 | Expert}}, {11}, {Item(521), Item(222), Item(222)}, {25, 6}},
      {9,
       7,
       31,
       38,
       {{6, 12 | Master}, {9, 10 | Expert}, {30, 8 | Expert}},
       {},
       {Item(70), Item(95), Item(131)},
       {19, 20}}},
     9},
    {"Before the final battle",
     {22, 0, 27, 11, 1174},
     65,
     98000,
     250000,
     {{11,
       1,
       55,
       22,
       {{12, 20 | Grand}, {20, 20 | Grand}, {14, 12 | Master}},
       {0, 2, 8},
       {Item(530), Item(515), Item(519), Item(609), Item(800), Item(803)},
       {9, 33, 35, 36, 41}},
      {12,
       11,
       52,
       28,
       {{21, 16 | Grand}, {1, 15 | Master}, {13, 12 | Master}},
       {1, 9},
       {Item(540), Item(533), Item(535)},
       {17, 41}},
      {13,
       9,
       54,
       60,
       {{3, 20 | Grand}, {11, 12 | Master}, {27, 15 | Master}},
       {},
       {Item(541), Item(97), Item(520)},
       {8, 27, 28}},
      {14,
       3,
       53,
       24,
       {{16, 20 | Grand}, {19, 18 | Grand}, {18, 14 | Master}},
       {4, 6, 7},
       {Item(539), Item(516), Item(536)},
       {10, 29, 30}},
      {15,
       12,
       51,
       30,
       {{22, 16 | Grand}, {2, 15 | Master}, {32, 10 | Expert}},
       {10},
       {Item(529), Item(514), Item(537)},
       {31, 42}}},
     14},
}};

// The demo game's own item table differs from the built-in one as a patched or modded game's
// does: a few items renamed, a few pictures of another size, and items above the built-in 750.
struct DemoItem {
    int number;
    const char* name; // null: the built-in name
    int columns = 0;  // 0: the built-in size
    int rows = 0;
};

// clang-format off
constexpr std::array<DemoItem, 11> DemoItems = {{
    {.number = 1, .name = "Knight's Longsword", .columns = 1, .rows = 4},
    {.number = 90, .name = nullptr, .columns = 3, .rows = 3},
    {.number = 137, .name = "Copper Ring"},
    {.number = 222, .name = "Healing Draught (red Potion)"},
    {.number = 800, .name = "Ancient Tablet", .columns = 2, .rows = 2},
    {.number = 801, .name = "Lost Relic", .columns = 1, .rows = 3},
    {.number = 802, .name = "Moonstone", .columns = 1, .rows = 1},
    {.number = 803, .name = "Dragon Scale", .columns = 2, .rows = 2},
    {.number = 804, .name = "Merchant's Ledger", .columns = 2, .rows = 2},
    {.number = 805, .name = "Star Shard", .columns = 1, .rows = 1},
    {.number = 806, .name = "Wyvern Fang", .columns = 1, .rows = 2},
}};
// clang-format on

std::string PictureName(int number)
{
    char name[16];
    std::snprintf(name, sizeof name, "item%03d", number);
    return name;
}

// A picture's size in pixels for a number of cells: well inside the cells, as most of the
// game's pictures are.
int PicturePixels(int cells)
{
    return ItemFootprint::CellPixels * cells - 4;
}

// The demo game's class.txt: the English game's classes (its own "Priest of Light" among them),
// then two of the demo's own around a row the game marks as unused.
std::string ClassText()
{
    std::string text = "Class\tDescription\tNotes\r\n";
    for (std::size_t row = 0; row < Vocabulary::ClassNames.size(); ++row)
        text += std::string(row == 3 ? "Priest of Light" : Vocabulary::ClassNames[row]) + "\t\t\r\n";
    text += "Wayfarer\t\"Walks the demo isles.\r\nKnows every \"\"short\"\" road.\"\tdemo\r\n";
    text += "Delete me\t\t\r\n";
    text += "Lamplighter\tLights the roads at night.\tdemo\r\n";
    return text;
}

// The demo game's awards.txt: "A Bit" k is award k - 1. The English game's awards, blank rows
// after them as the game leaves them, then two of the demo's own.
std::string AwardsText()
{
    std::string text = "A Bit\tAward\tSort\tNotes\r\n";
    const AwardTable& builtIn = AwardTable::BuiltIn();
    for (int a = 1; a < builtIn.Count(); ++a)
        text +=
            std::to_string(a + 1) + "\t" + std::string(*builtIn.GetAwardText(a)) + "\t" + std::to_string(a) + "\t\r\n";
    for (int bit = builtIn.Count() + 1; bit <= 80; ++bit)
        text += std::to_string(bit) + "\t \t\t\r\n";
    text += std::to_string(DemoAward + 1) + "\tCharted Every Demo Isle\t90\tdemo\r\n";
    text += "101\tRang the Demo Bell X Times\t101\tdemo\r\n";
    return text;
}

// Data/EnglishT.lod with items.txt, class.txt and awards.txt, and Data/icons.lod with a picture for every item the demo
// saves carry and for the demo's own items: the other items keep their built-in size.
void WriteGameData(const std::filesystem::path& game)
{
    const ItemTable& builtIn = ItemTable::BuiltIn();
    std::map<int, const DemoItem*> changed;
    for (const DemoItem& item : DemoItems)
        changed[item.number] = &item;
    const int last = DemoItems.back().number;

    std::vector<LodBuilder::Row> rows;
    for (int n = 0; n <= last; ++n) {
        const auto found = changed.find(n);
        std::string name(builtIn.GetItemName(n));
        if (found != changed.end() && found->second->name != nullptr)
            name = found->second->name;
        // Numbers without an item are the game's placeholders.
        rows.push_back({n, name.empty() ? "null" : PictureName(n), name});
    }
    LodBuilder("MMVIII", "language")
        .AddFile("items.txt", LodBuilder::ItemsText(rows))
        .AddFile("class.txt", ClassText())
        .AddFile("awards.txt", AwardsText())
        .WriteTo(game / "Data" / "EnglishT.lod");

    std::set<int> pictured;
    for (const DemoSave& demo : Saves)
        for (const DemoCharacter& c : demo.party)
            for (const InventoryItem& item : c.items)
                pictured.insert(item.ItemNumber);
    for (const DemoItem& item : DemoItems)
        pictured.insert(item.number);
    LodBuilder icons("MMVI", "icons");
    const std::vector<std::uint8_t> palette = IconPainter::Palette();
    for (const int n : pictured) {
        const auto found = changed.find(n);
        ItemSize size = builtIn.GetItemSize(n).value_or(ItemSize{1, 1});
        if (found != changed.end() && found->second->columns != 0)
            size = {found->second->columns, found->second->rows};
        IconPainter painter(PicturePixels(size.Width), PicturePixels(size.Height));
        painter.Draw(ItemKinds::KindOf(n), n, builtIn.GetItemName(n));
        icons.AddBitmap(PictureName(n), PicturePixels(size.Width), PicturePixels(size.Height), painter.Indices(),
                        palette);
    }
    icons.WriteTo(game / "Data" / "icons.lod");
}

void WriteSave(const std::filesystem::path& path, const DemoSave& demo, int index, const GameWords& words)
{
    SaveBuilder builder(demo.name);
    builder.SetSeed(0xC0FFEEu + static_cast<unsigned>(index));
    builder.WriteTo(path);

    // Placed by the game's own table, as the game places them.
    SaveGame save;
    if (!save.Open(path, words))
        throw std::runtime_error("the demo container could not be opened: " + path.string());
    save.SetTime(demo.time);
    save.SetFood(demo.food);
    save.SetGold(demo.gold);
    save.SetBank(demo.bank);

    int slot = 1;
    for (const auto& c : demo.party) {
        save.SetPartyMember(slot++, c.number - 1);
        save.SetClass(c.number, c.classRow);
        save.SetBaseLevel(c.number, c.level);
        save.SetLevel(c.number, c.level);
        save.SetMight(c.number, c.might);
        save.SetExperience(c.number, 500 * c.level * (c.level + 1));
        save.SetHitPoints(c.number, 10 + 8 * c.level);
        save.SetSpellPoints(c.number, 4 * c.level);
        save.SetBaseAge(c.number, 20 + c.number);
        save.SetAge(c.number, 20 + c.number);
        for (const auto& [skill, word] : c.skills)
            save.SetSkill(c.number, skill, word);
        for (int group : c.spellGroups) {
            std::vector<std::uint8_t> known(static_cast<std::size_t>(SaveGame::SpellGroupSize(group)), 0);
            for (std::size_t i = 0; i < known.size() && i < 1 + static_cast<std::size_t>(c.level) / 6; ++i)
                known[i] = 1;
            save.SetSpellGroup(c.number, group, known);
        }
        for (const auto& item : c.items)
            if (save.AddInventoryItem(c.number, item) < 0)
                throw std::runtime_error("demo inventory does not fit");
        // The played-looking bytes past the English game's awards are award bits in this game:
        // a character holds only the awards it was given.
        for (int award = 0; award < save.GetAwardTable().Count(); ++award)
            save.ClearAward(c.number, award);
        for (int award : c.awards)
            save.SetAward(c.number, award);
        save.SetActiveSpellBless(c.number, {{0, 2, 30}, c.level, 2});
    }
    for (; slot <= 5; ++slot)
        save.SetPartyMember(slot, -1);
    save.SetPartyMemberCount(static_cast<int>(demo.party.size()));

    save.SetPartySpellTorchLight({{0, 5, 0}, 3, 1, demo.party.begin()->number});
    save.SetPartySpellFeatherFall({{1, 0, 0}, 6, 2, demo.party.begin()->number});
    if (demo.conditionCharacter != 0) {
        save.SetConditionWeak(demo.conditionCharacter, 1, {0, 6, 0});
        save.SetConditionPoisonGreen(demo.conditionCharacter, 1, {1, 2, 0});
    }
    save.Save();
}

void PrintSummary(const std::filesystem::path& game)
{
    // Names in bytes, as the game keeps them: the summary is for a terminal that takes them.
    const GameWords words = GameWords::FromGame(GameData::Load(game), GameWords::WesternCodePage);
    for (int i = 0; i < 40; ++i) {
        char file[32];
        std::snprintf(file, sizeof file, "save%03d.dod", i);
        const auto path = game / "Saves" / file;
        const auto name = ReadSaveName(path);
        if (!name)
            continue;
        std::cout << file << "  \"" << *name << "\"\n";
        SaveGame save;
        if (!save.Open(path, words))
            continue;
        const GameTime t = save.GetTime();
        std::cout << "    " << t.day + 1 << "/" << t.month + 1 << "/" << t.year << " " << t.hour << ":"
                  << (t.minute < 10 ? "0" : "") << t.minute << "   food " << save.GetFood() << ", gold "
                  << save.GetGold() << ", bank " << save.GetBank() << "\n";
        for (int slot = 1; slot <= 5; ++slot) {
            const int index = save.GetPartyMember(slot);
            if (index < 0 || index >= 50)
                continue;
            const int n = index + 1;
            const int cls = save.GetClass(n);
            int items = 0;
            InventoryItem item;
            for (int cell = 0; save.GetInventoryCell(n, cell, item) != -1; ++cell)
                items += item.ItemNumber != 0;
            std::cout << "    " << slot << ". " << save.GetName(n) << ", level " << save.GetLevel(n) << " "
                      << save.GetClassTable().GetClassName(cls).value_or("?") << ", age " << save.GetAge(n) << ", "
                      << items << " items\n";
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    try {
        if (argc == 3 && std::string(argv[1]) == "--summary") {
            PrintSummary(argv[2]);
            return 0;
        }
        if (argc != 2 && argc != 3) {
            std::cerr << "usage: velkar-demo GAME_FOLDER [WINE_PREFIX] | velkar-demo --summary GAME_FOLDER\n";
            return 2;
        }
        const std::filesystem::path game = argv[1];
        const std::filesystem::path saves = game / "Saves";
        std::filesystem::create_directories(saves);
        WriteGameData(game);
        const GameWords words = GameWords::FromGame(std::make_shared<const GameData>(game), GameWords::WesternCodePage);
        for (std::size_t i = 0; i < Saves.size(); ++i) {
            char file[32];
            std::snprintf(file, sizeof file, "save%03d.dod", static_cast<int>(i));
            WriteSave(saves / file, Saves[i], static_cast<int>(i), words);
        }
        std::cout << "Demo game folder written: " << std::filesystem::absolute(argv[1]).string() << "\n";
        if (argc == 3) {
            WinePrefixWriter::Write(argv[2], argv[1]);
            std::cout << "Wine prefix written: " << std::filesystem::absolute(argv[2]).string() << "\n";
        }
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "velkar-demo: " << e.what() << "\n";
        return 1;
    }
}
