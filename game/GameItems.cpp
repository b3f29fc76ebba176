#include "game/GameItems.h"

#include "model/GameData.h"

#include <system_error>
#include <utility>

GameItems GameItems::Load(const std::filesystem::path& folder)
{
    std::error_code error;
    std::shared_ptr<const GameData> data =
        std::filesystem::is_directory(folder, error) ? GameData::Load(folder) : nullptr;
    ItemTable table = ItemTable::FromGame(data);
    return {std::move(data), std::move(table)};
}
