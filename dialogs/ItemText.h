#pragma once

#include <QString>

#include <vector>

struct InventoryItem;
class ItemTable;
class QObject;
class QStandardItemModel;
class TextCodec;

// How an inventory item reads to the user, in the list and in the backpack picture, and how
// the kinds read in the Item list.
class ItemText {
public:
    // Names are in the game's code page (codec). The kind's name, or "Unknown item N" for a number the table names
    // nothing for (only a saved game written elsewhere holds one).
    static QString Name(const ItemTable& table, const TextCodec& codec, int itemNumber);
    // One line for the inventory list: the name, then the power or the enchantments it has
    // ("Longsword, of Might +5, of Frost").
    static QString Listed(const ItemTable& table, const TextCodec& codec, const InventoryItem& item);
    // The name, then one line each for the power or enchantments and the charges it has.
    static QString Describe(const ItemTable& table, const TextCodec& codec, const InventoryItem& item);
    // The entries of the Item list for the kinds numbers names: by name, case aside, each
    // carrying its number (Qt::UserRole); a name two kinds share shows the number too.
    static QStandardItemModel* KindList(const ItemTable& table, const TextCodec& codec, const std::vector<int>& numbers,
                                        QObject* parent);
};
