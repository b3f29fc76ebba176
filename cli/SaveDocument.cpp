#include "cli/SaveDocument.h"

#include "cli/ModelNames.h"
#include "model/CharacterLayout.h"
#include "model/InventoryLayout.h"
#include "model/SkillWord.h"
#include "model/Vocabulary.h"

#include <QJsonArray>

#include <array>

namespace {

constexpr std::array<std::string_view, 5> kEffectSkills = {
    Vocabulary::MasteryNone,     Vocabulary::MasteryNames[0], Vocabulary::MasteryNames[1],
    Vocabulary::MasteryNames[2], Vocabulary::MasteryNames[3],
};

QString Latin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

QJsonObject SaveDocument::Party() const
{
    QJsonArray members;
    for (int slot = 1; slot <= WindowLayout::RosterSlotCount; ++slot)
        members.append(Member(game_.GetPartyMember(slot)));
    QJsonObject spells;
    for (const ModelNames::Entry& effect : ModelNames::PartySpells()) {
        const QJsonValue value = Effect(game_.GetPartySpell(effect.index), true);
        if (!value.isNull())
            spells.insert(Latin1(effect.name), value);
    }
    return {
        {QStringLiteral("Food"), game_.GetFood()}, {QStringLiteral("Gold"), game_.GetGold()},
        {QStringLiteral("Bank"), game_.GetBank()}, {QStringLiteral("Time"), Time(game_.GetTime())},
        {QStringLiteral("Members"), members},      {QStringLiteral("PartySpells"), spells},
    };
}

QJsonObject SaveDocument::Character(int n) const
{
    namespace CL = CharacterLayout;
    QJsonObject character{
        {QStringLiteral("Number"), n},
        {QStringLiteral("Name"), Decode(game_.GetName(n))},
        {QStringLiteral("Description"), Decode(game_.GetDescription(n))},
    };
    for (const ModelNames::PlainField& field : ModelNames::PlainFields())
        character.insert(Latin1(field.name), field.isClass
                                                 ? ClassWord((game_.*field.get)(n), game_.GetClassTable(), codec_)
                                                 : QJsonValue((game_.*field.get)(n)));

    QJsonObject skills;
    for (const ModelNames::Entry& skill : ModelNames::Skills())
        skills.insert(Latin1(skill.name), Skill(game_.GetSkill(n, skill.index)));
    character.insert(QStringLiteral("Skills"), skills);

    QJsonObject schools;
    for (const ModelNames::Entry& school : ModelNames::Schools()) {
        const std::span<const std::uint8_t> flags = game_.GetSpellGroup(n, school.index);
        QJsonObject spells;
        for (std::size_t k = 0; k < flags.size(); ++k)
            spells.insert(Latin1(Vocabulary::SpellNames[static_cast<std::size_t>(school.index)][k]), flags[k]);
        schools.insert(Latin1(school.name), spells);
    }
    character.insert(QStringLiteral("Spells"), schools);

    QJsonArray items;
    for (int cell = 0; cell < InventoryLayout::CellCount; ++cell) {
        InventoryItem item;
        if (game_.GetInventoryCell(n, cell, item) != 1)
            continue;
        items.append(QJsonObject{
            {QStringLiteral("Cell"), cell},
            {QStringLiteral("ItemNumber"), item.ItemNumber},
            {QStringLiteral("Name"), Decode(game_.GetItemTable().GetItemName(item.ItemNumber))},
            {QStringLiteral("Enchantment1"), item.Enchantment1},
            {QStringLiteral("Enchantment1Modifier"), item.Enchantment1Modifier},
            {QStringLiteral("Enchantment2"), item.Enchantment2},
            {QStringLiteral("Charges"), item.Charges},
            {QStringLiteral("ItemFlags"), item.ItemFlags},
        });
    }
    character.insert(QStringLiteral("Items"), items);

    QJsonArray awards;
    for (int a = 0; a < game_.GetAwardTable().Count(); ++a) {
        if (game_.GetAward(n, a) > 0)
            awards.append(QJsonObject{
                {QStringLiteral("Number"), a},
                {QStringLiteral("Text"), Decode(game_.GetAwardTable().GetAwardText(a).value_or(""))},
            });
    }
    character.insert(QStringLiteral("Awards"), awards);

    QJsonObject conditions;
    for (const ModelNames::Entry& condition : ModelNames::Conditions()) {
        GameDuration elapsed;
        if (game_.GetCondition(n, condition.index, elapsed) != 0)
            conditions.insert(Latin1(condition.name), Duration(elapsed));
    }
    character.insert(QStringLiteral("Conditions"), conditions);

    QJsonObject effects;
    for (const ModelNames::Entry& effect : ModelNames::ActiveSpells()) {
        const ActiveSpellInfo info = game_.GetActiveSpell(n, effect.index);
        const QJsonValue value = Effect({info.duration, info.power, info.skill, 0}, false);
        if (!value.isNull())
            effects.insert(Latin1(effect.name), value);
    }
    character.insert(QStringLiteral("ActiveSpells"), effects);
    return character;
}

QJsonObject SaveDocument::Time(const GameTime& time)
{
    return {
        {QStringLiteral("Year"), time.year},     {QStringLiteral("Month"), time.month + 1},
        {QStringLiteral("Day"), time.day + 1},   {QStringLiteral("Hour"), time.hour},
        {QStringLiteral("Minute"), time.minute},
    };
}

QJsonObject SaveDocument::Duration(const GameDuration& duration)
{
    return {
        {QStringLiteral("Days"), duration.days},
        {QStringLiteral("Hours"), duration.hours},
        {QStringLiteral("Minutes"), duration.minutes},
    };
}

QJsonValue SaveDocument::Effect(const SpellEffectInfo& info, bool withCaster)
{
    if (info == SpellEffectInfo{})
        return QJsonValue::Null;
    QJsonObject effect = Duration(info.duration);
    effect.insert(QStringLiteral("Power"), info.power);
    effect.insert(QStringLiteral("Skill"), Word(info.skill, kEffectSkills));
    if (withCaster)
        effect.insert(QStringLiteral("Caster"), info.caster);
    return effect;
}

QJsonObject SaveDocument::Skill(int word)
{
    return {
        {QStringLiteral("Level"), SkillWord::Level(word)},
        {QStringLiteral("Mastery"), Word(SkillWord::Mastery(word), Vocabulary::MasteryNames)},
    };
}

QJsonValue SaveDocument::Member(int slot)
{
    return slot == -1 ? QJsonValue(QJsonValue::Null) : Number(std::int64_t{slot} + 1);
}

QJsonValue SaveDocument::Word(int value, std::span<const std::string_view> words)
{
    if (value < 0 || static_cast<std::size_t>(value) >= words.size())
        return value;
    return Latin1(words[static_cast<std::size_t>(value)]);
}

QJsonValue SaveDocument::ClassWord(int value, const ClassTable& classes, const TextCodec& codec)
{
    const std::optional<std::string_view> name = classes.GetClassName(value);
    return name ? QJsonValue(codec.ToText(*name)) : QJsonValue(value);
}

std::span<const std::string_view> SaveDocument::EffectSkillWords()
{
    return kEffectSkills;
}
