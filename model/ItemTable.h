#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Columns and rows an item kind occupies in a character's inventory grid.
struct ItemSize {
    int32_t Width;
    int32_t Height;
};

// The game's names and inventory sizes of item kinds, by item number. The data
// is built into the program; the table only shows it once a save game is open.
class ItemTable {
public:
    static constexpr int Count = 750; // item numbers 1..750; 0 means "no item"

    void Fill();
    bool IsFilled() const noexcept;

    // "" for numbers without an item kind, numbers outside 1..Count, or before Fill.
    // The view refers to static data and stays valid for the program's life.
    std::string_view GetItemName(int n) const;

    // Appends all Count names in item-number order, empty ones included, so the
    // appended position k holds item k + 1. Appends nothing before Fill.
    void GetItemNameList(std::vector<std::string>& list) const;

    // No size for numbers without an item kind, numbers outside 1..Count, or before Fill.
    std::optional<ItemSize> GetItemSize(int n) const;

private:
    bool filled_ = false;
};
