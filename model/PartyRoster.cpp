#include "model/PartyRoster.h"

#include <algorithm>

std::optional<int> PartyRoster::MemberCount(std::span<const int, WindowLayout::RosterSlotCount> members)
{
    const auto firstEmpty = std::find(members.begin(), members.end(), -1);
    if (firstEmpty == members.begin() ||
        std::any_of(firstEmpty, members.end(), [](int member) { return member != -1; }))
        return std::nullopt;
    return static_cast<int>(firstEmpty - members.begin());
}
