#pragma once

#include "model/InventoryLayout.h"
#include "model/WindowLayout.h"

// One character record. Offsets are counted from the record start at window offset
// 2832 + (n - 1) * 7464; the game's own record begins 4 bytes earlier, which is why the
// condition table starts at -4 and record 50's last 4 bytes are the roster's first slot.
//
// The whole record, in offset order (hex / decimal, from the record start):
//
//   -0x004   -4  18 x int64   conditions: start time in ticks, 0 = not afflicted
//    0x08C  140  16 bytes     not interpreted
//    0x09C  156  int32        Experience (the game keeps the high 32 bits after it)
//    0x0A0  160  4 bytes      not interpreted
//    0x0A4  164  32 bytes     Name, zero-terminated
//    0x0C4  196  650 bytes    Description, zero-terminated
//    0x34E  846  int8         Class
//    0x34F  847  int8         Face (portrait)
//    0x350  848  7 x int16    Might, Intelligence, Perception, Endurance, Speed, Accuracy,
//                             Luck, each followed by an int16 not interpreted
//    0x36C  876  int16        ArmorClassModifier
//    0x36E  878  int16        BaseLevel
//    0x370  880  int16        LevelBonus
//    0x372  882  int16        AgeBonus
//    0x374  884  39 x int16   skill words (slot 36 holds no skill)
//    0x3C2  962  10 bytes     award bits, award a = bit 0x80 >> a % 8 of byte a / 8
//    0x3CC  972  54 bytes     not interpreted
//    0x402 1026  12 x 11      known-spell flag bytes (the last three groups use 4)
//    0x47F 1151  37 bytes     not interpreted
//    0x4A4 1188  138 x 36     inventory entries
//   0x180C 6156  126 x int32  inventory grid, 14 x 9 cells
//   0x1A04 6660  4 x int16    Fire, Air, Water, Earth Resistance
//   0x1A0C 6668  6 bytes      not interpreted
//   0x1A12 6674  2 x int16    Mind, Body Resistance
//   0x1A16 6678  26 bytes     not interpreted
//   0x1A30 6704  27 x 16      spell effects on the character
//   0x1BE0 7136  int32        SecondFace (the portrait's second copy)
//   0x1BE4 7140  12 bytes     not interpreted
//   0x1BF0 7152  3 x int32    SkillPoints, HitPoints, SpellPoints
//   0x1BFC 7164  int32        BirthYear
//   0x1C00 7168  292 bytes    not interpreted
//   0x1D24 7460  4 bytes      never touched: the next record's first bytes (the roster after 50)
namespace CharacterLayout {
inline constexpr int RecordSize = 7464;
inline constexpr int CharacterCount = 50;
inline constexpr int FirstRecord = WindowLayout::CharacterRecordsOffset;
static_assert(FirstRecord + CharacterCount * RecordSize == WindowLayout::RosterOffset + 4,
              "record 50 ends 4 bytes into the roster");

// Conditions: 18 int64 start times (0 = not afflicted).
inline constexpr int ConditionsOffset = -4;
inline constexpr int ConditionCount = 18;
inline constexpr int ConditionWidth = 8;
static_assert(FirstRecord + ConditionsOffset == 2828);

inline constexpr Field Name{164, 32};
inline constexpr Field Description{196, 650};
static_assert(Name.End() == Description.Offset);
inline constexpr Field Face{847, 1};
static_assert(Description.End() + 1 == Face.Offset); // the class byte lies between them
inline constexpr Field LevelBonus{880, 2};
inline constexpr Field AgeBonus{882, 2};

// Skill words: bits 0-5 level, bits 6-8 mastery (one-hot, Grand = 0x100).
inline constexpr int SkillsOffset = 884;
inline constexpr int SkillSlotCount = 39;
inline constexpr int SkillWidth = 2;
inline constexpr int UnusedSkillSlot = 36;

// Awards: bit (0x80 >> a % 8) of byte 962 + a / 8. The area runs up to the spell flags: 64 bytes,
// 512 bits (docs/game-words.md); which bits name awards is the award table's to say.
inline constexpr int AwardsOffset = 962;
inline constexpr int AwardsBytes = 64;
inline constexpr int AwardBitCount = AwardsBytes * 8;
static_assert(SkillsOffset + SkillSlotCount * SkillWidth == AwardsOffset);

// Known-spell flag bytes: 12 groups at 11-byte spacing; the racial groups use 4 bytes.
inline constexpr int SpellGroupsOffset = 1026;
static_assert(AwardsOffset + AwardsBytes == SpellGroupsOffset);
inline constexpr int SpellGroupSpacing = 11;
inline constexpr int SpellGroupCount = 12;
inline constexpr int FullSpellGroupSize = 11;
inline constexpr int RacialSpellGroupSize = 4;
inline constexpr int FirstRacialSpellGroup = 9;
static_assert(SpellGroupsOffset + (SpellGroupCount - 1) * SpellGroupSpacing + RacialSpellGroupSize == 1151);

inline constexpr int InventoryEntriesOffset = 1188;
inline constexpr int InventoryGridOffset = 6156;
static_assert(InventoryEntriesOffset + InventoryLayout::EntryCount * InventoryLayout::EntrySize == InventoryGridOffset);
static_assert(InventoryGridOffset + InventoryLayout::CellCount * InventoryLayout::CellWidth == 6660);

inline constexpr int ActiveSpellsOffset = 6704;
inline constexpr int ActiveSpellCount = 27;
inline constexpr Field SecondFace{7136, 4};
static_assert(ActiveSpellsOffset + ActiveSpellCount * SpellEffectLayout::Size == SecondFace.Offset);

inline constexpr Field BirthYear{7164, 4};
// Record offsets 7460..7463 are never touched: for record 50 they are the roster.
inline constexpr int LastTouchedByte = 7459;
static_assert(BirthYear.End() <= LastTouchedByte + 1);
// A character's own bytes, which the sheet saves and restores as one: its condition table
// and its record up to LastTouchedByte. Consecutive characters' bytes tile without overlap.
inline constexpr int OwnBytesStart = ConditionsOffset;
inline constexpr int OwnBytesSize = LastTouchedByte + 1 - OwnBytesStart;
static_assert(OwnBytesSize == RecordSize);
} // namespace CharacterLayout

// Plain numeric fields of a character: name, record offset, width in bytes. Each line makes
// SaveGame::Get<Name>(n) and SaveGame::Set<Name>(n, value): GetExperience/SetExperience,
// GetClass/SetClass, GetMight/SetMight, ... GetSpellPoints/SetSpellPoints.
// clang-format off
#define VELKAR_CHARACTER_FIELDS(X)                                                                             \
    X(Experience, 156, 4)                                                                                      \
    X(Class, 846, 1)                                                                                           \
    X(Might, 848, 2)                                                                                           \
    X(Intelligence, 852, 2)                                                                                    \
    X(Perception, 856, 2)                                                                                      \
    X(Endurance, 860, 2)                                                                                       \
    X(Speed, 864, 2)                                                                                           \
    X(Accuracy, 868, 2)                                                                                        \
    X(Luck, 872, 2)                                                                                            \
    X(ArmorClassModifier, 876, 2)                                                                              \
    X(BaseLevel, 878, 2)                                                                                       \
    X(FireResistance, 6660, 2)                                                                                 \
    X(AirResistance, 6662, 2)                                                                                  \
    X(WaterResistance, 6664, 2)                                                                                \
    X(EarthResistance, 6666, 2)                                                                                \
    X(MindResistance, 6674, 2)                                                                                 \
    X(BodyResistance, 6676, 2)                                                                                 \
    X(SkillPoints, 7152, 4)                                                                                    \
    X(HitPoints, 7156, 4)                                                                                      \
    X(SpellPoints, 7160, 4)
// clang-format on

// Skills: name, slot (word at SkillsOffset + 2 * slot). Slot 36 has no skill. Each line makes
// SaveGame::Get<Name>(n) and Set<Name>(n, word): GetSkillStaff/SetSkillStaff, ...
// clang-format off
#define VELKAR_SKILLS(X)                                                                                       \
    X(SkillStaff, 0)                                                                                           \
    X(SkillSword, 1)                                                                                           \
    X(SkillDagger, 2)                                                                                          \
    X(SkillAxe, 3)                                                                                             \
    X(SkillSpear, 4)                                                                                           \
    X(SkillBow, 5)                                                                                             \
    X(SkillMace, 6)                                                                                            \
    X(SkillBlaster, 7)                                                                                         \
    X(SkillShield, 8)                                                                                          \
    X(SkillLeather, 9)                                                                                         \
    X(SkillChain, 10)                                                                                          \
    X(SkillPlate, 11)                                                                                          \
    X(SkillFire, 12)                                                                                           \
    X(SkillAir, 13)                                                                                            \
    X(SkillWater, 14)                                                                                          \
    X(SkillEarth, 15)                                                                                          \
    X(SkillSpirit, 16)                                                                                         \
    X(SkillMind, 17)                                                                                           \
    X(SkillBody, 18)                                                                                           \
    X(SkillLight, 19)                                                                                          \
    X(SkillDark, 20)                                                                                           \
    X(SkillDarkElf, 21)                                                                                        \
    X(SkillVampire, 22)                                                                                        \
    X(SkillDragon, 23)                                                                                         \
    X(SkillIdentify, 24)                                                                                       \
    X(SkillMerchant, 25)                                                                                       \
    X(SkillRepair, 26)                                                                                         \
    X(SkillBodybuilding, 27)                                                                                   \
    X(SkillMeditation, 28)                                                                                     \
    X(SkillPerception, 29)                                                                                     \
    X(SkillRegeneration, 30)                                                                                   \
    X(SkillDisarm, 31)                                                                                         \
    X(SkillDodging, 32)                                                                                        \
    X(SkillUnarmed, 33)                                                                                        \
    X(SkillIdMonster, 34)                                                                                      \
    X(SkillArmsmaster, 35)                                                                                     \
    X(SkillAlchemy, 37)                                                                                        \
    X(SkillLearning, 38)
// clang-format on

// Conditions: name, index in the condition table. Each line makes SaveGame::Get<Name>(n,
// duration) and Set<Name>(n, afflicted, duration): GetConditionCursed, SetConditionDead, ...
// clang-format off
#define VELKAR_CONDITIONS(X)                                                                                   \
    X(ConditionCursed, 0)                                                                                      \
    X(ConditionWeak, 1)                                                                                        \
    X(ConditionAsleep, 2)                                                                                      \
    X(ConditionAfraid, 3)                                                                                      \
    X(ConditionDrunk, 4)                                                                                       \
    X(ConditionInsane, 5)                                                                                      \
    X(ConditionPoisonGreen, 6)                                                                                 \
    X(ConditionDiseaseGreen, 7)                                                                                \
    X(ConditionPoisonYellow, 8)                                                                                \
    X(ConditionDiseaseYellow, 9)                                                                               \
    X(ConditionPoisonRed, 10)                                                                                  \
    X(ConditionDiseaseRed, 11)                                                                                 \
    X(ConditionParalyzed, 12)                                                                                  \
    X(ConditionUnconscious, 13)                                                                                \
    X(ConditionDead, 14)                                                                                       \
    X(ConditionStoned, 15)                                                                                     \
    X(ConditionEradicated, 16)                                                                                 \
    X(ConditionZombie, 17)
// clang-format on

// Spells in effect on one character: name, entry number. Each line makes SaveGame::Get<Name>(n)
// and Set<Name>(n, value, parts): GetActiveSpellBless/SetActiveSpellBless, ...
// clang-format off
#define VELKAR_ACTIVE_SPELLS(X)                                                                                \
    X(ActiveSpellAirRes, 0)                                                                                    \
    X(ActiveSpellBless, 1)                                                                                     \
    X(ActiveSpellBodyRes, 2)                                                                                   \
    X(ActiveSpellEarthRes, 3)                                                                                  \
    X(ActiveSpellFate, 4)                                                                                      \
    X(ActiveSpellFireRes, 5)                                                                                   \
    X(ActiveSpellHammerhands, 6)                                                                               \
    X(ActiveSpellHaste, 7)                                                                                     \
    X(ActiveSpellHeroism, 8)                                                                                   \
    X(ActiveSpellMindRes, 9)                                                                                   \
    X(ActiveSpellPainReflection, 10)                                                                           \
    X(ActiveSpellPreservation, 11)                                                                             \
    X(ActiveSpellRegeneration, 12)                                                                             \
    X(ActiveSpellShield, 13)                                                                                   \
    X(ActiveSpellStoneskin, 14)                                                                                \
    X(ActiveSpellTmpAccuracy, 15)                                                                              \
    X(ActiveSpellTmpEndurance, 16)                                                                             \
    X(ActiveSpellTmpIntelligence, 17)                                                                          \
    X(ActiveSpellTmpLuck, 18)                                                                                  \
    X(ActiveSpellTmpMight, 19)                                                                                 \
    X(ActiveSpellTmpPersonality, 20)                                                                           \
    X(ActiveSpellTmpSpeed, 21)                                                                                 \
    X(ActiveSpellWaterRes, 22)                                                                                 \
    X(ActiveSpellWaterBreathing, 23)                                                                           \
    X(ActiveSpellGlamour, 24)                                                                                  \
    X(ActiveSpellLevitation, 25)                                                                               \
    X(ActiveSpellMistform, 26)
// clang-format on

// Known-spell groups: name, group number. Each line makes SaveGame::Get<Name>(n) and
// Set<Name>(n, bytes): GetSpellsFire/SetSpellsFire, ... GetSpellsDragon/SetSpellsDragon.
// clang-format off
#define VELKAR_SPELL_GROUPS(X)                                                                                 \
    X(SpellsFire, 0)                                                                                           \
    X(SpellsAir, 1)                                                                                            \
    X(SpellsWater, 2)                                                                                          \
    X(SpellsEarth, 3)                                                                                          \
    X(SpellsSpirit, 4)                                                                                         \
    X(SpellsMind, 5)                                                                                           \
    X(SpellsBody, 6)                                                                                           \
    X(SpellsLight, 7)                                                                                          \
    X(SpellsDark, 8)                                                                                           \
    X(SpellsDarkElf, 9)                                                                                        \
    X(SpellsVampire, 10)                                                                                       \
    X(SpellsDragon, 11)
// clang-format on

// The plain fields as named constants, for code that addresses one of them directly.
namespace CharacterFields {
#define VELKAR_X(name, offset, width) inline constexpr Field name{offset, width};
VELKAR_CHARACTER_FIELDS(VELKAR_X)
#undef VELKAR_X
static_assert(Might.Offset == 848 && Luck.Offset == 872 && BodyResistance.End() == 6678);
static_assert(SpellPoints.End() == CharacterLayout::BirthYear.Offset);
} // namespace CharacterFields
