#pragma once

#include <cstdint>

// The window is the 400000 bytes of the container read from party.bin's data offset.
// Every offset the model knows lives in this file or CharacterLayout.h / InventoryLayout.h.

// A little-endian two's-complement field: where it starts and how many bytes it takes.
struct Field {
    int Offset;
    int Width;
    constexpr int End() const { return Offset + Width; }
};

namespace WindowLayout {
inline constexpr int WindowSize = 400000;

// Party-wide block.
inline constexpr int PartyRecordOffset = 332;
inline constexpr int PartyRecordSize = 2500;
inline constexpr int CharacterRecordsOffset = PartyRecordOffset + PartyRecordSize;
static_assert(CharacterRecordsOffset == 2832);

// Fields of the party record, offsets from its start.
inline constexpr Field Time{0, 8};
inline constexpr Field Food{1804, 4};
inline constexpr Field Gold{1816, 4};
inline constexpr Field Bank{1820, 4};
inline constexpr int PartySpellsOffset = 2172;
inline constexpr int PartySpellCount = 20;

// The five party slots (0-based character index, -1 empty) and the member count.
inline constexpr int RosterOffset = 376028;
inline constexpr int RosterSlotCount = 5;
inline constexpr int RosterSlotWidth = 4;
inline constexpr Field RosterCount{RosterSlotCount * RosterSlotWidth, 4};
inline constexpr int RosterEnd = RosterOffset + RosterCount.End();
static_assert(RosterEnd == 376052);

// The last byte the model interprets: a container with less than this much data after
// the offset cannot be edited.
inline constexpr int MinimumWindowSize = RosterEnd;
static_assert(MinimumWindowSize <= WindowSize);
} // namespace WindowLayout

// One stored spell effect, the same in the party block and in a character record.
namespace SpellEffectLayout {
inline constexpr int Size = 16;
inline constexpr Field Expiry{0, 8};
inline constexpr Field Power{8, 2};
inline constexpr Field Skill{10, 2};
// bytes 12..13 are never written
// The caster is one unsigned byte; the flags byte after it is the game's and never written.
inline constexpr Field Caster{14, 1};
inline constexpr int CasterFlags = 15;
static_assert(Caster.End() == CasterFlags && CasterFlags + 1 == Size);
} // namespace SpellEffectLayout

static_assert(WindowLayout::PartySpellsOffset + WindowLayout::PartySpellCount * SpellEffectLayout::Size + 8 ==
              WindowLayout::PartyRecordSize);

// Party spell effects in stored order: name, entry number. Each line makes
// SaveGame::Get<Name>() and Set<Name>(value, parts): GetPartySpellAirRes, SetPartySpellHaste, ...
// clang-format off
#define VELKAR_PARTY_SPELLS(X)                                                                                 \
    X(PartySpellAirRes, 0)                                                                                     \
    X(PartySpellBodyRes, 1)                                                                                    \
    X(PartySpellDayOfTheGods, 2)                                                                               \
    X(PartySpellDetectLife, 3)                                                                                 \
    X(PartySpellEarthRes, 4)                                                                                   \
    X(PartySpellFeatherFall, 5)                                                                                \
    X(PartySpellFireRes, 6)                                                                                    \
    X(PartySpellFly, 7)                                                                                        \
    X(PartySpellHaste, 8)                                                                                      \
    X(PartySpellHeroism, 9)                                                                                    \
    X(PartySpellImmolation, 10)                                                                                \
    X(PartySpellInvisibility, 11)                                                                              \
    X(PartySpellMindRes, 12)                                                                                   \
    X(PartySpellProtMagic, 13)                                                                                 \
    X(PartySpellShield, 14)                                                                                    \
    X(PartySpellStoneskin, 15)                                                                                 \
    X(PartySpellTorchLight, 16)                                                                                \
    X(PartySpellWaterRes, 17)                                                                                  \
    X(PartySpellWaterWalk, 18)                                                                                 \
    X(PartySpellWizardEye, 19)
// clang-format on

// Party slots: name, slot number (1-based). Each line makes SaveGame::Get<Name>() and
// Set<Name>(value): GetPartyMember1/SetPartyMember1, ... GetPartyMember5/SetPartyMember5.
// clang-format off
#define VELKAR_PARTY_MEMBERS(X)                                                                                \
    X(PartyMember1, 1)                                                                                         \
    X(PartyMember2, 2)                                                                                         \
    X(PartyMember3, 3)                                                                                         \
    X(PartyMember4, 4)                                                                                         \
    X(PartyMember5, 5)
// clang-format on
