#include "RegistryKey.h"

#include "AsciiText.h"

#ifdef _WIN32

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <winreg.h>

RegistryKey::Handle RegistryKey::LocalMachine() noexcept
{
    return HKEY_LOCAL_MACHINE;
}

RegistryKey::RegistryKey(Handle root) noexcept : key_(root), root_(root)
{
}

bool RegistryKey::Open(Handle parent, std::string_view subKey)
{
    keyName_.assign(subKey);
    valueType_ = 0;
    valueSize_ = 0;
    HKEY opened = nullptr;
    // Reading only: asking for more fails for every user who is not an administrator.
    result_ = static_cast<std::int32_t>(RegOpenKeyExA(static_cast<HKEY>(parent), keyName_.c_str(), 0,
                                                      KEY_READ | KEY_WOW64_32KEY, &opened));
    if (result_ != ERROR_SUCCESS)
        return false;
    Close();
    key_ = opened;
    return true;
}

bool RegistryKey::QueryString(std::string_view valueName, std::string& out)
{
    const std::string name(valueName);
    char buffer[kBufferSize] = {};
    DWORD type = 0;
    DWORD size = sizeof buffer;
    result_ = static_cast<std::int32_t>(RegQueryValueExA(static_cast<HKEY>(key_), name.c_str(), nullptr, &type,
                                                         reinterpret_cast<BYTE*>(buffer), &size));
    const bool reported = result_ == ERROR_SUCCESS || result_ == ERROR_MORE_DATA;
    valueType_ = reported ? type : 0;
    valueSize_ = reported ? size : 0;
    if (result_ != ERROR_SUCCESS)
        return false;
    const std::string_view text(buffer, size < sizeof buffer ? size : sizeof buffer);
    out.assign(text.substr(0, text.find('\0')));
    return true;
}

void RegistryKey::Close() noexcept
{
    if (key_ != nullptr && key_ != root_)
        RegCloseKey(static_cast<HKEY>(key_));
    key_ = nullptr;
}

#else // the Wine prefix's system.reg

#include "Windows1252.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <unordered_map>
#include <vector>

struct RegistryKey::Node {
    std::string path;                     // lower-case, components joined by '\'
    std::vector<std::string_view> values; // value entries as written (into Hive::text)
};

struct RegistryKey::Hive {
    std::string text;
    std::unordered_map<std::string, Node> keys; // by path; element addresses are stable

    void Parse();
    Node& Add(const std::string& path);
    const Node* Find(const std::string& path) const
    {
        const auto it = keys.find(path);
        return it == keys.end() ? nullptr : &it->second;
    }
};

namespace {

constexpr std::string_view kHeader = "WINE REGISTRY Version 2";
constexpr std::size_t kMaxFileSize = 64u << 20; // far above any real prefix

struct Value {
    std::uint32_t type = 0;
    std::string data; // as the single-byte registry functions return it
};


int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Wine writes only ASCII, but a hand-written file may hold UTF-8 or Latin-1: a byte
// that starts no valid UTF-8 sequence is taken as Latin-1.
char32_t DecodeUtf8(std::string_view text, std::size_t& pos)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t length = 0;
    char32_t c = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        c = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        c = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        c = lead & 0x07u;
    }
    if (length != 0 && pos + length <= text.size()) {
        std::size_t i = 1;
        for (; i < length; ++i) {
            const auto b = static_cast<unsigned char>(text[pos + i]);
            if ((b & 0xC0u) != 0x80u)
                break;
            c = (c << 6) | (b & 0x3Fu);
        }
        const bool overlong = (length == 3 && c < 0x800) || (length == 4 && c < 0x10000);
        if (i == length && !overlong && c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF)) {
            pos += length;
            return c;
        }
    }
    ++pos;
    return lead;
}

void AppendUtf16(std::u16string& out, char32_t c)
{
    if (c < 0x10000) {
        out.push_back(static_cast<char16_t>(c));
    } else {
        c -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    }
}

// Wine's escaped text from text[pos] to the unescaped end character, which pos is left
// after. False when the end character is missing.
bool Unescape(std::string_view text, std::size_t& pos, char end, std::u16string& out)
{
    while (pos < text.size()) {
        const char c = text[pos];
        if (c == end) {
            ++pos;
            return true;
        }
        if (c != '\\') {
            AppendUtf16(out, DecodeUtf8(text, pos));
            continue;
        }
        if (++pos == text.size())
            return false;
        const char e = text[pos++];
        switch (e) {
        case 'a': out.push_back(u'\a'); break;
        case 'b': out.push_back(u'\b'); break;
        case 'e': out.push_back(u'\x1B'); break;
        case 'f': out.push_back(u'\f'); break;
        case 'n': out.push_back(u'\n'); break;
        case 'r': out.push_back(u'\r'); break;
        case 't': out.push_back(u'\t'); break;
        case 'v': out.push_back(u'\v'); break;
        case 'x': {
            unsigned value = 0;
            int digits = 0;
            while (digits < 4 && pos < text.size() && HexDigit(text[pos]) >= 0) {
                value = value * 16 + static_cast<unsigned>(HexDigit(text[pos++]));
                ++digits;
            }
            out.push_back(digits == 0 ? u'x' : static_cast<char16_t>(value));
            break;
        }
        default:
            if (e >= '0' && e <= '7') {
                unsigned value = static_cast<unsigned>(e - '0');
                for (int digits = 1; digits < 3 && pos < text.size() && text[pos] >= '0' && text[pos] <= '7';
                     ++digits)
                    value = value * 8 + static_cast<unsigned>(text[pos++] - '0');
                out.push_back(static_cast<char16_t>(value));
            } else {
                // Any other escaped character stands for itself: \\ \" \[ \].
                --pos;
                AppendUtf16(out, DecodeUtf8(text, pos));
            }
        }
    }
    return false;
}

// UTF-16 to single bytes, as the ANSI registry functions return texts.
std::string ToSingleByte(std::u16string_view units)
{
    std::string bytes;
    bytes.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t u = units[i];
        const bool pair = u >= 0xD800 && u <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
                          units[i + 1] <= 0xDFFF;
        if (pair)
            ++i; // one character, one '?'
        bytes.push_back(pair ? '?' : Windows1252::FromUnicode(u));
    }
    return bytes;
}

// parent + '\' + subKey in lower case; false when subKey has an empty component.
bool JoinPath(std::string_view parent, std::string_view subKey, std::string& out)
{
    out.assign(parent);
    if (subKey.empty())
        return true;
    for (std::size_t start = 0;;) {
        const std::size_t end = subKey.find('\\', start);
        const std::string_view part = subKey.substr(start, end == std::string_view::npos ? end : end - start);
        if (part.empty())
            return false;
        if (!out.empty())
            out.push_back('\\');
        for (const char c : part)
            out.push_back(LowerAscii(c));
        if (end == std::string_view::npos)
            return true;
        start = end + 1;
    }
}

// The view a 64-bit prefix gives 32-bit programs: Software\X lives in Software\Wow6432Node\X.
// Only 64-bit prefixes have that key, so trying it first is harmless in a 32-bit one.
std::optional<std::string> Redirected(const std::string& path)
{
    constexpr std::string_view software = "software\\";
    constexpr std::string_view node = "wow6432node";
    if (!path.starts_with(software))
        return std::nullopt;
    const std::string_view rest = std::string_view(path).substr(software.size());
    if (rest == node || (rest.starts_with(node) && rest[node.size()] == '\\'))
        return std::nullopt;
    return std::string(software) + std::string(node) + '\\' + std::string(rest);
}

// "N)" with N in hexadecimal, as in str(2) and hex(7).
std::optional<std::uint32_t> ParseType(std::string_view text, std::size_t& pos)
{
    std::uint32_t type = 0;
    int digits = 0;
    while (pos < text.size() && HexDigit(text[pos]) >= 0 && digits < 8) {
        type = type * 16 + static_cast<std::uint32_t>(HexDigit(text[pos++]));
        ++digits;
    }
    if (digits == 0 || pos >= text.size() || text[pos] != ')')
        return std::nullopt;
    ++pos;
    return type;
}

bool IsStringType(std::uint32_t type)
{
    return type == 1 || type == 2 || type == 7; // REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ
}

std::optional<Value> StringValue(std::uint32_t type, std::string_view text, std::size_t pos)
{
    std::u16string units;
    if (!Unescape(text, pos, '"', units))
        return std::nullopt;
    units.push_back(u'\0'); // stored with its terminator
    return Value{type, ToSingleByte(units)};
}

// Comma-separated hex bytes, continued over lines ending in a backslash.
std::optional<Value> HexValue(std::uint32_t type, std::string_view text, std::size_t pos)
{
    std::string bytes;
    while (pos < text.size()) {
        const char c = text[pos];
        if (c == ',' || c == '\\' || c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            ++pos;
            continue;
        }
        if (pos + 1 >= text.size() || HexDigit(c) < 0 || HexDigit(text[pos + 1]) < 0)
            return std::nullopt;
        bytes.push_back(static_cast<char>(HexDigit(c) * 16 + HexDigit(text[pos + 1])));
        pos += 2;
    }
    if (!IsStringType(type))
        return Value{type, std::move(bytes)};
    std::u16string units; // string types are stored as UTF-16LE
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                              static_cast<unsigned char>(bytes[i + 1]) << 8));
    return Value{type, ToSingleByte(units)};
}

std::optional<Value> DecodeData(std::string_view text)
{
    if (text.starts_with('"'))
        return StringValue(1, text, 1);
    std::size_t pos = 0;
    if (text.starts_with("str(")) {
        pos = 4;
        const auto type = ParseType(text, pos);
        if (!type || text.substr(pos, 2) != ":\"")
            return std::nullopt;
        return StringValue(*type, text, pos + 2);
    }
    if (text.starts_with("hex:"))
        return HexValue(3, text, 4);
    if (text.starts_with("hex(")) {
        pos = 4;
        const auto type = ParseType(text, pos);
        if (!type || pos >= text.size() || text[pos] != ':')
            return std::nullopt;
        return HexValue(*type, text, pos + 1);
    }
    if (text.starts_with("dword:")) {
        std::uint32_t number = 0;
        int digits = 0;
        for (pos = 6; pos < text.size() && HexDigit(text[pos]) >= 0 && digits < 8; ++pos, ++digits)
            number = number * 16 + static_cast<std::uint32_t>(HexDigit(text[pos]));
        if (digits == 0)
            return std::nullopt;
        std::string bytes(4, '\0');
        for (int i = 0; i < 4; ++i)
            bytes[static_cast<std::size_t>(i)] = static_cast<char>((number >> (8 * i)) & 0xFFu);
        return Value{4, std::move(bytes)};
    }
    return std::nullopt;
}

// The entry's value when its name is valueName (names compare without regard to case).
std::optional<Value> DecodeEntry(std::string_view entry, std::string_view valueName)
{
    std::size_t pos = 1;
    std::string name; // "@" is the default value, whose name is empty
    if (entry.starts_with('"')) {
        std::u16string units;
        if (!Unescape(entry, pos, '"', units))
            return std::nullopt;
        name = ToSingleByte(units);
    }
    if (!EqualsIgnoringCase(name, valueName) || pos >= entry.size() || entry[pos] != '=')
        return std::nullopt;
    return DecodeData(entry.substr(pos + 1));
}

// Reads the whole file; empty when it cannot be read or is implausibly large.
std::string ReadFile(const std::filesystem::path& path)
{
    std::string text;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return text;
    char chunk[65536];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0 && text.size() <= kMaxFileSize)
        text.append(chunk, got);
    const bool failed = std::ferror(file) != 0 || text.size() > kMaxFileSize;
    std::fclose(file);
    if (failed)
        text.clear();
    return text;
}

const RegistryKey::Node& LocalMachineNode()
{
    static const RegistryKey::Node root{};
    return root;
}

} // namespace

RegistryKey::Node& RegistryKey::Hive::Add(const std::string& path)
{
    const auto [it, added] = keys.try_emplace(path);
    if (added) {
        it->second.path = path;
        // The file lists keys with values; the keys above them exist all the same.
        std::string_view above = path;
        for (auto sep = above.rfind('\\'); sep != std::string_view::npos; sep = above.rfind('\\')) {
            above = above.substr(0, sep);
            const auto [parent, parentAdded] = keys.try_emplace(std::string(above));
            if (!parentAdded)
                break;
            parent->second.path = above;
        }
    }
    return it->second;
}

void RegistryKey::Hive::Parse()
{
    keys.reserve(text.size() / 128); // about one key per 128 bytes in Wine's files
    Add(std::string());              // the root, HKEY_LOCAL_MACHINE itself
    const std::string_view all = text;
    std::size_t next = 0;
    const auto nextLine = [&](std::string_view& line) {
        if (next >= all.size())
            return false;
        std::size_t end = all.find('\n', next);
        if (end == std::string_view::npos)
            end = all.size();
        line = all.substr(next, end - next);
        next = end + 1;
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        return true;
    };

    std::string_view line;
    if (!nextLine(line) || line != kHeader)
        return;
    Node* current = nullptr;
    std::string path;
    while (nextLine(line)) {
        if (line.starts_with('[')) {
            current = nullptr;
            std::size_t pos = 1;
            std::u16string name;
            if (Unescape(line, pos, ']', name) && JoinPath({}, ToSingleByte(name), path))
                current = &Add(path);
        } else if (line.starts_with('"') || line.starts_with('@')) {
            const char* begin = line.data();
            std::string_view last = line;
            while (last.ends_with('\\') && next < all.size() && (all[next] == ' ' || all[next] == '\t') &&
                   nextLine(last)) {
            }
            if (current != nullptr)
                current->values.emplace_back(begin, static_cast<std::size_t>(last.data() + last.size() - begin));
        }
    }
}

RegistryKey::Handle RegistryKey::LocalMachine() noexcept
{
    return &LocalMachineNode();
}

RegistryKey::RegistryKey(Handle root) noexcept : key_(root)
{
}

std::filesystem::path RegistryKey::WinePrefix()
{
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix != nullptr && *prefix != '\0')
        return prefix;
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        return std::filesystem::path(home) / ".wine";
    return {};
}

const RegistryKey::Hive& RegistryKey::Loaded()
{
    if (!hive_) {
        hive_ = std::make_unique<Hive>();
        if (const auto prefix = WinePrefix(); !prefix.empty())
            hive_->text = ReadFile(prefix / "system.reg");
        hive_->Parse();
    }
    return *hive_;
}

bool RegistryKey::Open(Handle parent, std::string_view subKey)
{
    keyName_.assign(subKey);
    valueType_ = 0;
    valueSize_ = 0;
    if (parent == nullptr) {
        result_ = kInvalidHandle;
        return false;
    }
    const Hive& hive = Loaded();
    const Node* found = nullptr;
    std::string path;
    if (JoinPath(parent->path, subKey, path)) {
        if (const auto redirected = Redirected(path))
            found = hive.Find(*redirected);
        if (found == nullptr)
            found = hive.Find(path);
    }
    if (found == nullptr) {
        result_ = kNotFound;
        return false;
    }
    result_ = kSuccess;
    key_ = found; // a key of the prefix holds nothing to release
    return true;
}

bool RegistryKey::QueryString(std::string_view valueName, std::string& out)
{
    valueType_ = 0;
    valueSize_ = 0;
    if (key_ == nullptr) {
        result_ = kInvalidHandle;
        return false;
    }
    std::optional<Value> value;
    if (const Node* node = Loaded().Find(key_->path)) {
        // The last entry of a name wins, as when the file is loaded into the registry.
        for (auto it = node->values.rbegin(); it != node->values.rend() && !value; ++it)
            value = DecodeEntry(*it, valueName);
    }
    if (!value) {
        result_ = kNotFound;
        return false;
    }
    valueType_ = value->type;
    valueSize_ = static_cast<std::uint32_t>(value->data.size());
    if (value->data.size() > kBufferSize) {
        result_ = kMoreData;
        return false;
    }
    result_ = kSuccess;
    out.assign(value->data, 0, value->data.find('\0'));
    return true;
}

void RegistryKey::Close() noexcept
{
    key_ = nullptr;
}

#endif

RegistryKey::~RegistryKey()
{
    Close();
}
