#include "game/RegistryKey.h"

#include "game/UnicodeText.h"

bool RegistryKey::QueryString(std::string_view valueName, std::string& out)
{
    std::u16string units;
    if (!QueryString(valueName, units))
        return false;
    out = UnicodeText::ToUtf8(units);
    return true;
}
