#pragma once

#include "model/SaveGame.h"
#include "text/TextCodec.h"

#include <QJsonValue>
#include <QString>

#include <filesystem>
#include <vector>

// What differs between two saved games, field by field along the field walk, each side read
// with its own code page and printed in its own game's words; then the bytes no field holds.
// velkar-cli diff and the Backups dialog's Compare both show these lines.
class SaveComparison {
public:
    struct Line {
        enum class Kind {
            Value,      // the field shows differently
            SameBytes,  // it shows the same, but its stored bytes differ
            OtherBytes, // bytes outside every field differ: path is a record, "window" or "container"
        };
        Kind kind = Kind::Value;
        QString path;
        QJsonValue a; // as printed: null for none
        QJsonValue b;
        bool isText = false;
        int count = 0;   // OtherBytes: how many bytes
        QString offsets; // OtherBytes: "7140-7151, 7160"

        // "party.Gold: 502710 -> 76", "character[3]: 12 other bytes differ, at record offsets 7140-7151".
        QString Text() const;
        // One side as the line prints it: texts in quotes, none for null.
        QString Side(const QJsonValue& value) const;
    };

    struct Save {
        const SaveGame& game;
        const TextCodec& codec;
        std::filesystem::path path; // the game's file, for the container around the window
    };

    // What to compare: the party, these characters (in this order), and whether the bytes
    // outside the party and the characters count too (the rest of the window, the container).
    struct Scope {
        bool party = true;
        std::vector<int> characters;
        bool rest = true;
    };
    static Scope Everything();

    // Reads the containers from the files for the bytes outside the window; throws
    // FileError when one cannot be read.
    static std::vector<Line> Compare(const Save& a, const Save& b, const Scope& scope);
};
