#include "AwardTable.h"
#include "ItemTable.h"
#include "Vocabulary.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

TEST(VocabularyTest, TablesAreEmptyBeforeFill)
{
    const ItemTable items;
    const AwardTable awards;
    EXPECT_FALSE(items.IsFilled());
    EXPECT_FALSE(awards.IsFilled());
    EXPECT_EQ(items.GetItemName(1), "");
    EXPECT_FALSE(items.GetItemSize(1).has_value());
    EXPECT_FALSE(awards.GetAwardText(1).has_value());
    std::vector<std::string> list;
    items.GetItemNameList(list);
    awards.GetAwardTextList(list);
    EXPECT_TRUE(list.empty());
}

class ItemTableTest : public testing::Test {
protected:
    void SetUp() override { items.Fill(); }

    std::pair<int, int> SizeOf(int n) const
    {
        const auto size = items.GetItemSize(n);
        return size ? std::pair{size->Width, size->Height} : std::pair{-1, -1};
    }

    ItemTable items;
};

TEST_F(ItemTableTest, NamesAtEndsAndGaps)
{
    EXPECT_TRUE(items.IsFilled());
    EXPECT_EQ(items.GetItemName(1), "Longsword");
    EXPECT_EQ(items.GetItemName(750), "Old Scroll");
    EXPECT_EQ(items.GetItemName(190), "");
    EXPECT_EQ(items.GetItemName(0), "");
    EXPECT_EQ(items.GetItemName(751), "");
}

TEST_F(ItemTableTest, NameListAppendsItemKPlusOneAtK)
{
    std::vector<std::string> list{"already there"};
    items.GetItemNameList(list);
    ASSERT_EQ(list.size(), 1u + 750u);
    EXPECT_EQ(list[0], "already there");
    EXPECT_EQ(list[1 + 0], "Longsword");
    EXPECT_EQ(list[1 + 189], "");
    EXPECT_EQ(list[1 + 611], "Sarcophagus of Korbu");
    EXPECT_EQ(list.back(), "Old Scroll");
}

TEST_F(ItemTableTest, Sizes)
{
    EXPECT_EQ(SizeOf(1), std::pair(1, 5));
    EXPECT_EQ(SizeOf(612), std::pair(14, 4));
    EXPECT_EQ(SizeOf(400), std::pair(2, 2));
    for (int n = 401; n <= 498; ++n)
        EXPECT_EQ(SizeOf(n), std::pair(2, 1)) << "item " << n;
    EXPECT_FALSE(items.GetItemSize(190).has_value());
    EXPECT_FALSE(items.GetItemSize(0).has_value());
    EXPECT_FALSE(items.GetItemSize(751).has_value());
}

TEST_F(ItemTableTest, ExactlyTheNamedKindsHaveASize)
{
    int sized = 0;
    for (int n = 1; n <= ItemTable::Count; ++n) {
        const bool hasSize = items.GetItemSize(n).has_value();
        EXPECT_EQ(hasSize, !items.GetItemName(n).empty()) << "item " << n;
        sized += hasSize ? 1 : 0;
    }
    EXPECT_EQ(sized, 617);
}

TEST_F(ItemTableTest, ScrollsAndBooksAreNamedAfterTheirSpell)
{
    EXPECT_EQ(items.GetItemName(300), "Torch Light (scroll)");
    EXPECT_EQ(items.GetItemName(398), "Souldrinker (scroll)");
    EXPECT_EQ(items.GetItemName(351), "Spirit Lash (scroll)");
    EXPECT_EQ(items.GetItemName(451), "Spirit Last (book)");
    EXPECT_EQ(items.GetItemName(498), "Souldrinker (book)");
    EXPECT_EQ(items.GetItemName(399), "");
    EXPECT_EQ(items.GetItemName(499), "");
}

TEST(ItemTableNames, OutliveTheTable)
{
    std::string_view name;
    {
        ItemTable items;
        items.Fill();
        name = items.GetItemName(400);
    }
    EXPECT_EQ(name, "Torch Light (book)");
}

TEST(AwardTableTest, TextsAndList)
{
    AwardTable awards;
    awards.Fill();
    EXPECT_EQ(awards.GetAwardText(0), std::string_view());
    EXPECT_EQ(awards.GetAwardText(48), "Won X Lord Arena Victories");
    EXPECT_EQ(awards.GetAwardText(73), "Won Arcomage At Miho's Roadhouse in Alvar");
    EXPECT_FALSE(awards.GetAwardText(74).has_value());
    EXPECT_FALSE(awards.GetAwardText(-1).has_value());

    std::vector<std::string> list{"already there"};
    awards.GetAwardTextList(list);
    ASSERT_EQ(list.size(), 1u + 74u);
    EXPECT_EQ(list[1 + 0], "");
    EXPECT_EQ(list[1 + 1], "Brought Power Stone to Fredrick Talimere");
    EXPECT_EQ(list.back(), "Won Arcomage At Miho's Roadhouse in Alvar");
}

TEST(VocabularyTest, FixedListsSpotValues)
{
    EXPECT_EQ(Vocabulary::ClassNames[15], "Great Wyrm");
    EXPECT_EQ(Vocabulary::MasteryNone, "None");
    EXPECT_EQ(Vocabulary::MasteryNames[3], "Grand");
    EXPECT_EQ(Vocabulary::StandardEnchantments[25], "of Protection");
    EXPECT_EQ(Vocabulary::SpecialEnchantments[72], "of Feather Falling");
}
