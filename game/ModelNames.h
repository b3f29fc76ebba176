#pragma once

#include "model/SaveGame.h"

#include <span>
#include <string_view>

// The names the command line uses are the model's own, taken from its layout tables: a party
// spell is "Haste" for SetPartySpellHaste, a skill "Sword" for SetSkillSword, and so on.
class ModelNames {
public:
    struct Entry {
        std::string_view name;
        int index; // the model's effect, skill slot, condition or spell group number
    };

    using Getter = int (SaveGame::*)(int) const;
    using Setter = void (SaveGame::*)(int, int);
    // How a plain field's value becomes the number stored: most as they are; a total as a
    // bonus against its base, the base age as a birth year against the clock's year.
    enum class Stored { Value, BonusOverLevel, BonusOverAge, BirthYear };

    struct PlainField {
        std::string_view name;
        Getter get;
        Setter set;
        int offset; // record offset of the stored number
        int width;  // of the stored, signed number
        Stored stored = Stored::Value;
        bool isBase = false;  // written before the totals that depend on it
        bool isClass = false; // its value has the words of the game's class table
    };

    static std::span<const Entry> PartySpells();
    static std::span<const Entry> ActiveSpells();
    static std::span<const Entry> Skills();
    static std::span<const Entry> Conditions();
    static std::span<const Entry> Schools();
    static std::span<const PlainField> PlainFields();

    static const Entry* Find(std::span<const Entry> entries, std::string_view name);
    static const PlainField* FindPlain(std::string_view name);
};
