// SaveGame: a character's inventory, its entries and the grid that places them.

#include "model/SaveGame.h"

#include "model/IndexCheck.h"
#include "model/LittleEndian.h"

#include <algorithm>
#include <array>

namespace CL = CharacterLayout;
namespace IL = InventoryLayout;

namespace {

void Mark(std::array<int, IL::CellCount>& grid, int anchor, ItemSize size, int entry)
{
    for (int y = 0; y < size.Height; ++y)
        for (int x = 0; x < size.Width; ++x)
            grid[static_cast<std::size_t>(anchor + x + IL::Columns * y)] = ~anchor;
    grid[static_cast<std::size_t>(anchor)] = entry;
}

bool IsAnchor(int value)
{
    return value > 0 && value <= IL::EntryCount;
}

} // namespace

int SaveGame::Cell(int n, int cell) const
{
    return ReadCharacter(n, Field{CL::InventoryGridOffset + cell * IL::CellWidth, IL::CellWidth});
}

void SaveGame::SetCell(int n, int cell, int value)
{
    WriteCharacter(n, Field{CL::InventoryGridOffset + cell * IL::CellWidth, IL::CellWidth}, value);
}

InventoryItem SaveGame::ReadEntry(int n, int entry) const
{
    const int offset = RecordOffset(n) + CL::InventoryEntriesOffset + (entry - 1) * IL::EntrySize;
    Read(offset, 4);
    Read(offset + IL::EntrySize - 4, 4); // the bounds of the whole entry
    InventoryItem item;
    for (int w = 0; w < IL::WordCount; ++w)
        item.*IL::ItemWords[w] = static_cast<std::int32_t>(LittleEndian::LoadSigned(window_.get() + offset + 4 * w, 4));
    return item;
}

void SaveGame::WriteEntry(int n, int entry, const InventoryItem& item)
{
    const int offset = RecordOffset(n) + CL::InventoryEntriesOffset + (entry - 1) * IL::EntrySize;
    for (int w = 0; w < IL::WordCount; ++w)
        Write(offset + 4 * w, 4, item.*IL::ItemWords[w]);
}

// Kinds without a usable size (the unnamed ones, numbers outside the table, a width or
// height below 1 from a modified table) take a single cell, so nothing is ever left
// pointing at a freed entry.
ItemSize SaveGame::Footprint(int itemNumber) const
{
    const auto size = words_.Items().GetItemSize(itemNumber);
    if (!size || size->Width < 1 || size->Height < 1)
        return {1, 1};
    return *size;
}

int SaveGame::GetInventoryCell(int n, int cell, InventoryItem& item) const
{
    RecordOffset(n);
    if (cell < 0 || cell >= IL::CellCount) {
        item.ItemNumber = 0;
        return -1;
    }
    const int v = Cell(n, cell);
    if (!IsAnchor(v)) { // empty, covered, or no entry that exists
        item.ItemNumber = 0;
        return 0;
    }
    item = ReadEntry(n, v);
    return 1;
}

SaveGame::Grid SaveGame::ReadGrid(int n) const
{
    // One bounds check for the whole grid: every inventory operation reads it, most twice.
    const int start = RecordOffset(n) + CL::InventoryGridOffset;
    Read(start + (IL::CellCount - 1) * IL::CellWidth, IL::CellWidth);
    Grid grid{};
    for (int cell = 0; cell < IL::CellCount; ++cell)
        grid[static_cast<std::size_t>(cell)] =
            static_cast<int>(LittleEndian::LoadSigned(window_.get() + start + cell * IL::CellWidth, IL::CellWidth));
    return grid;
}

void SaveGame::WriteGrid(int n, const Grid& grid)
{
    const Grid now = ReadGrid(n);
    for (int cell = 0; cell < IL::CellCount; ++cell) {
        if (now[static_cast<std::size_t>(cell)] != grid[static_cast<std::size_t>(cell)])
            SetCell(n, cell, grid[static_cast<std::size_t>(cell)]);
    }
}

std::optional<ItemSize> SaveGame::WrittenFootprint(const Grid& grid, int anchor)
{
    // The bounding box of the anchor and its marked cells, when it starts at the anchor and
    // every cell in it is the item's.
    int right = anchor % IL::Columns;
    int bottom = anchor / IL::Columns;
    int marked = 1;
    for (int cell = 0; cell < IL::CellCount; ++cell) {
        if (grid[static_cast<std::size_t>(cell)] != ~anchor)
            continue;
        if (cell % IL::Columns < anchor % IL::Columns || cell < anchor)
            return std::nullopt;
        right = std::max(right, cell % IL::Columns);
        bottom = std::max(bottom, cell / IL::Columns);
        ++marked;
    }
    const ItemSize size{right - anchor % IL::Columns + 1, bottom - anchor / IL::Columns + 1};
    if (marked != size.Width * size.Height)
        return std::nullopt;
    return size;
}

bool SaveGame::Fits(const Grid& grid, int anchor, ItemSize size)
{
    const int column = anchor % IL::Columns;
    const int row = anchor / IL::Columns;
    if (anchor < 0 || anchor >= IL::CellCount || column + size.Width > IL::Columns || row + size.Height > IL::Rows)
        return false;
    for (int y = 0; y < size.Height; ++y)
        for (int x = 0; x < size.Width; ++x)
            if (grid[static_cast<std::size_t>(anchor + x + IL::Columns * y)] != 0)
                return false;
    return true;
}

int SaveGame::FirstFit(const Grid& grid, ItemSize size)
{
    for (int anchor = 0; anchor < IL::CellCount; ++anchor) {
        if (Fits(grid, anchor, size))
            return anchor;
    }
    return -1;
}

void SaveGame::FreeItemCells(Grid& grid, int anchor)
{
    grid[static_cast<std::size_t>(anchor)] = 0;
    for (int& value : grid) {
        if (value == ~anchor)
            value = 0;
    }
}

int SaveGame::FreeEntry(int n, const Grid& grid) const
{
    // An entry an anchor still names is taken, whatever it holds: reusing it would give
    // two cells one item.
    std::array<bool, IL::EntryCount + 1> named{};
    for (const int v : grid) {
        if (IsAnchor(v))
            named[static_cast<std::size_t>(v)] = true;
    }
    for (int k = 1; k <= IL::EntryCount; ++k)
        if (!named[static_cast<std::size_t>(k)] && ReadEntry(n, k).ItemNumber == 0)
            return k;
    return 0;
}

bool SaveGame::HasFreeInventoryEntry(int n) const
{
    RecordOffset(n);
    return FreeEntry(n, ReadGrid(n)) != 0;
}

int SaveGame::AddInventoryItem(int n, const InventoryItem& item)
{
    RecordOffset(n);
    if (item.ItemNumber == 0)
        return -1;
    const Grid grid = ReadGrid(n);
    const int entry = FreeEntry(n, grid);
    if (entry == 0)
        return -1;

    const ItemSize size = Footprint(item.ItemNumber);
    const int anchor = FirstFit(grid, size);
    if (anchor < 0)
        return -1;
    WriteEntry(n, entry, item);
    Grid placed = grid;
    Mark(placed, anchor, size, entry);
    WriteGrid(n, placed);
    return anchor;
}

std::optional<ItemSize> SaveGame::FootprintIn(int n, const Grid& grid, int cell) const
{
    if (cell < 0 || cell >= IL::CellCount || !IsAnchor(grid[static_cast<std::size_t>(cell)]))
        return std::nullopt;
    if (const auto written = WrittenFootprint(grid, cell))
        return written;
    return Footprint(ReadEntry(n, grid[static_cast<std::size_t>(cell)]).ItemNumber);
}

std::optional<ItemSize> SaveGame::GetInventoryFootprint(int n, int cell) const
{
    RecordOffset(n);
    return FootprintIn(n, ReadGrid(n), cell);
}

bool SaveGame::CanMoveInventoryItem(int n, int fromCell, int toCell) const
{
    RecordOffset(n);
    Grid grid = ReadGrid(n);
    return MovedGrid(n, grid, fromCell, toCell);
}

bool SaveGame::MovedGrid(int n, Grid& grid, int fromCell, int toCell) const
{
    const std::optional<ItemSize> size = FootprintIn(n, grid, fromCell);
    if (!size)
        return false;
    const int entry = grid[static_cast<std::size_t>(fromCell)];
    FreeItemCells(grid, fromCell);
    if (!Fits(grid, toCell, *size))
        return false;
    Mark(grid, toCell, *size, entry);
    return true;
}

bool SaveGame::MoveInventoryItem(int n, int fromCell, int toCell)
{
    RecordOffset(n);
    Grid grid = ReadGrid(n);
    if (!MovedGrid(n, grid, fromCell, toCell))
        return false;
    WriteGrid(n, grid);
    return true;
}

int SaveGame::ReplaceInventoryItem(int n, int cell, const InventoryItem& item)
{
    RecordOffset(n);
    Grid grid = ReadGrid(n);
    const std::optional<ItemSize> footprint = FootprintIn(n, grid, cell);
    if (!footprint || item.ItemNumber == 0)
        return -1;
    const int entry = grid[static_cast<std::size_t>(cell)];
    const InventoryItem old = ReadEntry(n, entry);
    const ItemSize size = item.ItemNumber == old.ItemNumber ? *footprint : Footprint(item.ItemNumber);
    FreeItemCells(grid, cell);
    const int anchor = Fits(grid, cell, size) ? cell : FirstFit(grid, size);
    if (anchor < 0)
        return -1;
    InventoryItem stored = item;
    stored.Unused6 = old.Unused6;
    stored.Unused7 = old.Unused7;
    stored.Unused8 = old.Unused8;
    if (stored != old)
        WriteEntry(n, entry, stored);
    Mark(grid, anchor, size, entry);
    WriteGrid(n, grid);
    return anchor;
}

int SaveGame::GetInventoryGridCell(int n, int cell) const
{
    RecordOffset(n);
    CheckIndex(cell, 0, IL::CellCount - 1, "grid cell");
    return Cell(n, cell);
}

void SaveGame::RemoveInventoryItem(int n, int cell)
{
    RecordOffset(n);
    if (cell < 0 || cell >= IL::CellCount)
        return;
    const int entry = Cell(n, cell);
    if (!IsAnchor(entry))
        return;
    WriteEntry(n, entry, InventoryItem{});
    // The game's own markers say which cells are the item's: its size in the item table
    // may differ from what the game wrote, and a neighbour's cells must never be freed.
    Grid grid = ReadGrid(n);
    FreeItemCells(grid, cell);
    WriteGrid(n, grid);
}
