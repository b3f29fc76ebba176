#include "model/GameData.h"
#include "tests/dialogs/PageFixture.h"
#include "tests/support/LodBuilder.h"
#include "tests/support/TranscribedLayout.h"
#include "tests/ui/UiTesting.h"

#include "dialogs/CVelkarPage5.h"
#include "text/TextCodec.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QHeaderView>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <vector>

using Id = CVelkarPage5;

namespace {

// Award bits are read most significant bit first: award a is bit 0x80 >> a % 8 of byte a / 8.
class AwardsPageTest : public PageFixture {
protected:
    static int LastAwardByte() { return TranscribedLayout::At("Awards", N) + 9; }
    static constexpr int AwardsTab = TabIndex(SheetTab::Awards);
    AwardsPageTest() : PageFixture(AwardsTab) {}

    QTreeWidget* List() const { return On<QTreeWidget>(Id::IdAwards); }
    QComboBox* Chooser() const { return On<QComboBox>(Id::IdChooser); }

    // The award numbers the rows carry, and their texts.
    std::vector<int> Rows() const
    {
        std::vector<int> awards;
        for (int i = 0; i < List()->topLevelItemCount(); ++i)
            awards.push_back(List()->topLevelItem(i)->data(0, Qt::UserRole).toInt());
        return awards;
    }
    QStringList RowTexts() const
    {
        QStringList texts;
        for (int i = 0; i < List()->topLevelItemCount(); ++i)
            texts.append(List()->topLevelItem(i)->text(0));
        return texts;
    }
    std::vector<int> Selected() const
    {
        std::vector<int> rows;
        for (int i = 0; i < List()->topLevelItemCount(); ++i) {
            if (List()->topLevelItem(i)->isSelected())
                rows.push_back(i);
        }
        return rows;
    }
    std::vector<int> Held() const
    {
        std::vector<int> awards;
        for (int a = 0; a < 74; ++a) {
            if (save.GetAward(N, a) != 0)
                awards.push_back(a);
        }
        return awards;
    }
    int ChosenAward() const { return Chooser()->currentData().toInt(); }

    void ClickRow(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTreeWidgetItem* item = List()->topLevelItem(row);
        ASSERT_NE(item, nullptr);
        List()->scrollToItem(item);
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, modifiers, List()->visualItemRect(item).center());
    }
    // Opens the chooser with the mouse and walks to the entry with the keyboard.
    void Choose(int index) { UiTesting::ChooseEntry(*Chooser(), index); }
    void Press(int id) { QTest::mouseClick(On<QPushButton>(id), Qt::LeftButton); }

    QString Text(int a) const
    {
        return TextCodec(TextCodec::Page::Western).ToText(save.GetAwardTable().GetAwardText(a).value_or("?"));
    }
    static void Hold(SaveGame& s, const std::vector<int>& awards)
    {
        for (const int a : awards)
            s.SetAward(N, a);
    }
};

} // namespace

TEST_F(AwardsPageTest, OffersTheSeventyThreeAwardsAndListsNoneForANewCharacter)
{
    OpenPage();
    ASSERT_NE(Chooser(), nullptr);
    ASSERT_EQ(Chooser()->count(), 73);
    for (int i = 0; i < 73; ++i) {
        EXPECT_EQ(Chooser()->itemData(i).toInt(), i + 1) << i;
        EXPECT_EQ(Chooser()->itemText(i), Text(i + 1)) << i;
    }
    EXPECT_EQ(Chooser()->currentIndex(), 0);
    EXPECT_EQ(Chooser()->currentText(), "Brought Power Stone to Fredrick Talimere");
    EXPECT_EQ(Chooser()->itemText(34), "Arcomage Wins: X");
    EXPECT_EQ(LabelOf(Id::IdChooser), "Awards:");
    EXPECT_EQ(UiTesting::Plain(On<QPushButton>(Id::IdAdd)->text()), "Add");
    EXPECT_EQ(UiTesting::Plain(On<QPushButton>(Id::IdDelete)->text()), "Delete");

    ASSERT_NE(List(), nullptr);
    EXPECT_EQ(List()->topLevelItemCount(), 0);
    EXPECT_EQ(List()->columnCount(), 1);
    EXPECT_EQ(List()->headerItem()->text(0), "Quests");
    EXPECT_EQ(List()->columnWidth(0), Id::QuestsColumnWidth);
    EXPECT_TRUE(List()->header()->isHidden());
    EXPECT_EQ(List()->selectionMode(), QAbstractItemView::ExtendedSelection);
    // The popup shows the longest text whole.
    EXPECT_GE(Chooser()->view()->minimumWidth(), Chooser()->view()->sizeHintForColumn(0));
    EXPECT_TRUE(sheet->Button(QDialogButtonBox::Apply)->isEnabled());
    ExpectNothingClipped();
}

TEST_F(AwardsPageTest, AddsTheChosenAwardOnceAndNeverTouchesTheBitsPastTheLast)
{
    // Bits 74..79 of the last award byte belong to no award.
    PatchFile(LastAwardByte(), "\x15");
    Prepare([](SaveGame& s) { Hold(s, {35}); });
    OpenPage();
    EXPECT_EQ(Rows(), std::vector<int>{35});
    EXPECT_EQ(RowTexts(), QStringList{"Arcomage Wins: X"});

    Choose(72);
    EXPECT_EQ(ChosenAward(), 73);
    Press(Id::IdAdd);
    EXPECT_EQ(Rows(), (std::vector<int>{35, 73}));
    EXPECT_EQ(RowTexts(), QStringList({"Arcomage Wins: X", "Won Arcomage At Miho's Roadhouse in Alvar"}));
    EXPECT_TRUE(Selected().empty());
    // Award 1, chosen from the start of a fresh chooser, and award 73 again: nothing changes.
    Choose(0);
    Press(Id::IdAdd);
    const std::vector<int> held = Held();
    EXPECT_EQ(held, (std::vector<int>{1, 35, 73}));
    ClickRow(2);
    EXPECT_EQ(ChosenAward(), 73);
    Press(Id::IdAdd);
    EXPECT_EQ(Held(), held);
    EXPECT_EQ(Rows(), held);
    EXPECT_TRUE(Selected().empty());

    Click(QDialogButtonBox::Apply);
    const Bytes file = FileBytes();
    EXPECT_EQ(file, Expected([](SaveGame& s) { Hold(s, {1, 73}); }));
    EXPECT_EQ(file.at(SaveBuilder().PartyOffset() + LastAwardByte()), 0x40 | 0x15);
}

TEST_F(AwardsPageTest, TheGamesAwardsAreOfferedByTheirBitAndBitsPastTheLastStayAsTheyAre)
{
    LodBuilder("MMVIII", "language")
        .AddFile("awards.txt", "A Bit\tAward\r\n2\tFirst\r\n4\t \r\n5\tWon X Duels\r\n90\tLast\r\n\r\n")
        .WriteTo(folder / "game" / "Data" / "EnglishT.lod");
    Speak(GameWords::FromGame(GameData::Load(folder / "game"), GameWords::WesternCodePage));
    // Award 89 is bit 0x40 of byte 973; bit 0x01 after it is no award of this game.
    PatchFile(SaveBuilder::CharacterOffset(N, 972), std::string_view("\x00\x41", 2));
    OpenPage();
    QStringList texts;
    std::vector<int> numbers;
    for (int i = 0; i < Chooser()->count(); ++i) {
        texts.append(Chooser()->itemText(i));
        numbers.push_back(Chooser()->itemData(i).toInt());
    }
    EXPECT_EQ(texts, QStringList({"First", "Won X Duels", "Last"}));
    EXPECT_EQ(numbers, (std::vector<int>{1, 4, 89}));
    EXPECT_EQ(Rows(), std::vector<int>{89});
    Choose(1);
    Press(Id::IdAdd);
    EXPECT_EQ(RowTexts(), QStringList({"Won X Duels", "Last"}));
    ClickRow(1);
    Press(Id::IdDelete);
    Click(QDialogButtonBox::Apply);
    const Bytes file = FileBytes();
    EXPECT_EQ(file.at(SaveBuilder().PartyOffset() + SaveBuilder::CharacterOffset(N, 962)) & 0x08, 0x08);
    EXPECT_EQ(file.at(SaveBuilder().PartyOffset() + SaveBuilder::CharacterOffset(N, 973)), 0x01);
}

TEST_F(AwardsPageTest, DeletesEverySelectedRowAndKeepsTheOthers)
{
    Prepare([](SaveGame& s) { Hold(s, {2, 5, 35, 42, 60, 73}); });
    OpenPage();
    ClickRow(1);
    ClickRow(3, Qt::ControlModifier);
    ClickRow(5, Qt::ControlModifier);
    EXPECT_EQ(Selected(), (std::vector<int>{1, 3, 5}));
    Press(Id::IdDelete);
    EXPECT_EQ(Rows(), (std::vector<int>{2, 35, 60}));
    EXPECT_EQ(Held(), (std::vector<int>{2, 35, 60}));
    EXPECT_TRUE(Selected().empty());
    // With no row selected only the list is rebuilt.
    Press(Id::IdDelete);
    EXPECT_EQ(Held(), (std::vector<int>{2, 35, 60}));

    Click(QDialogButtonBox::Ok);
    EXPECT_EQ(FileBytes(), Expected([](SaveGame& s) {
                  for (const int a : {5, 42, 73})
                      s.ClearAward(N, a);
              }));
}

TEST_F(AwardsPageTest, AwardZeroShowsAsAnEmptyRowThatCanBeSelectedAndDeleted)
{
    PatchFile(TranscribedLayout::At("Awards", N), "\x80");
    Prepare([](SaveGame& s) { Hold(s, {7}); });
    OpenPage();
    EXPECT_EQ(Rows(), (std::vector<int>{0, 7}));
    EXPECT_EQ(RowTexts(), QStringList({"", Text(7)}));
    ClickRow(1);
    EXPECT_EQ(ChosenAward(), 7);
    // The empty text begins every entry: the search starts at the second.
    ClickRow(0);
    EXPECT_EQ(Selected(), std::vector<int>{0});
    EXPECT_EQ(Chooser()->currentIndex(), 1);
    EXPECT_EQ(ChosenAward(), 2);
    Press(Id::IdDelete);
    EXPECT_EQ(Rows(), std::vector<int>{7});
    EXPECT_EQ(save.GetAward(N, 0), 0);
    Click(QDialogButtonBox::Apply);
    EXPECT_EQ(FileBytes(), Expected([](SaveGame& s) { s.ClearAward(N, 0); }));
}

TEST_F(AwardsPageTest, TheChooserFollowsTheFirstSelectedRow)
{
    std::vector<int> all;
    for (int a = 1; a <= 73; ++a)
        all.push_back(a);
    Prepare([&](SaveGame& s) { Hold(s, all); });
    OpenPage();
    ASSERT_EQ(Rows(), all);
    // Each text finds its own entry, the first one included.
    for (int row = 72; row >= 0; --row) {
        ClickRow(row);
        EXPECT_EQ(ChosenAward(), row + 1) << row;
    }
    // Several rows: the first in row order counts, whatever the order of the clicks.
    ClickRow(41);
    ClickRow(4, Qt::ControlModifier);
    EXPECT_EQ(ChosenAward(), 5);
    ClickRow(4, Qt::ControlModifier);
    EXPECT_EQ(ChosenAward(), 42);
    ClickRow(41, Qt::ControlModifier);
    ASSERT_TRUE(Selected().empty());
    // No row selected: the chooser stays as it was.
    EXPECT_EQ(ChosenAward(), 42);
}

TEST_F(AwardsPageTest, ChangesLiveInTheModelUntilTheSheetIsCancelled)
{
    Prepare([](SaveGame& s) { Hold(s, {3}); });
    OpenPage();
    Choose(9);
    Press(Id::IdAdd);
    Leave();
    EXPECT_EQ(sheet->CurrentIndex(), StatsTab);
    EXPECT_EQ(Held(), (std::vector<int>{3, 10}));
    // Activation rebuilds the list from the model.
    save.ClearAward(N, 3);
    save.SetAward(N, 20);
    Return();
    EXPECT_EQ(Rows(), (std::vector<int>{10, 20}));
    EXPECT_TRUE(sheet->Button(QDialogButtonBox::Apply)->isEnabled());
    Click(QDialogButtonBox::Cancel);
    EXPECT_EQ(FileBytes(), opened);
    EXPECT_EQ(Held(), (std::vector<int>{3})) << "Cancel puts the character back as it was at open";
}

TEST_F(AwardsPageTest, TypingFiltersTheAwardsAndAddsThePickedOne)
{
    OpenPage();
    // A text naming no award: Add by its letter says so; leaving the box puts the chosen one back.
    UiTesting::TypeOver(*Chooser(), "zzz");
    QTest::keyClick(Chooser(), Qt::Key_A, Qt::AltModifier);
    QTest::qWait(300);
    EXPECT_EQ(messages.Shown(), QStringList{CVelkarPage5::NoAwardMessage});
    EXPECT_TRUE(Held().empty());
    UiTesting::ShowActive(*sheet); // the offscreen platform leaves the closed popup active
    QTest::mouseClick(List()->viewport(), Qt::LeftButton);
    EXPECT_EQ(Chooser()->currentText(), Chooser()->itemText(0));

    const QStringList offered = UiTesting::Offered(*Chooser(), "arena vic");
    ASSERT_FALSE(offered.isEmpty());
    QAbstractItemView* popup = Chooser()->completer()->popup();
    for (const QString& text : offered)
        EXPECT_TRUE(text.contains("Arena Victories", Qt::CaseInsensitive)) << text.toStdString();
    QTest::keyClick(popup, Qt::Key_Down);
    QTest::keyClick(popup, Qt::Key_Return);
    EXPECT_EQ(Chooser()->currentText(), offered.front());
    Press(Id::IdAdd);
    ASSERT_EQ(Held().size(), 1u);
    EXPECT_EQ(Text(Held().front()), offered.front());
}
