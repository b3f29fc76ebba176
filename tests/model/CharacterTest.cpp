#include "tests/model/SavedGameFixture.h"

#include <array>
#include <limits>

namespace {

// Window offset of record offset r in character n's record.
constexpr int At(int n, int r)
{
    return 2832 + (n - 1) * 7464 + r;
}

class CharacterTest : public SavedGameFixture {
protected:
    void SetUp() override { ASSERT_TRUE(Create()); }
    // The edit changed exactly these window bytes and nothing else.
    void ExpectChanged(const std::vector<int>& expected) { EXPECT_EQ(SaveAndDiff(), expected); }
};

TEST_F(CharacterTest, CharacterNumbersOutsideTheRosterThrow)
{
    EXPECT_THROW(save.GetMight(0), std::out_of_range);
    EXPECT_THROW(save.SetMight(51, 1), std::out_of_range);
    EXPECT_THROW(save.GetName(-1), std::out_of_range);
    GameDuration d;
    EXPECT_THROW(save.GetConditionDead(51, d), std::out_of_range);
    InventoryItem item;
    EXPECT_THROW(save.GetInventoryCell(0, 0, item), std::out_of_range);
    EXPECT_THROW(save.GetAward(0, 74), std::out_of_range) << "the character is checked before the award";
    EXPECT_THROW(save.SetAward(51, -1), std::out_of_range);
    EXPECT_THROW(save.GetSkill(1, 36), std::out_of_range) << "slot 36 holds no skill";
    EXPECT_THROW(save.SetSkill(1, 39, 0), std::out_of_range);
    EXPECT_THROW(save.SetSpellsVampire(2, std::array<std::uint8_t, 3>{1, 1, 1}), std::invalid_argument)
        << "a group needs all its flag bytes";
    EXPECT_TRUE(SaveAndDiff().empty());
}

TEST_F(CharacterTest, AbsentValuesAndOutOfRangeNumbersChangeNothing)
{
    GameDuration d{9, 9, 9};
    EXPECT_EQ(save.GetConditionDead(1, d), 0);
    EXPECT_EQ(d, (GameDuration{9, 9, 9})) << "left untouched when not afflicted";
    EXPECT_EQ(save.GetAward(1, 74), -1);
    EXPECT_EQ(save.GetAward(1, -1), -1);
    save.SetAward(1, 74);
    save.SetAward(1, -1);
    save.ClearAward(1, -8);
    EXPECT_TRUE(SaveAndDiff().empty());

    // A view follows later setters; a zero span starts an effect now, not at 0.
    const auto view = save.GetSpellsAir(2);
    save.SetSpellsAir(2, std::array<std::uint8_t, 11>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1});
    EXPECT_EQ(view[10], 1);
    save.SetActiveSpellBless(1, {{0, 0, 0}, 0, 0});
    save.Save();
    EXPECT_EQ(FileValue(At(1, 6720), 8), GameTimeToTicks({9, 30, 11, 3, 1173}));
    save.SetConditionWeak(2, 1, {1, 0, 0});
    save.SetConditionWeak(2, 0, {5, 5, 5});
    EXPECT_EQ(save.GetConditionWeak(2, d), 0);
}

TEST_F(CharacterTest, LevelAndAgeAreBasePlusBonusSetBaseFirst)
{
    save.SetBaseLevel(1, 10);
    save.SetLevel(1, 70000); // only the low 16 bits of the difference survive
    EXPECT_EQ(save.GetLevel(1), 10 + static_cast<std::int16_t>(70000 - 10));
    EXPECT_EQ(save.GetBaseLevel(1), 10);

    // The base age is counted from the clock's year, the bonus stays.
    save.SetTime({0, 0, 0, 0, 1172});
    save.SetBaseAge(50, 22);
    save.SetAge(50, 30);
    save.SetTime({0, 0, 0, 0, 1173});
    EXPECT_EQ(save.GetBaseAge(50), 23);
    EXPECT_EQ(save.GetAge(50), 31);
}

TEST_F(CharacterTest, LevelAndAgeArithmeticWrapsOnHostileValues)
{
    save.SetBaseLevel(2, -32768);
    save.SetLevel(2, std::numeric_limits<int>::min());
    save.SetTime({0, 0, 0, 0, std::numeric_limits<int>::max()});
    save.SetBaseAge(2, std::numeric_limits<int>::min());
    save.SetAge(2, std::numeric_limits<int>::max());
    EXPECT_EQ(save.GetBaseAge(2), std::numeric_limits<int>::min());
    EXPECT_EQ(save.GetAge(2), std::numeric_limits<int>::max());
    EXPECT_EQ(save.GetLevel(2), -65536);
}

TEST_F(CharacterTest, NameAndDescriptionAreZeroFilledBoundedTexts)
{
    EXPECT_EQ(save.GetName(1), SaveBuilder::DefaultCharacterName(1));
    const std::string forty(40, 'x');
    save.SetName(1, forty);
    EXPECT_EQ(save.GetName(1), forty.substr(0, 31));
    ExpectChanged([&] {
        std::vector<int> r;
        for (int w = At(1, 164); w < At(1, 195); ++w)
            if (original.at(partyOffset + w) != 'x')
                r.push_back(w);
        return r;
    }());
    EXPECT_EQ(FileValue(At(1, 195), 1), 0);

    // A text taken from the window itself, even from the field being written.
    save.SetDescription(1, "Scout of the eastern marches");
    save.SetDescription(1, save.GetDescription(1).substr(9));
    EXPECT_EQ(save.GetDescription(1), "the eastern marches");
    save.SetName(2, save.GetName(2));
    EXPECT_EQ(save.GetName(2), SaveBuilder::DefaultCharacterName(2));

    save.SetName(50, "");
    save.Save();
    for (int r = 164; r < 196; ++r)
        EXPECT_EQ(FileValue(At(50, r), 1), 0) << r;

    save.SetDescription(50, std::string(700, 'd'));
    EXPECT_EQ(save.GetDescription(50).size(), 649u);
    save.SetDescription(1, std::string(620, 'e'));
    EXPECT_EQ(save.GetDescription(1), std::string(620, 'e'));
    save.Save();
    EXPECT_EQ(FileValue(At(50, 845), 1), 0);
    EXPECT_EQ(FileValue(At(50, 844), 1), 'd');
    for (int r = 196 + 620; r <= 845; ++r)
        ASSERT_EQ(FileValue(At(1, r), 1), 0) << r;
    EXPECT_EQ(FileValue(At(1, 846), 1), save.GetClass(1)) << "the class byte after it is untouched";
}

TEST_F(CharacterTest, ConditionTimesAgainstHostileClocks)
{
    SaveBuilder b;
    b.Put(332, 8, std::numeric_limits<std::int64_t>::min());
    b.Put(2828 + 8 * 3, 8, std::numeric_limits<std::int64_t>::max());
    ASSERT_TRUE(Create(b));
    GameDuration d;
    EXPECT_EQ(save.GetConditionAfraid(1, d), 1);
    save.SetConditionAfraid(1, 1, {std::numeric_limits<int>::max(), 0, 0});
    EXPECT_EQ(save.GetConditionAfraid(1, d), 1);
    EXPECT_EQ(d.days, std::numeric_limits<int>::max());
}

} // namespace
