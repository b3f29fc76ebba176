#include "text/TextCodec.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

// Lets GoogleTest print texts readably in its failure reports.
void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

using Page = TextCodec::Page;

// The code page's bytes, transcribed from the system's tables rather than from the converter.
struct PageCase {
    Page page;
    const char* text; // UTF-8
    std::string bytes;
    const char* missing; // a character the page cannot store, and text's characters with it
};

const PageCase kPageCases[] = {
    {Page::Western, "Ren\u00E9 \u20AC", "Ren\xE9 \x80", "\u03A9"},
    {Page::CentralEuropean, "\u0141\u00F3d\u017A",
     "\xA3\xF3"
     "d\x9F",
     "\u0416"},
    {Page::Cyrillic, "\u0416\u0430\u043D\u043D\u0430", "\xC6\xE0\xED\xED\xE0", "\u03A9"},
    {Page::Greek, "\u03A9\u03BC\u03AD\u03B3\u03B1", "\xD9\xEC\xDD\xE3\xE1", "\u0416"},
    {Page::Turkish, "\u015Ei\u015Fli", "\xDEi\xFEli", "\u0416"},
    {Page::Baltic, "\u0104\u017Euolas", "\xC0\xFEuolas", "\u0416"},
    {Page::ChineseSimplified, "\u957F\u5251 x", "\xB3\xA4\xBD\xA3 x", "\u0628"},
    {Page::ChineseTraditional, "\u9577\u528D x",
     "\xAA\xF8\xBC"
     "C x",
     "\u0101"},
    {Page::Korean, "\uAC80 x", "\xB0\xCB x", "\u0101"},
    {Page::Japanese, "\u5263 x", "\x8C\x95 x", "\u20AC"},
    // The worked example of the fan translation's wrapping.
    {Page::ChineseFan, "\u957F\u5251 x", "\x0E\x20\x0E\xB3\xA4\x07\x20\x0E\xBD\xA3\x07\x0F\x20x", "\U0001F600"},
};

void PrintTo(const PageCase& c, std::ostream* out)
{
    *out << TextCodec::Info(c.page).label;
}

class TextCodecPageTest : public ::testing::TestWithParam<PageCase> {};

} // namespace

TEST_P(TextCodecPageTest, ConvertsBothWaysAndReportsWhatItCannotStore)
{
    const PageCase& c = GetParam();
    const TextCodec codec(c.page);
    const QString text = QString::fromUtf8(c.text);
    ASSERT_TRUE(codec.IsAvailable());
    EXPECT_EQ(codec.ToText(c.bytes), text);
    EXPECT_EQ(codec.ToBytes(text), c.bytes);
    EXPECT_EQ(codec.ByteLength(text), static_cast<qsizetype>(c.bytes.size()));
    EXPECT_TRUE(codec.Unencodable(text).isEmpty());

    // No stand-in ever reaches the bytes: the character is named, once.
    const QString missing = QString::fromUtf8(c.missing);
    EXPECT_EQ(codec.ToBytes(text + missing), std::nullopt);
    EXPECT_EQ(codec.Unencodable(missing + text + missing), missing);
}

INSTANTIATE_TEST_SUITE_P(EveryPage, TextCodecPageTest, ::testing::ValuesIn(kPageCases));

TEST(TextCodec, WindowsWesternKeepsEveryByte)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const TextCodec codec(Page::Western);
    const QString text = codec.ToText(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(text.at(0x80), QChar(0x20AC));
    EXPECT_EQ(text.at(0x9F), QChar(0x0178));
    EXPECT_EQ(codec.ToBytes(text), all);
}

TEST(TextCodec, TheLongestStartThatFitsEndsWithACharacter)
{
    struct Case {
        Page page;
        const char* text;
        int maxBytes;
        qsizetype fits; // UTF-16 units
    };
    const Case cases[] = {
        {Page::Western, "abcdef", 4, 4},
        {Page::Western, "abc", 3, 3},
        {Page::ChineseSimplified, "ab\u957F\u5251", 3, 2}, // never half a character
        {Page::ChineseSimplified, "ab\u957F\u5251", 4, 3},
        {Page::Korean, "\uAC80\uAC80\uAC80", 5, 2},
        {Page::ChineseFan, "\u957F\u5251", 7, 1},  // 0x0E, five bytes, 0x0F
        {Page::ChineseFan, "\u957F\u5251", 11, 1}, // the run's end needs its byte too
        {Page::ChineseFan, "\u957F\u5251", 12, 2},
        {Page::ChineseFan, "a\u957F", 1, 1},
    };
    for (const Case& c : cases) {
        const TextCodec codec(c.page);
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(codec.Fit(text, c.maxBytes), c.fits) << c.text << " in " << c.maxBytes;
    }
}

TEST(TextCodec, TheFanTranslationsWrappingIsFoundAndUndone)
{
    const std::string plain = "\xB3\xA4\xBD\xA3 x";
    const std::string wrapped = "\x0E\x20\x0E\xB3\xA4\x07\x20\x0E\xBD\xA3\x07\x0F\x20x";
    EXPECT_EQ(TextCodec::Wrap(plain), wrapped);
    EXPECT_EQ(TextCodec::Unwrap(wrapped), plain);
    EXPECT_TRUE(TextCodec::HoldsWrapping("Save " + wrapped));
    EXPECT_FALSE(TextCodec::HoldsWrapping(plain));
    EXPECT_FALSE(TextCodec::HoldsWrapping("\x0E\x20\x0E"
                                          "ab\x07"))
        << "ASCII inside is no double-byte character";
    // As the game may leave them: a run cut short at the field's end, a lone 0x0E.
    EXPECT_EQ(TextCodec::Unwrap("\x0E\x20\x0E\xB3\xA4\x07"), "\xB3\xA4");
    EXPECT_EQ(TextCodec::Unwrap("a\x0E"
                                "b"),
              "a\x0E"
              "b");
}

TEST(TextCodec, AKeyOfTheSettingsGivesItsCodecAndAnUnknownOneWestern)
{
    for (const TextCodec::PageInfo& info : TextCodec::Pages())
        EXPECT_EQ(TextCodec::ForKey(TextCodec::Key(info.page).toStdString()).GetPage(), info.page) << info.label;
    EXPECT_EQ(TextCodec::ForKey("1251").ToText("\xC6"), QString::fromUtf8("\u0416"));
    for (const char* key : {"", "936-Fan", "65001", "1251 "})
        EXPECT_EQ(TextCodec::ForKey(key).GetPage(), Page::Western) << key;
}

TEST(TextCodec, SettingsKeysNameEachPageOnce)
{
    for (const TextCodec::PageInfo& info : TextCodec::Pages())
        EXPECT_EQ(TextCodec::FromKey(TextCodec::Key(info.page)), info.page) << info.label;
    EXPECT_EQ(TextCodec::FromKey(u"936"), Page::ChineseSimplified);
    EXPECT_EQ(TextCodec::FromNumber(936), Page::ChineseSimplified) << "a system's code page is never the wrapping";
    EXPECT_EQ(TextCodec::FromNumber(1251), Page::Cyrillic);
    EXPECT_EQ(TextCodec::FromNumber(65001), std::nullopt);
}
