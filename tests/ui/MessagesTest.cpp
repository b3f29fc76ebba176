#include "ui/Messages.h"
#include "tests/ui/MessageRecorder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "tests/ui/UiTesting.h"

#include <gtest/gtest.h>

TEST(Messages, FieldCheckTextsAreFixed)
{
    EXPECT_EQ(Messages::NotAnInteger(), "Please enter an integer.");
    EXPECT_EQ(Messages::NotAPositiveInteger(), "Please enter a positive integer.");
    EXPECT_EQ(Messages::NotBetween(-3, 63), "Please enter an integer between -3 and 63.");
    EXPECT_EQ(Messages::TooLong(31), "Please enter no more than 31 characters.");
}

TEST(Messages, RecordersNestAndRestoreTheirPredecessor)
{
    MessageRecorder outer;
    {
        MessageRecorder inner;
        Messages::Warning("first");
        EXPECT_EQ(inner.Shown(), QStringList{"first"});
    }
    Messages::Warning("second");
    EXPECT_EQ(outer.Shown(), QStringList{"second"});
}

TEST(Messages, WithoutASinkAWarningBoxWithOneOkButtonIsShown)
{
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    qsizetype buttons = 0;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->buttons().size();
        box->button(QMessageBox::Ok)->click();
    });
    Messages::Warning("Inventory Full.");
    EXPECT_EQ(title, "Velkar");
    EXPECT_EQ(text, "Inventory Full.");
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_EQ(buttons, 1);
}

TEST(Messages, AQuestionBoxAnswersWithTheButtonClickedAndDefaultsToNo)
{
    for (const auto button : {QMessageBox::Yes, QMessageBox::No}) {
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->windowTitle(), "Velkar");
            EXPECT_EQ(box->buttons().size(), 2);
            defaultButton = box->standardButton(box->defaultButton());
            box->button(button)->click();
        });
        EXPECT_EQ(Messages::Question("Replace?"), button == QMessageBox::Yes);
        EXPECT_EQ(defaultButton, QMessageBox::No);
    }
    MessageRecorder recorder;
    recorder.Answer(true);
    EXPECT_TRUE(Messages::Question("Replace?"));
    EXPECT_EQ(recorder.Asked(), QStringList{"Replace?"});
}
