#ifdef _WIN32

#include "game/RegistryKey.h"

#include "game/UnicodeText.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <winreg.h>

namespace {

std::wstring Wide(std::string_view utf8)
{
    const std::u16string units = UnicodeText::ToUtf16(utf8);
    return std::wstring(units.begin(), units.end());
}

} // namespace

RegistryKey::Handle RegistryKey::LocalMachine() noexcept
{
    return HKEY_LOCAL_MACHINE;
}

RegistryKey::RegistryKey(Handle root) noexcept : key_(root), root_(root)
{}

RegistryKey::~RegistryKey()
{
    Close();
}

bool RegistryKey::Open(Handle parent, std::string_view subKey)
{
    keyName_.assign(subKey);
    valueType_ = 0;
    valueSize_ = 0;
    HKEY opened = nullptr;
    // Reading only: asking for more fails for every user who is not an administrator.
    result_ = static_cast<std::int32_t>(
        RegOpenKeyExW(static_cast<HKEY>(parent), Wide(subKey).c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &opened));
    if (result_ != ERROR_SUCCESS)
        return false;
    Close();
    key_ = opened;
    return true;
}

bool RegistryKey::QueryString(std::string_view valueName, std::u16string& out)
{
    wchar_t buffer[kBufferSize / sizeof(wchar_t)] = {};
    DWORD type = 0;
    DWORD size = sizeof buffer;
    result_ = static_cast<std::int32_t>(RegQueryValueExW(static_cast<HKEY>(key_), Wide(valueName).c_str(), nullptr,
                                                         &type, reinterpret_cast<BYTE*>(buffer), &size));
    const bool reported = result_ == ERROR_SUCCESS || result_ == ERROR_MORE_DATA;
    valueType_ = reported ? type : 0;
    valueSize_ = reported ? size : 0;
    if (result_ != ERROR_SUCCESS)
        return false;
    const std::wstring_view text(buffer, (size < sizeof buffer ? size : sizeof buffer) / sizeof(wchar_t));
    const std::wstring_view used = text.substr(0, text.find(L'\0'));
    out.assign(used.begin(), used.end());
    return true;
}

void RegistryKey::Close() noexcept
{
    if (key_ != nullptr && key_ != root_)
        RegCloseKey(static_cast<HKEY>(key_));
    key_ = nullptr;
}

#endif
