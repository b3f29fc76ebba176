#include "ui/MultiLineBox.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>

#include "tests/ui/UiTesting.h"

#include <gtest/gtest.h>

TEST(MultiLineBox, ExchangesTextWithStoredLineBreaks)
{
    MultiLineBox box;
    box.SetText("one\r\ntwo");
    EXPECT_EQ(box.blockCount(), 2);
    EXPECT_EQ(box.toPlainText(), "one\ntwo");
    EXPECT_EQ(box.Text(), "one\r\ntwo");
}

TEST(MultiLineBox, EnterStartsANewLine)
{
    MultiLineBox box;
    QTest::keyClicks(&box, "ab");
    QTest::keyClick(&box, Qt::Key_Return);
    QTest::keyClicks(&box, "c");
    EXPECT_EQ(box.Text(), "ab\r\nc");
}

TEST(MultiLineBox, RefusesTypingBeyondItsLimit)
{
    MultiLineBox box;
    box.SetMaxLength(5);
    QTest::keyClicks(&box, "abcdefg");
    EXPECT_EQ(box.Text(), "abcde");
    box.SetText("abcd");
    box.moveCursor(QTextCursor::End);
    // A line break takes two of the five characters.
    QTest::keyClick(&box, Qt::Key_Return);
    EXPECT_EQ(box.Text(), "abcd");
    box.selectAll();
    QTest::keyClicks(&box, "xy");
    EXPECT_EQ(box.Text(), "xy");
}

TEST(MultiLineBox, PastingKeepsWhatFits)
{
    MultiLineBox box;
    box.SetMaxLength(6);
    box.SetText("ab");
    box.moveCursor(QTextCursor::End);
    QApplication::clipboard()->setText("c\nde");
    box.paste();
    EXPECT_EQ(box.Text(), "abc\r\nd");
}

TEST(MultiLineBox, AnUntouchedTextGoesBackByteForByte)
{
    // Saves may hold lone CRs and LFs; rewriting them as CRLF would change bytes the user
    // never touched, and could push a full description past its limit.
    MultiLineBox box;
    box.SetMaxLength(9);
    box.SetText("ab\rcd\nef");
    EXPECT_EQ(box.Text(), "ab\rcd\nef");
    box.moveCursor(QTextCursor::End);
    QTest::keyClicks(&box, "g");
    EXPECT_EQ(box.Text(), "ab\r\ncd\r\nefg") << "an edited text takes the saved game's line breaks";
}
