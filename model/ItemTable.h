#pragma once

#include "model/ItemSize.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class GameData;

// The names and inventory sizes of item kinds, by item number: either the table built into
// the program (items 1..750 of the English game) or the installed game's own (its items.txt,
// sizes from its pictures). Copies share the game's rows, so handing a table on is cheap.
// A default-constructed table is empty until Fill makes it the built-in one.
class ItemTable {
public:
    static constexpr int BuiltInCount = 750; // item numbers 1..750; 0 means "no item"

    // The built-in table, filled.
    static const ItemTable& BuiltIn();
    // The game's table when it has one (the built-in table otherwise). An item whose picture
    // was not found takes its size from the built-in table; without one it has no size.
    static ItemTable FromGame(std::shared_ptr<const GameData> game);

    void Fill();
    bool IsFilled() const noexcept;
    bool IsFromGame() const noexcept { return game_ != nullptr; }
    // The game data the table came from (its pictures), null for the built-in table.
    const std::shared_ptr<const GameData>& Game() const noexcept { return game_; }

    // Rows of the table: 750 built in, 803 in the English game's items.txt (0..802); 0 before Fill.
    int Count() const noexcept;
    // The highest item number with a row.
    int LastNumber() const noexcept;

    // "" for numbers without a name, or before Fill. The view refers to the table's data and
    // stays valid while a copy of this table lives (for ever for the built-in one).
    std::string_view GetItemName(int n) const;

    // Appends the names of items 1..LastNumber() in item-number order, empty ones included,
    // so the appended position k holds item k + 1. Appends nothing before Fill.
    void GetItemNameList(std::vector<std::string>& list) const;

    // The numbers a user may choose, ascending: the named kinds, less the game's placeholders
    // (rows whose picture is "null").
    std::vector<int> ChoosableNumbers() const;

    // No size for numbers without one, or before Fill.
    std::optional<ItemSize> GetItemSize(int n) const;

private:
    struct GameRow {
        std::string Name;
        std::optional<ItemSize> Size;
        bool Placeholder = false;
    };
    struct GameRows {
        std::vector<GameRow> Rows;       // by row
        std::vector<std::int32_t> Index; // by item number: the row, -1 without one
    };

    const GameRow* Find(int n) const;

    bool filled_ = false;
    std::shared_ptr<const GameRows> rows_; // null: the built-in table
    std::shared_ptr<const GameData> game_;
};
