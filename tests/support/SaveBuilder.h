#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Writes saved-game containers shaped like the game's own: a header region, a directory
// of 32-byte entries at file position 288 (16-byte zero-padded name, the member's offset
// counted from position 288, its size, two unused words), then the members' data:
// header.bin with the saved game's name at its start, party.bin, and further members so
// the file runs well past the 400000-byte window.
//
// party.bin's data is filled like a played game: deterministic noise in the bytes the
// editor does not interpret, and plausible values in the ones it does (fifty named
// characters, a clock, a roster of four). Conditions, spell effects, awards, known
// spells, skills and inventories start empty. Window offsets count from the stored
// offset, 288 bytes before party.bin's data, as the editor reads it.
class SaveBuilder {
public:
    struct Member {
        std::string Name;
        std::uint32_t Size;
    };

    explicit SaveBuilder(std::string saveName = "Test Save");

    SaveBuilder& SetSaveName(std::string name);
    // Members placed between header.bin and party.bin, in the directory and in the data.
    SaveBuilder& AddMemberBefore(std::string name, std::uint32_t size);
    // Drops the members that normally follow party.bin, making its entry the directory's last.
    SaveBuilder& RemoveMembersAfter();
    SaveBuilder& SetSeed(std::uint32_t seed);
    // Fills every interpreted field the way long play leaves it, from this seed, over its
    // whole stored range: names long, empty, in bytes some code pages cannot read back or
    // without a terminator, old text after terminators, classes and faces up to 255, signed
    // values at their ends, several mastery bits or a mastery alone, spell bytes 2, 7 and 255,
    // every award byte, conditions that start later, effects never cast with the game's words
    // after them, odd powers, skills and casters, a clock at any hour and never whole minutes,
    // worn items in no cell, free entries with old words, cells naming no item, enchantments
    // past their list. The roster has no gaps, but its order, count and empty slots are the
    // game's: seeds that differ by 1 to 4 give every form of the clock and the roster.
    SaveBuilder& SetPlayed(std::uint32_t seed);

    // Patches applied over the window after the defaults, in call order.
    SaveBuilder& Put(int windowOffset, int width, std::int64_t value);
    SaveBuilder& PutBytes(int windowOffset, std::span<const std::uint8_t> bytes);
    SaveBuilder& PutText(int windowOffset, std::string_view text);

    // Convenience for character n's record (record offsets as the model counts them).
    static int CharacterOffset(int n, int recordOffset);

    // The value stored in party.bin's directory entry: the file position of window byte 0.
    std::uint32_t PartyOffset() const;
    std::vector<std::uint8_t> Build() const;
    void WriteTo(const std::filesystem::path& path) const;

    // The name each default character carries.
    static std::string_view DefaultCharacterName(int n);

private:
    std::vector<Member> Directory() const;
    void FillDefaults(std::vector<std::uint8_t>& image, std::size_t windowStart) const;
    void FillPlayed(std::uint8_t* window) const;

    std::string saveName_;
    std::vector<Member> before_;
    bool membersAfter_ = true;
    std::uint32_t partySize_;
    std::uint32_t seed_ = 0x5EED1234u;
    bool played_ = false;
    std::uint32_t playedSeed_ = 0;
    struct Patch {
        int Offset;
        std::vector<std::uint8_t> Bytes;
    };
    std::vector<Patch> patches_;
};
