// The reader of the game's own data on arbitrary bytes: the input is both an archive file and
// an items.txt. Besides what the sanitizers report, every result must keep the readers'
// contracts: entries inside the file, names found case-insensitively (the first of equals),
// data of the stated size within the per-entry limits, pictures of their header's size within
// the side limit with opaque or clear pixels, and item rows ascending with cells that hold no
// tab or line break.

#include "model/AsciiFold.h"
#include "model/GameTextTable.h"
#include "model/ItemsText.h"
#include "model/LodArchive.h"
#include "model/LodError.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <unistd.h>

namespace {

void Check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "\n*** game data check failed: %s\n", what);
        std::fflush(stderr);
        std::abort();
    }
}

const std::filesystem::path& ScratchFile()
{
    static const auto path = [] {
        std::error_code error;
        const std::filesystem::path shm = "/dev/shm";
        const auto dir = std::filesystem::is_directory(shm, error) ? shm : std::filesystem::temp_directory_path();
        return dir / ("velkar-fuzz-lod-" + std::to_string(::getpid()) + ".lod");
    }();
    static const struct Cleanup {
        ~Cleanup()
        {
            std::error_code error;
            std::filesystem::remove(path, error);
        }
    } cleanup;
    return path;
}

void CheckTable(std::string_view text)
{
    const std::optional<GameTextTable> cells = GameTextTable::Parse(text, 1, 2);
    Check(cells || text.size() > GameTextTable::MaxBytes || std::count(text.begin(), text.end(), '\n') >= 20000,
          "only a table over the caps is refused");
    if (cells) {
        Check(cells->Rows().size() <= GameTextTable::MaxRows, "no more rows than the cap");
        for (const GameTextTable::Row& row : cells->Rows())
            Check(row.size() == 2, "every row has the cells asked for");
    }
    const std::optional<ItemsText> parsed = ItemsText::Parse(text);
    if (!parsed)
        return;
    const ItemsText& table = *parsed;
    int previous = -1;
    for (const auto& row : table.Rows()) {
        Check(row.Number > previous && row.Number <= ItemsText::MaxItemNumber, "rows ascend within the numbers");
        Check(table.Find(row.Number) == &row, "Find gives the row");
        previous = row.Number;
    }
    Check(table.LastNumber() == (table.Rows().empty() ? 0 : table.Rows().back().Number), "LastNumber");
}

void CheckEntry(LodArchive& archive, const LodEntry& entry)
{
    const LodEntry* found = archive.Find(entry.Name);
    Check(found != nullptr && found <= &entry && AsciiFold(found->Name) == AsciiFold(entry.Name),
          "Find gives the first entry of that name");
    std::string upper = entry.Name;
    for (char& c : upper)
        c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    Check(archive.Find(upper) == found, "names are found whatever their case");

    LodEntryHeader header{};
    try {
        header = archive.ReadHeader(entry);
    } catch (const LodError&) {
        return;
    }
    try {
        const std::vector<std::uint8_t> data = archive.ReadData(entry);
        Check(data.size() == (header.UnpackedSize != 0 ? header.UnpackedSize : header.DataSize),
              "data has its stated size");
        Check(data.size() <= LodArchive::MaxEntrySize && LodArchive::OverLimit(header).empty(),
              "no entry over the limits is read");
        CheckTable({reinterpret_cast<const char*>(data.data()), data.size()});
    } catch (const LodError&) {
    }
    try {
        const LodBitmap bitmap = archive.ReadBitmap(entry);
        Check(bitmap.Width() == header.Width && bitmap.Height() == header.Height, "a picture has its header's size");
        Check(bitmap.Width() <= LodArchive::MaxPictureSide && bitmap.Height() <= LodArchive::MaxPictureSide,
              "no picture over the limits is decoded");
        Check(bitmap.Pixels().size() == std::size_t{header.Width} * header.Height, "one pixel per cell");
        for (std::uint32_t pixel : bitmap.Pixels())
            Check(pixel == 0 || pixel >> 24 == 0xFF, "pixels are opaque or clear");
    } catch (const LodError&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CheckTable({reinterpret_cast<const char*>(data), size});
    {
        std::ofstream out(ScratchFile(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        Check(static_cast<bool>(out), "cannot write the scratch file");
    }
    try {
        LodArchive archive(ScratchFile());
        for (const LodEntry& entry : archive.Entries())
            Check(entry.Position + entry.Size <= size, "entries lie inside the file");
        // A few entries are enough to reach every path; thousands would only slow each run.
        const std::size_t count = std::min<std::size_t>(archive.Entries().size(), 64);
        for (std::size_t i = 0; i < count; ++i)
            CheckEntry(archive, archive.Entries()[i]);
    } catch (const LodError&) {
    }
    return 0;
}
