#include "ui/MultiLineBox.h"
#include "text/TextCodec.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
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
    box.SetMaxLength(11);
    box.SetText("ab\rcd\nef");
    EXPECT_EQ(box.Text(), "ab\rcd\nef");
    box.moveCursor(QTextCursor::End);
    QTest::keyClicks(&box, "g");
    EXPECT_EQ(box.Text(), "ab\r\ncd\r\nefg") << "an edited text takes the saved game's line breaks";
}

TEST(MultiLineBox, ItsLimitIsInBytesOfTheGamesCodePageAndTakesWholeCharacters)
{
    using Page = TextCodec::Page;
    enum class How { Typed, Pasted, Committed }; // the last: by an input method
    struct Case {
        Page page;
        int maxBytes;
        const char* loaded;
        How how;
        const char* input;
        const char* expected;
    };
    const Case cases[] = {
        {Page::ChineseSimplified, 5, "", How::Typed, "\u957F\u5251\u957Fa", "\u957F\u5251a"},
        {Page::ChineseSimplified, 5, "", How::Pasted, "\u957F\u5251\u957Fa", "\u957F\u5251"},
        {Page::ChineseSimplified, 5, "a", How::Committed, "\u957F\u5251\u957F", "a\u957F\u5251"},
        {Page::ChineseFan, 12, "\u957F", How::Pasted,
         "a\u957F"
         "b",
         "\u957F"
         "a"},
        {Page::ChineseFan, 12, "\u957F", How::Typed, "\u5251a", "\u957F\u5251"},
        {Page::Western, 3, "ab", How::Committed, "cd", "abc"},
    };
    for (const Case& c : cases) {
        MultiLineBox box;
        box.SetCodec(TextCodec(c.page));
        box.SetMaxLength(c.maxBytes);
        box.SetText(QString::fromUtf8(c.loaded));
        box.moveCursor(QTextCursor::End);
        const QString input = QString::fromUtf8(c.input);
        if (c.how == How::Typed) {
            UiTesting::TypeText(box, input);
        } else if (c.how == How::Pasted) {
            QApplication::clipboard()->setText(input);
            box.paste();
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(input);
            QApplication::sendEvent(&box, &commit);
        }
        EXPECT_EQ(box.Text(), QString::fromUtf8(c.expected)) << c.input;
    }
}
