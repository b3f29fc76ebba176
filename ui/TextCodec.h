#pragma once

#include <QString>

#include <string>
#include <string_view>

// The saved game stores its texts as single-byte Windows-1252. Every dialog converts
// through here so that no UTF-8 sequence ever reaches the file.
class TextCodec {
public:
    static QString Decode(std::string_view bytes);
    // One byte per character; a character Windows-1252 cannot hold becomes '?'.
    static std::string Encode(const QString& text);
};
