#include "ui/DataExchange.h"
#include "tests/ui/MessageRecorder.h"
#include "text/TextCodec.h"
#include "ui/MultiLineBox.h"
#include "ui/NumberBox.h"

#include "tests/ui/UiTesting.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

// A small dialog with one control of each kind the exchange knows, in this exchange order.
struct DataExchangeTest : ::testing::Test {
    QWidget dialog;
    DataExchange exchange{dialog};
    int first = 1;
    int level = 2;
    int days = 3;
    QString name = "Ariel";
    int choice = 1;
    int flag = 1;
    int last = 4;
    QString notes = "one\r\ntwo";
    MessageRecorder messages;

    template <class T>
    T* Add(T* control, int id)
    {
        control->setObjectName(QString::number(id));
        dialog.layout()->addWidget(control);
        return control;
    }

    NumberBox* Box(int id) { return dialog.findChild<NumberBox*>(QString::number(id)); }

    void SetUp() override
    {
        new QVBoxLayout(&dialog);
        Add(new NumberBox(NumberBox::Keys::DigitsAndSign), 10);
        Add(new NumberBox, 11);
        Add(new NumberBox, 12);
        auto* line = Add(new QLineEdit, 13);
        line->setMaxLength(10);
        auto* list = Add(new QComboBox, 14);
        list->addItems({"zero", "one", "two"});
        Add(new QCheckBox("Flag"), 15);
        Add(new NumberBox(NumberBox::Keys::DigitsAndSign), 16);
        Add(new MultiLineBox, 17);
        exchange.SetBindings({
            DataExchange::Integer(10, first),
            DataExchange::Range(11, level, 0, 63),
            DataExchange::Positive(12, days),
            DataExchange::GameText(13, name, 5, "name"),
            DataExchange::Choice(14, choice),
            DataExchange::Choice(15, flag),
            DataExchange::Integer(16, last),
            DataExchange::Text(17, notes),
        });
        exchange.Show();
        UiTesting::ShowActive(dialog);
    }

    void Retype(int id, const QString& text)
    {
        Box(id)->selectAll();
        QTest::keyClick(Box(id), Qt::Key_Delete);
        QTest::keyClicks(Box(id), text);
    }
};

} // namespace

TEST_F(DataExchangeTest, ShowPutsEveryMemberIntoItsControl)
{
    EXPECT_EQ(Box(10)->Text(), "1");
    EXPECT_EQ(Box(11)->Text(), "2");
    EXPECT_EQ(dialog.findChild<QLineEdit*>("13")->text(), "Ariel");
    EXPECT_EQ(dialog.findChild<QComboBox*>("14")->currentIndex(), 1);
    EXPECT_TRUE(dialog.findChild<QCheckBox*>("15")->isChecked());
    EXPECT_EQ(dialog.findChild<MultiLineBox*>("17")->toPlainText(), "one\ntwo");
}

TEST_F(DataExchangeTest, ShowRaisesNoChangeNotifications)
{
    QSignalSpy listChanged(dialog.findChild<QComboBox*>("14"), &QComboBox::currentIndexChanged);
    QSignalSpy lineChanged(dialog.findChild<QLineEdit*>("13"), &QLineEdit::textChanged);
    choice = 2;
    name = "Bran";
    exchange.Show();
    EXPECT_EQ(dialog.findChild<QComboBox*>("14")->currentIndex(), 2);
    EXPECT_EQ(listChanged.count(), 0);
    EXPECT_EQ(lineChanged.count(), 0);
}

TEST_F(DataExchangeTest, ReadTakesEveryControlIntoItsMember)
{
    Retype(10, "-7");
    Retype(11, "63");
    dialog.findChild<QLineEdit*>("13")->selectAll();
    QTest::keyClicks(dialog.findChild<QLineEdit*>("13"), "Bran");
    dialog.findChild<QComboBox*>("14")->setCurrentIndex(0);
    auto* flagBox = dialog.findChild<QCheckBox*>("15");
    QTest::mouseClick(flagBox, Qt::LeftButton, Qt::NoModifier, QPoint(6, flagBox->height() / 2));
    auto* notesBox = dialog.findChild<MultiLineBox*>("17");
    notesBox->moveCursor(QTextCursor::End);
    QTest::keyClick(notesBox, Qt::Key_Return);
    EXPECT_TRUE(exchange.Read());
    EXPECT_EQ(first, -7);
    EXPECT_EQ(level, 63);
    EXPECT_EQ(name, "Bran");
    EXPECT_EQ(choice, 0);
    EXPECT_EQ(flag, 0);
    EXPECT_EQ(notes, "one\r\ntwo\r\n");
    EXPECT_TRUE(messages.Shown().isEmpty());
}

TEST_F(DataExchangeTest, TextThatIsNoNumberStopsTheReadingAndKeepsTheOldValue)
{
    Retype(10, "5");
    Retype(11, "");
    Retype(16, "9");
    EXPECT_FALSE(exchange.Read());
    EXPECT_EQ(messages.Shown(), QStringList{"Please enter an integer."});
    EXPECT_EQ(first, 5);
    EXPECT_EQ(level, 2);
    EXPECT_EQ(last, 4);
    EXPECT_TRUE(Box(11)->hasFocus());
}

TEST_F(DataExchangeTest, ARangeFailureKeepsTheNewValueAndSelectsTheText)
{
    Retype(11, "64");
    Retype(16, "9");
    EXPECT_FALSE(exchange.Read());
    EXPECT_EQ(messages.Shown(), QStringList{"Please enter an integer between 0 and 63."});
    EXPECT_EQ(level, 64);
    EXPECT_EQ(last, 4);
    EXPECT_TRUE(Box(11)->hasFocus());
    EXPECT_EQ(Box(11)->findChild<QLineEdit*>()->selectedText(), "64");
}

TEST_F(DataExchangeTest, APositiveFieldRefusesASignAndEmptiness)
{
    dialog.findChild<NumberBox*>("12")->SetText("-1");
    EXPECT_FALSE(exchange.Read());
    dialog.findChild<NumberBox*>("12")->SetText("");
    EXPECT_FALSE(exchange.Read());
    EXPECT_EQ(messages.Shown(), QStringList({"Please enter a positive integer.", "Please enter a positive integer."}));
    EXPECT_EQ(days, 3);
}

TEST_F(DataExchangeTest, NumbersOutsideThirtyTwoBitsAreNoIntegers)
{
    Retype(10, "2147483648");
    EXPECT_FALSE(exchange.Read());
    Retype(10, "-2147483648");
    EXPECT_TRUE(exchange.Read());
    EXPECT_EQ(first, -2147483647 - 1);
    EXPECT_EQ(messages.Shown(), QStringList{"Please enter an integer."});
}

TEST_F(DataExchangeTest, ALengthFailureKeepsTheNewText)
{
    dialog.findChild<QLineEdit*>("13")->setText("Aurelian");
    EXPECT_FALSE(exchange.Read());
    EXPECT_EQ(messages.Shown(), QStringList{"Please enter no more than 5 characters."});
    EXPECT_EQ(name, "Aurelian");
    EXPECT_TRUE(dialog.findChild<QLineEdit*>("13")->hasFocus());
    EXPECT_EQ(dialog.findChild<QLineEdit*>("13")->selectedText(), "Aurelian");
}

TEST_F(DataExchangeTest, AListWithoutSelectionLeavesItsMember)
{
    choice = 7;
    exchange.Show();
    EXPECT_EQ(dialog.findChild<QComboBox*>("14")->currentIndex(), -1);
    EXPECT_TRUE(exchange.Read());
    EXPECT_EQ(choice, 7);
}

TEST_F(DataExchangeTest, RecheckDropsTheSecondIdenticalMessage)
{
    Retype(11, "");
    EXPECT_FALSE(exchange.Read());
    Box(10)->setFocus();
    EXPECT_FALSE(exchange.Recheck());
    EXPECT_EQ(messages.Shown().size(), 1);
    EXPECT_TRUE(Box(11)->hasFocus());
    // A different failure is news and is shown.
    Retype(11, "1");
    Retype(12, "");
    EXPECT_FALSE(exchange.Recheck());
    EXPECT_EQ(messages.Shown().size(), 2);
}

TEST_F(DataExchangeTest, ReadAfterAFailureShowsTheMessageAgain)
{
    Retype(11, "");
    EXPECT_FALSE(exchange.Read());
    EXPECT_FALSE(exchange.Read());
    EXPECT_EQ(messages.Shown().size(), 2);
}

TEST_F(DataExchangeTest, ABindingWithoutItsControlIsAFaultOfTheProgram)
{
    int orphan = 0;
    exchange.SetBindings({DataExchange::Integer(10, first), DataExchange::Integer(99, orphan)});
    EXPECT_THROW(exchange.Show(), std::logic_error);
    EXPECT_THROW(exchange.Read(), std::logic_error);
}

TEST_F(DataExchangeTest, AskingAboutAnIdWithoutBindingIsAFaultOfTheProgram)
{
    EXPECT_NO_THROW(exchange.SetSkipped(10, true));
    EXPECT_THROW(exchange.Changed(99), std::logic_error);
    EXPECT_THROW(exchange.SetSkipped(99, true), std::logic_error);
}

TEST(DataExchangeGameText, CountsBytesOfTheGamesCodePageAndNamesWhatItCannotStore)
{
    using Page = TextCodec::Page;
    struct Case {
        Page page;
        const char* text;    // UTF-8; limit 5 bytes
        const char* message; // empty: stored
    };
    const Case cases[] = {
        {Page::Western, "Aurel", ""},
        {Page::Western, "Aurelian", "Please enter no more than 5 characters."},
        {Page::Cyrillic, "\u0416\u0430\u043D\u043D\u0430", ""},
        {Page::Cyrillic, "\u03A9\u0416\u03A9", "The name contains characters the game cannot store: \u03A9"},
        {Page::ChineseSimplified, "\u957F\u5251a", ""},
        {Page::ChineseSimplified, "\u957F\u5251\u957F",
         "The name takes 6 bytes in the game's code page; at most 5 fit."},
        {Page::ChineseFan, "\u957F", "The name takes 7 bytes in the game's code page; at most 5 fit."},
    };
    MessageRecorder messages;
    for (const Case& c : cases) {
        QWidget dialog;
        auto* edit = new QLineEdit(&dialog);
        edit->setObjectName("13");
        QString name = "Ariel";
        DataExchange exchange(dialog);
        exchange.SetCodec(TextCodec(c.page));
        exchange.SetBindings({DataExchange::GameText(13, name, 5, "name")});
        exchange.Show();
        edit->setText(QString::fromUtf8(c.text));
        messages.Clear();
        EXPECT_EQ(exchange.Read(), *c.message == '\0') << c.text;
        EXPECT_EQ(messages.Shown().join(""), QString::fromUtf8(c.message));
        EXPECT_EQ(name, QString::fromUtf8(c.text)) << "the member holds the new text either way";
    }
}
