// The game may rewrite a saved game while Velkar holds it open, and disks fail. Save must
// then write nothing stale, say why, and leave both the file and the window as they were.
#include "model/FileError.h"
#include "tests/model/SavedGameFixture.h"
#include "tests/support/Files.h"

#ifndef _WIN32
#include "tests/support/FileSizeLimit.h"
#endif

#include <algorithm>
#include <array>
#include <cerrno>
#include <functional>
#include <span>

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int FoodOffset = 2136; // window offsets of party fields
constexpr int GoldOffset = 2148;
constexpr int BankOffset = 2152;

class SaveGameSafetyTest : public SavedGameFixture {
protected:
    ~SaveGameSafetyTest() override { File::SetFaultHook({}); }

    Bytes Window() const
    {
        const auto window = save.GetWindow();
        return {window.begin(), window.end()};
    }

    // Another program writing into the open file, as the game does.
    void WriteAsAnotherProgram(std::uint64_t position, std::span<const std::uint8_t> bytes) const
    {
        File other;
        other.Open(path, File::Share::ReadWrite);
        other.WriteAt(position, bytes.data(), bytes.size());
    }

    // Save must refuse with the message, and neither the file nor the window may change.
    void ExpectRefused()
    {
        const Bytes file = FileBytes();
        const Bytes window = Window();
        try {
            save.Save();
            ADD_FAILURE() << "Save wrote over a file another program changed";
        } catch (const FileError& error) {
            EXPECT_STREQ(error.what(), SaveGame::ChangedOnDiskMessage);
            EXPECT_EQ(error.Path(), path);
        }
        EXPECT_EQ(FileBytes(), file);
        EXPECT_EQ(Window(), window);
    }
};

TEST_F(SaveGameSafetyTest, AnotherProgramWritingIntoTheWindowStopsSave)
{
    ASSERT_TRUE(Create());
    save.SetFood(1234);
    const std::uint8_t theirs[4] = {9, 9, 9, 9};
    // Its last byte: every byte of the stretch is compared, not a sample.
    WriteAsAnotherProgram(partyOffset + save.GetWindowSize() - 4, theirs);
    ExpectRefused();
    ExpectRefused(); // and keeps refusing: the stale window never reaches the file

    // Reload takes the file as it now is; editing and saving then works again.
    save.Reload();
    save.SetFood(1234);
    save.Save();
    EXPECT_EQ(FileValue(FoodOffset, 4), 1234);
    EXPECT_EQ(FileValue(static_cast<int>(save.GetWindowSize()) - 4, 4), 0x09090909);
}

#ifndef _WIN32 // Windows refuses to replace or remove a file held open without delete sharing
TEST_F(SaveGameSafetyTest, EveryKindOfEditKeepsWhatTheFileHeldBeforeIt)
{
    // The baseline is copied at the first change of the window, whichever operation makes it
    // (a number, a text, a spell group, an inventory change, or none): a save of our own
    // edits goes through, and one over another program's bytes does not.
    const std::uint8_t theirs[2] = {0x5A, 0xA5};
    const std::vector<std::function<void(SaveGame&, int)>> edits = {
        [](SaveGame&, int) {},
        [](SaveGame& s, int v) { s.SetMight(3, v); },
        [](SaveGame& s, int v) { s.SetName(3, "Other" + std::to_string(v)); },
        [](SaveGame& s, int v) {
            s.SetSpellsFire(3, std::array<std::uint8_t, 11>{1, static_cast<std::uint8_t>(v)});
        },
        [](SaveGame& s, int v) { s.AddInventoryItem(3, InventoryItem{.ItemNumber = v}); },
    };
    ASSERT_TRUE(Create());
    for (std::size_t i = 0; i < edits.size(); ++i) {
        edits[i](save, 10);
        EXPECT_NO_THROW(save.Save()) << "edit " << i;
        edits[i](save, 20);
        EXPECT_NO_THROW(save.Save()) << "edit " << i << ", after a save";
        edits[i](save, 30);
        WriteAsAnotherProgram(partyOffset + 400 + i, theirs);
        ExpectRefused();
        save.Reload();
    }
}

TEST_F(SaveGameSafetyTest, ANewFileRenamedOverTheSaveStopsSave)
{
    ASSERT_TRUE(Create());
    save.SetGold(777);
    // The same bytes, as a new file: only its identity differs from the one held open.
    const auto fresh = dir / "save000.tmp";
    WriteBytes(fresh, original);
    std::filesystem::rename(fresh, path);
    ExpectRefused();
    EXPECT_EQ(FileBytes(), original);

    std::filesystem::remove(path);
    EXPECT_THROW(save.Save(), FileError) << "a removed file is not written either";
    EXPECT_FALSE(std::filesystem::exists(path));
}
#endif

TEST_F(SaveGameSafetyTest, APartyBinThatMovedStopsSave)
{
    ASSERT_TRUE(Create());
    save.SetBank(4321);
    // The game wrote a container with one more member in front of party.bin: the data
    // moved, and the stale offset would land in the middle of something else.
    SaveBuilder moved;
    moved.AddMemberBefore("extra.bin", 4096);
    ASSERT_NE(moved.PartyOffset(), partyOffset);
    Bytes bytes = moved.Build();
    bytes.resize(std::max(bytes.size(), FileBytes().size()));
    WriteBytes(path, bytes);
    ExpectRefused();
}

TEST_F(SaveGameSafetyTest, WritesOutsideTheWindowOrOfTheSameBytesDoNotStopSave)
{
    ASSERT_TRUE(Create());
    save.SetFood(55);
    // The game rewrote another member (before the window) and rewrote the window with what
    // it already held: nothing Save would overwrite was changed.
    const std::uint8_t name[] = {'N', 'e', 'w'};
    const std::uint64_t nameAt = partyOffset - 200;
    WriteAsAnotherProgram(nameAt, name);
    WriteAsAnotherProgram(partyOffset, std::span(original).subspan(partyOffset, save.GetWindowSize()));
    save.Save();
    const Bytes now = FileBytes();
    EXPECT_TRUE(std::equal(std::begin(name), std::end(name), now.begin() + static_cast<std::ptrdiff_t>(nameAt)));
    EXPECT_EQ(FileValue(FoodOffset, 4), 55);

    // What Save wrote is the new baseline: a second Save after more edits goes through.
    save.SetFood(56);
    save.Save();
    EXPECT_EQ(FileValue(FoodOffset, 4), 56);
}

TEST_F(SaveGameSafetyTest, ACharactersSaveWritesItsOwnBytesOnlyAndKeepsTheCheckWhole)
{
    ASSERT_TRUE(Create());
    // Character 50's own bytes run from its condition table to the byte before the roster.
    constexpr int Own50 = 2828 + 49 * 7464;
    constexpr int Roster = 376028;
    static_assert(Own50 + 7464 == Roster);
    const Bytes before(save.GetCharacterBytes(50).begin(), save.GetCharacterBytes(50).end());
    save.SetFood(77);
    save.SetMight(50, 345);
    save.SetConditionZombie(50, 1, {});
    save.SetPartyMember5(49);
    save.SaveCharacter(50);
    Bytes file = FileBytes();
    for (std::size_t i = 0; i < file.size(); ++i) {
        const auto w = static_cast<std::int64_t>(i) - partyOffset;
        if (file[i] != original[i]) {
            EXPECT_TRUE(w >= Own50 && w < Roster) << "window byte " << w;
        }
    }
    EXPECT_EQ(FileValue(Own50 + 4 + 848, 2), 345);

    // Another program's bytes anywhere in the window stop a character's save too; after our
    // own partial write, the party's whole save is not mistaken for one.
    save.Save();
    EXPECT_EQ(FileValue(FoodOffset, 4), 77);
    save.SetMight(1, 9);
    const std::uint8_t theirs[2] = {0x5A, 0xA5};
    WriteAsAnotherProgram(partyOffset + Roster + 10, theirs);
    file = FileBytes();
    EXPECT_THROW(save.SaveCharacter(1), FileError);
    EXPECT_EQ(FileBytes(), file);

    // Putting the bytes back undoes every edit of the character and nothing else.
    save.RestoreCharacterBytes(50, before);
    const auto own = save.GetCharacterBytes(50);
    EXPECT_EQ(Bytes(own.begin(), own.end()), before);
    EXPECT_EQ(save.GetFood(), 77);
    EXPECT_EQ(save.GetPartyMember5(), 49);
    EXPECT_THROW(save.RestoreCharacterBytes(50, std::span(before).first(10)), std::invalid_argument);
}

#ifndef _WIN32 // a file size limit is POSIX's way to fail a write, even for root
TEST_F(SaveGameSafetyTest, AWriteThatFailsPartWayLetsTheUserRetry)
{
    ASSERT_TRUE(Create());
    save.SetFood(0x0A0B0C0D);
    save.SetBank(0x01020304);
    const Bytes window = Window();
    {
        // The food reaches the file, the bank does not.
        const FileSizeLimit limit(partyOffset + FoodOffset + 4);
        EXPECT_THROW(save.Save(), FileError);
    }
    EXPECT_EQ(Window(), window);
    EXPECT_EQ(FileValue(FoodOffset, 4), 0x0A0B0C0D);
    EXPECT_NE(FileValue(BankOffset, 4), 0x01020304);

    // The half-written file is ours, not another program's: the retry writes the rest.
    save.Save();
    Bytes expected = original;
    std::copy_n(window.begin(), save.GetWindowSize(), expected.begin() + partyOffset);
    EXPECT_EQ(FileBytes(), expected);
}
#endif

TEST_F(SaveGameSafetyTest, TheBackupHookRunsOnceAfterEachOpenBeforeTheFirstWriteAndAFailingOneStopsIt)
{
    const std::uint8_t theirs[4] = {0x77, 0x66, 0x55, 0x44};
    const std::vector<std::function<void(SaveGame&)>> writes = {
        [](SaveGame& s) { s.Save(); },
        [](SaveGame& s) { s.SaveCharacter(3); },
    };
    for (std::size_t i = 0; i < writes.size(); ++i) {
        ASSERT_TRUE(Create());
        std::vector<Bytes> copies; // the file as each run of the hook found it
        bool fail = true;
        save.SetBackupHook([&](const std::filesystem::path& file) {
            EXPECT_EQ(file, path);
            copies.push_back(FileBytes());
            if (fail)
                throw FileError::Detected("no room", file);
        });
        save.SetMight(3, 100);
        EXPECT_THROW(writes[i](save), FileError) << "write " << i;
        EXPECT_EQ(FileBytes(), original) << "write " << i << ": a failing hook stops the write";
        fail = false;
        writes[i](save);
        save.SetMight(3, 200);
        writes[i](save);
        EXPECT_EQ(copies, (std::vector{original, original})) << "write " << i;
        EXPECT_EQ(FileValue(2828 + 2 * 7464 + 4 + 848, 2), 200);

        const Bytes written = FileBytes();
        ASSERT_TRUE(save.Open(path));
        save.SetMight(3, 300);
        writes[i](save);
        ASSERT_EQ(copies.size(), 3u) << "write " << i;
        EXPECT_EQ(copies.back(), written) << "write " << i << ": once more after Open";

        // The game writes while the copy is being made: the check right before the write sees it.
        ASSERT_TRUE(save.Open(path));
        save.SetMight(3, 400);
        save.SetBackupHook(
            [&](const std::filesystem::path&) { WriteAsAnotherProgram(partyOffset + FoodOffset, theirs); });
        try {
            writes[i](save);
            ADD_FAILURE() << "write " << i << " went over what the game wrote";
        } catch (const FileError& error) {
            EXPECT_STREQ(error.what(), SaveGame::ChangedOnDiskMessage);
        }
        EXPECT_EQ(FileValue(FoodOffset, 4), 0x44556677) << "write " << i;
    }
}

TEST_F(SaveGameSafetyTest, AFailedReadOrFlushIsReportedAndWritesNothingUnasked)
{
    ASSERT_TRUE(Create());
    save.SetGold(31337);
    const Bytes window = Window();
    std::vector<File::Operation> calls;
    int failOn = static_cast<int>(File::Operation::Read);
    File::SetFaultHook([&](File::Operation operation, const std::filesystem::path& file) {
        EXPECT_EQ(file, path);
        calls.push_back(operation);
        return static_cast<int>(operation) == failOn ? EIO : 0;
    });

    // The check before writing cannot read the file: nothing is written.
    try {
        save.Save();
        ADD_FAILURE() << "a failed read was reported as success";
    } catch (const FileError& error) {
        EXPECT_STREQ(error.what(), FileError::FromSystemCode(EIO, path).what());
    }
    EXPECT_EQ(std::count(calls.begin(), calls.end(), File::Operation::Write), 0);
    EXPECT_EQ(FileBytes(), original);
    EXPECT_EQ(Window(), window);

    // The bytes are written but the disk does not confirm them: reported, and a retry works.
    failOn = static_cast<int>(File::Operation::Flush);
    calls.clear();
    EXPECT_THROW(save.Save(), FileError);
    EXPECT_NE(std::find(calls.begin(), calls.end(), File::Operation::Flush), calls.end());
    EXPECT_EQ(FileValue(GoldOffset, 4), 31337);

    failOn = -1;
    calls.clear();
    save.Save();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back(), File::Operation::Flush) << "Save returns only after the flush";
    EXPECT_EQ(std::count(calls.begin(), calls.end(), File::Operation::Write), 1);
}

} // namespace
