#include "tests/dialogs/SheetFixture.h"

#include "dialogs/CVelkarPage1.h"
#include "dialogs/CVelkarPage4.h"
#include "dialogs/CVelkarPage5.h"
#include "ui/NumberBox.h"

#include "tests/ui/UiTesting.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

using Id = CVelkarPage1;

namespace {

class CVelkarSheetTest : public SheetFixture {};

} // namespace

TEST_F(CVelkarSheetTest, OpensOnStatsWithTheSevenTabsInOrder)
{
    OpenSheet();
    EXPECT_EQ(sheet->windowTitle(), "save003.dod");
    const QStringList expected = {"Stats", "Condition", "Skills", "Spells", "Active Spells", "Inventory", "Awards"};
    QStringList texts;
    for (int i = 0; i < sheet->TabBar()->count(); ++i)
        texts.append(sheet->TabBar()->tabText(i));
    EXPECT_EQ(texts, expected);
    EXPECT_EQ(sheet->CurrentIndex(), 0);
    EXPECT_TRUE(sheet->Page(0).WasActivated());
    EXPECT_TRUE(sheet->Button(QDialogButtonBox::Apply)->isEnabled());

    // The other tabs are built in idle time, but neither loaded nor applied: OK writes nothing.
    ASSERT_TRUE(QTest::qWaitFor([&] { return sheet->Page(SheetTabCount - 1).IsCreated(); }));
    for (int i = 1; i < SheetTabCount; ++i)
        EXPECT_FALSE(sheet->Page(i).WasActivated()) << i;
    Click(QDialogButtonBox::Ok);
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(FileBytes(), opened);
}

namespace {

class CancelTest;

// Every way a page stores into the model before OK, each as real input on the open sheet.
// Tabs: 0 Stats, 2 Skills, 4 Active Spells, 5 Inventory, 6 Awards.
struct SheetEdit {
    const char* name;
    void (*edit)(CancelTest&);
};

class CancelTest : public CVelkarSheetTest, public ::testing::WithParamInterface<SheetEdit> {
public:
    void Press(int id) { QTest::mouseClick(Control<QPushButton>(id), Qt::LeftButton); }
    using SheetFixture::Control;
    using SheetFixture::Tab;
    using SheetFixture::Type;
};

const SheetEdit kSheetEdits[] = {
    {"TabChange",
     [](CancelTest& t) {
         t.Type(Id::IdMight, "99");
         t.Tab(2);
     }},
    {"Portrait", [](CancelTest& t) { t.Press(Id::IdFace); }},
    {"Skill",
     [](CancelTest& t) {
         t.Tab(2);
         t.Type(1064, "9");
         t.Tab(0);
     }},
    {"AddItem",
     [](CancelTest& t) {
         t.Tab(5);
         t.Press(CVelkarPage4::IdAddItem);
     }},
    {"DeleteItem",
     [](CancelTest& t) {
         t.Tab(5);
         t.Control<QListWidget>(CVelkarPage4::IdInventory)->setCurrentRow(0);
         t.Press(CVelkarPage4::IdDeleteItem);
     }},
    {"Award",
     [](CancelTest& t) {
         t.Tab(6);
         t.Press(CVelkarPage5::IdAdd);
     }},
    {"SpellEffect",
     [](CancelTest& t) {
         t.Tab(4);
         t.Press(1169);
         t.Type(1159, "4");
         t.Press(1172);
     }},
};

} // namespace

TEST_P(CancelTest, PutsTheCharacterBackWhateverThePagesStored)
{
    Prepare([](SaveGame& s) { s.AddInventoryItem(N, InventoryItem{.ItemNumber = 1}); });
    const Bytes window(save.GetWindow().begin(), save.GetWindow().end());
    OpenSheet();
    GetParam().edit(*this);
    EXPECT_NE(Bytes(save.GetWindow().begin(), save.GetWindow().end()), window) << "the edit reached the model";
    Click(QDialogButtonBox::Cancel);
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(Bytes(save.GetWindow().begin(), save.GetWindow().end()), window);
    EXPECT_EQ(FileBytes(), opened);
}

INSTANTIATE_TEST_SUITE_P(EveryKindOfStore, CancelTest, ::testing::ValuesIn(kSheetEdits),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CVelkarSheetTest, CancelAfterApplyKeepsWhatApplyWrote)
{
    OpenSheet();
    Type(Id::IdLuck, "5");
    Click(QDialogButtonBox::Apply);
    Type(Id::IdMight, "98");
    Tab(2);
    Click(QDialogButtonBox::Cancel);
    EXPECT_EQ(save.GetLuck(N), 5);
    EXPECT_NE(save.GetMight(N), 98);
    EXPECT_EQ(FileBytes(), Expected([](SaveGame& s) { s.SetLuck(N, 5); }));
}

TEST_F(CVelkarSheetTest, TheStatsTabShowsTheModelAfreshOnEveryActivation)
{
    OpenSheet();
    Tab(1);
    save.SetMight(N, 321);
    Tab(0);
    EXPECT_EQ(Box(Id::IdMight)->Text(), "321");
}

TEST_F(CVelkarSheetTest, KeepsItsSizeOnEveryTabWithoutActivatingThem)
{
    OpenSheet();
    const QSize size = sheet->size();
    EXPECT_LE(size.width(), 1366);
    EXPECT_LE(size.height(), 740);
    for (int i = 1; i < SheetTabCount; ++i)
        EXPECT_FALSE(sheet->Page(i).WasActivated()) << "measuring a tab does not activate it: " << i;
    for (int i = 0; i < SheetTabCount; ++i) {
        Tab(i);
        QApplication::processEvents();
        EXPECT_EQ(sheet->size(), size) << "tab " << i;
    }
}
