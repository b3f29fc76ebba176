#include "tests/dialogs/PageFixture.h"
#include "tests/ui/UiTesting.h"

#include "dialogs/CVelkarPage3.h"

#include "tests/support/TranscribedLayout.h"

#include <QCheckBox>
#include <QLabel>

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <string_view>
#include <utility>
#include <vector>

namespace {

struct Group {
    int group;
    std::vector<int> ids; // byte 0 first
    QStringList texts;
};

constexpr int kSchoolSpells = 11;

std::vector<int> Run(int first)
{
    std::vector<int> ids;
    for (int k = 0; k < kSchoolSpells; ++k)
        ids.push_back(first + k);
    return ids;
}

// Upper half left to right (the racial groups share the last column), then the lower half.
const std::vector<Group> kUpper = {
    {0,
     Run(1086),
     {"Torch Light", "Fire Bolt", "Fire Resis.", "Fire Aura", "Haste", "Fireball", "Fire Spike", "Immolation",
      "Meteor Shower", "Inferno", "Incinerate"}},
    {1,
     Run(1097),
     {"Wizard Eye", "Feather Fall", "Air Resis.", "Sparks", "Jump", "Shield", "Lightning Bolt", "Invisibility",
      "Implosion", "Fly", "Starburst"}},
    {2,
     Run(1108),
     {"Awaken", "Poison Spray", "Water Resis.", "Ice Bolt", "Water Walk", "Recharge Item", "Acid Burst", "Enchant Item",
      "Town Portal", "Ice Blast", "Lloyd's Beacon"}},
    {3,
     Run(1119),
     {"Stun", "Slow", "Earth Resis.", "Deadly Swarm", "Stone Skin", "Blades", "Stone to Flesh", "Rock Blast",
      "Telekinesis", "Death Blossom", "Mass Distortion"}},
    {9, {1141, 1186, 1188, 1189}, {"Glamour", "Traveler's Boon", "Blind", "Darkfire Bolt"}},
    {10, {1190, 1191, 1192, 1193}, {"Lifedrain", "Levitate", "Charm", "Mistform"}},
    {11, {1194, 1195, 1196, 1197}, {"Fear", "Flame Blast", "Flight", "Wing Buffet"}},
};
const std::vector<Group> kLower = {
    {4,
     Run(1130),
     {"Detect Life", "Bless", "Fate", "Turn Undead", "Remove Curse", "Preservation", "Heroism", "Spirit Lash",
      "Raise Dead", "Shared Life", "Resurrection"}},
    {5,
     Run(1142),
     {"Remove Fear", "Mind Blast", "Mind Resis.", "Telepathy", "Charm", "Cure Paralysis", "Berserk", "Mass Fear",
      "Cure Insanity", "Psychic Shock", "Enslave"}},
    {6,
     Run(1153),
     {"Cure Weakness", "Heal", "Body Resis.", "Harm", "Regeneration", "Cure Poison", "Hammerhands", "Cure Disease",
      "Prot. from Magic", "Flying Fist", "Power Cure"}},
    {7,
     Run(1164),
     {"Light Bolt", "Destroy Undead", "Dispel Magic", "Paralyze", "Summon Elemental", "Day of the Gods",
      "Prismatic Light", "Day of Protection", "Hour of Power", "Sunray", "Divine Intervention"}},
    {8,
     Run(1175),
     {"Reanimate", "Toxic Cloud", "Vampiric Weapon", "Shrinking Ray", "Shrapmetal", "Control Undead", "Pain Reflection",
      "Sacrifice", "Dragon Breath", "Armageddon", "Souldrinker"}},
};

constexpr int kFire = 0, kAir = 1, kWater = 2, kEarth = 3, kMind = 5, kBody = 6, kDark = 8;
constexpr int kDarkElf = 9, kVampire = 10, kDragon = 11;

using Bytes11 = std::array<std::uint8_t, kSchoolSpells>;

// The groups' fields, by group number.
const std::array<const char*, 12> kFields = {"SpellsFire",   "SpellsAir",     "SpellsWater",   "SpellsEarth",
                                             "SpellsSpirit", "SpellsMind",    "SpellsBody",    "SpellsLight",
                                             "SpellsDark",   "SpellsDarkElf", "SpellsVampire", "SpellsDragon"};

class SpellsPageTest : public PageFixture {
protected:
    static constexpr int SpellsTab = TabIndex(SheetTab::Spells);
    SpellsPageTest() : PageFixture(SpellsTab) {}

    QCheckBox* Box(int id) const { return On<QCheckBox>(id); }
    // Where a group lies in the window and how many bytes it has, as the layout transcribes it.
    static int At(int g) { return TranscribedLayout::RecordStart(N) + TranscribedLayout::Named(kFields[g]).offset; }
    static std::size_t Width(int g) { return static_cast<std::size_t>(TranscribedLayout::Named(kFields[g]).width); }
    static std::size_t InFile(int at) { return SaveBuilder().PartyOffset() + static_cast<std::size_t>(at); }
    // A group's bytes as the model holds them.
    std::vector<std::uint8_t> Group(int g) const
    {
        const auto bytes = save.GetWindow().subspan(static_cast<std::size_t>(At(g)), Width(g));
        return {bytes.begin(), bytes.end()};
    }
    // Writes a group into the file before the sheet opens.
    void Put(int g, const Bytes11& bytes)
    {
        PatchFile(At(g), std::string_view(reinterpret_cast<const char*>(bytes.data()), Width(g)));
    }
    // The file as it was when the sheet opened, with these groups written over.
    Bytes With(const std::vector<std::pair<int, Bytes11>>& groups) const
    {
        Bytes file = opened;
        for (const auto& [g, bytes] : groups)
            std::copy_n(bytes.begin(), Width(g), file.begin() + static_cast<std::ptrdiff_t>(InFile(At(g))));
        return file;
    }
};

} // namespace

TEST_F(SpellsPageTest, ShowsTheSpellsInTenColumnsInByteOrder)
{
    OpenPage();
    int boxes = 0;
    int upperBottom = 0;
    int lowerTop = 1 << 30;
    for (const auto* half : {&kUpper, &kLower}) {
        int lastColumnX = -1;
        int lastY = -1;
        int columnX = -1;
        for (const auto& group : *half) {
            for (std::size_t k = 0; k < group.ids.size(); ++k, ++boxes) {
                const QCheckBox* box = Box(group.ids[k]);
                ASSERT_NE(box, nullptr) << group.ids[k];
                EXPECT_EQ(UiTesting::Plain(box->text()), group.texts[static_cast<qsizetype>(k)]);
                EXPECT_EQ(box->checkState(), Qt::Unchecked);
                const QPoint at = box->mapTo(&Page(), QPoint(0, 0));
                // A school starts a new column; a racial group goes on below the one before.
                const bool sameColumn = k > 0 || group.group > kDarkElf;
                if (!sameColumn) {
                    EXPECT_GT(at.x(), lastColumnX) << group.ids[k];
                    lastColumnX = columnX = at.x();
                } else {
                    EXPECT_EQ(at.x(), columnX) << group.ids[k];
                    EXPECT_GT(at.y(), lastY) << group.ids[k];
                }
                lastY = at.y();
                if (half == &kUpper)
                    upperBottom = std::max(upperBottom, at.y() + box->height());
                else
                    lowerTop = std::min(lowerTop, at.y());
            }
        }
    }
    EXPECT_EQ(boxes, 111);
    EXPECT_LE(upperBottom, lowerTop);
    // Each group's school stands right above its first box.
    const std::map<int, QString> schools = {{0, "Fire"},   {1, "Air"},      {2, "Water"},    {3, "Earth"},
                                            {4, "Spirit"}, {5, "Mind"},     {6, "Body"},     {7, "Light"},
                                            {8, "Dark"},   {9, "Dark Elf"}, {10, "Vampire"}, {11, "Dragon"}};
    for (const auto* half : {&kUpper, &kLower}) {
        for (const auto& group : *half) {
            const QPoint first = Box(group.ids.front())->mapTo(&Page(), QPoint(0, 0));
            int above = 0;
            for (const QLabel* label : Page().findChildren<QLabel*>()) {
                const QPoint at = label->mapTo(&Page(), QPoint(0, 0));
                if (label->text() == schools.at(group.group) && at.x() == first.x() && at.y() < first.y() &&
                    at.y() > first.y() - 2 * label->height())
                    ++above;
            }
            EXPECT_EQ(above, 1) << schools.at(group.group).toStdString();
        }
    }
    ExpectNothingClipped();
}

TEST_F(SpellsPageTest, EachBoxShowsItsByteAndClicksAreStoredThere)
{
    Put(kFire, {0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0});
    OpenPage();
    EXPECT_TRUE(Box(1091)->isChecked()); // Fireball
    ClickBox(1091);
    ClickBox(1185); // Souldrinker, the last school byte
    ClickBox(1192); // Charm of the Vampire, not Charm of Mind
    ClickBox(1141); // Glamour, the first Dark Elf byte
    Leave();
    EXPECT_EQ(Group(kFire), std::vector<std::uint8_t>(11, 0));
    EXPECT_EQ(Group(kDark), (std::vector<std::uint8_t>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(Group(kVampire), (std::vector<std::uint8_t>{0, 0, 1, 0}));
    EXPECT_EQ(Group(kMind), std::vector<std::uint8_t>(11, 0));
    EXPECT_EQ(Group(kDarkElf), (std::vector<std::uint8_t>{1, 0, 0, 0}));
    Return();
    EXPECT_FALSE(Box(1091)->isChecked());
    EXPECT_TRUE(Box(1185)->isChecked());
    EXPECT_TRUE(Box(1192)->isChecked());
    EXPECT_FALSE(Box(1146)->isChecked());
}

TEST_F(SpellsPageTest, BytesOtherThanZeroAndOneShowPartlyCheckedAndAreKeptUntilClicked)
{
    Put(kEarth, {0, 0, 0, 7, 1, 0, 0, 0, 0, 0, 0});
    Put(kAir, {0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80});
    Put(kWater, {0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    OpenPage();
    for (const int id : {1122, 1097, 1107, 1109})
        EXPECT_EQ(Box(id)->checkState(), Qt::PartiallyChecked) << id;
    EXPECT_EQ(Box(1123)->checkState(), Qt::Checked);

    // Another box of the group changes: the group is written, the 7 stays.
    ClickBox(1123);
    // A click never leads back to the partly checked state.
    ClickBox(1109);
    EXPECT_EQ(Box(1109)->checkState(), Qt::Checked);
    ClickBox(1109);
    EXPECT_EQ(Box(1109)->checkState(), Qt::Unchecked);
    Leave();
    EXPECT_EQ(Group(kEarth)[3], 7);
    EXPECT_EQ(Group(kEarth)[4], 0);
    EXPECT_EQ(Group(kWater)[1], 0);
    Click(QDialogButtonBox::Ok);
    EXPECT_EQ(FileBytes(), With({{kEarth, {0, 0, 0, 7, 0, 0, 0, 0, 0, 0, 0}}, {kWater, {}}}));
}

TEST_F(SpellsPageTest, RacialBoxesLeaveTheBytesAfterTheirGroupAlone)
{
    // The bytes after each racial group's four hold the builder's noise: a longer write would show.
    OpenPage();
    for (const int id : {1194, 1195, 1196, 1197})
        ClickBox(id);
    Click(QDialogButtonBox::Apply);
    EXPECT_EQ(FileBytes(), With({{kDragon, {1, 1, 1, 1}}}));
}
