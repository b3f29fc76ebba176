#pragma once

#include "model/GameTime.h"
#include "model/SaveGame.h"
#include "text/TextCodec.h"

#include <QJsonObject>
#include <QJsonValue>

#include <span>
#include <string_view>

// The saved game as one JSON document: the party and the characters under the model's own
// names, texts decoded with the game's code page. `show` prints it; `set` reads its values
// back through the same leaves, so what it reports is what `show` would.
class SaveDocument {
public:
    SaveDocument(const SaveGame& game, const TextCodec& codec) : game_(game), codec_(codec) {}

    QJsonObject Party() const;
    QJsonObject Character(int n) const;

    // The leaves.
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

private:
    QString Decode(std::string_view bytes) const { return codec_.ToText(bytes); }

    const SaveGame& game_;
    const TextCodec& codec_;
};
