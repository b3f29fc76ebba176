#include "model/GameData.h"

#include "model/AsciiFold.h"
#include "model/ItemFootprint.h"
#include "model/LodError.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <map>
#include <set>

namespace {

constexpr std::string_view TextsUnused = "its texts are not used";
constexpr std::string_view PicturesUnused = "its pictures are not used";
// A row whose picture no archive holds.
constexpr std::size_t kNoArchive = static_cast<std::size_t>(-1);

using TableKind = GameData::TableKind;
constexpr TableKind ItemsTable{"items.txt", "its item names are not used"};
constexpr TableKind ClassTable{"class.txt", "its class names are not used"};
constexpr TableKind AwardsTable{"awards.txt", "its award texts are not used"};

// "A Bit" as the table writes it: a whole number, nothing else.
std::optional<int> AwardBit(std::string_view cell)
{
    int bit = 0;
    const char* end = cell.data() + cell.size();
    const auto [stop, error] = std::from_chars(cell.data(), end, bit);
    if (cell.empty() || error != std::errc{} || stop != end)
        return std::nullopt;
    return bit;
}

bool IsLanguageOverlay(const std::string& folded)
{
    return folded.ends_with(".t.lod") || folded.ends_with(".englisht.lod");
}

bool IsIconOverlay(const std::string& folded)
{
    return folded.ends_with(".icons.lod");
}

// Overlays from the last name to the first, then the base archive.
std::vector<const GameFolder::Item*> LookupOrder(const GameFolder& folder, bool (*isOverlay)(const std::string&),
                                                 std::string_view base)
{
    std::vector<const GameFolder::Item*> order;
    const auto& archives = folder.Archives();
    for (auto it = archives.rbegin(); it != archives.rend(); ++it) {
        if (isOverlay(it->Folded))
            order.push_back(&*it);
    }
    for (const auto& item : archives) {
        if (item.Folded == base) {
            order.push_back(&item);
            break;
        }
    }
    return order;
}

// Without the full stop.
std::string LeftOut(const std::string& shown, const std::string& entry, std::string_view reason)
{
    return shown + ": " + entry + " is left out (" + std::string(reason) + ")";
}

// One limit for a table's bytes, whether it is read from an archive or loose.
static_assert(GameTextTable::MaxBytes == LodArchive::MaxEntrySize);

std::string ReadLooseFile(const GameFolder::Item& item)
{
    if (item.Size > LodArchive::MaxEntrySize)
        throw LodError("the file is " + std::to_string(item.Size) + " bytes, more than the " +
                       std::to_string(LodArchive::MaxEntrySize >> 20) + " MB read");
    std::ifstream in(item.Path, std::ios::binary);
    std::string text(static_cast<std::size_t>(item.Size), '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (!in || in.gcount() != static_cast<std::streamsize>(text.size()))
        throw LodError("the file cannot be read");
    return text;
}

std::optional<ItemSize> SizeOf(const LodEntryHeader& header)
{
    if (header.BitmapSize == 0 || header.Width == 0 || header.Height == 0)
        return std::nullopt;
    return ItemSize{ItemFootprint::Cells(header.Width), ItemFootprint::Cells(header.Height)};
}

} // namespace

GameData::GameData(const GameFolder& folder)
{
    ReadTables(folder);
    ReadSizes(folder);
}

std::shared_ptr<const GameData> GameData::Load(const std::filesystem::path& game)
{
    static std::mutex mutex;
    static std::map<std::filesystem::path, std::pair<GameFolder, std::shared_ptr<const GameData>>> cache;

    std::error_code error;
    std::filesystem::path key = std::filesystem::absolute(game, error).lexically_normal();
    if (error)
        key = game;
    GameFolder folder(game);
    const std::lock_guard lock(mutex);
    const auto found = cache.find(key);
    if (found != cache.end() && found->second.first == folder)
        return found->second.second;
    auto data = std::make_shared<const GameData>(folder);
    cache.insert_or_assign(key, std::pair{std::move(folder), data});
    return data;
}

void GameData::ReadTables(const GameFolder& folder)
{
    std::vector<Archive> archives = OpenAll(LookupOrder(folder, IsLanguageOverlay, "englisht.lod"), TextsUnused);
    const bool baseByName = std::any_of(folder.Archives().begin(), folder.Archives().end(),
                                        [](const auto& item) { return item.Folded == "englisht.lod"; });
    if (!baseByName) {
        // A localized release under another name: known by its header. Other archives' damage is
        // none of our business.
        for (const auto& item : folder.Archives()) {
            if (IsLanguageOverlay(item.Folded) || IsIconOverlay(item.Folded))
                continue;
            try {
                LodArchive lod(item.Path);
                if (lod.Version() == "MMVIII" && AsciiFold(lod.RootName()) == "language") {
                    archives.push_back({item.Shown, std::move(lod)});
                    break;
                }
            } catch (const LodError&) {
            }
        }
    }

    ReadTable(folder, archives, ItemsTable, [this](std::string_view text) {
        std::optional<ItemsText> table = ItemsText::Parse(text);
        if (table)
            table_ = std::move(*table);
        return table.has_value();
    });
    hasItemTable_ = !table_.Rows().empty();
    // class.txt: a header row, then one row per class; the class number is the row's position.
    ReadTable(folder, archives, ClassTable, [this](std::string_view text) {
        const std::optional<GameTextTable> table = GameTextTable::Parse(text, 1, 1);
        if (!table)
            return false;
        for (const GameTextTable::Row& row : table->Rows())
            classNames_.push_back(row[0]);
        return true;
    });
    hasClassTable_ = !classNames_.empty();
    // awards.txt: a header row, then rows keyed by their "A Bit" cell, the text beside it.
    ReadTable(folder, archives, AwardsTable, [this](std::string_view text) {
        const std::optional<GameTextTable> table = GameTextTable::Parse(text, 1, 2);
        if (!table)
            return false;
        for (const GameTextTable::Row& row : table->Rows()) {
            if (const std::optional<int> bit = AwardBit(row[0]))
                awardRows_.push_back({*bit, row[1]});
        }
        return true;
    });
    hasAwardTable_ = !awardRows_.empty();
    for (Archive& archive : archives)
        archive.Lod.CloseFile();
}

void GameData::ReadTable(const GameFolder& folder, std::vector<Archive>& archives, const TableKind& kind,
                         const std::function<bool(std::string_view)>& take)
{
    const auto taken = [&](const std::string& shown, std::string_view text) {
        if (take(text))
            return true;
        messages_.push_back(shown + " is larger than Velkar reads (over " + std::to_string(GameTextTable::MaxRows) +
                            " rows or " + std::to_string(GameTextTable::MaxBytes >> 20) + " MiB); " +
                            std::string(kind.Unused) + ".");
        return false;
    };
    if (const GameFolder::Item* loose = folder.LooseText(kind.Name)) {
        try {
            if (taken(loose->Shown, ReadLooseFile(*loose)))
                return;
        } catch (const LodError& error) {
            Damaged(loose->Shown, error.what(), kind.Unused);
        }
    }
    for (Archive& archive : archives) {
        const LodEntry* entry = archive.Lod.Find(kind.Name);
        if (entry == nullptr)
            continue;
        try {
            if (const std::string over = LodArchive::OverLimit(archive.Lod.ReadHeader(*entry)); !over.empty()) {
                messages_.push_back(LeftOut(archive.Shown, entry->Name, over) + ".");
                continue;
            }
            const std::vector<std::uint8_t> data = archive.Lod.ReadData(*entry);
            const std::string_view text(reinterpret_cast<const char*>(data.data()), data.size());
            if (taken(std::string(kind.Name) + " in " + archive.Shown, text))
                return;
        } catch (const LodError& error) {
            Damaged(archive.Shown, error.what(), kind.Unused);
        }
    }
}

void GameData::ReadSizes(const GameFolder& folder)
{
    icons_ = OpenAll(LookupOrder(folder, IsIconOverlay, "icons.lod"), PicturesUnused);
    const auto& rows = table_.Rows();
    sizes_.assign(rows.size(), std::nullopt);
    std::vector<std::size_t> from(rows.size(), kNoArchive); // the icons_ index of the row's picture
    std::vector<std::uint64_t> decoded(rows.size(), 0);
    // An archive whose picture cannot be read is damaged: it is dropped whole, and the
    // pictures it held come from the archives after it. An entry over the limits is passed
    // over alone, named once.
    for (auto archive = icons_.begin(); archive != icons_.end();) {
        struct Found {
            std::size_t row;
            std::optional<ItemSize> size;
            std::uint64_t decoded;
        };
        std::vector<Found> found;
        std::set<std::string> leftOut; // folded names
        std::string firstLeftOut;      // the first of them, with its reason
        try {
            for (std::size_t i = 0; i < rows.size(); ++i) {
                if (from[i] != kNoArchive)
                    continue;
                const LodEntry* entry = archive->Lod.Find(rows[i].Picture);
                if (entry == nullptr)
                    continue;
                const LodEntryHeader header = archive->Lod.ReadHeader(*entry);
                if (const std::string over = LodArchive::OverLimit(header); !over.empty()) {
                    if (leftOut.insert(AsciiFold(entry->Name)).second && leftOut.size() == 1)
                        firstLeftOut = LeftOut(archive->Shown, entry->Name, over);
                    continue;
                }
                const std::uint64_t pixels = header.BitmapSize != 0 ? std::uint64_t{header.Width} * header.Height : 0;
                found.push_back({i, SizeOf(header), pixels * 4});
            }
        } catch (const LodError& error) {
            Damaged(archive->Shown, error.what(), PicturesUnused);
            archive = icons_.erase(archive);
            continue;
        }
        // Named once; a flood of them is counted, not listed.
        if (leftOut.size() == 1)
            messages_.push_back(firstLeftOut + ".");
        else if (leftOut.size() > 1)
            messages_.push_back(firstLeftOut + ", and " + std::to_string(leftOut.size() - 1) +
                                " more over the limits.");
        for (const Found& f : found) {
            from[f.row] = static_cast<std::size_t>(archive - icons_.begin());
            sizes_[f.row] = f.size;
            decoded[f.row] = f.decoded;
        }
        archive->Lod.CloseFile();
        ++archive;
    }
    KeepPictures(from, decoded);
}

void GameData::KeepPictures(const std::vector<std::size_t>& from, const std::vector<std::uint64_t>& decoded)
{
    const auto& rows = table_.Rows();
    // Each picture counts once, in the table's order, whichever items share it.
    std::uint64_t total = 0;
    std::size_t over = 0;
    std::string first;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        std::string key = AsciiFold(rows[i].Picture);
        if (from[i] == kNoArchive || pictures_.contains(key))
            continue;
        if (over != 0 || total + decoded[i] > MaxDecodedPerGame) {
            if (over++ == 0)
                first = rows[i].Picture;
            continue;
        }
        total += decoded[i];
        pictures_.emplace(std::move(key), from[i]);
    }
    if (over != 0) {
        messages_.push_back("Item pictures from " + first + " on (" + std::to_string(over) +
                            " in all) are not shown: together they would take more than " +
                            std::to_string(MaxDecodedPerGame >> 20) + " MB.");
    }
}

std::vector<GameData::Archive> GameData::OpenAll(const std::vector<const GameFolder::Item*>& items,
                                                 std::string_view unused)
{
    std::vector<Archive> archives;
    for (const GameFolder::Item* item : items) {
        try {
            archives.push_back({item->Shown, LodArchive(item->Path)});
        } catch (const LodError& error) {
            Damaged(item->Shown, error.what(), unused);
        }
    }
    return archives;
}

void GameData::Damaged(const std::string& shown, std::string_view reason, std::string_view unused)
{
    messages_.push_back(shown + " could not be read (" + std::string(reason) + "); " + std::string(unused) + ".");
}

std::optional<std::string_view> GameData::GetItemName(int n) const
{
    const ItemsText::Row* row = table_.Find(n);
    if (row == nullptr)
        return std::nullopt;
    return row->Name;
}

std::string_view GameData::GetItemPicture(int n) const
{
    const ItemsText::Row* row = table_.Find(n);
    return row != nullptr ? std::string_view(row->Picture) : std::string_view();
}

std::optional<ItemSize> GameData::GetItemSize(int n) const
{
    const ItemsText::Row* row = table_.Find(n);
    if (row == nullptr)
        return std::nullopt;
    return sizes_[static_cast<std::size_t>(row - table_.Rows().data())];
}

std::optional<LodBitmap> GameData::GetIcon(std::string_view name) const
{
    const auto picture = pictures_.find(AsciiFold(name));
    if (picture == pictures_.end())
        return std::nullopt;
    const std::lock_guard lock(mutex_);
    Archive& archive = icons_[picture->second];
    std::optional<LodBitmap> bitmap;
    if (const LodEntry* entry = archive.Lod.Find(name)) {
        try {
            bitmap = archive.Lod.ReadBitmap(*entry);
        } catch (const LodError&) {
        }
    }
    archive.Lod.CloseFile();
    return bitmap;
}
