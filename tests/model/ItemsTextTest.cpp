#include "model/ItemsText.h"
#include "tests/support/LodBuilder.h"

#include <gtest/gtest.h>

namespace {

struct Expected {
    int Number;
    const char* Picture;
    const char* Name;
};

TEST(ItemsTextTest, RowsAreKeyedByTheirFirstCell)
{
    const std::string head = "Items\r\nItem #\tPic File\tName\r\n";
    const struct {
        std::string text;
        std::vector<Expected> rows;
    } cases[] = {
        {head + "1\titem001\tLongsword\t100\r\n2\titem002\tBroadsword\r\n",
         {{1, "item001", "Longsword"}, {2, "item002", "Broadsword"}}},
        // LF alone, no line break at the end, a missing name, a missing picture.
        {"Items\nItem #\tPic File\tName\n5\titem005\n7\n9\tp\t\"x\"", {{5, "item005", ""}, {7, "", ""}, {9, "p", "x"}}},
        // Quoted cells lose their quotes, a doubled quote inside is one.
        {head + "1\t\"item001\"\t\"The \"\"Oak\"\" Staff\"\r\n", {{1, "item001", "The \"Oak\" Staff"}}},
        // Header lines are skipped even when they look like rows; cells that are no item number too.
        {"1\ta\tA\r\n2\tb\tB\r\n3\tc\tC\r\n\r\n \t\t\r\nx1\td\tD\r\n4x\te\tE\r\n-4\tf\tF\r\n 4\tg\tG\r\n"
         "65536\th\tH\r\n99999999999\ti\tI\r\n65535\tj\tJ\r\n\"12\"\tk\tK\r\n",
         {{3, "c", "C"}, {12, "k", "K"}, {65535, "j", "J"}}},
        // Rows in any order; of two rows with one number the first; bytes of the game's code page kept.
        {head + "9\ti9\tNine\r\n3\ti3\tThr\xE9\xE9\r\n9\tx\tLater\r\n0\t\t\r\n",
         {{0, "", ""}, {3, "i3", "Thr\xE9\xE9"}, {9, "i9", "Nine"}}},
        {"", {}},
        {head, {}},
    };
    for (const auto& c : cases) {
        const ItemsText table = ItemsText::Parse(c.text).value();
        std::vector<std::tuple<int, std::string, std::string>> got, want;
        for (const auto& row : table.Rows())
            got.emplace_back(row.Number, row.Picture, row.Name);
        for (const auto& row : c.rows)
            want.emplace_back(row.Number, row.Picture, row.Name);
        EXPECT_EQ(got, want) << c.text;
        EXPECT_EQ(table.LastNumber(), c.rows.empty() ? 0 : c.rows.back().Number);
        for (const auto& row : c.rows)
            EXPECT_EQ(table.Find(row.Number), &table.Rows()[static_cast<std::size_t>(&row - c.rows.data())]);
    }
}

TEST(ItemsTextTest, TablesLargerThanTheEnglishGamesAreReadWhole)
{
    // A mod's table: 1400 rows, the numbers past 802 included.
    const auto rows = LodBuilder::FullTable(1400);
    const ItemsText table = ItemsText::Parse(LodBuilder::ItemsText(rows)).value();
    ASSERT_EQ(table.Rows().size(), 1400u);
    EXPECT_EQ(table.LastNumber(), 1399);
    for (int n : {1, 802, 803, 1399}) {
        ASSERT_NE(table.Find(n), nullptr);
        EXPECT_EQ(table.Find(n)->Name, rows[static_cast<std::size_t>(n)].Name);
        EXPECT_EQ(table.Find(n)->Picture, rows[static_cast<std::size_t>(n)].Picture);
    }
    EXPECT_EQ(table.Find(1400), nullptr);
    EXPECT_EQ(table.Find(-1), nullptr);
}

} // namespace
