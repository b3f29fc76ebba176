#include "cli/TextReport.h"

#include "cli/Console.h"
#include "game/SaveFields.h"
#include "game/ShownValue.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QStringList>

#include <initializer_list>
#include <span>
#include <string_view>

namespace {

using Keys = std::initializer_list<const char*>;

const Keys kTime = {"Year", "Month", "Day", "Hour", "Minute"};
const Keys kEffect = {"Days", "Hours", "Minutes", "Power", "Skill", "Caster"};
const Keys kItem = {"ItemNumber",   "Name",    "Enchantment1", "Enchantment1Modifier",
                    "Enchantment2", "Charges", "ItemFlags"};

// "Key value, Key value" in the order given.
QString Inline(const QJsonObject& object, Keys keys)
{
    QStringList parts;
    for (const char* key : keys) {
        const QJsonValue value = object.value(QLatin1String(key));
        if (!value.isUndefined())
            parts.append(QStringLiteral("%1 %2").arg(QLatin1String(key),
                                                     TextReport::Value(value, std::string_view(key) == "Name")));
    }
    return parts.join(QStringLiteral(", "));
}

// "Title: a, b" or, where there are many, one entry a line below the title.
void Group(QStringList& lines, const QString& title, const QStringList& entries, bool oneLine)
{
    if (entries.isEmpty() || oneLine) {
        lines.append(QStringLiteral("  %1: %2")
                         .arg(title, entries.isEmpty() ? QStringLiteral("none") : entries.join(QStringLiteral(", "))));
        return;
    }
    lines.append(QStringLiteral("  %1:").arg(title));
    for (const QString& entry : entries)
        lines.append(QStringLiteral("    ") + entry);
}

QStringList Effects(const QJsonObject& effects)
{
    QStringList entries;
    for (auto it = effects.begin(); it != effects.end(); ++it)
        entries.append(it.key() + QStringLiteral(": ") + Inline(it.value().toObject(), kEffect));
    return entries;
}

void Character(QStringList& lines, QJsonObject c)
{
    lines.append(QStringLiteral("Character %1: %2")
                     .arg(c.take(QStringLiteral("Number")).toInt())
                     .arg(Console::Quoted(c.take(QStringLiteral("Name")).toString())));
    // The numbers in the field walk's order; keys left out there follow on lines of their own.
    for (const std::span<const std::string_view> line : SaveFields::NumberLines()) {
        QStringList parts;
        for (const std::string_view key : line) {
            const QString name = ShownValue::Latin1(key);
            parts.append(QStringLiteral("%1 %2").arg(name, TextReport::Value(c.take(name), false)));
        }
        lines.append(QStringLiteral("  ") + parts.join(QStringLiteral(", ")));
    }
    lines.append(QStringLiteral("  Description: ") + Console::Quoted(c.take(QStringLiteral("Description")).toString()));

    QStringList skills;
    const QJsonObject allSkills = c.take(QStringLiteral("Skills")).toObject();
    for (auto it = allSkills.begin(); it != allSkills.end(); ++it) {
        const QJsonObject skill = it.value().toObject();
        const QString mastery = skill.value(QStringLiteral("Mastery")).toString();
        const int level = skill.value(QStringLiteral("Level")).toInt();
        if (level != 0 || mastery != QStringLiteral("Novice"))
            skills.append(QStringLiteral("%1 %2 %3").arg(it.key()).arg(level).arg(mastery));
    }
    Group(lines, QStringLiteral("Skills"), skills, true);

    QStringList schools;
    const QJsonObject allSpells = c.take(QStringLiteral("Spells")).toObject();
    for (auto school = allSpells.begin(); school != allSpells.end(); ++school) {
        QStringList known;
        const QJsonObject spells = school.value().toObject();
        for (auto spell = spells.begin(); spell != spells.end(); ++spell) {
            const int flag = spell.value().toInt();
            if (flag != 0)
                known.append(flag == 1 ? spell.key() : QStringLiteral("%1 (%2)").arg(spell.key()).arg(flag));
        }
        if (!known.isEmpty())
            schools.append(school.key() + QStringLiteral(": ") + known.join(QStringLiteral(", ")));
    }
    Group(lines, QStringLiteral("Spells"), schools, false);

    QStringList items;
    for (const QJsonValue& item : c.take(QStringLiteral("Items")).toArray())
        items.append(QStringLiteral("Cell %1: ").arg(item[QStringLiteral("Cell")].toInt()) +
                     Inline(item.toObject(), kItem));
    Group(lines, QStringLiteral("Items"), items, false);

    QStringList awards;
    for (const QJsonValue& award : c.take(QStringLiteral("Awards")).toArray())
        awards.append(QStringLiteral("%1 %2")
                          .arg(award[QStringLiteral("Number")].toInt())
                          .arg(award[QStringLiteral("Text")].toString()));
    Group(lines, QStringLiteral("Awards"), awards, false);

    Group(lines, QStringLiteral("Conditions"), Effects(c.take(QStringLiteral("Conditions")).toObject()), false);
    Group(lines, QStringLiteral("ActiveSpells"), Effects(c.take(QStringLiteral("ActiveSpells")).toObject()), false);
    for (auto it = c.begin(); it != c.end(); ++it)
        lines.append(QStringLiteral("  %1: %2").arg(it.key(), TextReport::Value(it.value(), false)));
}

} // namespace

QString TextReport::Render(const QJsonObject& document)
{
    QStringList lines;
    if (document.contains(QStringLiteral("party"))) {
        const QJsonObject party = document.value(QStringLiteral("party")).toObject();
        lines.append(QStringLiteral("Party"));
        lines.append(QStringLiteral("  ") + Inline(party, {"Food", "Gold", "Bank"}));
        lines.append(QStringLiteral("  Time: ") + Inline(party.value(QStringLiteral("Time")).toObject(), kTime));
        QStringList members;
        for (const QJsonValue& member : party.value(QStringLiteral("Members")).toArray())
            members.append(Value(member, false));
        lines.append(QStringLiteral("  Members: ") + members.join(QStringLiteral(", ")));
        Group(lines, QStringLiteral("PartySpells"), Effects(party.value(QStringLiteral("PartySpells")).toObject()),
              false);
    }
    for (const QJsonValue& character : document.value(QStringLiteral("characters")).toArray())
        Character(lines, character.toObject());
    return lines.join(QLatin1Char('\n'));
}

QString TextReport::Value(const QJsonValue& value, bool isText)
{
    switch (value.type()) {
    case QJsonValue::Null:
    case QJsonValue::Undefined:
        return QStringLiteral("none");
    case QJsonValue::String:
        return isText ? Console::Quoted(value.toString()) : value.toString();
    case QJsonValue::Double:
        return QString::number(value.toInteger());
    default:
        return QString::fromUtf8(QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact)).chopped(1).mid(1);
    }
}
