#pragma once

#include "game/SaveField.h"
#include "model/SaveGame.h"
#include "text/TextCodec.h"

#include <QJsonValue>
#include <QString>

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

// The field walk: every named field of the party and of a character, in the order `show`
// prints them, with the rules for what each shows, what `diff` compares and prints, and which
// bytes of the window hold it. `show`, `set` and `diff` (and the Backups dialog's Compare) all
// go through this one list. n is 0 for the party, else the character 1..50.
class SaveFields {
public:
    // Window bytes [offset, offset + width); mask selects the bits of a field that shares
    // its bytes (byte i of the field takes bits 8i..8i+7).
    struct Span {
        int offset = 0;
        int width = 0;
        std::uint64_t mask = ~std::uint64_t{0};
    };
    struct Bytes {
        std::vector<Span> value; // what the shown value is made of
        std::vector<Span> rest;  // the field's other bytes: a text after its end, an effect's flags
    };

    // Items only at the cells that anchor one; awards as far as the game's award table goes.
    static std::vector<SaveField> List(const SaveGame& game, int n);
    // The field a path below party. / character[N]. names; member gets the rest of the path
    // for a field shown as an object (Time.Hour, PartySpells.Haste.Days, Conditions.Dead.Days).
    static std::optional<SaveField> Find(const SaveGame& game, int n, const QString& name, QString& member);
    // "party.Gold", "character[3].Skills.Sword.Level".
    static QString Path(int n, const SaveField& field);

    // As `show --json` prints it; null for an effect or condition not in force.
    static QJsonValue Shown(const SaveGame& game, const TextCodec& codec, int n, const SaveField& field);
    // As `diff` prints it, from the stored value: times as dates, words in the game's words,
    // null for none. isText: a text, printed in quotes.
    static QJsonValue Compared(const SaveGame& game, const TextCodec& codec, int n, const SaveField& field);
    static bool IsText(const SaveField& field) { return field.kind == SaveField::Kind::Text; }
    static Bytes Where(const SaveGame& game, int n, const SaveField& field);

    // Spell effect k of the party (n 0) or on character n, the party's way: zeros when not in force.
    static SpellEffectInfo Effect(const SaveGame& game, int n, int k);
    // A character's plain numbers in the order show prints them, a line of the summary each.
    static std::span<const std::span<const std::string_view>> NumberLines();
    // A stored clock as a date: "1175-03-05 13:07".
    static QString Date(std::int64_t ticks);
    // Window offset of character n's record offset.
    static int RecordStart(int n);
};
