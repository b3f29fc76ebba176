#pragma once

#include <string>
#include <string_view>

// The single-byte code page of the saved game's texts (and of registry texts read from a
// Wine prefix). The dialogs convert QStrings through it; nothing else knows the table.
class Windows1252 {
public:
    // The byte for a Unicode code point; '?' where the code page has none.
    static char FromUnicode(char32_t codePoint) noexcept;
    static char32_t ToUnicode(char byte) noexcept;
    static std::string ToUtf8(std::string_view bytes);
};
