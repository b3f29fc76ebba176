#include "ui/PropertySheet.h"
#include "tests/ui/MessageRecorder.h"
#include "ui/NumberBox.h"
#include "ui/PropertyPage.h"

#include "tests/ui/UiTesting.h"

#include "model/FileError.h"

#include <QPushButton>
#include <QShowEvent>
#include <QTabBar>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

namespace {

// A page that logs what the sheet asks of it; its one box must hold a number to be left.
class LoggingPage : public PropertyPage {
public:
    LoggingPage(const QString& title, std::vector<std::string>& log) : PropertyPage(title), log_(log) {}

    bool failApply = false;

protected:
    void OnCreate() override
    {
        Log("create");
        auto* box = new NumberBox;
        box->setObjectName("100");
        box->SetText("1");
        (new QVBoxLayout(this))->addWidget(box);
    }
    void showEvent(QShowEvent* event) override
    {
        if (!shown_)
            Log("shown");
        shown_ = true;
        PropertyPage::showEvent(event);
    }
    void OnSetActive() override
    {
        Log("activate");
        SetModified();
    }
    bool OnKillActive() override
    {
        Log("leave");
        return !Control<NumberBox>(100)->Text().isEmpty();
    }
    void OnApply() override
    {
        Log("apply");
        if (failApply)
            throw FileError::FromSystemCode(EFBIG, "/tmp/save000.dod");
    }

private:
    void Log(const char* what) { log_.push_back(Title().toStdString() + " " + what); }

    std::vector<std::string>& log_;
    bool shown_ = false;
};

struct PropertySheetTest : ::testing::Test {
    std::vector<std::string> log;
    PropertySheet sheet{"save000.dod"};
    LoggingPage first{"First", log};
    LoggingPage second{"Second", log};
    LoggingPage third{"Third", log};
    MessageRecorder messages;
    std::vector<std::string> opening; // what the sheet asked of its pages until idle

    void SetUp() override
    {
        sheet.AddPage(first);
        sheet.AddPage(second);
        sheet.AddPage(third);
        UiTesting::ShowActive(sheet);
        ASSERT_TRUE(QTest::qWaitFor([&] { return third.IsCreated(); }));
        opening = log;
        log.clear();
    }

    QPushButton* Apply() const { return sheet.Button(QDialogButtonBox::Apply); }
    void Click(QDialogButtonBox::StandardButton which) { QTest::mouseClick(sheet.Button(which), Qt::LeftButton); }
    void Tab(int index) { UiTesting::ClickTab(*sheet.TabBar(), index); }
    void Empty(LoggingPage& page) { page.Control<NumberBox>(100)->SetText(""); }
    using Log = std::vector<std::string>;
};

} // namespace

TEST_F(PropertySheetTest, OpensOnTheFirstTabAndBuildsTheOthersInIdleTimeWithoutActivatingThem)
{
    EXPECT_EQ(sheet.windowTitle(), "save000.dod");
    EXPECT_EQ(sheet.TabBar()->count(), 3);
    EXPECT_EQ(sheet.TabBar()->tabText(2), "Third");
    // Each page built ahead of its tab is shown once out of sight, and hidden again.
    EXPECT_EQ(opening, (Log{"First shown", "First create", "First activate", "Second create", "Second shown",
                            "Third create", "Third shown"}));
    EXPECT_FALSE(second.WasActivated());
    EXPECT_TRUE(first.isVisible());
    EXPECT_FALSE(second.isVisible());
    EXPECT_FALSE(third.isVisible());
    EXPECT_TRUE(Apply()->isEnabled());
}

TEST_F(PropertySheetTest, ATabChangeLeavesTheOldPageAndActivatesTheNewOne)
{
    Tab(1);
    Tab(0);
    Tab(1);
    EXPECT_EQ(sheet.CurrentIndex(), 1);
    EXPECT_EQ(log, (Log{"First leave", "Second activate", "Second leave", "First activate", "First leave",
                        "Second activate"}));
}

TEST_F(PropertySheetTest, ARefusedDeactivationKeepsTheTab)
{
    Empty(first);
    log.clear();
    Tab(2);
    EXPECT_EQ(sheet.CurrentIndex(), 0);
    EXPECT_EQ(sheet.TabBar()->currentIndex(), 0);
    EXPECT_TRUE(first.isVisible());
    EXPECT_FALSE(third.WasActivated());
    EXPECT_EQ(log, Log{"First leave"});
}

TEST_F(PropertySheetTest, OkLeavesTheCurrentPageThenAppliesEveryActivatedPageAndCloses)
{
    Tab(1);
    log.clear();
    Click(QDialogButtonBox::Ok);
    // Third was built in idle time but never shown: it is not applied.
    EXPECT_EQ(log, (Log{"Second leave", "First apply", "Second apply"}));
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
}

TEST_F(PropertySheetTest, OkGoesNoFurtherWhenThePageRefusesToBeLeft)
{
    Empty(first);
    log.clear();
    Click(QDialogButtonBox::Ok);
    EXPECT_EQ(log, Log{"First leave"});
    EXPECT_TRUE(sheet.isVisible());
}

TEST_F(PropertySheetTest, ApplyStaysOpenAndIsDisabledUntilATabIsActivated)
{
    log.clear();
    Click(QDialogButtonBox::Apply);
    EXPECT_EQ(log, (Log{"First leave", "First apply"}));
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_FALSE(Apply()->isEnabled());
    Click(QDialogButtonBox::Apply);
    EXPECT_EQ(log.size(), 2u);
    Tab(1);
    EXPECT_TRUE(Apply()->isEnabled());
}

TEST_F(PropertySheetTest, AFileErrorAtApplyIsShownAndTheSheetCarriesOn)
{
    first.failApply = true;
    Click(QDialogButtonBox::Ok);
    ASSERT_EQ(messages.Shown().size(), 1);
    EXPECT_TRUE(messages.Shown().front().endsWith("/tmp/save000.dod"));
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_TRUE(Apply()->isEnabled());
    first.failApply = false;
    Click(QDialogButtonBox::Ok);
    EXPECT_FALSE(sheet.isVisible());
}

TEST_F(PropertySheetTest, CancelAndEscapeCloseWithoutLeavingOrApplying)
{
    log.clear();
    Click(QDialogButtonBox::Cancel);
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_EQ(sheet.result(), QDialog::Rejected);
    UiTesting::ShowActive(sheet);
    QTest::keyClick(&sheet, Qt::Key_Escape);
    EXPECT_FALSE(sheet.isVisible());
    sheet.show();
    sheet.close();
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_TRUE(log.empty());
}
