#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// The saved games of a game folder as the start-up dialog lists them: save000.dod to
// save039.dod under Saves, each regular file (links followed) that can be opened exclusively for
// reading, in ascending number; read-only ones too.
class SaveListing {
public:
    struct Row {
        std::string FileName; // "save%03d.dod"
        std::string Name;     // the saved game's name, in the game's code page; may be empty
    };

    static constexpr int SaveCount = 40;

    static std::vector<Row> Build(const std::filesystem::path& folder);
    // folder/Saves/fileName
    static std::filesystem::path SavePath(const std::filesystem::path& folder, std::string_view fileName);
    // The game folder above the save's Saves folder; the save's own folder when it lies in none.
    static std::filesystem::path GameFolderOf(const std::filesystem::path& save);
    // The same for the save's real path, links resolved (as given where that fails).
    static std::filesystem::path RealGameFolderOf(const std::filesystem::path& save);
    // The names of the saved game's fifty characters, in the game's code page; fewer where
    // the file ends early, none where it cannot be opened or read.
    static std::vector<std::string> CharacterNames(const std::filesystem::path& save);
};
