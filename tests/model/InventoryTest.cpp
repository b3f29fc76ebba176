#include "tests/model/SavedGameFixture.h"

#include "model/ItemKinds.h"

#include <algorithm>
#include <set>
#include <stdexcept>

namespace {

constexpr int At(int n, int r)
{
    return 2832 + (n - 1) * 7464 + r;
}
constexpr int Cell(int n, int i)
{
    return At(n, 6156 + 4 * i);
}
constexpr int Entry(int n, int k)
{
    return At(n, 1152 + 36 * k);
}

// Item numbers with known sizes.
constexpr int Longsword = 1;     // 1x5
constexpr int Helm = 109;        // 1x1
constexpr int Buckler = 104;     // 2x2
constexpr int Chainmail = 90;    // 3x4
constexpr int Sarcophagus = 612; // 14x4
constexpr int Unnamed = 190;     // no size
constexpr int CureWounds = 222;  // 1x2

InventoryItem Item(int number, int charges = 0)
{
    InventoryItem item;
    item.ItemNumber = number;
    item.Charges = charges;
    return item;
}

class InventoryTest : public SavedGameFixture {
protected:
    void SetUp() override { ASSERT_TRUE(Create(builder)); }
    // Anchor cells in enumeration order, as the Inventory page walks them.
    std::vector<std::pair<int, int>> Enumerate(int n)
    {
        std::vector<std::pair<int, int>> items;
        InventoryItem item;
        for (int cell = 0; save.GetInventoryCell(n, cell, item) != -1; ++cell)
            if (item.ItemNumber != 0)
                items.emplace_back(cell, item.ItemNumber);
        return items;
    }
    SaveBuilder builder;
};

TEST_F(InventoryTest, ItemsFillTheGridRowByRowFromTheTopLeft)
{
    EXPECT_EQ(save.AddInventoryItem(1, Item(Longsword, 3)), 0);
    EXPECT_EQ(save.AddInventoryItem(1, Item(Buckler)), 1);
    save.Save();
    EXPECT_EQ(FileValue(Cell(1, 0), 4), 1);
    for (int c : {14, 28, 42, 56})
        EXPECT_EQ(FileValue(Cell(1, c), 4), -1) << c;
    EXPECT_EQ(FileValue(Cell(1, 1), 4), 2);
    for (int c : {2, 15, 16})
        EXPECT_EQ(FileValue(Cell(1, c), 4), -2) << c;
    EXPECT_EQ(FileValue(Cell(1, 70), 4), 0);

    InventoryItem item = Item(999, 77);
    EXPECT_EQ(save.GetInventoryCell(1, 0, item), 1);
    EXPECT_EQ(item, Item(Longsword, 3));
    item.Charges = 77;
    EXPECT_EQ(save.GetInventoryCell(1, 14, item), 0) << "a covered cell";
    EXPECT_EQ(item.ItemNumber, 0);
    EXPECT_EQ(item.Charges, 77) << "only the item number is written";
    EXPECT_EQ(save.GetInventoryCell(1, 125, item), 0);
    EXPECT_EQ(save.GetInventoryCell(1, 126, item), -1);
    EXPECT_EQ(save.GetInventoryCell(1, -1, item), -1);
}

TEST_F(InventoryTest, PlacementRespectsTheGridEdges)
{
    // Columns 0..10 of every row are taken, leaving a 3-column strip on the right.
    SaveBuilder b;
    for (int row = 0; row < 9; ++row)
        for (int col = 0; col < 11; ++col)
            b.Put(Cell(2, row * 14 + col), 4, -1);
    ASSERT_TRUE(Create(b));
    EXPECT_EQ(save.AddInventoryItem(2, Item(Chainmail)), 11) << "3 wide fits at column 11";
    EXPECT_EQ(save.AddInventoryItem(2, Item(Chainmail)), 4 * 14 + 11);
    EXPECT_EQ(save.AddInventoryItem(2, Item(Buckler)), -1) << "only row 8 is left, too low for height 2";
    EXPECT_EQ(save.AddInventoryItem(2, Item(Helm)), 8 * 14 + 11);

    // The sarcophagus is as wide as the grid: only column 0.
    EXPECT_EQ(save.AddInventoryItem(3, Item(Helm)), 0);
    EXPECT_EQ(save.AddInventoryItem(3, Item(Sarcophagus)), 14);
    EXPECT_EQ(save.AddInventoryItem(3, Item(Sarcophagus)), 5 * 14);
    EXPECT_EQ(save.AddInventoryItem(3, Item(Sarcophagus)), -1);
}

TEST_F(InventoryTest, FullGridOrFullListChangesNothing)
{
    for (int i = 0; i < 126; ++i)
        ASSERT_EQ(save.AddInventoryItem(4, Item(Helm)), i);
    save.Save();
    const auto before = FileBytes();
    EXPECT_EQ(save.AddInventoryItem(4, Item(Helm)), -1);
    save.Save();
    EXPECT_EQ(FileBytes(), before);

    // 138 entries in use with room in the grid: refused without looking at the grid.
    SaveBuilder b;
    for (int k = 1; k <= 138; ++k)
        b.Put(Entry(5, k), 4, Helm);
    ASSERT_TRUE(Create(b));
    EXPECT_EQ(save.AddInventoryItem(5, Item(Helm)), -1);
    EXPECT_TRUE(SaveAndDiff().empty());
}

TEST_F(InventoryTest, RemovalFreesTheEntryAndItsCellsAndEntriesAreReused)
{
    ASSERT_EQ(save.AddInventoryItem(50, Item(Longsword)), 0);
    ASSERT_EQ(save.AddInventoryItem(50, Item(Buckler)), 1);
    save.RemoveInventoryItem(50, 14); // covered cell: nothing happens
    save.RemoveInventoryItem(50, 126);
    save.RemoveInventoryItem(50, -5);
    EXPECT_EQ(Enumerate(50).size(), 2u);
    save.RemoveInventoryItem(50, 0);
    EXPECT_EQ(Enumerate(50), (std::vector<std::pair<int, int>>{{1, Buckler}}));
    // The next item takes entry 1 again, wherever it lands.
    EXPECT_EQ(save.AddInventoryItem(50, Item(Chainmail)), 3);
    save.Save();
    EXPECT_EQ(FileValue(Cell(50, 3), 4), 1);
    EXPECT_EQ(FileValue(Entry(50, 1), 4), Chainmail);
    for (int c : {0, 14, 28, 42, 56})
        EXPECT_EQ(FileValue(Cell(50, c), 4), 0) << c;
    save.RemoveInventoryItem(50, 1);
    save.RemoveInventoryItem(50, 3);
    EXPECT_TRUE(Enumerate(50).empty());
    // Back to the builder's empty inventory, byte for byte.
    for (int w : SaveAndDiff())
        ADD_FAILURE() << "window byte " << w << " differs after removing everything";
}

TEST_F(InventoryTest, RemovalFollowsTheCellsTheGameWroteAndNamedEntriesStayTaken)
{
    // The game wrote a longsword (1x5 in the table) as two cells side by side, with a helm
    // right below its anchor, where the table's rectangle would reach.
    SaveBuilder b;
    b.Put(Entry(4, 1), 4, Longsword).Put(Cell(4, 20), 4, 1).Put(Cell(4, 21), 4, ~20);
    b.Put(Entry(4, 3), 4, Helm).Put(Cell(4, 34), 4, 3);
    b.Put(Cell(4, 60), 4, 2); // an anchor naming entry 2, which holds no item
    ASSERT_TRUE(Create(b));
    save.RemoveInventoryItem(4, 20);
    const auto changed = SaveAndDiff();
    const std::set<int> changedSet(changed.begin(), changed.end());
    EXPECT_TRUE(changedSet.count(Cell(4, 21))) << "the covered cell the game wrote is freed";
    EXPECT_EQ(FileValue(Cell(4, 34), 4), 3) << "the neighbour keeps its cell";
    EXPECT_EQ(Enumerate(4), (std::vector<std::pair<int, int>>{{34, Helm}}));
    // Entry 1 is free again; entry 2 is still named by cell 60, so the one after takes entry 1
    // and the next skips entry 2.
    ASSERT_EQ(save.AddInventoryItem(4, Item(Helm)), 0);
    ASSERT_EQ(save.AddInventoryItem(4, Item(Helm)), 1);
    save.Save();
    EXPECT_EQ(FileValue(Cell(4, 0), 4), 1);
    EXPECT_EQ(FileValue(Cell(4, 1), 4), 4);
}

TEST_F(InventoryTest, EnumerationIsInAnchorOrder)
{
    SaveBuilder b;
    b.Put(Entry(1, 1), 4, Helm).Put(Cell(1, 30), 4, 1);
    b.Put(Entry(1, 2), 4, Helm).Put(Cell(1, 3), 4, 2);
    ASSERT_TRUE(Create(b));
    EXPECT_EQ(Enumerate(1), (std::vector<std::pair<int, int>>{{3, Helm}, {30, Helm}}));
}

TEST_F(InventoryTest, KindsWithoutASizeAndHostileGridsStayInsideTheGrid)
{
    // Unnamed kinds and item numbers outside the table take one cell.
    EXPECT_EQ(save.AddInventoryItem(1, Item(Unnamed)), 0);
    EXPECT_EQ(save.AddInventoryItem(1, Item(751)), 1);
    EXPECT_EQ(save.AddInventoryItem(1, Item(-3)), 2);
    EXPECT_EQ(save.AddInventoryItem(1, Item(0)), -1) << "item number 0 is a free entry";
    save.RemoveInventoryItem(1, 1);
    EXPECT_EQ(Enumerate(1), (std::vector<std::pair<int, int>>{{0, Unnamed}, {2, -3}}));

    SaveBuilder b;
    // A longsword anchored on the last row, and a sarcophagus in the last column: removal
    // must clip to the grid, never wrap into the next row or run past the last cell.
    b.Put(Entry(2, 1), 4, Longsword).Put(Cell(2, 8 * 14 + 5), 4, 1);
    b.Put(Entry(2, 2), 4, Sarcophagus).Put(Cell(2, 13), 4, 2).Put(Cell(2, 14), 4, 99);
    // Values above 138 are no anchors and not free; a grid value naming a free entry.
    b.Put(Cell(2, 40), 4, 139).Put(Cell(2, 60), 4, 3);
    b.Put(Cell(3, 0), 4, 139);
    b.Put(At(2, 6660), 2, 0x5A5A); // the resistance right after the grid
    ASSERT_TRUE(Create(b));
    InventoryItem item;
    EXPECT_EQ(save.GetInventoryCell(2, 40, item), 0);
    save.RemoveInventoryItem(2, 40);
    save.RemoveInventoryItem(2, 8 * 14 + 5);
    save.RemoveInventoryItem(2, 13);
    save.RemoveInventoryItem(2, 60); // entry 3 is free: its anchor cell is cleared
    const auto changed = SaveAndDiff();
    const std::set<int> changedSet(changed.begin(), changed.end());
    EXPECT_FALSE(changedSet.count(Cell(2, 40))) << "139 is no anchor";
    EXPECT_TRUE(changedSet.count(Cell(2, 8 * 14 + 5)));
    EXPECT_TRUE(changedSet.count(Cell(2, 13)));
    EXPECT_TRUE(changedSet.count(Cell(2, 60)));
    EXPECT_FALSE(changedSet.count(Cell(2, 14))) << "no wrap into the next row";
    for (int w : changed)
        EXPECT_TRUE(w >= Entry(2, 1) && w < Cell(2, 126)) << "outside the inventory: " << w;
    EXPECT_EQ(save.AddInventoryItem(3, Item(Helm)), 1) << "a cell holding 139 is not free";
}

TEST_F(InventoryTest, GridCellsReadBackAsStored)
{
    ASSERT_EQ(save.AddInventoryItem(6, Item(Longsword)), 0);
    ASSERT_EQ(save.AddInventoryItem(6, Item(Buckler)), 1);
    EXPECT_EQ(save.GetInventoryGridCell(6, 0), 1);
    EXPECT_EQ(save.GetInventoryGridCell(6, 56), ~0) << "covered by the anchor at cell 0";
    EXPECT_EQ(save.GetInventoryGridCell(6, 1), 2);
    EXPECT_EQ(save.GetInventoryGridCell(6, 16), ~1);
    EXPECT_EQ(save.GetInventoryGridCell(6, 125), 0);
    EXPECT_EQ(save.GetInventoryGridCell(7, 0), 0) << "another character's grid";

    // Values no operation writes come back as they are; reading changes nothing.
    SaveBuilder b;
    b.Put(Cell(6, 7), 4, 139).Put(Cell(6, 8), 4, -1000).Put(Cell(6, 125), 4, 0x7FFFFFFF);
    b.Put(Cell(6, 0) - 4, 4, 77); // the word before the grid
    ASSERT_TRUE(Create(b));
    EXPECT_EQ(save.GetInventoryGridCell(6, 7), 139);
    EXPECT_EQ(save.GetInventoryGridCell(6, 8), -1000);
    EXPECT_EQ(save.GetInventoryGridCell(6, 125), 0x7FFFFFFF);
    EXPECT_EQ(save.GetInventoryGridCell(6, 0), 0);

    // -1 is a stored value like any other, so a cell outside the grid is a caller's error.
    EXPECT_THROW(save.GetInventoryGridCell(6, -1), std::out_of_range);
    EXPECT_THROW(save.GetInventoryGridCell(6, 126), std::out_of_range);
    EXPECT_THROW(save.GetInventoryGridCell(0, 0), std::out_of_range);
    EXPECT_THROW(save.GetInventoryGridCell(51, 0), std::out_of_range);
    EXPECT_TRUE(SaveAndDiff().empty());
}

// The cells an item covers, anchor first.
std::vector<int> Covered(int anchor, ItemSize size)
{
    std::vector<int> cells;
    for (int y = 0; y < size.Height; ++y)
        for (int x = 0; x < size.Width; ++x)
            cells.push_back(anchor + x + 14 * y);
    return cells;
}

// A character's grid as the game left it: a longsword at 0 (1x5) whose entry carries words
// nobody interprets, a buckler at 1 (2x2), a helm at 3, a ring at 4 and a sarcophagus filling
// rows 5 to 8.
SaveBuilder Arranged(int n)
{
    SaveBuilder b;
    const auto put = [&](int entry, int number, int anchor, ItemSize size) {
        b.Put(Entry(n, entry), 4, number);
        for (const int cell : Covered(anchor, size))
            b.Put(Cell(n, cell), 4, ~anchor);
        b.Put(Cell(n, anchor), 4, entry);
    };
    put(1, Longsword, 0, {1, 5});
    b.Put(Entry(n, 1) + 4 * 4, 4, 6).Put(Entry(n, 1) + 6 * 4, 4, 66).Put(Entry(n, 1) + 8 * 4, 4, 88);
    put(2, Buckler, 1, {2, 2});
    put(3, Helm, 3, {1, 1});
    put(4, 137, 4, {1, 1});
    put(5, Sarcophagus, 70, {14, 4});
    return b;
}

TEST_F(InventoryTest, MovesRewriteOnlyTheItemsCellsAndRefuseWhatDoesNotFit)
{
    constexpr int n = 8;
    const struct {
        const char* what;
        int from, to;
        bool moved;
        ItemSize size;
    } cases[] = {
        {"to a free place", 0, 5, true, {1, 5}},
        {"over its own cells", 1, 15, true, {2, 2}},
        {"a ring to the last column", 4, 13, true, {1, 1}},
        {"onto another item", 0, 2, false, {}},
        {"its last row past the grid's", 70, 84, false, {}},
        {"its last column past the grid's", 1, 13, false, {}},
        {"from a covered cell", 14, 6, false, {}},
        {"from a free cell", 6, 7, false, {}},
        {"to a cell past the grid", 3, 126, false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(Create(Arranged(n)));
        const int entry = save.GetInventoryGridCell(n, c.from);
        EXPECT_EQ(save.MoveInventoryItem(n, c.from, c.to), c.moved);
        const auto changed = SaveAndDiff();
        if (!c.moved) {
            EXPECT_TRUE(changed.empty());
            continue;
        }
        const std::vector<int> now = Covered(c.to, c.size);
        const std::vector<int> before = Covered(c.from, c.size);
        for (const int w : changed) {
            const int cell = (w - Cell(n, 0)) / 4;
            EXPECT_TRUE(w >= Cell(n, 0) && w < Cell(n, 126)) << "only grid cells change: " << w;
            EXPECT_TRUE(std::count(now.begin(), now.end(), cell) + std::count(before.begin(), before.end(), cell))
                << "cell " << cell;
        }
        EXPECT_EQ(FileValue(Cell(n, c.to), 4), entry) << "the anchor names the same entry";
        for (std::size_t i = 1; i < now.size(); ++i)
            EXPECT_EQ(FileValue(Cell(n, now[i]), 4), ~c.to);
        EXPECT_EQ(save.GetInventoryFootprint(n, c.to), c.size);
    }
}

TEST_F(InventoryTest, ReplaceKeepsTheEntryAndItsOtherWordsAndMovesOnlyWhereItMust)
{
    constexpr int n = 9;
    InventoryItem helm = Item(Helm, 3);
    helm.Enchantment2 = 12;
    helm.Unused7 = 5; // not written: the entry keeps its own
    const struct {
        const char* what;
        int cell;
        InventoryItem item;
        int anchor; // -1: refused
        ItemSize size;
    } cases[] = {
        {"a smaller kind stays at its anchor", 0, helm, 0, {1, 1}},
        {"a larger kind that fits there stays", 3, Item(CureWounds), 3, {1, 2}},
        {"a larger kind that does not goes where Add would put it", 3, Item(Chainmail), 5, {3, 4}},
        {"a kind no free place holds changes nothing", 4, Item(Sarcophagus), -1, {}},
        {"a covered cell is no item", 14, helm, -1, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(Create(Arranged(n)));
        InventoryItem old;
        save.GetInventoryCell(n, c.cell, old);
        const int entry = save.GetInventoryGridCell(n, c.cell);
        EXPECT_EQ(save.ReplaceInventoryItem(n, c.cell, c.item), c.anchor);
        if (c.anchor < 0) {
            EXPECT_TRUE(SaveAndDiff().empty());
            continue;
        }
        EXPECT_EQ(save.GetInventoryGridCell(n, c.anchor), entry) << "the entry number is kept";
        InventoryItem now;
        ASSERT_EQ(save.GetInventoryCell(n, c.anchor, now), 1);
        InventoryItem expected = c.item;
        expected.Unused6 = old.Unused6;
        expected.Unused7 = old.Unused7;
        expected.Unused8 = old.Unused8;
        EXPECT_EQ(now, expected);
        EXPECT_EQ(save.GetInventoryFootprint(n, c.anchor), c.size);
        if (c.anchor != c.cell) {
            EXPECT_EQ(save.GetInventoryGridCell(n, c.cell), 0) << "the old place is freed";
        }
    }
}

TEST_F(InventoryTest, TheFootprintIsWhatTheGameMarkedElseTheTablesSize)
{
    constexpr int n = 10;
    SaveBuilder b;
    // A longsword (1x5 in the table) the game wrote as 2x1, one it wrote as a lone anchor,
    // and one whose marks fill no rectangle.
    b.Put(Entry(n, 1), 4, Longsword).Put(Cell(n, 20), 4, 1).Put(Cell(n, 21), 4, ~20);
    b.Put(Entry(n, 2), 4, Longsword).Put(Cell(n, 5), 4, 2);
    b.Put(Entry(n, 3), 4, Longsword).Put(Cell(n, 8), 4, 3).Put(Cell(n, 9), 4, ~8).Put(Cell(n, 22), 4, ~8);
    ASSERT_TRUE(Create(b));
    EXPECT_EQ(save.GetInventoryFootprint(n, 20), (ItemSize{2, 1}));
    EXPECT_EQ(save.GetInventoryFootprint(n, 5), (ItemSize{1, 1}));
    EXPECT_EQ(save.GetInventoryFootprint(n, 8), (ItemSize{1, 5}));
    EXPECT_FALSE(save.GetInventoryFootprint(n, 21).has_value()) << "a covered cell";
    EXPECT_FALSE(save.GetInventoryFootprint(n, 0).has_value()) << "a free cell";
    // A move keeps the shape the game wrote.
    ASSERT_TRUE(save.MoveInventoryItem(n, 20, 30));
    EXPECT_EQ(save.GetInventoryGridCell(n, 31), ~30);
    EXPECT_EQ(save.GetInventoryGridCell(n, 21), 0);
}

TEST_F(InventoryTest, EveryNamedItemHasAKind)
{
    const ItemTable& table = save.GetItemTable();
    int named = 0;
    for (int m = 1; m <= ItemTable::BuiltInCount; ++m) {
        if (table.GetItemName(m).empty())
            continue;
        ++named;
        EXPECT_NE(ItemKinds::KindOf(m), ItemKind::Unknown) << m << " " << table.GetItemName(m);
    }
    EXPECT_GT(named, 600);
    EXPECT_EQ(ItemKinds::KindOf(Longsword), ItemKind::Weapon);
    EXPECT_EQ(ItemKinds::KindOf(Chainmail), ItemKind::Armor);
    EXPECT_EQ(ItemKinds::KindOf(Sarcophagus), ItemKind::Quest);
    EXPECT_EQ(ItemKinds::KindOf(Unnamed), ItemKind::Unknown);
}

} // namespace
