#include "tests/dialogs/InventoryPageFixture.h"

InventoryItem InventoryPageFixture::Item(int number, int enchantment1, int modifier, int enchantment2, int charges,
                                         int flags)
{
    InventoryItem item;
    item.ItemNumber = number;
    item.Enchantment1 = enchantment1;
    item.Enchantment1Modifier = modifier;
    item.Enchantment2 = enchantment2;
    item.Charges = charges;
    item.ItemFlags = flags;
    return item;
}

void InventoryPageFixture::Carry(const std::vector<InventoryItem>& items)
{
    Prepare([&](SaveGame& s) {
        for (const InventoryItem& item : items)
            ASSERT_GE(s.AddInventoryItem(N, item), 0);
    });
}
