#include "game/LauncherConfig.h"

#include "game/UnicodeText.h"

#include <algorithm>
#include <optional>

namespace {

constexpr int kMaxDepth = 64; // far deeper than any real file; keeps the stack small

// JSON's one-letter escapes, and what each stands for.
constexpr std::string_view kJsonEscapes = "\"\\/bfnrt";
constexpr std::string_view kJsonMeanings = "\"\\/\b\f\n\r\t";
static_assert(kJsonEscapes.size() == kJsonMeanings.size());

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// digits hex digits at pos, pos moved past them.
std::optional<char32_t> Hex(std::string_view text, std::size_t& pos, int digits)
{
    char32_t value = 0;
    for (int i = 0; i < digits; ++i, ++pos) {
        if (pos >= text.size() || UnicodeText::HexDigit(text[pos]) < 0)
            return std::nullopt;
        value = value * 16 + static_cast<char32_t>(UnicodeText::HexDigit(text[pos]));
    }
    return value;
}

bool IsNumber(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (UnicodeText::FoldCase(static_cast<unsigned char>(a[i])) !=
            UnicodeText::FoldCase(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

// Valve's KeyValues text: "key" "value" pairs and "key" { ... } blocks, // comments,
// and conditions such as [$WIN32] after an entry.
class Vdf {
public:
    explicit Vdf(std::string_view text) : text_(text) {}

    std::optional<std::vector<std::string>> Paths()
    {
        std::vector<std::string> paths;
        if (!Block(0, paths))
            return std::nullopt;
        return paths;
    }

private:
    // Entries up to the closing brace (or the end of the text at depth 0).
    bool Block(int depth, std::vector<std::string>& paths)
    {
        if (depth > kMaxDepth)
            return false;
        while (Skip()) {
            if (text_[pos_] == '}') {
                ++pos_;
                return depth > 0;
            }
            const auto key = Token();
            if (!key || !Skip())
                return false;
            if (text_[pos_] == '{') {
                ++pos_;
                if (!Block(depth + 1, paths))
                    return false;
            } else {
                const auto value = Token();
                if (!value)
                    return false;
                // The older form lists the libraries as "1" "/path" right in the root block.
                if (EqualsIgnoringCase(*key, "path") || (depth == 1 && IsNumber(*key)))
                    paths.push_back(*value);
            }
            if (Skip() && text_[pos_] == '[' && !Token())
                return false;
        }
        return depth == 0;
    }

    // Skips blanks and comments; false at the end of the text.
    bool Skip()
    {
        for (;;) {
            while (pos_ < text_.size() && IsSpace(text_[pos_]))
                ++pos_;
            if (text_.substr(pos_, 2) != "//")
                return pos_ < text_.size();
            pos_ = text_.find('\n', pos_);
            if (pos_ == std::string_view::npos)
                pos_ = text_.size();
        }
    }

    std::optional<std::string> Token()
    {
        std::string token;
        if (text_[pos_] != '"') {
            while (pos_ < text_.size() && !IsSpace(text_[pos_]) && text_[pos_] != '{' && text_[pos_] != '}' &&
                   text_[pos_] != '"')
                token.push_back(text_[pos_++]);
            return token.empty() ? std::nullopt : std::optional<std::string>(token);
        }
        for (++pos_; pos_ < text_.size(); ++pos_) {
            char c = text_[pos_];
            if (c == '"') {
                ++pos_;
                return token;
            }
            if (c == '\\' && pos_ + 1 < text_.size()) {
                c = text_[++pos_];
                c = c == 'n' ? '\n' : c == 't' ? '\t' : c;
            }
            token.push_back(c);
        }
        return std::nullopt;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

// JSON, all of it checked, keeping the strings of one key.
class Json {
public:
    Json(std::string_view text, std::string_view key) : text_(text), key_(key) {}

    std::optional<std::vector<std::string>> Values()
    {
        if (!Element(0) || Skip())
            return std::nullopt;
        return found_;
    }

private:
    bool Element(int depth)
    {
        if (depth > kMaxDepth || !Skip())
            return false;
        const char c = text_[pos_];
        if (c == '{')
            return Members(depth);
        if (c == '[')
            return Items(depth);
        if (c == '"')
            return String().has_value();
        for (const std::string_view word : {"true", "false", "null"}) {
            if (text_.substr(pos_, word.size()) == word) {
                pos_ += word.size();
                return true;
            }
        }
        return Number();
    }

    bool Items(int depth)
    {
        ++pos_;
        if (Skip() && text_[pos_] == ']') {
            ++pos_;
            return true;
        }
        do {
            if (!Element(depth + 1) || !Skip())
                return false;
        } while (text_[pos_++] == ',');
        return text_[pos_ - 1] == ']';
    }

    bool Members(int depth)
    {
        ++pos_;
        if (Skip() && text_[pos_] == '}') {
            ++pos_;
            return true;
        }
        do {
            if (!Skip() || text_[pos_] != '"')
                return false;
            const auto name = String();
            if (!name || !Skip() || text_[pos_++] != ':' || !Skip())
                return false;
            if (*name == key_ && text_[pos_] == '"') {
                const auto value = String();
                if (!value)
                    return false;
                found_.push_back(*value);
            } else if (!Element(depth + 1)) {
                return false;
            }
            if (!Skip())
                return false;
        } while (text_[pos_++] == ',');
        return text_[pos_ - 1] == '}';
    }

    bool Number()
    {
        const std::size_t start = pos_;
        if (pos_ < text_.size() && text_[pos_] == '-')
            ++pos_;
        const auto digits = [&] {
            const std::size_t from = pos_;
            while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9')
                ++pos_;
            return pos_ > from;
        };
        if (!digits())
            return false;
        if (pos_ < text_.size() && text_[pos_] == '.' && (++pos_, !digits()))
            return false;
        if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
            ++pos_;
            if (pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '-'))
                ++pos_;
            if (!digits())
                return false;
        }
        return pos_ > start;
    }

    std::optional<std::string> String()
    {
        std::string text;
        for (++pos_; pos_ < text_.size();) {
            const char c = text_[pos_++];
            if (c == '"')
                return text;
            if (static_cast<unsigned char>(c) < 0x20)
                return std::nullopt;
            if (c != '\\') {
                text.push_back(c);
                continue;
            }
            if (pos_ >= text_.size())
                return std::nullopt;
            const char e = text_[pos_++];
            if (const std::size_t simple = kJsonEscapes.find(e); simple != std::string_view::npos) {
                text.push_back(kJsonMeanings[simple]);
                continue;
            }
            if (e != 'u')
                return std::nullopt;
            auto unit = Hex(text_, pos_, 4);
            if (!unit)
                return std::nullopt;
            std::u16string units(1, static_cast<char16_t>(*unit));
            if (*unit >= 0xD800 && *unit <= 0xDBFF && text_.substr(pos_, 2) == "\\u") {
                pos_ += 2;
                if (!(unit = Hex(text_, pos_, 4)))
                    return std::nullopt;
                units.push_back(static_cast<char16_t>(*unit));
            }
            text += UnicodeText::ToUtf8(units);
        }
        return std::nullopt;
    }

    bool Skip()
    {
        while (pos_ < text_.size() && IsSpace(text_[pos_]))
            ++pos_;
        return pos_ < text_.size();
    }

    std::string_view text_;
    std::string_view key_;
    std::size_t pos_ = 0;
    std::vector<std::string> found_;
};

// One line of a YAML file, without its line break.
struct YamlLine {
    std::string_view text;
    std::size_t indent = 0;
    bool blank = true; // empty or a comment
};

YamlLine ReadYamlLine(std::string_view yaml, std::size_t& pos)
{
    std::size_t end = yaml.find('\n', pos);
    if (end == std::string_view::npos)
        end = yaml.size();
    YamlLine line{yaml.substr(pos, end - pos)};
    pos = end + 1;
    if (line.text.ends_with('\r'))
        line.text.remove_suffix(1);
    line.indent = line.text.find_first_not_of(' ');
    line.blank = line.indent == std::string_view::npos || line.text[line.indent] == '#';
    return line;
}

bool EndsInEscape(std::string_view text)
{
    const std::size_t last = text.find_last_not_of('\\');
    const std::size_t backslashes = text.size() - (last == std::string_view::npos ? 0 : last + 1);
    return backslashes % 2 == 1;
}

// YAML's double-quoted escapes (an escaped line break is gone before this).
std::optional<std::string> DoubleQuoted(std::string_view text)
{
    std::string value;
    for (std::size_t i = 1; i < text.size();) {
        const char c = text[i++];
        if (c == '"')
            return value;
        if (c != '\\') {
            value.push_back(c);
            continue;
        }
        if (i >= text.size())
            return std::nullopt;
        const char e = text[i++];
        std::optional<char32_t> code;
        switch (e) {
        case 'x':
            code = Hex(text, i, 2);
            break;
        case 'u':
            code = Hex(text, i, 4);
            break;
        case 'U':
            code = Hex(text, i, 8);
            break;
        case '0':
            code = U'\0';
            break;
        case 't':
            code = U'\t';
            break;
        case 'n':
            code = U'\n';
            break;
        case 'r':
            code = U'\r';
            break;
        case 'N':
            code = U'\u0085';
            break;
        case '_':
            code = U'\u00A0';
            break;
        case ' ':
        case '"':
        case '\\':
        case '/':
            code = static_cast<char32_t>(e);
            break;
        default:
            return std::nullopt;
        }
        if (!code || *code > 0x10FFFF)
            return std::nullopt;
        UnicodeText::AppendUtf8(value, *code);
    }
    return std::nullopt;
}

// The scalar that starts text, continued over the following lines more indented than its
// key, as YAML writers fold long texts. Nothing when it is unterminated or no plain text.
std::optional<std::string> YamlScalar(std::string_view text, std::string_view yaml, std::size_t& pos,
                                      std::size_t keyIndent)
{
    const char quote = text.empty() ? '\0' : text[0];
    std::string folded(text);
    for (std::size_t next = pos; next < yaml.size();) {
        const YamlLine line = ReadYamlLine(yaml, next);
        if (line.blank && quote == '\0')
            break;
        if (!line.blank && line.indent <= keyIndent)
            break;
        if (!line.blank) {
            // A line break folds into one space, except an escaped one in double quotes.
            if (quote == '"' && EndsInEscape(folded))
                folded.pop_back();
            else
                folded.push_back(' ');
            folded.append(line.text.substr(line.indent));
        }
        pos = next;
    }
    if (quote == '"')
        return DoubleQuoted(folded);
    if (quote == '\'') {
        std::string value;
        for (std::size_t i = 1; i < folded.size(); ++i) {
            if (folded[i] != '\'')
                value.push_back(folded[i]);
            else if (i + 1 < folded.size() && folded[i + 1] == '\'')
                value.push_back(folded[++i]);
            else
                return value;
        }
        return std::nullopt;
    }
    // A plain scalar: up to a comment; nothing when empty, null, or a block or collection.
    std::string value = folded.substr(0, folded.find(" #"));
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t'))
        value.pop_back();
    if (value.empty() || value == "~" || value == "null" || value.find_first_of("|>[{", 0) == 0)
        return std::nullopt;
    return value;
}

} // namespace

std::vector<std::string> LauncherConfig::SteamLibraries(std::string_view vdf)
{
    return Vdf(vdf).Paths().value_or(std::vector<std::string>());
}

std::vector<std::string> LauncherConfig::HeroicPrefixes(std::string_view json)
{
    return Json(json, "winePrefix").Values().value_or(std::vector<std::string>());
}

std::vector<std::string> LauncherConfig::LutrisPrefixes(std::string_view yaml)
{
    std::vector<std::string> prefixes;
    bool inGame = false;
    std::size_t childIndent = std::string_view::npos; // the game section's keys
    for (std::size_t pos = 0; pos < yaml.size();) {
        const YamlLine line = ReadYamlLine(yaml, pos);
        if (line.blank)
            continue;
        if (line.text[0] == '\t')
            return {}; // tabs never indent YAML
        if (line.indent == 0) {
            const std::size_t rest = line.text.find_first_not_of(' ', 5);
            inGame = line.text.starts_with("game:") && (rest == std::string_view::npos || line.text[rest] == '#');
            childIndent = std::string_view::npos;
            continue;
        }
        if (!inGame)
            continue;
        if (childIndent == std::string_view::npos)
            childIndent = line.indent;
        const std::string_view entry = line.text.substr(line.indent);
        if (line.indent != childIndent || !entry.starts_with("prefix:"))
            continue;
        std::string_view text = entry.substr(7);
        if (!text.empty() && text[0] != ' ')
            continue; // "prefix:x" is another key's text
        text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
        const auto value = YamlScalar(text, yaml, pos, line.indent);
        if (!value && !text.empty() && (text[0] == '"' || text[0] == '\''))
            return {};
        if (value)
            prefixes.push_back(*value);
    }
    return prefixes;
}
