#pragma once

#include <QString>

// One named field of a saved game as the field walk lists it: what it is, which one, and its
// path below "party." or "character[N]." (the paths of `show --json` and `set`).
struct SaveField {
    enum class Kind {
        Supply,      // index: 0 Food, 1 Gold, 2 Bank
        Time,        // the party clock
        Member,      // index: party slot 1..5
        Effect,      // index: spell effect (the party's for the party); its time
        EffectPower, // the same effect's power, skill and (the party's only) caster
        EffectSkill,
        EffectCaster,
        Text,         // index: 0 Name, 1 Description
        Plain,        // index: row of ModelNames::PlainFields
        SkillLevel,   // index: skill slot
        SkillMastery, //
        Spell,        // index: spell group, sub: its byte
        Item,         // index: anchor cell, sub: word of the entry (0 ItemNumber .. 5 ItemFlags)
        Award,        // index: award number
        Condition,    // index: condition
    };

    Kind kind = Kind::Supply;
    int index = 0;
    int sub = 0;
    QString name;
    int rank = 0; // the walk's order, the same for the same field in any saved game
};
