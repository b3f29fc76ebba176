#include "ui/TextCodec.h"

#include <QList>

#include <array>

namespace {

// Code points of the bytes 0x80..0x9F. The five unassigned bytes map to the C1
// controls of the same number, as Windows itself does, so every byte round-trips.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

char32_t TextCodec::ToUnicode(char byte) noexcept
{
    const auto b = static_cast<unsigned char>(byte);
    return b >= 0x80 && b < 0xA0 ? kHighControls[b - 0x80] : b;
}

char TextCodec::FromUnicode(char32_t codePoint) noexcept
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<char>(codePoint);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == codePoint)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

QString TextCodec::Decode(std::string_view bytes)
{
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char byte : bytes)
        text.append(QChar(static_cast<char16_t>(ToUnicode(byte))));
    return text;
}

std::string TextCodec::Encode(const QString& text)
{
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    // Code points, not UTF-16 units: a character outside the BMP is one '?'.
    for (const char32_t c : text.toUcs4())
        bytes.push_back(FromUnicode(c));
    return bytes;
}
