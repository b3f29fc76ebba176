#include "model/ItemsText.h"

#include "model/GameTextTable.h"

#include <algorithm>
#include <charconv>

namespace {

bool ParseNumber(std::string_view cell, int& number)
{
    if (cell.empty())
        return false;
    const char* end = cell.data() + cell.size();
    const auto [stop, error] = std::from_chars(cell.data(), end, number);
    return error == std::errc{} && stop == end && number >= 0 && number <= ItemsText::MaxItemNumber;
}

} // namespace

std::optional<ItemsText> ItemsText::Parse(std::string_view text)
{
    const std::optional<GameTextTable> rows = GameTextTable::Parse(text, 2, 3);
    if (!rows)
        return std::nullopt;
    ItemsText table;
    for (const GameTextTable::Row& row : rows->Rows()) {
        int number = 0;
        if (ParseNumber(row[0], number))
            table.rows_.push_back({number, row[1], row[2]});
    }
    const auto byNumber = [](const Row& a, const Row& b) { return a.Number < b.Number; };
    std::stable_sort(table.rows_.begin(), table.rows_.end(), byNumber);
    const auto same = [](const Row& a, const Row& b) { return a.Number == b.Number; };
    table.rows_.erase(std::unique(table.rows_.begin(), table.rows_.end(), same), table.rows_.end());
    return table;
}

const ItemsText::Row* ItemsText::Find(int number) const
{
    const auto at =
        std::lower_bound(rows_.begin(), rows_.end(), number, [](const Row& row, int n) { return row.Number < n; });
    return at != rows_.end() && at->Number == number ? &*at : nullptr;
}
