// SaveGame: what runs on the clock: party spells, conditions, a character's active spells.

#include "model/SaveGame.h"

#include "model/IndexCheck.h"
#include "model/Wrapping.h"

namespace WL = WindowLayout;
namespace CL = CharacterLayout;
namespace SE = SpellEffectLayout;

// An expiry of 0, or one already past, reads as no effect at all.
SpellEffectInfo SaveGame::ReadSpellEffect(int offset) const
{
    const std::int64_t expiry = Read(offset + SE::Expiry.Offset, SE::Expiry.Width);
    const std::int64_t now = GetTicks();
    if (expiry == 0 || expiry < now)
        return {};
    SpellEffectInfo info;
    info.duration = TicksToDuration(WrapSub64(expiry, now));
    info.power = static_cast<int>(Read(offset + SE::Power.Offset, SE::Power.Width));
    info.skill = static_cast<int>(Read(offset + SE::Skill.Offset, SE::Skill.Width));
    info.caster = static_cast<int>(ReadUnsigned(offset + SE::Caster.Offset, SE::Caster.Width));
    return info;
}

void SaveGame::WriteSpellEffect(int offset, const SpellEffectInfo& value, SpellEffectParts parts)
{
    if (parts.expiry)
        Write(offset + SE::Expiry.Offset, SE::Expiry.Width, WrapAdd64(GetTicks(), DurationToTicks(value.duration)));
    if (parts.power)
        Write(offset + SE::Power.Offset, SE::Power.Width, value.power);
    if (parts.skill)
        Write(offset + SE::Skill.Offset, SE::Skill.Width, value.skill);
    if (parts.caster)
        Write(offset + SE::Caster.Offset, SE::Caster.Width, value.caster);
}

SpellEffectInfo SaveGame::GetPartySpell(int k) const
{
    CheckIndex(k, 0, WL::PartySpellCount - 1, "party spell");
    return ReadSpellEffect(WL::PartyRecordOffset + WL::PartySpellsOffset + k * SE::Size);
}

void SaveGame::SetPartySpell(int k, const SpellEffectInfo& value, SpellEffectParts parts)
{
    CheckIndex(k, 0, WL::PartySpellCount - 1, "party spell");
    WriteSpellEffect(WL::PartyRecordOffset + WL::PartySpellsOffset + k * SE::Size, value, parts);
}

int SaveGame::GetCondition(int n, int k, GameDuration& duration) const
{
    CheckIndex(k, 0, CL::ConditionCount - 1, "condition");
    const std::int64_t start =
        Read(RecordOffset(n) + CL::ConditionsOffset + k * CL::ConditionWidth, CL::ConditionWidth);
    if (start == 0)
        return 0;
    duration = TicksToDuration(WrapSub64(GetTicks(), start));
    return 1;
}

void SaveGame::SetCondition(int n, int k, int afflicted, const GameDuration& duration)
{
    CheckIndex(k, 0, CL::ConditionCount - 1, "condition");
    const std::int64_t start = afflicted != 0 ? WrapSub64(GetTicks(), DurationToTicks(duration)) : 0;
    Write(RecordOffset(n) + CL::ConditionsOffset + k * CL::ConditionWidth, CL::ConditionWidth, start);
}

ActiveSpellInfo SaveGame::GetActiveSpell(int n, int k) const
{
    CheckIndex(k, 0, CL::ActiveSpellCount - 1, "active spell");
    const SpellEffectInfo info = ReadSpellEffect(RecordOffset(n) + CL::ActiveSpellsOffset + k * SE::Size);
    return {info.duration, info.power, info.skill};
}

void SaveGame::SetActiveSpell(int n, int k, const ActiveSpellInfo& value, SpellEffectParts parts)
{
    CheckIndex(k, 0, CL::ActiveSpellCount - 1, "active spell");
    parts.caster = false; // a character's effects have none
    WriteSpellEffect(RecordOffset(n) + CL::ActiveSpellsOffset + k * SE::Size,
                     {value.duration, value.power, value.skill, 0}, parts);
}
