#include "tests/support/WinePrefixWriter.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace {

// As Wine's own writer escapes a text: non-ASCII as \x with as few digits as the next
// character allows, controls as C or octal escapes, and a backslash before the backslash
// and before each of specials.
std::string Escape(std::u16string_view text, std::string_view specials)
{
    static constexpr std::string_view controls = ".......abtnvfr.............e....";
    std::string out;
    char buffer[16];
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        const char16_t next = i + 1 < text.size() ? text[i + 1] : u'\0';
        const bool hexNext =
            (next >= u'0' && next <= u'9') || (next >= u'a' && next <= u'f') || (next >= u'A' && next <= u'F');
        if (c > 127) {
            std::snprintf(buffer, sizeof buffer, hexNext ? "\\x%04x" : "\\x%x", static_cast<unsigned>(c));
            out += buffer;
        } else if (c < 32 && controls[c] != '.') {
            out.append({'\\', controls[c]});
        } else if (c < 32) {
            std::snprintf(buffer, sizeof buffer, next >= u'0' && next <= u'7' ? "\\%03o" : "\\%o",
                          static_cast<unsigned>(c));
            out += buffer;
        } else {
            if (c == u'\\' || specials.find(static_cast<char>(c)) != std::string_view::npos)
                out.push_back('\\');
            out.push_back(static_cast<char>(c));
        }
    }
    return out;
}

std::u16string Ascii(std::string_view text)
{
    return std::u16string(text.begin(), text.end());
}

std::string Line(std::string_view name, std::string_view data)
{
    return (name.empty() ? std::string("@") : "\"" + Escape(Ascii(name), "\"") + "\"") + "=" + std::string(data) + "\n";
}

std::string Text(std::u16string_view text)
{
    return "\"" + Escape(text, "\"") + "\"";
}

// Binary data as Wine writes it: comma-separated bytes, lines of at most 80 characters.
std::string Hex(std::string_view name, std::uint32_t type, std::size_t size, std::uint32_t seed)
{
    std::string line = Line(name, type == 3 ? "hex:" : "hex(" + std::to_string(type) + "):");
    line.pop_back();
    std::size_t width = line.size();
    for (std::size_t i = 0; i < size; ++i) {
        seed = seed * 1103515245u + 12345u;
        char byte[8];
        std::snprintf(byte, sizeof byte, "%02x%s", (seed >> 16) & 0xFFu, i + 1 < size ? "," : "");
        if (width + 3 > 79 && i + 1 < size) {
            line += "\\\n  ";
            width = 2;
        }
        line += byte;
        width += 3;
    }
    return line + "\n";
}

std::string Number(std::string_view name, std::uint32_t value)
{
    char data[24];
    std::snprintf(data, sizeof data, "dword:%08x", value);
    return Line(name, data);
}

} // namespace

bool WinePrefixWriter::Order::operator()(const std::string& a, const std::string& b) const
{
    const auto rank = [](char c) { return c == '\\' ? 0 : c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [&](char x, char y) { return rank(x) < rank(y); });
}

void WinePrefixWriter::Write(const std::filesystem::path& prefix, const std::filesystem::path& game)
{
    std::u16string windowsPath = u"Z:" + std::filesystem::absolute(game).lexically_normal().u16string();
    std::replace(windowsPath.begin(), windowsPath.end(), u'/', u'\\');
    WinePrefixWriter(prefix).Set(kGameKey32, "AppPath", windowsPath).Save();
}

WinePrefixWriter::WinePrefixWriter(std::filesystem::path prefix) : prefix_(std::move(prefix))
{}

WinePrefixWriter& WinePrefixWriter::Set(std::string_view key, std::string_view name, std::u16string_view text)
{
    keys_[std::string(key)] += Line(name, Text(text));
    return *this;
}

WinePrefixWriter& WinePrefixWriter::CodePage(int acp)
{
    std::string& values = keys_["System\\CurrentControlSet\\Control\\Nls\\Codepage"];
    for (const int page :
         {037, 437, 500, 737, 775,  850,  852,  855,  857,  860,  861,  863,  865,  866,  869,   874,  875,
          932, 936, 949, 950, 1026, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258, 10000, 20127})
        values += Line(std::to_string(page), Text(Ascii("c_" + std::to_string(page) + ".nls")));
    values += Line("ACP", Text(Ascii(std::to_string(acp))));
    values += Line("MACCP", Text(u"10000"));
    values += Line("OEMCP", Text(acp == 1251 ? u"866" : u"437"));
    return *this;
}

WinePrefixWriter& WinePrefixWriter::Fresh()
{
    std::uint32_t seed = 8;
    const auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed;
    };
    const auto guid = [&] {
        char text[48];
        std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%04X-%04X%08X}", next(), next() >> 16, next() >> 16,
                      next() >> 16, next() >> 16, next());
        return std::string(text);
    };
    static constexpr const char* dlls[] = {"ole32",   "shell32",  "quartz",   "msxml3",    "urlmon", "mshtml",
                                           "dxdiagn", "wbemprox", "oleaut32", "xaudio2_7", "qedit",  "devenum"};
    const auto dll = [&] { return Ascii(std::string("C:\\windows\\system32\\") + dlls[next() % 12] + ".dll"); };

    for (int i = 0; i < 450; ++i) {
        const std::string ext = "Software\\Classes\\.x" + std::to_string(i);
        keys_[ext] += Line("", Text(Ascii("x" + std::to_string(i) + "file")));
        if (i % 3 == 0)
            keys_[ext] += Line("Content Type", Text(Ascii("application/x-" + std::to_string(i))));
    }
    struct Classes {
        const char* key;
        int count;
    };
    for (const Classes classes :
         {Classes{"Software\\Classes\\CLSID\\", 1150}, Classes{"Software\\Classes\\Wow6432Node\\CLSID\\", 300}}) {
        for (int i = 0; i < classes.count; ++i) {
            const std::string key = classes.key + guid();
            keys_[key] += Line("", Text(Ascii("Wine Component " + std::to_string(i))));
            keys_[key + "\\InprocServer32"] += Line("", Text(dll())) + Line("ThreadingModel", Text(u"Both"));
            if (i % 4 == 0)
                keys_[key + "\\ProgID"] += Line("", Text(Ascii("Wine.Component." + std::to_string(i))));
        }
    }
    for (int i = 0; i < 140; ++i) {
        const std::string key = "Software\\Classes\\CLSID\\{083863F1-70DE-11D0-BD40-00A0C911CE86}\\Instance\\" + guid();
        keys_[key] += Line("CLSID", Text(Ascii(guid()))) +
                      Line("FriendlyName", Text(Ascii("Wine Filter " + std::to_string(i)))) +
                      Hex("FilterData", 3, 600, next());
    }
    for (int i = 0; i < 1250; ++i) {
        const std::string key = "Software\\Classes\\Interface\\" + guid();
        keys_[key] += Line("", Text(Ascii("IWineInterface" + std::to_string(i))));
        keys_[key + "\\NumMethods"] += Line("", Text(Ascii(std::to_string(3 + next() % 40))));
        keys_[key + "\\ProxyStubClsid32"] += Line("", Text(Ascii(guid())));
    }
    for (int i = 0; i < 760; ++i) {
        const std::string key =
            "Software\\Microsoft\\Cryptography\\OID\\EncodingType 1\\CryptDllDecodeObject\\1.3.6.1.4.1.311." +
            std::to_string(i);
        keys_[key] += Line("Dll", Text(dll())) + Line("FuncName", Text(Ascii("WineDecodeObject" + std::to_string(i))));
    }
    for (int i = 0; i < 140; ++i) {
        const std::string key =
            "Software\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones\\Zone " + std::to_string(i);
        keys_[key] +=
            Line("Display", Text(Ascii("(UTC+" + std::to_string(i % 14) + ":00) Zone " + std::to_string(i)))) +
            Line("Dlt", Text(u"Daylight Time")) + Line("MUI_Std", Text(u"@tzres.dll,-" + Ascii(std::to_string(i)))) +
            Line("Std", Text(u"Standard Time")) + Hex("TZI", 3, 44, next());
    }
    for (int i = 0; i < 160; ++i) {
        const std::string key = "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + guid();
        keys_[key] += Line("DisplayName", Text(Ascii("Wine Runtime " + std::to_string(i)))) +
                      Number("EstimatedSize", next() % 100000) + Line("UninstallString", Text(dll()));
    }
    for (int i = 0; i < 260; ++i) {
        const std::string key = "System\\CurrentControlSet\\Services\\WineService" + std::to_string(i);
        keys_[key] += Line("DisplayName", Text(Ascii("Wine Service " + std::to_string(i)))) +
                      Number("ErrorControl", 1) + Line("ImagePath", "str(2):" + Text(dll())) +
                      Number("Start", next() % 5) + Number("Type", 1 << (next() % 5));
        if (i % 5 == 0)
            keys_[key + "\\Parameters"] += Hex("Options", 3, 120, next());
    }
    if (!keys_.contains("System\\CurrentControlSet\\Control\\Nls\\Codepage"))
        CodePage(1252);
    return *this;
}

void WinePrefixWriter::Save() const
{
    std::filesystem::create_directories(prefix_ / "drive_c");
    std::filesystem::create_directories(prefix_ / "dosdevices");
    std::error_code noLinks; // Windows makes symbolic links for administrators only
    if (!std::filesystem::is_symlink(prefix_ / "dosdevices" / "c:", noLinks))
        std::filesystem::create_directory_symlink("../drive_c", prefix_ / "dosdevices" / "c:", noLinks);
    if (!std::filesystem::is_symlink(prefix_ / "dosdevices" / "z:", noLinks))
        std::filesystem::create_directory_symlink("/", prefix_ / "dosdevices" / "z:", noLinks);

    std::string text = "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n#arch=win64\n\n";
    for (const auto& [key, values] : keys_)
        text += "[" + Escape(Ascii(key), "[]") + "] 1796822174\n#time=1dd87df77529e6a\n" + values + "\n";
    std::ofstream reg(prefix_ / "system.reg", std::ios::binary | std::ios::trunc);
    reg.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!reg)
        throw std::runtime_error("cannot write " + (prefix_ / "system.reg").string());
}

std::filesystem::path WinePrefixWriter::MakeFolder(const std::filesystem::path& relative) const
{
    const std::filesystem::path folder = prefix_ / "drive_c" / relative;
    std::filesystem::create_directories(folder);
    return folder;
}
