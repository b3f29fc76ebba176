#include "tests/dialogs/InventoryPageFixture.h"

#include "dialogs/BackpackView.h"
#include "dialogs/CVelkarPage4.h"

#include "model/GameData.h"
#include "tests/support/LodBuilder.h"
#include "tests/support/TranscribedLayout.h"
#include "tests/ui/UiTesting.h"

#include <QApplication>
#include <QComboBox>
#include <QHelpEvent>
#include <QImage>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolTip>

#include <string>
#include <vector>

using Id = CVelkarPage4;
namespace IL = InventoryLayout;

namespace {

std::string Word(std::int32_t value)
{
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[static_cast<std::size_t>(i)] = static_cast<char>((static_cast<std::uint32_t>(value) >> (8 * i)) & 0xFF);
    return bytes;
}

constexpr int CellAt(int column, int row)
{
    return column + IL::Columns * row;
}

class BackpackViewTest : public InventoryPageFixture {
protected:
    // Writes an entry (36 bytes each) and grid cells (4 bytes each) straight into the file, as
    // another program might.
    void PutEntry(int entry, int itemNumber)
    {
        PatchFile(TranscribedLayout::At("InventoryEntries", N) + (entry - 1) * 36, Word(itemNumber));
    }
    void PutCell(int cell, int value) { PatchFile(TranscribedLayout::At("InventoryGrid", N) + 4 * cell, Word(value)); }

    BackpackView* View() const { return Page().findChild<BackpackView*>(); }
    // The game's own data beside the saved game: the table with item 1 renamed, a placeholder
    // and an item above the built-in table, and pictures for a few items; the saved game is
    // opened again with that table, as the start-up dialog hands it on.
    void UseGameData()
    {
        auto rows = LodBuilder::FullTable(803);
        rows[Longsword].Name = "Game's longsword";
        rows[751].Picture = "null";
        rows[802].Name = "Lost item";
        LodBuilder("MMVIII", "language")
            .AddFile("items.txt", LodBuilder::ItemsText(rows))
            .WriteTo(folder / "Data" / "EnglishT.lod");
        LodBuilder("MMVI", "icons")
            .AddIcon("item001", 40, 150) // 1x5, overhanging its cells by 4 pixels each side
            .AddIcon("item802", 64, 64)
            .WriteTo(folder / "Data" / "icons.lod");
        ASSERT_TRUE(save.Open(path, GameWords::FromGame(GameData::Load(folder.Path()), GameWords::WesternCodePage)));
    }
    QListWidget* List() const { return On<QListWidget>(Id::IdInventory); }
    QString ItemKind() const { return On<QComboBox>(Id::IdItem)->currentText(); }

    std::vector<int> Anchors() const
    {
        std::vector<int> anchors;
        for (const BackpackView::Piece& piece : View()->Pieces())
            anchors.push_back(piece.anchor);
        return anchors;
    }
    std::vector<int> SelectedRows() const
    {
        std::vector<int> rows;
        for (int r = 0; r < List()->count(); ++r) {
            if (List()->item(r)->isSelected())
                rows.push_back(r);
        }
        return rows;
    }
    void ClickRow(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, modifiers,
                          List()->visualItemRect(List()->item(row)).center());
    }
    void ClickCell(int cell, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::mouseClick(View(), Qt::LeftButton, modifiers, View()->CellRect(cell).center());
    }
    void Press(int id) { QTest::mouseClick(On<QPushButton>(id), Qt::LeftButton); }

    // The picture as it is drawn on screen.
    QImage Picture() const { return View()->grab().toImage(); }
    // Whether any pixel inside the cell, away from its borders, has this colour.
    static bool Shows(const QImage& picture, const QRect& cell, const QColor& color)
    {
        for (int y = cell.top() + 4; y <= cell.bottom() - 4; ++y)
            for (int x = cell.left() + 4; x <= cell.right() - 4; ++x)
                if (picture.pixelColor(x, y).rgb() == color.rgb())
                    return true;
        return false;
    }
    bool ShowsFree(const QImage& picture, int cell) const
    {
        const QRect area = View()->CellRect(cell);
        const QColor free = View()->palette().color(QPalette::Base);
        for (int y = area.top() + 2; y <= area.bottom() - 2; ++y)
            for (int x = area.left() + 2; x <= area.right() - 2; ++x)
                if (picture.pixelColor(x, y).rgb() != free.rgb())
                    return false;
        return true;
    }
    bool Shows(const QImage& picture, int cell, const QColor& color) const
    {
        return Shows(picture, View()->CellRect(cell), color);
    }
    // The tooltip a user sees on resting the mouse over the cell.
    QString Hover(int cell)
    {
        // The last tip goes away first, as when the mouse moves on.
        QToolTip::hideText();
        EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000));
        const QPoint at = View()->CellRect(cell).center();
        QHelpEvent help(QEvent::ToolTip, at, View()->mapToGlobal(at));
        QApplication::sendEvent(View(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    }
};

} // namespace

TEST_F(BackpackViewTest, DrawsEachItemAtItsAnchorWithItsSizeAndKind)
{
    Carry({Item(Longsword), Item(Chainmail), Item(Buckler), Item(BronzeRing), Item(CureWounds, 10), Item(Unnamed),
           Item(Book)});
    OpenPage();
    ASSERT_NE(View(), nullptr);
    EXPECT_GE(View()->CellSize(), BackpackView::SmallestCellSize);
    struct Expected {
        int anchor;
        QRect cells;
        ::ItemKind kind;
    };
    const std::vector<Expected> expected = {
        {0, {0, 0, 1, 5}, ItemKind::Weapon},       {1, {1, 0, 3, 4}, ItemKind::Armor},
        {4, {4, 0, 2, 2}, ItemKind::Armor},        {6, {6, 0, 1, 1}, ItemKind::Jewelry},
        {7, {7, 0, 1, 2}, ItemKind::Potion},       {8, {8, 0, 1, 1}, ItemKind::Unknown},
        {9, {9, 0, 2, 1}, ItemKind::ScrollOrBook},
    };
    const auto& pieces = View()->Pieces();
    ASSERT_EQ(pieces.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(pieces[i].anchor, expected[i].anchor);
        EXPECT_EQ(pieces[i].cells, expected[i].cells);
        EXPECT_EQ(pieces[i].kind, expected[i].kind);
        EXPECT_FALSE(pieces[i].Damaged());
        // One piece per row of the list, in the same order.
        EXPECT_EQ(List()->item(static_cast<int>(i))->data(Qt::UserRole).toInt(), expected[i].anchor);
    }
    EXPECT_TRUE(View()->Strays().empty());
    EXPECT_FALSE(View()->IsEmpty());

    const QImage picture = Picture();
    EXPECT_TRUE(Shows(picture, CellAt(0, 4), BackpackView::KindColor(ItemKind::Weapon))) << "the sword's fifth cell";
    EXPECT_TRUE(ShowsFree(picture, CellAt(0, 5)));
    EXPECT_TRUE(Shows(picture, CellAt(3, 3), BackpackView::KindColor(ItemKind::Armor)));
    EXPECT_TRUE(ShowsFree(picture, CellAt(4, 3)));
    EXPECT_TRUE(Shows(picture, CellAt(7, 1), BackpackView::KindColor(ItemKind::Potion)));
    EXPECT_TRUE(Shows(picture, CellAt(10, 0), BackpackView::KindColor(ItemKind::ScrollOrBook)));
    // A kind without a size takes one cell, as the model placed it.
    EXPECT_TRUE(ShowsFree(picture, CellAt(8, 1)));
    EXPECT_EQ(save.GetInventoryGridCell(N, CellAt(8, 1)), 0);
    EXPECT_TRUE(ShowsFree(picture, CellAt(13, 8)));
}

TEST_F(BackpackViewTest, TheToolTipNamesTheItemItsEnchantmentsAndCharges)
{
    Carry({Item(Longsword, 3, 5, 2, 4), Item(CureWounds, 10, 7), Item(Helm, 40, 0, 99)});
    OpenPage();
    EXPECT_EQ(Hover(CellAt(0, 3)),
              "Longsword\nEnchantment 1: of Charm, modifier 5\nEnchantment 2: of the Gods\nCharges: 4");
    EXPECT_EQ(Hover(CellAt(1, 1)), "Cure Wounds (red Potion)\nPower: 10");
    EXPECT_EQ(Hover(CellAt(2, 0)), "Helm\nEnchantment 1: 40\nEnchantment 2: 99") << "beyond the lists: the number";
    EXPECT_EQ(Hover(CellAt(5, 5)), "") << "a free cell tells nothing";
}

TEST_F(BackpackViewTest, SelectionFollowsTheListAndClicksSelectRows)
{
    Carry({Item(Longsword), Item(Chainmail), Item(Buckler), Item(BronzeRing)});
    OpenPage();
    EXPECT_TRUE(View()->Selected().empty());

    ClickRow(1);
    EXPECT_EQ(View()->Selected(), std::vector<int>{1});
    ClickRow(3, Qt::ControlModifier);
    EXPECT_EQ(View()->Selected(), (std::vector<int>{1, 6}));
    const QColor highlight = View()->palette().color(QPalette::Highlight);
    const QImage selected = Picture();
    const QRect chainmailEdge(View()->CellRect(1).left() + 2, View()->CellRect(1).top() + 2, 3, 3);
    EXPECT_EQ(selected.pixelColor(chainmailEdge.center()).rgb(), highlight.rgb());

    // A click on a rectangle selects its row alone, and the details follow, as a click in the list does.
    ClickCell(CellAt(0, 4));
    EXPECT_EQ(SelectedRows(), std::vector<int>{0});
    EXPECT_EQ(View()->Selected(), std::vector<int>{0});
    EXPECT_EQ(ItemKind(), "Longsword");
    EXPECT_NE(Picture().pixelColor(chainmailEdge.center()).rgb(), highlight.rgb());

    ClickCell(CellAt(3, 3), Qt::ControlModifier);
    EXPECT_EQ(SelectedRows(), (std::vector<int>{0, 1}));
    EXPECT_EQ(View()->Selected(), (std::vector<int>{0, 1}));
    ClickCell(CellAt(0, 0), Qt::ControlModifier); // taken out again
    EXPECT_EQ(SelectedRows(), std::vector<int>{1});
    EXPECT_EQ(ItemKind(), "Steel Chainmail");

    ClickCell(CellAt(13, 8), Qt::ControlModifier); // a free cell with Ctrl changes nothing
    EXPECT_EQ(SelectedRows(), std::vector<int>{1});
    ClickCell(CellAt(13, 8));
    EXPECT_TRUE(SelectedRows().empty());
    EXPECT_TRUE(View()->Selected().empty());
    EXPECT_EQ(ItemKind(), "Steel Chainmail") << "no selection leaves the details alone";
    EXPECT_TRUE(messages.Shown().isEmpty());
}

TEST_F(BackpackViewTest, RedrawsFromTheModelAfterAddAndDelete)
{
    Carry({Item(Longsword, 1)});
    OpenPage();
    ClickCell(0);
    Press(Id::IdAddItem);
    EXPECT_EQ(Anchors(), (std::vector<int>{0, 1}));
    EXPECT_EQ(View()->Pieces()[1].cells, QRect(1, 0, 1, 5));
    EXPECT_EQ(View()->Selected(), std::vector<int>{1}) << "the new item is selected";
    EXPECT_TRUE(Shows(Picture(), CellAt(1, 4), BackpackView::KindColor(ItemKind::Weapon)));

    ClickCell(CellAt(0, 2));
    ClickCell(CellAt(1, 2), Qt::ControlModifier);
    Press(Id::IdDeleteItem);
    EXPECT_TRUE(View()->Pieces().empty());
    EXPECT_TRUE(View()->IsEmpty());
    EXPECT_TRUE(ShowsFree(Picture(), CellAt(1, 4)));
    // An empty backpack says so.
    EXPECT_EQ(Hover(CellAt(6, 4)), BackpackView::EmptyMessage);
}

TEST_F(BackpackViewTest, AFullBackpackIsDrawnFullAndARefusedAddChangesNothing)
{
    Prepare([](SaveGame& s) {
        for (int cell = 0; cell < IL::CellCount; ++cell)
            ASSERT_EQ(s.AddInventoryItem(N, Item(cell % 2 == 0 ? BronzeRing : Helm)), cell);
    });
    OpenPage();
    ASSERT_EQ(View()->Pieces().size(), static_cast<std::size_t>(IL::CellCount));
    const QImage before = Picture();
    EXPECT_TRUE(Shows(before, CellAt(13, 8), BackpackView::KindColor(ItemKind::Armor)));
    EXPECT_TRUE(Shows(before, CellAt(12, 8), BackpackView::KindColor(ItemKind::Jewelry)));
    Press(Id::IdAddItem);
    EXPECT_EQ(messages.Shown(), QStringList{"Inventory Full."});
    EXPECT_EQ(View()->Pieces().size(), static_cast<std::size_t>(IL::CellCount));
    EXPECT_EQ(Picture(), before);
}

TEST_F(BackpackViewTest, ADamagedInventoryIsDrawnAsStoredWithWarnings)
{
    // Written by another program: a sword, and a helm anchored inside the sword's rectangle.
    PutEntry(1, Longsword);
    PutCell(CellAt(0, 0), 1);
    for (int row = 1; row < 5; ++row)
        PutCell(CellAt(0, row), ~0);
    PutEntry(2, Helm);
    PutCell(CellAt(0, 2), 2);
    // Chain mail three wide in column 12, and chain mail reaching below the last row, each
    // with marks that fill no rectangle, so their size comes from the table.
    PutEntry(3, Chainmail);
    PutCell(CellAt(12, 0), 3);
    PutCell(CellAt(13, 0), ~CellAt(12, 0));
    PutCell(CellAt(12, 1), ~CellAt(12, 0));
    PutEntry(4, Chainmail);
    PutCell(CellAt(5, 7), 4);
    PutCell(CellAt(6, 7), ~CellAt(5, 7));
    PutCell(CellAt(5, 8), ~CellAt(5, 7));
    // Marks no item explains: a cover from an empty cell, a value beyond the entries, an
    // anchor naming a free entry.
    PutCell(CellAt(4, 4), ~CellAt(8, 3));
    PutCell(CellAt(6, 5), 999);
    PutCell(CellAt(8, 5), 20);
    OpenPage();

    EXPECT_EQ(Anchors(), (std::vector<int>{0, 12, 28, 103}));
    const auto& pieces = View()->Pieces();
    ASSERT_EQ(pieces.size(), 4u);
    EXPECT_TRUE(pieces[0].overlaps);
    EXPECT_FALSE(pieces[0].outside);
    EXPECT_TRUE(pieces[1].outside);
    EXPECT_FALSE(pieces[1].overlaps);
    EXPECT_TRUE(pieces[2].overlaps);
    EXPECT_TRUE(pieces[3].outside);
    EXPECT_EQ(pieces[3].cells, QRect(5, 7, 3, 4));
    EXPECT_EQ(Hover(CellAt(0, 0)), QStringLiteral("Longsword\n") + BackpackView::OverlapMessage);
    EXPECT_EQ(Hover(CellAt(13, 3)), QStringLiteral("Steel Chainmail\n") + BackpackView::OutsideMessage);
    // Where two overlap, the later one lies on top.
    EXPECT_EQ(Hover(CellAt(0, 2)), QStringLiteral("Helm\n") + BackpackView::OverlapMessage);

    const auto& strays = View()->Strays();
    ASSERT_EQ(strays.size(), 3u);
    EXPECT_EQ(strays[0].cell, CellAt(4, 4));
    EXPECT_EQ(strays[0].value, ~CellAt(8, 3));
    EXPECT_EQ(strays[1].value, 999);
    EXPECT_EQ(strays[2].value, 20);
    EXPECT_EQ(Hover(CellAt(4, 4)), "Marked as covered from cell 50, but no item there reaches this cell.");
    EXPECT_EQ(Hover(CellAt(6, 5)), "Holds 999, which names no inventory entry.");
    EXPECT_EQ(Hover(CellAt(8, 5)), "Marked as the place of entry 20, which holds no item.");

    const QImage picture = Picture();
    const QColor warning = BackpackView::WarningColor();
    EXPECT_TRUE(Shows(picture, CellAt(0, 4), warning));
    EXPECT_TRUE(Shows(picture, CellAt(13, 0), warning));
    EXPECT_TRUE(Shows(picture, CellAt(5, 8), warning));
    EXPECT_FALSE(Shows(picture, CellAt(5, 8), BackpackView::KindColor(ItemKind::Armor)));
    for (const int cell : {CellAt(4, 4), CellAt(6, 5), CellAt(8, 5)}) {
        EXPECT_FALSE(ShowsFree(picture, cell)) << cell;
        EXPECT_TRUE(Shows(picture, cell, warning)) << cell;
    }
    EXPECT_TRUE(ShowsFree(picture, CellAt(8, 3)));

    // The list is as before; a click on the helm selects its row.
    EXPECT_EQ(List()->count(), 4);
    ClickCell(CellAt(0, 2));
    EXPECT_EQ(SelectedRows(), std::vector<int>{2});
    EXPECT_EQ(ItemKind(), "Helm");
}

TEST_F(BackpackViewTest, AnItemIsDrawnOverTheCellsTheGameMarkedForIt)
{
    // Longswords (1x5 in the table) the game wrote otherwise: two cells wide, a lone anchor,
    // and beside them one whose marks fill no rectangle, drawn by the table's size.
    PutEntry(1, Longsword);
    PutCell(CellAt(0, 0), 1);
    PutCell(CellAt(1, 0), ~CellAt(0, 0));
    PutEntry(2, Longsword);
    PutCell(CellAt(3, 0), 2);
    PutEntry(3, Longsword);
    PutCell(CellAt(5, 0), 3);
    PutCell(CellAt(6, 1), ~CellAt(5, 0));
    OpenPage();
    const struct {
        int anchor;
        QRect cells;
        bool damaged;
    } expected[] = {
        {CellAt(0, 0), {0, 0, 2, 1}, false},
        {CellAt(3, 0), {3, 0, 1, 1}, false},
        {CellAt(5, 0), {5, 0, 1, 5}, false},
    };
    const auto& pieces = View()->Pieces();
    ASSERT_EQ(pieces.size(), std::size(expected));
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        EXPECT_EQ(pieces[i].anchor, expected[i].anchor) << i;
        EXPECT_EQ(pieces[i].cells, expected[i].cells) << i;
        EXPECT_EQ(pieces[i].Damaged(), expected[i].damaged) << i;
    }
    EXPECT_EQ(Hover(CellAt(1, 0)), "Longsword");
    EXPECT_TRUE(ShowsFree(Picture(), CellAt(0, 1))) << "not where the table would reach";
    ASSERT_EQ(View()->Strays().size(), 1u) << "the third sword's stray mark";
    EXPECT_EQ(View()->Strays()[0].cell, CellAt(6, 1));
}

TEST_F(BackpackViewTest, ADraggedItemShowsWhereItFitsAndMovesThere)
{
    Carry({Item(Longsword), Item(Chainmail), Item(Helm, 0, 0, 0, 7)});
    OpenPage();
    const auto bytes = save.GetCharacterBytes(N);
    const std::vector<std::uint8_t> before(bytes.begin(), bytes.end());
    // The helm lies at cell 4; grabbed there and dragged over the chain mail, then past the
    // right edge, then to a free cell.
    const QPoint grab = View()->CellRect(CellAt(4, 0)).center();
    QTest::mousePress(View(), Qt::LeftButton, {}, grab);
    EXPECT_EQ(ItemKind(), "Helm") << "the press selects the item's row";
    const struct {
        QPoint cell;
        bool fits;
    } steps[] = {{{2, 1}, false}, {{14, 3}, false}, {{4, 0}, true}, {{9, 6}, true}};
    for (const auto& step : steps) {
        QTest::mouseMove(View(), View()->CellRect(0).center() + step.cell * View()->CellSize());
        EXPECT_EQ(View()->DragTarget(), QRect(step.cell, QSize(1, 1))) << step.cell.x();
        EXPECT_EQ(View()->DragFits(), step.fits) << step.cell.x();
        const QRect target = View()->CellRect(0).translated(step.cell * View()->CellSize());
        if (QRect(0, 0, IL::Columns, IL::Rows).contains(step.cell)) {
            const QColor outline = step.fits ? BackpackView::FitsColor() : BackpackView::WarningColor();
            EXPECT_EQ(Picture().pixelColor(target.topLeft() + QPoint(1, 1)).rgb(), outline.rgb()) << step.cell.x();
        }
    }
    QTest::mouseRelease(View(), Qt::LeftButton, {}, View()->CellRect(CellAt(9, 6)).center());
    EXPECT_EQ(Anchors(), (std::vector<int>{0, 1, CellAt(9, 6)}));
    EXPECT_EQ(View()->Selected(), std::vector<int>{CellAt(9, 6)}) << "the moved item stays selected";
    InventoryItem helm;
    ASSERT_EQ(save.GetInventoryCell(N, CellAt(9, 6), helm), 1);
    EXPECT_EQ(helm.Charges, 7);
    EXPECT_TRUE(messages.Shown().isEmpty());

    // Cancel puts the character back as it was.
    Click(QDialogButtonBox::Cancel);
    const auto after = save.GetCharacterBytes(N);
    EXPECT_TRUE(std::equal(after.begin(), after.end(), before.begin(), before.end()));
}

TEST_F(BackpackViewTest, APictureWiderThanTheCellsTheGameMarkedStopsAtTheOverhang)
{
    // An overlay's picture ten cells wide for an item the saved game marks two wide.
    LodBuilder("MMVI", "icons").AddIcon("item802", 300, 64).WriteTo(folder / "Data" / "z.icons.lod");
    UseGameData();
    PutEntry(1, 802);
    PutCell(CellAt(0, 0), 1);
    for (int cell : {CellAt(1, 0), CellAt(0, 1), CellAt(1, 1)})
        PutCell(cell, ~CellAt(0, 0));
    OpenPage();
    ASSERT_EQ(View()->Pieces().size(), 1u);
    EXPECT_EQ(View()->Pieces()[0].cells, QRect(0, 0, 2, 2));
    const QImage picture = Picture();
    EXPECT_FALSE(ShowsFree(picture, CellAt(1, 0)));
    EXPECT_TRUE(ShowsFree(picture, CellAt(3, 0)));
}

TEST_F(BackpackViewTest, TheGamesPicturesAreDrawnAtTheGamesPlaceAndScale)
{
    UseGameData();
    Carry({Item(Longsword), Item(802), Item(Helm)});
    OpenPage();
    ASSERT_TRUE(View()->HasPictures());
    EXPECT_EQ(List()->item(0)->text(), "Game's longsword");
    EXPECT_EQ(List()->item(1)->text(), "Lost item");
    const auto* kinds = On<QComboBox>(Id::IdItem);
    EXPECT_EQ(kinds->itemText(0), "Game's longsword");
    EXPECT_GE(kinds->findData(802), 0);
    EXPECT_EQ(kinds->findData(751), -1) << "a placeholder is no kind to choose";
    EXPECT_EQ(View()->Pieces()[1].cells, QRect(1, 0, 2, 2)) << "64 pixels: two cells";

    const QImage picture = Picture();
    const QColor free = View()->palette().color(QPalette::Base);
    const double scale = View()->CellSize() / 32.0;
    const auto at = [&](int cell, double x, double y) {
        return picture.pixelColor(View()->CellRect(cell).topLeft() + QPoint(qRound(x * scale), qRound(y * scale)));
    };
    // The sword's picture, 40 x 150 on a 32 x 160 area, is centred: its ellipse's middle is
    // drawn, its transparent corners are not, and no teal shows anywhere.
    EXPECT_NE(at(CellAt(0, 2), 16, 16).rgb(), free.rgb());
    EXPECT_NE(at(CellAt(0, 2), 16, 16).rgb(), BackpackView::KindColor(ItemKind::Weapon).rgb());
    EXPECT_EQ(at(CellAt(0, 0), 1, 3).rgb(), free.rgb());
    EXPECT_NE(at(CellAt(1, 1), 30, 16).rgb(), free.rgb()) << "the 64-pixel picture fills its cells";
    // The helm has no picture in this game: its coloured rectangle stands in.
    EXPECT_TRUE(Shows(picture, CellAt(3, 0), BackpackView::KindColor(ItemKind::Armor)));
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            ASSERT_NE(picture.pixelColor(x, y).rgb() & 0xFFFFFF, 0x00FFFFu) << x << "," << y;
}
