// set: each kind of field, the wildcard, the order of bases and totals, all or nothing, and
// that only the bytes of the fields assigned change.

#include "tests/cli/CliFixture.h"

#include "tests/support/Files.h"
#include "tests/support/LittleEndian.h"
#include "tests/support/LodBuilder.h"

#include <optional>
#include <set>

namespace {

// A stretch of the window, as offset and width, and the number it must then hold, if one.
struct Stretch {
    int offset;
    int width;
    std::optional<std::int64_t> value = std::nullopt;
};

struct SetCase {
    QStringList arguments;
    int status;
    std::vector<Stretch> changes; // where bytes may differ afterwards
    const char* path = nullptr;   // a value show prints afterwards, and that value as JSON
    const char* expected = nullptr;
    const char* message = nullptr; // in the output, or in the errors where the status is not 0
};

class SetTest : public CliFixture {};

} // namespace

TEST_F(SetTest, OnlyTheFieldsAssignedChangeAndABadAssignmentChangesNothing)
{
    const int haste = Window("PartySpellHaste");
    const int power = haste + Inside("Power");
    SaveBuilder builder = Played(23);
    builder.Put(Window("PartyMember1"), 4, 0).Put(Window("PartyMember2"), 4, 11).Put(Window("PartyMember3"), 4, 22);
    builder.Put(Window("PartyMember4"), 4, -1).Put(Window("PartyMember5"), 4, -1).Put(Window("PartyMemberCount"), 4, 3);
    builder.Put(haste + Inside("Expiry"), 8, kNow + Ticks(2, 3, 4) + 17).Put(power, 2, 7);
    builder.Put(haste + Inside("Skill"), 2, 3).Put(haste + Inside("Caster"), 1, 5);
    builder.Put(Record(3, "SkillSword"), 2, 0x0283); // Sword: level 3, Master, and a stray bit
    builder.PutBytes(Record(3, "Awards"), std::vector<std::uint8_t>(10));
    builder.Put(Record(3, "ConditionDead"), 8, kNow - Ticks(1, 2, 3) - 9); // Dead
    builder.Put(Record(3, "ActiveSpellBless"), 8, 0);                      // no Bless
    builder.Put(Record(3, "BaseLevel"), 2, 6);
    // Character 4 holds one item, at cell 5 in entry 1.
    const int entries = Record(4, "InventoryEntries");
    const int grid = Record(4, "InventoryGrid");
    builder.PutBytes(entries, std::vector<std::uint8_t>(TranscribedLayout::Named("InventoryEntries").width));
    builder.PutBytes(grid, std::vector<std::uint8_t>(TranscribedLayout::Named("InventoryGrid").width));
    builder.Put(entries, 4, 109).Put(grid + 5 * 4, 4, 1);
    const std::vector<std::uint8_t> original = builder.Build();
    const auto partyOffset = static_cast<int>(builder.PartyOffset());

    const int sword = Record(3, "SkillSword");
    const int dead = Record(3, "ConditionDead");
    std::vector<Stretch> skillPoints;
    for (int n = 1; n <= 50; ++n)
        skillPoints.push_back({Record(n, "SkillPoints"), 4});
    // clang-format off
    const std::vector<SetCase> cases = {
        {{"party.Gold=100000"}, 0, {{Window("Gold"), 4}}, "party/Gold", "100000",
         " -> 100000\n"},
        {{"party.Time.Hour=9"}, 0, {{Window("Time"), 8}},
         "party/Time", R"({"Year": 1175, "Month": 3, "Day": 5, "Hour": 9, "Minute": 7})",
         "party.Time.Hour: 13 -> 9\n"},
        {{"party.Members.4=8"}, 0, {{Window("PartyMember4"), 4}, {Window("PartyMemberCount"), 4, 4}},
         "party/Members", "[1, 12, 23, 8, null]"},
        {{"party.PartySpells.Haste.Power=9"}, 0, {{power, 2}}, "party/PartySpells/Haste",
         R"({"Days": 2, "Hours": 3, "Minutes": 4, "Power": 9, "Skill": "Master", "Caster": 5})"},
        {{"character[3].Might=250"}, 0, {{Record(3, "Might"), 2}}, "characters/2/Might", "250"},
        {{"character[3].Class=Lich"}, 0, {{Record(3, "Class"), 1}}, "characters/2/Class", "\"Lich\""},
        {{"character[3].Name=Zoltan"}, 0, {{Record(3, "Name"), 32}}, "characters/2/Name",
         "\"Zoltan\""},
        {{"character[3].Face=5"}, 0, {{Record(3, "Face"), 1}, {Record(3, "SecondFace"), 4, 5}},
         "characters/2/Face", "5"},
        {{"character[3].Level=12", "character[3].BaseLevel=10"}, 0,
         {{Record(3, "BaseLevel"), 2}, {Record(3, "LevelBonus"), 2}}, "characters/2/Level", "12",
         "character[3].BaseLevel: 6 -> 10\n"},
        {{"character[3].Skills.Sword.Level=10"}, 0, {{sword, 2, 0x008A}}, "characters/2/Skills/Sword",
         R"({"Level": 10, "Mastery": "Master"})"},
        {{"character[3].Skills.Sword.Mastery=grand"}, 0, {{sword, 2, 0x0103}}, "characters/2/Skills/Sword",
         R"({"Level": 3, "Mastery": "Grand"})"},
        {{"character[3].Spells.Fire.Fire Resis.=2"}, 0, {{Record(3, "SpellsFire") + 2, 1}},
         "characters/2/Spells/Fire/Fire Resis.", "2"},
        {{"character[3].Awards.12=1"}, 0, {{Record(3, "Awards") + 1, 1}}, "characters/2/Awards",
         R"([{"Number": 12, "Text": "Built the Conflux Key"}])", "character[3].Awards.12: 0 -> 1\n"},
        {{"character[3].Conditions.Dead.Days=2"}, 0, {{dead, 8}}, "characters/2/Conditions/Dead",
         R"({"Days": 2, "Hours": 2, "Minutes": 3})"},
        {{"character[3].Conditions.Dead=none"}, 0, {{dead, 8}}, "characters/2/Conditions/Dead", nullptr,
         "character[3].Conditions.Dead: {\"Days\":1,\"Hours\":2,\"Minutes\":3} -> none\n"},
        {{"character[*].SkillPoints=50"}, 0, skillPoints, "characters/49/SkillPoints", "50",
         "character[50].SkillPoints: "},
        {{"--dry-run", "party.Gold=5"}, 0, {}, nullptr, nullptr, " -> 5\n"},
        {{"character[4].Items.Cell5.Charges=20"}, 0, {{entries + Inside("Charges"), 4, 20}},
         "characters/3/Items/0/Charges", "20", "character[4].Items.Cell5.Charges: 0 -> 20\n"},
        {{"character[4].Items.Cell6.Charges=20"}, 2, {}, nullptr, nullptr, "character[4] has no item at Cell6"},
        {{"character[3].Mite=1"}, 2, {}, nullptr, nullptr, "character[3].Mite=1: no such field"},
        {{"party.Gold=5", "character[3].Might=70000"}, 2, {}, nullptr, nullptr,
         "character[3].Might=70000: the value must be between -32768 and 32767"},
        {{"character[51].Might=1"}, 2, {}, nullptr, nullptr, "characters are 1..50"},
        {{"character[3].Name=Zoë"}, 2, {}, nullptr, nullptr, "cannot store ë"},
        {{"character[3].Name=" + QString(32, 'a')}, 2, {}, nullptr, nullptr, "the field holds 31"},
        {{"character[3].Skills.Sword.Mastery=Mastr"}, 2, {}, nullptr, nullptr, "one of Novice, Expert, Master, Grand"},
        {{"party.Members.2=none"}, 2, {}, nullptr, nullptr, "gaps"},
        {{"character[3].ActiveSpells.Bless.Power=3"}, 2, {}, nullptr, nullptr, "Bless is not in force"},
        {{"character[3].Level=70000"}, 2, {}, nullptr, nullptr, "between -32762 and 32773 against base level 6"},
    };
    // clang-format on
    const std::filesystem::path save = game_ / "Saves" / "save000.dod";
    for (const SetCase& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        builder.WriteTo(save);
        const Result result = Run(QStringList{"set", Text(save)} + c.arguments);
        EXPECT_EQ(result.status, c.status) << result.error.toStdString();
        const QString said = c.status == 0 ? QString::fromUtf8(result.out) : result.error;
        EXPECT_TRUE(c.message == nullptr || said.contains(QString::fromUtf8(c.message))) << said.toStdString();

        std::set<std::size_t> allowed;
        const std::vector<std::uint8_t> now = ReadBytes(save);
        ASSERT_EQ(now.size(), original.size());
        for (const Stretch& s : c.changes) {
            const auto at = static_cast<std::size_t>(partyOffset + s.offset);
            for (int i = 0; i < s.width; ++i)
                allowed.insert(at + static_cast<std::size_t>(i));
            EXPECT_TRUE(!s.value || LoadUnsignedLE(now, at, s.width) == static_cast<std::uint64_t>(*s.value))
                << "window offset " << s.offset;
        }
        for (std::size_t i = 0; i < now.size(); ++i)
            EXPECT_TRUE(now[i] == original[i] || allowed.contains(i)) << "file byte " << i;
        if (c.path != nullptr) {
            EXPECT_EQ(At(Show(save), QString::fromLatin1(c.path)), Json(c.expected));
        }
    }

    // The file errors, and a command used wrongly.
    const struct {
        QStringList arguments;
        int status;
        const char* message;
    } statuses[] = {
        {{"set", Text(game_ / "Saves" / "none.dod"), "party.Gold=1"}, 1, "No such file"},
        {{"set", Text(home_ / ".wine" / "system.reg"), "party.Gold=1"}, 1, "Invalid save game file."},
        {{"set", Text(save)}, 2, "wrong number of arguments"},
        {{"unknown"}, 2, "no command unknown"},
    };
    for (const auto& s : statuses) {
        const Result result = Run(s.arguments);
        EXPECT_EQ(result.status, s.status) << s.message;
        EXPECT_TRUE(result.error.contains(QString::fromUtf8(s.message))) << result.error.toStdString();
    }
}

TEST_F(SetTest, ClassesGoByTheGamesOwnNamesInItsCodePage)
{
    // The fixture's game speaks Windows-1251: "\u0416\u0440\u0435\u0446" is C6 F0 E5 F6.
    LodBuilder("MMVIII", "language")
        .AddFile("class.txt", "Class\tNotes\r\nArcher\t\"first\r\nrow\"\r\nn/u\t\r\n\xC6\xF0\xE5\xF6\t\r\n")
        .WriteTo(game_ / "Data" / "EnglishT.lod");
    const auto save = Write(Played(7));
    const QString priest = QString::fromUtf8("\u0416\u0440\u0435\u0446");
    const struct {
        const char* value;
        int status;
        int stored;
        QJsonValue shown;
    } cases[] = {
        {"\u0436\u0440\u0435\u0446", 0, 2, priest},
        {"archer", 0, 0, "Archer"},
        {"1", 0, 1, 1},
        {"Necromancer", 2, 1, 1},
    };
    for (const auto& c : cases) {
        const Result result = Run({"set", Text(save), "character[3].Class=" + QString::fromUtf8(c.value)});
        EXPECT_EQ(result.status, c.status) << c.value << result.error.toStdString();
        EXPECT_EQ(ReadBytes(save).at(Played(7).PartyOffset() + Record(3, "Class")), c.stored) << c.value;
        EXPECT_EQ(At(Show(save), "characters/2/Class"), c.shown) << c.value;
    }
}
