#include "GameFolderLocator.h"

#include "RegistryKey.h"
#include "TempWinePrefix.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

class GameFolderLocatorTest : public testing::Test {
protected:
    TempWinePrefix prefix;
    fs::path driveC;

    void SetUp() override
    {
        driveC = prefix.MakeFolder("drive_c");
        prefix.LinkDrive("c:", "../drive_c");
    }
};

TEST_F(GameFolderLocatorTest, TheFirstKeyNamingAnExistingFolderWins)
{
    // The game's own key in the 32-bit view of a 64-bit prefix, the others where 32-bit
    // installers of a 32-bit prefix leave them.
    prefix.WriteSystemReg(R"(WINE REGISTRY Version 2
#arch=win64

[Software\\Wow6432Node\\New World Computing\\Might and Magic Day of the Destroyer\\1.0] 1699999999
"AppPath"="C:\\Program Files (x86)\\3DO\\Might and Magic VIII"

[Software\\Wow6432Node\\GOG.com\\GOGMM8] 1699999999
"PATH"="C:\\GOG Games\\Might and Magic 8"

[Software\\Wow6432Node\\New World Computing\\Might and Magic VII\\1.0] 1699999999
"AppPath"="C:\\Program Files (x86)\\3DO\\Might and Magic VII"
)");
    const fs::path own = prefix.MakeFolder("drive_c/Program Files (x86)/3DO/Might and Magic VIII");
    const fs::path gog = prefix.MakeFolder("drive_c/GOG Games/Might and Magic 8");
    const fs::path previous = prefix.MakeFolder("drive_c/Program Files (x86)/3DO/Might and Magic VII");

    EXPECT_EQ(GameFolderLocator::Find(), own.string());
    fs::remove(own);
    EXPECT_EQ(GameFolderLocator::Find(), gog.string());
    fs::remove(gog);
    EXPECT_EQ(GameFolderLocator::Find(), previous.string());

    RegistryKey registry(RegistryKey::LocalMachine());
    fs::remove(previous);
    EXPECT_EQ(GameFolderLocator::Find(registry), "");
    EXPECT_EQ(registry.KeyName(), "Software\\New World Computing\\Might and Magic VII\\1.0");
}

TEST_F(GameFolderLocatorTest, KeysOrValuesMissingAreSkipped)
{
    prefix.WriteSystemReg(R"(WINE REGISTRY Version 2

[Software\\New World Computing\\Might and Magic Day of the Destroyer\\1.0] 1
"Path"="C:\\Wrong value name"
"AppPath"="C:\\Long)" + std::string(300, 'x') +
                          R"("

[Software\\New World Computing\\Might and Magic VII\\1.0] 1
"AppPath"="C:\\MM7"
)");
    prefix.MakeFolder("drive_c/Wrong value name");
    const fs::path previous = prefix.MakeFolder("drive_c/MM7");
    EXPECT_EQ(GameFolderLocator::Find(), previous.string());

    prefix.WriteSystemReg("WINE REGISTRY Version 2\n");
    EXPECT_EQ(GameFolderLocator::Find(), "");
}

TEST_F(GameFolderLocatorTest, MapsDrivesThroughDosdevices)
{
    const fs::path game = prefix.MakeFolder("drive_c/GOG Games/Might and Magic 8");
    EXPECT_EQ(GameFolderLocator::NativeFolder("C:\\GOG Games\\Might and Magic 8"), game.string());
    EXPECT_EQ(GameFolderLocator::NativeFolder("c:/GOG Games/Might and Magic 8\\"), game.string());
    // Names compare without regard to case, as on Windows.
    EXPECT_EQ(GameFolderLocator::NativeFolder("C:\\gog games\\MIGHT AND MAGIC 8"), game.string());
    EXPECT_EQ(GameFolderLocator::NativeFolder("C:\\"), driveC.string());
    EXPECT_EQ(GameFolderLocator::NativeFolder("C:"), driveC.string());

    // An absolute link target, and a link named in upper case.
    const fs::path other = prefix.MakeFolder("elsewhere/Data");
    prefix.LinkDrive("E:", prefix.Path() / "elsewhere");
    EXPECT_EQ(GameFolderLocator::NativeFolder("e:\\Data"), other.string());

    // Windows-1252 text names a UTF-8 folder.
    const fs::path accented = prefix.MakeFolder("drive_c/Caf\xC3\xA9");
    EXPECT_EQ(GameFolderLocator::NativeFolder("C:\\Caf\xE9"), accented.string());
}

TEST_F(GameFolderLocatorTest, PathsThatDoNotMapToAFolderAreEmpty)
{
    prefix.MakeFolder("drive_c/Games");
    std::ofstream(driveC / "file.txt") << "not a folder";
    for (const char* path : {"", "C", "\\\\server\\share\\Games", "C:Games", "Q:\\Games", "1:\\Games",
                             "C:\\Missing", "C:\\file.txt", "/tmp"})
        EXPECT_EQ(GameFolderLocator::NativeFolder(path), "") << path;

    fs::remove(prefix.Path() / "dosdevices" / "c:");
    EXPECT_EQ(GameFolderLocator::NativeFolder("C:\\Games"), "");
}

TEST(GameFolderLocatorPaths, JoinsAsPlainText)
{
    EXPECT_EQ(GameFolderLocator::SaveFileName(0), "save000.dod");
    EXPECT_EQ(GameFolderLocator::SaveFileName(39), "save039.dod");
    EXPECT_EQ(GameFolderLocator::SavePath("", 0), "/Saves/save000.dod");
    EXPECT_EQ(GameFolderLocator::SavePath("/games/mm8", 7), "/games/mm8/Saves/save007.dod");
    // No separator is added or removed.
    EXPECT_EQ(GameFolderLocator::SavePath("/games/mm8/", 39), "/games/mm8//Saves/save039.dod");
    EXPECT_EQ(GameFolderLocator::SavePath("/games/mm8", "save012.dod"), "/games/mm8/Saves/save012.dod");
    EXPECT_EQ(GameFolderLocator::SavePath("", "save012.dod"), "/Saves/save012.dod");
}

} // namespace
