#pragma once

#include <string>
#include <string_view>

// Lower-cases ASCII letters only, as the game compares its file names: bytes of a code page's
// upper half stay as they are, whatever the locale.
inline std::string AsciiFold(std::string_view text)
{
    std::string folded(text);
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return folded;
}
