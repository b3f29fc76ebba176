// show: every key of the document, and the values of a played save where they are set.

#include "tests/cli/CliFixture.h"

#include "tests/support/Files.h"
#include "tests/support/LodBuilder.h"

#include <QJsonArray>

#include <algorithm>
#include <set>
#include <utility>

namespace {

// Bytes the save holds: a little-endian number, or zeros where width exceeds 8.
struct Patch {
    int offset;
    int width;
    std::int64_t value = 0;
};

struct ShownCase {
    const char* path;
    std::vector<Patch> patches;
    const char* expected; // JSON; empty where the document has no such key
};

// The stretch of a record that the transcribed fields of a kind cover, as offset and width.
std::pair<int, int> Stretch(const char* kind)
{
    int first = 1 << 30, end = 0;
    for (const TranscribedLayout::Row& field : TranscribedLayout::Rows()) {
        if (field.area == "record" && field.kind == kind) {
            first = std::min(first, field.offset);
            end = std::max(end, field.offset + field.width);
        }
    }
    return {first, end - first};
}

std::set<QString> Keys(const QJsonValue& object)
{
    const QStringList keys = object.toObject().keys();
    return {keys.begin(), keys.end()};
}

class ShowTest : public CliFixture {};

} // namespace

TEST_F(ShowTest, EveryKeyIsThereAndEachValueIsTheSavedGamesOwn)
{
    const int haste = Window("PartySpellHaste");
    const int fly = Window("PartySpellFly");
    const int bless = Record(3, "ActiveSpellBless");
    const int mind = Record(3, "SpellsMind");
    const int dragon = Record(3, "SpellsDragon");
    const int entry = Record(3, "InventoryEntries");
    const int grid = Record(3, "InventoryGrid");
    const auto word = [&](const char* name) { return entry + Inside(name); };
    const int power = Inside("Power");
    const int skill = Inside("Skill");
    const auto [conditions, conditionsWidth] = Stretch("condition");
    const auto [effects, effectsWidth] = Stretch("effect");
    // clang-format off
    const std::vector<ShownCase> cases = {
        {"party/Gold", {{Window("Gold"), 4, 123456}}, "123456"},
        {"party/Time", {}, R"({"Year": 1175, "Month": 3, "Day": 5, "Hour": 13, "Minute": 7})"},
        {"party/Members", {{Window("PartyMember1"), 4, 2}, {Window("PartyMember2"), 4, 40},
                           {Window("PartyMember3"), 4, -1}, {Window("PartyMember4"), 4, -1},
                           {Window("PartyMember5"), 4, -1}}, "[3, 41, null, null, null]"},
        {"party/PartySpells/Haste", {{haste, 8, kNow + Ticks(2, 3, 4) + 17}, {haste + power, 2, 7},
                                     {haste + skill, 2, 3}, {haste + Inside("Caster"), 1, 5}},
         R"({"Days": 2, "Hours": 3, "Minutes": 4, "Power": 7, "Skill": "Master", "Caster": 5})"},
        {"party/PartySpells/Fly", {{fly, 8, kNow - 1}, {fly + power, 2, 7}}, ""},
        {"characters/2/Number", {}, "3"},
        // "Золтан" in the prefix's code page, 1251, and its terminator.
        {"characters/2/Name", {{Record(3, "Name"), 8, 0x0000EDE0F2EBEEC7}}, "\"Золтан\""},
        {"characters/2/Might", {{Record(3, "Might"), 2, -5}}, "-5"},
        {"characters/2/Experience", {{Record(3, "Experience"), 4, 123456789}}, "123456789"},
        {"characters/2/Class", {{Record(3, "Class"), 1, 4}}, "\"Knight\""},
        {"characters/4/Class", {{Record(5, "Class"), 1, 40}}, "40"},
        {"characters/2/Face", {{Record(3, "Face"), 1, 30}}, "30"},
        {"characters/2/BaseLevel", {{Record(3, "BaseLevel"), 2, 6}, {Record(3, "LevelBonus"), 2, 2}}, "6"},
        {"characters/2/Level", {}, "8"},
        {"characters/2/BaseAge", {{Record(3, "BirthYear"), 4, 1150}, {Record(3, "AgeBonus"), 2, 3}},
         "25"},
        {"characters/2/Age", {}, "28"},
        {"characters/2/SkillPoints", {{Record(3, "SkillPoints"), 4, 17}}, "17"},
        {"characters/2/Skills/Sword", {{Record(3, "SkillSword"), 2, 0x00C7}},
         R"({"Level": 7, "Mastery": "Master"})"},
        {"characters/2/Skills/IdMonster", {{Record(3, "SkillIdMonster"), 2, 0x01B8}},
         R"({"Level": 56, "Mastery": "Grand"})"},
        {"characters/2/Spells/Mind/Charm", {{mind + 4, 1, 7}}, "7"},
        {"characters/2/Spells/Dragon", {{dragon, 4, 0x00020001}},
         R"({"Fear": 1, "Flame Blast": 0, "Flight": 2, "Wing Buffet": 0})"},
        {"characters/2/Items", {{entry, TranscribedLayout::Named("InventoryEntries").width},
                                {grid, TranscribedLayout::Named("InventoryGrid").width},
                                {word("ItemNumber"), 4, 109}, {word("Enchantment1"), 4, 2},
                                {word("Enchantment1Modifier"), 4, 3}, {word("Enchantment2"), 4, 4},
                                {word("Charges"), 4, 5}, {word("ItemFlags"), 4, 1}, {grid + 125 * 4, 4, 1}},
         R"([{"Cell": 125, "ItemNumber": 109, "Name": "Helm", "Enchantment1": 2, "Enchantment1Modifier": 3,
              "Enchantment2": 4, "Charges": 5, "ItemFlags": 1}])"},
        {"characters/2/Awards", {{Record(3, "Awards"), 10}, {Record(3, "Awards") + 1, 1, 0x10}},
         R"([{"Number": 11, "Text": "Sunk the Regnan Fleet Allowing Roland And Catherine Ironfist to Join the Alliance"}])"},
        {"characters/2/Conditions", {{Record(3, conditions), conditionsWidth},
                                     {Record(3, "ConditionDead"), 8, kNow - Ticks(1, 2, 3) - 9}},
         R"({"Dead": {"Days": 1, "Hours": 2, "Minutes": 3}})"},
        {"characters/2/ActiveSpells", {{Record(3, effects), effectsWidth},
                                       {bless, 8, kNow + Ticks(0, 5, 6) + 3}, {bless + power, 2, 4}, {bless + skill, 2, 2}},
         R"({"Bless": {"Days": 0, "Hours": 5, "Minutes": 6, "Power": 4, "Skill": "Expert"}})"},
    };
    // clang-format on
    SaveBuilder builder = Played(11);
    for (const ShownCase& c : cases) {
        for (const Patch& p : c.patches) {
            if (p.width <= 8)
                builder.Put(p.offset, p.width, p.value);
            else
                builder.PutBytes(p.offset, std::vector<std::uint8_t>(static_cast<std::size_t>(p.width)));
        }
    }
    const std::filesystem::path save = Write(builder);
    const QJsonObject document = Show(save);

    for (const ShownCase& c : cases)
        EXPECT_EQ(At(document, QString::fromLatin1(c.path)), Json(c.expected)) << c.path;

    using Names = std::set<QString>;
    EXPECT_EQ(Keys(document), (Names{"characters", "party"}));
    EXPECT_EQ(Keys(document.value("party")), (Names{"Bank", "Food", "Gold", "Members", "PartySpells", "Time"}));
    // clang-format off
    const Names characterKeys = {
        "AirResistance", "Accuracy", "ActiveSpells", "Age", "ArmorClassModifier", "Awards", "BaseAge", "BaseLevel",
        "BodyResistance", "Class", "Conditions", "Description", "EarthResistance", "Endurance", "Experience", "Face",
        "FireResistance", "HitPoints", "Intelligence", "Items", "Level", "Luck", "Might", "MindResistance", "Name",
        "Number", "Perception", "SkillPoints", "Skills", "Speed", "SpellPoints", "Spells", "WaterResistance",
    };
    // clang-format on
    const QJsonArray characters = document.value("characters").toArray();
    ASSERT_EQ(characters.size(), 50);
    for (const QJsonValue& character : characters) {
        EXPECT_EQ(Keys(character), characterKeys);
        const QJsonObject skills = character["Skills"].toObject();
        EXPECT_EQ(skills.size(), 38);
        for (const QJsonValue& skill : skills)
            EXPECT_EQ(Keys(skill), (Names{"Level", "Mastery"}));
        const QJsonObject schools = character["Spells"].toObject();
        EXPECT_EQ(Keys(schools), (Names{"Air", "Body", "Dark", "DarkElf", "Dragon", "Earth", "Fire", "Light", "Mind",
                                        "Spirit", "Vampire", "Water"}));
        const Names racial = {"DarkElf", "Vampire", "Dragon"};
        for (const QString& school : schools.keys())
            EXPECT_EQ(schools[school].toObject().size(), racial.contains(school) ? 4 : 11) << school.toStdString();
    }

    // Picked characters alone, in the order asked; and the summary for people.
    const QJsonObject picked = Show(save, {"--character", "5", "--character", "3"});
    EXPECT_EQ(Keys(picked), Names{"characters"});
    EXPECT_EQ(At(picked, "characters/1/Name"), QJsonValue("Золтан"));
    const Result summary = Run({"show", Text(save), "--character", "3"});
    EXPECT_TRUE(summary.out.contains("Character 3: \"Золтан\"\n")) << summary.out.toStdString();
    EXPECT_TRUE(summary.out.contains("\n  Might -5, Intelligence ")) << summary.out.toStdString();
}

TEST_F(ShowTest, TheGamesFoundAndTheirSavedGamesInTheGamesCodePage)
{
    SaveBuilder("\xC7\xEE\xEB\xF2\xE0\xED").WriteTo(game_ / "Saves" / "save003.dod"); // "Золтан" in 1251
    const Result games = Run({"games"});
    EXPECT_EQ(games.status, 0);
    EXPECT_EQ(QString::fromUtf8(games.out), Text(game_) + "\tWine prefix ~/.wine\n");
    for (const QStringList& list : {QStringList{"list"}, QStringList{"list", Text(game_)}}) {
        const Result saves = Run(list);
        EXPECT_EQ(saves.status, 0);
        EXPECT_EQ(QString::fromUtf8(saves.out), "save003.dod\tЗолтан\n");
    }
    EXPECT_EQ(QString::fromUtf8(Run({"list", Text(game_), "--encoding", "1252"}).out), "save003.dod\tÇîëòàí\n");

    // Item names come from the game's own table where it has one.
    SaveBuilder builder;
    builder.Put(2832 + 1188, 4, 7).Put(2832 + 6156, 4, 1); // character 1: item 7 in entry 1, cell 0
    builder.WriteTo(game_ / "Saves" / "save004.dod");
    std::vector<LodBuilder::Row> rows = LodBuilder::FullTable(803);
    rows[7].Name = "Renamed Blade";
    LodBuilder::WriteGame(game_, rows);
    const Result show = Run({"show", Text(game_ / "Saves" / "save004.dod"), "--character", "1", "--json"});
    EXPECT_TRUE(show.out.contains("\"Name\": \"Renamed Blade\"")) << show.out.toStdString();

    std::filesystem::remove_all(home_ / ".wine");
    const Result none = Run({"list"});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.error, "velkar-cli: No game found; give the game folder.\n");
}

TEST_F(ShowTest, EveryCommandEscapesControlBytesAndSaysWhatItCannotUse)
{
    SaveBuilder builder(std::string("Bell\x07\x1B[2J")); // a bell and a terminal escape
    builder.PutText(Record(2, "Name"), std::string("Al\x07\x0E", 5));
    const std::filesystem::path save = Write(builder, "save001.dod");
    const std::filesystem::path other = Write(SaveBuilder("Other"), "save002.dod");
    std::filesystem::create_directories(game_ / "Data");
    WriteBytes(game_ / "Data" / "icons.lod", std::vector<std::uint8_t>{'L', 'O', 'D', 0}); // too short
    const Result list = Run({"list", Text(game_)});
    EXPECT_EQ(QString::fromUtf8(list.out), "save001.dod\tBell\\u0007\\u001b[2J\nsave002.dod\tOther\n");
    const Result summary = Run({"show", Text(save), "--character", "2"});
    EXPECT_TRUE(summary.out.contains("Character 2: \"Al\\u0007\\u000e\"\n")) << summary.out.toStdString();
    const Result copy = Run({"copy-character", Text(other), "1", Text(save), "2"});
    EXPECT_TRUE(copy.out.contains(" over \"Al\\u0007\\u000e\" (character 2 of ")) << copy.out.toStdString();
    for (const Result* run : {&list, &summary, &copy})
        EXPECT_FALSE(run->out.contains('\x07') || run->out.contains('\x1B') || run->out.contains('\x0E'));
    EXPECT_TRUE(Run({"backups", Text(save)}).out.endsWith("\tBell\\u0007\\u001b[2J\n"));
    // The damaged archive is named once, though copy-character opened two saves of its game.
    EXPECT_EQ(copy.error.count("velkar-cli: " + Text(game_) + ": Data/icons.lod could not be read ("), 1);
    std::filesystem::remove_all(game_ / "Saves");
    const Result noSaves = Run({"list", Text(game_)});
    EXPECT_EQ(noSaves.status, 1);
    EXPECT_EQ(noSaves.error, "velkar-cli: " + Text(game_) + ": no Saves folder; is it the game's folder?\n");
}
