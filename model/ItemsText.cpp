#include "model/ItemsText.h"

#include <algorithm>
#include <charconv>

namespace {

// The next line without its line break; text loses the line.
std::string_view TakeLine(std::string_view& text)
{
    const std::size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

std::string_view TakeCell(std::string_view& line)
{
    const std::size_t end = std::min(line.find('\t'), line.size());
    std::string_view cell = line.substr(0, end);
    line.remove_prefix(std::min(end + 1, line.size()));
    if (cell.size() >= 2 && cell.front() == '"' && cell.back() == '"')
        cell = cell.substr(1, cell.size() - 2);
    return cell;
}

bool ParseNumber(std::string_view cell, int& number)
{
    if (cell.empty())
        return false;
    const char* end = cell.data() + cell.size();
    const auto [stop, error] = std::from_chars(cell.data(), end, number);
    return error == std::errc{} && stop == end && number >= 0 && number <= ItemsText::MaxItemNumber;
}

} // namespace

ItemsText ItemsText::Parse(std::string_view text)
{
    ItemsText table;
    TakeLine(text); // the title
    TakeLine(text); // the column names
    while (!text.empty()) {
        std::string_view line = TakeLine(text);
        int number = 0;
        if (!ParseNumber(TakeCell(line), number))
            continue;
        const std::string_view picture = TakeCell(line);
        const std::string_view name = TakeCell(line);
        table.rows_.push_back({number, std::string(picture), std::string(name)});
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
