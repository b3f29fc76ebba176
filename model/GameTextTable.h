#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The game's text tables (items.txt, class.txt, awards.txt): tab-separated cells, rows ending in
// CRLF or LF. A cell that starts with a double quote is quoted: it runs to the next lone quote and
// may hold tabs and line breaks, and "" inside it is one quote. A row may be short (its missing
// cells are empty); blank rows at the end are no rows. Texts stay bytes in the game's code page.
class GameTextTable {
public:
    // What a game's table may take; a larger one is refused whole, so a hostile file cannot
    // stall the program. The largest tables seen (a mod's items.txt) are well under both. The
    // bytes are those an archive entry or a loose file may hold at most (LodArchive::MaxEntrySize).
    static constexpr std::size_t MaxBytes = 4u << 20;
    static constexpr std::size_t MaxRows = 20000;

    using Row = std::vector<std::string>;

    // Skips the first headerRows rows and keeps the first columns cells of each row after them.
    // No value when text is longer than MaxBytes or has more than MaxRows rows after the header.
    static std::optional<GameTextTable> Parse(std::string_view text, std::size_t headerRows, std::size_t columns);

    const std::vector<Row>& Rows() const noexcept { return rows_; }

    // Whether a cell holds nothing but spaces, tabs and line breaks: a text the game leaves unused.
    static bool IsBlank(std::string_view cell);

private:
    std::vector<Row> rows_;
};
