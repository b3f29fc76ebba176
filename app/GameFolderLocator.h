#pragma once

#include <filesystem>
#include <string>
#include <string_view>

class RegistryKey;

// Finds the game folder through the registry, and builds the paths of its saved games.
// Paths are native strings: the bytes the system's narrow file functions take (UTF-8
// on Linux, the ANSI code page on Windows); QFile::decodeName turns them into text.
class GameFolderLocator {
public:
    // The first of the game's registry entries that names an existing folder, looked up
    // in this order: the game's own key, the GOG edition's key, the previous game's key.
    // Empty when none does. registry is left holding the last key it opened.
    static std::string Find(RegistryKey& registry);
    static std::string Find();

    // The native folder a registry path names, or empty when it does not map to an
    // existing folder. Elsewhere than Windows the drive letter maps through the Wine
    // prefix's dosdevices links.
    static std::string NativeFolder(std::string_view registryPath);

    // The file-system path a native string names. On Windows the string is decoded from the
    // ANSI code page, as the system's narrow functions do: std::filesystem::path's own
    // conversion from char differs between C++ libraries (MinGW's takes bytes as Latin-1).
    static std::filesystem::path NativePath(std::string_view native);

    // "save%03d.dod"
    static std::string SaveFileName(int number);
    // folder + "/Saves/save%03d.dod" as plain text (the native separator in place of '/'):
    // no separator is added or removed, so an empty folder gives "/Saves/save000.dod".
    static std::string SavePath(std::string_view folder, int number);
    // folder + "/Saves/" + fileName, likewise.
    static std::string SavePath(std::string_view folder, std::string_view fileName);
};
