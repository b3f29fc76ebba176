#include "tests/dialogs/PartyDialogFixture.h"
#include "tests/support/TranscribedLayout.h"

#include "tests/dialogs/ExchangeOrderCheck.h"

#include "dialogs/CVelkarPage1.h"
#include "ui/NumberBox.h"

#include "model/FileError.h"
#include "model/MessageSink.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/ui/UiTesting.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <fstream>
#include <tuple>

using Id = PartyDialog;

namespace {

class PartyDialogTest : public PartyDialogFixture {
protected:
    // The twelve-hour clock and the date as the dialog shows them.
    QStringList Clock() const
    {
        return {Text(Id::IdHour), Text(Id::IdMinute),      ChosenText(Id::IdAmPm),
                Text(Id::IdDay),  ChosenText(Id::IdMonth), Text(Id::IdYear)};
    }

    QTreeWidget* Characters() const { return Control<QTreeWidget>(Id::IdCharacters); }

    QPoint RowCenter(int n) const { return Characters()->visualItemRect(Characters()->topLevelItem(n - 1)).center(); }

    // Runs the action on the modal character sheet, if one comes up, then closes it.
    static void OnSheet(const std::function<void(CVelkarSheet&)>& action)
    {
        QTimer::singleShot(0, [action] {
            auto* sheet = qobject_cast<CVelkarSheet*>(QApplication::activeModalWidget());
            if (sheet == nullptr)
                return;
            action(*sheet);
            if (sheet->isVisible())
                sheet->reject();
        });
    }
};

} // namespace

TEST_F(PartyDialogTest, OpeningShowsThePartyTheClockAndTheCharacters)
{
    PatchFile(TranscribedLayout::At("Name", 5), std::string(1, '\0'));
    OpenDialog();
    EXPECT_EQ(dialog->windowTitle(), "save003.dod");
    EXPECT_EQ(QStringList({Text(Id::IdFood), Text(Id::IdGold), Text(Id::IdBank)}), QStringList({"14", "2750", "500"}));
    EXPECT_EQ(Clock(), QStringList({"9", "30", "AM", "12", "Apr", "1173"}));
    EXPECT_EQ(QStringList({Text(1159), Text(1165), ChosenText(Id::IdSkill), ChosenText(Id::IdCaster)}),
              QStringList({"0", "0", "None", "None"}));
    for (int k = 0; k < 5; ++k) // the roster holds characters 1 to 4
        EXPECT_EQ(Chosen(Id::IdMember1 + k), k < 4 ? k + 1 : 0) << k;

    ASSERT_EQ(Characters()->topLevelItemCount(), 50);
    EXPECT_EQ(Characters()->topLevelItem(0)->text(0), "Ariel");
    EXPECT_EQ(Characters()->topLevelItem(4)->text(0), "");
    EXPECT_EQ(Characters()->columnWidth(0), 120);
    EXPECT_EQ(UiTesting::Plain(UiTesting::LabelOf(*dialog, Control<QWidget>(1163))->text()), "Mins:");
    EXPECT_EQ(std::tuple(Control<NumberBox>(Id::IdYear)->Minimum(), Control<NumberBox>(Id::IdYear)->Maximum()),
              std::tuple(1168, 16383));
    for (const int id : {int{Id::IdCaster}, Id::IdMember1 + 2}) {
        const auto* list = Control<QComboBox>(id);
        ASSERT_EQ(list->count(), 51) << id;
        EXPECT_EQ(QStringList({list->itemText(0), list->itemText(5), list->itemText(50)}),
                  QStringList({"None", "", "Zarek"}));
    }
}

TEST_F(PartyDialogTest, OpenReportsWhatIsNoSavedGameAndThrowsForAMissingFile)
{
    std::vector<std::string> shown;
    const MessageSink::Handler previous =
        MessageSink::Install([&](std::string_view text) { shown.emplace_back(text); });
    std::ofstream(folder / "save004.dod") << "not a container";
    PartyDialog notASave(folder / "save004.dod");
    EXPECT_FALSE(notASave.Open());
    EXPECT_EQ(shown, std::vector<std::string>{"Invalid save game file."});
    MessageSink::Install(previous);

    PartyDialog missing(folder / "save005.dod");
    EXPECT_EQ(missing.windowTitle(), "save005.dod");
    EXPECT_THROW(missing.Open(), FileError);
}

TEST_F(PartyDialogTest, TheStoredHourShowsOnATwelveHourClock)
{
    const std::vector<std::pair<GameTime, QStringList>> cases = {
        {{0, 0, 0, 0, 1172}, {"12", "0", "AM", "1", "Jan", "1172"}},
        {{12, 5, 3, 1, 1180}, {"12", "5", "PM", "4", "Feb", "1180"}},
        {{13, 59, 27, 11, 1180}, {"1", "59", "PM", "28", "Dec", "1180"}},
        {{23, 0, 0, 0, 1180}, {"11", "0", "PM", "1", "Jan", "1180"}},
    };
    for (const auto& [stored, shown] : cases) {
        Prepare([&](SaveGame& s) { s.SetTime(stored); });
        OpenDialog();
        EXPECT_EQ(Clock(), shown);
    }
}

TEST_F(PartyDialogTest, LeavingADateFieldStoresTheTwentyFourHourClockAndShowsItBack)
{
    // typed hour, AM/PM position, stored hour, hour shown afterwards
    const std::vector<std::tuple<QString, int, int, QString>> cases = {
        {"12", 0, 0, "12"}, {"12", 1, 12, "12"}, {"0", 1, 12, "12"}, {"0", 0, 0, "12"}, {"7", 1, 19, "7"},
    };
    for (const auto& [typed, amPm, stored, shown] : cases) {
        SCOPED_TRACE(typed.toStdString() + (amPm == 0 ? " AM" : " PM"));
        OpenDialog();
        Choose(Id::IdAmPm, amPm);
        Type(Id::IdHour, typed);
        Click(1195); // leaves the hour for an effect button
        EXPECT_EQ(Game().GetTime(), (GameTime{stored, 30, 11, 3, 1173}));
        EXPECT_EQ(Text(Id::IdHour), shown);
        EXPECT_EQ(ChosenText(Id::IdAmPm), stored < 12 ? "AM" : "PM");
    }
}

TEST_F(PartyDialogTest, AYearBefore1172IsStoredAs1172)
{
    OpenDialog();
    Type(Id::IdYear, "1170");
    Click(1195);
    EXPECT_EQ(Game().GetTime(), (GameTime{9, 30, 11, 3, 1172}));
    EXPECT_EQ(Text(Id::IdYear), "1172");
    Click(Id::IdOk);
    EXPECT_EQ(FileBytes(), Expected([](SaveGame& s) { s.SetTime({9, 30, 11, 3, 1172}); }));
}

TEST_F(PartyDialogTest, ADateFieldOutsideItsRangeIsReportedAndNothingIsWritten)
{
    const std::vector<std::tuple<int, QString, QString>> cases = {
        {Id::IdDay, "29", "Please enter an integer between 1 and 28."},
        {Id::IdDay, "0", "Please enter an integer between 1 and 28."},
        {Id::IdHour, "13", "Please enter an integer between 0 and 12."},
        {Id::IdMinute, "60", "Please enter an integer between 0 and 59."},
        {Id::IdYear, "", "Please enter an integer."},
    };
    for (const auto& [id, typed, message] : cases) {
        SCOPED_TRACE(id);
        OpenDialog();
        messages.Clear();
        Type(Id::IdFood, "99");
        Type(id, typed);
        Choose(Id::IdMonth, 0); // leaves the field
        EXPECT_EQ(messages.Shown(), QStringList{message});
        EXPECT_TRUE(Control<QWidget>(id)->hasFocus());
        EXPECT_EQ(Game().GetTime(), (GameTime{9, 30, 11, 3, 1173}));
        EXPECT_EQ(Game().GetFood(), 14);
    }
}

TEST_F(PartyDialogTest, OkReadsTheFieldsInTheirExchangeOrderAndStoresNoneOnAFailure)
{
    ExchangeOrderCheck::Drive drive;
    drive.open = [this]() -> QWidget& {
        OpenDialog();
        return *dialog;
    };
    drive.read = [this] {
        messages.Clear();
        Click(Id::IdOk);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_TRUE(std::ranges::equal(Game().GetWindow(), save.GetWindow())) << "nothing is stored";
        return messages.Shown();
    };
    ExchangeOrderCheck::Run("party", drive);
}

TEST_F(PartyDialogTest, OkStoresAPartyWithoutGapsAndRefusesTheRest)
{
    // chooser positions (0 = "None"), member count or 0 when refused
    const std::vector<std::pair<std::array<int, 5>, int>> cases = {
        {{3, 0, 5, 0, 0}, 0}, {{0, 0, 0, 0, 0}, 0}, {{0, 2, 0, 0, 0}, 0}, {{3, 5, 0, 0, 0}, 2}, {{7, 7, 50, 1, 2}, 5},
    };
    for (const auto& [chosen, count] : cases) {
        SCOPED_TRACE(count);
        OpenDialog();
        messages.Clear();
        Type(Id::IdFood, "77");
        for (int k = 0; k < 5; ++k)
            Choose(Id::IdMember1 + k, chosen[static_cast<std::size_t>(k)]);
        Click(Id::IdOk);
        if (count == 0) {
            EXPECT_EQ(messages.Shown(), QStringList{"You cannot have gaps in your party."});
            EXPECT_TRUE(dialog->isVisible());
            EXPECT_EQ(FileBytes(), opened);
            // Food was stored before the rule was checked; the roster was not.
            EXPECT_EQ(Game().GetFood(), 77);
            EXPECT_EQ(Game().GetPartyMember(1), 0);
            continue;
        }
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(FileBytes(), Expected([&](SaveGame& s) {
                      s.SetFood(77);
                      s.SetPartyMemberCount(count);
                      for (int k = 0; k < 5; ++k)
                          s.SetPartyMember(k + 1, chosen[static_cast<std::size_t>(k)] - 1);
                  }));
        EXPECT_EQ(WindowValue(FileBytes(), TranscribedLayout::At("PartyMemberCount"), 4), count);
    }
}

TEST_F(PartyDialogTest, AMemberChooserWithoutASelectionCountsAsNone)
{
    PatchFile(TranscribedLayout::At("PartyMember4"), std::string("\x4D\x00\x00\x00", 4)); // slot 4: 77
    OpenDialog();
    EXPECT_EQ(Chosen(Id::IdMember1 + 3), -1);
    Choose(Id::IdMember1 + 2, 0);
    Click(Id::IdOk);
    EXPECT_TRUE(messages.Shown().isEmpty());
    EXPECT_EQ(FileBytes(), Expected([](SaveGame& s) {
                  s.SetPartyMember(3, -1);
                  s.SetPartyMember(4, -1);
                  s.SetPartyMemberCount(2);
              }));
}

TEST_F(PartyDialogTest, LeavingADateFieldWithGapsStoresTheDateButNotTheMembers)
{
    OpenDialog();
    Choose(Id::IdMember1 + 1, 0);
    Type(Id::IdDay, "20");
    Type(Id::IdYear, "1175");
    EXPECT_EQ(messages.Shown(), QStringList{"You cannot have gaps in your party."});
    EXPECT_EQ(Game().GetTime(), (GameTime{9, 30, 19, 3, 1173}));
    EXPECT_EQ(Game().GetPartyMember(2), 1);
    EXPECT_EQ(Chosen(Id::IdMember1 + 1), 0); // nothing was read back
}

TEST_F(PartyDialogTest, OkStoresAndSavesEscapeWritesNothing)
{
    OpenDialog();
    Type(Id::IdDay, "2");
    Type(Id::IdBank, "5"); // the day is stored on leaving, in memory only
    QTest::keyClick(Control<QWidget>(Id::IdBank), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(Game().GetTime().day, 1);
    EXPECT_EQ(FileBytes(), opened);

    OpenDialog();
    Type(Id::IdFood, "40000");
    Type(Id::IdGold, "123");
    Choose(Id::IdMonth, 11);
    Type(Id::IdMinute, "7");
    Click(Id::IdOk);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(FileBytes(), Expected([](SaveGame& s) {
                  s.SetFood(40000);
                  s.SetGold(123);
                  s.SetTime({9, 7, 11, 11, 1173});
              }));
}

TEST_F(PartyDialogTest, OkStaysOpenOnAFileError)
{
    OpenDialog();
    Type(Id::IdGold, "1");
    {
        const FileSizeLimit limit(1000); // below the window
        Click(Id::IdOk);
    }
    ASSERT_EQ(messages.Shown().size(), 1);
    EXPECT_TRUE(messages.Shown().front().contains(QString::fromStdString(path.string())));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(FileBytes(), opened);
    Click(Id::IdOk);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(FileBytes(), Expected([](SaveGame& s) { s.SetGold(1); }));
}

TEST_F(PartyDialogTest, EditCharacterOpensTheSheetAndRefreshesTheNamesAfterwards)
{
    OpenDialog();
    bool shown = false;
    OnSheet([&](CVelkarSheet&) { shown = true; });
    Click(Id::IdEditCharacter);
    QApplication::processEvents();
    EXPECT_FALSE(shown); // no row selected

    Type(Id::IdFood, "99");
    QTest::mouseClick(Characters()->viewport(), Qt::LeftButton, Qt::NoModifier, RowCenter(3));
    QStringList seen;
    OnSheet([&](CVelkarSheet& sheet) {
        auto* name = sheet.findChild<QLineEdit*>(QString::number(CVelkarPage1::IdName));
        seen = {sheet.windowTitle(), name->text()};
        EXPECT_EQ(sheet.parentWidget(), dialog.get()) << "a child window, opened centred on the party dialog";
        UiTesting::TypeOver(*name, "Zed");
        QTest::mouseClick(sheet.Button(QDialogButtonBox::Ok), Qt::LeftButton);
    });
    Click(Id::IdEditCharacter);
    EXPECT_EQ(seen, QStringList({"save003.dod", "Cedric"}));
    EXPECT_EQ(Characters()->topLevelItem(2)->text(0), "Zed");
    EXPECT_EQ(ChosenText(Id::IdMember1 + 2), "Zed");
    EXPECT_EQ(Control<QComboBox>(Id::IdCaster)->itemText(3), "Zed");
    EXPECT_TRUE(Characters()->selectedItems().isEmpty());
    // Nothing of the party dialog was stored before, or read again after.
    EXPECT_EQ(Game().GetFood(), 14);
    EXPECT_EQ(Text(Id::IdFood), "99");

    QString doubleClicked;
    OnSheet([&](CVelkarSheet& sheet) {
        doubleClicked = sheet.findChild<QLineEdit*>(QString::number(CVelkarPage1::IdName))->text();
    });
    // A double click: the first click, then the second press reported as a double click.
    QTest::mouseClick(Characters()->viewport(), Qt::LeftButton, Qt::NoModifier, RowCenter(4));
    QTest::mouseDClick(Characters()->viewport(), Qt::LeftButton, Qt::NoModifier, RowCenter(4));
    EXPECT_EQ(doubleClicked, "Dyrra");
}

// Focus-loss handlers run only when the focus moves to another control of the dialog.
TEST_F(PartyDialogTest, OpeningAChoosersListOrLeavingTheWindowStoresNothing)
{
    OpenDialog();
    Type(Id::IdFood, "77");
    Choose(Id::IdMonth, 5); // the month's list opens and closes
    EXPECT_EQ(Game().GetFood(), 14);

    QLineEdit other;
    UiTesting::ShowActive(other);
    ASSERT_TRUE(other.hasFocus());
    other.close();
    UiTesting::ShowActive(*dialog);
    ASSERT_TRUE(Control<QWidget>(Id::IdMonth)->hasFocus());
    EXPECT_EQ(Game().GetFood(), 14);

    Type(Id::IdGold, "5");
    EXPECT_EQ(Game().GetFood(), 77);
    EXPECT_EQ(Game().GetTime().month, 5);
}

TEST_F(PartyDialogTest, ARealMessageBoxFromALeftFieldIsShownOnceAndTheFieldKeepsTheFocus)
{
    OpenDialog();
    Type(Id::IdDay, "29");
    const Messages::Sink recorder = Messages::SetSink({});
    QStringList boxes;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            boxes.append(UiTesting::Plain(box->text()));
            box->button(QMessageBox::Ok)->click();
        }
    });
    closer.start(10);
    // The box takes the focus from the hour field, and the day then takes it back;
    // neither runs the hour's own handler.
    Type(Id::IdHour, "3");
    QTest::qWait(50);
    UiTesting::ShowActive(*dialog); // as the window manager does when the box closes
    closer.stop();
    Messages::SetSink(recorder);
    EXPECT_EQ(boxes, QStringList{"Please enter an integer between 1 and 28."});
    EXPECT_TRUE(Control<QWidget>(Id::IdDay)->hasFocus());
    EXPECT_EQ(Game().GetTime().day, 11);
}
