#include "tools/fuzz/ByteReader.h"

ByteReader::ByteReader(std::span<const std::uint8_t> data, AtEnd atEnd) : data_(data), atEnd_(atEnd)
{}

std::uint8_t ByteReader::Byte()
{
    if (position_ == data_.size()) {
        if (atEnd_ == AtEnd::Zeros || data_.empty())
            return 0;
        position_ = 0;
    }
    return data_[position_++];
}

std::uint16_t ByteReader::U16()
{
    const std::uint16_t low = Byte();
    return static_cast<std::uint16_t>(low | Byte() << 8);
}

std::uint32_t ByteReader::U32()
{
    const std::uint32_t low = U16();
    return low | std::uint32_t{U16()} << 16;
}

std::int64_t ByteReader::Int64()
{
    const std::uint64_t low = U32();
    return static_cast<std::int64_t>(low | std::uint64_t{U32()} << 32);
}

int ByteReader::InRange(int first, int last)
{
    const auto span = static_cast<std::uint64_t>(static_cast<std::int64_t>(last) - first) + 1;
    const std::uint64_t pick = span <= 256 ? Byte() : U32();
    return static_cast<int>(first + static_cast<std::int64_t>(pick % span));
}

std::span<const std::uint8_t> ByteReader::Take(std::size_t count)
{
    const std::size_t n = count < data_.size() - position_ ? count : data_.size() - position_;
    const auto taken = data_.subspan(position_, n);
    position_ += n;
    return taken;
}

std::string ByteReader::Text(std::size_t length)
{
    std::string text(length, '\0');
    for (char& c : text)
        c = static_cast<char>(Byte());
    return text;
}
