#include "game/ModelNames.h"

#include "model/CharacterLayout.h"
#include "model/WindowLayout.h"

#include <array>

namespace {

using Entry = ModelNames::Entry;
using PlainField = ModelNames::PlainField;
using Stored = ModelNames::Stored;

constexpr std::string_view Strip(std::string_view name, std::string_view prefix)
{
    return name.substr(prefix.size());
}

constexpr PlainField Plain(std::string_view name, ModelNames::Getter get, ModelNames::Setter set, int offset, int width)
{
    return {.name = name,
            .get = get,
            .set = set,
            .offset = offset,
            .width = width,
            .isBase = name == "BaseLevel",
            .isClass = name == "Class"};
}

// clang-format off
#define VELKAR_X(name, k) Entry{Strip(#name, "PartySpell"), k},
constexpr std::array kPartySpells = {VELKAR_PARTY_SPELLS(VELKAR_X)};
#undef VELKAR_X
#define VELKAR_X(name, k) Entry{Strip(#name, "ActiveSpell"), k},
constexpr std::array kActiveSpells = {VELKAR_ACTIVE_SPELLS(VELKAR_X)};
#undef VELKAR_X
#define VELKAR_X(name, k) Entry{Strip(#name, "Skill"), k},
constexpr std::array kSkills = {VELKAR_SKILLS(VELKAR_X)};
#undef VELKAR_X
#define VELKAR_X(name, k) Entry{Strip(#name, "Condition"), k},
constexpr std::array kConditions = {VELKAR_CONDITIONS(VELKAR_X)};
#undef VELKAR_X
#define VELKAR_X(name, g) Entry{Strip(#name, "Spells"), g},
constexpr std::array kSchools = {VELKAR_SPELL_GROUPS(VELKAR_X)};
#undef VELKAR_X

// The table's fields, then those the model computes: each with the width of what it stores.
#define VELKAR_X(name, offset, width) Plain(#name, &SaveGame::Get##name, &SaveGame::Set##name, offset, width),
constexpr std::array kPlainFields = {
    VELKAR_CHARACTER_FIELDS(VELKAR_X)
    PlainField{.name = "Face", .get = &SaveGame::GetFace, .set = &SaveGame::SetFace,
               .offset = CharacterLayout::Face.Offset, .width = CharacterLayout::Face.Width},
    PlainField{.name = "Level", .get = &SaveGame::GetLevel, .set = &SaveGame::SetLevel,
               .offset = CharacterLayout::LevelBonus.Offset, .width = CharacterLayout::LevelBonus.Width, .stored = Stored::BonusOverLevel},
    PlainField{.name = "BaseAge", .get = &SaveGame::GetBaseAge, .set = &SaveGame::SetBaseAge,
               .offset = CharacterLayout::BirthYear.Offset, .width = CharacterLayout::BirthYear.Width, .stored = Stored::BirthYear, .isBase = true},
    PlainField{.name = "Age", .get = &SaveGame::GetAge, .set = &SaveGame::SetAge,
               .offset = CharacterLayout::AgeBonus.Offset, .width = CharacterLayout::AgeBonus.Width, .stored = Stored::BonusOverAge},
};
#undef VELKAR_X
// clang-format on

static_assert(kPartySpells.size() == WindowLayout::PartySpellCount);
static_assert(kActiveSpells.size() == CharacterLayout::ActiveSpellCount);
static_assert(kSkills.size() == CharacterLayout::SkillSlotCount - 1);
static_assert(kConditions.size() == CharacterLayout::ConditionCount);
static_assert(kSchools.size() == CharacterLayout::SpellGroupCount);
static_assert(kPartySpells[2].name == "DayOfTheGods" && kSkills[34].name == "IdMonster");

} // namespace

std::span<const Entry> ModelNames::PartySpells()
{
    return kPartySpells;
}

std::span<const Entry> ModelNames::ActiveSpells()
{
    return kActiveSpells;
}

std::span<const Entry> ModelNames::Skills()
{
    return kSkills;
}

std::span<const Entry> ModelNames::Conditions()
{
    return kConditions;
}

std::span<const Entry> ModelNames::Schools()
{
    return kSchools;
}

std::span<const PlainField> ModelNames::PlainFields()
{
    return kPlainFields;
}

const Entry* ModelNames::Find(std::span<const Entry> entries, std::string_view name)
{
    for (const Entry& entry : entries) {
        if (entry.name == name)
            return &entry;
    }
    return nullptr;
}

const PlainField* ModelNames::FindPlain(std::string_view name)
{
    for (const PlainField& field : kPlainFields) {
        if (field.name == name)
            return &field;
    }
    return nullptr;
}
