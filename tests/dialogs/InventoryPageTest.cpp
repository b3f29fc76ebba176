#include "tests/dialogs/InventoryPageFixture.h"
#include "tests/support/TranscribedLayout.h"

#include "dialogs/BackpackView.h"
#include "dialogs/CVelkarPage4.h"
#include "text/TextCodec.h"
#include "ui/NumberBox.h"

#include "tests/ui/UiTesting.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <set>
#include <string>
#include <utility>
#include <vector>

using Id = CVelkarPage4;

namespace {

class InventoryPageTest : public InventoryPageFixture {
protected:
    QListWidget* List() const { return On<QListWidget>(Id::IdInventory); }
    QComboBox* Kinds() const { return On<QComboBox>(Id::IdItem); }
    QString Text(int id) const
    {
        if (const auto* box = On<NumberBox>(id))
            return box->Text();
        return On<QComboBox>(id)->currentText();
    }
    QStringList Rows() const
    {
        QStringList rows;
        for (int r = 0; r < List()->count(); ++r)
            rows.append(List()->item(r)->text());
        return rows;
    }
    std::vector<int> RowCells() const
    {
        std::vector<int> cells;
        for (int r = 0; r < List()->count(); ++r)
            cells.push_back(List()->item(r)->data(Qt::UserRole).toInt());
        return cells;
    }
    void ClickRow(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, modifiers,
                          List()->visualItemRect(List()->item(row)).center());
    }
    // Opens the list and picks the entry with the keyboard, as a user does.
    void Choose(int id, int index) { UiTesting::ChooseEntry(*On<QComboBox>(id), index); }
    void ChooseKind(const QString& name) { UiTesting::ChooseByName(*Kinds(), name); }
    void Press(int id) { QTest::mouseClick(On<QPushButton>(id), Qt::LeftButton); }
    bool Shown(int id) const { return On<QWidget>(id)->isVisible(); }
    bool RegularLayout() const
    {
        return Shown(Id::IdEnchantment1) && Shown(Id::IdEnchantment1Label) && Shown(Id::IdModifier) &&
               Shown(Id::IdModifierLabel) && !Shown(Id::IdPower) && !Shown(Id::IdPowerLabel);
    }
    bool PotionLayout() const
    {
        return !Shown(Id::IdEnchantment1) && !Shown(Id::IdEnchantment1Label) && !Shown(Id::IdModifier) &&
               !Shown(Id::IdModifierLabel) && Shown(Id::IdPower) && Shown(Id::IdPowerLabel);
    }
    // The model's inventory: anchor cell and entry, in anchor-cell order.
    std::vector<std::pair<int, InventoryItem>> Stored() const
    {
        std::vector<std::pair<int, InventoryItem>> items;
        InventoryItem item;
        for (int cell = 0; save.GetInventoryCell(N, cell, item) != -1; ++cell) {
            if (item.ItemNumber != 0)
                items.emplace_back(cell, item);
        }
        return items;
    }
    int EntryWindowOffset(int entry) const { return TranscribedLayout::At("InventoryEntries", N) + (entry - 1) * 36; }
};

std::string Word(std::int32_t value)
{
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[static_cast<std::size_t>(i)] = static_cast<char>((static_cast<std::uint32_t>(value) >> (8 * i)) & 0xFF);
    return bytes;
}

} // namespace

TEST_F(InventoryPageTest, LaysOutTheControlsWithTheirInitialValues)
{
    OpenPage();
    ASSERT_NE(List(), nullptr);
    EXPECT_EQ(List()->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(List()->viewMode(), QListView::ListMode);
    EXPECT_EQ(LabelOf(Id::IdInventory), "Inventory:");
    const std::vector<std::pair<int, const char*>> labels = {
        {Id::IdItem, "Item:"},
        {Id::IdEnchantment1, "Enchantment 1:"},
        {Id::IdModifier, "Modifier:"},
        {Id::IdPower, "Power:"},
        {Id::IdEnchantment2, "Enchantment 2:"},
        {Id::IdCharges, "Charges:"},
        {Id::IdIdentified, "Identified:"},
        {Id::IdStolen, "Stolen:"},
        {Id::IdDamaged, "Damaged:"},
        {Id::IdHardened, "Hardened:"},
    };
    for (const auto& [id, text] : labels)
        EXPECT_EQ(LabelOf(id), text) << id;
    EXPECT_EQ(UiTesting::Plain(On<QLabel>(Id::IdEnchantment1Label)->text()), "Enchantment 1:");
    EXPECT_EQ(UiTesting::Plain(On<QLabel>(Id::IdPowerLabel)->text()), "Power:");
    EXPECT_EQ(UiTesting::Plain(On<QLabel>(Id::IdModifierLabel)->text()), "Modifier:");

    ExpectNumberBoxes(
        {{Id::IdCharges, Id::IdChargesSpin}, {Id::IdModifier, Id::IdModifierSpin}, {Id::IdPower, Id::IdPowerSpin}});
    for (const int id : {Id::IdCharges, Id::IdModifier, Id::IdPower})
        EXPECT_EQ(Text(id), "0") << id;
    EXPECT_EQ(Text(Id::IdItem), "Longsword");
    EXPECT_EQ(Text(Id::IdEnchantment1), "None");
    EXPECT_EQ(Text(Id::IdEnchantment2), "None");
    EXPECT_EQ(Text(Id::IdIdentified), "Yes");
    EXPECT_EQ(Text(Id::IdStolen), "No");
    EXPECT_EQ(Text(Id::IdDamaged), "No");
    EXPECT_EQ(Text(Id::IdHardened), "No");
    EXPECT_EQ(On<QComboBox>(Id::IdEnchantment1)->count(), 26);
    EXPECT_EQ(On<QComboBox>(Id::IdEnchantment1)->itemText(25), "of Protection");
    EXPECT_EQ(On<QComboBox>(Id::IdEnchantment2)->count(), 73);
    EXPECT_EQ(On<QComboBox>(Id::IdEnchantment2)->itemText(72), "of Feather Falling");
    EXPECT_EQ(On<QComboBox>(Id::IdStolen)->count(), 2);
    EXPECT_EQ(UiTesting::Plain(On<QPushButton>(Id::IdAddItem)->text()), "Add Item");
    EXPECT_EQ(UiTesting::Plain(On<QPushButton>(Id::IdDeleteItem)->text()), "Delete Item");
    EXPECT_TRUE(RegularLayout());
    EXPECT_EQ(List()->count(), 0);
    ExpectNothingClipped();
}

TEST_F(InventoryPageTest, TheItemChooserIsSortedByNameNumbersEqualNamesAndFiltersAsYouType)
{
    OpenPage();
    const ItemTable& table = save.GetItemTable();
    int named = 0;
    for (int m = 1; m <= ItemTable::BuiltInCount; ++m)
        named += table.GetItemName(m).empty() ? 0 : 1;
    ASSERT_EQ(Kinds()->count(), named);
    EXPECT_LT(named, ItemTable::BuiltInCount);
    std::set<int> numbers;
    for (int i = 0; i < Kinds()->count(); ++i) {
        numbers.insert(Kinds()->itemData(i).toInt());
        if (i > 0) {
            EXPECT_LE(QString::compare(Kinds()->itemText(i - 1), Kinds()->itemText(i), Qt::CaseInsensitive), 0) << i;
        }
    }
    EXPECT_EQ(numbers.size(), static_cast<std::size_t>(named)) << "every kind once";
    EXPECT_EQ(numbers.count(Unnamed), 0u);
    // The game's two rubies are told apart by their numbers; a name used once shows none.
    const int ruby = Kinds()->findText("Ruby (185)");
    ASSERT_GE(ruby, 0);
    EXPECT_EQ(Kinds()->itemText(ruby + 1), "Ruby (203)");
    EXPECT_EQ(Kinds()->itemData(ruby + 1).toInt(), 203);
    EXPECT_EQ(Kinds()->findText("Ruby"), -1);
    EXPECT_EQ(Kinds()->itemData(Kinds()->findText("Ruby Ring")).toInt(), 143);

    // Typing offers the kinds holding the text anywhere, in any case.
    const QStringList offered = UiTesting::Offered(*Kinds(), "RUBY");
    EXPECT_TRUE(offered.contains("Ruby (203)"));
    EXPECT_TRUE(offered.contains("Ruby Ring"));
    for (const QString& text : offered)
        EXPECT_TRUE(text.contains("ruby", Qt::CaseInsensitive)) << text.toStdString();
    // Leaving a text that names no kind shows the chosen kind again; Add Item adds that one.
    Press(Id::IdAddItem);
    EXPECT_EQ(Text(Id::IdItem), "Longsword");
    ASSERT_EQ(Stored().size(), 1u);
    EXPECT_EQ(Stored()[0].second.ItemNumber, Longsword);
    ChooseKind("Ruby (203)");
    Press(Id::IdAddItem);
    ASSERT_EQ(Stored().size(), 2u);
    EXPECT_EQ(Stored()[1].second.ItemNumber, 203);
    EXPECT_EQ(List()->currentRow(), 1) << "the new item is selected";
}

TEST_F(InventoryPageTest, RowsFollowTheAnchorCellsAndUnknownKindsAreNamedByNumber)
{
    Carry({Item(Longsword), Item(BronzeRing), Item(Unnamed), Item(900), Item(-4), Item(CureWounds, 10)});
    // A stale anchor naming a free entry is no item.
    PatchFile(TranscribedLayout::At("InventoryGrid", N) + 4 * 100, Word(40));
    OpenPage();
    EXPECT_EQ(Rows(), (QStringList{"Longsword", "Bronze Ring", "Unknown item 195", "Unknown item 900",
                                   "Unknown item -4", "Cure Wounds (red Potion), power 10"}));
    EXPECT_EQ(RowCells(), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_TRUE(List()->selectedItems().isEmpty());
}

TEST_F(InventoryPageTest, SelectingALongswordCopiesItAndAddItemAddsIdenticalOnes)
{
    InventoryItem sword = Item(Longsword, 3, 5, 2, 4, InventoryItemFlags::Identified);
    sword.Unused7 = 77;
    Carry({sword});
    OpenPage();
    ClickRow(0);
    EXPECT_EQ(Text(Id::IdItem), "Longsword");
    EXPECT_EQ(Text(Id::IdEnchantment1), "of Charm");
    EXPECT_EQ(Text(Id::IdModifier), "5");
    EXPECT_EQ(Text(Id::IdEnchantment2), "of the Gods");
    EXPECT_EQ(Text(Id::IdCharges), "4");
    EXPECT_EQ(Text(Id::IdIdentified), "Yes");
    EXPECT_EQ(Text(Id::IdPower), "3");
    EXPECT_TRUE(RegularLayout());

    Press(Id::IdAddItem);
    Press(Id::IdAddItem);
    EXPECT_TRUE(messages.Shown().isEmpty());
    EXPECT_EQ(Rows(), QStringList(3, "Longsword, of Charm +5, of the Gods"));
    EXPECT_EQ(RowCells(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(List()->selectedItems(), QList{List()->item(2)}) << "the last one added";
    InventoryItem added = sword;
    added.Unused7 = 0; // the words nobody interprets start at 0
    const auto stored = Stored();
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(stored[0].second, sword);
    EXPECT_EQ(stored[1].second, added);
    EXPECT_EQ(stored[2].second, added);

    Click(QDialogButtonBox::Apply);
    EXPECT_EQ(FileBytes(), Expected([&](SaveGame& s) {
                  s.AddInventoryItem(N, added);
                  s.AddInventoryItem(N, added);
              }));
}

TEST_F(InventoryPageTest, APotionShowsItsPowerWhereTheEnchantmentStands)
{
    Carry({Item(Longsword, 1, 2), Item(CureWounds, 10, 0, 0, 0, InventoryItemFlags::Identified)});
    OpenPage();
    const QRect enchantment = On<QWidget>(Id::IdEnchantment1)->geometry();
    const QRect label = On<QWidget>(Id::IdEnchantment1Label)->geometry();
    const QRect below = On<QWidget>(Id::IdEnchantment2)->geometry();
    ClickRow(1);
    EXPECT_EQ(Text(Id::IdItem), "Cure Wounds (red Potion)");
    EXPECT_TRUE(PotionLayout());
    EXPECT_EQ(Text(Id::IdPower), "10");
    EXPECT_EQ(On<QWidget>(Id::IdPower)->y(), enchantment.y());
    EXPECT_EQ(On<QWidget>(Id::IdPower)->x(), enchantment.x());
    EXPECT_EQ(On<QWidget>(Id::IdPowerLabel)->geometry().topLeft(), label.topLeft());
    // The rows below stay where they were (give or take the box's own height).
    EXPECT_NEAR(On<QWidget>(Id::IdEnchantment2)->y(), below.y(), 2);
    ExpectNothingClipped();

    ClickRow(0);
    EXPECT_EQ(Text(Id::IdItem), "Longsword");
    EXPECT_TRUE(RegularLayout());
    EXPECT_EQ(Text(Id::IdEnchantment1), "of Might");
    EXPECT_EQ(Text(Id::IdPower), "1");
}

TEST_F(InventoryPageTest, ChoosingAKindSwitchesTheLayoutAndAPotionKeepsItsPowerAndTheHiddenModifier)
{
    Carry({Item(PotionBottle, 0, 7)});
    OpenPage();
    ClickRow(0);
    EXPECT_EQ(Text(Id::IdItem), "Potion Bottle");
    EXPECT_TRUE(RegularLayout());
    EXPECT_EQ(Text(Id::IdModifier), "7");

    ChooseKind("Catalyst (grey Potion)");
    EXPECT_TRUE(PotionLayout());
    ChooseKind("Potion Bottle");
    EXPECT_TRUE(RegularLayout());
    EXPECT_EQ(Text(Id::IdModifier), "7") << "choosing a kind changes no value";

    ChooseKind("Catalyst (grey Potion)");
    TypeInto(Id::IdPower, "25");
    Press(Id::IdAddItem);
    const auto stored = Stored();
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[1].first, 1);
    EXPECT_EQ(stored[1].second, Item(Catalyst, 25, 7));
    EXPECT_EQ(Rows(), (QStringList{"Potion Bottle", "Catalyst (grey Potion), power 25"}));
}

TEST_F(InventoryPageTest, TheFlagWordIsComposedFromTheFourLists)
{
    Carry({Item(Helm, 0, 0, 0, 0, 0x3F1)});
    OpenPage();
    Choose(Id::IdDamaged, 1);
    Choose(Id::IdHardened, 1);
    Press(Id::IdAddItem);
    ASSERT_EQ(Stored().size(), 2u);
    EXPECT_EQ(Stored()[1].second, Item(Longsword, 0, 0, 0, 0, 0x203));

    // Read back: other bits are not shown and not carried into a new item.
    ClickRow(0);
    EXPECT_EQ(Text(Id::IdIdentified), "Yes");
    EXPECT_EQ(Text(Id::IdDamaged), "No");
    EXPECT_EQ(Text(Id::IdStolen), "Yes");
    EXPECT_EQ(Text(Id::IdHardened), "Yes");
    Choose(Id::IdIdentified, 0);
    Press(Id::IdAddItem);
    ASSERT_EQ(Stored().size(), 3u);
    EXPECT_EQ(Stored()[2].second, Item(Helm, 0, 0, 0, 0, 0x300));
}

TEST_F(InventoryPageTest, AFirstEnchantmentBeyondItsListIsAddedAsNoneASecondAsStored)
{
    Carry({Item(Longsword, 40, 1, 99)});
    OpenPage();
    ClickRow(0);
    EXPECT_EQ(On<QComboBox>(Id::IdEnchantment1)->currentIndex(), -1);
    EXPECT_EQ(On<QComboBox>(Id::IdEnchantment2)->currentIndex(), -1);
    Press(Id::IdAddItem);
    ASSERT_EQ(Stored().size(), 2u);
    EXPECT_EQ(Stored()[1].second, Item(Longsword, 0, 1, 99));

    // Once the user picks an entry, the pick counts.
    Choose(Id::IdEnchantment2, 4);
    Press(Id::IdAddItem);
    ASSERT_EQ(Stored().size(), 3u);
    EXPECT_EQ(Stored()[2].second, Item(Longsword, 0, 1, 4));
}

TEST_F(InventoryPageTest, DeleteItemRemovesEverySelectedRow)
{
    Carry({Item(Helm), Item(BronzeRing), Item(Longsword)});
    OpenPage();
    Press(Id::IdDeleteItem); // nothing selected: only a refresh
    EXPECT_EQ(Stored().size(), 3u);
    ClickRow(2);
    EXPECT_EQ(Text(Id::IdItem), "Longsword");
    ClickRow(0, Qt::ControlModifier);
    EXPECT_EQ(List()->selectedItems().size(), 2);
    EXPECT_EQ(Text(Id::IdItem), "Helm") << "the details follow the first selected row";
    Press(Id::IdDeleteItem);
    EXPECT_TRUE(messages.Shown().isEmpty());
    EXPECT_EQ(Rows(), QStringList{"Bronze Ring"});
    const auto stored = Stored();
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].first, 1);
    Click(QDialogButtonBox::Apply);
    EXPECT_EQ(FileBytes(), Expected([](SaveGame& s) {
                  s.RemoveInventoryItem(N, 0);
                  s.RemoveInventoryItem(N, 2);
              }));
}

TEST_F(InventoryPageTest, AddItemReportsAFullInventoryAndChangesNothing)
{
    // Every entry in use, though the grid is empty.
    for (int entry = 1; entry <= InventoryLayout::EntryCount; ++entry)
        PatchFile(EntryWindowOffset(entry), Word(Helm));
    OpenPage();
    Press(Id::IdAddItem);
    EXPECT_EQ(messages.Shown(), QStringList{"Inventory Full."});
    EXPECT_EQ(List()->count(), 0);
    Click(QDialogButtonBox::Apply);
    EXPECT_EQ(FileBytes(), opened);
}

TEST_F(InventoryPageTest, AddItemReportsAFullGrid)
{
    Prepare([](SaveGame& s) {
        for (int cell = 0; cell < InventoryLayout::CellCount; ++cell)
            ASSERT_EQ(s.AddInventoryItem(N, Item(BronzeRing)), cell);
    });
    OpenPage();
    EXPECT_EQ(List()->count(), InventoryLayout::CellCount);
    Press(Id::IdAddItem);
    EXPECT_EQ(messages.Shown(), QStringList{"Inventory Full."});
    EXPECT_EQ(List()->count(), InventoryLayout::CellCount);
    Click(QDialogButtonBox::Apply);
    EXPECT_EQ(FileBytes(), opened);
}

TEST_F(InventoryPageTest, AShownFieldWithoutANumberStopsAddItem)
{
    Carry({Item(Longsword, 3, 5, 0, 4, InventoryItemFlags::Identified)});
    OpenPage();
    ClickRow(0);
    TypeInto(Id::IdModifier, "9");
    Choose(Id::IdDamaged, 1);
    TypeInto(Id::IdCharges, "");
    Press(Id::IdAddItem);
    EXPECT_EQ(messages.Shown(), QStringList{"Please enter an integer."});
    EXPECT_TRUE(On<QWidget>(Id::IdCharges)->hasFocus());
    EXPECT_EQ(Stored().size(), 1u) << "nothing is added";
}

TEST_F(InventoryPageTest, ReadsItsShownFieldsInTheirExchangeOrder)
{
    // The modifier and the power share a place: a regular item shows the one, a potion the other.
    CheckExchangeOrder("inventory", false);
    CheckExchangeOrder("inventory", false, [this] { ChooseKind("Catalyst (grey Potion)"); });
}

TEST_F(InventoryPageTest, LeavingAndApplyWriteNothingButTheDetailsPersist)
{
    Carry({Item(Longsword, 3, 5), Item(PotionBottle)});
    OpenPage();
    ClickRow(1);
    ChooseKind("Catalyst (grey Potion)");
    TypeInto(Id::IdPower, "12");
    TypeInto(Id::IdCharges, "8");
    Leave();
    EXPECT_EQ(sheet->CurrentIndex(), StatsTab);
    Return();
    EXPECT_EQ(Text(Id::IdItem), "Catalyst (grey Potion)");
    EXPECT_EQ(Text(Id::IdPower), "12");
    EXPECT_EQ(Text(Id::IdCharges), "8");
    EXPECT_TRUE(PotionLayout());
    EXPECT_TRUE(List()->selectedItems().isEmpty());
    Click(QDialogButtonBox::Apply);
    EXPECT_EQ(FileBytes(), opened);
}

TEST_F(InventoryPageTest, AnItemAddedIntoAnEarlierFreeCellIsListedAboveOlderOnes)
{
    Carry({Item(Longsword), Item(BronzeRing), Item(Helm, 0, 0, 0, 6)});
    OpenPage();
    ClickRow(0);
    Press(Id::IdDeleteItem);
    EXPECT_EQ(Rows(), (QStringList{"Bronze Ring", "Helm"}));
    ClickRow(1);
    Press(Id::IdAddItem);
    EXPECT_EQ(Rows(), (QStringList{"Helm", "Bronze Ring", "Helm"}));
    EXPECT_EQ(RowCells(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(Stored()[0].second, Item(Helm, 0, 0, 0, 6));
    ClickRow(0);
    EXPECT_EQ(Text(Id::IdCharges), "6");
}

TEST_F(InventoryPageTest, ARowOfAnUnnamedKindKeepsTheKindListAndReplaceKeepsTheRowsKind)
{
    Carry({Item(CureWounds, 10), Item(Unnamed, 40, 2, 5, 7, 0x3F1)});
    OpenPage();
    ClickRow(0);
    EXPECT_TRUE(PotionLayout());
    ClickRow(1);
    EXPECT_EQ(Text(Id::IdItem), "Cure Wounds (red Potion)");
    EXPECT_TRUE(RegularLayout()) << "laid out for the row's own kind";
    const auto own = [this] {
        const auto b = save.GetCharacterBytes(N);
        return Bytes(b.begin(), b.end());
    };
    const Bytes before = own();
    Press(Id::IdReplaceItem);
    EXPECT_EQ(own(), before) << "a Replace without an edit changes no byte";
    TypeInto(Id::IdCharges, "8");
    Press(Id::IdReplaceItem);
    ASSERT_EQ(Stored().size(), 2u);
    EXPECT_EQ(Stored()[1].second, Item(Unnamed, 40, 2, 5, 8, 0x3F1)) << "only the charges change";
    Press(Id::IdAddItem);
    ASSERT_EQ(Stored().size(), 3u);
    // Add Item adds the kind the list shows, a potion: its power is the row's first word.
    EXPECT_EQ(Stored()[2].second, Item(CureWounds, 40, 2, 5, 8, 0x301));
}

TEST_F(InventoryPageTest, AddItemReadsOnlyTheFieldsShownForTheChosenKind)
{
    Carry({Item(CureWounds, 10, 3)});
    OpenPage();
    ClickRow(0);
    EXPECT_EQ(On<QComboBox>(Id::IdEnchantment1)->currentIndex(), -1) << "a power is no enchantment";
    TypeInto(Id::IdPower, "");
    ChooseKind("Longsword");
    EXPECT_TRUE(RegularLayout());
    Press(Id::IdAddItem);
    EXPECT_TRUE(messages.Shown().isEmpty()) << "the hidden power is not checked";
    ASSERT_EQ(Stored().size(), 2u);
    EXPECT_EQ(Stored()[1].second, Item(Longsword, 0, 3)) << "no enchantment from the potion's power";

    ChooseKind("Catalyst (grey Potion)");
    EXPECT_EQ(Text(Id::IdPower), "0") << "the details follow the new item, selected after Add Item";
    TypeInto(Id::IdPower, "");
    Press(Id::IdAddItem);
    EXPECT_EQ(messages.Shown(), QStringList{"Please enter an integer."});
    EXPECT_TRUE(On<QWidget>(Id::IdPower)->hasFocus());
    EXPECT_EQ(Stored().size(), 2u);
}

TEST_F(InventoryPageTest, ReplaceWritesTheShownFieldsOverTheSelectedItem)
{
    constexpr int Sarcophagus = 612; // 14x4
    InventoryItem helm = Item(Helm, 0, 0, 0, 0, 0x3F1);
    helm.Unused7 = 77;
    Prepare([&](SaveGame& s) {
        ASSERT_EQ(s.AddInventoryItem(N, helm), 0);
        ASSERT_EQ(s.AddInventoryItem(N, Item(Longsword)), 1);
        ASSERT_EQ(s.AddInventoryItem(N, Item(BronzeRing)), 2);
        ASSERT_TRUE(s.MoveInventoryItem(N, 2, 13 + 14 * 6)); // no four free rows are left
    });
    OpenPage();
    ClickRow(0);
    TypeInto(Id::IdCharges, "5");
    Choose(Id::IdDamaged, 1);
    Press(Id::IdReplaceItem);
    InventoryItem replaced = helm;
    replaced.Charges = 5;
    replaced.ItemFlags = 0x3F3; // the bits the page does not show are kept
    ASSERT_EQ(Stored().size(), 3u);
    EXPECT_EQ(Stored()[0], std::pair(0, replaced));
    EXPECT_EQ(save.GetInventoryGridCell(N, 0), 1) << "the same entry";
    EXPECT_EQ(List()->currentRow(), 0);

    // No place holds a sarcophagus: nothing changes, and the largest free area is outlined.
    const auto before = Stored();
    const BackpackView* backpack = Page().findChild<BackpackView*>();
    ChooseKind(Kinds()->itemText(Kinds()->findData(Sarcophagus)));
    for (const int button : {Id::IdReplaceItem, Id::IdAddItem}) {
        messages.Clear();
        Press(button);
        EXPECT_EQ(messages.Shown(), QStringList{"Inventory Full."});
        EXPECT_EQ(Stored(), before);
        EXPECT_EQ(backpack->LargestFreeArea(), QRect(2, 0, 11, 9));
    }

    // Chain mail does not fit where the helm was: it goes where Add Item would put it.
    ChooseKind("Steel Chainmail");
    Press(Id::IdReplaceItem);
    EXPECT_EQ(RowCells(), (std::vector<int>{1, 2, 13 + 14 * 6}));
    EXPECT_EQ(Rows()[List()->currentRow()], "Steel Chainmail");
    EXPECT_EQ(save.GetInventoryGridCell(N, 2), 1);
    EXPECT_TRUE(backpack->LargestFreeArea().isEmpty());
}
