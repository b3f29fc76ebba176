#pragma once

#include "model/WindowLayout.h"

#include <optional>
#include <span>

// The rule for the party's slots (a character's index from 0, -1 empty) that both programs
// check before storing the member count: at least one member, and no empty slot before one.
class PartyRoster {
public:
    static constexpr const char* GapMessage = "You cannot have gaps in your party.";

    // The number of members; nothing when the slots break the rule.
    static std::optional<int> MemberCount(std::span<const int, WindowLayout::RosterSlotCount> members);
};
