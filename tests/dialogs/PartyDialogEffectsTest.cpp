#include "tests/dialogs/PartyDialogFixture.h"

#include "dialogs/SpellEffectEditor.h"

#include "tests/support/TranscribedLayout.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

using Id = PartyDialog;

namespace {

constexpr int kDays = 1159;
constexpr int kHours = 1161;
constexpr int kMinutes = 1163;
constexpr int kPower = 1165;
constexpr int kHaste = 1176;
constexpr int kFly = 1202;
constexpr int kAirRes = 1195;
constexpr std::int64_t kTicksPerMinute = 256;

class PartyDialogEffectsTest : public PartyDialogFixture {
protected:
    // Days, hours, minutes, power, skill and caster as the fields show them.
    QStringList Fields() const
    {
        return {
            Text(kDays), Text(kHours), Text(kMinutes), Text(kPower), ChosenText(Id::IdSkill), ChosenText(Id::IdCaster)};
    }

    std::int64_t Now() const { return WindowValue(opened, TranscribedLayout::At("Time"), 8); }
};

} // namespace

TEST_F(PartyDialogEffectsTest, TypingThenClickingAnotherEffectCommitsTheFirstAndShowsTheSecond)
{
    Prepare([](SaveGame& s) { s.SetPartySpellFly({{0, 3, 0}, 9, 1, 2}); });
    OpenDialog();
    Click(kHaste);
    Type(kDays, "5");
    Click(kFly);
    EXPECT_EQ(Fields(), QStringList({"0", "3", "0", "9", "Novice", "Brom"}));
    Click(Id::IdOk);
    EXPECT_EQ(FileBytes(), Expected([](SaveGame& s) { s.SetPartySpellHaste({{5, 0, 0}, 0, 0, 0}); }));
}

TEST_F(PartyDialogEffectsTest, ACommittedExpiryStaysAbsoluteWhenTheDateMoves)
{
    OpenDialog();
    Click(kAirRes);
    Type(kDays, "3");
    Type(Id::IdDay, "13"); // leaving the days commits Air Res against today's clock
    Type(kHours, "0");     // leaving the day stores it: one day on
    Click(kHaste);         // the hours did not change: nothing is committed again
    Click(kAirRes);
    EXPECT_EQ(Fields(), QStringList({"2", "0", "0", "0", "None", "None"}));
    Click(Id::IdOk);
    EXPECT_EQ(WindowValue(FileBytes(), SpellOffset(0), 8), Now() + 3 * 1440 * kTicksPerMinute);

    // The date moves one more day forward: the same effect has a day less left.
    OpenDialog();
    Type(Id::IdDay, "14");
    Click(kAirRes);
    EXPECT_EQ(Fields(), QStringList({"1", "0", "0", "0", "None", "None"}));
}

TEST_F(PartyDialogEffectsTest, AnExpiredEffectShowsZerosAndNone)
{
    Prepare([](SaveGame& s) { s.SetPartySpellHaste({{-1, 0, 0}, 7, 2, 3}); }); // expired a day ago
    OpenDialog();
    Click(kFly);
    Type(kPower, "1");
    Click(kHaste);
    EXPECT_EQ(Fields(), QStringList({"0", "0", "0", "0", "None", "None"}));
}

TEST_F(PartyDialogEffectsTest, PowerIsStoredInSixteenBitsAndTheDurationTakesNoSign)
{
    OpenDialog();
    Click(kHaste);
    Type(kHours, "1");
    Type(kPower, "40000");
    Click(kFly);
    Click(kHaste);
    EXPECT_EQ(Text(kPower), "-25536");
    EXPECT_EQ(Game().GetPartySpellHaste().power, -25536);

    Type(kPower, "-5");
    Type(kHours, "-1");
    Type(kMinutes, "2"); // leaving the hours: the reading stops there, the commit goes on
    EXPECT_EQ(messages.Shown(), QStringList{"Please enter a positive integer."});
    EXPECT_TRUE(Control<QWidget>(kHours)->hasFocus());
    EXPECT_EQ(Game().GetPartySpellHaste(), (SpellEffectInfo{{0, 1, 0}, -5, 0, 0}));
}

TEST_F(PartyDialogEffectsTest, SkillAndCasterOutsideTheChoosersAreWrittenBackAsRead)
{
    Prepare([](SaveGame& s) { s.SetPartySpellFly({{1, 0, 0}, 4, 9, 77}); });
    OpenDialog();
    Click(kFly);
    EXPECT_EQ(Text(kDays), "1");
    EXPECT_EQ(Chosen(Id::IdSkill), -1);
    EXPECT_EQ(Chosen(Id::IdCaster), -1);
    Type(kMinutes, "10");
    Click(Id::IdAddAll);
    Click(Id::IdOk);
    EXPECT_EQ(FileBytes(), Expected([](SaveGame& s) {
                  for (int k = 0; k < 20; ++k)
                      s.SetPartySpell(k, {{1, 0, 10}, 4, 9, 77});
              }));
}

TEST_F(PartyDialogEffectsTest, AddAllStoresThePartyValuesAndGivesEveryEffectTheFields)
{
    OpenDialog();
    Type(kHours, "2");
    Type(kPower, "5");
    Choose(Id::IdSkill, 2);
    Choose(Id::IdCaster, 3);
    Type(Id::IdFood, "33");
    Click(Id::IdAddAll);
    EXPECT_EQ(Game().GetFood(), 33);
    EXPECT_EQ(Fields(), QStringList({"0", "2", "0", "5", "Expert", "Cedric"}));
    Click(Id::IdOk);
    EXPECT_EQ(FileBytes(), Expected([](SaveGame& s) {
                  s.SetFood(33);
                  for (int k = 0; k < 20; ++k)
                      s.SetPartySpell(k, {{0, 2, 0}, 5, 2, 3});
              }));
}

TEST_F(PartyDialogEffectsTest, RemoveAllClearsEveryEffectToNowAndReloadsTheDialog)
{
    Prepare([](SaveGame& s) {
        for (int k = 0; k < 20; ++k)
            s.SetPartySpell(k, {{k, 1, 2}, 10 + k, 3, 4});
    });
    OpenDialog();
    Click(kHaste);
    Type(Id::IdFood, "99"); // kept as typed, and stored by OK
    Click(Id::IdRemoveAll);
    EXPECT_EQ(Fields(), QStringList({"0", "0", "0", "0", "None", "None"}));
    EXPECT_EQ(Text(Id::IdFood), "99");
    // No effect is selected any more.
    Type(kDays, "6");
    Click(Id::IdOk);
    EXPECT_EQ(FileBytes(), Expected([](SaveGame& s) {
                  for (int k = 0; k < 20; ++k)
                      s.SetPartySpell(k, {});
                  s.SetFood(99);
              }));
}

TEST_F(PartyDialogEffectsTest, SelectingAnEffectKeepsTypedPartyFieldsForOk)
{
    OpenDialog();
    Type(Id::IdGold, "1");
    Choose(Id::IdAmPm, 1);
    Choose(Id::IdMember1 + 4, 6);
    Click(kFly);
    EXPECT_EQ(QStringList({Text(Id::IdGold), ChosenText(Id::IdAmPm)}), QStringList({"1", "PM"}));
    EXPECT_EQ(Chosen(Id::IdMember1 + 4), 6);
    EXPECT_EQ(Game().GetGold(), 2750);
    Click(Id::IdOk);
    save.Reload();
    EXPECT_EQ(save.GetGold(), 1);
    EXPECT_EQ(save.GetTime().hour, 21);
    EXPECT_EQ(save.GetPartyMember(5), 5);
}

TEST_F(PartyDialogEffectsTest, EffectsInForceAreBoldAndTheSelectedOneStaysPressed)
{
    Prepare([](SaveGame& s) { s.SetPartySpellFly({{0, 3, 0}, 9, 1, 2}); });
    OpenDialog();
    const auto bold = [this](int id) { return Control<QPushButton>(id)->font().bold(); };
    const auto pressed = [this](int id) { return Control<QPushButton>(id)->isChecked(); };
    const auto noteShown = [this] {
        for (const QLabel* label : dialog->findChildren<QLabel*>()) {
            if (label->text() == SpellEffectEditor::NoSelectionNote)
                return label->isVisible();
        }
        return false;
    };
    EXPECT_TRUE(bold(kFly));
    EXPECT_TRUE(Control<QPushButton>(kFly)->toolTip().contains("3 hours"));
    EXPECT_FALSE(bold(kHaste));
    EXPECT_FALSE(pressed(kFly) || pressed(kHaste));
    EXPECT_TRUE(noteShown());

    Click(kHaste);
    EXPECT_TRUE(pressed(kHaste));
    EXPECT_FALSE(noteShown());
    Type(kDays, "2");
    Click(kFly);
    EXPECT_TRUE(bold(kHaste)) << "the commit put Haste in force";
    EXPECT_TRUE(pressed(kFly));
    EXPECT_FALSE(pressed(kHaste)) << "one at a time";

    Click(Id::IdRemoveAll);
    EXPECT_FALSE(bold(kFly) || bold(kHaste));
    EXPECT_FALSE(pressed(kFly) || pressed(kHaste));
    EXPECT_TRUE(noteShown());
}
