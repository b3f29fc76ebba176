// diff: two saved games that differ in one field of each kind give exactly that field's line;
// bytes no field holds are counted where they lie; the exit status and the JSON document.

#include "tests/cli/CliFixture.h"

#include "tests/support/Files.h"
#include "tests/support/LodBuilder.h"

namespace {

struct DiffCase {
    int offset; // window offset of the bytes that differ, as little-endian numbers
    int width;
    std::int64_t a;
    std::int64_t b;
    const char* line;
};

const int kHaste = TranscribedLayout::At("PartySpellHaste");
// "Zoltan" and its terminator, as stored.
constexpr std::int64_t kZoltan = 0x00006E61746C6F5A;

class DiffTest : public CliFixture {
protected:
    // A played save with a few fields set, so that each row's values print as written.
    static SaveBuilder Base()
    {
        SaveBuilder save = Played(29);
        save.Put(kHaste, 8, kNow + Ticks(0, 1, 0)).Put(kHaste + 8, 2, 3).Put(kHaste + 10, 2, 1);
        save.Put(kHaste + 14, 2, 5).Put(Record(3, "Name"), 8, kZoltan).Put(Record(3, 878), 2, 6);
        save.Put(Record(3, "LevelBonus"), 2, 0).Put(Record(3, "Awards") + 1, 1, 0);
        save.PutBytes(Record(3, "InventoryEntries"), std::vector<std::uint8_t>(Width("InventoryEntries")));
        save.PutBytes(Record(3, "InventoryGrid"), std::vector<std::uint8_t>(Width("InventoryGrid")));
        save.Put(Record(3, "InventoryEntries"), 4, 109).Put(Record(3, "InventoryGrid") + 5 * 4, 4, 1);
        return save;
    }
};

} // namespace

TEST_F(DiffTest, EachKindOfFieldGivesItsOneLine)
{
    const int sword = Record(3, "SkillSword");
    const int dead = Record(3, "ConditionDead");
    const int bless = Record(3, "ActiveSpellBless");
    // clang-format off
    const std::vector<DiffCase> cases = {
        {Window("Gold"), 4, 100, 200, "party.Gold: 100 -> 200"},
        {Window("Time"), 8, kNow, kNow + Ticks(1, 0, 0), "party.Time: 1175-03-05 13:07 -> 1175-03-06 13:07"},
        {Window("Time"), 8, kNow, kNow + 1,
         "party.Time: 1175-03-05 13:07 in both, but its stored bytes differ"},
        {Window("PartyMember5"), 4, -1, 7, "party.Members.5: none -> 8"},
        {kHaste, 8, kNow + Ticks(0, 1, 0), kNow + Ticks(0, 2, 0),
         "party.PartySpells.Haste: until 1175-03-05 14:07 -> until 1175-03-05 15:07"},
        {kHaste + 8, 2, 3, 4, "party.PartySpells.Haste.Power: 3 -> 4"},
        {kHaste + 10, 2, 1, 2, "party.PartySpells.Haste.Skill: Novice -> Expert"},
        {kHaste + 14, 1, 5, 6, "party.PartySpells.Haste.Caster: 5 -> 6"},
        {kHaste + 15, 1, 0, 1, "party.PartySpells.Haste.Caster: 5 in both, but its stored bytes differ"},
        {Record(3, "Name"), 8, kZoltan, kZoltan + (4LL << 40), "character[3].Name: \"Zoltan\" -> \"Zoltar\""},
        {Record(3, "Name") + 7, 1, 0, 'x', "character[3].Name: \"Zoltan\" in both, but its stored bytes differ"},
        {Record(3, 846), 1, 4, 5, "character[3].Class: Knight -> Champion"},
        {Record(3, "LevelBonus"), 2, 0, 2, "character[3].Level: 6 -> 8"},
        {Record(3, 878), 2, 6, 7, "character[3].BaseLevel: 6 -> 7"},
        {Record(3, "BirthYear"), 4, 1150, 1151, "character[3].BaseAge: 25 -> 24"},
        {Record(3, "Face"), 1, 3, 4, "character[3].Face: 3 -> 4"},
        {Record(3, 848), 2, 10, -20, "character[3].Might: 10 -> -20"},
        {sword, 2, 0x0083, 0x0085, "character[3].Skills.Sword.Level: 3 -> 5"},
        {sword, 2, 0x0043, 0x0083, "character[3].Skills.Sword.Mastery: Expert -> Master"},
        {sword, 2, 0x0083, 0x00C3, "character[3].Skills.Sword.Mastery: Master in both, but its stored bytes differ"},
        {Record(3, "SpellsMind") + 4, 1, 0, 1,
         "character[3].Spells.Mind.Charm: 0 -> 1"},
        {Record(3, "InventoryEntries") + Inside("Charges"), 4, 5, 6, "character[3].Items.Cell5.Charges: 5 -> 6"},
        {Record(3, "Awards") + 1, 1, 0, 0x10, "character[3].Awards.11: 0 -> 1"},
        {dead, 8, 0, kNow - Ticks(1, 0, 0), "character[3].Conditions.Dead: none -> since 1175-03-04 13:07"},
        {bless, 8, 0, kNow + Ticks(0, 5, 0), "character[3].ActiveSpells.Bless: none -> until 1175-03-05 18:07"},
        {Record(3, 7140), 1, 0, 1, "character[3]: 1 other byte differs, at record offsets 7140"},
        {Record(3, 7170), 4, 0, 0x01000101, "character[3]: 3 other bytes differ, at record offsets 7170-7171, 7173"},
        {100, 1, 0, 1, "window: 1 other byte differs, at window offsets 100"},
    };
    // clang-format on
    for (const DiffCase& c : cases) {
        SCOPED_TRACE(c.line);
        const auto a = Write(Base().Put(c.offset, c.width, c.a), "save000.dod");
        const auto b = Write(Base().Put(c.offset, c.width, c.b), "save001.dod");
        const Result result = Run({"diff", Text(a), Text(b)});
        EXPECT_EQ(result.status, 0) << result.error.toStdString();
        EXPECT_EQ(QString::fromUtf8(result.out), QString::fromUtf8(c.line) + "\n");
    }

    // The container outside the window: a byte of its header and its last byte.
    const auto a = Write(Base(), "save000.dod");
    const auto b = Write(Base(), "save001.dod");
    std::vector<std::uint8_t> bytes = ReadBytes(b);
    bytes[5] ^= 1;
    bytes.back() ^= 1;
    WriteBytes(b, bytes);
    const Result container = Run({"diff", Text(a), Text(b)});
    EXPECT_EQ(QString::fromUtf8(container.out),
              QStringLiteral("container: 2 other bytes differ outside the window, at file offsets 5, %1\n")
                  .arg(bytes.size() - 1));
}

TEST_F(DiffTest, ScopeJsonAndExitStatus)
{
    const int might = Record(3, 848);
    const auto a = Write(Base().Put(might, 2, 10).Put(Window("Gold"), 4, 1), "save000.dod");
    const auto b = Write(Base().Put(might, 2, 11).Put(Window("Gold"), 4, 2), "save001.dod");
    const struct {
        QStringList options;
        int status;
        const char* out;
    } cases[] = {
        {{"--character", "4", "--character", "3"}, 0, "character[3].Might: 10 -> 11\n"},
        {{"--party", "--exit-code"}, 3, "party.Gold: 1 -> 2\n"},
        {{"--character", "4", "--exit-code"}, 0, ""},
        {{"--json", "--character", "3"}, 0, R"([{"a": 10, "b": 11, "path": "character[3].Might"}])"},
        {{"--character", "51"}, 2, ""},
    };
    for (const auto& c : cases) {
        const Result result = Run(QStringList{"diff", Text(a), Text(b)} + c.options);
        EXPECT_EQ(result.status, c.status) << c.options.join(' ').toStdString();
        if (c.options.contains("--json"))
            EXPECT_EQ(QJsonDocument::fromJson(result.out), QJsonDocument::fromJson(c.out));
        else
            EXPECT_EQ(QString::fromUtf8(result.out), QString::fromUtf8(c.out)) << c.options.join(' ').toStdString();
    }
    EXPECT_EQ(Run({"diff", Text(a), Text(game_ / "none.dod")}).status, 1);
    EXPECT_EQ(Run({"diff", Text(a)}).status, 2);
}

TEST_F(DiffTest, EachSideIsPrintedInItsOwnGamesWords)
{
    // Another game folder whose class table names classes 4 and 5 otherwise.
    const std::filesystem::path other = home_ / "other";
    LodBuilder("MMVIII", "language")
        .AddFile("class.txt", "Class\tNotes\r\nA\t\r\nB\t\r\nC\t\r\nD\t\r\nSquire\t\r\nPaladin\t\r\n")
        .WriteTo(other / "Data" / "EnglishT.lod");
    const int classByte = Record(3, 846);
    const auto a = Write(Base().Put(classByte, 1, 4));
    const std::filesystem::path b = other / "Saves" / "save000.dod";
    std::filesystem::create_directories(b.parent_path());
    for (const auto& [stored, out] : {std::pair{4, ""}, std::pair{5, "character[3].Class: Knight -> Paladin\n"}}) {
        Base().Put(classByte, 1, stored).WriteTo(b);
        const Result result = Run({"diff", Text(a), Text(b)});
        EXPECT_EQ(QString::fromUtf8(result.out), QString::fromUtf8(out)) << result.error.toStdString();
    }
}
