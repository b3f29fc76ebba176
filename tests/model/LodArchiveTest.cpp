#include "model/LodArchive.h"
#include "model/LodError.h"
#include "tests/support/Files.h"
#include "tests/support/LittleEndian.h"
#include "tests/support/LodBuilder.h"
#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Packing = LodBuilder::Packing;

class LodArchiveTest : public ::testing::Test {
protected:
    std::filesystem::path Write(const Bytes& bytes)
    {
        const auto path = dir / ("a" + std::to_string(count++) + ".lod");
        WriteBytes(path, bytes);
        return path;
    }

    // The reason LodArchive gives, or "" when it opens.
    std::string OpenError(const Bytes& bytes)
    {
        try {
            LodArchive archive(Write(bytes));
            return "";
        } catch (const LodError& error) {
            return error.what();
        }
    }

    // The reason reading entry i gives, or "" when it reads.
    static std::string ReadError(LodArchive& archive, std::size_t i, bool picture)
    {
        try {
            if (picture)
                archive.ReadBitmap(archive.Entries()[i]);
            else
                archive.ReadData(archive.Entries()[i]);
            return "";
        } catch (const LodError& error) {
            return error.what();
        }
    }

    TempDirectory dir;
    int count = 0;
};

TEST_F(LodArchiveTest, ReadsBothDirectoryShapesRawAndPacked)
{
    const std::string table = "Items\r\nItem #\tPic File\tName\r\n1\titem001\tLongsword\r\n";
    for (const char* version : {"MMVI", "MMVII", "MMVIII"}) {
        for (Packing packing : {Packing::Raw, Packing::Zlib}) {
            SCOPED_TRACE(std::string(version) + (packing == Packing::Raw ? " raw" : " zlib"));
            LodBuilder builder(version, "language");
            builder.AddFile("Zeta.txt", "last", packing).AddFile("Items.TXT", table, packing);
            builder.AddFile("items.txt", "a second entry of that name", packing);
            builder.AddBitmap("item001", 2, 3, {1, 2, 3, 4, 5, 6}, Bytes(768, 9), 0, packing);
            // A long name needs the 64-byte names of MMVIII archives.
            builder.AddFile("a-name-longer-than-sixteen-bytes", "x", packing);
            LodArchive archive(Write(builder.Build()));

            EXPECT_EQ(archive.Version(), version);
            EXPECT_EQ(archive.RootName(), "language");
            ASSERT_EQ(archive.Entries().size(), 5u);
            EXPECT_EQ(archive.Entries()[1].Name, "Items.TXT");
            const LodEntry* items = archive.Find("ITEMS.txt");
            ASSERT_EQ(items, &archive.Entries()[1]); // the first of two
            const Bytes data = archive.ReadData(*items);
            EXPECT_EQ(std::string(data.begin(), data.end()), table);
            EXPECT_EQ(archive.Find("zeta.txt"), &archive.Entries()[0]);
            EXPECT_EQ(archive.Find("items"), nullptr);
            const bool longNames = std::string(version) == "MMVIII";
            EXPECT_EQ(archive.Find("a-name-longer-than-sixteen-bytes") != nullptr, longNames);

            const LodEntryHeader header = archive.ReadHeader(*archive.Find("ITEM001"));
            EXPECT_EQ(header.Width, 2);
            EXPECT_EQ(header.Height, 3);
            const LodBitmap bitmap = archive.ReadBitmap(*archive.Find("item001"));
            EXPECT_EQ(bitmap.Width(), 2);
            EXPECT_EQ(bitmap.Height(), 3);
            EXPECT_EQ(bitmap.Pixels(), std::vector<std::uint32_t>(6, 0xFF090909u));
        }
    }
}

TEST_F(LodArchiveTest, RefusesDamagedArchivesWithTheReason)
{
    const LodBuilder builder = LodBuilder("MMVI", "icons").AddFile("a", "aaaa").AddFile("b", "bbbb");
    const Bytes good = builder.Build();
    const struct {
        const char* reason;
        std::function<void(Bytes&)> damage;
    } cases[] = {
        {"", [](Bytes&) {}},
        {"the file is too short for an archive header", [](Bytes& b) { b.resize(0x11F); }},
        {"the file is not a LOD archive", [](Bytes& b) { b[3] = ' '; }},
        {"the archive has no directory", [](Bytes& b) { StoreLE(b, 0xAC, 4, 0); }},
        {"the directory runs past the end of the file", [](Bytes& b) { StoreLE(b, 0x11C, 2, 0xFFFF); }},
        {"the directory runs past the end of the file", [](Bytes& b) { StoreLE(b, 0x110, 4, 0xFFFFFFF0u); }},
        {"the directory runs past the end of the file", [](Bytes& b) { b.resize(0x120 + 0x30); }},
        {"b: the entry runs past the end of the file", [](Bytes& b) { b.pop_back(); }},
        {"a: the entry runs past the end of the file", [](Bytes& b) { StoreLE(b, 0x120 + 0x14, 4, 0xFFFFFFFFu); }},
        {"b: the entry runs past the end of the file", [](Bytes& b) { StoreLE(b, 0x140 + 0x10, 4, 0xFFFFFFF0u); }},
        // Entry offsets count from the directory, not from the file's start.
        {"b: the entry runs past the end of the file",
         [&](Bytes& b) { StoreLE(b, 0x140 + 0x10, 4, static_cast<std::uint32_t>(builder.EntryPosition(1))); }},
    };
    for (const auto& c : cases) {
        Bytes bytes = good;
        c.damage(bytes);
        EXPECT_EQ(OpenError(bytes), c.reason);
    }
    EXPECT_EQ(OpenError(Bytes{}), "the file is too short for an archive header");
    EXPECT_THROW(LodArchive(dir / "missing.lod"), LodError);
}

TEST_F(LodArchiveTest, DamagedEntriesFailAloneWithTheReason)
{
    const Bytes text(100, 't');
    const Bytes packed = LodBuilder::Pack(text);
    Bytes cut = packed;
    cut.resize(cut.size() / 2);
    const struct {
        LodBuilder::Entry entry;
        const char* reason;
    } cases[] = {
        {{"e", Bytes(40, 0x55), 100}, "e: the packed data is damaged"},
        {{"e", cut, 100}, "e: the packed data is damaged"},
        {{"e", packed, 99}, "e: the data does not unpack to its stated size"},
        {{"e", packed, 101}, "e: the data does not unpack to its stated size"},
        {{"e", packed, 0xFFFFFFFFu}, "e: the stated unpacked size is implausible"},
        {{"e", packed, 40000000}, "e: the stated unpacked size is implausible"},
        // Over the limits, refused on the header alone: this data would not even unpack.
        {{"e", Bytes(5000, 0x55), 5000000}, "e: its data is 5000000 bytes, more than the 4 MB read"},
        {{"e", text, 0, 8000 * 10, 8000, 10, 0, Bytes(768)}, "e: the picture is 8000 x 10 pixels, more than 512 x 512"},
        {{"e", text, 0, 10 * 600, 10, 600, 0, Bytes(768)}, "e: the picture is 10 x 600 pixels, more than 512 x 512"},
        {{"e", text, 0, 4, 2, 2, 0, {}}, "e: the picture has no palette"},
        {{"e", text, 0, 0, 2, 2, 0, Bytes(768)}, "e: the entry is not a picture"},
        {{"e", text, 0, 1, 0, 7, 0, Bytes(768)}, "e: the picture has no pixels"},
        {{"e", text, 0, 200, 20, 10, 0, Bytes(768)},
         "e: the picture's data is shorter than its width times its height"},
    };
    for (const auto& c : cases) {
        LodBuilder builder("MMVIII", "icons");
        builder.Add(c.entry).AddFile("ok", "fine");
        LodArchive archive(Write(builder.Build()));
        EXPECT_EQ(ReadError(archive, 0, c.entry.BitmapSize != 0 || !c.entry.Tail.empty()), c.reason);
        EXPECT_EQ(ReadError(archive, 1, false), "");
    }

    // Sizes in the entry's header that the directory's entry size does not hold.
    LodBuilder builder("MMVI", "icons");
    builder.AddFile("e", "data", Packing::Raw);
    const struct {
        std::size_t at;
        std::uint32_t value;
        const char* reason;
    } sizes[] = {
        {0x120 + 0x14, 47, "e: the entry is shorter than its header"},
        {builder.EntryPosition(0) + 16 + 4, 5, "e: the data runs past the end of the entry"},
    };
    for (const auto& c : sizes) {
        Bytes bytes = builder.Build();
        StoreLE(bytes, c.at, 4, c.value);
        LodArchive archive(Write(bytes));
        EXPECT_EQ(ReadError(archive, 0, false), c.reason);
    }
}

// Transparency: index 0 with flag 0x200, else every colour that is teal in RGB565.
TEST_F(LodArchiveTest, PicturesDecodeTopRowFirstWithTheGamesTransparency)
{
    Bytes palette(768, 0);
    const std::uint8_t colours[][3] = {{0, 252, 252}, {7, 255, 248}, {8, 252, 248},
                                       {0, 251, 248}, {10, 20, 30},  {0, 252, 247}};
    for (std::size_t i = 0; i < std::size(colours); ++i)
        std::copy(colours[i], colours[i] + 3, palette.begin() + static_cast<std::ptrdiff_t>(3 * i));
    const std::uint32_t c2 = 0xFF08FCF8u, c3 = 0xFF00FBF8u, c4 = 0xFF0A141Eu, c5 = 0xFF00FCF7u;
    // 3 x 2, top row first; with mipmaps a smaller copy follows and is ignored.
    const Bytes indices{4, 0, 1, 2, 3, 5, 4, 4};
    const struct {
        std::uint32_t flags;
        std::vector<std::uint32_t> pixels;
    } cases[] = {
        {0x000, {c4, 0, 0, c2, c3, c5}},
        {0x002, {c4, 0, 0, c2, c3, c5}},
        {0x200, {c4, 0, 0xFF07FFF8u, c2, c3, c5}},
        {0x202, {c4, 0, 0xFF07FFF8u, c2, c3, c5}},
    };
    for (const auto& c : cases) {
        Bytes own = palette;
        if (c.flags & 0x200)
            own[0] = 200; // index 0 is transparent whatever its colour
        LodArchive archive(Write(LodBuilder("MMVI", "icons").AddBitmap("p", 3, 2, indices, own, c.flags).Build()));
        EXPECT_EQ(archive.ReadBitmap(archive.Entries()[0]).Pixels(), c.pixels) << "flags " << c.flags;
    }
}

} // namespace
