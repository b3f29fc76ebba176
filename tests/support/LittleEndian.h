#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>

// Little-endian integers of 1 to 8 bytes at a byte position, for tests that check or patch
// raw bytes without the model's help. A position past the end throws rather than reading
// or writing another buffer.

inline void CheckLERange(std::size_t size, std::size_t at, int width)
{
    const auto w = static_cast<std::size_t>(width);
    if (width < 0 || w > size || at > size - w)
        throw std::out_of_range("little-endian value outside the bytes");
}

inline std::uint64_t LoadUnsignedLE(std::span<const std::uint8_t> bytes, std::size_t at, int width)
{
    CheckLERange(bytes.size(), at, width);
    std::uint64_t value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = value << 8 | bytes[at + static_cast<std::size_t>(i)];
    return value;
}

// Sign-extended from the top bit of its width.
inline std::int64_t LoadLE(std::span<const std::uint8_t> bytes, std::size_t at, int width)
{
    const int unused = 64 - 8 * width;
    return static_cast<std::int64_t>(LoadUnsignedLE(bytes, at, width) << unused) >> unused;
}

inline void StoreLE(std::span<std::uint8_t> bytes, std::size_t at, int width, std::int64_t value)
{
    CheckLERange(bytes.size(), at, width);
    auto bits = static_cast<std::uint64_t>(value);
    for (int i = 0; i < width; ++i, bits >>= 8)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(bits);
}
