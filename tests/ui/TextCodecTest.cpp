#include "ui/TextCodec.h"

#include "tests/ui/UiTesting.h"

#include <gtest/gtest.h>

#include <string>

TEST(TextCodec, EveryByteSurvivesTheRoundTrip)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const QString text = TextCodec::Decode(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(TextCodec::Encode(text), all);
}

TEST(TextCodec, UsesTheWindowsCharacters)
{
    EXPECT_EQ(TextCodec::Decode("\x80"), QString(QChar(0x20AC)));
    EXPECT_EQ(TextCodec::Decode("\x9F"), QString(QChar(0x0178)));
    EXPECT_EQ(TextCodec::Decode("Ren\xE9"), QStringLiteral("Ren\u00E9"));
    EXPECT_EQ(TextCodec::Encode(QStringLiteral("\u2122 \u00FF")), std::string("\x99 \xFF"));
}

TEST(TextCodec, CharactersWithoutAByteBecomeQuestionMarks)
{
    EXPECT_EQ(TextCodec::Encode(QStringLiteral("A\u03A9B")), "A?B");
    // A character outside the basic plane is one character, so one '?'.
    EXPECT_EQ(TextCodec::Encode(QString::fromUtf8("x\xF0\x9F\x98\x80y")), "x?y");
}
