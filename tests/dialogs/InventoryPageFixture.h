#pragma once

#include "tests/dialogs/PageFixture.h"

#include "model/InventoryLayout.h"

#include <vector>

// The sheet opened on the "Inventory" tab, with items of known kinds and sizes.
class InventoryPageFixture : public PageFixture {
protected:
    static constexpr int InventoryTab = TabIndex(SheetTab::Inventory);

    // Item numbers with known names and sizes.
    static constexpr int Longsword = 1;    // 1x5
    static constexpr int Chainmail = 90;   // 3x4
    static constexpr int Buckler = 104;    // 2x2
    static constexpr int Helm = 109;       // 1x1
    static constexpr int BronzeRing = 137; // 1x1
    static constexpr int Unnamed = 195;    // no name, no size: one cell
    static constexpr int PotionBottle = 220;
    static constexpr int Catalyst = 221;   // the first potion
    static constexpr int CureWounds = 222; // 1x2
    static constexpr int Book = 405;       // 2x1

    InventoryPageFixture() : PageFixture(InventoryTab) {}

    static InventoryItem Item(int number, int enchantment1 = 0, int modifier = 0, int enchantment2 = 0, int charges = 0,
                              int flags = 0);
    // Adds the items through the model before the sheet opens.
    void Carry(const std::vector<InventoryItem>& items);
};
