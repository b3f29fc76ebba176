#pragma once

#include "model/ClassTable.h"
#include "model/GameTime.h"
#include "model/SaveGame.h"
#include "text/TextCodec.h"

#include <QJsonObject>
#include <QJsonValue>

#include <cstdint>
#include <span>
#include <string_view>

// The values of the fields as `show --json` prints them and `set` reads them back: the
// leaves of the document, one rule each, for the field walk and the commands alike.
class ShownValue {
public:
    static QJsonObject Time(const GameTime& time);
    static QJsonObject Duration(const GameDuration& duration);
    // Null when the effect is not in force (the model reads it as all zeros).
    static QJsonValue Effect(const SpellEffectInfo& info, bool withCaster);
    static QJsonObject Skill(int word);
    // A character number 1..50 from a stored party slot; null for an empty one.
    static QJsonValue Member(int slot);
    // The word of row value, or the number where there is no such row.
    static QJsonValue Word(int value, std::span<const std::string_view> words);
    // The game's name of class value (bytes decoded with codec), or the number where it names none.
    static QJsonValue ClassWord(int value, const ClassTable& classes, const TextCodec& codec);
    // "None", then the masteries: an effect's skill.
    static std::span<const std::string_view> EffectSkillWords();
    static QJsonValue Number(std::int64_t value) { return QJsonValue(static_cast<double>(value)); }
    static QString Latin1(std::string_view text)
    {
        return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    }
};
