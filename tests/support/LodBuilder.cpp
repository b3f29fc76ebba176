#include "tests/support/LodBuilder.h"

#include "tests/support/Files.h"
#include "tests/support/LittleEndian.h"

#include <zlib.h>

#include <cstring>
#include <set>
#include <stdexcept>

namespace {

using Bytes = std::vector<std::uint8_t>;

void PutText(Bytes& bytes, std::size_t at, std::string_view text, std::size_t width)
{
    std::memcpy(bytes.data() + at, text.data(), std::min(text.size(), width));
}

} // namespace

LodBuilder::LodBuilder(std::string version, std::string root) : version_(std::move(version)), root_(std::move(root))
{}

LodBuilder& LodBuilder::Add(Entry entry)
{
    entries_.push_back(std::move(entry));
    return *this;
}

LodBuilder& LodBuilder::AddFile(std::string name, std::string_view data, Packing packing)
{
    const Bytes bytes(data.begin(), data.end());
    if (packing == Packing::Raw)
        return Add({std::move(name), bytes});
    return Add({std::move(name), Pack(bytes), static_cast<std::uint32_t>(bytes.size())});
}

LodBuilder& LodBuilder::AddBitmap(std::string name, int width, int height, Bytes indices, Bytes palette,
                                  std::uint32_t flags, Packing packing)
{
    Entry entry{std::move(name),
                {},
                0,
                static_cast<std::uint32_t>(width * height),
                static_cast<std::uint16_t>(width),
                static_cast<std::uint16_t>(height),
                flags,
                std::move(palette)};
    if (packing == Packing::Raw) {
        entry.Stored = std::move(indices);
    } else {
        entry.Stored = Pack(indices);
        entry.UnpackedSize = static_cast<std::uint32_t>(indices.size());
    }
    return Add(std::move(entry));
}

LodBuilder& LodBuilder::AddIcon(std::string name, int width, int height, Packing packing)
{
    // An ellipse filling the picture, shaded by row; index 0 around it.
    Bytes indices(static_cast<std::size_t>(width * height), 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double dx = (2.0 * x + 1 - width) / width, dy = (2.0 * y + 1 - height) / height;
            if (dx * dx + dy * dy <= 1.0)
                indices[static_cast<std::size_t>(y * width + x)] = static_cast<std::uint8_t>(1 + (x + y) % 200);
        }
    }
    return AddBitmap(std::move(name), width, height, std::move(indices), IconPalette(), 0, packing);
}

std::size_t LodBuilder::NameLength() const
{
    return version_ == "MMVIII" ? 64 : 16;
}

std::size_t LodBuilder::EntryPosition(std::size_t i) const
{
    const std::size_t stride = version_ == "MMVIII" ? 0x4C : 0x20;
    std::size_t at = 0x120 + entries_.size() * stride;
    for (std::size_t k = 0; k < i; ++k)
        at += NameLength() + 0x20 + entries_[k].Stored.size() + entries_[k].Tail.size();
    return at;
}

std::vector<std::uint8_t> LodBuilder::Build() const
{
    const std::size_t stride = version_ == "MMVIII" ? 0x4C : 0x20;
    const std::size_t nameLength = NameLength();
    Bytes bytes(EntryPosition(entries_.size()), 0);
    PutText(bytes, 0, std::string_view("LOD\0", 4), 4);
    PutText(bytes, 0x04, version_, 80);
    bytes[0x04 + version_.size() + 1] = 0x5A; // garbage after the version's NUL, as real archives have
    PutText(bytes, 0x54, "Velkar test archive", 80);
    StoreLE(bytes, 0xAC, 4, 1);
    PutText(bytes, 0x100, root_, 16);
    StoreLE(bytes, 0x110, 4, 0x120);
    StoreLE(bytes, 0x114, 4, bytes.size() - 0x120);
    StoreLE(bytes, 0x11C, 2, entries_.size());
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const Entry& e = entries_[i];
        const std::size_t at = EntryPosition(i);
        const std::size_t size = nameLength + 0x20 + e.Stored.size() + e.Tail.size();
        const std::size_t record = 0x120 + i * stride;
        PutText(bytes, record, e.Name, nameLength);
        StoreLE(bytes, record + nameLength, 4, at - 0x120);
        StoreLE(bytes, record + nameLength + 4, 4, size);
        PutText(bytes, at, e.Name, nameLength);
        const std::size_t header = at + nameLength;
        StoreLE(bytes, header + 0x00, 4, e.BitmapSize);
        StoreLE(bytes, header + 0x04, 4, e.Stored.size());
        StoreLE(bytes, header + 0x08, 2, e.Width);
        StoreLE(bytes, header + 0x0A, 2, e.Height);
        StoreLE(bytes, header + 0x18, 4, e.UnpackedSize);
        StoreLE(bytes, header + 0x1C, 4, e.Flags);
        std::copy(e.Stored.begin(), e.Stored.end(), bytes.begin() + static_cast<std::ptrdiff_t>(header + 0x20));
        std::copy(e.Tail.begin(), e.Tail.end(),
                  bytes.begin() + static_cast<std::ptrdiff_t>(header + 0x20 + e.Stored.size()));
    }
    return bytes;
}

void LodBuilder::WriteTo(const std::filesystem::path& path) const
{
    std::filesystem::create_directories(path.parent_path());
    WriteBytes(path, Build());
}

std::vector<std::uint8_t> LodBuilder::Pack(std::span<const std::uint8_t> data)
{
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    Bytes packed(size);
    if (compress2(packed.data(), &size, data.data(), static_cast<uLong>(data.size()), 6) != Z_OK)
        throw std::runtime_error("zlib cannot pack");
    packed.resize(size);
    return packed;
}

std::vector<std::uint8_t> LodBuilder::IconPalette()
{
    Bytes palette(768);
    palette[0] = 0, palette[1] = 252, palette[2] = 252; // the game's teal
    for (std::size_t i = 1; i < 256; ++i) {
        palette[3 * i] = static_cast<std::uint8_t>(40 + i * 3 / 4);
        palette[3 * i + 1] = static_cast<std::uint8_t>(20 + i / 2);
        palette[3 * i + 2] = static_cast<std::uint8_t>(255 - i);
    }
    return palette;
}

std::string LodBuilder::ItemsText(std::span<const Row> rows)
{
    std::string text = "Item table\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\r\n"
                       "Item #\tPic File\tName\tValue\tEquip Stat\tSkill Group\tMod1\tMod2\tmaterial\t"
                       "ID/Rep/St\tNot identified name\tSprite Index\tVarA\tVarB\tEquip X\tEquip Y\tNotes\r\n";
    for (const Row& row : rows) {
        const std::string n = std::to_string(row.Number);
        text += n + "\t" + row.Picture + "\t" + row.Name + "\t" + std::to_string(row.Number * 10 % 3000) +
                "\tWeapon\tSword\t3d3\t0\t0\t0\tSword\t" + n + "\t0\t0\t0\t0\t\r\n";
    }
    return text;
}

std::string LodBuilder::ClassText(int count)
{
    std::string text = "Class\tDescription\tNotes\r\n";
    for (int n = 0; n < count; ++n) {
        const std::string name = n % 7 == 6 ? "n/u" : "Class name " + std::to_string(n);
        const std::string description =
            n == 0 ? "\"Works the land.\r\nFights with \"\"what\"\" is at hand.\r\n\tLearns slowly.\r\nDies often.\""
                   : "Description " + std::to_string(n);
        text += name + "\t" + description + "\tbase\r\n";
    }
    return text;
}

std::string LodBuilder::AwardsText(int count)
{
    std::string text = "A Bit\tAward\tSort\tNotes\r\n";
    for (int bit = 2; bit <= count + 8; ++bit) {
        const bool named = bit <= count + 1 && bit % 9 != 0;
        text += std::to_string(bit) + "\t" + (named ? "Award text " + std::to_string(bit) : std::string(" ")) + "\t" +
                std::to_string(bit) + "\t\r\n";
    }
    return text;
}

std::vector<LodBuilder::Row> LodBuilder::FullTable(int count)
{
    std::vector<Row> rows;
    for (int n = 0; n < count; ++n) {
        char picture[16];
        std::snprintf(picture, sizeof picture, "item%03d", n);
        rows.push_back({n, n == 0 ? "" : picture, n == 0 ? "" : "Item number " + std::to_string(n)});
    }
    return rows;
}

void LodBuilder::WriteGame(const std::filesystem::path& game, std::span<const Row> rows, int extraIcons)
{
    LodBuilder language("MMVIII", "language");
    language.AddFile("2DEvents.txt", std::string(20000, 'e')).AddFile("items.txt", ItemsText(rows));
    language.AddFile("class.txt", ClassText(60)).AddFile("awards.txt", AwardsText(104));
    language.AddFile("stditems.txt", std::string(6000, 's')).AddFile("spcitems.txt", std::string(9000, 'p'));
    language.WriteTo(game / "Data" / "EnglishT.lod");

    LodBuilder icons("MMVI", "icons");
    std::set<std::string> pictures;
    int k = 0;
    for (const Row& row : rows) {
        if (row.Picture.empty() || row.Picture == "null" || !pictures.insert(row.Picture).second)
            continue;
        // Sizes as the game's items have them: rings of 20 pixels up to staffs of 170.
        icons.AddIcon(row.Picture, 14 + (k * 7) % 90, 20 + (k * 13) % 150);
        ++k;
    }
    for (int i = 0; i < extraIcons; ++i)
        icons.AddIcon("ui" + std::to_string(i), 24 + i % 40, 24 + i % 30);
    icons.WriteTo(game / "Data" / "icons.lod");
}
