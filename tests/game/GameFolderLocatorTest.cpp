#include "game/GameFolderLocator.h"

#include "game/RegistryKey.h"
#include "game/WinePrefixFinder.h"
#include "tests/support/TempDirectory.h"
#include "tests/support/TempWinePrefix.h"
#include "tests/support/WinePrefixWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kGog = "Software\\GOG.com\\GOGMM8";
constexpr std::string_view kGog32 = "Software\\Wow6432Node\\GOG.com\\GOGMM8";
constexpr std::string_view kPrevious = "Software\\New World Computing\\Might and Magic VII\\1.0";

// "{home}" in a manager's settings stands for the home folder.
std::string WithHome(std::string text, const fs::path& home)
{
    for (std::size_t at = text.find("{home}"); at != std::string::npos; at = text.find("{home}", at))
        text.replace(at, 6, home.string());
    return text;
}

void WriteFile(const fs::path& file, const std::string& text)
{
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

std::vector<std::string> Listed(const std::vector<GameFolderLocator::FoundGame>& games)
{
    std::vector<std::string> listed;
    for (const auto& game : games)
        listed.push_back(game.folder.string() + " | " + game.source);
    return listed;
}

class GameFolderLocatorTest : public testing::Test {
protected:
    TempWinePrefix prefix;
    fs::path driveC;

    void SetUp() override
    {
        driveC = prefix.MakeFolder("drive_c");
        prefix.LinkDrive("c:", "../drive_c");
        setenv("HOME", prefix.MakeFolder("home").c_str(), 1); // no other prefixes
    }
};

TEST_F(GameFolderLocatorTest, TheFirstKeyNamingAnExistingFolderWins)
{
    // The game's own key in the 32-bit view of a 64-bit prefix, the others where 32-bit
    // installers of a 32-bit prefix leave them.
    prefix.WriteSystemReg(R"(WINE REGISTRY Version 2
#arch=win64

[Software\\New World Computing\\Might and Magic Day of the Destroyer\\1.0] 1699999999
"AppPath"="C:\\64-bit view"

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
    const fs::path otherView = prefix.MakeFolder("drive_c/64-bit view");

    RegistryKey registry(RegistryKey::LocalMachine());
    for (const fs::path& expected : {own, gog, previous}) {
        EXPECT_EQ(GameFolderLocator::Find(), expected);
        EXPECT_EQ(GameFolderLocator::Find(registry), expected);
        fs::remove(expected);
        fs::remove(otherView);
    }
    EXPECT_EQ(GameFolderLocator::Find(registry), fs::path());
    EXPECT_EQ(registry.KeyName(), kPrevious);
    EXPECT_EQ(GameFolderLocator::Find(), fs::path());
}

TEST_F(GameFolderLocatorTest, KeysOrValuesMissingAreSkipped)
{
    prefix.WriteSystemReg(R"(WINE REGISTRY Version 2

[Software\\New World Computing\\Might and Magic Day of the Destroyer\\1.0] 1
"Path"="C:\\Wrong value name"
"AppPath"="C:\\Long)" + std::string(100, 'x') +
                          R"("

[Software\\New World Computing\\Might and Magic VII\\1.0] 1
"AppPath"="C:\\MM7"
)");
    prefix.MakeFolder("drive_c/Wrong value name");
    prefix.MakeFolder("drive_c/Long" + std::string(100, 'x'));
    const fs::path previous = prefix.MakeFolder("drive_c/MM7");
    RegistryKey registry(RegistryKey::LocalMachine());
    EXPECT_EQ(GameFolderLocator::Find(registry), previous);
    EXPECT_EQ(GameFolderLocator::Find(), previous);

    prefix.WriteSystemReg("WINE REGISTRY Version 2\n");
    EXPECT_EQ(GameFolderLocator::Find(), fs::path());
}

TEST_F(GameFolderLocatorTest, MapsDrivesThroughDosdevices)
{
    const fs::path game = prefix.MakeFolder("drive_c/GOG Games/Might and Magic 8");
    const fs::path other = prefix.MakeFolder("elsewhere/Data");
    prefix.LinkDrive("E:", prefix.Path() / "elsewhere"); // an absolute target, a name in upper case
    const std::pair<std::u16string, fs::path> rows[] = {
        {u"C:\\GOG Games\\Might and Magic 8", game},
        {u"c:/GOG Games/Might and Magic 8\\", game},
        {u"C:\\gog games\\MIGHT AND MAGIC 8", game}, // names compare without regard to case
        {u"C:\\", driveC},
        {u"C:", driveC},
        {u"e:\\Data", other},
        // Unicode all the way to the UTF-8 names on disk, in any case.
        {u"C:\\\u0418\u0433\u0440\u044B\\MM8", prefix.MakeFolder("drive_c/\u0418\u0433\u0440\u044B/MM8")},
        {u"C:\\\u0438\u0413\u0420\u042B\\mm8", prefix.Path() / "drive_c/\u0418\u0433\u0440\u044B/MM8"},
        {u"C:\\Games\u00AE\\MM8", prefix.MakeFolder("drive_c/Games\u00AE/MM8")},
    };
    for (const auto& [path, folder] : rows)
        EXPECT_EQ(GameFolderLocator::NativeFolder(path, prefix.Path()), folder) << folder;

    // Wine makes a missing c: link again when it starts; until then drive_c is the drive.
    fs::remove(prefix.Path() / "dosdevices" / "c:");
    EXPECT_EQ(GameFolderLocator::NativeFolder(rows[0].first, prefix.Path()), game);
}

TEST_F(GameFolderLocatorTest, PathsThatDoNotMapToAFolderAreEmpty)
{
    prefix.MakeFolder("drive_c/Games");
    std::ofstream(driveC / "file.txt") << "not a folder";
    for (const char16_t* path : {u"", u"C", u"\\\\server\\share\\Games", u"C:Games", u"Q:\\Games", u"1:\\Games",
                                 u"C:\\Missing", u"C:\\file.txt", u"/tmp"})
        EXPECT_EQ(GameFolderLocator::NativeFolder(path, prefix.Path()), fs::path());
    EXPECT_EQ(GameFolderLocator::NativeFolder(u"C:\\Games", fs::path()), fs::path());
}

TEST(GameFolderLocatorManagers, FindsTheGameInEachManagersPrefixes)
{
    TempDirectory dir;
    const fs::path home = dir / "home";
    const struct {
        const char* prefix;   // under dir
        const char* settings; // the manager's file naming the prefix, under dir
        std::string text;
        std::string_view key; // the entry the prefix's registry holds
        std::u16string windowsPath;
        const char* folder; // the game's folder under drive_c
        std::string source; // with "{home}" for the home folder
    } rows[] = {
        {"wineprefix", nullptr, "", WinePrefixWriter::kGameKey32, u"C:\\Games\\MM8", "Games/MM8", "Wine prefix {dir}"},
        {"home/.wine", nullptr, "", WinePrefixWriter::kGameKey, u"C:\\GAMES\\mm8", "Games/MM8", "Wine prefix ~/.wine"},
        {"home/.local/share/Steam/steamapps/compatdata/11/pfx", nullptr, "", kGog32, u"C:\\GOG Games\\MM8",
         "GOG Games/MM8", "Steam (Proton) prefix ~/.local/share/Steam/steamapps/compatdata/11/pfx"},
        {"home/SteamLibrary/steamapps/compatdata/12/pfx", "home/.steam/steam/steamapps/libraryfolders.vdf",
         "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"{home}/.steam/"
         "steam\"\n\t\t\"apps\"\n\t\t{\n\t\t\t\"228980\""
         "\t\t\"29212173\"\n\t\t}\n\t}\n\t\"1\"\n\t{\n\t\t\"path\"\t\t\"{home}/SteamLibrary\" // games\n\t}\n}\n",
         kGog, u"C:\\GOG Games\\MM8", "GOG Games/MM8",
         "Steam (Proton) prefix ~/SteamLibrary/steamapps/compatdata/12/pfx"},
        {"home/.var/app/com.valvesoftware.Steam/data/Steam/steamapps/compatdata/13/pfx", nullptr, "",
         WinePrefixWriter::kGameKey32, u"C:\\MM8", "MM8",
         "Steam (Proton) prefix ~/.var/app/com.valvesoftware.Steam/data/Steam/steamapps/compatdata/13/pfx"},
        {"home/Games/mm8", nullptr, "", kPrevious, u"C:\\3DO\\MM", "3DO/MM", "Lutris prefix ~/Games/mm8"},
        {"home/Lutris/\u0418\u0433\u0440\u044B", "home/.config/lutris/games/mm8.yml",
         R"(game:
  exe: "{home}/Lutris/\u0418\u0433\u0440\u044B/drive_c/\u0418\u0433\u0440\u044B/MM8/MM8.exe"
  prefix: "{home}/Lutris/\u0418\u0433\u0440\u044B"
name: Might and Magic VIII
wine:
  prefix: /not/the/game/section
)",
         WinePrefixWriter::kGameKey32, u"C:\\\u0418\u0433\u0440\u044B\\MM8", "\u0418\u0433\u0440\u044B/MM8",
         "Lutris prefix ~/Lutris/\u0418\u0433\u0440\u044B"},
        {"home/Lutris/plain", "home/.local/share/lutris/games/b.yml", "game:\n  prefix: ~/Lutris/plain  # by hand\n",
         WinePrefixWriter::kGameKey32, u"C:\\MM8", "MM8", "Lutris prefix ~/Lutris/plain"},
        {"home/Games/Heroic/Prefixes/default/MM8", nullptr, "", WinePrefixWriter::kGameKey32, u"C:\\MM8", "MM8",
         "Heroic prefix ~/Games/Heroic/Prefixes/default/MM8"},
        {"home/.var/app/com.heroicgameslauncher.hgl/Games/Heroic/Prefixes/default/MM8", nullptr, "",
         WinePrefixWriter::kGameKey32, u"C:\\MM8", "MM8",
         "Heroic prefix ~/.var/app/com.heroicgameslauncher.hgl/Games/Heroic/Prefixes/default/MM8"},
        {"home/Heroic/\u00AE", "home/.config/heroic/GamesConfig/1207658944.json", R"({
  "1207658944": {
    "autoInstallDxvk": true, "maxSharpness": 2, "ratio": -1.5e3, "savesPath": "",
    "wineVersion": {"bin": "/usr/bin/wine", "name": "Wine Default", "type": "wine"},
    "winePrefix": "{home}/Heroic/\u00ae",
    "enviromentOptions": [], "launcherArgs": null
  },
  "version": "v0", "explicit": true
})",
         WinePrefixWriter::kGameKey32, u"C:\\Games\u00AE\\MM8", "Games\u00AE/MM8", "Heroic prefix ~/Heroic/\u00AE"},
        {"home/Heroic/flatpak", "home/.var/app/com.heroicgameslauncher.hgl/config/heroic/GamesConfig/x.json",
         R"({"x": {"winePrefix": "~/Heroic/flatpak"}})", WinePrefixWriter::kGameKey32, u"C:\\MM8", "MM8",
         "Heroic prefix ~/Heroic/flatpak"},
        {"home/.local/share/bottles/bottles/MM8", nullptr, "", WinePrefixWriter::kGameKey32, u"C:\\MM8", "MM8",
         "Bottles prefix ~/.local/share/bottles/bottles/MM8"},
        {"home/.var/app/com.usebottles.bottles/data/bottles/bottles/MM8", nullptr, "", WinePrefixWriter::kGameKey32,
         u"C:\\MM8", "MM8", "Bottles prefix ~/.var/app/com.usebottles.bottles/data/bottles/bottles/MM8"},
        {"home/.PlayOnLinux/wineprefix/MM8", nullptr, "", WinePrefixWriter::kGameKey32, u"C:\\MM8", "MM8",
         "PlayOnLinux prefix ~/.PlayOnLinux/wineprefix/MM8"},
    };
    std::vector<std::string> expected;
    for (const auto& row : rows) {
        WinePrefixWriter writer(dir / row.prefix);
        writer.Set(row.key, row.key.find("GOG") != std::string_view::npos ? "PATH" : "AppPath", row.windowsPath).Save();
        if (row.settings != nullptr)
            WriteFile(dir / row.settings, WithHome(row.text, home));
        const std::string source =
            row.source == "Wine prefix {dir}" ? "Wine prefix " + (dir / row.prefix).string() : row.source;
        expected.push_back(writer.MakeFolder(row.folder).string() + " | " + source);
    }
    EXPECT_EQ(Listed(GameFolderLocator::FindAll(home, dir / "wineprefix")), expected);
}

TEST(GameFolderLocatorManagers, DuplicatesAreMergedAndDamagedSettingsSkipped)
{
    TempDirectory dir;
    const fs::path home = dir / "home";
    const fs::path shared = dir / "shared" / "MM8";
    fs::create_directories(shared);
    std::u16string zPath = u"Z:" + shared.u16string();
    std::replace(zPath.begin(), zPath.end(), u'/', u'\\');
    const auto prefix = [&](const char* relative, std::u16string_view windowsPath, const char* folder = nullptr) {
        WinePrefixWriter writer(home / relative);
        writer.Set(WinePrefixWriter::kGameKey32, "AppPath", windowsPath).Save();
        return folder != nullptr ? writer.MakeFolder(folder) : fs::path();
    };
    // One game folder named from two prefixes, through drive Z:.
    prefix(".wine", zPath);
    prefix(".PlayOnLinux/wineprefix/again", zPath);
    // One prefix reached through Steam's two roots, and one through ~/Games and two settings files.
    const fs::path steam = prefix(".local/share/Steam/steamapps/compatdata/20/pfx", u"C:\\MM8", "MM8");
    fs::create_directories(home / ".steam");
    fs::create_directory_symlink("../.local/share/Steam", home / ".steam" / "steam");
    const fs::path lutris = prefix("Games/mm8", u"C:\\MM8", "MM8");
    WriteFile(home / ".config/lutris/games/a.yml", WithHome("game:\n  prefix: {home}/Games/mm8/\n", home));
    WriteFile(home / ".config/heroic/GamesConfig/a.json",
              WithHome(R"({"a": {"winePrefix": "{home}/Games/./mm8"}})", home));

    // Prefixes that only damaged settings name.
    for (const char* named : {"Lib/steamapps/compatdata/1/pfx", "e2", "e3", "e4"})
        prefix(named, u"C:\\MM8", "MM8");
    std::string garbage;
    for (int i = 0; i < 2048; ++i)
        garbage.push_back(static_cast<char>((i * 7919 + 13) % 256));
    const std::pair<const char*, std::string> damaged[] = {
        {".local/share/Steam/steamapps/libraryfolders.vdf", "\"libraryfolders\" { \"0\" { \"path\" \"{home}/Lib"},
        {".local/share/lutris/games/e2.yml", "game:\n  prefix: \"{home}/e2\n"},
        {".config/heroic/GamesConfig/e3.json", R"({"e3": {"winePrefix": "{home}/e3",}})"},
        {".config/heroic/GamesConfig/e4.json", R"({"e4": {"winePrefix": "{home}/e4"})"},
        {".config/lutris/games/garbage.yml", garbage},
        {".config/heroic/GamesConfig/garbage.json", garbage},
    };
    for (const auto& [file, text] : damaged)
        WriteFile(home / file, WithHome(text, home));
    fs::create_directories(home / ".config/heroic/GamesConfig/folder.json");

    EXPECT_EQ(WinePrefixFinder::Find(home, {}).size(), 4u);
    EXPECT_EQ(Listed(GameFolderLocator::FindAll(home, home / ".wine")),
              (std::vector<std::string>{
                  shared.string() + " | Wine prefix ~/.wine",
                  steam.string() + " | Steam (Proton) prefix ~/.local/share/Steam/steamapps/compatdata/20/pfx",
                  lutris.string() + " | Lutris prefix ~/Games/mm8",
              }));
}

TEST(GameFolderLocatorPrefixes, AGameFoldersPrefixIsTheNearestAboveIt)
{
    TempDirectory dir;
    const struct {
        const char* prefix; // nullptr: none
        int acp;            // 0: the prefix names none
        const char* folder;
    } rows[] = {
        {"cyrillic", 1251, "cyrillic/drive_c/\u0418\u0433\u0440\u044B/MM8"},
        {"unknown", 0, "unknown/drive_c/Games/MM8"},
        {"western", 1252, "western/drive_c/a/b/c"},
        {"western/drive_c/inner", 1253, "western/drive_c/inner/drive_c/MM8"},
        {nullptr, 0, "plain/MM8"},
    };
    for (const auto& row : rows) {
        if (row.prefix != nullptr) {
            WinePrefixWriter writer(dir / row.prefix);
            if (row.acp != 0)
                writer.CodePage(row.acp);
            writer.Save();
        }
        fs::create_directories(dir / row.folder);
        const GameFolderLocator::Prefix found = GameFolderLocator::PrefixOf(dir / row.folder);
        EXPECT_EQ(found.folder, row.prefix != nullptr ? dir / row.prefix : fs::path()) << row.folder;
        EXPECT_EQ(found.codePage, static_cast<std::uint32_t>(row.acp)) << row.folder;
    }
}

TEST(GameFolderLocatorPaths, NamesTheSaveFiles)
{
    EXPECT_EQ(GameFolderLocator::SaveFileName(0), "save000.dod");
    EXPECT_EQ(GameFolderLocator::SaveFileName(39), "save039.dod");
}

} // namespace
