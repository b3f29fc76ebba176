#include "tests/dialogs/PageFixture.h"
#include "tests/ui/UiTesting.h"

#include "dialogs/CVelkarPage7.h"
#include "ui/NumberBox.h"

#include "tests/support/TranscribedLayout.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QPushButton>
#include <QTest>

#include <cstdint>
#include <vector>

using Id = CVelkarPage7;

namespace {

constexpr int kDays = 1159;
constexpr int kHours = 1161;
constexpr int kMinutes = 1163;
constexpr int kPower = 1165;
constexpr std::int64_t kTicksPerMinute = 256;
constexpr std::int64_t kTicksPerDay = 1440 * kTicksPerMinute;

struct Effect {
    int id;
    const char* label;
    int entry;
};

const std::vector<Effect> kEffects = {
    {1168, "Air Res", 0},
    {1169, "Bless", 1},
    {1170, "Body Res", 2},
    {1171, "Earth Res", 3},
    {1172, "Fate", 4},
    {1173, "Fire Res", 5},
    {1174, "Hammerhands", 6},
    {1175, "Haste", 7},
    {1179, "Heroism", 8},
    {1180, "Mind Res", 9},
    {1181, "Pain Reflection", 10},
    {1203, "Preservation", 11},
    {1182, "Regeneration", 12},
    {1183, "Shield", 13},
    {1184, "Stoneskin", 14},
    {1185, "Tmp_Accuracy", 15},
    {1186, "Tmp_Endurance", 16},
    {1195, "Tmp_Intelligence", 17},
    {1196, "Tmp_Luck", 18},
    {1197, "Tmp_Might", 19},
    {1198, "Tmp_Personality", 20},
    {1199, "Tmp_Speed", 21},
    {1200, "Water Res", 22},
    {1201, "Water Breathing", 23},
    {1205, "Glamour", 24},
    {1206, "Levitation", 25},
    {1207, "Mistform", 26},
};

constexpr int kBless = 1169, kFate = 1172, kHaste = 1175, kShield = 1183;
constexpr int kBlessEntry = 1, kFateEntry = 4, kHasteEntry = 7, kShieldEntry = 13, kMistformEntry = 26;

class ActiveSpellsPageTest : public PageFixture {
protected:
    static constexpr int ActiveSpellsTab = TabIndex(SheetTab::ActiveSpells);
    ActiveSpellsPageTest() : PageFixture(ActiveSpellsTab) {}

    static int EffectOffset(int k) { return TranscribedLayout::At("ActiveSpellAirRes", N) + k * 16; }

    std::int64_t Now() const { return WindowValue(opened, TranscribedLayout::At("Time"), 8); }

    // Days, hours, minutes, power and skill as the fields show them.
    QStringList Fields() const
    {
        return {On<NumberBox>(kDays)->Text(), On<NumberBox>(kHours)->Text(), On<NumberBox>(kMinutes)->Text(),
                On<NumberBox>(kPower)->Text(), On<QComboBox>(Id::IdSkill)->currentText()};
    }
    void Press(int id) { QTest::mouseClick(On<QPushButton>(id), Qt::LeftButton); }
    // Opens the skill chooser with the mouse and picks the entry with the keyboard.
    void ChooseSkill(int index) { UiTesting::ChooseEntry(*On<QComboBox>(Id::IdSkill), index); }
    ActiveSpellInfo Stored(int k) const { return save.GetActiveSpell(N, k); }
    // Every effect's stored words as the model holds them.
    std::vector<ActiveSpellInfo> AllStored() const
    {
        std::vector<ActiveSpellInfo> all;
        for (int k = 0; k < Id::EffectCount; ++k)
            all.push_back(Stored(k));
        return all;
    }
};

} // namespace

TEST_F(ActiveSpellsPageTest, LaysOutTwentySevenEffectsAndTheFieldsWithoutACaster)
{
    OpenPage();
    for (const Effect& e : kEffects) {
        const auto* button = On<QPushButton>(e.id);
        ASSERT_NE(button, nullptr) << e.id;
        EXPECT_EQ(UiTesting::Plain(button->text()), e.label);
    }
    ExpectNumberBoxes(
        {{kDays, 1160, "Days:"}, {kHours, 1162, "Hours:"}, {kMinutes, 1164, "Minutes:"}, {kPower, 1166, "Power:"}});
    EXPECT_EQ(Fields().mid(0, 4), QStringList({"0", "0", "0", "0"}));
    EXPECT_EQ(LabelOf(Id::IdSkill), "Skill:");
    const auto* skill = On<QComboBox>(Id::IdSkill);
    ASSERT_NE(skill, nullptr);
    QStringList skills;
    for (int i = 0; i < skill->count(); ++i)
        skills.append(skill->itemText(i));
    EXPECT_EQ(skills, QStringList({"None", "Novice", "Expert", "Master", "Grand"}));
    EXPECT_EQ(skill->currentIndex(), 0);
    EXPECT_EQ(Page().findChildren<QComboBox*>().size(), 1); // no caster chooser
    EXPECT_EQ(UiTesting::Plain(On<QPushButton>(Id::IdAddAll)->text()), "Add All");
    EXPECT_EQ(UiTesting::Plain(On<QPushButton>(Id::IdRemoveAll)->text()), "Remove All");
    EXPECT_TRUE(sheet->Button(QDialogButtonBox::Apply)->isEnabled());
    ExpectNothingClipped();
}

TEST_F(ActiveSpellsPageTest, EachButtonEditsItsOwnEffect)
{
    Prepare([](SaveGame& s) {
        for (int k = 0; k < Id::EffectCount; ++k)
            s.SetActiveSpell(N, k, {{k, 1, 2}, 10 + k, k % 5});
    });
    OpenPage();
    const QStringList skills = {"None", "Novice", "Expert", "Master", "Grand"};
    for (const Effect& e : kEffects) {
        Press(e.id);
        EXPECT_EQ(Fields(),
                  QStringList({QString::number(e.entry), "1", "2", QString::number(10 + e.entry), skills[e.entry % 5]}))
            << e.label;
        TypeInto(kPower, QString::number(500 + e.entry)); // committed when the next button is pressed
    }
    Press(kBless);
    for (const Effect& e : kEffects)
        EXPECT_EQ(Stored(e.entry), (ActiveSpellInfo{{e.entry, 1, 2}, 500 + e.entry, e.entry % 5})) << e.label;
}

TEST_F(ActiveSpellsPageTest, LeavingTheSkillChooserCommitsTheSelectedEffect)
{
    OpenPage();
    Press(kBless);
    TypeInto(kDays, "0");
    TypeInto(kHours, "3");
    TypeInto(kMinutes, "0");
    TypeInto(kPower, "10");
    ChooseSkill(3);
    EXPECT_EQ(Stored(kBlessEntry), (ActiveSpellInfo{{0, 3, 0}, 10, 0})); // not yet: the chooser has the focus
    TypeInto(kDays, "0");                                                // leaves the chooser
    EXPECT_EQ(Stored(kBlessEntry), (ActiveSpellInfo{{0, 3, 0}, 10, 3}));
    Click(QDialogButtonBox::Apply);
    EXPECT_EQ(FileBytes(), Expected([](SaveGame& s) { s.SetActiveSpellBless(N, {{0, 3, 0}, 10, 3}); }));
}

TEST_F(ActiveSpellsPageTest, NothingIsWrittenBeforeAnEffectIsSelected)
{
    OpenPage();
    const std::vector<ActiveSpellInfo> before = AllStored();
    TypeInto(kDays, "5");
    TypeInto(kPower, "7");
    ChooseSkill(2);
    TypeInto(kHours, "1");
    EXPECT_EQ(AllStored(), before);
    Click(QDialogButtonBox::Apply);
    EXPECT_EQ(FileBytes(), opened);
}

TEST_F(ActiveSpellsPageTest, TypingThenClickingAnotherEffectWritesTheFirstAndShowsTheSecond)
{
    Prepare([](SaveGame& s) { s.SetActiveSpellShield(N, {{0, 2, 0}, 7, 2}); });
    OpenPage();
    Press(kHaste);
    TypeInto(kHours, "4");
    Press(kShield);
    EXPECT_EQ(Stored(kHasteEntry), (ActiveSpellInfo{{0, 4, 0}, 0, 0}));
    EXPECT_EQ(Fields(), QStringList({"0", "2", "0", "7", "Expert"}));
    Click(QDialogButtonBox::Ok);
    EXPECT_EQ(FileBytes(), Expected([](SaveGame& s) { s.SetActiveSpellHaste(N, {{0, 4, 0}, 0, 0}); }));
}

TEST_F(ActiveSpellsPageTest, RemoveAllExpiresEveryEffectNowAndClearsTheSelection)
{
    Prepare([](SaveGame& s) {
        for (int k = 0; k < Id::EffectCount; ++k)
            s.SetActiveSpell(N, k, {{k, 1, 2}, 10 + k, 3});
    });
    OpenPage();
    Press(kHaste);
    Press(Id::IdRemoveAll);
    EXPECT_EQ(Fields(), QStringList({"0", "0", "0", "0", "None"}));
    EXPECT_EQ(AllStored(), std::vector<ActiveSpellInfo>(Id::EffectCount));
    // No effect is selected any more.
    TypeInto(kDays, "6");
    TypeInto(kPower, "1");
    EXPECT_EQ(AllStored(), std::vector<ActiveSpellInfo>(Id::EffectCount));
    Click(QDialogButtonBox::Apply);
    EXPECT_EQ(FileBytes(), Expected([](SaveGame& s) {
                  for (int k = 0; k < Id::EffectCount; ++k)
                      s.SetActiveSpell(N, k, {});
              }));
}

TEST_F(ActiveSpellsPageTest, AddAllGivesEveryEffectTheFields)
{
    OpenPage();
    Press(kFate);
    TypeInto(kDays, "1");
    TypeInto(kPower, "20");
    ChooseSkill(4);
    Press(Id::IdAddAll);
    EXPECT_EQ(Fields(), QStringList({"1", "0", "0", "20", "Grand"}));
    EXPECT_EQ(AllStored(), std::vector<ActiveSpellInfo>(Id::EffectCount, ActiveSpellInfo{{1, 0, 0}, 20, 4}));
    Click(QDialogButtonBox::Apply);
    EXPECT_EQ(FileBytes(), Expected([](SaveGame& s) {
                  for (int k = 0; k < Id::EffectCount; ++k)
                      s.SetActiveSpell(N, k, {{1, 0, 0}, 20, 4});
              }));
}

TEST_F(ActiveSpellsPageTest, TheDurationTakesASignAndANegativeOneReadsBackAsExpired)
{
    OpenPage();
    Press(kFate);
    TypeInto(kDays, "-1");
    TypeInto(kPower, "40000");
    ChooseSkill(2);
    Press(kBless);
    EXPECT_TRUE(messages.Shown().isEmpty());
    Click(QDialogButtonBox::Apply);
    const Bytes file = FileBytes();
    EXPECT_EQ(WindowValue(file, EffectOffset(kFateEntry), 8), Now() - kTicksPerDay);
    EXPECT_EQ(WindowValue(file, EffectOffset(kFateEntry) + 8, 2), 40000 - 65536);
    EXPECT_EQ(WindowValue(file, EffectOffset(kFateEntry) + 10, 2), 2);
    Press(kFate);
    EXPECT_EQ(Fields(), QStringList({"0", "0", "0", "0", "None"}));

    // A power beyond 16 bits comes back sign-extended.
    TypeInto(kHours, "2");
    TypeInto(kPower, "40000");
    Press(kBless);
    Press(kFate);
    EXPECT_EQ(Fields(), QStringList({"0", "2", "0", "-25536", "None"}));
}

TEST_F(ActiveSpellsPageTest, ASkillOutsideTheChooserIsWrittenBackAsStored)
{
    Prepare([](SaveGame& s) { s.SetActiveSpell(N, kMistformEntry, {{1, 0, 0}, 4, 9}); });
    OpenPage();
    Press(1207);
    EXPECT_EQ(Fields(), QStringList({"1", "0", "0", "4", ""}));
    EXPECT_EQ(On<QComboBox>(Id::IdSkill)->currentIndex(), -1);
    TypeInto(kMinutes, "10");
    TypeInto(kPower, "5"); // leaves the minutes
    EXPECT_EQ(Stored(kMistformEntry), (ActiveSpellInfo{{1, 0, 10}, 4, 9}));
    Press(Id::IdAddAll); // leaving the power commits it too
    EXPECT_EQ(AllStored(), std::vector<ActiveSpellInfo>(Id::EffectCount, ActiveSpellInfo{{1, 0, 10}, 5, 9}));
    // A skill chosen replaces it.
    ChooseSkill(1);
    TypeInto(kPower, "5");
    EXPECT_EQ(Stored(kMistformEntry), (ActiveSpellInfo{{1, 0, 10}, 5, 1}));
    Click(QDialogButtonBox::Apply);
    EXPECT_EQ(FileBytes(), Expected([](SaveGame& s) {
                  for (int k = 0; k < Id::EffectCount; ++k)
                      s.SetActiveSpell(N, k, {{1, 0, 10}, 5, k == kMistformEntry ? 1 : 9});
              }));
}

TEST_F(ActiveSpellsPageTest, LeavingAndReturningKeepsTheFieldsAndTheSelection)
{
    Prepare([](SaveGame& s) { s.SetActiveSpellBless(N, {{2, 0, 0}, 6, 1}); });
    OpenPage();
    Press(kBless);
    TypeInto(kHours, "5");
    TypeInto(kPower, "8");
    Leave();
    EXPECT_EQ(sheet->CurrentIndex(), StatsTab);
    // The page reads nothing from the model when it comes back.
    save.SetActiveSpellBless(N, {{9, 0, 0}, 1, 4});
    Return();
    EXPECT_TRUE(sheet->Button(QDialogButtonBox::Apply)->isEnabled());
    EXPECT_EQ(Fields(), QStringList({"2", "5", "0", "8", "Novice"}));
    // Bless is still the selected effect; only what was edited since is written.
    TypeInto(kMinutes, "1");
    TypeInto(kDays, "2");
    EXPECT_EQ(Stored(kBlessEntry), (ActiveSpellInfo{{2, 5, 1}, 1, 4}));
}

TEST_F(ActiveSpellsPageTest, ABadFieldKeepsThePageAndApplyWritesNoEffect)
{
    OpenPage();
    Press(kShield);
    TypeInto(kPower, "3");
    TypeInto(kHours, "-");
    // One click, one message: the field's focus loss, the tab switch and the leaving check
    // all meet the same failure.
    Leave();
    EXPECT_EQ(sheet->CurrentIndex(), ActiveSpellsTab);
    EXPECT_EQ(messages.Shown(), QStringList{"Please enter an integer."});
    EXPECT_TRUE(On<QWidget>(kHours)->hasFocus());
    // The power reached Shield with the commit; without a time the effect stays out of force.
    EXPECT_EQ(ModelValue(EffectOffset(kShieldEntry) + 8, 2), 3);
    EXPECT_EQ(Stored(kShieldEntry), ActiveSpellInfo{});
    messages.Clear();
    Click(QDialogButtonBox::Apply);
    EXPECT_EQ(messages.Shown(), QStringList{"Please enter an integer."});
    EXPECT_EQ(sheet->CurrentIndex(), ActiveSpellsTab);
    EXPECT_TRUE(On<QWidget>(kHours)->hasFocus());
    EXPECT_EQ(FileBytes(), opened);

    TypeInto(kHours, "2");
    Leave();
    ASSERT_EQ(sheet->CurrentIndex(), StatsTab);
    // Apply saves the model as it is; the fields reach an effect only through a commit.
    save.SetActiveSpellShield(N, {{0, 0, 30}, 1, 1});
    Click(QDialogButtonBox::Apply);
    EXPECT_EQ(Stored(kShieldEntry), (ActiveSpellInfo{{0, 0, 30}, 1, 1}));
    EXPECT_EQ(FileBytes(), Expected([](SaveGame& s) { s.SetActiveSpellShield(N, {{0, 0, 30}, 1, 1}); }));
}

TEST_F(ActiveSpellsPageTest, ReadsItsFieldsInTheirExchangeOrder)
{
    // A commit, as the focus leaves the bad field, stores what was read into the selected effect.
    Prepare([](SaveGame& s) { s.SetActiveSpellBless(N, {{2, 3, 4}, 10, 2}); });
    const auto select = [](QWidget& page) {
        QTest::mouseClick(page.findChild<QPushButton*>(QString::number(kBless)), Qt::LeftButton);
    };
    CheckExchangeOrder(
        "active-spells", true, [&] { select(Page()); }, select);
}
