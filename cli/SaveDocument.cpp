#include "cli/SaveDocument.h"

#include "game/SaveFields.h"

#include <QJsonArray>
#include <QStringList>

#include <map>
#include <unordered_map>
#include <utility>

namespace {

using Kind = SaveField::Kind;
using Leaf = std::pair<const QStringList*, QJsonValue>;

// The keys of the field's path, taken apart once for every character.
const QStringList& Parts(bool party, const SaveField& field)
{
    static std::unordered_map<int, QStringList> parts; // by rank, the party's apart
    const auto [at, added] = parts.try_emplace(field.rank * 2 + (party ? 1 : 0));
    if (!added)
        return at->second;
    if (field.kind != Kind::Spell) {
        at->second = field.name.split(QLatin1Char('.'));
    } else {
        // A spell's name may hold dots of its own ("Fire Resis."): the school ends at the second.
        const qsizetype dot = field.name.indexOf(QLatin1Char('.'), QStringLiteral("Spells.").size());
        at->second = {QStringLiteral("Spells"), field.name.mid(7, dot - 7), field.name.mid(dot + 1)};
    }
    return at->second;
}

// leaves[begin, end) share their first depth parts. A null leaf (an effect or a condition not
// in force) is left out with its members; an object leaf takes its members' values.
QJsonObject Nest(const std::vector<Leaf>& leaves, std::size_t begin, std::size_t end, qsizetype depth)
{
    QJsonObject object;
    for (std::size_t i = begin; i < end;) {
        const QString& key = (*leaves[i].first)[depth];
        std::size_t j = i + 1;
        while (j < end && (*leaves[j].first)[depth] == key)
            ++j;
        if (leaves[i].first->size() > depth + 1) {
            object.insert(key, Nest(leaves, i, j, depth + 1));
        } else if (!leaves[i].second.isNull()) {
            QJsonObject whole = leaves[i].second.toObject();
            const QJsonObject members = Nest(leaves, i + 1, j, depth + 1);
            for (auto it = members.begin(); it != members.end(); ++it)
                whole.insert(it.key(), it.value());
            object.insert(key, j > i + 1 ? QJsonValue(whole) : leaves[i].second);
        }
        i = j;
    }
    return object;
}

} // namespace

QJsonObject SaveDocument::Party() const
{
    return Build(0, SaveFields::List(game_, 0));
}

QJsonObject SaveDocument::Character(int n) const
{
    QJsonObject character = Build(n, SaveFields::List(game_, n));
    character.insert(QStringLiteral("Number"), n);
    return character;
}

QJsonObject SaveDocument::Build(int n, const std::vector<SaveField>& fields) const
{
    std::vector<Leaf> leaves;
    leaves.reserve(fields.size());
    QJsonArray members;
    std::map<int, QJsonObject> items;
    QJsonArray awards;
    for (const SaveField& field : fields) {
        const QJsonValue value = SaveFields::Shown(game_, codec_, n, field);
        switch (field.kind) {
        case Kind::Member:
            members.append(value);
            break;
        case Kind::Item: {
            QJsonObject& item = items[field.index];
            item.insert(field.name.mid(field.name.lastIndexOf(QLatin1Char('.')) + 1), value);
            if (field.sub == 0) {
                item.insert(QStringLiteral("Cell"), field.index);
                item.insert(QStringLiteral("Name"), codec_.ToText(game_.GetItemTable().GetItemName(value.toInt())));
            }
            break;
        }
        case Kind::Award:
            if (value.toInt() != 0)
                awards.append(QJsonObject{
                    {QStringLiteral("Number"), field.index},
                    {QStringLiteral("Text"),
                     codec_.ToText(game_.GetAwardTable().GetAwardText(field.index).value_or(""))},
                });
            break;
        default:
            leaves.emplace_back(&Parts(n == 0, field), value);
        }
    }
    QJsonObject document = Nest(leaves, 0, leaves.size(), 0);
    if (n == 0) {
        document.insert(QStringLiteral("Members"), members);
        if (!document.contains(QStringLiteral("PartySpells")))
            document.insert(QStringLiteral("PartySpells"), QJsonObject());
        return document;
    }
    QJsonArray list;
    for (const auto& [cell, item] : items)
        list.append(item);
    document.insert(QStringLiteral("Items"), list);
    document.insert(QStringLiteral("Awards"), awards);
    for (const char* group : {"Conditions", "ActiveSpells"}) {
        if (!document.contains(QLatin1String(group)))
            document.insert(QLatin1String(group), QJsonObject());
    }
    return document;
}
