#pragma once

#include "model/ItemTable.h"

#include <filesystem>
#include <memory>

class GameData;

// What both programs read from the game folder of a saved game: the game's own data, and the
// item table made from it (the built-in one where the game has none).
struct GameItems {
    std::shared_ptr<const GameData> data; // null when the folder is no folder
    ItemTable table;

    static GameItems Load(const std::filesystem::path& folder);
};
