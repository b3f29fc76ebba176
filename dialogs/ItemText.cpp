#include "dialogs/ItemText.h"

#include "text/TextCodec.h"

#include "model/InventoryLayout.h"
#include "model/ItemKinds.h"
#include "model/ItemTable.h"
#include "model/Vocabulary.h"

#include <QHash>
#include <QStandardItemModel>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

namespace {

// A stored row beyond the list shows as its number.
template <std::size_t N>
QString Word(const std::array<std::string_view, N>& words, int row)
{
    if (row >= 0 && static_cast<std::size_t>(row) < N)
        return TextCodec::OwnWord(words[static_cast<std::size_t>(row)]);
    return QString::number(row);
}

} // namespace

QString ItemText::Name(const ItemTable& table, const TextCodec& codec, int itemNumber)
{
    const std::string_view name = table.GetItemName(itemNumber);
    if (name.empty())
        return QStringLiteral("Unknown item %1").arg(itemNumber);
    return codec.ToText(name);
}

QString ItemText::Listed(const ItemTable& table, const TextCodec& codec, const InventoryItem& item)
{
    QStringList parts{Name(table, codec, item.ItemNumber)};
    if (ItemKinds::HoldsPower(item.ItemNumber)) {
        parts.append(QStringLiteral("power %1").arg(item.Enchantment1));
    } else if (item.Enchantment1 != 0) {
        QString standard = Word(Vocabulary::StandardEnchantments, item.Enchantment1);
        if (item.Enchantment1Modifier != 0)
            standard +=
                QStringLiteral(" %1%2").arg(item.Enchantment1Modifier > 0 ? "+" : "").arg(item.Enchantment1Modifier);
        parts.append(standard);
    }
    if (item.Enchantment2 != 0)
        parts.append(Word(Vocabulary::SpecialEnchantments, item.Enchantment2));
    return parts.join(QStringLiteral(", "));
}

QString ItemText::Describe(const ItemTable& table, const TextCodec& codec, const InventoryItem& item)
{
    QStringList lines{Name(table, codec, item.ItemNumber)};
    if (ItemKinds::HoldsPower(item.ItemNumber)) {
        lines.append(QStringLiteral("Power: %1").arg(item.Enchantment1));
    } else if (item.Enchantment1 != 0) {
        QString line = QStringLiteral("Enchantment 1: ") + Word(Vocabulary::StandardEnchantments, item.Enchantment1);
        if (item.Enchantment1Modifier != 0)
            line += QStringLiteral(", modifier %1").arg(item.Enchantment1Modifier);
        lines.append(line);
    }
    if (item.Enchantment2 != 0)
        lines.append(QStringLiteral("Enchantment 2: ") + Word(Vocabulary::SpecialEnchantments, item.Enchantment2));
    if (item.Charges != 0)
        lines.append(QStringLiteral("Charges: %1").arg(item.Charges));
    return lines.join(u'\n');
}

QStandardItemModel* ItemText::KindList(const ItemTable& table, const TextCodec& codec, const std::vector<int>& numbers,
                                       QObject* parent)
{
    // By name; where two kinds share a name, each shows its number too ("Ruby (185)").
    struct Kind {
        QString text;
        int number;
    };
    std::vector<Kind> kinds;
    kinds.reserve(numbers.size());
    QHash<QString, int> uses;
    for (const int number : numbers) {
        kinds.push_back({codec.ToText(table.GetItemName(number)), number});
        ++uses[kinds.back().text];
    }
    for (Kind& kind : kinds) {
        if (uses.value(kind.text) > 1)
            kind.text += QStringLiteral(" (%1)").arg(kind.number);
    }
    std::stable_sort(kinds.begin(), kinds.end(), [](const Kind& a, const Kind& b) {
        return QString::compare(a.text, b.text, Qt::CaseInsensitive) < 0;
    });
    // Built whole and handed over at once, so the entries are not inserted one by one.
    QList<QStandardItem*> entries;
    entries.reserve(static_cast<qsizetype>(kinds.size()));
    for (const Kind& kind : kinds) {
        auto* entry = new QStandardItem(kind.text);
        entry->setData(kind.number, Qt::UserRole);
        entries.append(entry);
    }
    auto* model = new QStandardItemModel(parent);
    model->appendColumn(entries);
    return model;
}
