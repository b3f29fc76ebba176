#pragma once

#include <cstdint>

// One inventory entry: nine 32-bit words. Only ItemNumber means anything to the model.
struct InventoryItem {
    std::int32_t ItemNumber = 0;   // 1..750; 0 = free entry
    std::int32_t Enchantment1 = 0; // standard enchantment row, or a potion's power
    std::int32_t Enchantment1Modifier = 0;
    std::int32_t Enchantment2 = 0; // special enchantment row
    std::int32_t Charges = 0;
    std::int32_t ItemFlags = 0;
    std::int32_t Unused6 = 0; // the last three words are carried along, never interpreted
    std::int32_t Unused7 = 0;
    std::int32_t Unused8 = 0;

    friend bool operator==(const InventoryItem&, const InventoryItem&) = default;
};

namespace InventoryItemFlags {
inline constexpr std::int32_t Identified = 0x1;
inline constexpr std::int32_t Damaged = 0x2;
inline constexpr std::int32_t Stolen = 0x100;
inline constexpr std::int32_t Hardened = 0x200;
} // namespace InventoryItemFlags

// Entries 1..138 and the 14 x 9 grid of cells inside a character record. A cell holds 0
// (empty), k (the anchor of the item in entry k) or ~a (covered by the item anchored at a).
namespace InventoryLayout {
inline constexpr int WordCount = 9;
inline constexpr int EntrySize = WordCount * 4;
inline constexpr int EntryCount = 138;
inline constexpr int Columns = 14;
inline constexpr int Rows = 9;
inline constexpr int CellCount = Columns * Rows;
inline constexpr int CellWidth = 4;
static_assert(sizeof(InventoryItem) == EntrySize);

// The stored order of the words of an entry.
inline constexpr std::int32_t InventoryItem::*ItemWords[WordCount] = {
    &InventoryItem::ItemNumber,   &InventoryItem::Enchantment1, &InventoryItem::Enchantment1Modifier,
    &InventoryItem::Enchantment2, &InventoryItem::Charges,      &InventoryItem::ItemFlags,
    &InventoryItem::Unused6,      &InventoryItem::Unused7,      &InventoryItem::Unused8,
};
static_assert(CellCount == 126);
} // namespace InventoryLayout
