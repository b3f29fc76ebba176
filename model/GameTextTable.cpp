#include "model/GameTextTable.h"

#include <algorithm>

namespace {

// Reads one cell from text at; at ends after the cell's tab or line break, and atRowEnd says
// whether the row ended there (or the text did). A cell not kept is only passed over.
void TakeCell(std::string_view text, std::size_t& at, bool& atRowEnd, std::string* kept)
{
    std::string ignored;
    std::string& cell = kept != nullptr ? *kept : ignored;
    if (at < text.size() && text[at] == '"') {
        ++at;
        while (at < text.size()) {
            const char c = text[at++];
            if (c != '"') {
                if (kept != nullptr)
                    cell.push_back(c);
            } else if (at < text.size() && text[at] == '"') {
                if (kept != nullptr)
                    cell.push_back('"');
                ++at;
            } else {
                break;
            }
        }
    }
    // Unquoted, or whatever follows a closing quote: up to the tab or the line break.
    const std::size_t end = std::min(text.find_first_of("\t\n", at), text.size());
    if (kept != nullptr)
        cell.append(text.substr(at, end - at));
    at = end;
    atRowEnd = at >= text.size() || text[at] == '\n';
    if (atRowEnd && !cell.empty() && cell.back() == '\r')
        cell.pop_back();
    if (at < text.size())
        ++at;
}

bool IsBlankRow(const GameTextTable::Row& row, std::size_t cells)
{
    return cells <= 1 && (row.empty() || row.front().empty());
}

} // namespace

bool GameTextTable::IsBlank(std::string_view cell)
{
    return cell.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

std::optional<GameTextTable> GameTextTable::Parse(std::string_view text, std::size_t headerRows, std::size_t columns)
{
    if (text.size() > MaxBytes)
        return std::nullopt;
    GameTextTable table;
    std::size_t blanks = 0; // blank rows not yet kept: only a later row with text keeps them
    std::size_t at = 0;
    for (std::size_t rowIndex = 0; at < text.size(); ++rowIndex) {
        Row row;
        std::size_t cells = 0;
        bool rowEnd = false;
        while (!rowEnd) {
            std::string* kept = cells++ < columns ? &row.emplace_back() : nullptr;
            TakeCell(text, at, rowEnd, kept);
        }
        if (rowIndex < headerRows)
            continue;
        if (IsBlankRow(row, cells)) {
            ++blanks;
            continue;
        }
        if (table.rows_.size() + blanks >= MaxRows)
            return std::nullopt;
        table.rows_.resize(table.rows_.size() + blanks, Row(columns));
        blanks = 0;
        row.resize(columns);
        table.rows_.push_back(std::move(row));
    }
    return table;
}
