#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

class RegistryKey;

// Finds the game folder through the game's registry entries: in the Windows registry, or
// elsewhere in the registries of the Wine prefixes Wine and the game managers keep. Folders
// are std::filesystem::path throughout, so that no name loses a character on the way.
class GameFolderLocator {
public:
    struct FoundGame {
        std::filesystem::path folder;
        std::string source; // where it was found, for people: "Windows registry", "Wine prefix ~/.wine"
    };

    struct Prefix {
        std::filesystem::path folder; // empty when the game folder lies in no prefix
        std::uint32_t codePage = 0;   // the prefix's ANSI code page; 0 when unknown
    };

    // Every game found, best first. Each registry gives the first of the game's entries
    // that names an existing folder, looked up in this order: the game's own key, the GOG
    // edition's key, the previous game's key; in a Wine prefix each in the 32-bit view
    // (Software\Wow6432Node) first. On Windows that is the registry; elsewhere every
    // prefix WinePrefixFinder knows of $WINEPREFIX and $HOME. A folder is listed once.
    static std::vector<FoundGame> FindAll();
    // The first of FindAll(); empty when there is none.
    static std::filesystem::path Find();
    // The first entry in the given registry alone (on Windows the registry, elsewhere the
    // default prefix) that names an existing folder; registry is left holding the last key
    // it opened.
    static std::filesystem::path Find(RegistryKey& registry);

#ifndef _WIN32
    // FindAll with the home folder and $WINEPREFIX given (either may be empty).
    static std::vector<FoundGame> FindAll(const std::filesystem::path& home, const std::filesystem::path& winePrefix);
    // The existing folder a registry path ("C:\Games\MM8") names in the prefix: the drive
    // letter through its dosdevices links, then each name as it is or, as on Windows,
    // without regard to case. Empty when there is no such folder.
    static std::filesystem::path NativeFolder(std::u16string_view registryPath, const std::filesystem::path& prefix);
#endif

    // The Wine prefix that holds gameFolder (the nearest folder above it that holds
    // system.reg and drive_c), with its ANSI code page.
    static Prefix PrefixOf(const std::filesystem::path& gameFolder);

    // "save%03d.dod"
    static std::string SaveFileName(int number);

private:
    struct Source {
        std::string_view key;
        std::string_view value;
    };
    // The game's own keys come first: the previous game's key alone would miss an
    // installation of this game alone and would name the wrong folder when both are installed.
    static constexpr std::array<Source, 3> kSources = {{
        {"Software\\New World Computing\\Might and Magic Day of the Destroyer\\1.0", "AppPath"},
        {"Software\\GOG.com\\GOGMM8", "PATH"},
        {"Software\\New World Computing\\Might and Magic VII\\1.0", "AppPath"},
    }};

    // The existing folder a registry text names, through the default prefix elsewhere
    // than Windows; empty when none.
    static std::filesystem::path FolderOf(std::u16string_view registryPath);
};
