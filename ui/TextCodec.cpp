#include "ui/TextCodec.h"

#include "model/Windows1252.h"

#include <QList>

QString TextCodec::Decode(std::string_view bytes)
{
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char byte : bytes)
        text.append(QChar(static_cast<char16_t>(Windows1252::ToUnicode(byte))));
    return text;
}

std::string TextCodec::Encode(const QString& text)
{
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    // Code points, not UTF-16 units: a character outside the BMP is one '?'.
    for (const char32_t c : text.toUcs4())
        bytes.push_back(Windows1252::FromUnicode(c));
    return bytes;
}
