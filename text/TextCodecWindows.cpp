#ifdef _WIN32

#include "text/TextCodec.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

// Qt on Windows may be built without ICU: the system's own conversions know every page by number.

bool TextCodec::Converts(const PageInfo& info, QByteArray& encoding)
{
    encoding = "windows-" + QByteArray::number(info.number);
    return IsValidCodePage(info.number) != 0;
}

QString TextCodec::Decoded(std::string_view plain) const
{
    if (plain.empty())
        return {};
    const UINT page = available_ ? info_->number : 1252;
    const int size = static_cast<int>(plain.size());
    const int units = MultiByteToWideChar(page, 0, plain.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(page, 0, plain.data(), size, wide.data(), units);
    return QString::fromStdWString(wide);
}

std::string TextCodec::Encoded(QStringView text, bool& complete) const
{
    complete = true;
    if (text.isEmpty())
        return {};
    const UINT page = available_ ? info_->number : 1252;
    const auto* wide = reinterpret_cast<const wchar_t*>(text.utf16());
    const int size = static_cast<int>(text.size());
    // No best fit: a character the page lacks is reported, never stored as a look-alike.
    BOOL usedDefault = FALSE;
    const int bytes = WideCharToMultiByte(page, WC_NO_BEST_FIT_CHARS, wide, size, nullptr, 0, nullptr, &usedDefault);
    std::string out(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(page, WC_NO_BEST_FIT_CHARS, wide, size, out.data(), bytes, nullptr, &usedDefault);
    complete = usedDefault == FALSE;
    return out;
}

#endif
