// A Save that fails (a full disk, a file the game rewrote meanwhile) stops the OK or Apply
// that asked for it: the user reads why once, the dialog stays open, and nothing but what
// was asked for reaches the file.
#include "tests/dialogs/PartyDialogFixture.h"

#include "dialogs/CVelkarPage1.h"

#include "model/File.h"
#include "model/FileError.h"

#include <QLabel>

#include <cerrno>
#include <memory>

namespace {

constexpr int GoldOffset = 2148;

// Fails every write with a full disk and counts the attempts, for as long as it lives.
class FullDisk {
public:
    FullDisk()
    {
        File::SetFaultHook([this](File::Operation operation, const std::filesystem::path&) {
            if (operation != File::Operation::Write)
                return 0;
            ++writes;
            return ENOSPC;
        });
    }
    ~FullDisk() { File::SetFaultHook({}); }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

    static QString Message(const std::filesystem::path& path)
    {
        return QString::fromStdString(FileError::FromSystemCode(ENOSPC, path).what());
    }

    int writes = 0;
};

void WriteAsTheGame(const std::filesystem::path& path, int windowOffset, std::string_view bytes)
{
    File game;
    game.Open(path, File::Share::ReadWrite);
    game.WriteAt(SaveBuilder().PartyOffset() + static_cast<std::uint64_t>(windowOffset), bytes.data(), bytes.size());
}

using SheetSaveFailureTest = SheetFixture;
using PartySaveFailureTest = PartyDialogFixture;

TEST_F(SheetSaveFailureTest, TheSheetStopsAtTheFirstPageWhoseSaveFailsAndStaysOpen)
{
    OpenSheet();
    Type(CVelkarPage1::IdMight, "99");
    for (int tab : {1, 2, 3, 0})
        Tab(tab); // four pages created: Apply would save four times
    auto disk = std::make_unique<FullDisk>();
    Click(QDialogButtonBox::Ok);
    EXPECT_EQ(messages.Shown(), QStringList{FullDisk::Message(path)});
    EXPECT_EQ(disk->writes, 1) << "the pages after the failing one are not saved";
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(FileBytes(), opened);
    EXPECT_EQ(save.GetMight(N), 99) << "the window keeps the edit for the retry";

    messages.Clear();
    Click(QDialogButtonBox::Apply);
    EXPECT_EQ(messages.Shown(), QStringList{FullDisk::Message(path)});
    EXPECT_TRUE(sheet->isVisible());

    disk.reset();
    messages.Clear();
    Click(QDialogButtonBox::Ok);
    EXPECT_TRUE(messages.Shown().isEmpty());
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(FileBytes(), Expected([](SaveGame& s) { s.SetMight(N, 99); }));
}

TEST_F(SheetSaveFailureTest, TheSheetDoesNotOverwriteWhatTheGameWroteMeanwhile)
{
    OpenSheet();
    Type(CVelkarPage1::IdMight, "99");
    WriteAsTheGame(path, GoldOffset, "\x01\x02\x03\x04");
    const Bytes theirs = FileBytes();
    Click(QDialogButtonBox::Apply);
    EXPECT_EQ(messages.Shown(), QStringList{SaveGame::ChangedOnDiskMessage});
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(FileBytes(), theirs);
}

TEST_F(PartySaveFailureTest, ThePartyDialogsOkStaysOpenOnAFailedOrRefusedSave)
{
    OpenDialog();
    Type(PartyDialog::IdGold, "5");
    {
        const FullDisk disk;
        Click(PartyDialog::IdOk);
    }
    EXPECT_EQ(messages.Shown(), QStringList{FullDisk::Message(path)});
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(FileBytes(), opened);

    messages.Clear();
    WriteAsTheGame(path, GoldOffset, "\x01\x02\x03\x04");
    const Bytes theirs = FileBytes();
    Click(PartyDialog::IdOk);
    EXPECT_EQ(messages.Shown(), QStringList{SaveGame::ChangedOnDiskMessage});
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(FileBytes(), theirs);
}

TEST_F(PartySaveFailureTest, AReadOnlySaveSaysSoAndOkRefusesBeforeStoringAnything)
{
    // Permission bits do not stop root: the hook refuses the open for writing instead.
    File::SetFaultHook([](File::Operation operation, const std::filesystem::path&) {
        return operation == File::Operation::OpenForWriting ? EACCES : 0;
    });
    OpenDialog();
    File::SetFaultHook({});
    const QString why = QString::fromStdString(FileError::FromSystemCode(EACCES, path).Reason());
    EXPECT_EQ(dialog->windowTitle(), "save003.dod (read-only)");
    const auto* note = Control<QLabel>(PartyDialog::IdReadOnlyNote);
    EXPECT_EQ(note->isVisible() ? note->text() : "", "Opened for reading only: " + why + ". Nothing can be saved.");
    const int gold = Game().GetGold();
    Type(PartyDialog::IdGold, "5");
    Click(PartyDialog::IdOk);
    EXPECT_EQ(messages.Shown(), QStringList{"save003.dod is read-only: " + why + "; nothing was written."});
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(Game().GetGold(), gold);
    EXPECT_EQ(FileBytes(), opened);
}

} // namespace
