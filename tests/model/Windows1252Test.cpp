#include "model/Windows1252.h"

#include <gtest/gtest.h>

namespace {

TEST(Windows1252, MapsTheHighControlsBothWays)
{
    EXPECT_EQ(Windows1252::FromUnicode(U'A'), 'A');
    EXPECT_EQ(Windows1252::FromUnicode(U'\u00E9'), '\xE9');
    EXPECT_EQ(Windows1252::FromUnicode(U'\u20AC'), '\x80');
    EXPECT_EQ(Windows1252::FromUnicode(U'\u0178'), '\x9F');
    EXPECT_EQ(Windows1252::FromUnicode(U'\u0081'), '\x81'); // unassigned: kept
    EXPECT_EQ(Windows1252::FromUnicode(U'\u0080'), '?');    // a byte of its own exists for the euro
    EXPECT_EQ(Windows1252::FromUnicode(U'\u0100'), '?');
    EXPECT_EQ(Windows1252::FromUnicode(U'\U0001F600'), '?');
    for (int byte = 0; byte < 256; ++byte) {
        const char c = static_cast<char>(byte);
        EXPECT_EQ(Windows1252::FromUnicode(Windows1252::ToUnicode(c)), c) << byte;
    }
}

TEST(Windows1252, ConvertsToUtf8)
{
    EXPECT_EQ(Windows1252::ToUtf8("Caf\xE9 \x80 \x9F."), "Caf\xC3\xA9 \xE2\x82\xAC \xC5\xB8.");
    EXPECT_EQ(Windows1252::ToUtf8(""), "");
}

} // namespace
