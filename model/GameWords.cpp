#include "model/GameWords.h"

#include "model/GameData.h"

const GameWords& GameWords::BuiltIn()
{
    static const GameWords words = GameWords().Filled();
    return words;
}

GameWords GameWords::FromGame(std::shared_ptr<const GameData> game, std::string codePage)
{
    GameWords words;
    words.codePage_ = std::move(codePage);
    words.classes_ = ClassTable::FromGame(game.get());
    words.awards_ = AwardTable::FromGame(game.get());
    words.items_ = ItemTable::FromGame(std::move(game));
    return words;
}

GameWords GameWords::Filled() const
{
    GameWords words = *this;
    if (!words.items_.IsFilled())
        words.items_ = ItemTable::BuiltIn();
    if (!words.classes_.IsFilled())
        words.classes_ = ClassTable::BuiltIn();
    if (!words.awards_.IsFilled())
        words.awards_ = AwardTable::BuiltIn();
    return words;
}
