#include "model/Container.h"
#include "model/File.h"
#include "model/FileError.h"
#include "model/SaveGame.h"
#include "tests/support/Files.h"
#include "tests/support/SaveBuilder.h"
#include "tests/support/TempDirectory.h"

#ifndef _WIN32
#include "tests/support/Unprivileged.h"

#include <sys/stat.h>
#endif

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace {

// Raw containers for the lookup: a string of bytes, written as it stands.
class ContainerTest : public ::testing::Test {
protected:
    std::filesystem::path Write(const std::string& bytes)
    {
        // Appended, not "c" + ...: GCC 12 at -O3 takes that for an overlapping copy (-Wrestrict).
        std::string name = std::to_string(count++);
        name.insert(name.begin(), 'c');
        const auto path = dir / (name + ".dod");
        std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    std::optional<std::uint32_t> Find(const std::string& bytes, std::string_view name = "party.bin")
    {
        File file;
        file.Open(Write(bytes), File::Share::ReadWrite);
        return FindMember(file, name);
    }

    static std::string Unit(std::string_view text)
    {
        std::string u(text);
        u.resize(16, '\0');
        return u;
    }

    static std::string OffsetUnit(std::uint32_t offset, char fill = '\0')
    {
        std::string u(16, fill);
        for (int i = 0; i < 4; ++i)
            u[static_cast<std::size_t>(i)] = static_cast<char>(offset >> (8 * i));
        return u;
    }

    TempDirectory dir;
    int count = 0;
};

TEST_F(ContainerTest, NameUnitMatchesOnlyOnUnitBoundariesWithItsZeroByte)
{
    EXPECT_EQ(Find(Unit("party.bin") + OffsetUnit(0x01020304)), 0x01020304u);
    // Bytes after the terminating zero are not examined.
    EXPECT_EQ(Find(std::string("party.bin\0xyzuvw", 16) + OffsetUnit(77)), 77u);
    // Byte 9 must be the zero.
    EXPECT_EQ(Find(Unit("party.binX") + OffsetUnit(77)), std::nullopt);
    // The same text off a 16-byte boundary is never a name unit.
    EXPECT_EQ(Find(std::string(8, 'a') + Unit("party.bin") + OffsetUnit(5)), std::nullopt);
    EXPECT_EQ(Find(Unit("xparty.bin") + OffsetUnit(5)), std::nullopt);
    // The first of two name units wins.
    EXPECT_EQ(Find(Unit("a") + Unit("party.bin") + OffsetUnit(11) + Unit("party.bin") + OffsetUnit(22)), 11u);
}

TEST_F(ContainerTest, ShortFilesAndShortUnits)
{
    EXPECT_EQ(Find(""), std::nullopt);
    EXPECT_EQ(Find(Unit("party.bin")), std::nullopt);                         // no offset unit
    EXPECT_EQ(Find(Unit("party.bin") + std::string(3, '\x7')), std::nullopt); // offset unit of 3 bytes
    EXPECT_EQ(Find(Unit("party.bin") + std::string(4, '\x1')), 0x01010101u);  // 4 bytes are enough
    // A short last unit is compared on the bytes read only: "party.bin" without its zero.
    EXPECT_EQ(Find(Unit("z") + "party.bin"), std::nullopt);
    EXPECT_EQ(Find(Unit("z") + std::string("party.bin\0", 10)), std::nullopt);
}

TEST_F(ContainerTest, FindsMembersAcrossReadChunksAndFarIntoTheFile)
{
    // Name unit as the last unit of the first read, its offset unit in the next one.
    for (std::size_t at : {std::size_t{4096 - 16}, std::size_t{4096}, std::size_t{12288 - 16}, std::size_t{3} << 20}) {
        std::string bytes(at, '\x55');
        bytes += Unit("party.bin") + OffsetUnit(at);
        EXPECT_EQ(Find(bytes), at) << "name unit at " << at;
    }
}

TEST_F(ContainerTest, ReadsTheSaveNameThroughHeaderBin)
{
    const auto path = dir / "save003.dod";
    SaveBuilder("Before the Ogre Fortress").AddMemberBefore("clock.bin", 40).WriteTo(path);
    EXPECT_EQ(ReadSaveName(path), "Before the Ogre Fortress");

    // 32 characters without a zero: all of them.
    const std::string full(32, 'N');
    SaveBuilder(full).WriteTo(path);
    EXPECT_EQ(ReadSaveName(path), full);

    // No header.bin, or its name beyond the end of the file: listed with an empty name.
    EXPECT_EQ(ReadSaveName(Write(Unit("party.bin") + OffsetUnit(0))), "");
    EXPECT_EQ(ReadSaveName(Write(Unit("header.bin") + OffsetUnit(0xFFFFFF00u))), "");
    // Offsets are unsigned: the high bit does not make the position negative.
    EXPECT_EQ(ReadSaveName(Write(Unit("header.bin") + OffsetUnit(0x80000000u))), "");
}

TEST_F(ContainerTest, FilesThatCannotBeOpenedExclusivelyAreNotListed)
{
    EXPECT_EQ(ReadSaveName(dir / "missing.dod"), std::nullopt);
    std::filesystem::create_directory(dir / "folder.dod");
    EXPECT_EQ(ReadSaveName(dir / "folder.dod"), std::nullopt);

    const auto path = dir / "held.dod";
    SaveBuilder("Held").WriteTo(path);
    File holder;
    holder.Open(path, File::Share::Exclusive);
    EXPECT_EQ(ReadSaveName(path), std::nullopt);
    holder.Close();
    EXPECT_EQ(ReadSaveName(path), "Held");
}

#ifndef _WIN32
TEST_F(ContainerTest, ReadOnlySavesAreListedAndOpenedForReadingAndOnlyRegularFilesAreRead)
{
    namespace fs = std::filesystem;
    const fs::path save = dir / "save001.dod";
    SaveBuilder("From a disc").WriteTo(save);
    fs::permissions(save, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::create_symlink(save, dir / "link.dod");
    fs::create_symlink("/dev/zero", dir / "zero.dod");        // a read that never ends
    ASSERT_EQ(::mkfifo((dir / "fifo.dod").c_str(), 0644), 0); // one that never starts
    const std::vector<std::uint8_t> before = ReadBytes(save);
    const std::string report = RunUnprivileged([&] {
        std::string out;
        for (const char* name : {"save001.dod", "link.dod", "zero.dod", "fifo.dod"})
            out += ReadSaveName(dir / name).value_or("(not listed)") + "; ";
        SaveGame game;
        game.SetBackupHook([&](const fs::path&) { out += "copied; "; });
        out += game.Open(save) && game.IsReadOnly() ? "read-only; " : "writable; ";
        game.SetFood(5);
        try {
            game.Save();
        } catch (const std::exception& error) {
            out += error.what();
        }
        return out;
    });
    EXPECT_EQ(report, "From a disc; From a disc; (not listed); (not listed); read-only; "
                      "save001.dod is read-only: Permission denied; nothing was written.");
    EXPECT_EQ(ReadBytes(save), before);
}
#endif

TEST_F(ContainerTest, FileErrorsCarryTheSystemMessageAndThePath)
{
    File file;
    try {
        file.Open(dir / "nowhere.dod", File::Share::ReadWrite);
        FAIL() << "opening a missing file succeeded";
    } catch (const FileError& e) {
        const std::string what = e.what();
        EXPECT_NE(what.find("nowhere.dod"), std::string::npos) << what;
#ifndef _WIN32
        EXPECT_NE(what.find("No such file"), std::string::npos) << what;
#endif
    }
    EXPECT_FALSE(file.IsOpen());
}

} // namespace
