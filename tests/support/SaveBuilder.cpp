#include "tests/support/SaveBuilder.h"

#include "model/CharacterLayout.h"
#include "model/GameTime.h"
#include "model/InventoryLayout.h"
#include "model/WindowLayout.h"
#include "tests/support/Files.h"
#include "tests/support/LittleEndian.h"
#include "tests/support/TranscribedLayout.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <numeric>
#include <stdexcept>
#include <utility>

namespace WL = WindowLayout;
namespace CL = CharacterLayout;
namespace IL = InventoryLayout;

namespace {

constexpr std::size_t DirectoryStart = 288; // member offsets count from here
constexpr std::size_t EntrySize = 32;
constexpr std::size_t NameSize = 16;
constexpr std::uint32_t HeaderSize = 100;
constexpr std::uint32_t DefaultPartySize = 380000; // the window runs on into the next member

// Members after party.bin, as a played game carries them.
const std::array<SaveBuilder::Member, 4> TrailingMembers{{
    {"clock.bin", 40},
    {"overlay.bin", 2048},
    {"npcdata.bin", 90000},
    {"d01.dlv", 61234},
}};

constexpr std::array<std::string_view, 50> CharacterNames{
    "Ariel",   "Brom",   "Cedric", "Dyrra",   "Elsin",    "Fenwick", "Galmar",  "Hesta",   "Iolo",   "Jorra",
    "Kestrel", "Lunde",  "Maelis", "Norrin",  "Oskar",    "Pell",    "Quill",   "Rhosyn",  "Sable",  "Tamsin",
    "Ulric",   "Vesna",  "Wendel", "Xara",    "Yorick",   "Zephyr",  "Ambrose", "Brisa",   "Corvin", "Delphine",
    "Emeric",  "Fiora",  "Gideon", "Halcy",   "Isolde",   "Jasper",  "Kira",    "Leofric", "Mira",   "Nestor",
    "Odalys",  "Perrin", "Rowena", "Severin", "Thessaly", "Urien",   "Valka",   "Wystan",  "Ysolde", "Zarek",
};

class Noise {
public:
    explicit Noise(std::uint32_t seed) : state_(seed == 0 ? 1u : seed) {}
    std::uint8_t Next()
    {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return static_cast<std::uint8_t>(state_ >> 11);
    }

private:
    std::uint32_t state_;
};

} // namespace

SaveBuilder::SaveBuilder(std::string saveName) : saveName_(std::move(saveName)), partySize_(DefaultPartySize)
{}

SaveBuilder& SaveBuilder::SetSaveName(std::string name)
{
    saveName_ = std::move(name);
    return *this;
}

SaveBuilder& SaveBuilder::AddMemberBefore(std::string name, std::uint32_t size)
{
    if (name.size() >= NameSize)
        throw std::invalid_argument("member names hold at most 15 characters");
    before_.push_back({std::move(name), size});
    return *this;
}

SaveBuilder& SaveBuilder::RemoveMembersAfter()
{
    membersAfter_ = false;
    return *this;
}

SaveBuilder& SaveBuilder::SetSeed(std::uint32_t seed)
{
    seed_ = seed;
    return *this;
}

SaveBuilder& SaveBuilder::SetPlayed(std::uint32_t seed)
{
    played_ = true;
    playedSeed_ = seed;
    return *this;
}

SaveBuilder& SaveBuilder::Put(int windowOffset, int width, std::int64_t value)
{
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(width));
    StoreLE(bytes, 0, width, value);
    patches_.push_back({windowOffset, std::move(bytes)});
    return *this;
}

SaveBuilder& SaveBuilder::PutBytes(int windowOffset, std::span<const std::uint8_t> bytes)
{
    patches_.push_back({windowOffset, {bytes.begin(), bytes.end()}});
    return *this;
}

SaveBuilder& SaveBuilder::PutText(int windowOffset, std::string_view text)
{
    patches_.push_back({windowOffset, {text.begin(), text.end()}});
    return *this;
}

int SaveBuilder::CharacterOffset(int n, int recordOffset)
{
    // From the transcription: a test that patches a record never borrows the model's start.
    return TranscribedLayout::RecordStart(n) + recordOffset;
}

std::string_view SaveBuilder::DefaultCharacterName(int n)
{
    return CharacterNames.at(static_cast<std::size_t>(n - 1));
}

std::vector<SaveBuilder::Member> SaveBuilder::Directory() const
{
    std::vector<Member> members{{"header.bin", HeaderSize}};
    members.insert(members.end(), before_.begin(), before_.end());
    members.push_back({"party.bin", partySize_});
    if (membersAfter_)
        members.insert(members.end(), TrailingMembers.begin(), TrailingMembers.end());
    return members;
}

std::uint32_t SaveBuilder::PartyOffset() const
{
    const auto members = Directory();
    std::size_t data = members.size() * EntrySize; // relative to the directory start
    for (const auto& m : members) {
        if (m.Name == "party.bin")
            return static_cast<std::uint32_t>(data); // window start = data - 288, seen from 0
        data += m.Size;
    }
    throw std::logic_error("no party.bin");
}

std::vector<std::uint8_t> SaveBuilder::Build() const
{
    const auto members = Directory();
    std::size_t total = DirectoryStart + members.size() * EntrySize;
    for (const auto& m : members)
        total += m.Size;
    std::vector<std::uint8_t> image(total);

    // Header region: a signature and a title, zero-padded; nothing reads it.
    const std::string_view title = "LOD\0\0\0\0\0MMVIII save container";
    std::memcpy(image.data(), title.data(), title.size());
    StoreLE(image, 256, 4, DirectoryStart);
    StoreLE(image, 260, 4, static_cast<std::int64_t>(members.size()));

    Noise noise(seed_);
    std::size_t data = DirectoryStart + members.size() * EntrySize;
    for (std::size_t i = 0; i < members.size(); ++i) {
        const std::size_t entry = DirectoryStart + i * EntrySize;
        std::memcpy(image.data() + entry, members[i].Name.data(), members[i].Name.size());
        StoreLE(image, entry + NameSize, 4, static_cast<std::int64_t>(data - DirectoryStart));
        StoreLE(image, entry + NameSize + 4, 4, members[i].Size);
        std::generate_n(image.begin() + static_cast<std::ptrdiff_t>(data), members[i].Size,
                        [&] { return noise.Next(); });
        if (members[i].Name == "header.bin") {
            std::memset(image.data() + data, 0, 32);
            std::memcpy(image.data() + data, saveName_.data(), std::min<std::size_t>(saveName_.size(), 32));
        }
        data += members[i].Size;
    }

    const std::size_t windowStart = PartyOffset();
    if (windowStart + WL::WindowSize > image.size())
        image.resize(windowStart + WL::WindowSize); // a short party.bin still gets a full window
    FillDefaults(image, windowStart);
    if (played_)
        FillPlayed(image.data() + windowStart);
    for (const auto& patch : patches_) {
        const std::size_t at = windowStart + static_cast<std::size_t>(patch.Offset);
        if (patch.Offset < 0 || at + patch.Bytes.size() > image.size())
            throw std::out_of_range("patch outside the window");
        std::copy(patch.Bytes.begin(), patch.Bytes.end(), image.begin() + static_cast<std::ptrdiff_t>(at));
    }
    return image;
}

// Interpreted fields get plausible values; structured areas start empty and consistent.
void SaveBuilder::FillDefaults(std::vector<std::uint8_t>& image, std::size_t windowStart) const
{
    std::uint8_t* window = image.data() + windowStart;
    auto put = [&](int offset, int width, std::int64_t value) { StoreLE(image, windowStart + offset, width, value); };
    auto zero = [&](int offset, int size) { std::memset(window + offset, 0, static_cast<std::size_t>(size)); };

    const int party = WL::PartyRecordOffset;
    put(party + WL::Time.Offset, WL::Time.Width, GameTimeToTicks({9, 30, 11, 3, 1173}));
    put(party + WL::Food.Offset, WL::Food.Width, 14);
    put(party + WL::Gold.Offset, WL::Gold.Width, 2750);
    put(party + WL::Bank.Offset, WL::Bank.Width, 500);
    zero(party + WL::PartySpellsOffset, WL::PartySpellCount * SpellEffectLayout::Size);
    for (int slot = 0; slot < WL::RosterSlotCount; ++slot)
        put(WL::RosterOffset + slot * WL::RosterSlotWidth, WL::RosterSlotWidth, slot < 4 ? slot : -1);
    put(WL::RosterOffset + WL::RosterCount.Offset, WL::RosterCount.Width, 4);

    for (int n = 1; n <= CL::CharacterCount; ++n) {
        const int r = CharacterOffset(n, 0);
        zero(r + CL::ConditionsOffset, CL::ConditionCount * CL::ConditionWidth);
        zero(r + CL::Name.Offset, CL::Name.Width + CL::Description.Width);
        std::memcpy(window + r + CL::Name.Offset, CharacterNames[static_cast<std::size_t>(n - 1)].data(),
                    CharacterNames[static_cast<std::size_t>(n - 1)].size());
        put(r + CharacterFields::Class.Offset, 1, (n - 1) % 16);
        put(r + CL::Face.Offset, 1, (n - 1) % 28);
        put(r + CL::SecondFace.Offset, 4, (n - 1) % 28);
        namespace CF = CharacterFields;
        int stat = 0;
        for (Field f : {CF::Might, CF::Intelligence, CF::Perception, CF::Endurance, CF::Speed, CF::Accuracy, CF::Luck})
            put(r + f.Offset, f.Width, 10 + (n + stat++) % 15);
        put(r + CF::ArmorClassModifier.Offset, 2, 0);
        put(r + CF::BaseLevel.Offset, 2, 1 + n % 20);
        put(r + CL::LevelBonus.Offset, 2, 0);
        put(r + CL::AgeBonus.Offset, 2, 0);
        put(r + CF::Experience.Offset, 4, 1000 * n);
        zero(r + CL::SkillsOffset, CL::SkillSlotCount * CL::SkillWidth);
        zero(r + CL::AwardsOffset, CL::AwardsBytes);
        for (int g = 0; g < CL::SpellGroupCount; ++g)
            zero(r + CL::SpellGroupsOffset + g * CL::SpellGroupSpacing,
                 g < CL::FirstRacialSpellGroup ? CL::FullSpellGroupSize : CL::RacialSpellGroupSize);
        zero(r + CL::InventoryEntriesOffset, IL::EntryCount * IL::EntrySize);
        zero(r + CL::InventoryGridOffset, IL::CellCount * IL::CellWidth);
        for (Field f : {CF::FireResistance, CF::AirResistance, CF::WaterResistance, CF::EarthResistance,
                        CF::MindResistance, CF::BodyResistance})
            put(r + f.Offset, f.Width, 0);
        zero(r + CL::ActiveSpellsOffset, CL::ActiveSpellCount * SpellEffectLayout::Size);
        put(r + CF::SkillPoints.Offset, 4, 5);
        put(r + CF::HitPoints.Offset, 4, 40 + n);
        put(r + CF::SpellPoints.Offset, 4, 20 + n);
        put(r + CL::BirthYear.Offset, 4, 1150 - n % 10);
    }
}

// Every interpreted field over its whole stored range and in every form the game leaves it.
// Forms that must show up in each save (the names, the descriptions) turn with the character
// number; the clock and the roster take their form from the seed, so consecutive seeds see all.
void SaveBuilder::FillPlayed(std::uint8_t* window) const
{
    Noise noise(playedSeed_ * 2654435761u + 1);
    const auto word = [&] {
        return std::uint32_t{noise.Next()} << 24 | std::uint32_t{noise.Next()} << 16 |
               std::uint32_t{noise.Next()} << 8 | noise.Next();
    };
    const auto random = [&](int below) { return static_cast<int>(word() % static_cast<std::uint32_t>(below)); };
    const auto pick = [&](std::initializer_list<std::int64_t> values) {
        return *(values.begin() + random(static_cast<int>(values.size())));
    };
    // Small, negative or anywhere in the width's signed range, its ends included.
    const auto anyValue = [&](int width) -> std::int64_t {
        const std::int64_t top = (std::int64_t{1} << (8 * width - 1)) - 1;
        return pick({-top - 1, top, -1, 0, -1 - random(100), static_cast<std::int32_t>(word()) % (top + 1), random(60),
                     random(60), random(60)});
    };
    const auto put = [&](int offset, int width, std::int64_t value) {
        StoreLE({window, WL::WindowSize}, static_cast<std::size_t>(offset), width, value);
    };
    const auto text = [&](Field field, std::string_view value) {
        // Old text after the terminator, as the game leaves it; a full field has none.
        for (int i = 0; i < field.Width; ++i)
            window[field.Offset + i] = static_cast<std::uint8_t>(0x20 + random(0xDF));
        std::memcpy(window + field.Offset, value.data(), std::min<std::size_t>(value.size(), field.Width));
        if (std::cmp_less(value.size(), field.Width))
            window[field.Offset + static_cast<int>(value.size())] = 0;
    };
    namespace SE = SpellEffectLayout;
    const auto effect = [&](int offset, std::int64_t now, bool party) {
        // Never cast (the game's own words after the expiry stay), long expired, or in force
        // with odd ticks left; powers, skills and casters beyond what the lists name.
        const int kind = random(4);
        const std::int64_t left = std::int64_t{random(40 * 1440)} * 256 + 1 + random(255);
        put(offset + SE::Expiry.Offset, 8, kind == 0 ? 0 : kind == 1 ? now - left : now + left);
        put(offset + SE::Power.Offset, 2, kind == 0 ? 0 : anyValue(2));
        put(offset + SE::Skill.Offset, 2, kind == 0 ? 0 : pick({1, 2, 3, 4, 4, 0, 9, -1}));
        put(offset + 12, 2, random(0x10000));
        put(offset + SE::Caster.Offset, 1, party ? pick({0, 1, 3, 12, 50, 51, 77, 255}) : random(256));
        put(offset + SE::CasterFlags, 1, pick({0, 1, 0x80, 0xC3}));
    };

    const int party = WL::PartyRecordOffset;
    const int form = static_cast<int>(playedSeed_ % 5);
    // Midnight, the small hours, noon, late evening, any hour; never whole minutes.
    const int hour = std::array{0, 1 + random(8), 12, 21 + random(3), random(24)}[static_cast<std::size_t>(form)];
    const std::int64_t now =
        GameTimeToTicks({hour, random(60), random(28), random(12), 1172 + random(8)}) + 1 + random(255);
    put(party + WL::Time.Offset, WL::Time.Width, now);
    for (Field f : {WL::Food, WL::Gold, WL::Bank})
        put(party + f.Offset, f.Width, anyValue(f.Width));
    for (int k = 0; k < WL::PartySpellCount; ++k)
        effect(party + WL::PartySpellsOffset + k * SE::Size, now, true);
    // No gaps, since the game would need none, but as the game leaves it: members in any order,
    // sometimes fewer than five, a count the game did not keep up, old values past the last.
    std::array<int, CL::CharacterCount> everyone{};
    std::iota(everyone.begin(), everyone.end(), 0);
    for (int i = CL::CharacterCount - 1; i > 0; --i)
        std::swap(everyone[static_cast<std::size_t>(i)], everyone[static_cast<std::size_t>(random(i + 1))]);
    const int members = form == 4 ? 5 : 1 + random(4);
    for (int slot = 0; slot < WL::RosterSlotCount; ++slot) {
        const std::int64_t empty = form == 1 ? pick({50, -2, 0x7FFFFFFF}) : -1;
        put(WL::RosterOffset + slot * WL::RosterSlotWidth, 4,
            slot < members ? everyone[static_cast<std::size_t>(slot)] : empty);
    }
    put(WL::RosterOffset + WL::RosterCount.Offset, 4, form == 2 ? 5 - members : form == 3 ? 0 : members);

    namespace CF = CharacterFields;
    for (int n = 1; n <= CL::CharacterCount; ++n) {
        const int r = CharacterOffset(n, 0);
        const auto at = [r](Field f) { return Field{r + f.Offset, f.Width}; };
        const std::string_view own = CharacterNames[static_cast<std::size_t>(n - 1)];
        const int turn = static_cast<int>((static_cast<std::uint32_t>(n) + playedSeed_) % 6);
        // Short, long, in the code page's letters, in bytes some pages cannot read back (a
        // lone lead byte last), the whole width without a terminator, empty. (No wrapped runs
        // of the fan translation: they would make the game's code page read as that one.)
        const std::string names[] = {
            std::string(own),
            (std::string(own) + " of the Ironfist Clan Hall, Steadwick").substr(0, 31),
            "\xC9l\xE9onore \xD8\xFF",
            "Ra\xD2\x80n\xFF\xB3",
            std::string(own) + std::string(32, '!'),
            "",
        };
        text(at(CL::Name), names[turn]);
        const std::string descriptions[] = {
            "A long road\r\nbehind",
            "\xC0 la \xE9p\xE9"
            "e\nseule\rligne\t\x80\x81\x8D\x90\x9D",
            std::string(CL::Description.Width, 'x'),
            std::string(CL::Description.Width - 1, '\xE6'),
            "",
        };
        text(at(CL::Description), descriptions[(turn + random(2)) % 5]);
        put(r + CF::Class.Offset, 1, pick({random(16), random(16), 16 + random(112), 128 + random(128)}));
        put(r + CL::Face.Offset, 1, random(3) == 0 ? random(256) : random(28));
        put(r + CL::SecondFace.Offset, 4, random(3) == 0 ? anyValue(4) : random(28));
        put(r + CF::Experience.Offset, 4, anyValue(4));
        put(r + CF::Experience.Offset + 4, 4, random(3)); // the high word the game keeps
        for (Field f :
             {CF::Might,          CF::Intelligence,   CF::Perception,         CF::Endurance,       CF::Speed,
              CF::Accuracy,       CF::Luck,           CF::ArmorClassModifier, CF::BaseLevel,       CL::LevelBonus,
              CL::AgeBonus,       CF::FireResistance, CF::AirResistance,      CF::WaterResistance, CF::EarthResistance,
              CF::MindResistance, CF::BodyResistance, CF::SkillPoints,        CF::HitPoints,       CF::SpellPoints})
            put(r + f.Offset, f.Width, anyValue(f.Width));
        put(r + CL::BirthYear.Offset, 4, pick({1150 - n % 10, 1170 - random(400), 0, -1, 1172 + 40, 0x7FFFFFFF}));
        // Levels with several mastery bits, a mastery without a level, bits the game never sets.
        for (int slot = 0; slot < CL::SkillSlotCount; ++slot)
            put(r + CL::SkillsOffset + slot * CL::SkillWidth, 2,
                pick({0, 0, 0x01B8, 0x00C7, 0x0105, 0x0043, 0x0283, 0x008C, 0x0080, 0x0100, 0x7FFF, 0xFE05}));
        for (int a = 0; a < CL::AwardsBytes; ++a)
            window[r + CL::AwardsOffset + a] = static_cast<std::uint8_t>(random(3) == 0 ? 0 : random(256));
        for (int g = 0; g < CL::SpellGroupCount; ++g) {
            const int size = g < CL::FirstRacialSpellGroup ? CL::FullSpellGroupSize : CL::RacialSpellGroupSize;
            for (int b = 0; b < size; ++b)
                window[r + CL::SpellGroupsOffset + g * CL::SpellGroupSpacing + b] =
                    static_cast<std::uint8_t>(pick({0, 0, 1, 1, 2, 7, 255}));
        }
        // Afflicted long ago, a moment ago, or from a start still to come.
        for (int k = 0; k < CL::ConditionCount; ++k) {
            const std::int64_t span = std::int64_t{random(9 * 1440)} * 256 + 1 + random(255);
            put(r + CL::ConditionsOffset + k * CL::ConditionWidth, 8, pick({0, 0, now - span, now + span}));
        }
        for (int k = 0; k < CL::ActiveSpellCount; ++k)
            effect(r + CL::ActiveSpellsOffset + k * SE::Size, now, false);

        // Items as the game placed them: a longsword in fewer cells than the table's 1x5, a
        // strong potion, an item beyond the built-in table in 2x2, a helm; worn items with no
        // cell, free entries with old words, and cells naming no entry or no anchor.
        struct Placed {
            int item;
            int anchor; // -1: worn, in no cell
            int width;
            int height;
        };
        const int shift = random(4);
        const Placed items[] = {
            {1, shift, 1, 3},
            {static_cast<int>(pick({221, 240, 271})), 8, 1, 1},
            {751 + random(50), 10, 2, 2},
            {109, 100 + shift, 1, 1},
            {static_cast<int>(pick({2, 66, 90, 500})), -1, 0, 0},
            {0, -1, 0, 0},
            {static_cast<int>(pick({110, 0x7FFFFFFF})), -1, 0, 0},
        };
        for (std::size_t e = 0; e < std::size(items); ++e) {
            const Placed& p = items[e];
            const int entry = r + CL::InventoryEntriesOffset + static_cast<int>(e) * IL::EntrySize;
            const bool potion = p.item >= 221 && p.item <= 271;
            // Enchantment 1 within the standard list, past it, or negative; the first item's never in it.
            put(entry, 4, p.item);
            put(entry + 4, 4,
                potion   ? pick({1, 26 + random(50), 0x7FFFFFFF})
                : e == 0 ? pick({26, 400, -7})
                         : pick({0, 3, 25, 26, 400, -7}));
            put(entry + 8, 4, anyValue(4));
            put(entry + 12, 4, pick({0, 5, 59, 60, 1000, -1}));
            put(entry + 16, 4, anyValue(4));
            put(entry + 20, 4, pick({0, 1, 3, 0x101, 0x201, 0x10001, -1}));
            for (int w = 6; w < IL::WordCount; ++w)
                put(entry + 4 * w, 4, random(0x10000));
            if (p.anchor < 0)
                continue;
            for (int y = 0; y < p.height; ++y)
                for (int x = 0; x < p.width; ++x)
                    put(r + CL::InventoryGridOffset + (p.anchor + x + IL::Columns * y) * IL::CellWidth, 4, ~p.anchor);
            put(r + CL::InventoryGridOffset + p.anchor * IL::CellWidth, 4, static_cast<int>(e) + 1);
        }
        // Cells in the last row: an entry past the list, the free entry, a cover of no anchor.
        const int lastRow = IL::Columns * (IL::Rows - 1);
        put(r + CL::InventoryGridOffset + (lastRow + 10) * IL::CellWidth, 4, pick({139, 5000, 0x7FFFFFFF}));
        put(r + CL::InventoryGridOffset + (lastRow + 11) * IL::CellWidth, 4, 6);
        put(r + CL::InventoryGridOffset + (lastRow + 12) * IL::CellWidth, 4, pick({~500, ~20, -0x7FFFFFFF - 1}));
    }
}

void SaveBuilder::WriteTo(const std::filesystem::path& path) const
{
    WriteBytes(path, Build());
}
