#pragma once

#include <cstdint>

// Numbers as the game's files hold them: little-endian, 1 to 8 bytes wide. Callers check
// the bounds.
namespace LittleEndian {

inline std::uint64_t LoadUnsigned(const std::uint8_t* bytes, int width)
{
    std::uint64_t value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = value << 8 | bytes[i];
    return value;
}

inline std::int64_t SignExtend(std::uint64_t value, int width)
{
    const int unused = 64 - 8 * width;
    // Shift the sign bit to the top and back down: sign extension without overflow.
    return static_cast<std::int64_t>(value << unused) >> unused;
}

inline std::int64_t LoadSigned(const std::uint8_t* bytes, int width)
{
    return SignExtend(LoadUnsigned(bytes, width), width);
}

inline void Store(std::uint8_t* bytes, int width, std::int64_t value)
{
    auto bits = static_cast<std::uint64_t>(value);
    for (int i = 0; i < width; ++i, bits >>= 8)
        bytes[i] = static_cast<std::uint8_t>(bits);
}

} // namespace LittleEndian
