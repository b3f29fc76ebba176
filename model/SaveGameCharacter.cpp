// SaveGame: a character record's fields, texts, skills, known spells and awards.

#include "model/SaveGame.h"

#include "model/IndexCheck.h"
#include "model/Wrapping.h"

#include <cstring>
#include <stdexcept>
#include <string>

namespace CL = CharacterLayout;

int SaveGame::RecordOffset(int n)
{
    CheckIndex(n, 1, CL::CharacterCount, "character");
    return CL::FirstRecord + (n - 1) * CL::RecordSize;
}

int SaveGame::ReadCharacter(int n, Field field) const
{
    return static_cast<int>(Read(RecordOffset(n) + field.Offset, field.Width));
}

void SaveGame::WriteCharacter(int n, Field field, int value)
{
    Write(RecordOffset(n) + field.Offset, field.Width, value);
}

int SaveGame::GetFace(int n) const
{
    return ReadCharacter(n, CL::Face);
}

void SaveGame::SetFace(int n, int value)
{
    WriteCharacter(n, CL::Face, value);
    WriteCharacter(n, CL::SecondFace, value);
}

int SaveGame::GetLevel(int n) const
{
    return GetBaseLevel(n) + ReadCharacter(n, CL::LevelBonus);
}

void SaveGame::SetLevel(int n, int value)
{
    WriteCharacter(n, CL::LevelBonus, WrapSub32(value, GetBaseLevel(n)));
}

int SaveGame::GetBaseAge(int n) const
{
    return WrapSub32(CurrentYear(), ReadCharacter(n, CL::BirthYear));
}

void SaveGame::SetBaseAge(int n, int value)
{
    WriteCharacter(n, CL::BirthYear, WrapSub32(CurrentYear(), value));
}

int SaveGame::GetAge(int n) const
{
    return WrapAdd32(ReadCharacter(n, CL::AgeBonus), GetBaseAge(n));
}

void SaveGame::SetAge(int n, int value)
{
    WriteCharacter(n, CL::AgeBonus, WrapSub32(value, GetBaseAge(n)));
}

std::string_view SaveGame::GetName(int n) const
{
    return ReadText(RecordOffset(n) + CL::Name.Offset, CL::Name.Width);
}

void SaveGame::SetName(int n, std::string_view text)
{
    WriteText(RecordOffset(n) + CL::Name.Offset, CL::Name.Width, text);
}

std::string_view SaveGame::GetDescription(int n) const
{
    return ReadText(RecordOffset(n) + CL::Description.Offset, CL::Description.Width);
}

void SaveGame::SetDescription(int n, std::string_view text)
{
    WriteText(RecordOffset(n) + CL::Description.Offset, CL::Description.Width, text);
}

int SaveGame::GetSkill(int n, int slot) const
{
    CheckIndex(slot, 0, CL::SkillSlotCount - 1, "skill slot");
    if (slot == CL::UnusedSkillSlot)
        throw std::out_of_range("skill slot 36 holds no skill");
    return ReadCharacter(n, Field{CL::SkillsOffset + slot * CL::SkillWidth, CL::SkillWidth});
}

void SaveGame::SetSkill(int n, int slot, int word)
{
    CheckIndex(slot, 0, CL::SkillSlotCount - 1, "skill slot");
    if (slot == CL::UnusedSkillSlot)
        throw std::out_of_range("skill slot 36 holds no skill");
    WriteCharacter(n, Field{CL::SkillsOffset + slot * CL::SkillWidth, CL::SkillWidth}, word);
}

int SaveGame::SpellGroupSize(int group)
{
    CheckIndex(group, 0, CL::SpellGroupCount - 1, "spell group");
    return group < CL::FirstRacialSpellGroup ? CL::FullSpellGroupSize : CL::RacialSpellGroupSize;
}

std::span<const std::uint8_t> SaveGame::GetSpellGroup(int n, int group) const
{
    const int size = SpellGroupSize(group);
    const int offset = RecordOffset(n) + CL::SpellGroupsOffset + group * CL::SpellGroupSpacing;
    Read(offset, 1); // bounds
    return {window_.get() + offset, static_cast<std::size_t>(size)};
}

void SaveGame::SetSpellGroup(int n, int group, std::span<const std::uint8_t> bytes)
{
    const auto size = static_cast<std::size_t>(SpellGroupSize(group));
    if (bytes.size() < size)
        throw std::invalid_argument("a spell group needs " + std::to_string(size) + " flag bytes");
    const int offset = RecordOffset(n) + CL::SpellGroupsOffset + group * CL::SpellGroupSpacing;
    Read(offset, 1); // bounds
    BeforeEdit();
    std::memcpy(window_.get() + offset, bytes.data(), size);
}

int SaveGame::GetAward(int n, int a) const
{
    RecordOffset(n);
    if (a < 0 || a >= words_.Awards().Count())
        return -1;
    const int byte = ReadCharacter(n, Field{CL::AwardsOffset + a / 8, 1}) & 0xFF;
    return byte & (0x80 >> (a % 8));
}

void SaveGame::SetAward(int n, int a)
{
    RecordOffset(n);
    if (a < 0 || a >= words_.Awards().Count())
        return;
    const Field field{CL::AwardsOffset + a / 8, 1};
    WriteCharacter(n, field, ReadCharacter(n, field) | (0x80 >> (a % 8)));
}

void SaveGame::ClearAward(int n, int a)
{
    RecordOffset(n);
    if (a < 0 || a >= words_.Awards().Count())
        return;
    const Field field{CL::AwardsOffset + a / 8, 1};
    WriteCharacter(n, field, ReadCharacter(n, field) & ~(0x80 >> (a % 8)));
}
