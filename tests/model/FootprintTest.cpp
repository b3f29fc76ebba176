// Every setter and inventory operation, on random characters with random values, may
// change only the bytes its layout entry names; Save may change only the bytes it read.
// The expected bytes come from the layout tables the model is built from, so a setter
// that strays from its entry fails here, and so does an entry that overlaps another.

#include "SavedGameFixture.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace WL = WindowLayout;
namespace CL = CharacterLayout;
namespace IL = InventoryLayout;
namespace SE = SpellEffectLayout;

// Window bytes an operation may change, and which of their bits.
struct Span {
    int offset;
    int width;
    std::uint8_t bits = 0xFF;
};
using Footprint = std::vector<Span>;

int Record(int n, int offset)
{
    return SaveBuilder::CharacterOffset(n, offset);
}

Span InRecord(int n, Field field)
{
    return {Record(n, field.Offset), field.Width};
}

Span InParty(Field field)
{
    return {WL::PartyRecordOffset + field.Offset, field.Width};
}

// Time, power and skill; the caster too where there is one. Bytes 12..13 never.
Footprint SpellEffect(int start, bool withCaster)
{
    Footprint f;
    for (Field field : {SE::Expiry, SE::Power, SE::Skill})
        f.push_back({start + field.Offset, field.Width});
    if (withCaster)
        f.push_back({start + SE::Caster.Offset, SE::Caster.Width});
    return f;
}

int SpellGroupBytes(int g)
{
    return g < CL::FirstRacialSpellGroup ? CL::FullSpellGroupSize : CL::RacialSpellGroupSize;
}

Span SpellGroup(int n, int g)
{
    return {Record(n, CL::SpellGroupsOffset + g * CL::SpellGroupSpacing), SpellGroupBytes(g)};
}

Span Skill(int n, int slot)
{
    return {Record(n, CL::SkillsOffset + slot * CL::SkillWidth), CL::SkillWidth};
}

Span Condition(int n, int k)
{
    return {Record(n, CL::ConditionsOffset + k * CL::ConditionWidth), CL::ConditionWidth};
}

Span Award(int n, int a)
{
    return {Record(n, CL::AwardsOffset + a / 8), 1, static_cast<std::uint8_t>(0x80 >> (a % 8))};
}

Footprint Inventory(int n)
{
    return {{Record(n, CL::InventoryEntriesOffset), IL::EntryCount * IL::EntrySize},
            {Record(n, CL::InventoryGridOffset), IL::CellCount * IL::CellWidth}};
}

// "window byte W", with the character and record offset when W lies in a record.
std::string Describe(std::size_t w)
{
    std::ostringstream text;
    text << "window byte " << w;
    const int record = static_cast<int>(w) - Record(1, CL::ConditionsOffset);
    if (record >= 0 && record < CL::CharacterCount * CL::RecordSize)
        text << " (character " << record / CL::RecordSize + 1 << ", record offset "
             << record % CL::RecordSize + CL::ConditionsOffset << ")";
    return text.str();
}

int RandomInt(std::mt19937& random)
{
    return std::uniform_int_distribution<int>(std::numeric_limits<int>::min(), std::numeric_limits<int>::max())(random);
}

int RandomIn(std::mt19937& random, int first, int last)
{
    return std::uniform_int_distribution<int>(first, last)(random);
}

// One of choices, or any of first..last when there are none.
int PickFrom(std::mt19937& random, const std::vector<int>& choices, int first, int last)
{
    if (choices.empty())
        return RandomIn(random, first, last);
    return choices[static_cast<std::size_t>(RandomIn(random, 0, static_cast<int>(choices.size()) - 1))];
}

std::string RandomText(std::mt19937& random, int longest)
{
    std::string text(static_cast<std::size_t>(RandomIn(random, 0, longest)), ' ');
    for (char& c : text)
        c = static_cast<char>(RandomIn(random, 0x20, 0xFF));
    return text;
}

GameDuration RandomDuration(std::mt19937& random)
{
    return {RandomIn(random, 0, 5000), RandomIn(random, 0, 23), RandomIn(random, 0, 59)};
}

SpellEffectInfo RandomEffect(std::mt19937& random)
{
    return {RandomDuration(random), RandomInt(random), RandomInt(random), RandomInt(random)};
}

// Kinds of several sizes (1x5, 1x1, 2x2, 3x4, 14x4) and one without a size.
constexpr int ItemKinds[] = {1, 109, 104, 90, 612, 190};

InventoryItem RandomItem(std::mt19937& random)
{
    InventoryItem item;
    for (auto word : IL::ItemWords)
        item.*word = RandomInt(random);
    item.ItemNumber = ItemKinds[RandomIn(random, 0, static_cast<int>(std::size(ItemKinds)) - 1)];
    return item;
}

std::vector<int> Anchors(const SaveGame& save, int n)
{
    std::vector<int> anchors;
    InventoryItem item;
    for (int cell = 0; cell < IL::CellCount; ++cell)
        if (save.GetInventoryCell(n, cell, item) == 1)
            anchors.push_back(cell);
    return anchors;
}

struct Operation {
    std::string name;
    std::string field; // operations on the same bytes share it; empty: touches nothing
    bool perCharacter;
    std::function<Footprint(int n)> footprint;
    std::function<void(SaveGame&, int n, std::mt19937&)> apply;
    // The character to work on; unset: any. Chosen so that the operation has work to do.
    std::function<int(const SaveGame&, std::mt19937&)> subject = {};
};

std::vector<Operation> Operations()
{
    std::vector<Operation> ops;
    auto party = [&](std::string name, Footprint footprint, std::function<void(SaveGame&, std::mt19937&)> apply) {
        ops.push_back({name, name, false, [footprint](int) { return footprint; },
                       [apply](SaveGame& s, int, std::mt19937& r) { apply(s, r); }});
    };
    party("SetTime", {InParty(WL::Time)}, [](SaveGame& s, std::mt19937& r) {
        const int year = RandomIn(r, Calendar::FirstYear, Calendar::FirstYear + 100);
        s.SetTime({RandomIn(r, 0, 23), RandomIn(r, 0, 59), RandomIn(r, 0, 27), RandomIn(r, 0, 11), year});
    });
    party("SetFood", {InParty(WL::Food)}, [](SaveGame& s, std::mt19937& r) { s.SetFood(RandomInt(r)); });
    party("SetGold", {InParty(WL::Gold)}, [](SaveGame& s, std::mt19937& r) { s.SetGold(RandomInt(r)); });
    party("SetBank", {InParty(WL::Bank)}, [](SaveGame& s, std::mt19937& r) { s.SetBank(RandomInt(r)); });
#define VELKAR_X(name, k)                                                                                      \
    party("Set" #name, SpellEffect(WL::PartyRecordOffset + WL::PartySpellsOffset + (k) * SE::Size, true),      \
          [](SaveGame& s, std::mt19937& r) { s.Set##name(RandomEffect(r)); });
    VELKAR_PARTY_SPELLS(VELKAR_X)
#undef VELKAR_X
#define VELKAR_X(name, slot)                                                                                   \
    party("Set" #name, {{WL::RosterOffset + ((slot) - 1) * WL::RosterSlotWidth, WL::RosterSlotWidth}},          \
          [](SaveGame& s, std::mt19937& r) { s.Set##name(RandomInt(r)); });
    VELKAR_PARTY_MEMBERS(VELKAR_X)
#undef VELKAR_X
    party("SetPartyMemberCount", {{WL::RosterOffset + WL::RosterCount.Offset, WL::RosterCount.Width}},
          [](SaveGame& s, std::mt19937& r) { s.SetPartyMemberCount(RandomInt(r)); });

    auto character = [&](std::string name, std::string field, std::function<Footprint(int)> footprint,
                         std::function<void(SaveGame&, int, std::mt19937&)> apply) {
        ops.push_back({std::move(name), std::move(field), true, std::move(footprint), std::move(apply)});
    };
#define VELKAR_X(name, offset, width)                                                                          \
    character("Set" #name, #name, [](int n) { return Footprint{{Record(n, offset), width}}; },                 \
              [](SaveGame& s, int n, std::mt19937& r) { s.Set##name(n, RandomInt(r)); });
    VELKAR_CHARACTER_FIELDS(VELKAR_X)
#undef VELKAR_X
    character("SetFace", "Face", [](int n) { return Footprint{InRecord(n, CL::Face), InRecord(n, CL::SecondFace)}; },
              [](SaveGame& s, int n, std::mt19937& r) { s.SetFace(n, RandomInt(r)); });
    character("SetLevel", "LevelBonus", [](int n) { return Footprint{InRecord(n, CL::LevelBonus)}; },
              [](SaveGame& s, int n, std::mt19937& r) { s.SetLevel(n, RandomInt(r)); });
    character("SetBaseAge", "BirthYear", [](int n) { return Footprint{InRecord(n, CL::BirthYear)}; },
              [](SaveGame& s, int n, std::mt19937& r) { s.SetBaseAge(n, RandomInt(r)); });
    character("SetAge", "AgeBonus", [](int n) { return Footprint{InRecord(n, CL::AgeBonus)}; },
              [](SaveGame& s, int n, std::mt19937& r) { s.SetAge(n, RandomInt(r)); });
    character("SetName", "Name", [](int n) { return Footprint{InRecord(n, CL::Name)}; },
              [](SaveGame& s, int n, std::mt19937& r) { s.SetName(n, RandomText(r, CL::Name.Width + 8)); });
    character("SetDescription", "Description", [](int n) { return Footprint{InRecord(n, CL::Description)}; },
              [](SaveGame& s, int n, std::mt19937& r) {
                  s.SetDescription(n, RandomText(r, CL::Description.Width + 8));
              });
#define VELKAR_X(name, slot)                                                                                   \
    character("Set" #name, #name,                                                                              \
              [](int n) { return Footprint{Skill(n, slot)}; },                                                 \
              [](SaveGame& s, int n, std::mt19937& r) { s.Set##name(n, RandomInt(r)); });
    VELKAR_SKILLS(VELKAR_X)
#undef VELKAR_X
#define VELKAR_X(name, g)                                                                                      \
    character("Set" #name, #name, [](int n) { return Footprint{SpellGroup(n, g)}; },                           \
              [](SaveGame& s, int n, std::mt19937& r) {                                                        \
                  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(SpellGroupBytes(g)));               \
                  for (auto& b : bytes)                                                                        \
                      b = static_cast<std::uint8_t>(RandomIn(r, 0, 255));                                      \
                  s.Set##name(n, bytes);                                                                       \
              });
    VELKAR_SPELL_GROUPS(VELKAR_X)
#undef VELKAR_X
    for (int a = 0; a < CL::AwardCount; ++a) {
        // A character the operation changes: one without the award to set, one with it to clear.
        auto holder = [a](bool held) {
            return [a, held](const SaveGame& s, std::mt19937& r) {
                std::vector<int> candidates;
                for (int n = 1; n <= CL::CharacterCount; ++n)
                    if ((s.GetAward(n, a) != 0) == held)
                        candidates.push_back(n);
                return PickFrom(r, candidates, 1, CL::CharacterCount);
            };
        };
        const std::string field = "Award " + std::to_string(a);
        ops.push_back({"SetAward " + std::to_string(a), field, true, [a](int n) { return Footprint{Award(n, a)}; },
                       [a](SaveGame& s, int n, std::mt19937&) { s.SetAward(n, a); }, holder(false)});
        ops.push_back({"ClearAward " + std::to_string(a), field, true, [a](int n) { return Footprint{Award(n, a)}; },
                       [a](SaveGame& s, int n, std::mt19937&) { s.ClearAward(n, a); }, holder(true)});
    }
    for (int a : {-1, CL::AwardCount}) {
        character("SetAward " + std::to_string(a), "", [](int) { return Footprint{}; },
                  [a](SaveGame& s, int n, std::mt19937&) { s.SetAward(n, a); });
        character("ClearAward " + std::to_string(a), "", [](int) { return Footprint{}; },
                  [a](SaveGame& s, int n, std::mt19937&) { s.ClearAward(n, a); });
    }
#define VELKAR_X(name, k)                                                                                      \
    character("Set" #name, #name,                                                                              \
              [](int n) { return Footprint{Condition(n, k)}; },                                                \
              [](SaveGame& s, int n, std::mt19937& r) {                                                        \
                  GameDuration since;                                                                          \
                  s.Set##name(n, s.Get##name(n, since) == 0 ? 1 : 0, RandomDuration(r));                       \
              });
    VELKAR_CONDITIONS(VELKAR_X)
#undef VELKAR_X
#define VELKAR_X(name, k)                                                                                      \
    character("Set" #name, #name,                                                                              \
              [](int n) { return SpellEffect(Record(n, CL::ActiveSpellsOffset + (k) * SE::Size), false); },    \
              [](SaveGame& s, int n, std::mt19937& r) {                                                        \
                  const SpellEffectInfo e = RandomEffect(r);                                                   \
                  s.Set##name(n, {e.duration, e.power, e.skill});                                              \
              });
    VELKAR_ACTIVE_SPELLS(VELKAR_X)
#undef VELKAR_X

    character("AddInventoryItem", "Inventory", Inventory,
              [](SaveGame& s, int n, std::mt19937& r) { s.AddInventoryItem(n, RandomItem(r)); });
    ops.push_back({"RemoveInventoryItem", "Inventory", true, Inventory,
                   [](SaveGame& s, int n, std::mt19937& r) {
                       s.RemoveInventoryItem(n, PickFrom(r, Anchors(s, n), 0, IL::CellCount - 1));
                   },
                   [](const SaveGame& s, std::mt19937& r) {
                       std::vector<int> stocked;
                       for (int n = 1; n <= CL::CharacterCount; ++n)
                           if (!Anchors(s, n).empty())
                               stocked.push_back(n);
                       return PickFrom(r, stocked, 1, CL::CharacterCount);
                   }});
    character("GetInventoryCell", "", [](int) { return Footprint{}; }, [](SaveGame& s, int n, std::mt19937&) {
        InventoryItem item;
        for (int cell = -1; cell <= IL::CellCount; ++cell)
            s.GetInventoryCell(n, cell, item);
    });
    return ops;
}

class FootprintTest : public SavedGameFixture {
protected:
    // Noise where the builder leaves zeros, so that a stray zero written there shows:
    // spell effects (their unused bytes and casters), skills with the unused slot, awards
    // with the unused bits of their last byte. Then items in every pack.
    void SetUp() override
    {
        std::mt19937 noise(7);
        auto scribble = [&](int offset, int size) {
            std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
            for (auto& b : bytes)
                b = static_cast<std::uint8_t>(RandomIn(noise, 1, 255));
            builder.PutBytes(offset, bytes);
        };
        scribble(WL::PartyRecordOffset + WL::PartySpellsOffset, WL::PartySpellCount * SE::Size);
        for (int n = 1; n <= CL::CharacterCount; ++n) {
            scribble(Record(n, CL::SkillsOffset), CL::SkillSlotCount * CL::SkillWidth);
            scribble(Record(n, CL::AwardsOffset), (CL::AwardCount + 7) / 8);
            scribble(Record(n, CL::ActiveSpellsOffset), CL::ActiveSpellCount * SE::Size);
        }
    }

    void Stock()
    {
        std::mt19937 random(11);
        for (int n = 1; n <= CL::CharacterCount; ++n)
            for (int i = RandomIn(random, 2, 8); i > 0; --i)
                save.AddInventoryItem(n, RandomItem(random));
    }

    // Compares the window with before and reports every changed bit outside allowed.
    // Returns whether anything changed.
    bool ExpectWithin(const std::vector<std::uint8_t>& before, const Footprint& allowed, const std::string& what)
    {
        const auto after = save.GetWindow();
        EXPECT_EQ(after.size(), before.size());
        bool changed = false;
        int reported = 0;
        const std::size_t size = std::min(before.size(), after.size());
        constexpr std::size_t Block = 4096; // skip unchanged blocks at memcmp speed
        for (std::size_t i = 0; i < size; ++i) {
            if (i % Block == 0 && std::memcmp(&before[i], &after[i], std::min(Block, size - i)) == 0) {
                i += Block - 1;
                continue;
            }
            const auto bits = static_cast<std::uint8_t>(before[i] ^ after[i]);
            if (bits == 0)
                continue;
            changed = true;
            std::uint8_t may = 0;
            for (const Span& s : allowed)
                if (static_cast<int>(i) >= s.offset && static_cast<int>(i) < s.offset + s.width)
                    may |= s.bits;
            if ((bits & ~may) != 0 && reported++ < 4)
                ADD_FAILURE() << what << " changed " << Describe(i) << ", bits 0x" << std::hex << int{bits}
                              << std::dec << ", outside its footprint";
        }
        return changed;
    }

    // Save changed the file only in the bytes it read, and those now hold the window.
    void ExpectSaveWithinTheBytesRead()
    {
        save.Save();
        const auto after = FileBytes();
        ASSERT_EQ(after.size(), original.size()) << "Save changed the file's length";
        const std::size_t first = save.GetDataOffset();
        const std::size_t last = first + save.GetWindowSize() - 1;
        ASSERT_EQ(first, partyOffset);
        std::vector<std::size_t> outside;
        for (std::size_t i = 0; i < after.size(); ++i)
            if (after[i] != original[i] && (i < first || i > last))
                outside.push_back(i);
        EXPECT_TRUE(outside.empty()) << outside.size() << " file bytes changed outside " << first << ".." << last
                                     << ", the first at " << outside.front();
        const auto window = save.GetWindow();
        EXPECT_TRUE(std::equal(after.begin() + static_cast<std::ptrdiff_t>(first),
                               after.begin() + static_cast<std::ptrdiff_t>(last) + 1, window.begin()))
            << "the saved bytes differ from the window";
    }

    SaveBuilder builder;
};

TEST_F(FootprintTest, EveryOperationChangesOnlyItsOwnBytesAndSaveOnlyTheBytesRead)
{
    ASSERT_TRUE(Create(builder));
    Stock();
    std::vector<Operation> ops = Operations();
    std::mt19937 random(2026);
    std::vector<int> changes(ops.size());
    std::vector<std::size_t> order(ops.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    constexpr int Rounds = 2;
    for (int round = 0; round < Rounds; ++round) {
        std::shuffle(order.begin(), order.end(), random);
        for (std::size_t i : order) {
            const Operation& op = ops[i];
            const int n = op.subject ? op.subject(save, random) : RandomIn(random, 1, CL::CharacterCount);
            const auto window = save.GetWindow();
            const std::vector<std::uint8_t> before(window.begin(), window.end());
            op.apply(save, n, random);
            std::ostringstream what;
            what << op.name;
            if (op.perCharacter)
                what << " on character " << n;
            changes[i] += ExpectWithin(before, op.footprint(n), what.str());
        }
    }
    // Each operation really wrote at some point, or the checks above proved nothing.
    for (std::size_t i = 0; i < ops.size(); ++i)
        if (!ops[i].field.empty())
            EXPECT_GT(changes[i], 0) << ops[i].name << " never changed a byte";
        else
            EXPECT_EQ(changes[i], 0) << ops[i].name;
    EXPECT_GE(ops.size() * Rounds, 500u);

    ExpectSaveWithinTheBytesRead();
}

TEST_F(FootprintTest, SaveOfAShortWindowWritesNothingPastTheEndOfTheFile)
{
    // The file ends a little after the last interpreted byte: fewer than 400000 bytes read.
    builder.RemoveMembersAfter().WriteTo(path);
    partyOffset = builder.PartyOffset();
    std::filesystem::resize_file(path, partyOffset + WL::MinimumWindowSize + 7);
    original = FileBytes();
    ASSERT_TRUE(save.Open(path));
    ASSERT_EQ(save.GetWindowSize(), static_cast<std::size_t>(WL::MinimumWindowSize + 7));
    Stock();
    std::mt19937 random(5);
    save.SetPartyMemberCount(3);
    for (int n = 1; n <= CL::CharacterCount; ++n) {
        save.SetSpellPoints(n, RandomInt(random));
        save.SetName(n, RandomText(random, CL::Name.Width));
    }
    ExpectSaveWithinTheBytesRead();
    EXPECT_EQ(FileValue(WL::RosterOffset + WL::RosterCount.Offset, WL::RosterCount.Width), 3);
}

// The table entries themselves: no two fields share a bit, character fields stay inside
// their record's touched bytes (record 50 ends inside the roster), party fields inside the
// party record or the roster, and all of it before the smallest window that opens.
TEST_F(FootprintTest, NoTwoFieldsOfTheLayoutShareABit)
{
    const std::vector<Operation> ops = Operations();
    std::vector<std::uint8_t> claimed(WL::WindowSize);
    std::vector<const std::string*> owner(WL::WindowSize, nullptr);
    auto claim = [&](const Operation& op, const Span& s, int first, int last, int n) {
        for (int i = s.offset; i < s.offset + s.width; ++i) {
            ASSERT_TRUE(i >= first && i <= last && i < WL::MinimumWindowSize)
                << op.field << " of character " << n << " reaches " << Describe(static_cast<std::size_t>(i))
                << " outside " << first << ".." << last;
            EXPECT_EQ(claimed[static_cast<std::size_t>(i)] & s.bits, 0)
                << op.field << " of character " << n << " shares " << Describe(static_cast<std::size_t>(i)) << " with "
                << *owner[static_cast<std::size_t>(i)];
            claimed[static_cast<std::size_t>(i)] |= s.bits;
            owner[static_cast<std::size_t>(i)] = &op.field;
        }
    };
    std::set<std::string> seen;
    int fields = 0;
    for (const Operation& op : ops) {
        if (op.field.empty() || !seen.insert(op.field).second)
            continue; // the second operation on the same field
        ++fields;
        if (!op.perCharacter) {
            for (const Span& s : op.footprint(0)) {
                const bool inRoster = s.offset >= WL::RosterOffset;
                claim(op, s, inRoster ? WL::RosterOffset : WL::PartyRecordOffset,
                      inRoster ? WL::RosterEnd - 1 : WL::PartyRecordOffset + WL::PartyRecordSize - 1, 0);
            }
            continue;
        }
        for (int n = 1; n <= CL::CharacterCount; ++n)
            for (const Span& s : op.footprint(n))
                claim(op, s, Record(n, CL::ConditionsOffset), Record(n, CL::LastTouchedByte), n);
    }
    EXPECT_GT(fields, 200);
}

} // namespace
