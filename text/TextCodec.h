#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// The saved game's texts (names, descriptions, the saved game's name) in the game's code page,
// both ways. The model deals in bytes only; each window and command converts through the codec of
// the saved game's words (GameWords::CodePage), handed down from where the game was chosen.
// Qt Core only: the command-line program uses it too.
class TextCodec {
public:
    enum class Page {
        Western,            // 1252
        CentralEuropean,    // 1250
        Cyrillic,           // 1251
        Greek,              // 1253
        Turkish,            // 1254
        Baltic,             // 1257
        ChineseSimplified,  // 936
        ChineseTraditional, // 950
        Korean,             // 949
        Japanese,           // 932
        ChineseFan,         // 936 in the Chinese fan translation's wrapping
    };

    struct PageInfo {
        Page page;
        unsigned number; // the Windows code page
        const char* label;
        bool singleByte = true;
        bool wrapped = false; // double-byte characters in the fan translation's runs
    };

    // Every page, in the order people are offered them.
    static std::span<const PageInfo> Pages();
    static const PageInfo& Info(Page page);
    // The plain page of a Windows code page number (a system's ANSI code page), if it is one of ours.
    static std::optional<Page> FromNumber(unsigned number);
    // How the settings keep a page: "1251", "936-fan".
    static QString Key(Page page);
    static std::optional<Page> FromKey(QStringView key);
    // The codec of a page's key (GameWords::CodePage); Western for a key that names no page.
    static TextCodec ForKey(std::string_view key);
    // One of the program's own English words (masteries, enchantments): ASCII in every page.
    static QString OwnWord(std::string_view word)
    {
        return QString::fromLatin1(word.data(), static_cast<qsizetype>(word.size()));
    }

    explicit TextCodec(Page page = Page::Western);

    Page GetPage() const { return info_->page; }
    // False where this build cannot convert the page (Qt built without ICU knows few).
    bool IsAvailable() const { return available_; }

    QString ToText(std::string_view bytes) const;
    // Nothing when a character has no bytes in the page: no text is ever stored with a
    // stand-in in place of what the user typed.
    std::optional<std::string> ToBytes(QStringView text) const;
    // The characters the page cannot store, each once, in their order.
    QString Unencodable(QStringView text) const;
    // The stored length, the fan translation's wrapping included; a character the page
    // cannot store counts as its stand-in.
    qsizetype ByteLength(QStringView text) const;
    // The UTF-16 length of the longest start of text whose bytes fit in maxBytes, always
    // at the end of a character.
    qsizetype Fit(QStringView text, qsizetype maxBytes) const;
    // The UTF-16 length of the longest start of text, at the end of a character, that fits:
    // a test that, once false for a start, is false for every longer one.
    static qsizetype LongestStart(QStringView text, const std::function<bool(qsizetype length)>& fits);

    // The fan translation stores each run of double-byte characters XY as 0x0E, then
    // 0x20 0x0E X Y 0x07 for each character, then 0x0F; single bytes stay as they are.
    static std::string Wrap(std::string_view plain);
    // Takes the runs apart again; a run the game cut short (no 0x0F) ends with the text.
    static std::string Unwrap(std::string_view stored);
    // Whether bytes hold at least one wrapped double-byte character.
    static bool HoldsWrapping(std::string_view bytes);

private:
    // Per platform: Qt's converters (ICU) by name, or the Win32 calls by number. False
    // where the build lacks the page; encoding is then one that keeps every byte as it is.
    static bool Converts(const PageInfo& info, QByteArray& encoding);
    QString Decoded(std::string_view plain) const;
    // A stand-in for each character the page lacks; complete tells whether there was none.
    std::string Encoded(QStringView text, bool& complete) const;

    const PageInfo* info_;
    QByteArray encoding_; // the name Qt converts by
    bool available_;
};
