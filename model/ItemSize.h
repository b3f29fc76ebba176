#pragma once

#include <cstdint>

// Columns and rows an item kind occupies in a character's inventory grid.
struct ItemSize {
    int32_t Width;
    int32_t Height;

    friend bool operator==(const ItemSize&, const ItemSize&) = default;
};
