#include "model/FileError.h"
#include "tests/model/SavedGameFixture.h"
#include "tests/support/Files.h"
#include "tests/support/LittleEndian.h"

#ifndef _WIN32
#include "tests/support/FileSizeLimit.h"
#endif

#include <algorithm>
#include <fstream>

namespace {

using SaveGameFileTest = SavedGameFixture;

TEST_F(SaveGameFileTest, OpenAndSaveLeaveTheFileByteForByte)
{
    ASSERT_TRUE(Create());
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(save.GetDataOffset(), partyOffset);
    EXPECT_EQ(save.GetWindowSize(), 400000u);
    EXPECT_TRUE(save.GetItemTable().IsFilled());
    EXPECT_TRUE(save.GetAwardTable().IsFilled());
    EXPECT_GT(original.size(), partyOffset + 400000u + 100000u) << "the container runs well past the window";
    EXPECT_TRUE(SaveAndDiff().empty());
    save.Save();
    EXPECT_EQ(FileBytes(), original);
}

TEST_F(SaveGameFileTest, AnEditChangesOnlyItsBytesAtTheStoredOffset)
{
    // A long directory moves party.bin's data; window byte 0 sits at the stored offset itself.
    SaveBuilder builder;
    for (int i = 0; i < 20; ++i)
        builder.AddMemberBefore("map" + std::to_string(i) + ".odm", 1000 + 37 * i);
    ASSERT_TRUE(Create(builder));
    ASSERT_EQ(save.GetDataOffset(), builder.PartyOffset());
    save.SetGold(0x11223344);
    EXPECT_EQ(SaveAndDiff(), Range(2148, 2151)); // party record at 332, gold at +1816
    EXPECT_EQ(FileValue(2148, 4), 0x11223344);
}

TEST_F(SaveGameFileTest, AShortWindowIsWrittenBackWithinTheBytesRead)
{
    // The file ends right after the roster: the smallest window that opens.
    SaveBuilder builder;
    builder.RemoveMembersAfter().WriteTo(path);
    partyOffset = builder.PartyOffset();
    std::filesystem::resize_file(path, partyOffset + 376052);
    original = FileBytes();
    ASSERT_TRUE(save.Open(path));
    ASSERT_EQ(save.GetWindowSize(), 376052u);
    save.SetPartyMemberCount(3);
    for (int n = 1; n <= 50; ++n) {
        save.SetSpellPoints(n, -n);
        save.SetName(n, "Short");
    }
    save.Save();
    EXPECT_EQ(FileBytes().size(), original.size());
    EXPECT_EQ(FileValue(376048, 4), 3);
    EXPECT_EQ(FileValue(2832 + 49 * 7464 + 7160, 4), -50);
}

TEST_F(SaveGameFileTest, ContainersWithoutPartyBinAreRefused)
{
    for (const std::string& content : {std::string(), std::string("not a container at all"), std::string(4096, '\0')}) {
        messages.clear();
        std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
        SaveGame other;
        EXPECT_FALSE(other.Open(path));
        EXPECT_EQ(messages, std::vector<std::string>{"Invalid save game file."});
        EXPECT_FALSE(other.IsOpen());
        EXPECT_FALSE(other.GetItemTable().IsFilled()) << "a failed Open leaves the tables empty";
        EXPECT_THROW(other.GetGold(), std::out_of_range);
    }
}

TEST_F(SaveGameFileTest, TooLittleDataAfterTheOffsetIsRefused)
{
    // The roster ends at window byte 376051: one byte less and nothing can be edited safely.
    SaveBuilder builder;
    auto bytes = builder.Build();
    bytes.resize(builder.PartyOffset() + 376051);
    WriteBytes(path, bytes);
    EXPECT_FALSE(save.Open(path));
    EXPECT_EQ(messages, std::vector<std::string>{"Invalid save game file."});
}

TEST_F(SaveGameFileTest, APartyBinEntryPointingPastTheEndOrIntoItsOwnDataIsRefused)
{
    // Past the end: nothing to read there. At 0: the window would hold the directory entry
    // itself where the party record lies, and the first edit would destroy the container.
    for (const std::uint32_t offset : {0x7FFFFFF0u, 0u, 4u}) {
        auto bytes = SaveBuilder().Build();
        const std::string name = "party.bin";
        const auto at =
            static_cast<std::size_t>(std::search(bytes.begin(), bytes.end(), name.begin(), name.end()) - bytes.begin());
        ASSERT_LT(at, 1024u) << "party.bin's directory entry";
        StoreLE(bytes, at + 16, 4, offset);
        WriteBytes(path, bytes);
        messages.clear();
        SaveGame other;
        EXPECT_FALSE(other.Open(path)) << offset;
        EXPECT_EQ(messages, std::vector<std::string>{"Invalid save game file."}) << offset;
    }
}

TEST_F(SaveGameFileTest, AReopenedGameKeepsNothingOfTheOneBefore)
{
    // A short window of other bytes, edited and never saved, then a full one in the same object.
    SaveBuilder builder;
    auto bytes = builder.SetSeed(7).Build();
    bytes.resize(builder.PartyOffset() + 376052);
    WriteBytes(dir / "short.dod", bytes);
    ASSERT_TRUE(save.Open(dir / "short.dod"));
    save.SetFood(1);
    ASSERT_TRUE(Create());
    EXPECT_EQ(save.GetWindowSize(), 400000u);
    save.SetGold(0x11223344);
    EXPECT_EQ(SaveAndDiff(), Range(2148, 2151));
}

TEST_F(SaveGameFileTest, FileFailuresAreRaisedAsFileErrors)
{
    EXPECT_THROW(save.Open(dir / "missing.dod"), FileError);
    std::filesystem::create_directory(dir / "folder.dod");
    EXPECT_THROW(save.Open(dir / "folder.dod"), FileError);
    EXPECT_TRUE(messages.empty()) << "file errors are not \"Invalid save game file.\"";
}

#ifndef _WIN32 // a file size limit is POSIX's way to fail a write, even for root
TEST_F(SaveGameFileTest, AFailedWriteThrowsAndKeepsTheWindow)
{
    ASSERT_TRUE(Create());
    save.SetFood(0x01020304);
    {
        const FileSizeLimit limit(1000); // below the window: the write fails, even for root
        EXPECT_THROW(save.Save(), FileError);
    }
    EXPECT_EQ(save.GetFood(), 0x01020304);
    EXPECT_EQ(SaveAndDiff(), Range(2136, 2139)) << "the next Save writes it";
}
#endif

TEST_F(SaveGameFileTest, ReloadDiscardsEditsAndTheFileStaysShared)
{
    ASSERT_TRUE(Create());
    const int food = save.GetFood();
    save.SetFood(food + 1);
    const auto name = save.GetName(1);
    const auto fire = save.GetSpellsFire(1);
    save.SetName(1, "Renamed");
    save.Reload();
    EXPECT_EQ(save.GetFood(), food);
    EXPECT_EQ(name, SaveBuilder::DefaultCharacterName(1)) << "views stay valid across Reload";
    EXPECT_EQ(fire[0], 0);

    // The game may hold the file meanwhile: another program can open it for writing.
    File other;
    EXPECT_NO_THROW(other.Open(path, File::Share::ReadWrite));
    const unsigned char seven[4] = {7, 0, 0, 0};
    other.WriteAt(partyOffset + 2136, seven, sizeof seven);
    save.Reload();
    EXPECT_EQ(save.GetFood(), 7);
}

} // namespace
