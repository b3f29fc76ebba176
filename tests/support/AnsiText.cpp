#include "tests/support/AnsiText.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

std::wstring FromAnsi(std::string_view text)
{
    std::wstring wide(text.size(), L'\0');
    const int units = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                                          static_cast<int>(wide.size()));
    wide.resize(static_cast<std::size_t>(units));
    return wide;
}
