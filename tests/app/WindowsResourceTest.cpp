// The resources the program's executable carries for Windows itself.

#include <gtest/gtest.h>

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdint>
#include <cstring>

namespace {

// RT_GROUP_ICON's layout: a header, then one entry per image.
#pragma pack(push, 2)
struct GroupIconEntry {
    std::uint8_t width;
    std::uint8_t height;
    std::uint8_t colorCount;
    std::uint8_t reserved;
    std::uint16_t planes;
    std::uint16_t bitCount;
    std::uint32_t bytes;
    std::uint16_t id;
};
#pragma pack(pop)
static_assert(sizeof(GroupIconEntry) == 14);

TEST(WindowsResources, TheApplicationIconIsResource128In32By32And256Colours)
{
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC group = FindResourceW(module, MAKEINTRESOURCEW(128), MAKEINTRESOURCEW(14)); // RT_GROUP_ICON
    ASSERT_NE(group, nullptr);
    const auto* data = static_cast<const std::uint8_t*>(LockResource(LoadResource(module, group)));
    ASSERT_NE(data, nullptr);
    ASSERT_GE(SizeofResource(module, group), 6u + sizeof(GroupIconEntry));
    std::uint16_t header[3];
    std::memcpy(header, data, sizeof header);
    EXPECT_EQ(header[1], 1) << "an icon, not a cursor";
    ASSERT_EQ(header[2], 1) << "one image";
    GroupIconEntry entry{};
    std::memcpy(&entry, data + 6, sizeof entry);
    EXPECT_EQ(entry.width, 32);
    EXPECT_EQ(entry.height, 32);
    EXPECT_EQ(entry.bitCount, 8);

    // The image itself: a 256-colour bitmap, its height counting the colour and the mask rows.
    const HRSRC image = FindResourceW(module, MAKEINTRESOURCEW(entry.id), MAKEINTRESOURCEW(3)); // RT_ICON
    ASSERT_NE(image, nullptr);
    const DWORD size = SizeofResource(module, image);
    EXPECT_EQ(size, entry.bytes);
    BITMAPINFOHEADER bitmap{};
    ASSERT_GE(size, sizeof bitmap);
    std::memcpy(&bitmap, LockResource(LoadResource(module, image)), sizeof bitmap);
    EXPECT_EQ(bitmap.biSize, sizeof bitmap);
    EXPECT_EQ(bitmap.biWidth, 32);
    EXPECT_EQ(bitmap.biHeight, 64);
    EXPECT_EQ(bitmap.biBitCount, 8);
    EXPECT_EQ(size, sizeof bitmap + 256 * 4 + 32 * 32 + 32 * 4) << "header, palette, colours, mask";
}

} // namespace
