#pragma once

#include "model/GameFolder.h"
#include "model/GameTextTable.h"
#include "model/ItemSize.h"
#include "model/ItemsText.h"
#include "model/LodArchive.h"
#include "model/LodBitmap.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the installed game itself says about its items, classes and awards, read-only: names
// and pictures from its own text tables (items.txt, class.txt, awards.txt) and icons
// (icons.lod), with the overlays of patches and mods. Where something is looked for, first
// found wins:
//   each table: DataFiles/<table>, then the language overlays (Data/*.T.lod, *.EnglishT.lod)
//               from the last name to the first, then Data/EnglishT.lod (or the archive whose
//               header says MMVIII and language);
//   pictures:   the icon overlays (Data/*.icons.lod) from the last name to the first, then
//               Data/icons.lod.
// A damaged archive, or a table larger than Velkar reads, is left out, and a message says so; a
// missing one is simply not there. An entry over LodArchive's limits is left out alone, and so
// are the pictures beyond MaxDecodedPerGame; a message names them.
class GameData {
public:
    // All item pictures together, decoded to 32-bit pixels, take at most this.
    static constexpr std::uint64_t MaxDecodedPerGame = 64u << 20;

    // Reads the tables and the pictures' sizes now. Never throws for what it reads.
    explicit GameData(const GameFolder& folder);
    explicit GameData(const std::filesystem::path& game) : GameData(GameFolder(game)) {}

    // The same folder, while none of its archives changed size or time, is read only once per
    // process; a changed one is read again.
    static std::shared_ptr<const GameData> Load(const std::filesystem::path& game);

    bool HasItemTable() const noexcept { return hasItemTable_; }
    // The highest item number of the table.
    int ItemCount() const noexcept { return table_.LastNumber(); }
    // The item table as read (empty without one).
    const ItemsText& Table() const noexcept { return table_; }
    // No value for a number the table has no row for; bytes in the game's code page.
    std::optional<std::string_view> GetItemName(int n) const;
    // The icon's name in the archives ("item001"), "" without a row.
    std::string_view GetItemPicture(int n) const;
    // In backpack cells, from the picture's size; no value when the picture was not found.
    std::optional<ItemSize> GetItemSize(int n) const;

    // class.txt's first column by row, the row being the class number; bytes in the game's code
    // page. Empty without a table.
    bool HasClassTable() const noexcept { return hasClassTable_; }
    const std::vector<std::string>& ClassNames() const noexcept { return classNames_; }

    // awards.txt's rows whose "A Bit" is a number, in the table's order, with their text.
    struct AwardRow {
        int Bit;
        std::string Text;
    };
    bool HasAwardTable() const noexcept { return hasAwardTable_; }
    const std::vector<AwardRow>& AwardRows() const noexcept { return awardRows_; }

    // A picture decoded now; no value when no archive has it, its entry is damaged, or no item
    // of the table shows it within MaxDecodedPerGame.
    std::optional<LodBitmap> GetIcon(std::string_view name) const;
    std::optional<LodBitmap> GetItemIcon(int n) const { return GetIcon(GetItemPicture(n)); }

    // One sentence per damaged archive or file, for the user, in the order they were found.
    const std::vector<std::string>& Messages() const noexcept { return messages_; }

    // A table's file name and what its loss means, for messages.
    struct TableKind {
        std::string_view Name;
        std::string_view Unused;
    };

private:
    struct Archive {
        std::string Shown;
        LodArchive Lod;
    };

    void ReadTables(const GameFolder& folder);
    // Hands take the first copy of a table, in lookup order, that can be read and that take
    // accepts (false: over the reader's caps).
    void ReadTable(const GameFolder& folder, std::vector<Archive>& archives, const TableKind& kind,
                   const std::function<bool(std::string_view)>& take);
    void ReadSizes(const GameFolder& folder);
    // Which archive each row's picture is decoded from (from: an icons_ index, or none), each
    // picture once and all within MaxDecodedPerGame; decoded is what each row's picture takes.
    void KeepPictures(const std::vector<std::size_t>& from, const std::vector<std::uint64_t>& decoded);
    std::vector<Archive> OpenAll(const std::vector<const GameFolder::Item*>& items, std::string_view unused);
    void Damaged(const std::string& shown, std::string_view reason, std::string_view unused);

    bool hasItemTable_ = false;
    ItemsText table_;
    bool hasClassTable_ = false;
    std::vector<std::string> classNames_;
    bool hasAwardTable_ = false;
    std::vector<AwardRow> awardRows_;
    std::vector<std::optional<ItemSize>> sizes_; // by table_.Rows() index
    std::vector<std::string> messages_;
    mutable std::mutex mutex_;                    // the archives' reads move their file positions
    mutable std::vector<Archive> icons_;          // in lookup order, their files open only while read
    std::map<std::string, std::size_t> pictures_; // folded name -> the icons_ index it comes from
};
