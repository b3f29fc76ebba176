#pragma once

#include <cstdint>
#include <span>
#include <vector>

// One of the game's 8-bit pictures decoded to 32-bit pixels, 0xAARRGGBB in native byte order
// (QImage::Format_ARGB32 takes them as they are), top row first. Transparent pixels are 0.
class LodBitmap {
public:
    // indices: at least width x height palette indices, top row first (smaller mipmap copies
    // may follow and are ignored); palette: 256 x R,G,B. With indexZeroClear index 0 is
    // transparent, otherwise every colour that is teal (0x07FF) in RGB565. Throws LodError.
    static LodBitmap Decode(int width, int height, bool indexZeroClear, std::span<const std::uint8_t> indices,
                            std::span<const std::uint8_t> palette);

    int Width() const noexcept { return width_; }
    int Height() const noexcept { return height_; }
    const std::vector<std::uint32_t>& Pixels() const noexcept { return pixels_; }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
};
