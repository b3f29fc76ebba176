#pragma once

#include <cstdint>

// How the container fuzzer reads its input, shared with the seed writer.
//
//   shape byte   low 3 bits 0: the rest of the input is the whole file (a raw container).
//                otherwise the file is the base container (built by SaveBuilder, with
//                items), changed as follows; bit 4 set: a u32 picks a shorter file length
//                around the smallest window that opens.
//   patch count  (low 4 bits), then that many patches: a kind byte and
//                  File:   u16 file position (below FileSpan), length byte, bytes
//                  Window: u32 window offset, length byte, bytes
//                  Record: character byte, u16 record offset, length byte, bytes
//                  Cell:   character byte, u16 slot (grid cell, then entry word), u32 value
//   the rest     read over and over: first the selection -- a byte naming a group of the
//                party's operations (modulo PartyGroupCount), a byte giving one to three
//                characters (modulo 3, plus one), and for each a character byte and a byte
//                naming a group of its operations (modulo GroupCount) -- then the values of
//                those operations and of the stray calls. With VELKAR_FUZZ_FULL_SWEEP=1 the
//                selection is read, but every group of the party and of all fifty
//                characters runs instead.
namespace ContainerInput {
inline constexpr std::uint8_t RawShapeMask = 0x07;
inline constexpr std::uint8_t TruncateBit = 0x10;
inline constexpr std::uint8_t PatchCountMask = 0x0F;
inline constexpr int PatchLengthLimit = 16; // length byte is taken modulo this, plus one
inline constexpr int FileSpan = 1024;       // directory and header.bin of the base container

enum PatchKind : std::uint8_t { File = 0, Window = 1, Record = 2, Cell = 3, KindCount = 4 };

enum PartyGroup : std::uint8_t {
    Clock, // time, food, gold and bank
    PartySpells,
    Roster,
    PartyGroupCount
};

inline constexpr int MostCharacters = 3;
enum Group : std::uint8_t {
    Fields, // the plain fields, face, level and ages
    Texts,  // name and description
    Skills,
    SpellGroups,
    Awards,
    Conditions,
    ActiveSpells,
    Inventory,
    GroupCount
};
} // namespace ContainerInput
