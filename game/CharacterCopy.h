#pragma once

#include "model/SaveGame.h"
#include "text/TextCodec.h"

#include <QString>

#include <functional>

// One character copied over another, between two saved games or within one: velkar-cli's
// copy-character and the party dialog's Copy From both go through here, so they keep the same
// rules (the clocks' difference, texts as bytes, the target's own bytes written alone).
class CharacterCopy {
public:
    // What to say before the texts are copied as bytes from a game in one code page into a game
    // in another ("the texts are copied as bytes, and ..."); empty when the pages are the same.
    // source and target name the two saved games as the user gave them.
    static QString CodePageWarning(const QString& source, TextCodec::Page sourcePage, const QString& target,
                                   TextCodec::Page targetPage);

    // Puts character n of source, its times moved to target's clock, over character m of target,
    // then runs write, which writes character m alone (the target's backup hook runs first).
    // source may be target. When write throws, target holds character m as before and the
    // error goes on: nothing the file does not hold is left in memory.
    static void Copy(const SaveGame& source, int n, SaveGame& target, int m, const std::function<void()>& write);
};
