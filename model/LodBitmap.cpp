#include "model/LodBitmap.h"

#include "model/LodError.h"
#include "model/LodLayout.h"

#include <array>

namespace {

constexpr std::uint16_t Rgb565(std::uint32_t r, std::uint32_t g, std::uint32_t b)
{
    return static_cast<std::uint16_t>((r >> 3) << 11 | (g >> 2) << 5 | b >> 3);
}
static_assert(Rgb565(0, 252, 248) == LodLayout::ClearRgb565 && Rgb565(7, 255, 255) == LodLayout::ClearRgb565);
static_assert(Rgb565(8, 252, 248) != LodLayout::ClearRgb565 && Rgb565(0, 251, 248) != LodLayout::ClearRgb565);

} // namespace

LodBitmap LodBitmap::Decode(int width, int height, bool indexZeroClear, std::span<const std::uint8_t> indices,
                            std::span<const std::uint8_t> palette)
{
    if (width <= 0 || height <= 0)
        throw LodError("the picture has no pixels");
    const auto count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (indices.size() < count)
        throw LodError("the picture's data is shorter than its width times its height");
    if (palette.size() != LodLayout::PaletteSize)
        throw LodError("the picture's palette is incomplete");

    // One lookup per colour, not per pixel.
    std::array<std::uint32_t, 256> colours{};
    for (std::size_t i = 0; i < colours.size(); ++i) {
        const std::uint32_t r = palette[3 * i], g = palette[3 * i + 1], b = palette[3 * i + 2];
        const bool clear = indexZeroClear ? i == 0 : Rgb565(r, g, b) == LodLayout::ClearRgb565;
        colours[i] = clear ? 0 : 0xFF000000u | r << 16 | g << 8 | b;
    }
    LodBitmap bitmap;
    bitmap.width_ = width;
    bitmap.height_ = height;
    bitmap.pixels_.resize(count);
    for (std::size_t i = 0; i < count; ++i)
        bitmap.pixels_[i] = colours[indices[i]];
    return bitmap;
}
