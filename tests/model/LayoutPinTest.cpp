// The window's layout pinned by a transcription of the format's field tables
// (tests/data/window-layout.txt), apart from the model's own tables: a raw window gets a
// distinct value in every field, every getter must read its own, and every setter must
// write exactly its own bytes. Characters 1, 2 and 50 stand for the whole roster.

#include "model/MessageSink.h"
#include "model/SaveGame.h"
#include "tests/support/Files.h"
#include "tests/support/LittleEndian.h"
#include "tests/support/TempDirectory.h"
#include "tests/support/TranscribedLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <set>
#include <span>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kWindowSize = 400000;
constexpr int kCharacters[] = {1, 2, 50};
// 1175-03-06 07:11 and 99 ticks: not a whole minute.
constexpr std::int64_t kNow = 256 * (3 * 483840 + 2 * 40320 + 5 * 1440 + 7 * 60 + 11) + 99;

using Row = TranscribedLayout::Row;

std::int64_t Load(const Bytes& bytes, int at, int width, bool isSigned)
{
    return isSigned ? LoadLE(bytes, at, width) : static_cast<std::int64_t>(LoadUnsignedLE(bytes, at, width));
}

// Accessors by the names the transcription uses.
template <class Get, class Set>
struct Access {
    Get get;
    Set set;
};
using Number = Access<int (SaveGame::*)(int) const, void (SaveGame::*)(int, int)>;
using Party = Access<int (SaveGame::*)() const, void (SaveGame::*)(int)>;
using Condition =
    Access<int (SaveGame::*)(int, GameDuration&) const, void (SaveGame::*)(int, int, const GameDuration&)>;
using PartyEffect =
    Access<SpellEffectInfo (SaveGame::*)() const, void (SaveGame::*)(const SpellEffectInfo&, SpellEffectParts)>;
using ActiveEffect =
    Access<ActiveSpellInfo (SaveGame::*)(int) const, void (SaveGame::*)(int, const ActiveSpellInfo&, SpellEffectParts)>;
using Spells = Access<std::span<const std::uint8_t> (SaveGame::*)(int) const,
                      void (SaveGame::*)(int, std::span<const std::uint8_t>)>;

// clang-format off
#define ACCESS(prefix, name) {#prefix #name, {&SaveGame::Get##prefix##name, &SaveGame::Set##prefix##name}}
#define PLAIN(name) ACCESS(, name)
#define SKILL(name) ACCESS(Skill, name)
const std::map<std::string, Number> kNumbers = {
    PLAIN(Experience), PLAIN(Class), PLAIN(Might), PLAIN(Intelligence), PLAIN(Perception), PLAIN(Endurance),
    PLAIN(Speed), PLAIN(Accuracy), PLAIN(Luck), PLAIN(ArmorClassModifier), PLAIN(BaseLevel), PLAIN(FireResistance),
    PLAIN(AirResistance), PLAIN(WaterResistance), PLAIN(EarthResistance), PLAIN(MindResistance), PLAIN(BodyResistance),
    PLAIN(SkillPoints), PLAIN(HitPoints), PLAIN(SpellPoints), SKILL(Staff), SKILL(Sword), SKILL(Dagger), SKILL(Axe),
    SKILL(Spear), SKILL(Bow), SKILL(Mace), SKILL(Blaster), SKILL(Shield), SKILL(Leather), SKILL(Chain), SKILL(Plate),
    SKILL(Fire), SKILL(Air), SKILL(Water), SKILL(Earth), SKILL(Spirit), SKILL(Mind), SKILL(Body), SKILL(Light),
    SKILL(Dark), SKILL(DarkElf), SKILL(Vampire), SKILL(Dragon), SKILL(Identify), SKILL(Merchant), SKILL(Repair),
    SKILL(Bodybuilding), SKILL(Meditation), SKILL(Perception), SKILL(Regeneration), SKILL(Disarm), SKILL(Dodging),
    SKILL(Unarmed), SKILL(IdMonster), SKILL(Armsmaster), SKILL(Alchemy), SKILL(Learning),
};
// clang-format on
const std::map<std::string, Party> kParty = {
    PLAIN(Food),         PLAIN(Gold),         PLAIN(Bank),         PLAIN(PartyMember1),
    PLAIN(PartyMember2), PLAIN(PartyMember3), PLAIN(PartyMember4), PLAIN(PartyMember5),
};
#define CONDITION(name) ACCESS(Condition, name)
const std::map<std::string, Condition> kConditions = {
    CONDITION(Cursed),       CONDITION(Weak),          CONDITION(Asleep),      CONDITION(Afraid),
    CONDITION(Drunk),        CONDITION(Insane),        CONDITION(PoisonGreen), CONDITION(DiseaseGreen),
    CONDITION(PoisonYellow), CONDITION(DiseaseYellow), CONDITION(PoisonRed),   CONDITION(DiseaseRed),
    CONDITION(Paralyzed),    CONDITION(Unconscious),   CONDITION(Dead),        CONDITION(Stoned),
    CONDITION(Eradicated),   CONDITION(Zombie),
};
#define PARTY_SPELL(name) ACCESS(PartySpell, name)
const std::map<std::string, PartyEffect> kPartyEffects = {
    PARTY_SPELL(AirRes),     PARTY_SPELL(BodyRes),     PARTY_SPELL(DayOfTheGods), PARTY_SPELL(DetectLife),
    PARTY_SPELL(EarthRes),   PARTY_SPELL(FeatherFall), PARTY_SPELL(FireRes),      PARTY_SPELL(Fly),
    PARTY_SPELL(Haste),      PARTY_SPELL(Heroism),     PARTY_SPELL(Immolation),   PARTY_SPELL(Invisibility),
    PARTY_SPELL(MindRes),    PARTY_SPELL(ProtMagic),   PARTY_SPELL(Shield),       PARTY_SPELL(Stoneskin),
    PARTY_SPELL(TorchLight), PARTY_SPELL(WaterRes),    PARTY_SPELL(WaterWalk),    PARTY_SPELL(WizardEye),
};
#define ACTIVE_SPELL(name) ACCESS(ActiveSpell, name)
const std::map<std::string, ActiveEffect> kActiveEffects = {
    ACTIVE_SPELL(AirRes),       ACTIVE_SPELL(Bless),          ACTIVE_SPELL(BodyRes),
    ACTIVE_SPELL(EarthRes),     ACTIVE_SPELL(Fate),           ACTIVE_SPELL(FireRes),
    ACTIVE_SPELL(Hammerhands),  ACTIVE_SPELL(Haste),          ACTIVE_SPELL(Heroism),
    ACTIVE_SPELL(MindRes),      ACTIVE_SPELL(PainReflection), ACTIVE_SPELL(Preservation),
    ACTIVE_SPELL(Regeneration), ACTIVE_SPELL(Shield),         ACTIVE_SPELL(Stoneskin),
    ACTIVE_SPELL(TmpAccuracy),  ACTIVE_SPELL(TmpEndurance),   ACTIVE_SPELL(TmpIntelligence),
    ACTIVE_SPELL(TmpLuck),      ACTIVE_SPELL(TmpMight),       ACTIVE_SPELL(TmpPersonality),
    ACTIVE_SPELL(TmpSpeed),     ACTIVE_SPELL(WaterRes),       ACTIVE_SPELL(WaterBreathing),
    ACTIVE_SPELL(Glamour),      ACTIVE_SPELL(Levitation),     ACTIVE_SPELL(Mistform),
};
#define SPELLS(name) ACCESS(Spells, name)
const std::map<std::string, Spells> kSpells = {
    SPELLS(Fire), SPELLS(Air),   SPELLS(Water), SPELLS(Earth),   SPELLS(Spirit),  SPELLS(Mind),
    SPELLS(Body), SPELLS(Light), SPELLS(Dark),  SPELLS(DarkElf), SPELLS(Vampire), SPELLS(Dragon),
};

const std::map<std::string, std::int32_t InventoryItem::*> kItemWords = {
    {"ItemNumber", &InventoryItem::ItemNumber},
    {"Enchantment1", &InventoryItem::Enchantment1},
    {"Enchantment1Modifier", &InventoryItem::Enchantment1Modifier},
    {"Enchantment2", &InventoryItem::Enchantment2},
    {"Charges", &InventoryItem::Charges},
    {"ItemFlags", &InventoryItem::ItemFlags},
    {"Unused6", &InventoryItem::Unused6},
    {"Unused7", &InventoryItem::Unused7},
    {"Unused8", &InventoryItem::Unused8},
};

bool InWindow(const Row& row, int n)
{
    return row.area == "record" || (row.area == "window" && n == 1);
}

class LayoutPinTest : public ::testing::Test {
protected:
    LayoutPinTest() : layout(TranscribedLayout::Rows())
    {
        previous = MessageSink::Install([](std::string_view) {});
        for (const Row& row : layout) {
            if (row.area == "effect")
                effect[row.name] = row;
            if (row.area == "entry")
                entryWords.push_back(row);
        }
    }
    ~LayoutPinTest() override { MessageSink::Install(previous); }

    int At(const Row& row, int n) const
    {
        return row.area == "record" ? TranscribedLayout::RecordStart(n) + row.offset : row.offset;
    }

    // A value of its own for every field and character, the top bits as often set as not.
    std::int64_t Next()
    {
        seed = seed * 6364136223846793005u + 1442695040888963407u;
        return static_cast<std::int64_t>(seed ^ (seed >> 29));
    }

    // Writes the raw window with a value in every field, in a container of one member, and opens it.
    void Open()
    {
        window.assign(kWindowSize, 0);
        for (auto& byte : window)
            byte = static_cast<std::uint8_t>(Next());
        for (const Row& row : layout) {
            for (const int n : kCharacters) {
                if (InWindow(row, n))
                    Fill(row, n);
            }
        }
        Bytes file(32, 0);
        std::memcpy(file.data(), "party.bin", 9);
        StoreLE(file, 16, 4, 32);
        file.insert(file.end(), window.begin(), window.end());
        WriteBytes(path, file);
        ASSERT_TRUE(save.Open(path));
    }

    void Fill(const Row& row, int n)
    {
        const int at = At(row, n);
        const int k = ++filled % 20 + 1;
        if (row.kind == "clock") {
            StoreLE(window, at, 8, kNow);
        } else if (row.kind == "condition") {
            StoreLE(window, at, 8, kNow - k * 61 * 256 - 3); // begun k hours and k minutes ago
        } else if (row.kind == "effect") {
            StoreLE(window, at + effect["Expiry"].offset, 8, kNow + k * 1441 * 256 + 5);
            for (const char* member : {"Power", "Skill", "Caster", "Flags"})
                StoreLE(window, at + effect[member].offset, effect[member].width, Next());
        } else if (row.kind == "text") {
            const std::string text = row.name + std::to_string(n);
            std::memcpy(window.data() + at, text.c_str(), text.size() + 1); // old bytes stay after the end
        } else if (row.kind == "birth") {
            StoreLE(window, at, 4, 1150 - n);
        } else if (row.kind == "grid") {
            for (int cell = 0; cell < 126; ++cell)
                StoreLE(window, at + 4 * cell, 4, cell < 3 ? (cell == 0 ? 138 : cell) : Next() | 0x1000);
        } else if (row.width <= 8) {
            StoreLE(window, at, row.width, Next());
        }
    }

    // The window bytes that an operation changed, each checked to lie inside [at, at + width)
    // or one of the other fields given.
    void ExpectOnlyChanged(const Bytes& before, std::vector<std::pair<int, int>> fields, const std::string& what)
    {
        const auto after = save.GetWindow();
        for (std::size_t w = 0; w < before.size(); ++w) {
            if (before[w] == after[w])
                continue;
            bool inside = false;
            for (const auto& [at, width] : fields)
                inside = inside || (static_cast<int>(w) >= at && static_cast<int>(w) < at + width);
            EXPECT_TRUE(inside) << what << " changed window byte " << w;
        }
    }
    Bytes Window() const { return {save.GetWindow().begin(), save.GetWindow().end()}; }

    std::vector<Row> layout;
    std::map<std::string, Row> effect;
    std::vector<Row> entryWords;
    int filled = 0;
    Bytes window;
    std::uint64_t seed = 0x5EED;
    TempDirectory dir;
    std::filesystem::path path = dir / "save000.dod";
    SaveGame save;
    MessageSink::Handler previous;
};

TEST_F(LayoutPinTest, EveryGetterReadsItsOwnBytes)
{
    Open();
    const std::int32_t year = 1175;
    std::map<std::string, int> used;
    for (const Row& row : layout) {
        for (const int n : kCharacters) {
            if (!InWindow(row, n))
                continue;
            SCOPED_TRACE(row.name + " of character " + std::to_string(n));
            const int at = At(row, n);
            const auto value = [&](int offset, int width, bool isSigned) {
                return Load(window, at + offset, width, isSigned);
            };
            ++used[row.kind];
            if (row.kind == "number" && row.area == "record") {
                ASSERT_TRUE(kNumbers.contains(row.name));
                EXPECT_EQ((save.*kNumbers.at(row.name).get)(n), value(0, row.width, true));
            } else if (row.kind == "number" || row.kind == "slot") {
                ASSERT_TRUE(kParty.contains(row.name));
                EXPECT_EQ((save.*kParty.at(row.name).get)(), value(0, row.width, true));
            } else if (row.kind == "clock") {
                EXPECT_EQ(save.GetTime(), (GameTime{7, 11, 5, 2, year}));
            } else if (row.kind == "condition") {
                ASSERT_TRUE(kConditions.contains(row.name));
                GameDuration elapsed;
                EXPECT_EQ((save.*kConditions.at(row.name).get)(n, elapsed), 1);
                EXPECT_EQ(elapsed, TicksToDuration(kNow - value(0, 8, true)));
            } else if (row.kind == "effect") {
                const GameDuration left = TicksToDuration(value(0, 8, true) - kNow);
                const int power = static_cast<int>(value(effect["Power"].offset, 2, true));
                const int skill = static_cast<int>(value(effect["Skill"].offset, 2, true));
                if (row.area == "window") {
                    ASSERT_TRUE(kPartyEffects.contains(row.name));
                    const int caster = static_cast<int>(value(effect["Caster"].offset, 1, false));
                    EXPECT_EQ((save.*kPartyEffects.at(row.name).get)(), (SpellEffectInfo{left, power, skill, caster}));
                } else {
                    ASSERT_TRUE(kActiveEffects.contains(row.name));
                    EXPECT_EQ((save.*kActiveEffects.at(row.name).get)(n), (ActiveSpellInfo{left, power, skill}));
                }
            } else if (row.kind == "text") {
                EXPECT_EQ(row.name == "Name" ? save.GetName(n) : save.GetDescription(n), row.name + std::to_string(n));
            } else if (row.kind == "face" && row.name == "Face") {
                EXPECT_EQ(save.GetFace(n), value(0, 1, true));
            } else if (row.kind == "bonus") {
                const int bonus = static_cast<int>(value(0, 2, true));
                EXPECT_EQ(row.name == "LevelBonus" ? save.GetLevel(n) - save.GetBaseLevel(n)
                                                   : save.GetAge(n) - save.GetBaseAge(n),
                          bonus);
            } else if (row.kind == "birth") {
                EXPECT_EQ(save.GetBaseAge(n), year - value(0, 4, true));
            } else if (row.kind == "awards") {
                for (int a = 0; a < 74; ++a)
                    EXPECT_EQ(save.GetAward(n, a), value(a / 8, 1, false) & (0x80 >> (a % 8))) << "award " << a;
            } else if (row.kind == "spells") {
                ASSERT_TRUE(kSpells.contains(row.name));
                const auto bytes = (save.*kSpells.at(row.name).get)(n);
                EXPECT_EQ(Bytes(bytes.begin(), bytes.end()),
                          Bytes(window.begin() + at, window.begin() + at + row.width));
            } else if (row.kind == "grid") {
                for (int cell = 0; cell < 126; ++cell)
                    EXPECT_EQ(save.GetInventoryGridCell(n, cell), value(4 * cell, 4, true)) << "cell " << cell;
            } else if (row.kind == "entries") {
                // Cells 0, 1 and 2 anchor entries 138, 1 and 2: the last and the first two.
                for (const auto& [cell, entry] : {std::pair{0, 138}, {1, 1}, {2, 2}}) {
                    InventoryItem item;
                    ASSERT_EQ(save.GetInventoryCell(n, cell, item), 1);
                    for (const Row& word : entryWords)
                        EXPECT_EQ(item.*kItemWords.at(word.name),
                                  value((entry - 1) * 36 + word.offset, word.width, word.isSigned))
                            << word.name << " of entry " << entry;
                }
            }
        }
    }
    // Every accessor of the model is pinned by a row.
    EXPECT_EQ(used["number"], static_cast<int>(3 * kNumbers.size() + 3));
    EXPECT_EQ(used["slot"], 5);
    EXPECT_EQ(used["condition"], static_cast<int>(3 * kConditions.size()));
    EXPECT_EQ(used["effect"], static_cast<int>(kPartyEffects.size() + 3 * kActiveEffects.size()));
    EXPECT_EQ(used["spells"], static_cast<int>(3 * kSpells.size()));
    std::set<std::string> words;
    for (const Row& word : entryWords)
        words.insert(word.name);
    EXPECT_EQ(words.size(), kItemWords.size());
    for (const auto& [name, member] : kItemWords)
        EXPECT_TRUE(words.contains(name)) << name;
}

TEST_F(LayoutPinTest, EverySetterWritesExactlyItsOwnBytes)
{
    Open();
    std::map<std::string, Row> byName;
    for (const Row& row : layout)
        byName[row.name] = row;
    const auto field = [&](const std::string& name, int n) {
        return std::pair{At(byName.at(name), n), byName.at(name).width};
    };
    for (const Row& row : layout) {
        for (const int n : kCharacters) {
            if (!InWindow(row, n))
                continue;
            SCOPED_TRACE(row.name + " of character " + std::to_string(n));
            const int at = At(row, n);
            const Bytes before = Window();
            const auto now = [&](int offset, int width, bool isSigned) {
                return Load(Window(), at + offset, width, isSigned);
            };
            std::vector<std::pair<int, int>> allowed = {{at, row.width}};
            if (row.kind == "number" && row.area == "record") {
                (save.*kNumbers.at(row.name).set)(n, -0x5A5A5A5B);
                EXPECT_EQ(now(0, row.width, true), Load(Bytes{0xA5, 0xA5, 0xA5, 0xA5}, 0, row.width, true));
            } else if (row.kind == "number" || row.kind == "slot") {
                (save.*kParty.at(row.name).set)(-0x5A5A5A5B);
                EXPECT_EQ(now(0, 4, true), -0x5A5A5A5B);
            } else if (row.kind == "count") {
                save.SetPartyMemberCount(3);
                EXPECT_EQ(now(0, 4, true), 3);
            } else if (row.kind == "clock") {
                save.SetTime({1, 2, 3, 4, 1180});
                EXPECT_EQ(now(0, 8, true), 256 * (8 * 483840 + 4 * 40320 + 3 * 1440 + 62));
                save.SetTime({7, 11, 5, 2, 1175});
            } else if (row.kind == "condition") {
                (save.*kConditions.at(row.name).set)(n, 1, {1, 2, 3});
                EXPECT_EQ(now(0, 8, true),
                          Load(Window(), byName.at("Time").offset, 8, true) - DurationToTicks({1, 2, 3}));
            } else if (row.kind == "effect") {
                // The caster byte belongs to party effects; no character effect writes it.
                const bool party = row.area == "window";
                allowed = {{at, 12}};
                if (party) {
                    allowed.push_back({at + effect["Caster"].offset, 1});
                    (save.*kPartyEffects.at(row.name).set)({{1, 2, 3}, -7, 3, 200}, {});
                    EXPECT_EQ(now(effect["Caster"].offset, 1, false), 200);
                } else {
                    (save.*kActiveEffects.at(row.name).set)(n, {{1, 2, 3}, -7, 3}, {});
                }
                EXPECT_EQ(now(effect["Power"].offset, 2, true), -7);
                EXPECT_EQ(now(effect["Skill"].offset, 2, true), 3);
            } else if (row.kind == "text") {
                row.name == "Name" ? save.SetName(n, "Zed") : save.SetDescription(n, "Zed");
                EXPECT_EQ(now(0, 4, false), 0x0064655A);
            } else if (row.kind == "face") {
                if (row.name != "Face")
                    continue; // the second copy is written with the first
                allowed.push_back(field("SecondFace", n));
                save.SetFace(n, 0x1234);
                EXPECT_EQ(now(0, 1, false), 0x34);
                EXPECT_EQ(Load(Window(), field("SecondFace", n).first, 4, true), 0x1234);
            } else if (row.kind == "bonus") {
                const bool level = row.name == "LevelBonus";
                level ? save.SetLevel(n, save.GetBaseLevel(n) + 9) : save.SetAge(n, save.GetBaseAge(n) + 9);
                EXPECT_EQ(now(0, 2, true), 9);
            } else if (row.kind == "birth") {
                save.SetBaseAge(n, 30);
                EXPECT_EQ(now(0, 4, true), 1175 - 30);
            } else if (row.kind == "awards") {
                save.SetAward(n, 73);
                save.ClearAward(n, 0);
                EXPECT_EQ(now(9, 1, false) & 0x40, 0x40);
                EXPECT_EQ(now(0, 1, false) & 0x80, 0);
            } else if (row.kind == "spells") {
                const Bytes flags(11, 7);
                (save.*kSpells.at(row.name).set)(n, flags);
                const Bytes after = Window();
                EXPECT_EQ(Bytes(after.begin() + at, after.begin() + at + row.width),
                          Bytes(flags.begin(), flags.begin() + row.width));
            } else if (row.kind == "entries") {
                allowed.push_back(field("InventoryGrid", n));
                save.RemoveInventoryItem(n, 1); // the item in entry 1
                EXPECT_EQ(now(0, 4, true), 0);
                // A word of its own in each, into the entry and the cell just freed: a kind
                // outside every table takes one cell.
                InventoryItem added;
                std::int32_t next = 0x7ABC;
                for (const auto& [name, member] : kItemWords)
                    added.*member = next++ * 0x10003;
                ASSERT_EQ(save.AddInventoryItem(n, added), 1);
                for (const Row& word : entryWords)
                    EXPECT_EQ(now(word.offset, word.width, word.isSigned), added.*kItemWords.at(word.name))
                        << word.name;
            } else {
                continue;
            }
            ExpectOnlyChanged(before, allowed, row.name);
        }
    }
}

} // namespace
