#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// UTF-8 and UTF-16 both ways, and the case-blind compare Windows uses for registry and
// file names. Registry texts are UTF-16; native paths elsewhere than Windows are UTF-8.
class UnicodeText {
public:
    // The code point at text[pos], pos moved past it. A byte that starts no valid UTF-8
    // sequence is taken as Latin-1, as hand-edited files sometimes hold.
    static char32_t DecodeUtf8(std::string_view text, std::size_t& pos);
    static void AppendUtf8(std::string& out, char32_t c);
    static void AppendUtf16(std::u16string& out, char32_t c);
    // An unpaired surrogate becomes U+FFFD.
    static std::string ToUtf8(std::u16string_view units);
    static std::u16string ToUtf16(std::string_view text);

    // Simple case folding of ASCII, Latin-1, Greek and Cyrillic: the letters of the
    // folder names players use; everything else compares as it is.
    static char32_t FoldCase(char32_t c);
    static bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b);

    // The value of a hexadecimal digit, -1 for any other character.
    static int HexDigit(char c);
};
