#include "app/AboutDialog.h"
#include "app/GameFolderLocator.h"
#include "tests/support/SaveBuilder.h"
#include "app/SaveSelectDialog.h"
#include "tests/support/TempDirectory.h"
#include "tests/app/TempWinePrefix.h"
#include "tests/ui/UiTesting.h"

#include "model/File.h"
#include "model/FileError.h"
#include "model/MessageSink.h"
#include "tests/ui/MessageRecorder.h"
#include "ui/TextCodec.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>

namespace {

class SaveSelectDialogTest : public ::testing::Test {
protected:
    SaveSelectDialogTest()
    {
        // As the program does: the model's messages become message boxes.
        previousSink_ = MessageSink::Install([](std::string_view text) { Messages::Warning(TextCodec::Decode(text)); });
        std::filesystem::create_directories(game / "Saves");
    }
    ~SaveSelectDialogTest() override { MessageSink::Install(previousSink_); }

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

    auto* path = dialog.findChild<QLineEdit*>(QString::number(SaveSelectDialog::IdPath));
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
    auto* path = dialog.findChild<QLineEdit*>(QString::number(SaveSelectDialog::IdPath));
    UiTesting::TypeText(*path, QString::fromStdString(game.Path().string()));
    EXPECT_EQ(Rows(dialog), (QStringList{"save001.dod|" + QString::fromStdString(full),
                                         QString::fromUtf8("save003.dod|Caf\u00E9 \u20AC"), "save004.dod|",
                                         "save005.dod|"}));
}

TEST_F(SaveSelectDialogTest, TheGameFolderComesFromTheRegistry)
{
    AddSave(7, "From the registry");
    prefix.LinkDrive("z:", "/");
    std::string windowsPath = "Z:";
    for (char c : game.Path().string())
        windowsPath += c == '/' ? std::string("\\\\") : std::string(1, c);
    prefix.WriteSystemReg("WINE REGISTRY Version 2\n\n"
                          "[Software\\\\New World Computing\\\\Might and Magic Day of the Destroyer\\\\1.0] 1700000000\n"
                          "\"AppPath\"=\"" + windowsPath + "\"\n");
    SaveSelectDialog dialog;
    EXPECT_EQ(dialog.Path(), QString::fromStdString(game.Path().string()));
    EXPECT_EQ(Rows(dialog), QStringList{"save007.dod|From the registry"});
}

TEST_F(SaveSelectDialogTest, OpenWithoutASelectionOrOnAVanishedFileCarriesOn)
{
    AddSave(0, "Vanishing");
    SaveSelectDialog dialog;
    UiTesting::ShowActive(dialog);
    UiTesting::TypeText(*dialog.findChild<QLineEdit*>(QString::number(SaveSelectDialog::IdPath)),
                        QString::fromStdString(game.Path().string()));
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
    UiTesting::TypeText(*dialog.findChild<QLineEdit*>(QString::number(SaveSelectDialog::IdPath)),
                        QString::fromStdString(game.Path().string()));

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
    EXPECT_EQ(messages.Shown(), QStringList{QString::fromStdString(FileError::FromSystemCode(EIO, SaveFile(1)).what())});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.ExitCode(), 0);
}

TEST_F(SaveSelectDialogTest, AnInvalidSaveEndsTheProgramWithStatusOne)
{
    AddRawFile(6, std::string(5000, 'x'));
    SaveSelectDialog dialog;
    UiTesting::ShowActive(dialog);
    UiTesting::TypeText(*dialog.findChild<QLineEdit*>(QString::number(SaveSelectDialog::IdPath)),
                        QString::fromStdString(game.Path().string()));
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
    UiTesting::TypeText(*dialog.findChild<QLineEdit*>(QString::number(SaveSelectDialog::IdPath)),
                        QString::fromStdString(game.Path().string()));
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

} // namespace
