#pragma once

#include <QHash>
#include <QImage>

#include <map>
#include <memory>
#include <string>

class GameData;
class ItemTable;

// The game's item pictures, decoded once per game folder and kept for the session: the
// backpack draws from here. Transparent where the game's pictures are.
class ItemPictures {
public:
    // The pictures of the game the table came from; null for the built-in table.
    static std::shared_ptr<ItemPictures> For(const ItemTable& table);

    explicit ItemPictures(std::shared_ptr<const GameData> game);

    // A null image when the game has no picture for the item (or it cannot be read).
    const QImage& Get(int itemNumber);

private:
    std::shared_ptr<const GameData> game_;
    QHash<int, QImage> images_;
    std::map<std::string, QImage> byPicture_; // by folded picture name
};
