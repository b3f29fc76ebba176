// The whole road of an edit: list the saved games, open one, change the gold in the party
// dialog and a character's might in the sheet, confirm both, and read the file's bytes.

#include "app/SaveSelectDialog.h"
#include "game/Backups.h"
#include "game/GameFolderLocator.h"
#include "tests/support/Files.h"
#include "tests/support/LittleEndian.h"
#include "tests/support/SaveBuilder.h"
#include "tests/support/TempDirectory.h"
#include "tests/support/TempWinePrefix.h"
#include "tests/ui/UiTesting.h"

#include "dialogs/CVelkarPage1.h"
#include "dialogs/CVelkarSheet.h"
#include "dialogs/PartyDialog.h"
#include "tests/ui/MessageRecorder.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

#include <gtest/gtest.h>

namespace {

TEST(EndToEndTest, AnEditTravelsFromTheDialogsIntoTheFileAndNothingElseChanges)
{
    TempWinePrefix prefix;
    setenv("HOME", prefix.MakeFolder("home").c_str(), 1); // no game but the one typed in
    TempDirectory game;
    MessageRecorder messages;
    std::filesystem::create_directories(game / "Saves");
    const SaveBuilder builder("Journey");
    const auto file = game / "Saves" / GameFolderLocator::SaveFileName(1);
    builder.WriteTo(file);
    const auto before = ReadBytes(file);

    SaveSelectDialog select;
    UiTesting::ShowActive(select);
    UiTesting::TypeOver(*select.findChild<QComboBox*>(QString::number(SaveSelectDialog::IdPath))->lineEdit(),
                        QString::fromStdString(game.Path().string()));
    auto* list = select.findChild<QTreeWidget*>(QString::number(SaveSelectDialog::IdList));
    ASSERT_EQ(list->topLevelItemCount(), 1);
    list->setCurrentItem(list->topLevelItem(0));

    bool partyRan = false;
    bool sheetRan = false;
    UiTesting::WhenModal<PartyDialog>(
        [&](PartyDialog& party) {
            UiTesting::TypeOver(*party.Control<QWidget>(PartyDialog::IdGold), "123456");
            auto* characters = party.Control<QTreeWidget>(PartyDialog::IdCharacters);
            QTest::mouseClick(characters->viewport(), Qt::LeftButton, {},
                              characters->visualItemRect(characters->topLevelItem(1)).center());
            UiTesting::WhenModal<CVelkarSheet>(
                [](CVelkarSheet& sheet) {
                    UiTesting::TypeOver(*sheet.findChild<QWidget*>(QString::number(CVelkarPage1::IdMight)), "777");
                    QTest::mouseClick(sheet.Button(QDialogButtonBox::Ok), Qt::LeftButton);
                },
                sheetRan);
            QTest::mouseClick(party.Control<QPushButton>(PartyDialog::IdEditCharacter), Qt::LeftButton);
            QTest::mouseClick(party.Control<QPushButton>(PartyDialog::IdOk), Qt::LeftButton);
        },
        partyRan);
    QTest::mouseClick(select.findChild<QPushButton*>(QString::number(SaveSelectDialog::IdOpen)), Qt::LeftButton);

    EXPECT_TRUE(partyRan);
    EXPECT_TRUE(sheetRan);
    EXPECT_TRUE(messages.Shown().isEmpty()) << messages.Shown().join("; ").toStdString();
    EXPECT_TRUE(select.isVisible()) << "the selection dialog carries on";
    // Two writes, the sheet's and the party's: one copy, of the file before either.
    const std::vector<Backups::Entry> copies = Backups::List(file);
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(ReadBytes(copies.front().path), before);

    // Gold is window 2148 (party record at 332 + 1816); character 2's Might is window
    // 2832 + 7464 + 848. Nothing else in the file may differ.
    const auto after = ReadBytes(file);
    ASSERT_EQ(after.size(), before.size());
    const std::size_t window = builder.PartyOffset();
    EXPECT_EQ(LoadUnsignedLE(after, window + 2148, 4), 123456u);
    EXPECT_EQ(LoadUnsignedLE(after, window + 2832 + 7464 + 848, 2), 777u);
    for (std::size_t i = 0; i < after.size(); ++i) {
        const std::size_t w = i - window;
        const bool gold = i >= window && w >= 2148 && w < 2152;
        const bool might = i >= window && w >= 2832 + 7464 + 848 && w < 2832 + 7464 + 850;
        if (!gold && !might) {
            ASSERT_EQ(after[i], before[i]) << "file byte " << i << " (window " << static_cast<long>(w) << ") changed";
        }
    }
}

} // namespace
