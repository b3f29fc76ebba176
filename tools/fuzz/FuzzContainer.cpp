// Opens an arbitrary container held in memory, then drives the groups of accessors of the
// party and of the characters the input names (every group of the party and of all fifty
// characters with VELKAR_FUZZ_FULL_SWEEP=1) with values taken from the input, the inventory
// operations with fuzzed cells and items, calls with indices out of range, and Save. The sanitizers
// report undefined behaviour; the checks below report results that contradict the model's
// own contract. Input layout: ContainerInput.h.

#include "model/File.h"
#include "model/MessageSink.h"
#include "model/SaveGame.h"
#include "model/Wrapping.h"
#include "tests/support/SaveBuilder.h"
#include "tools/fuzz/ByteReader.h"
#include "tools/fuzz/ContainerInput.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

namespace WL = WindowLayout;
namespace CL = CharacterLayout;
namespace IL = InventoryLayout;
namespace CI = ContainerInput;

[[noreturn]] void Fail(const char* what, long long detail)
{
    std::fprintf(stderr, "\n*** model check failed: %s (%lld)\n", what, detail);
    std::fflush(stderr);
    std::abort();
}

void Check(bool ok, const char* what, long long detail = 0)
{
    if (!ok)
        Fail(what, detail);
}

std::int64_t Narrow(std::int64_t value, int width)
{
    const int unused = 64 - 8 * width;
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(value) << unused) >> unused;
}

// Where the container is mounted: no file is written or read on disk.
const std::filesystem::path ContainerPath = "/velkar-fuzz/container.dod";

bool FullSweep()
{
    static const bool full = [] {
        const char* value = std::getenv("VELKAR_FUZZ_FULL_SWEEP");
        return value != nullptr && std::string_view(value) == "1";
    }();
    return full;
}

// Whether [first, first + count) of a and b agree, in one memcmp rather than an
// instrumented loop: these ranges are hundreds of kilobytes on every run.
bool Same(const std::uint8_t* a, const std::uint8_t* b, std::size_t count)
{
    return count == 0 || std::memcmp(a, b, count) == 0;
}

struct BaseContainer {
    std::vector<std::uint8_t> image;
    std::size_t partyOffset = 0;
};

// A played-looking container with a few items of every size in most characters' packs.
const BaseContainer& Base()
{
    static const BaseContainer base = [] {
        const SaveBuilder builder("Fuzzing base");
        const std::filesystem::path path = "/velkar-fuzz/base.dod";
        const auto bytes = std::make_shared<File::Bytes>(builder.Build());
        File::Mount(path, bytes);
        {
            SaveGame save;
            Check(save.Open(path), "the base container does not open");
            constexpr int Kinds[] = {1, 104, 109, 90, 612, 190, 222, 187, 66, 538};
            for (int n = 1; n <= CL::CharacterCount; ++n)
                for (int i = 0; i < n % 7; ++i) {
                    InventoryItem item;
                    item.ItemNumber = Kinds[(n + i) % std::size(Kinds)];
                    item.Charges = i;
                    item.ItemFlags = InventoryItemFlags::Identified;
                    save.AddInventoryItem(n, item);
                }
            save.Save();
        }
        File::Unmount(path);
        return BaseContainer{std::move(*bytes), builder.PartyOffset()};
    }();
    return base;
}

std::size_t RecordStart(int n)
{
    return Base().partyOffset + static_cast<std::size_t>(CL::FirstRecord + (n - 1) * CL::RecordSize);
}

// Where the file the last input built may differ from the base container, so that the next
// one copies back only that: all of it after a raw input, otherwise the patched bytes, a cut
// tail and the stretch Save wrote.
struct Changed {
    bool whole = true;
    std::vector<std::pair<std::size_t, std::size_t>> ranges; // [first, last)

    void Add(std::size_t first, std::size_t last)
    {
        if (first < last)
            ranges.emplace_back(first, last);
    }
};

Changed& Dirty()
{
    static Changed changed;
    return changed;
}

void Patch(std::vector<std::uint8_t>& file, std::size_t at, std::span<const std::uint8_t> bytes)
{
    const std::size_t end = std::min(at + bytes.size(), file.size());
    Dirty().Add(at, end);
    for (std::size_t i = at; i < end; ++i)
        file[i] = bytes[i - at];
}

// The base container again, copying back only what the last input changed: a fresh 530 KB
// copy for every input costs as much as the checks.
void RestoreBase(std::vector<std::uint8_t>& file)
{
    const BaseContainer& base = Base();
    Changed& dirty = Dirty();
    file.resize(base.image.size()); // a cut tail is among the ranges
    if (dirty.whole)
        dirty.ranges.assign(1, {0, file.size()});
    for (const auto& [first, last] : dirty.ranges)
        std::memcpy(file.data() + first, base.image.data() + first, last - first);
    dirty.whole = false;
    dirty.ranges.clear();
}

// The container to open, from the input's leading part (see ContainerInput.h).
void BuildFile(ByteReader& head, std::vector<std::uint8_t>& file)
{
    const std::uint8_t shape = head.Byte();
    if ((shape & CI::RawShapeMask) == 0) {
        const auto rest = head.Take(head.Rest().size());
        file.assign(rest.begin(), rest.end());
        Dirty().whole = true;
        return;
    }
    const BaseContainer& base = Base();
    RestoreBase(file);
    if (shape & CI::TruncateBit) {
        const std::size_t shortest = base.partyOffset + WL::MinimumWindowSize - 16;
        const std::size_t length = shortest + head.U32() % (WL::WindowSize - WL::MinimumWindowSize + 32);
        Dirty().Add(length, file.size());
        file.resize(std::min(length, file.size()));
    }
    const int patches = head.Byte() & CI::PatchCountMask;
    for (int p = 0; p < patches; ++p) {
        std::size_t at = 0;
        switch (head.Byte() % CI::KindCount) {
        case CI::File:
            at = head.U16() % CI::FileSpan;
            break;
        case CI::Window:
            at = base.partyOffset + head.U32() % WL::WindowSize;
            break;
        case CI::Record: {
            const int n = head.Byte() % CL::CharacterCount + 1;
            at = RecordStart(n) + CL::ConditionsOffset + head.U16() % CL::RecordSize;
            break;
        }
        default: {
            const int n = head.Byte() % CL::CharacterCount + 1;
            const int slot = head.U16() % (IL::CellCount + IL::EntryCount * IL::WordCount);
            at = RecordStart(n) + (slot < IL::CellCount ? CL::InventoryGridOffset + slot * IL::CellWidth
                                                        : CL::InventoryEntriesOffset + (slot - IL::CellCount) * 4);
            const std::uint32_t value = head.U32();
            const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                                           static_cast<std::uint8_t>(value >> 16),
                                           static_cast<std::uint8_t>(value >> 24)};
            Patch(file, at, bytes);
            continue;
        }
        }
        Patch(file, at, head.Take(head.Byte() % CI::PatchLengthLimit + 1));
    }
}

GameTime FuzzTime(ByteReader& in)
{
    GameTime t;
    t.hour = in.Int();
    t.minute = in.Int();
    t.day = in.Int();
    t.month = in.Int();
    t.year = in.Int();
    return t;
}

GameDuration FuzzDuration(ByteReader& in)
{
    return {in.Int(), in.Int(), in.Int()};
}

SpellEffectInfo FuzzEffect(ByteReader& in)
{
    return {FuzzDuration(in), in.Int(), in.Int(), in.Int()};
}

InventoryItem FuzzItem(ByteReader& in)
{
    InventoryItem item;
    for (auto word : IL::ItemWords)
        item.*word = in.Int();
    if (in.Bit()) // mostly real kinds, so items land in the grid and get removed again
        item.ItemNumber = in.InRange(1, ItemTable::BuiltInCount);
    return item;
}

std::string ExpectedText(std::string_view text, int width)
{
    return std::string(text.substr(0, std::min(text.find('\0'), static_cast<std::size_t>(width - 1))));
}

void SweepClock(SaveGame& save, ByteReader& in)
{
    (void)save.GetTime();
    const GameTime time = FuzzTime(in);
    save.SetTime(time);
    Check(save.GetTime() == TicksToGameTime(GameTimeToTicks(time)), "SetTime");

    const int food = in.Int(), gold = in.Int(), bank = in.Int();
    (void)save.GetFood();
    save.SetFood(food);
    (void)save.GetGold();
    save.SetGold(gold);
    (void)save.GetBank();
    save.SetBank(bank);
    Check(save.GetFood() == food && save.GetGold() == gold && save.GetBank() == bank, "food, gold, bank");
}

void SweepPartySpells(SaveGame& save, ByteReader& in)
{
#define VELKAR_X(name, k)                                                                                              \
    (void)save.Get##name();                                                                                            \
    save.Set##name(FuzzEffect(in));                                                                                    \
    (void)save.Get##name();
    VELKAR_PARTY_SPELLS(VELKAR_X)
#undef VELKAR_X
}

void SweepRoster(SaveGame& save, ByteReader& in)
{
#define VELKAR_X(name, slot)                                                                                           \
    {                                                                                                                  \
        (void)save.Get##name();                                                                                        \
        const int value = in.Int();                                                                                    \
        save.Set##name(value);                                                                                         \
        Check(save.Get##name() == value, "Set" #name, value);                                                          \
    }
    VELKAR_PARTY_MEMBERS(VELKAR_X)
#undef VELKAR_X
    save.SetPartyMemberCount(in.Int());
}

// The party's operations in groups, in ContainerInput's order.
using PartySweep = void (*)(SaveGame&, ByteReader&);
constexpr PartySweep PartySweeps[] = {SweepClock, SweepPartySpells, SweepRoster};
static_assert(std::size(PartySweeps) == CI::PartyGroupCount);

void SweepTexts(SaveGame& save, int n, ByteReader& in)
{
    // Sometimes a view into the window itself, as an editor passes the text it just read.
    auto source = [&](std::string& owned) -> std::string_view {
        const int m = in.InRange(1, CL::CharacterCount);
        switch (in.Byte() % 4) {
        case 0:
            return save.GetName(m);
        case 1: {
            const std::string_view description = save.GetDescription(m);
            return description.substr(std::min<std::size_t>(in.Byte() % 8, description.size()));
        }
        default:
            owned = in.Text(in.Byte() * 3u);
            return owned;
        }
    };
    std::string owned;
    (void)save.GetName(n);
    std::string_view text = source(owned);
    std::string expected = ExpectedText(text, CL::Name.Width);
    save.SetName(n, text);
    Check(save.GetName(n) == expected, "SetName", n);

    (void)save.GetDescription(n);
    text = source(owned);
    expected = ExpectedText(text, CL::Description.Width);
    save.SetDescription(n, text);
    Check(save.GetDescription(n) == expected, "SetDescription", n);
}

void SweepInventory(SaveGame& save, int n, ByteReader& in)
{
    InventoryItem item;
    for (int cell = 0; cell < IL::CellCount; ++cell) {
        const int r = save.GetInventoryCell(n, cell, item);
        Check(r == 1 || (r == 0 && item.ItemNumber == 0), "GetInventoryCell inside the grid", cell);
    }
    for (int cell : {-1, IL::CellCount, in.Int()})
        if (cell < 0 || cell >= IL::CellCount)
            Check(save.GetInventoryCell(n, cell, item) == -1 && item.ItemNumber == 0, "GetInventoryCell outside", cell);

    for (int removes = in.Byte() % 4; removes > 0; --removes) {
        const int cell = in.InRange(-2, IL::CellCount + 1);
        const int was = save.GetInventoryCell(n, cell, item);
        save.RemoveInventoryItem(n, cell);
        if (was == 1)
            Check(save.GetInventoryCell(n, cell, item) == 0, "RemoveInventoryItem left its anchor", cell);
    }
    for (int adds = in.Byte() % 4; adds > 0; --adds) {
        const InventoryItem added = FuzzItem(in);
        const int anchor = save.AddInventoryItem(n, added);
        Check(anchor >= -1 && anchor < IL::CellCount, "AddInventoryItem anchor", anchor);
        Check(added.ItemNumber != 0 || anchor == -1, "AddInventoryItem stored no item");
        if (anchor >= 0)
            Check(save.GetInventoryCell(n, anchor, item) == 1 && item == added, "AddInventoryItem entry", anchor);
    }
    // Moves and replaces over whatever grid the input left: an anchor keeps its entry.
    for (int moves = in.Byte() % 4; moves > 0; --moves) {
        const int from = in.InRange(-2, IL::CellCount + 1);
        const int to = in.InRange(-2, IL::CellCount + 1);
        const int was = save.GetInventoryCell(n, from, item);
        const InventoryItem moved = item;
        if (save.MoveInventoryItem(n, from, to))
            Check(was == 1 && save.GetInventoryCell(n, to, item) == 1 && item == moved, "MoveInventoryItem", to);
        const InventoryItem replacement = FuzzItem(in);
        const int anchor = save.ReplaceInventoryItem(n, to, replacement);
        Check(anchor >= -1 && anchor < IL::CellCount, "ReplaceInventoryItem anchor", anchor);
        if (anchor >= 0)
            Check(save.GetInventoryCell(n, anchor, item) == 1 && item.ItemNumber == replacement.ItemNumber,
                  "ReplaceInventoryItem entry", anchor);
    }
}

void SweepFields(SaveGame& save, int n, ByteReader& in)
{
#define VELKAR_X(name, offset, width)                                                                                  \
    {                                                                                                                  \
        (void)save.Get##name(n);                                                                                       \
        const int value = in.Int();                                                                                    \
        save.Set##name(n, value);                                                                                      \
        Check(save.Get##name(n) == Narrow(value, width), "Set" #name, value);                                          \
    }
    VELKAR_CHARACTER_FIELDS(VELKAR_X)
#undef VELKAR_X

    const int face = in.Int();
    (void)save.GetFace(n);
    save.SetFace(n, face);
    Check(save.GetFace(n) == Narrow(face, CL::Face.Width), "SetFace", face);

    const int level = in.Int();
    (void)save.GetLevel(n);
    save.SetLevel(n, level);
    const int base = save.GetBaseLevel(n);
    Check(save.GetLevel(n) == base + Narrow(WrapSub32(level, base), CL::LevelBonus.Width), "SetLevel", level);

    const int baseAge = in.Int();
    save.SetBaseAge(n, baseAge);
    Check(save.GetBaseAge(n) == baseAge, "SetBaseAge", baseAge);
    const int age = in.Int();
    (void)save.GetAge(n);
    save.SetAge(n, age);
    Check(save.GetAge(n) ==
              WrapAdd32(static_cast<std::int32_t>(Narrow(WrapSub32(age, baseAge), CL::AgeBonus.Width)), baseAge),
          "SetAge", age);
}

void SweepSkills(SaveGame& save, int n, ByteReader& in)
{
#define VELKAR_X(name, slot)                                                                                           \
    {                                                                                                                  \
        (void)save.Get##name(n);                                                                                       \
        const int word = in.Int();                                                                                     \
        save.Set##name(n, word);                                                                                       \
        Check(save.Get##name(n) == Narrow(word, CL::SkillWidth), "Set" #name, word);                                   \
    }
    VELKAR_SKILLS(VELKAR_X)
#undef VELKAR_X
}

void SweepSpellGroups(SaveGame& save, int n, ByteReader& in)
{
#define VELKAR_X(name, g)                                                                                              \
    {                                                                                                                  \
        const auto size = static_cast<std::size_t>(SaveGame::SpellGroupSize(g));                                       \
        Check(save.Get##name(n).size() == size, "Get" #name " size");                                                  \
        const auto bytes = in.Text(size + in.Byte() % 3);                                                              \
        save.Set##name(n, {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});                        \
        const auto now = save.Get##name(n);                                                                            \
        Check(std::equal(now.begin(), now.end(), reinterpret_cast<const std::uint8_t*>(bytes.data())), "Set" #name);   \
    }
    VELKAR_SPELL_GROUPS(VELKAR_X)
#undef VELKAR_X
}

void SweepAwards(SaveGame& save, int n, ByteReader& in)
{
    for (int a = 0; a < save.GetAwardTable().Count(); ++a) {
        (void)save.GetAward(n, a);
        const bool held = in.Bit();
        held ? save.SetAward(n, a) : save.ClearAward(n, a);
        Check(save.GetAward(n, a) == (held ? 0x80 >> (a % 8) : 0), "SetAward/ClearAward", a);
    }
}

void SweepConditions(SaveGame& save, int n, ByteReader& in)
{
#define VELKAR_X(name, k)                                                                                              \
    {                                                                                                                  \
        GameDuration duration;                                                                                         \
        const int had = save.Get##name(n, duration);                                                                   \
        Check(had == 0 || had == 1, "Get" #name, had);                                                                 \
        const int afflicted = in.Byte() % 3;                                                                           \
        const GameDuration set = FuzzDuration(in);                                                                     \
        save.Set##name(n, afflicted, set);                                                                             \
        duration = {};                                                                                                 \
        const int has = save.Get##name(n, duration);                                                                   \
        /* a start that lands on tick 0 reads as free of it */                                                         \
        Check(afflicted == 0 ? has == 0 : has == 0 || duration == TicksToDuration(DurationToTicks(set)), "Set" #name,  \
              afflicted);                                                                                              \
    }
    VELKAR_CONDITIONS(VELKAR_X)
#undef VELKAR_X
}

void SweepActiveSpells(SaveGame& save, int n, ByteReader& in)
{
#define VELKAR_X(name, k)                                                                                              \
    {                                                                                                                  \
        (void)save.Get##name(n);                                                                                       \
        const SpellEffectInfo effect = FuzzEffect(in);                                                                 \
        save.Set##name(n, {effect.duration, effect.power, effect.skill});                                              \
        (void)save.Get##name(n);                                                                                       \
    }
    VELKAR_ACTIVE_SPELLS(VELKAR_X)
#undef VELKAR_X
}

// A character's operations in groups, in ContainerInput's order.
using Sweep = void (*)(SaveGame&, int, ByteReader&);
constexpr Sweep GroupSweeps[] = {SweepFields, SweepTexts,      SweepSkills,       SweepSpellGroups,
                                 SweepAwards, SweepConditions, SweepActiveSpells, SweepInventory};
static_assert(std::size(GroupSweeps) == CI::GroupCount);

// A group of the party's operations and one to three characters, each with a group of its
// operations, as the input names them; in the full sweep every group of the party and then
// every group of each of the fifty characters.
void SweepSelected(SaveGame& save, ByteReader& in)
{
    const int partyGroup = in.Byte() % CI::PartyGroupCount;
    int characters[CI::MostCharacters];
    int groups[CI::MostCharacters];
    const int picks = in.Byte() % CI::MostCharacters + 1;
    for (int p = 0; p < picks; ++p) {
        characters[p] = in.Byte() % CL::CharacterCount + 1;
        groups[p] = in.Byte() % CI::GroupCount;
    }
    if (!FullSweep()) {
        PartySweeps[partyGroup](save, in);
        for (int p = 0; p < picks; ++p)
            GroupSweeps[groups[p]](save, characters[p], in);
        return;
    }
    for (const PartySweep sweep : PartySweeps)
        sweep(save, in);
    for (int n = 1; n <= CL::CharacterCount; ++n)
        for (const Sweep sweep : GroupSweeps)
            sweep(save, n, in);
}

// The window before a run of calls that must be refused, compared with the window once the
// run ends: before a call that may write, and after the last call. A refused call that wrote
// shows then, with the run's first operation; comparing 400 KB after every call cost more
// than the calls.
struct Refusals {
    std::vector<std::uint8_t> before; // kept from run to run: no fresh 400 KB each time
    bool open = false;
    int first = 0;
};

Refusals& Refused()
{
    static Refusals refusals;
    return refusals;
}

void EndRefusals(const SaveGame& save)
{
    Refusals& refused = Refused();
    if (!refused.open)
        return;
    refused.open = false;
    const auto window = save.GetWindow();
    Check(refused.before.size() == window.size() && Same(refused.before.data(), window.data(), window.size()),
          "a refused call wrote (the first operation of its run)", refused.first);
}

// Arguments out of range must throw std::out_of_range or std::invalid_argument and leave
// the window as it was; arguments in range must not throw.
template <typename Call>
void Expect(SaveGame& save, bool valid, int op, Call call)
{
    Refusals& refused = Refused();
    if (valid) {
        EndRefusals(save);
    } else if (!refused.open) {
        const auto window = save.GetWindow();
        refused.before.resize(window.size());
        if (!window.empty())
            std::memcpy(refused.before.data(), window.data(), window.size());
        refused.open = true;
        refused.first = op;
    }
    bool threw = false;
    try {
        call();
    } catch (const std::out_of_range&) {
        threw = true;
    } catch (const std::invalid_argument&) {
        threw = true;
    }
    Check(threw != valid, valid ? "an argument in range was refused" : "an argument out of range was taken", op);
}

void StrayCalls(SaveGame& save, ByteReader& in)
{
    auto index = [&] { return in.Bit() ? in.InRange(-2, 140) : in.Int(); };
    auto within = [](int v, int first, int last) { return v >= first && v <= last; };
    for (int calls = in.Byte() % 8; calls > 0; --calls) {
        const int op = in.Byte() % 12;
        const bool get = in.Bit();
        const int n = index() % 60;
        const int i = index();
        const bool nOk = within(n, 1, CL::CharacterCount);
        GameDuration duration;
        InventoryItem item;
        switch (op) {
        case 0:
            Expect(save, nOk && within(i, 0, CL::SkillSlotCount - 1) && i != CL::UnusedSkillSlot, op,
                   [&] { get ? (void)save.GetSkill(n, i) : save.SetSkill(n, i, in.Int()); });
            break;
        case 1: {
            const std::string bytes = in.Text(in.Byte() % 13);
            const bool groupOk = within(i, 0, CL::SpellGroupCount - 1);
            const bool sizeOk = groupOk && bytes.size() >= static_cast<std::size_t>(SaveGame::SpellGroupSize(i));
            Expect(save, nOk && groupOk && (get || sizeOk), op, [&] {
                if (get)
                    (void)save.GetSpellGroup(n, i);
                else
                    save.SetSpellGroup(n, i, {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
            });
            break;
        }
        case 2:
            Expect(save, nOk, op, [&] {
                const int held = save.GetAward(n, i);
                Check(within(i, 0, save.GetAwardTable().Count() - 1) || held == -1, "GetAward outside the awards", i);
                in.Bit() ? save.SetAward(n, i) : save.ClearAward(n, i);
            });
            break;
        case 3:
            Expect(save, nOk && within(i, 0, CL::ConditionCount - 1), op, [&] {
                get ? (void)save.GetCondition(n, i, duration) : save.SetCondition(n, i, 1, FuzzDuration(in));
            });
            break;
        case 4:
            Expect(save, nOk && within(i, 0, CL::ActiveSpellCount - 1), op, [&] {
                get ? (void)save.GetActiveSpell(n, i) : save.SetActiveSpell(n, i, {FuzzDuration(in), in.Int(), 0});
            });
            break;
        case 5:
            Expect(save, within(i, 0, WL::PartySpellCount - 1), op,
                   [&] { get ? (void)save.GetPartySpell(i) : save.SetPartySpell(i, FuzzEffect(in)); });
            break;
        case 6:
            Expect(save, within(i, 1, WL::RosterSlotCount), op,
                   [&] { get ? (void)save.GetPartyMember(i) : save.SetPartyMember(i, in.Int()); });
            break;
        case 7:
            Expect(save, nOk, op, [&] {
                const int r = save.GetInventoryCell(n, i, item);
                Check((r == -1) == !within(i, 0, IL::CellCount - 1), "GetInventoryCell range", i);
            });
            break;
        case 8:
            Expect(save, nOk, op,
                   [&] { get ? save.RemoveInventoryItem(n, i) : (void)save.AddInventoryItem(n, FuzzItem(in)); });
            break;
        case 9:
            Expect(save, nOk, op, [&] {
                const std::string text = in.Text(in.Byte());
                get ? save.SetName(n, text) : save.SetDescription(n, text);
            });
            break;
        case 10:
            Expect(save, nOk, op, [&] {
                get ? save.SetLevel(n, in.Int()) : save.SetAge(n, in.Int());
                get ? save.SetFace(n, in.Int()) : save.SetBaseAge(n, in.Int());
            });
            break;
        default:
            Expect(save, within(i, 0, CL::SpellGroupCount - 1), op, [&] { (void)SaveGame::SpellGroupSize(i); });
            break;
        }
    }
}

void CheckOpened(const SaveGame& save, const std::vector<std::uint8_t>& file)
{
    const auto window = save.GetWindow();
    const std::size_t begin = save.GetDataOffset();
    const std::size_t count = save.GetWindowSize();
    Check(window.size() == WL::WindowSize, "window size", static_cast<long long>(window.size()));
    Check(begin < file.size() && count == std::min<std::size_t>(WL::WindowSize, file.size() - begin), "bytes read",
          static_cast<long long>(count));
    Check(count >= WL::MinimumWindowSize, "opened with too little data", static_cast<long long>(count));
    Check(Same(window.data(), file.data() + begin, count), "window differs from the file");
    static const std::vector<std::uint8_t> zeros(WL::WindowSize);
    Check(Same(window.data() + count, zeros.data(), window.size() - count), "window not zero past the bytes read");
}

// The bytes outside the window's stretch (all of them when nothing is open): Save must
// leave them as they are.
void KeepOutside(const SaveGame& save, const std::vector<std::uint8_t>& file, std::vector<std::uint8_t>& outside)
{
    const std::size_t begin = save.IsOpen() ? save.GetDataOffset() : 0;
    const std::size_t end = begin + save.GetWindowSize();
    outside.resize(file.size() - (end - begin));
    if (begin != 0)
        std::memcpy(outside.data(), file.data(), begin);
    if (end != file.size())
        std::memcpy(outside.data() + begin, file.data() + end, file.size() - end);
}

// Save writes exactly the window's bytes read, where they were read from.
void CheckSaved(const SaveGame& save, const std::vector<std::uint8_t>& outside, const std::vector<std::uint8_t>& after)
{
    const std::size_t begin = save.IsOpen() ? save.GetDataOffset() : 0;
    const std::size_t end = begin + save.GetWindowSize();
    Check(after.size() == outside.size() + (end - begin), "Save changed the file's length",
          static_cast<long long>(after.size()));
    Check(Same(after.data(), outside.data(), begin), "Save wrote before the window");
    Check(Same(after.data() + end, outside.data() + begin, after.size() - end), "Save wrote after the window");
    Check(Same(after.data() + begin, save.GetWindow().data(), end - begin), "the saved bytes differ from the window");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const auto quiet = MessageSink::Install([](std::string_view) {});
    (void)quiet;
    static const auto file = [] {
        auto bytes = std::make_shared<File::Bytes>();
        File::Mount(ContainerPath, bytes);
        return bytes;
    }();
    // One game, reopened for every input, and buffers kept from run to run: fresh
    // half-megabyte ones cost more in page faults than the model's work does.
    static SaveGame save;
    static std::vector<std::uint8_t> outside;

    ByteReader head({data, size}, ByteReader::AtEnd::Zeros);
    BuildFile(head, *file);
    ByteReader values(head.Rest().empty() ? std::span<const std::uint8_t>(data, size) : head.Rest(),
                      ByteReader::AtEnd::StartOver);

    if (!save.Open(ContainerPath)) {
        Check(!save.IsOpen(), "a failed Open left the game open");
        Expect(save, false, -1, [&] { (void)save.GetFood(); });
        EndRefusals(save);
        KeepOutside(save, *file, outside);
        save.Save();
        Check(*file == outside, "Save without an open game wrote");
        return 0;
    }
    CheckOpened(save, *file);
    Dirty().Add(save.GetDataOffset(), save.GetDataOffset() + save.GetWindowSize()); // Save writes there
    KeepOutside(save, *file, outside);
    SweepSelected(save, values);
    StrayCalls(save, values);
    EndRefusals(save);
    save.Save();
    CheckSaved(save, outside, *file);
    return 0;
}
