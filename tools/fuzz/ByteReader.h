#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

// Hands out values taken from a fuzz input, front to back, little-endian. Once the bytes
// run out it either gives zeros (for the input's fixed leading part) or starts over from
// its first byte, so that a short input still decides every value of a long sweep.
class ByteReader {
public:
    enum class AtEnd { Zeros, StartOver };

    ByteReader(std::span<const std::uint8_t> data, AtEnd atEnd);

    std::uint8_t Byte();
    bool Bit() { return (Byte() & 1) != 0; }
    std::uint16_t U16();
    std::uint32_t U32();
    std::int32_t Int() { return static_cast<std::int32_t>(U32()); }
    std::int64_t Int64();
    // A value in first..last; most of the range is reached with one byte, all of it with four.
    int InRange(int first, int last);
    // Up to count bytes, never more than are left (no starting over).
    std::span<const std::uint8_t> Take(std::size_t count);
    std::string Text(std::size_t length);
    // What has not been read yet.
    std::span<const std::uint8_t> Rest() const { return data_.subspan(position_); }

private:
    std::span<const std::uint8_t> data_;
    std::size_t position_ = 0;
    AtEnd atEnd_;
};
