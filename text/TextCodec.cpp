#include "text/TextCodec.h"

#include <QSet>

#include <algorithm>
#include <array>
#include <vector>

namespace {

using Page = TextCodec::Page;

constexpr char kRunStart = 0x0E;
constexpr char kRunEnd = 0x0F;
constexpr char kCharacterStart[] = {0x20, 0x0E};
constexpr char kCharacterEnd = 0x07;
constexpr std::size_t kWrappedCharacter = 5; // 0x20 0x0E X Y 0x07

constexpr std::array<TextCodec::PageInfo, 11> kPages = {{
    {.page = Page::Western, .number = 1252, .label = "Western (1252)"},
    {.page = Page::CentralEuropean, .number = 1250, .label = "Central European (1250)"},
    {.page = Page::Cyrillic, .number = 1251, .label = "Cyrillic (1251)"},
    {.page = Page::Greek, .number = 1253, .label = "Greek (1253)"},
    {.page = Page::Turkish, .number = 1254, .label = "Turkish (1254)"},
    {.page = Page::Baltic, .number = 1257, .label = "Baltic (1257)"},
    {.page = Page::ChineseSimplified, .number = 936, .label = "Chinese Simplified (936)", .singleByte = false},
    {.page = Page::ChineseTraditional, .number = 950, .label = "Chinese Traditional (950)", .singleByte = false},
    {.page = Page::Korean, .number = 949, .label = "Korean (949)", .singleByte = false},
    {.page = Page::Japanese, .number = 932, .label = "Japanese (932)", .singleByte = false},
    {.page = Page::ChineseFan,
     .number = 936,
     .label = "Chinese (fan translation)",
     .singleByte = false,
     .wrapped = true},
}};

constexpr bool InEnumOrder()
{
    for (std::size_t i = 0; i < kPages.size(); ++i) {
        if (static_cast<std::size_t>(kPages[i].page) != i)
            return false;
    }
    return true;
}
static_assert(InEnumOrder(), "Info(page) indexes the table by the enumeration");

// A lead byte of the code page the fan translation wraps (936): it and the next byte are one character.
bool IsLeadByte(unsigned char byte)
{
    return byte >= 0x81 && byte <= 0xFE;
}

// The wrapped character at bytes[at], if one is there.
bool IsWrappedCharacter(std::string_view bytes, std::size_t at)
{
    return at + kWrappedCharacter <= bytes.size() && bytes[at] == kCharacterStart[0] &&
           bytes[at + 1] == kCharacterStart[1] && bytes[at + 4] == kCharacterEnd;
}

} // namespace

std::span<const TextCodec::PageInfo> TextCodec::Pages()
{
    return kPages;
}

const TextCodec::PageInfo& TextCodec::Info(Page page)
{
    return kPages.at(static_cast<std::size_t>(page));
}

std::optional<TextCodec::Page> TextCodec::FromNumber(unsigned number)
{
    for (const PageInfo& info : kPages) {
        if (info.number == number && !info.wrapped)
            return info.page;
    }
    return std::nullopt;
}

QString TextCodec::Key(Page page)
{
    const PageInfo& info = Info(page);
    return QString::number(info.number) + (info.wrapped ? QStringLiteral("-fan") : QString());
}

std::optional<TextCodec::Page> TextCodec::FromKey(QStringView key)
{
    for (const PageInfo& info : kPages) {
        if (key == Key(info.page))
            return info.page;
    }
    return std::nullopt;
}

TextCodec::TextCodec(Page page) : info_(&Info(page)), available_(Converts(*info_, encoding_))
{}

QString TextCodec::ToText(std::string_view bytes) const
{
    return info_->wrapped ? Decoded(Unwrap(bytes)) : Decoded(bytes);
}

std::optional<std::string> TextCodec::ToBytes(QStringView text) const
{
    bool complete = true;
    std::string bytes = Encoded(text, complete);
    if (!complete)
        return std::nullopt;
    return info_->wrapped ? Wrap(bytes) : bytes;
}

QString TextCodec::Unencodable(QStringView text) const
{
    bool complete = true;
    Encoded(text, complete);
    if (complete)
        return {};
    // Character by character only when some are missing: the rare case.
    QString missing;
    QSet<char32_t> seen;
    for (qsizetype at = 0; at < text.size();) {
        const qsizetype width = text[at].isHighSurrogate() && at + 1 < text.size() ? 2 : 1;
        const QStringView character = text.mid(at, width);
        at += width;
        Encoded(character, complete);
        if (!complete && !seen.contains(character.toUcs4().value(0))) {
            seen.insert(character.toUcs4().value(0));
            missing += character;
        }
    }
    return missing;
}

qsizetype TextCodec::ByteLength(QStringView text) const
{
    bool complete = true;
    const std::string bytes = Encoded(text, complete);
    return static_cast<qsizetype>(info_->wrapped ? Wrap(bytes).size() : bytes.size());
}

qsizetype TextCodec::Fit(QStringView text, qsizetype maxBytes) const
{
    return LongestStart(text, [&](qsizetype length) { return ByteLength(text.left(length)) <= maxBytes; });
}

qsizetype TextCodec::LongestStart(QStringView text, const std::function<bool(qsizetype length)>& fits)
{
    if (fits(text.size()))
        return text.size();
    // Where each character ends; a longer start never fits better, so search.
    std::vector<qsizetype> ends;
    for (qsizetype at = 0; at < text.size();) {
        at += text[at].isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate() ? 2 : 1;
        ends.push_back(at);
    }
    const auto tooLong = std::partition_point(ends.begin(), ends.end(), fits);
    return tooLong == ends.begin() ? 0 : *(tooLong - 1);
}

std::string TextCodec::Wrap(std::string_view plain)
{
    std::string wrapped;
    wrapped.reserve(plain.size() * 3);
    bool inRun = false;
    for (std::size_t at = 0; at < plain.size();) {
        const bool pair = IsLeadByte(static_cast<unsigned char>(plain[at])) && at + 1 < plain.size();
        if (pair != inRun) {
            wrapped += pair ? kRunStart : kRunEnd;
            inRun = pair;
        }
        if (pair) {
            wrapped.append(kCharacterStart, sizeof kCharacterStart);
            wrapped.append(plain.substr(at, 2));
            wrapped += kCharacterEnd;
            at += 2;
        } else {
            wrapped += plain[at++];
        }
    }
    if (inRun)
        wrapped += kRunEnd;
    return wrapped;
}

std::string TextCodec::Unwrap(std::string_view stored)
{
    std::string plain;
    plain.reserve(stored.size());
    for (std::size_t at = 0; at < stored.size();) {
        if (stored[at] != kRunStart) {
            plain += stored[at++];
            continue;
        }
        std::size_t next = at + 1;
        for (; IsWrappedCharacter(stored, next); next += kWrappedCharacter)
            plain.append(stored.substr(next + 2, 2));
        if (next < stored.size() && stored[next] == kRunEnd)
            ++next;
        else if (next == at + 1)
            plain += stored[at]; // a lone 0x0E starts no run: keep it as it is
        at = std::max(next, at + 1);
    }
    return plain;
}

bool TextCodec::HoldsWrapping(std::string_view bytes)
{
    for (std::size_t at = bytes.find(kRunStart); at != std::string_view::npos; at = bytes.find(kRunStart, at + 1)) {
        if (IsWrappedCharacter(bytes, at + 1) && IsLeadByte(static_cast<unsigned char>(bytes[at + 3])))
            return true;
    }
    return false;
}

TextCodec TextCodec::ForKey(std::string_view key)
{
    return TextCodec(
        FromKey(QString::fromLatin1(key.data(), static_cast<qsizetype>(key.size()))).value_or(Page::Western));
}
