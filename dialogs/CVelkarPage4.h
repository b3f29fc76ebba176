#pragma once

#include "dialogs/CharacterPage.h"

#include "model/InventoryLayout.h"
#include "model/ItemKinds.h"

#include <array>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

class BackpackView;
class QComboBox;
class QHBoxLayout;
class QListWidget;

// The "Inventory" tab: the items the character carries, listed by anchor cell. Selecting
// a row copies the item into the detail controls, which serve as the template for Add
// Item; Replace writes them over the selected item; Delete Item removes every selected
// row. Beside the list, a picture of the backpack shows where the items lie, shares the
// selection and moves an item dragged to a place where it fits.
class CVelkarPage4 : public CharacterPage {
    Q_OBJECT

public:
    // Control ids.
    enum : int {
        IdInventory = 1087,
        IdItem = 1088,
        IdEnchantment1 = 1089,
        IdModifier = 1090,
        IdIdentified = 1091,
        IdCharges = 1092,
        IdDamaged = 1093,
        IdAddItem = 1094,
        IdDeleteItem = 1095,
        IdEnchantment2 = 1096,
        IdModifierSpin = 1097,
        IdChargesSpin = 1098,
        IdStolen = 1099,
        IdPowerSpin = 1100,
        IdPower = 1101,
        IdHardened = 1102,
        IdEnchantment1Label = 1103,
        IdPowerLabel = 1104,
        IdModifierLabel = 1105,
        IdReplaceItem = 1106,
    };

    // The value members, in the exchange order.
    enum Value : int {
        Charges,
        Modifier,
        Damaged,
        Identified,
        Enchantment1,
        Enchantment2,
        Stolen,
        Power,
        Hardened,
        ValueCount
    };

    static constexpr const char* FullMessage = "Inventory Full.";

    // Potions keep their power where other items keep the standard enchantment.
    static constexpr bool IsPotion(int itemNumber) { return ItemKinds::HoldsPower(itemNumber); }

    CVelkarPage4(SaveGame& save, int n);

protected:
    void OnCreate() override;
    void LoadFromModel() override;
    void StoreToModel() override;

private:
    void BuildControls();
    // Add Item, Replace and Delete Item, in a row.
    QHBoxLayout* MakeButtons();
    void FillItemKinds();
    void ApplyLayout(int itemNumber);
    // Row indices of the selected rows, lowest first.
    std::vector<int> SelectedRows() const;
    // The anchor cells of the selected rows' items, in row order.
    std::vector<int> SelectedAnchors() const;
    // The anchor cell and entry of the first selected row's item, if it is one.
    std::optional<std::pair<int, InventoryItem>> FirstSelectedItem() const;

    void OnRowsChanged();
    void OnItemKindChosen(int index);
    // The item the shown fields describe; no value (after its message) when a shown field
    // fails its check or no kind is chosen.
    std::optional<InventoryItem> ShownItem();
    // The selected item old with what the user changed since it was selected: its kind only
    // when one was chosen, each other word only when its field changed.
    std::optional<InventoryItem> EditedItem(const InventoryItem& old);
    int ChosenKind() const;
    // "Inventory Full.", and where free cells are left, the largest free area outlined.
    void ReportFull(bool noRoom);
    // The inventory row of the item anchored there; -1 without one.
    int RowOfAnchor(int anchor) const;
    void SelectAnchor(int anchor);
    void OnAddItem();
    void OnReplaceItem();
    void OnDeleteItem();
    void OnMoveRequested(int from, int toCell);
    // The picture follows the list's selection, and a click on it selects in the list.
    void ShowSelectionInBackpack();
    void OnBackpackClicked(int anchor, Qt::KeyboardModifiers modifiers);

    std::array<int, ValueCount> values_{};
    bool kindChosen_ = false; // since the row was selected
    QListWidget* inventory_ = nullptr;
    QComboBox* itemKinds_ = nullptr;
    BackpackView* backpack_ = nullptr;
    QWidget* legend_ = nullptr;
};
