#pragma once

#include <string>
#include <string_view>
#include <vector>

// The saved games of a game folder as the start-up dialog lists them: save000.dod to
// save039.dod under Saves, each that can be opened exclusively, in ascending number.
class SaveListing {
public:
    struct Row {
        std::string FileName; // "save%03d.dod"
        std::string Name;     // the saved game's name, Windows-1252 bytes; may be empty
    };

    static constexpr int SaveCount = 40;

    // folder is a native path string, joined with the file names as plain text.
    static std::vector<Row> Build(std::string_view folder);
};
