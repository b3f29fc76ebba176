// SaveGame: the party block (clock, food, gold, bank) and the roster.

#include "model/SaveGame.h"

#include "model/IndexCheck.h"

namespace WL = WindowLayout;

std::int64_t SaveGame::GetTicks() const
{
    return Read(WL::PartyRecordOffset + WL::Time.Offset, WL::Time.Width);
}

std::int32_t SaveGame::CurrentYear() const
{
    return TicksToGameTime(GetTicks()).year;
}

GameTime SaveGame::GetTime() const
{
    return TicksToGameTime(GetTicks());
}

void SaveGame::SetTime(const GameTime& time)
{
    Write(WL::PartyRecordOffset + WL::Time.Offset, WL::Time.Width, GameTimeToTicks(time));
}

int SaveGame::GetFood() const
{
    return static_cast<int>(Read(WL::PartyRecordOffset + WL::Food.Offset, WL::Food.Width));
}

void SaveGame::SetFood(int value)
{
    Write(WL::PartyRecordOffset + WL::Food.Offset, WL::Food.Width, value);
}

int SaveGame::GetGold() const
{
    return static_cast<int>(Read(WL::PartyRecordOffset + WL::Gold.Offset, WL::Gold.Width));
}

void SaveGame::SetGold(int value)
{
    Write(WL::PartyRecordOffset + WL::Gold.Offset, WL::Gold.Width, value);
}

int SaveGame::GetBank() const
{
    return static_cast<int>(Read(WL::PartyRecordOffset + WL::Bank.Offset, WL::Bank.Width));
}

void SaveGame::SetBank(int value)
{
    Write(WL::PartyRecordOffset + WL::Bank.Offset, WL::Bank.Width, value);
}

int SaveGame::GetPartyMember(int slot) const
{
    CheckIndex(slot, 1, WL::RosterSlotCount, "party slot");
    return static_cast<int>(Read(WL::RosterOffset + (slot - 1) * WL::RosterSlotWidth, WL::RosterSlotWidth));
}

void SaveGame::SetPartyMember(int slot, int value)
{
    CheckIndex(slot, 1, WL::RosterSlotCount, "party slot");
    Write(WL::RosterOffset + (slot - 1) * WL::RosterSlotWidth, WL::RosterSlotWidth, value);
}

void SaveGame::SetPartyMemberCount(int value)
{
    Write(WL::RosterOffset + WL::RosterCount.Offset, WL::RosterCount.Width, value);
}
