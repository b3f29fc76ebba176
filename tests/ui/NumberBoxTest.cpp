#include "ui/NumberBox.h"

#include "tests/ui/UiTesting.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <string_view>

namespace {

struct NumberBoxTest : ::testing::Test {
    NumberBox digits{NumberBox::Keys::Digits};
    NumberBox sign{NumberBox::Keys::DigitsAndSign};

    void SetUp() override
    {
        digits.SetRange(-16383, 16383);
        sign.SetRange(-10, 10);
    }
};

} // namespace

TEST_F(NumberBoxTest, TheKeyFilterLetsOnlyDigitsThrough)
{
    QTest::keyClicks(&digits, "1a-2 +3.x");
    EXPECT_EQ(digits.Text(), "123");
    QTest::keyClicks(&sign, "-4a+");
    EXPECT_EQ(sign.Text(), "-4+");
}

TEST_F(NumberBoxTest, TypedValuesAreNotLimitedByTheRange)
{
    QTest::keyClicks(&digits, "40000");
    EXPECT_EQ(digits.Text(), "40000");
}

TEST_F(NumberBoxTest, AStepMovesByOneStopsAtTheEdgesAndNeverJumps)
{
    // Up or Down on the box with the range -16383..16383.
    struct Case {
        const char* text;
        Qt::Key key;
        const char* after;
    };
    const Case cases[] = {
        {"16382", Qt::Key_Up, "16383"},
        {"16383", Qt::Key_Up, "16383"},
        {"16383", Qt::Key_Down, "16382"},
        {"-16383", Qt::Key_Down, "-16383"},
        {"502710", Qt::Key_Up, "502711"},
        {"40000", Qt::Key_Down, "39999"},
        {"-20000", Qt::Key_Up, "-19999"},
        {"2147483647", Qt::Key_Up, "2147483647"},
        {"-2147483648", Qt::Key_Down, "-2147483648"},
        {"2147483648", Qt::Key_Down, "2147483648"},
        {"99999999999999999999", Qt::Key_Up, "99999999999999999999"},
        {"", Qt::Key_Up, ""},
        {"12", Qt::Key_PageUp, "12"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        QSignalSpy edited(&digits, &NumberBox::TextEdited);
        digits.SetText(QString::fromLatin1(c.text));
        QTest::keyClick(&digits, c.key);
        EXPECT_EQ(digits.Text(), QString::fromLatin1(c.after));
        EXPECT_EQ(edited.count(), std::string_view(c.text) == c.after ? 0 : 1);
    }
}

TEST_F(NumberBoxTest, TheUpDownButtonsStep)
{
    UiTesting::ShowActive(sign);
    sign.SetText("0");
    // The up arrow is in the upper right corner, the down arrow in the lower one.
    const QPoint up(sign.width() - 6, sign.height() / 4);
    const QPoint down(sign.width() - 6, sign.height() * 3 / 4);
    QTest::mouseClick(&sign, Qt::LeftButton, Qt::NoModifier, up);
    EXPECT_EQ(sign.Text(), "1");
    QTest::mouseClick(&sign, Qt::LeftButton, Qt::NoModifier, down);
    QTest::mouseClick(&sign, Qt::LeftButton, Qt::NoModifier, down);
    EXPECT_EQ(sign.Text(), "-1");
}

TEST(NumberBoxWithoutRange, NeverStepsSoNoValueIsLost)
{
    // Exp. has no up-down: an arrow key or the wheel used to clamp it to 0..0.
    NumberBox experience;
    experience.SetText("123456");
    QTest::keyClick(&experience, Qt::Key_Down);
    QTest::keyClick(&experience, Qt::Key_Up);
    QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&experience, &wheel);
    EXPECT_EQ(experience.Text(), "123456");
}
