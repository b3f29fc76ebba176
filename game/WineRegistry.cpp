#include "game/WineRegistry.h"

#include "game/SmallFile.h"
#include "game/UnicodeText.h"

#include <algorithm>

namespace {

constexpr std::string_view kHeader = "WINE REGISTRY Version 2";
constexpr std::uintmax_t kMaxFileSize = 64u << 20; // far above any real prefix

constexpr std::uint32_t kString = 1;       // REG_SZ
constexpr std::uint32_t kExpandString = 2; // REG_EXPAND_SZ
constexpr std::uint32_t kBinary = 3;       // REG_BINARY
constexpr std::uint32_t kNumber = 4;       // REG_DWORD

// The C escapes Wine writes for control characters, and what each stands for.
constexpr std::string_view kSimpleEscapes = "abefnrtv";
constexpr std::u16string_view kSimpleUnits = u"\a\b\x1B\f\n\r\t\v";
static_assert(kSimpleEscapes.size() == kSimpleUnits.size());

// Wine's escaped text, one UTF-16 unit at a time, up to an unescaped end character.
struct Escaped {
    std::string_view text;
    std::size_t pos;
    char end;
    char16_t pending = 0; // the second half of a surrogate pair
    bool closed = false;  // stopped at the end character, pos past it

    // False at the end character or where the text runs out.
    bool Next(char16_t& unit)
    {
        if (pending != 0) {
            unit = pending;
            pending = 0;
            return true;
        }
        if (pos >= text.size())
            return false;
        const char c = text[pos];
        if (c == end) {
            ++pos;
            closed = true;
            return false;
        }
        if (c != '\\')
            return Character(unit);
        if (++pos == text.size())
            return false;
        const char e = text[pos++];
        if (const std::size_t simple = kSimpleEscapes.find(e); simple != std::string_view::npos) {
            unit = kSimpleUnits[simple];
            return true;
        }
        if (e == 'x') {
            // At most four hex digits: one UTF-16 unit.
            unsigned value = 0;
            int digits = 0;
            for (; digits < 4 && pos < text.size() && UnicodeText::HexDigit(text[pos]) >= 0; ++digits)
                value = value * 16 + static_cast<unsigned>(UnicodeText::HexDigit(text[pos++]));
            unit = digits == 0 ? u'x' : static_cast<char16_t>(value);
            return true;
        }
        if (e >= '0' && e <= '7') {
            unsigned value = static_cast<unsigned>(e - '0');
            for (int digits = 1; digits < 3 && pos < text.size() && text[pos] >= '0' && text[pos] <= '7'; ++digits)
                value = value * 8 + static_cast<unsigned>(text[pos++] - '0');
            unit = static_cast<char16_t>(value);
            return true;
        }
        --pos; // any other escaped character stands for itself: \\ \" \[ \]
        return Character(unit);
    }

    // Everything up to the end character; nothing when it is missing.
    std::optional<std::u16string> Rest()
    {
        std::u16string units;
        for (char16_t unit = 0; Next(unit);)
            units.push_back(unit);
        return closed ? std::optional<std::u16string>(std::move(units)) : std::nullopt;
    }

private:
    bool Character(char16_t& unit)
    {
        if (static_cast<unsigned char>(text[pos]) < 0x80) {
            unit = static_cast<char16_t>(text[pos++]);
            return true;
        }
        std::u16string units;
        UnicodeText::AppendUtf16(units, UnicodeText::DecodeUtf8(text, pos));
        unit = units[0];
        if (units.size() > 1)
            pending = units[1];
        return true;
    }
};

std::u16string Folded(std::u16string_view text)
{
    std::u16string folded(text);
    for (char16_t& unit : folded)
        unit = static_cast<char16_t>(UnicodeText::FoldCase(unit));
    return folded;
}

// The folded name of one key line, decoded only as far as some wanted key needs.
class KeyLine {
public:
    void Reset(std::string_view line)
    {
        reader_ = Escaped{line, 1, ']'};
        units_.clear();
        done_ = false;
    }

    enum class Match { None, Exact, Above };

    Match Compare(std::u16string_view wanted)
    {
        char16_t unit = 0;
        for (std::size_t i = 0; i < wanted.size(); ++i) {
            if (!At(i, unit) || unit != wanted[i])
                return Match::None;
        }
        const bool longer = At(wanted.size(), unit);
        if (longer && unit != u'\\')
            return Match::None;
        At(std::u16string::npos, unit); // a key line cut short names no key
        if (!reader_.closed)
            return Match::None;
        return longer ? Match::Above : Match::Exact;
    }

    // The bytes of the line that decided the comparisons so far, when decoding them depended
    // on nothing after them (no escape but the separator \\, no byte outside ASCII); empty
    // otherwise.
    std::string_view Decided() const
    {
        const std::string_view read = reader_.text.substr(0, reader_.pos);
        for (std::size_t i = 0; i < read.size(); ++i) {
            if (static_cast<unsigned char>(read[i]) >= 0x80 || (read[i] == '\\' && read.substr(++i, 1) != "\\"))
                return {};
        }
        return read;
    }

private:
    bool At(std::size_t i, char16_t& unit)
    {
        while (units_.size() <= i && !done_) {
            char16_t next = 0;
            if (reader_.Next(next))
                units_.push_back(static_cast<char16_t>(UnicodeText::FoldCase(next)));
            else
                done_ = true;
        }
        if (i >= units_.size())
            return false;
        unit = units_[i];
        return true;
    }

    Escaped reader_{{}, 0, ']'};
    std::u16string units_; // kept from line to line: no allocation per key
    bool done_ = false;
};

// The line at pos (without its "\r\n"), pos moved to the next line.
std::string_view NextLine(std::string_view text, std::size_t& pos)
{
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos)
        end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    if (line.ends_with('\r'))
        line.remove_suffix(1);
    return line;
}

// The '[' that starts the next key line at or after pos, or npos.
std::size_t NextKeyLine(std::string_view text, std::size_t pos)
{
    for (;; ++pos) {
        pos = text.find('[', pos);
        if (pos == std::string_view::npos || pos == 0 || text[pos - 1] == '\n')
            return pos;
    }
}

std::string LittleEndian(std::u16string_view units)
{
    std::string bytes;
    bytes.reserve(units.size() * 2);
    for (const char16_t unit : units) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

// "N)" with N in hexadecimal, as in str(2) and hex(7).
std::optional<std::uint32_t> ParseType(std::string_view text, std::size_t& pos)
{
    std::uint32_t type = 0;
    int digits = 0;
    for (; digits < 8 && pos < text.size() && UnicodeText::HexDigit(text[pos]) >= 0; ++digits)
        type = type * 16 + static_cast<std::uint32_t>(UnicodeText::HexDigit(text[pos++]));
    if (digits == 0 || pos >= text.size() || text[pos] != ')')
        return std::nullopt;
    ++pos;
    return type;
}

std::optional<WineRegistry::Value> StringValue(std::uint32_t type, std::string_view text, std::size_t pos)
{
    auto units = Escaped{text, pos, '"'}.Rest();
    if (!units)
        return std::nullopt;
    units->push_back(u'\0'); // stored with its terminator
    return WineRegistry::Value{type, LittleEndian(*units)};
}

// Comma-separated hex bytes, continued over lines ending in a backslash.
std::optional<WineRegistry::Value> HexValue(std::uint32_t type, std::string_view text, std::size_t pos)
{
    std::string bytes;
    while (pos < text.size()) {
        const char c = text[pos];
        if (c == ',' || c == '\\' || c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            ++pos;
            continue;
        }
        if (pos + 1 >= text.size() || UnicodeText::HexDigit(c) < 0 || UnicodeText::HexDigit(text[pos + 1]) < 0)
            return std::nullopt;
        bytes.push_back(static_cast<char>(UnicodeText::HexDigit(c) * 16 + UnicodeText::HexDigit(text[pos + 1])));
        pos += 2;
    }
    return WineRegistry::Value{type, std::move(bytes)};
}

std::optional<WineRegistry::Value> DecodeData(std::string_view text)
{
    if (text.starts_with('"'))
        return StringValue(kString, text, 1);
    std::size_t pos = 4;
    if (text.starts_with("str(")) {
        const auto type = ParseType(text, pos);
        if (!type || text.substr(pos, 2) != ":\"")
            return std::nullopt;
        return StringValue(*type, text, pos + 2);
    }
    if (text.starts_with("hex:"))
        return HexValue(kBinary, text, 4);
    if (text.starts_with("hex(")) {
        const auto type = ParseType(text, pos);
        if (!type || pos >= text.size() || text[pos] != ':')
            return std::nullopt;
        return HexValue(*type, text, pos + 1);
    }
    if (text.starts_with("dword:")) {
        std::uint32_t number = 0;
        int digits = 0;
        for (pos = 6; digits < 8 && pos < text.size() && UnicodeText::HexDigit(text[pos]) >= 0; ++pos, ++digits)
            number = number * 16 + static_cast<std::uint32_t>(UnicodeText::HexDigit(text[pos]));
        if (digits == 0)
            return std::nullopt;
        std::string bytes(4, '\0');
        for (std::size_t i = 0; i < 4; ++i)
            bytes[i] = static_cast<char>((number >> (8 * i)) & 0xFFu);
        return WineRegistry::Value{kNumber, std::move(bytes)};
    }
    return std::nullopt;
}

// Where the entry's data starts when the entry is named name (folded); npos otherwise.
std::size_t DataOf(std::string_view entry, std::u16string_view name)
{
    if (entry.starts_with('@'))
        return name.empty() && entry.substr(1, 1) == "=" ? 2 : std::string_view::npos;
    Escaped reader{entry, 1, '"'};
    std::size_t i = 0;
    for (char16_t unit = 0; reader.Next(unit); ++i) {
        if (i >= name.size() || UnicodeText::FoldCase(unit) != name[i])
            return std::string_view::npos;
    }
    if (!reader.closed || i != name.size() || entry.substr(reader.pos, 1) != "=")
        return std::string_view::npos;
    return reader.pos + 1;
}

} // namespace

WineRegistry::WineRegistry(std::string text) : text_(std::move(text))
{
    std::size_t pos = 0;
    if (NextLine(text_, pos) != kHeader) {
        text_.clear();
        pos = 0;
    }
    firstKey_ = std::min(pos, text_.size());
}

WineRegistry WineRegistry::Read(const std::filesystem::path& file)
{
    // Unread, the text is empty: a registry without keys, as WineRegistry() is.
    return WineRegistry(SmallFile::Read(file, kMaxFileSize));
}

std::vector<WineRegistry::Key> WineRegistry::Find(std::span<const std::u16string> paths) const
{
    std::vector<Key> keys(paths.size());
    std::vector<std::u16string> wanted;
    wanted.reserve(paths.size());
    for (const std::u16string& path : paths)
        wanted.push_back(Folded(path));

    const std::string_view all = text_;
    KeyLine line;
    // Wine writes keys in tree order: thousands of key lines in a row begin with the same
    // bytes, and a line that begins with the bytes that made the last one match nothing
    // matches nothing either.
    std::string_view unwanted;
    for (std::size_t at = NextKeyLine(all, firstKey_); at != std::string_view::npos;) {
        if (!unwanted.empty() && all.substr(at).starts_with(unwanted)) {
            at = NextKeyLine(all, at + 1);
            continue;
        }
        std::size_t pos = at;
        line.Reset(NextLine(all, pos));
        const std::size_t values = std::min(pos, all.size());
        at = NextKeyLine(all, values);
        const std::string_view listing = all.substr(values, at == std::string_view::npos ? at : at - values);
        bool matched = false;
        for (std::size_t i = 0; i < wanted.size(); ++i) {
            if (wanted[i].empty())
                continue;
            const KeyLine::Match match = line.Compare(wanted[i]);
            matched = matched || match != KeyLine::Match::None;
            keys[i].exists = keys[i].exists || match != KeyLine::Match::None;
            if (match == KeyLine::Match::Exact)
                keys[i].listings.push_back(listing);
        }
        unwanted = matched ? std::string_view() : line.Decided();
    }
    return keys;
}

std::optional<WineRegistry::Value> WineRegistry::Query(const Key& key, std::u16string_view name)
{
    const std::u16string wanted = Folded(name);
    std::optional<std::string_view> last;
    for (const std::string_view listing : key.listings) {
        for (std::size_t pos = 0; pos < listing.size();) {
            const std::string_view line = NextLine(listing, pos);
            if (!line.starts_with('"') && !line.starts_with('@'))
                continue;
            const std::size_t data = DataOf(line, wanted);
            if (data == std::string_view::npos)
                continue;
            // Hex data goes on over indented lines after a trailing backslash.
            std::string_view end = line;
            while (end.ends_with('\\') && pos < listing.size() && (listing[pos] == ' ' || listing[pos] == '\t'))
                end = NextLine(listing, pos);
            const std::size_t length = static_cast<std::size_t>(end.data() + end.size() - line.data());
            last = std::string_view(line.data(), length).substr(data);
        }
    }
    return last ? DecodeData(*last) : std::nullopt;
}

std::u16string WineRegistry::Text(const Value& value)
{
    std::u16string units;
    for (std::size_t i = 0; i + 1 < value.data.size(); i += 2) {
        const auto unit = static_cast<char16_t>(static_cast<unsigned char>(value.data[i]) |
                                                static_cast<unsigned char>(value.data[i + 1]) << 8);
        if (unit == u'\0')
            break;
        units.push_back(unit);
    }
    return units;
}

std::u16string WineRegistry::Wow64Path(std::u16string_view path)
{
    constexpr std::u16string_view software = u"software\\";
    constexpr std::u16string_view node = u"wow6432node";
    const std::u16string folded = Folded(path);
    if (!folded.starts_with(software))
        return {};
    const std::u16string_view rest = std::u16string_view(folded).substr(software.size());
    if (rest == node || rest.starts_with(std::u16string(node) + u'\\'))
        return {};
    return std::u16string(u"Software\\Wow6432Node\\").append(path.substr(software.size()));
}

std::uint32_t WineRegistry::AnsiCodePage() const
{
    const std::u16string codePages = u"\\Control\\Nls\\Codepage";
    const std::u16string controlSet = u"System\\CurrentControlSet";
    const std::vector<std::u16string> paths = {controlSet + codePages, controlSet};
    const std::vector<Key> keys = Find(paths);
    auto acp = Query(keys[0], u"ACP");
    if (!acp) {
        // Where CurrentControlSet is a link ("\Registry\Machine\System\ControlSet001"), follow it.
        constexpr std::u16string_view machine = u"\\registry\\machine\\";
        const auto link = Query(keys[1], u"SymbolicLinkValue");
        const std::u16string target = link ? Text(*link) : std::u16string();
        if (Folded(target).starts_with(machine)) {
            const std::vector<std::u16string> linked = {target.substr(machine.size()) + codePages};
            acp = Query(Find(linked)[0], u"ACP");
        }
    }
    if (!acp || (acp->type != kString && acp->type != kExpandString))
        return 0;
    const std::u16string digits = Text(*acp);
    std::uint32_t number = 0;
    for (const char16_t unit : digits) {
        if (unit < u'0' || unit > u'9' || number > 65535)
            return 0;
        number = number * 10 + (unit - u'0');
    }
    return number <= 65535 ? number : 0;
}

std::uint32_t WineRegistry::AnsiCodePageOf(const std::filesystem::path& prefix)
{
    return Read(prefix / "system.reg").AnsiCodePage();
}
