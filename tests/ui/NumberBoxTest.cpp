#include "ui/NumberBox.h"

#include "UiTesting.h"

#include <QApplication>
#include <QSignalSpy>
#include <QWheelEvent>
#include <QTest>

#include <gtest/gtest.h>

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

TEST_F(NumberBoxTest, ArrowKeysStepByOneInsideTheRange)
{
    QSignalSpy edited(&digits, &NumberBox::TextEdited);
    digits.SetText("16382");
    QTest::keyClick(&digits, Qt::Key_Up);
    EXPECT_EQ(digits.Text(), "16383");
    QTest::keyClick(&digits, Qt::Key_Up);
    EXPECT_EQ(digits.Text(), "16383");
    QTest::keyClick(&digits, Qt::Key_Down);
    EXPECT_EQ(digits.Text(), "16382");
    EXPECT_EQ(edited.count(), 3);
    QTest::keyClick(&digits, Qt::Key_PageUp);
    EXPECT_EQ(digits.Text(), "16382");
}

TEST_F(NumberBoxTest, StepsFromAValueOutsideTheRangeLandInsideIt)
{
    digits.SetText("40000");
    QTest::keyClick(&digits, Qt::Key_Down);
    EXPECT_EQ(digits.Text(), "16383");
    sign.SetText("-99");
    sign.stepBy(1);
    EXPECT_EQ(sign.Text(), "-10");
}

TEST_F(NumberBoxTest, StepsFromTextThatIsNoNumberStartAtZero)
{
    digits.SetText("");
    digits.stepBy(1);
    EXPECT_EQ(digits.Text(), "1");
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
