// The words the model shows, compared entry by entry with a transcription of the game's
// vocabulary (tests/data/vocabulary.txt) made apart from the model's own tables.
#include "model/Vocabulary.h"
#include "model/AwardTable.h"
#include "model/ItemTable.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// Section name -> its rows: the number, then the rest of the line.
std::map<std::string, std::vector<std::pair<int, std::string>>> Transcription()
{
    std::map<std::string, std::vector<std::pair<int, std::string>>> sections;
    std::istringstream text{std::string(TestData::Vocabulary)};
    std::string section;
    for (std::string line; std::getline(text, line);) {
        if (line.empty() || line.front() == '#')
            continue;
        if (line.front() == '[') {
            section = line.substr(1, line.size() - 2);
            continue;
        }
        const std::size_t tab = line.find('\t');
        sections[section].emplace_back(std::stoi(line.substr(0, tab)), line.substr(tab + 1));
    }
    return sections;
}

template <std::size_t N>
void ExpectList(const std::vector<std::pair<int, std::string>>& rows, const std::array<std::string_view, N>& list)
{
    ASSERT_EQ(rows.size(), N);
    for (const auto& [k, text] : rows)
        EXPECT_EQ(list.at(static_cast<std::size_t>(k)), text) << "row " << k;
}

} // namespace

TEST(VocabularyTest, EveryEntryIsAsTranscribed)
{
    auto sections = Transcription();
    ExpectList(sections["classes"], Vocabulary::ClassNames);
    ExpectList(sections["masteries"], Vocabulary::MasteryNames);
    ExpectList(sections["standard enchantments"], Vocabulary::StandardEnchantments);
    ExpectList(sections["special enchantments"], Vocabulary::SpecialEnchantments);

    AwardTable awards;
    awards.Fill();
    ASSERT_EQ(sections["awards"].size(), 74u);
    for (const auto& [a, text] : sections["awards"])
        EXPECT_EQ(awards.GetAwardText(a), text) << "award " << a;
    EXPECT_FALSE(awards.GetAwardText(74).has_value());

    ItemTable items;
    items.Fill();
    ASSERT_EQ(sections["items"].size(), static_cast<std::size_t>(ItemTable::BuiltInCount));
    for (const auto& [n, row] : sections["items"]) {
        std::istringstream fields(row);
        int width = 0;
        int height = 0;
        fields >> width >> height;
        std::string name;
        std::getline(fields >> std::ws, name);
        EXPECT_EQ(items.GetItemName(n), name) << "item " << n;
        const auto size = items.GetItemSize(n);
        EXPECT_EQ(size ? std::pair(size->Width, size->Height) : std::pair(0, 0), std::pair(width, height))
            << "item " << n;
    }
    EXPECT_EQ(items.GetItemName(751), "");
    EXPECT_FALSE(items.GetItemSize(751).has_value());
}

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

TEST(VocabularyTest, ListsAppendEveryEntryInNumberOrder)
{
    ItemTable items;
    items.Fill();
    std::vector<std::string> list{"already there"};
    items.GetItemNameList(list);
    ASSERT_EQ(list.size(), 1u + 750u);
    EXPECT_EQ(list[0], "already there");
    EXPECT_EQ(list[1 + 0], items.GetItemName(1));
    EXPECT_EQ(list.back(), items.GetItemName(750));

    AwardTable awards;
    awards.Fill();
    list = {"already there"};
    awards.GetAwardTextList(list);
    ASSERT_EQ(list.size(), 1u + 74u);
    EXPECT_EQ(list[1 + 0], "");
    EXPECT_EQ(list.back(), awards.GetAwardText(73));
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
