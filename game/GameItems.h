#pragma once

#include "model/GameWords.h"

#include <filesystem>
#include <memory>
#include <string>

class GameData;

// What both programs read from the game folder of a saved game: the game's own data, and the
// words made from it (the built-in tables where the game has none) in the folder's code page.
struct GameItems {
    std::shared_ptr<const GameData> data; // null when the folder is no folder
    GameWords words;

    // codePage: the folder's, as GameWords keeps it ("1252", "936-fan").
    static GameItems Load(const std::filesystem::path& folder, std::string codePage);
};
