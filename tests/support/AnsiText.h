#pragma once

#include <string>
#include <string_view>

// Windows only: text in the system's ANSI code page as UTF-16, the way the system itself
// reads it. The tests build non-ASCII paths and expected messages with it.
std::wstring FromAnsi(std::string_view text);
