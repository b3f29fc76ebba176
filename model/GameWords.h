#pragma once

#include "model/AwardTable.h"
#include "model/ClassTable.h"
#include "model/ItemTable.h"

#include <memory>
#include <string>
#include <utility>

class GameData;

// What a game speaks: the code page of its texts and its own tables of item, class and award
// words (the built-in ones where it has none). It travels with the saved game, from whoever
// chose the game to every window and command that shows or stores a text; nothing keeps it
// process-wide. The model deals in bytes: the code page is carried as the key the settings
// use ("1252", "936-fan"), and the text layer makes its codec from it.
class GameWords {
public:
    static constexpr const char* WesternCodePage = "1252";

    // The built-in tables, Windows-1252.
    static const GameWords& BuiltIn();
    // The game's tables where it has them, each table falling back to the built-in one on its
    // own; game may be null (no game folder).
    static GameWords FromGame(std::shared_ptr<const GameData> game, std::string codePage);

    // Empty tables until the words are filled from the built-in or the game's tables.
    GameWords() = default;

    const std::string& CodePage() const noexcept { return codePage_; }
    void SetCodePage(std::string key) { codePage_ = std::move(key); }

    const ItemTable& Items() const noexcept { return items_; }
    const ClassTable& Classes() const noexcept { return classes_; }
    const AwardTable& Awards() const noexcept { return awards_; }
    // Whether any table came from the game.
    bool AnyFromGame() const noexcept { return items_.IsFromGame() || classes_.IsFromGame() || awards_.IsFromGame(); }
    // Every table filled: an unfilled one becomes the built-in one.
    GameWords Filled() const;

private:
    std::string codePage_ = WesternCodePage;
    ItemTable items_;
    ClassTable classes_;
    AwardTable awards_;
};
