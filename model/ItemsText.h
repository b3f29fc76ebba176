#pragma once

#include <string>
#include <string_view>
#include <vector>

// The game's item table, items.txt: tab-separated, two header lines, then one row per item
// keyed by its first cell. Only the picture's name (column 1) and the item's name (column 2)
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

    // Lines end in CRLF or LF. Rows whose first cell is not a number 0..MaxItemNumber are
    // skipped, missing cells are empty, one surrounding pair of double quotes is removed
    // from a cell. Of two rows with one number, the first counts.
    static ItemsText Parse(std::string_view text);

    // By ascending number.
    const std::vector<Row>& Rows() const noexcept { return rows_; }
    const Row* Find(int number) const;
    // The highest item number in the table (802 for the English game), 0 for an empty table.
    int LastNumber() const noexcept { return rows_.empty() ? 0 : rows_.back().Number; }

private:
    std::vector<Row> rows_;
};
