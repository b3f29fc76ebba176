// Copy From: a character of another game's saved game, or of the open one, over the selected
// character; the file changes in that character's own bytes alone, its times on this clock.

#include "tests/dialogs/PartyDialogFixture.h"

#include "dialogs/CopyFromDialog.h"
#include "game/PathText.h"
#include "game/SaveListing.h"
#include "game/UserSettings.h"
#include "model/File.h"
#include "tests/support/Files.h"
#include "tests/support/LittleEndian.h"
#include "tests/support/TranscribedLayout.h"
#include "tests/ui/UiTesting.h"

#include <QFileDialog>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <cerrno>

namespace {

using TL = TranscribedLayout;
constexpr int kM = 5; // replaced
constexpr int kN = 9; // copied
constexpr std::int64_t kDay = 1440 * 256;
constexpr std::int64_t kYear = 12 * 28 * kDay;
constexpr std::int64_t kClock = 3 * kYear + 5 * kDay + 77; // 1175, day 6

class CopyFromTest : public PartyDialogFixture {
protected:
    // Selects the target, presses Copy From and picks character n of browse (without: of the open saved game).
    void CopyFrom(int n, const std::filesystem::path& browse = {})
    {
        auto* list = Control<QTreeWidget>(PartyDialog::IdCharacters);
        list->setCurrentItem(list->topLevelItem(kM - 1));
        bool ran = false;
        bool browsed = browse.empty();
        UiTesting::WhenModal<CopyFromDialog>(
            [&](CopyFromDialog& chooser) {
                if (!browse.empty()) {
                    UiTesting::WhenModal<QFileDialog>(
                        [&](QFileDialog& files) {
                            files.selectFile(PathText::ToText(browse));
                            static_cast<QDialog&>(files).accept(); // public there
                        },
                        browsed);
                    QTest::mouseClick(chooser.Control<QPushButton>(CopyFromDialog::IdBrowse), Qt::LeftButton);
                }
                auto* rows = chooser.Control<QTreeWidget>(CopyFromDialog::IdCharacters);
                rows->setCurrentItem(rows->topLevelItem(n - 1));
                QTest::mouseClick(chooser.Control<QPushButton>(CopyFromDialog::IdOk), Qt::LeftButton);
            },
            ran);
        Click(PartyDialog::IdCopyFrom);
        ASSERT_TRUE(ran && browsed);
    }

    // Where character n's own bytes (its first condition on) start in a file the SaveBuilder wrote,
    // and a copy of them.
    static std::size_t At(int n) { return SaveBuilder().PartyOffset() + TL::At("ConditionCursed", n); }
    static Bytes Own(std::span<const std::uint8_t> bytes, std::size_t at = 0)
    {
        return Bytes(bytes.begin() + at, bytes.begin() + at + TL::RecordSize);
    }

    // The file as opened but for the target's own bytes.
    void ExpectOnlyTheTarget(const Bytes& own) const
    {
        Bytes expected = opened;
        std::copy(own.begin(), own.end(), expected.begin() + At(kM));
        EXPECT_EQ(FileBytes(), expected);
    }
};

TEST_F(CopyFromTest, ACharacterOfAnotherGameArrivesWithItsTimesOnThisClock)
{
    const std::int64_t shift = 2 * kYear + 3 * kDay + 70;
    const auto clock = TL::At("Time");
    SaveBuilder(std::string("Now"))
        .SetPlayed(41)
        .Put(clock, 8, kClock + shift)
        .PutText(TL::At("Name", kM), std::string("Char5\0", 6))
        .WriteTo(path);
    const std::filesystem::path old = folder / "old game" / "Saves" / "save000.dod";
    std::filesystem::create_directories(old.parent_path());
    SaveBuilder(std::string("Then"))
        .SetPlayed(42)
        .Put(clock, 8, kClock)
        .PutText(TL::At("Name", kN), std::string("\xC6\xE0\xED\xED\xE0\0", 6))
        .WriteTo(old);
    UserSettings::SetCodePage(SaveListing::RealGameFolderOf(old), TextCodec::Page::Cyrillic);
    OpenDialog();
    messages.Answer(true);
    CopyFrom(kN, old);
    UserSettings::Clear();

    EXPECT_EQ(messages.Asked(),
              QStringList{QString::fromUtf8(
                  "Replace Char5 with Жанна (save000.dod)? This writes the saved game now; Cancel in this window "
                  "will not undo it. It comes from another game folder, where class and item numbers may name "
                  "different things. The texts are copied as bytes, and save000.dod is in Cyrillic (1251), this "
                  "saved game in Western (1252): the name and description will read differently.")});
    // Every condition's start and spell's end that is set moves by the clocks' difference, the
    // birth year by the years'; every other byte is the source's.
    Bytes own = Own(ReadBytes(old), At(kN));
    int moved = 0;
    const auto move = [&](int recordOffset, int width, std::int64_t by, bool keepZero) {
        const auto at = static_cast<std::size_t>(recordOffset - TL::Named("ConditionCursed").offset);
        const std::int64_t value = LoadLE(own, at, width);
        if (!(keepZero && value == 0)) {
            StoreLE(own, at, width, value + by);
            ++moved;
        }
    };
    for (const TL::Row& row : TL::Rows()) {
        if (row.area == "record" && (row.kind == "condition" || row.kind == "effect"))
            move(row.offset + (row.kind == "effect" ? TL::Named("Expiry").offset : 0), 8, shift, true);
    }
    move(TL::Named("BirthYear").offset, TL::Named("BirthYear").width, 2, false);
    ASSERT_GT(moved, 3) << "a played character has conditions and spells to move";
    ExpectOnlyTheTarget(own);
    EXPECT_EQ(Control<QTreeWidget>(PartyDialog::IdCharacters)->topLevelItem(kM - 1)->text(0),
              QString::fromLatin1("\xC6\xE0\xED\xED\xE0"))
        << "the same bytes, read in this game's code page";
}

TEST_F(CopyFromTest, WithinTheOpenSavedGameItIsReadAsEditedAndNoOrAFailedWriteLeavesAllAsItWas)
{
    SaveBuilder().SetPlayed(43).WriteTo(path);
    OpenDialog();
    Game().SetName(kN, "Fresh"); // in memory only: a second reading of the file would not see it
    const Bytes target = Own(Game().GetCharacterBytes(kM));
    const QString name = TextCodec().ToText(Game().GetName(kM)); // the built-in words: Western

    CopyFrom(kN);
    EXPECT_EQ(messages.Asked(), QStringList{QStringLiteral("Replace %1 with Fresh (save003.dod)? This writes the saved "
                                                           "game now; Cancel in this window will not undo it.")
                                                .arg(name)});
    messages.Answer(true);
    File::SetFaultHook([](File::Operation operation, const std::filesystem::path&) {
        return operation == File::Operation::Write ? EIO : 0;
    });
    CopyFrom(kN);
    File::SetFaultHook({});
    EXPECT_EQ(messages.Shown().size(), 1);
    EXPECT_EQ(Own(Game().GetCharacterBytes(kM)), target);
    EXPECT_EQ(FileBytes(), opened);

    CopyFrom(kN);
    ExpectOnlyTheTarget(Own(Game().GetCharacterBytes(kN)));
    EXPECT_EQ(Own(FileBytes(), At(kN)), Own(opened, At(kN))) << "the source's own edit stays unsaved";
}

} // namespace
