#include "app/SaveSelectDialog.h"
#include "app/AboutDialog.h"
#include "app/BackupDialog.h"
#include "dialogs/PartyDialog.h"
#include "game/Backups.h"
#include "game/GameFolderLocator.h"
#include "game/PathText.h"
#include "game/UserSettings.h"
#include "tests/support/Files.h"
#include "tests/support/LodBuilder.h"
#include "tests/support/SaveBuilder.h"
#include "tests/support/TempDirectory.h"
#include "tests/support/TempWinePrefix.h"
#include "tests/support/TranscribedLayout.h"
#include "tests/support/WinePrefixWriter.h"
#include "tests/ui/UiTesting.h"
#include "ui/ControlId.h"

#include "model/File.h"
#include "model/FileError.h"
#include "model/MessageSink.h"
#include "tests/ui/MessageRecorder.h"
#include "text/TextCodec.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <ostream>

namespace {

class SaveSelectDialogTest : public ::testing::Test {
protected:
    SaveSelectDialogTest()
    {
        // As the program does: the model's messages become message boxes.
        previousSink_ = MessageSink::Install([](std::string_view text) {
            Messages::Warning(QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size())));
        });
        std::filesystem::create_directories(game / "Saves");
        setenv("HOME", prefix.MakeFolder("home").c_str(), 1); // no prefixes but the tests' own
        UserSettings::Clear();
    }
    ~SaveSelectDialogTest() override
    {
        MessageSink::Install(previousSink_);
        UserSettings::Clear();
    }

    static QComboBox* Combo(SaveSelectDialog& dialog, int id) { return ControlId::Find<QComboBox>(dialog, id); }
    static QLineEdit* PathEdit(SaveSelectDialog& dialog) { return Combo(dialog, SaveSelectDialog::IdPath)->lineEdit(); }
    static QString CodePage(SaveSelectDialog& dialog)
    {
        return Combo(dialog, SaveSelectDialog::IdCodePage)->currentText();
    }
    // What the list area shows instead of the list; empty while the list is shown.
    static QString Note(SaveSelectDialog& dialog)
    {
        auto* note = ControlId::Find<QLabel>(dialog, SaveSelectDialog::IdListNote);
        auto* area = qobject_cast<QStackedWidget*>(note->parentWidget());
        return area->currentWidget() == note ? note->text() : QString();
    }
    static QString Text(const std::filesystem::path& folder) { return QString::fromStdString(folder.string()); }
    // Every file and folder below folder.
    static std::vector<std::filesystem::path> Listing(const std::filesystem::path& folder)
    {
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
            files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        return files;
    }

    std::filesystem::path SaveFile(int i) const { return game / "Saves" / GameFolderLocator::SaveFileName(i); }
    void AddSave(int i, const std::string& name) const { SaveBuilder(name).WriteTo(SaveFile(i)); }
    void AddRawFile(int i, const std::string& bytes) const
    {
        std::ofstream(SaveFile(i), std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    static QStringList Rows(SaveSelectDialog& dialog)
    {
        QStringList rows;
        auto* list = dialog.findChild<QTreeWidget*>(QString::number(SaveSelectDialog::IdList));
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            rows << list->topLevelItem(i)->text(0) + "|" + list->topLevelItem(i)->text(1);
        return rows;
    }

    static void Select(SaveSelectDialog& dialog, int row)
    {
        auto* list = dialog.findChild<QTreeWidget*>(QString::number(SaveSelectDialog::IdList));
        list->setCurrentItem(list->topLevelItem(row));
    }

    static void Click(SaveSelectDialog& dialog, int id)
    {
        QTest::mouseClick(dialog.findChild<QPushButton*>(QString::number(id)), Qt::LeftButton);
    }

    // Runs action, which opens a modal window; inspect sees that window, then it is closed.
    static void WithModal(const std::function<void()>& action, const std::function<void(QWidget&)>& inspect)
    {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr);
            seen = true;
            inspect(*modal);
            modal->close();
        });
        action();
        EXPECT_TRUE(seen) << "no modal window opened";
    }

    TempWinePrefix prefix; // an empty registry unless a test writes one
    TempDirectory game;
    MessageRecorder messages;
    MessageSink::Handler previousSink_;
};

TEST_F(SaveSelectDialogTest, ListsSaveZeroToThirtyNineAsTheUserTypesTheFolder)
{
    AddSave(0, "Ravenshore");
    AddSave(2, "Alvar");
    AddSave(39, "Regna");
    AddSave(40, "Never listed");
    SaveSelectDialog dialog;
    UiTesting::ShowActive(dialog);
    EXPECT_TRUE(dialog.Path().isEmpty()) << "no registry entry: the folder starts empty";
    EXPECT_TRUE(Rows(dialog).isEmpty());

    auto* path = PathEdit(dialog);
    const QString folder = QString::fromStdString(game.Path().string());
    UiTesting::TypeText(*path, folder.chopped(1));
    EXPECT_TRUE(Rows(dialog).isEmpty()) << "one character short of the folder";
    UiTesting::TypeText(*path, folder.right(1));
    EXPECT_EQ(dialog.Path(), folder);
    EXPECT_EQ(Rows(dialog), (QStringList{"save000.dod|Ravenshore", "save002.dod|Alvar", "save039.dod|Regna"}));
    EXPECT_TRUE(messages.Shown().isEmpty());
}

TEST_F(SaveSelectDialogTest, NamesComeFromHeaderBinAsTheGameWroteThem)
{
    const std::string full(32, 'W');
    AddSave(1, full);
    AddSave(3, "Caf\xE9 \x80");
    AddRawFile(4, std::string("party.bin\0\0\0\0\0\0\0", 16) + std::string(16, '\0')); // no header.bin
    AddRawFile(5, std::string("header.bin\0\0\0\0\0\0", 16) + "\xF0\xFF\xFF\x0F" + std::string(12, '\0'));
    SaveSelectDialog dialog;
    auto* path = PathEdit(dialog);
    UiTesting::TypeText(*path, QString::fromStdString(game.Path().string()));
    EXPECT_EQ(Rows(dialog),
              (QStringList{"save001.dod|" + QString::fromStdString(full),
                           QString::fromUtf8("save003.dod|Caf\u00E9 \u20AC"), "save004.dod|", "save005.dod|"}));
}

TEST_F(SaveSelectDialogTest, OpenWithoutASelectionOrOnAVanishedFileCarriesOn)
{
    AddSave(0, "Vanishing");
    SaveSelectDialog dialog;
    UiTesting::ShowActive(dialog);
    UiTesting::TypeText(*PathEdit(dialog), Text(game.Path()));
    auto* list = dialog.findChild<QTreeWidget*>(QString::number(SaveSelectDialog::IdList));
    EXPECT_EQ(list->currentItem(), list->topLevelItem(0)) << "the first saved game is chosen: Enter opens it";
    list->setCurrentItem(nullptr);
    list->clearSelection();
    Click(dialog, SaveSelectDialog::IdOpen);
    EXPECT_TRUE(messages.Shown().isEmpty());

    Select(dialog, 0);
    std::filesystem::remove(SaveFile(0));
    Click(dialog, SaveSelectDialog::IdOpen);
    ASSERT_EQ(messages.Shown().size(), 1);
    EXPECT_TRUE(messages.Shown().front().contains("save000.dod")) << messages.Shown().front().toStdString();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.ExitCode(), 0);
    EXPECT_EQ(Rows(dialog), QStringList{"save000.dod|Vanishing"}) << "the list is not rebuilt";
}

TEST_F(SaveSelectDialogTest, AFolderInPlaceOfTheSaveOrAFailingReadIsReportedAndTheDialogCarriesOn)
{
    AddSave(0, "First");
    AddSave(1, "Second");
    SaveSelectDialog dialog;
    UiTesting::ShowActive(dialog);
    UiTesting::TypeText(*PathEdit(dialog), Text(game.Path()));

    Select(dialog, 0);
    std::filesystem::remove(SaveFile(0));
    std::filesystem::create_directory(SaveFile(0));
    Click(dialog, SaveSelectDialog::IdOpen);
    ASSERT_EQ(messages.Shown().size(), 1);
    EXPECT_TRUE(messages.Shown().front().endsWith(QString::fromStdString(SaveFile(0).string())))
        << messages.Shown().front().toStdString();
    EXPECT_TRUE(dialog.isVisible());

    // A disk that fails while the save is read: the system's text, and the dialog stays.
    messages.Clear();
    File::SetFaultHook([](File::Operation operation, const std::filesystem::path&) {
        return operation == File::Operation::Read ? EIO : 0;
    });
    Select(dialog, 1);
    Click(dialog, SaveSelectDialog::IdOpen);
    File::SetFaultHook({});
    EXPECT_EQ(messages.Shown(),
              QStringList{QString::fromStdString(FileError::FromSystemCode(EIO, SaveFile(1)).what())});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.ExitCode(), 0);
}

TEST_F(SaveSelectDialogTest, AnInvalidSaveEndsTheProgramWithStatusOne)
{
    AddRawFile(6, std::string(5000, 'x'));
    SaveSelectDialog dialog;
    UiTesting::ShowActive(dialog);
    UiTesting::TypeText(*PathEdit(dialog), Text(game.Path()));
    Select(dialog, 0);
    Click(dialog, SaveSelectDialog::IdOpen);
    EXPECT_EQ(messages.Shown(), QStringList{"Invalid save game file."});
    EXPECT_EQ(dialog.ExitCode(), 1);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(SaveSelectDialogTest, ADoubleClickOpensThePartyDialogForThatFile)
{
    AddSave(0, "First");
    AddSave(2, "Second");
    SaveSelectDialog dialog;
    UiTesting::ShowActive(dialog);
    UiTesting::TypeText(*PathEdit(dialog), Text(game.Path()));
    auto* list = dialog.findChild<QTreeWidget*>(QString::number(SaveSelectDialog::IdList));
    const QRect second = list->visualItemRect(list->topLevelItem(1));
    // A real double click: press and release, then the second press.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
    WithModal([&] { QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second.center()); },
              [](QWidget& party) { EXPECT_EQ(party.windowTitle(), "save002.dod"); });
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.ExitCode(), 0);
    EXPECT_TRUE(messages.Shown().isEmpty());
}

TEST_F(SaveSelectDialogTest, TheAboutButtonAndTheMenuEntryShowTheSameBox)
{
    SaveSelectDialog dialog;
    UiTesting::ShowActive(dialog);
    const auto checkAbout = [](QWidget& about) {
        EXPECT_EQ(about.windowTitle(), "About Velkar");
        auto* readme = about.findChild<QPlainTextEdit*>(QString::number(AboutDialog::IdReadme));
        ASSERT_NE(readme, nullptr);
        EXPECT_TRUE(readme->toPlainText().startsWith("VELKAR README:\n\n\nDescription:"));
        EXPECT_TRUE(readme->isReadOnly());
    };
    WithModal([&] { Click(dialog, SaveSelectDialog::IdAbout); }, checkAbout);
    QAction* entry = nullptr;
    for (QAction* action : dialog.actions())
        if (action->text() == "&About Velkar...")
            entry = action;
    ASSERT_NE(entry, nullptr);
    WithModal([&] { entry->trigger(); }, checkAbout);
}

TEST_F(SaveSelectDialogTest, EveryGameFoundIsOfferedWithWhereItWasFound)
{
    WinePrefixWriter first(prefix.Path()); // $WINEPREFIX
    const auto a = first.MakeFolder("Games/MM8");
    first.Set(WinePrefixWriter::kGameKey32, "AppPath", u"C:\\Games\\MM8").Save();
    WinePrefixWriter second(prefix.Path() / "home" / ".wine");
    const auto b = second.MakeFolder("MM8");
    second.Set(WinePrefixWriter::kGameKey, "AppPath", u"C:\\MM8").Save();
    for (const auto& [folder, name] : {std::pair{a, "First game"}, std::pair{b, "Second game"}}) {
        std::filesystem::create_directories(folder / "Saves");
        SaveBuilder(name).WriteTo(folder / "Saves" / "save000.dod");
    }
    SaveSelectDialog dialog;
    UiTesting::ShowActive(dialog);
    QComboBox* box = Combo(dialog, SaveSelectDialog::IdPath);
    ASSERT_EQ(box->count(), 2);
    EXPECT_EQ(box->itemText(0), Text(a));
    EXPECT_EQ(box->itemText(1), Text(b));
    EXPECT_EQ(box->itemData(0, Qt::ToolTipRole).toString(), "Wine prefix " + Text(prefix.Path()));
    EXPECT_EQ(box->itemData(1, Qt::ToolTipRole).toString(), "Wine prefix ~/.wine");
    EXPECT_EQ(dialog.Path(), Text(a)) << "the first game found is chosen";
    EXPECT_EQ(Rows(dialog), QStringList{"save000.dod|First game"});
    // An editable box opens its list from the arrow; then the keyboard picks.
    box->showPopup();
    QTest::keyClick(box->view(), Qt::Key_Down);
    QTest::keyClick(box->view(), Qt::Key_Return);
    EXPECT_EQ(dialog.Path(), Text(b));
    EXPECT_EQ(Rows(dialog), QStringList{"save000.dod|Second game"});
}

TEST_F(SaveSelectDialogTest, TheListAreaSaysWhyItIsEmpty)
{
    SaveSelectDialog dialog;
    UiTesting::ShowActive(dialog);
    EXPECT_EQ(Note(dialog), "No game found: use Browse... to pick the game folder.");
    UiTesting::TypeText(*PathEdit(dialog), Text(game.Path()));
    EXPECT_EQ(Note(dialog), "No saved games in this folder's Saves folder.") << "an empty Saves folder";
    std::filesystem::remove(game / "Saves");
    UiTesting::TypeText(*PathEdit(dialog), "/");
    EXPECT_EQ(Note(dialog), "No saved games in this folder's Saves folder.") << "no Saves folder";
    std::filesystem::create_directories(game / "Saves");
    AddSave(3, "Back");
    UiTesting::TypeOver(*PathEdit(dialog), Text(game.Path()));
    EXPECT_EQ(Note(dialog), "");
    EXPECT_EQ(Rows(dialog), QStringList{"save003.dod|Back"});
}

TEST_F(SaveSelectDialogTest, BrowseStartsInTheChosenFolderElseAtHomeAndShowsHiddenFolders)
{
    SaveSelectDialog dialog;
    UiTesting::ShowActive(dialog);
    const auto startsIn = [](const QString& folder) {
        return [folder](QWidget& modal) {
            auto* chooser = qobject_cast<QFileDialog*>(&modal);
            ASSERT_NE(chooser, nullptr);
            EXPECT_EQ(chooser->directory().absolutePath(), folder);
            EXPECT_TRUE(chooser->filter().testFlag(QDir::Hidden)) << "Wine prefixes live in hidden folders";
        };
    };
    WithModal([&] { Click(dialog, SaveSelectDialog::IdBrowse); }, startsIn(Text(prefix.Path() / "home")));
    UiTesting::TypeText(*PathEdit(dialog), Text(game.Path()));
    WithModal([&] { Click(dialog, SaveSelectDialog::IdBrowse); }, startsIn(Text(game.Path())));
}

TEST_F(SaveSelectDialogTest, TheLastFolderAndTheCodePageChosenForItAreRemembered)
{
    const std::string zhanna = "\xC6\xE0\xED\xED\xE0"; // Windows-1251
    SaveBuilder(zhanna).PutText(TranscribedLayout::At("Name", 1), zhanna + '\0').WriteTo(SaveFile(0));
    const auto open = [&](SaveSelectDialog& dialog, const QString& firstCharacter) {
        Select(dialog, 0);
        WithModal([&] { Click(dialog, SaveSelectDialog::IdOpen); },
                  [&](QWidget& party) {
                      auto* characters = party.findChild<QTreeWidget*>(QString::number(PartyDialog::IdCharacters));
                      EXPECT_EQ(characters->topLevelItem(0)->text(0), firstCharacter);
                  });
    };
    {
        SaveSelectDialog dialog;
        UiTesting::ShowActive(dialog);
        UiTesting::TypeText(*PathEdit(dialog), Text(game.Path()));
        EXPECT_EQ(CodePage(dialog), "Western (1252)");
        EXPECT_EQ(Rows(dialog), QStringList{QString::fromUtf8("save000.dod|\u00C6\u00E0\u00ED\u00ED\u00E0")});
        UiTesting::ChooseEntry(*Combo(dialog, SaveSelectDialog::IdCodePage), 2);
        EXPECT_EQ(CodePage(dialog), "Cyrillic (1251)");
        EXPECT_EQ(Rows(dialog), QStringList{QString::fromUtf8("save000.dod|\u0416\u0430\u043D\u043D\u0430")});
        open(dialog, QString::fromUtf8("\u0416\u0430\u043D\u043D\u0430"));
    }
    SaveSelectDialog dialog;
    EXPECT_EQ(dialog.Path(), Text(game.Path()));
    EXPECT_EQ(CodePage(dialog), "Cyrillic (1251)");
    EXPECT_EQ(Rows(dialog), QStringList{QString::fromUtf8("save000.dod|\u0416\u0430\u043D\u043D\u0430")});
    EXPECT_EQ(Listing(game.Path()), (std::vector{game / "Saves", SaveFile(0)}))
        << "nothing is written into the game folder";
}

TEST_F(SaveSelectDialogTest, BackupsPutsTheChosenCopyBackAfterAskingAndCopiesTheFileItReplaces)
{
    AddSave(0, "Before the Ogres");
    const std::filesystem::path copy = Backups::Make(SaveFile(0));
    const auto before = Listing(game.Path());
    const std::vector<std::uint8_t> copied = ReadBytes(copy);
    SaveBuilder("After the Ogres") // the game saved since
        .RemoveMembersAfter()
        .Put(TranscribedLayout::At("Gold"), 4, 76)
        .WriteTo(SaveFile(0));
    const QString time = Backups::TimeText(Backups::List(SaveFile(0)).front().time);

    SaveSelectDialog dialog;
    UiTesting::ShowActive(dialog);
    UiTesting::TypeText(*PathEdit(dialog), Text(game.Path()));
    const auto shown = [](QWidget& backups) {
        QStringList rows;
        auto* list = ControlId::Find<QTreeWidget>(backups, BackupDialog::IdList);
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            rows << list->topLevelItem(i)->text(0) + "|" + list->topLevelItem(i)->text(1);
        return rows;
    };
    WithModal([&] { Click(dialog, SaveSelectDialog::IdBackups); },
              [&](QWidget& backups) {
                  EXPECT_EQ(backups.windowTitle(), "Backups of save000.dod");
                  EXPECT_EQ(shown(backups), QStringList{time + "|Before the Ogres"});
                  const auto* list = ControlId::Find<QTreeWidget>(backups, BackupDialog::IdList);
                  EXPECT_LE(list->header()->length(), list->viewport()->width()) << "every column shows whole";
                  // What differs, field by field, then the bytes outside every field.
                  QTest::mouseClick(ControlId::Find<QPushButton>(backups, BackupDialog::IdCompare), Qt::LeftButton);
                  const auto* differences = ControlId::Find<QTreeWidget>(backups, BackupDialog::IdDifferences);
                  QStringList lines;
                  for (int i = 0; i < differences->topLevelItemCount(); ++i)
                      lines << differences->topLevelItem(i)->text(0) + "|" + differences->topLevelItem(i)->text(2);
                  ASSERT_EQ(lines.size(), 3) << lines.join("; ").toStdString();
                  EXPECT_EQ(lines[0], "party.Gold|76");
                  EXPECT_TRUE(lines[1].startsWith("window|") && lines[2].startsWith("container|"))
                      << lines[1].toStdString();
                  auto* restore = ControlId::Find<QPushButton>(backups, BackupDialog::IdRestore);
                  QTest::mouseClick(restore, Qt::LeftButton); // No
                  EXPECT_EQ(messages.Asked(), QStringList{"Replace save000.dod with the backup of " + time +
                                                          "? The current file is backed up first."});
                  EXPECT_EQ(Rows(dialog), QStringList{"save000.dod|After the Ogres"});
                  messages.Answer(true);
                  QTest::mouseClick(restore, Qt::LeftButton);
                  EXPECT_TRUE(differences->isHidden()) << "the comparison was of the file replaced";
                  const QStringList rows = shown(backups);
                  ASSERT_EQ(rows.size(), 2);
                  EXPECT_TRUE(rows[0].endsWith("|After the Ogres")) << "the file it replaced, newest";
              });
    EXPECT_TRUE(messages.Shown().isEmpty()) << messages.Shown().join("; ").toStdString();
    EXPECT_EQ(ReadBytes(SaveFile(0)), copied);
    EXPECT_EQ(Rows(dialog), QStringList{"save000.dod|Before the Ogres"});
    EXPECT_EQ(Listing(game.Path()), before) << "nothing new in the game folder";
}

TEST_F(SaveSelectDialogTest, MakeBackupsOffLetsAnEditWriteWithoutACopyAndIsRemembered)
{
    AddSave(0, "Edited");
    UserSettings::SetLastGameFolder(game.Path());
    for (const bool on : {true, false}) {
        SaveSelectDialog dialog; // in the folder last used
        UiTesting::ShowActive(dialog);
        auto* entry = ControlId::Find<QAction>(dialog, SaveSelectDialog::IdMakeBackupsCommand);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->text(), "Make Backups");
        EXPECT_TRUE(entry->isChecked()) << "on until turned off";
        if (!on)
            entry->trigger();
        Select(dialog, 0);
        WithModal([&] { Click(dialog, SaveSelectDialog::IdOpen); },
                  [](QWidget& party) {
                      QTest::mouseClick(ControlId::Find<QPushButton>(party, PartyDialog::IdOk), Qt::LeftButton);
                  });
        EXPECT_EQ(Backups::List(SaveFile(0)).size(), 1u) << (on ? "on" : "off");
    }
    EXPECT_FALSE(
        SaveSelectDialog().findChild<QAction*>(QString::number(SaveSelectDialog::IdMakeBackupsCommand))->isChecked());
}

namespace {

// "长剑 x" as the fan translation stores it.
const std::string kWrapped = "\x0E\x20\x0E\xB3\xA4\x07\x20\x0E\xBD\xA3\x07\x0F\x20x";

// A game found in $WINEPREFIX, whose code page and texts decide the "Text:" chooser.
struct FoundGameCase {
    const char16_t* registryFolder;
    const char* folder; // under drive_c, UTF-8
    int prefixCodePage;
    std::string saveName;
    std::string characterName; // of the first character; empty: the default
    const char* codePage;
    const char* shownSaveName;
    const char* shownCharacterName;
};

const FoundGameCase kFoundGames[] = {
    {u"C:\\\u0418\u0433\u0440\u044B\\MM8", "\u0418\u0433\u0440\u044B/MM8", 1251, "\xC6\xE0\xED\xED\xE0",
     "\xC6\xE0\xED\xED\xE0", "Cyrillic (1251)", "\u0416\u0430\u043D\u043D\u0430", "\u0416\u0430\u043D\u043D\u0430"},
    {u"C:\\Games\\MM8", "Games/MM8", 936, "\xB3\xA4\xBD\xA3 x", "\xBD\xA3", "Chinese Simplified (936)",
     "\u957F\u5251 x", "\u5251"},
    {u"C:\\Games\\MM8", "Games/MM8", 936, kWrapped, "", "Chinese (fan translation)", "\u957F\u5251 x", "Ariel"},
    {u"C:\\Games\\MM8", "Games/MM8", 1252, "Ravenshore", kWrapped, "Chinese (fan translation)", "Ravenshore",
     "\u957F\u5251 x"},
};

void PrintTo(const FoundGameCase& c, std::ostream* out)
{
    *out << c.folder << ", " << c.codePage << ", " << c.shownSaveName;
}

class FoundGameTest : public SaveSelectDialogTest, public ::testing::WithParamInterface<FoundGameCase> {};

} // namespace

TEST_P(FoundGameTest, TheTextsAreShownInTheCodePageDecidedForTheGame)
{
    const FoundGameCase& c = GetParam();
    WinePrefixWriter writer(prefix.Path());
    const std::filesystem::path folder =
        writer.MakeFolder(std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(c.folder))));
    writer.Set(WinePrefixWriter::kGameKey32, "AppPath", c.registryFolder).CodePage(c.prefixCodePage).Save();
    std::filesystem::create_directories(folder / "Saves");
    SaveBuilder save(c.saveName);
    if (!c.characterName.empty())
        save.PutText(TranscribedLayout::At("Name", 1), c.characterName + '\0');
    save.WriteTo(folder / "Saves" / "save000.dod");
    const auto before = Listing(prefix.Path());

    SaveSelectDialog dialog;
    UiTesting::ShowActive(dialog);
    EXPECT_EQ(dialog.Path(), PathText::ToText(folder));
    EXPECT_EQ(CodePage(dialog), c.codePage);
    EXPECT_EQ(Rows(dialog), QStringList{"save000.dod|" + QString::fromUtf8(c.shownSaveName)});
    Select(dialog, 0);
    WithModal([&] { Click(dialog, SaveSelectDialog::IdOpen); },
              [&](QWidget& party) {
                  auto* characters = party.findChild<QTreeWidget*>(QString::number(PartyDialog::IdCharacters));
                  EXPECT_EQ(characters->topLevelItem(0)->text(0), QString::fromUtf8(c.shownCharacterName));
              });
    EXPECT_EQ(UserSettings::LastGameFolder(), folder) << "the folder's name keeps every character";
    EXPECT_EQ(Listing(prefix.Path()), before) << "nothing is written into the prefix";
}

INSTANTIATE_TEST_SUITE_P(Texts, FoundGameTest, ::testing::ValuesIn(kFoundGames));

} // namespace

namespace {

TEST_F(SaveSelectDialogTest, NoEmptyStripRunsAlongTheBottomWithOrWithoutAGame)
{
    // In the dialog and in its group, the lowest shown control ends at the layout's bottom margin.
    const auto gapBelow = [](const QWidget& parent) {
        int lowest = 0;
        for (const QWidget* child : parent.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (child->isVisible())
                lowest = std::max(lowest, child->geometry().bottom() + 1);
        }
        return parent.contentsRect().bottom() + 1 - lowest - parent.layout()->contentsMargins().bottom();
    };
    SaveSelectDialog dialog;
    UiTesting::ShowActive(dialog);
    auto* status = ControlId::Find<QLabel>(dialog, SaveSelectDialog::IdStatus);
    const QWidget& group = *status->parentWidget();
    EXPECT_FALSE(status->isVisible()) << "no game, nothing to say";
    EXPECT_EQ(gapBelow(dialog), 0);
    EXPECT_EQ(gapBelow(group), 0);

    AddSave(0, "Found");
    UiTesting::TypeText(*PathEdit(dialog), Text(game.Path()));
    QCoreApplication::sendPostedEvents(); // the layouts settle
    EXPECT_TRUE(status->isVisible());
    EXPECT_EQ(gapBelow(dialog), 0);
    EXPECT_EQ(gapBelow(group), 0);
}

TEST_F(SaveSelectDialogTest, TheStatusLineSaysWhichWordsComeFromTheGameAndDamagedArchivesOnce)
{
    AddSave(0, "Modded");
    LodBuilder::WriteGame(game.Path(), LodBuilder::FullTable(1203));
    std::ofstream(game / "Data" / "zz.icons.lod", std::ios::binary) << std::string("LOD\0MMVI", 8);
    TempDirectory bare;
    std::filesystem::create_directories(bare / "Saves");
    const QString damaged = "Data/zz.icons.lod could not be read (the file is too short for an archive header); "
                            "its pictures are not used.";
    const auto status = [](SaveSelectDialog& dialog) {
        return ControlId::Find<QLabel>(dialog, SaveSelectDialog::IdStatus)->text();
    };
    const auto choose = [&](SaveSelectDialog& dialog, const std::filesystem::path& folder) {
        PathEdit(dialog)->clear();
        UiTesting::TypeText(*PathEdit(dialog), Text(folder));
    };

    SaveSelectDialog dialog;
    UiTesting::ShowActive(dialog);
    choose(dialog, game.Path());
    // 60 class rows, 8 of them unused; awards 1..104, every ninth left blank.
    const QString fromTheGame = "From the game: items (1203), classes (52), awards (93)";
    EXPECT_EQ(status(dialog), damaged + "\n" + fromTheGame);
    EXPECT_EQ(dialog.Words().Items().GetItemName(1202), "Item number 1202");
    choose(dialog, bare.Path());
    EXPECT_EQ(status(dialog), "Built-in words");
    EXPECT_FALSE(dialog.Words().AnyFromGame());
    choose(dialog, game.Path());
    EXPECT_EQ(status(dialog), fromTheGame) << "the damage was told once";

    // The saved game opens with the game's table, and nothing interrupts the opening.
    Select(dialog, 0);
    WithModal([&] { Click(dialog, SaveSelectDialog::IdOpen); },
              [](QWidget& party) {
                  const GameWords& words = static_cast<PartyDialog&>(party).Game().GetWords();
                  EXPECT_EQ(words.Items().Count(), 1203);
                  EXPECT_EQ(words.Classes().GetClassName(59), "Class name 59");
                  EXPECT_EQ(words.Awards().GetAwardText(104), "Award text 105");
              });
    EXPECT_TRUE(messages.Shown().isEmpty());
}

} // namespace
