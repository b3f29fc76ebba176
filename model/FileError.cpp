#include "model/FileError.h"

#include <system_error>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#endif

namespace {

#ifdef _WIN32

// The whole text in the ANSI code page, like the system's message and like what the program
// decodes for display: path::string() is UTF-8 with MinGW's C++ library.
std::string NativePathText(const std::filesystem::path& path)
{
    const std::wstring& wide = path.native();
    if (wide.empty())
        return {};
    const int units = static_cast<int>(wide.size());
    const int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), units, text.data(), size, nullptr, nullptr);
    return text;
}

// FormatMessage's own text, without its closing ".\r\n" (as strerror has none). Asked for
// here because std::system_category() gives the C library's errno texts with older MinGW
// C++ libraries.
std::string SystemMessage(int code)
{
    char* buffer = nullptr;
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text(buffer != nullptr ? buffer : "", buffer != nullptr ? length : 0);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ' || text.back() == '.'))
        text.pop_back();
    return text.empty() ? "System error " + std::to_string(static_cast<DWORD>(code)) : text;
}

#else

std::string NativePathText(const std::filesystem::path& path)
{
    return path.string();
}

std::string SystemMessage(int code)
{
    return std::system_category().message(code);
}

#endif

} // namespace

FileError::FileError(const std::string& systemMessage, const std::filesystem::path& path)
    : std::runtime_error(systemMessage + ": " + NativePathText(path)), path_(path), reason_(systemMessage)
{}

FileError FileError::FromSystemCode(int code, const std::filesystem::path& path)
{
    return FileError(SystemMessage(code), path);
}

FileError::FileError(WholeText, const std::string& text, const std::filesystem::path& path)
    : std::runtime_error(text), path_(path), reason_(text)
{}

FileError FileError::Detected(const std::string& text, const std::filesystem::path& path)
{
    return FileError(WholeText{}, text, path);
}

std::string FileError::PathText(const std::filesystem::path& path)
{
    return NativePathText(path);
}
