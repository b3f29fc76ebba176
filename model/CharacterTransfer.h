#pragma once

#include "model/SaveGame.h"

#include <cstdint>
#include <vector>

// A character carried from one saved game into another, or within one: its own bytes, with
// the times they hold moved to the target's clock. A condition stores when it began and a
// spell effect when it ends, as clock ticks, and the age counts from a birth year: each moves
// by the clocks' difference (the birth year by the years'), so that what has elapsed, what
// remains and the age stay as they were. A tick count of 0, which means none, stays 0.
class CharacterTransfer {
public:
    // Character n's bytes from source, for RestoreCharacterBytes on target.
    static std::vector<std::uint8_t> Rebase(const SaveGame& source, int n, const SaveGame& target);
};
