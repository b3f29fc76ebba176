#pragma once

#include "model/SaveGame.h"
#include "text/TextCodec.h"

#include <QJsonValue>
#include <QString>

#include <functional>
#include <vector>

// One FIELD=VALUE of `set`, taken apart: the fields it names (fifty for character[*]), each
// with the value checked against what the field can hold. Paths are those of `show --json`:
// party.Gold, party.Time.Hour, party.Members.2, party.PartySpells.Haste.Power,
// character[3].Might, character[3].Skills.Sword.Mastery, character[3].Spells.Mind.Charm,
// character[3].Awards.12, character[3].Conditions.Dead.Days, character[3].Conditions.Dead=none,
// character[3].Items.Cell0.Charges. The fields are the field walk's (SaveFields).
class Assignment {
public:
    // The order of the writes: the clock first, as every time and age is counted from it; then
    // each base and an effect's time left, before the totals and members read against them.
    enum class Order { Clock, Base, Other };

    struct Target {
        QString path;  // with the character's number in place of *
        QString given; // the value as given
        Order order = Order::Other;
        bool isText = false;
        bool isMember = false; // a party slot: the roster is checked once all are written
        // What show would print for it now: null for an effect or condition not in force.
        std::function<QJsonValue(const SaveGame&)> read;
        QJsonValue wanted; // what it is to show once written
        // Throws CliError, saying why without the path, where the value does not fit what the
        // field stores now (a total against its base, a member of an effect not in force).
        std::function<void(SaveGame&)> write;
    };

    // Throws CliError (usage) naming the argument: no '=', an unknown field, a character
    // outside 1..50, a value that is no number, outside the field's range, or a text the
    // code page cannot store or the field cannot hold.
    // game and codec: the saved game and its code page, which outlive the targets; its words
    // name its classes and awards.
    static std::vector<Target> Parse(const QString& argument, const SaveGame& game, const TextCodec& codec);
};
