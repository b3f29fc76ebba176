#include "game/ShownValue.h"

#include "model/SkillWord.h"
#include "model/Vocabulary.h"

#include <array>
#include <optional>

namespace {

constexpr std::array<std::string_view, 5> kEffectSkills = {
    Vocabulary::MasteryNone,     Vocabulary::MasteryNames[0], Vocabulary::MasteryNames[1],
    Vocabulary::MasteryNames[2], Vocabulary::MasteryNames[3],
};

} // namespace

QJsonObject ShownValue::Time(const GameTime& time)
{
    return {
        {QStringLiteral("Year"), time.year},     {QStringLiteral("Month"), time.month + 1},
        {QStringLiteral("Day"), time.day + 1},   {QStringLiteral("Hour"), time.hour},
        {QStringLiteral("Minute"), time.minute},
    };
}

QJsonObject ShownValue::Duration(const GameDuration& duration)
{
    return {
        {QStringLiteral("Days"), duration.days},
        {QStringLiteral("Hours"), duration.hours},
        {QStringLiteral("Minutes"), duration.minutes},
    };
}

QJsonValue ShownValue::Effect(const SpellEffectInfo& info, bool withCaster)
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

QJsonObject ShownValue::Skill(int word)
{
    return {
        {QStringLiteral("Level"), SkillWord::Level(word)},
        {QStringLiteral("Mastery"), Word(SkillWord::Mastery(word), Vocabulary::MasteryNames)},
    };
}

QJsonValue ShownValue::Member(int slot)
{
    return slot == -1 ? QJsonValue(QJsonValue::Null) : Number(std::int64_t{slot} + 1);
}

QJsonValue ShownValue::Word(int value, std::span<const std::string_view> words)
{
    if (value < 0 || static_cast<std::size_t>(value) >= words.size())
        return value;
    return Latin1(words[static_cast<std::size_t>(value)]);
}

QJsonValue ShownValue::ClassWord(int value, const ClassTable& classes, const TextCodec& codec)
{
    const std::optional<std::string_view> name = classes.GetClassName(value);
    return name ? QJsonValue(codec.ToText(*name)) : QJsonValue(value);
}

std::span<const std::string_view> ShownValue::EffectSkillWords()
{
    return kEffectSkills;
}
