#pragma once

#include "model/ItemTable.h"

#include <array>

// What sort of thing an item number names, by the ranges the game's item table is laid out in.
enum class ItemKind {
    Unknown, // between the ranges, or outside the table
    Weapon,
    Armor,
    Jewelry, // rings and amulets
    Wand,
    Gem,
    Gold,
    Reagent,
    Potion,
    ScrollOrBook,
    Artifact,
    Quest, // quest items and recipes
};

namespace ItemKinds {

inline constexpr int KindCount = static_cast<int>(ItemKind::Quest) + 1;

struct Range {
    int First;
    int Last;
    ItemKind Kind;
};

// In item-number order; the numbers between the ranges name no item.
// clang-format off
inline constexpr std::array<Range, 11> Ranges = {{
    {1, 83, ItemKind::Weapon},
    {84, 136, ItemKind::Armor},
    {137, 151, ItemKind::Jewelry},
    {152, 176, ItemKind::Wand},
    {177, 186, ItemKind::Gem},
    {187, 189, ItemKind::Gold},
    {200, 219, ItemKind::Reagent},
    {220, 271, ItemKind::Potion},
    {300, 498, ItemKind::ScrollOrBook},
    {500, 542, ItemKind::Artifact},
    {602, ItemTable::BuiltInCount, ItemKind::Quest},
}};
// clang-format on

// The potions whose first enchantment word holds their power (the empty bottle, 220, has none).
inline constexpr int FirstPowerPotion = 221;
inline constexpr int LastPowerPotion = 271;

constexpr ItemKind KindOf(int itemNumber)
{
    for (const Range& range : Ranges) {
        if (itemNumber >= range.First && itemNumber <= range.Last)
            return range.Kind;
    }
    return ItemKind::Unknown;
}

constexpr bool HoldsPower(int itemNumber)
{
    return itemNumber >= FirstPowerPotion && itemNumber <= LastPowerPotion;
}

constexpr bool RangesAreOrdered()
{
    int previous = 0;
    for (const Range& range : Ranges) {
        if (range.First <= previous || range.Last < range.First || range.Last > ItemTable::BuiltInCount)
            return false;
        previous = range.Last;
    }
    return true;
}

static_assert(RangesAreOrdered(), "ranges ascend, do not overlap and stay inside the item table");
static_assert(KindOf(0) == ItemKind::Unknown && KindOf(1) == ItemKind::Weapon && KindOf(83) == ItemKind::Weapon);
static_assert(KindOf(84) == ItemKind::Armor && KindOf(151) == ItemKind::Jewelry && KindOf(152) == ItemKind::Wand);
static_assert(KindOf(189) == ItemKind::Gold && KindOf(190) == ItemKind::Unknown && KindOf(200) == ItemKind::Reagent);
static_assert(KindOf(220) == ItemKind::Potion && KindOf(271) == ItemKind::Potion && KindOf(272) == ItemKind::Unknown);
static_assert(KindOf(498) == ItemKind::ScrollOrBook && KindOf(542) == ItemKind::Artifact);
static_assert(KindOf(601) == ItemKind::Unknown && KindOf(602) == ItemKind::Quest && KindOf(750) == ItemKind::Quest);
static_assert(KindOf(751) == ItemKind::Unknown && KindOf(-1) == ItemKind::Unknown);
static_assert(!HoldsPower(220) && HoldsPower(221) && HoldsPower(271) && !HoldsPower(272));
static_assert(KindOf(FirstPowerPotion) == ItemKind::Potion && KindOf(LastPowerPotion) == ItemKind::Potion);

} // namespace ItemKinds
