#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The game's item table, items.txt: a game text table with two header rows, then one row per
// item keyed by its first cell. Only the picture's name (column 1) and the item's name (column 2)
// are kept; texts stay bytes in the game's code page.
class ItemsText {
public:
    struct Row {
        int Number;
        std::string Picture; // an icon's name in icons.lod; "null" for placeholders
        std::string Name;
    };

    // Numbers above this are no item numbers the game could store; such rows are skipped.
    static constexpr int MaxItemNumber = 65535;

    // Read as GameTextTable reads. Rows whose first cell is not a number 0..MaxItemNumber are
    // skipped. Of two rows with one number, the first counts. No value for a table over
    // GameTextTable's caps.
    static std::optional<ItemsText> Parse(std::string_view text);

    // By ascending number.
    const std::vector<Row>& Rows() const noexcept { return rows_; }
    const Row* Find(int number) const;
    // The highest item number in the table (802 for the English game), 0 for an empty table.
    int LastNumber() const noexcept { return rows_.empty() ? 0 : rows_.back().Number; }

private:
    std::vector<Row> rows_;
};
