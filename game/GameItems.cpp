#include "game/GameItems.h"

#include "model/GameData.h"

#include <system_error>
#include <utility>

GameItems GameItems::Load(const std::filesystem::path& folder, std::string codePage)
{
    std::error_code error;
    std::shared_ptr<const GameData> data =
        std::filesystem::is_directory(folder, error) ? GameData::Load(folder) : nullptr;
    GameWords words = GameWords::FromGame(data, std::move(codePage));
    return {std::move(data), std::move(words)};
}
