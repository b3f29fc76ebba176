#include "tests/model/SavedGameFixture.h"

#include "model/PartyRoster.h"

#include <array>
#include <limits>

namespace {

constexpr int TimeAt = 332;
constexpr int PartySpellAt = 2504; // window offset of party spell 0

class PartyTest : public SavedGameFixture {
protected:
    void SetUp() override { ASSERT_TRUE(Create(builder)); }
    SaveBuilder builder;
};

TEST_F(PartyTest, PartySpellsReadTimeLeftAgainstTheClock)
{
    save.SetTime({0, 0, 0, 0, 1173});
    const std::int64_t now = 123863040;
    SpellEffectInfo fly{{1, 2, 3}, 7, 3, 3};
    save.SetPartySpellFly(fly);
    EXPECT_EQ(save.GetPartySpellFly(), fly);
    const int entry = PartySpellAt + 16 * 7;

    // Moving the clock moves the time left; the expiry stays absolute.
    save.SetTime({0, 0, 1, 0, 1173});
    EXPECT_EQ(save.GetPartySpellFly(), (SpellEffectInfo{{0, 2, 3}, 7, 3, 3}));

    // Only the members asked for are written: the expiry keeps its odd ticks.
    save.SetTime({0, 0, 0, 0, 1173});
    save.SetPartySpellFly({{9, 9, 9}, 8, 1, 4}, {.expiry = false, .skill = false});
    save.Save();
    EXPECT_EQ(FileValue(entry, 8), now + 400128);
    EXPECT_EQ(save.GetPartySpellFly(), (SpellEffectInfo{{1, 2, 3}, 8, 3, 4}));
    EXPECT_THROW(save.GetPartySpell(20), std::out_of_range);
    EXPECT_THROW(save.SetPartyMember(6, 0), std::out_of_range);
}

TEST_F(PartyTest, AbsentAndExpiredEffectsReadAsZeros)
{
    const int haste = PartySpellAt + 16 * 8;
    SaveBuilder b;
    b.Put(haste, 8, 0).Put(haste + 8, 2, 9).Put(haste + 10, 2, 4).Put(haste + 14, 2, 5); // expiry 0
    const int heroism = PartySpellAt + 16 * 9;
    b.Put(heroism, 8, GameTimeToTicks({9, 30, 11, 3, 1173}) - 1)
        .Put(heroism + 8, 2, 9)
        .Put(heroism + 14, 2, 2); // 1 tick ago
    const int shield = PartySpellAt + 16 * 14;
    b.Put(shield, 8, GameTimeToTicks({9, 30, 11, 3, 1173}))
        .Put(shield + 8, 2, -3)
        .Put(shield + 10, 2, 2)
        .Put(shield + 14, 2, 0x80FF);
    ASSERT_TRUE(Create(b));
    EXPECT_EQ(save.GetPartySpellHaste(), SpellEffectInfo{});
    EXPECT_EQ(save.GetPartySpellHeroism(), SpellEffectInfo{});
    EXPECT_EQ(save.GetPartySpellShield(), (SpellEffectInfo{{0, 0, 0}, -3, 2, 255}))
        << "expiry equal to now is in effect; the caster is one unsigned byte before the flags";

    // A zero duration stores the current time, not 0.
    save.SetPartySpellHaste({});
    EXPECT_EQ(save.GetPartySpellHaste(), SpellEffectInfo{});
    save.Save();
    EXPECT_EQ(FileValue(haste, 8), GameTimeToTicks({9, 30, 11, 3, 1173}));
}

TEST_F(PartyTest, HostileClocksGiveDefinedResults)
{
    // Differences against extreme clocks wrap instead of overflowing (checked under UBSan).
    for (const std::int64_t clock :
         {std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::max()}) {
        SaveBuilder b;
        b.Put(TimeAt, 8, clock);
        b.Put(PartySpellAt, 8,
              clock == std::numeric_limits<std::int64_t>::min() ? std::numeric_limits<std::int64_t>::max() : 1);
        ASSERT_TRUE(Create(b));
        const SpellEffectInfo airRes = save.GetPartySpellAirRes();
        if (clock == std::numeric_limits<std::int64_t>::max()) {
            EXPECT_EQ(airRes, SpellEffectInfo{}) << "an expiry before now is absent";
        }
        save.SetPartySpellBodyRes({{10, 0, 0}, 1, 1, 1});
        if (clock == std::numeric_limits<std::int64_t>::max()) {
            EXPECT_EQ(save.GetPartySpellBodyRes(), SpellEffectInfo{}) << "the expiry wrapped below now";
        } else {
            EXPECT_EQ(save.GetPartySpellBodyRes().duration, (GameDuration{10, 0, 0}));
        }
        save.SetTime({0, 0, 0, 0, 1172});
        EXPECT_EQ(save.GetTime(), (GameTime{0, 0, 0, 0, 1172}));
    }
}

TEST(PartyRoster, CountsMembersThatFillTheFirstSlots)
{
    using Slots = std::array<int, WindowLayout::RosterSlotCount>;
    EXPECT_EQ(PartyRoster::MemberCount(Slots{3, 0, 7, 1, 49}), 5);
    EXPECT_EQ(PartyRoster::MemberCount(Slots{3, 0, -1, -1, -1}), 2);
    EXPECT_EQ(PartyRoster::MemberCount(Slots{-2, -1, -1, -1, -1}), 1) << "only -1 is empty";
    EXPECT_EQ(PartyRoster::MemberCount(Slots{-1, -1, -1, -1, -1}), std::nullopt) << "no member";
    EXPECT_EQ(PartyRoster::MemberCount(Slots{3, -1, 7, -1, -1}), std::nullopt) << "a gap";
    EXPECT_EQ(PartyRoster::MemberCount(Slots{-1, 0, 1, 2, 3}), std::nullopt);
}

} // namespace
