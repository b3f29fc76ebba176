#include "dialogs/ItemPictures.h"

#include "model/AsciiFold.h"
#include "model/GameData.h"
#include "model/ItemTable.h"

#include <cstring>
#include <map>

std::shared_ptr<ItemPictures> ItemPictures::For(const ItemTable& table)
{
    const std::shared_ptr<const GameData>& game = table.Game();
    if (game == nullptr)
        return nullptr;
    // One per game data: GameData::Load gives a folder's data again while its archives stay
    // as they were. Data nobody else holds any more belongs to a folder that changed.
    static std::map<const GameData*, std::shared_ptr<ItemPictures>> cache;
    std::erase_if(cache, [](const auto& entry) { return entry.second->game_.use_count() == 1; });
    auto& pictures = cache[game.get()];
    if (pictures == nullptr)
        pictures = std::make_shared<ItemPictures>(game);
    return pictures;
}

ItemPictures::ItemPictures(std::shared_ptr<const GameData> game) : game_(std::move(game))
{}

const QImage& ItemPictures::Get(int itemNumber)
{
    const auto found = images_.constFind(itemNumber);
    if (found != images_.constEnd())
        return *found;
    // Items that show one picture share its pixels, as GameData counts them once.
    const std::string name = AsciiFold(game_->GetItemPicture(itemNumber));
    if (const auto shared = byPicture_.find(name); shared != byPicture_.end())
        return *images_.insert(itemNumber, shared->second);
    QImage image;
    if (const auto bitmap = game_->GetItemIcon(itemNumber)) {
        image = QImage(bitmap->Width(), bitmap->Height(), QImage::Format_ARGB32);
        const auto& pixels = bitmap->Pixels();
        for (int y = 0; y < bitmap->Height(); ++y)
            std::memcpy(image.scanLine(y), pixels.data() + static_cast<std::size_t>(y) * bitmap->Width(),
                        static_cast<std::size_t>(bitmap->Width()) * 4);
    }
    byPicture_.emplace(name, image);
    return *images_.insert(itemNumber, std::move(image));
}
