// The copies a saved game gets before Velkar changes it: where they go, what stops a write,
// which survive, and putting one back.
#include "game/Backups.h"
#include "model/File.h"
#include "model/FileError.h"
#include "model/SaveGame.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/Files.h"
#include "tests/support/SaveBuilder.h"
#include "tests/support/TempDirectory.h"
#include "tests/support/TempWinePrefix.h"

#include <QCryptographicHash>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <optional>

namespace {

using Bytes = std::vector<std::uint8_t>;

class BackupsTest : public ::testing::Test {
protected:
    BackupsTest()
    {
        // The data folder of the test mode lies under HOME.
        setenv("HOME", home.c_str(), 1);
        std::filesystem::create_directories(game / "MM8" / "Saves");
        SaveBuilder("Ravenshore").WriteTo(save);
        original = ReadBytes(save);
    }
    ~BackupsTest() override { File::SetFaultHook({}); }

    // The file names in the folder, sorted.
    static std::vector<std::string> Names(const std::filesystem::path& folder)
    {
        std::vector<std::string> names;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(folder, error))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    std::filesystem::path Folder() const
    {
        const std::string key = (game / "MM8").string();
        const QByteArray hash =
            QCryptographicHash::hash(QByteArray::fromStdString(key), QCryptographicHash::Sha256).toHex().left(8);
        return home / ".qttest" / "share" / "Velkar" / "backups" / ("MM8-" + hash.toStdString());
    }

    TempWinePrefix prefix;
    std::filesystem::path home = prefix.MakeFolder("home");
    TempDirectory game;
    std::filesystem::path save = game / "MM8" / "Saves" / "save000.dod";
    Bytes original;
};

TEST_F(BackupsTest, TheFirstWriteOfASessionCopiesTheFileIntoTheUsersDataFolderOnly)
{
    ASSERT_EQ(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString(),
              (home / ".qttest" / "share").string());
    SaveGame game1;
    game1.SetBackupHook([](const std::filesystem::path& file) { Backups::Make(file); });
    ASSERT_TRUE(game1.Open(save));
    for (const int gold : {100, 200}) {
        game1.SetGold(gold);
        game1.Save();
    }
    const std::vector<Backups::Entry> made = Backups::List(save);
    ASSERT_EQ(made.size(), 1u);
    EXPECT_EQ(made[0].path.parent_path(), Folder());
    EXPECT_EQ(made[0].path.filename().string(),
              "save000.dod." + made[0].time.toString("yyyy-MM-dd'T'HH-mm-ss").toStdString() + ".bak");
    EXPECT_LE(std::abs(made[0].time.secsTo(QDateTime::currentDateTime())), 2);
    EXPECT_EQ(ReadBytes(made[0].path), original);
    EXPECT_EQ(made[0].size, original.size());
    const Bytes folderText = ReadBytes(Folder() / "folder.txt");
    EXPECT_EQ(std::string(folderText.begin(), folderText.end()), (game / "MM8").string() + "\n");
    EXPECT_EQ(Names(game / "MM8"), std::vector<std::string>{"Saves"});
    EXPECT_EQ(Names(game / "MM8" / "Saves"), std::vector<std::string>{"save000.dod"});

    // A name already taken this second (and the next two) gets -1.
    for (int s = 0; s < 3; ++s) {
        const QString stamp = QDateTime::currentDateTime().addSecs(s).toString("yyyy-MM-dd'T'HH-mm-ss");
        WriteBytes(Folder() / ("save000.dod." + stamp.toStdString() + ".bak"), {});
    }
    EXPECT_TRUE(Backups::Make(save).filename().string().ends_with("-1.bak"));
    QStringList labels; // and looks different from the first of its second
    for (const Backups::Entry& entry : Backups::List(save))
        labels.append(Backups::Label(entry));
    EXPECT_EQ(labels.removeDuplicates(), 0) << labels.join(", ").toStdString();
}

TEST_F(BackupsTest, ACopyThatFailsWritesNothingAndSaysWhy)
{
    struct Fault {
        const char* name;
        int code;
        std::function<std::optional<FileSizeLimit>()> start;
    };
    const Fault faults[] = {
        // Low enough for the copy, high enough for the character's bytes the write would write.
        {"a file size limit", EFBIG,
         [] { return std::optional<FileSizeLimit>(std::in_place, SaveBuilder().PartyOffset() + 20000); }},
        {"a failing write of the copy", EIO,
         [] {
             File::SetFaultHook([](File::Operation operation, const std::filesystem::path& file) {
                 return operation == File::Operation::Write && file.extension() == ".part" ? EIO : 0;
             });
             return std::optional<FileSizeLimit>();
         }},
    };
    for (const Fault& fault : faults) {
        SaveGame game1;
        game1.SetBackupHook([](const std::filesystem::path& file) { Backups::Make(file); });
        ASSERT_TRUE(game1.Open(save));
        game1.SetMight(1, 321);
        try {
            const std::optional<FileSizeLimit> limit = fault.start();
            game1.SaveCharacter(1);
            ADD_FAILURE() << fault.name << ": written without a copy";
        } catch (const FileError& error) {
            EXPECT_EQ(std::string(error.what()), "Velkar could not back up save000.dod before changing it: " +
                                                     FileError::FromSystemCode(fault.code, save).Reason() +
                                                     ". Nothing was written.")
                << fault.name;
        }
        File::SetFaultHook({});
        EXPECT_EQ(ReadBytes(save), original) << fault.name;
        EXPECT_EQ(Names(Folder()), std::vector<std::string>{"folder.txt"}) << fault.name << ": no copy is left";
    }
}

TEST_F(BackupsTest, PruningKeepsTheNewestTwentyAndTheOldest)
{
    std::filesystem::create_directories(Folder());
    const QDateTime start = QDateTime::currentDateTime().addDays(-1);
    std::vector<std::string> expected;
    for (int i = 0; i < 30; ++i) {
        const std::string name =
            "save000.dod." + start.addSecs(60 * i).toString("yyyy-MM-dd'T'HH-mm-ss").toStdString() + ".bak";
        WriteBytes(Folder() / name,
                   i == 11 ? SaveBuilder("Second oldest").Build() : Bytes(static_cast<std::size_t>(i), 0));
        if (i == 0 || i >= 11)
            expected.push_back(name);
    }
    const std::vector<std::string> others = {"folder.txt", "notes.txt", "save001.dod.2001-01-01T00-00-00.bak"};
    for (const std::string& other : others)
        WriteBytes(Folder() / other, {});
    const std::filesystem::path made = Backups::Make(save);
    expected.push_back(made.filename().string());
    expected.insert(expected.end(), others.begin(), others.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Names(Folder()), expected);
    EXPECT_EQ(Backups::List(save).size(), 21u);
    EXPECT_EQ(Backups::List(save).back().path, made);

    // Restoring the second oldest copies the file first; that copy's pruning keeps both.
    const std::filesystem::path secondOldest = Backups::List(save)[1].path;
    const std::filesystem::path before = Backups::Restore(save, secondOldest);
    EXPECT_EQ(Backups::List(save).back().path, before);
    EXPECT_EQ(ReadBytes(save), ReadBytes(secondOldest));
    EXPECT_EQ(Backups::List(save).size(), 22u);
}

TEST_F(BackupsTest, RestoreWritesTheCopyOverTheSameFileAfterCopyingIt)
{
    Bytes older = SaveBuilder("Older").RemoveMembersAfter().Build();
    ASSERT_LT(older.size(), original.size()) << "the file must shrink to the copy's size";
    std::filesystem::create_directories(Folder());
    const auto copy = Folder() / "save000.dod.2001-01-01T00-00-00.bak";
    WriteBytes(copy, older);
    const auto junk = Folder() / "save000.dod.2001-01-01T00-00-01.bak";
    WriteBytes(junk, Bytes(5000, 'x'));

    try {
        Backups::Restore(save, junk);
        ADD_FAILURE() << "restored a copy that holds no saved game";
    } catch (const FileError& error) {
        EXPECT_STREQ(error.what(), "This backup is not a saved game.");
    }
    EXPECT_EQ(ReadBytes(save), original);
    EXPECT_EQ(Backups::List(save).size(), 2u) << "nothing is copied for a refused restore";

    File held;
    held.Open(save, File::Share::ReadWrite);
    const std::filesystem::path before = Backups::Restore(save, copy);
    EXPECT_EQ(ReadBytes(save), older);
    EXPECT_EQ(ReadBytes(before), original);
    EXPECT_TRUE(held.IsNamedBy(save)) << "the same file, not a new one in the game folder";
    EXPECT_EQ(Names(game / "MM8" / "Saves"), std::vector<std::string>{"save000.dod"});
}

} // namespace
