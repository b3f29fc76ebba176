// The managers' settings readers on the forms their writers produce, and on damage.

#include "game/LauncherConfig.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Paths = std::vector<std::string>;

TEST(LauncherConfigTest, LutrisYamlGivesTheGamesPrefix)
{
    const std::pair<std::string, Paths> rows[] = {
        // Long texts folded over lines: in double quotes an escaped line break joins without a space.
        {"game:\n  prefix: \"/home/u/very/long\\\n    \\ path \\u00e9\\x41\"\n  exe: x\n",
         {"/home/u/very/long path \xC3\xA9"
          "A"}},
        {"game:\n  prefix: '/it''s\n    folded'\n", {"/it's folded"}},
        {"game:\n    prefix: /a b\n      c # note\n    exe: /x\n", {"/a b c"}},
        {"prefix: /top\ngame:\n  exe: /x\nsystem:\n  prefix: /other\n", {}},
        {"game: # comment\n  args: prefix\n  prefix: null\n", {}},
        {"game:\n  exe: /x\n  options:\n    prefix: /nested\n", {}},
        {"game:\n\tprefix: /tab\n", {}},
        {"game:\n  prefix: \"/cut\n", {}},
        {"game:\n  prefix: \"/bad \\q\"\n", {}},
    };
    for (const auto& [yaml, prefixes] : rows)
        EXPECT_EQ(LauncherConfig::LutrisPrefixes(yaml), prefixes) << yaml;
}

TEST(LauncherConfigTest, SteamVdfGivesEveryLibraryPath)
{
    const std::pair<std::string, Paths> rows[] = {
        {"\"libraryfolders\"\n{\n\t\"0\" { \"path\" \"C:\\\\Games\" [$WIN32] } // first\n"
         "\t\"1\" { \"PATH\" \"/b\\\"q\" \"apps\" { \"10\" \"1\" } }\n}\n",
         {"C:\\Games", "/b\"q"}},
        {"libraryfolders { 0 { path /unquoted } }", {"/unquoted"}},
        // The older form: numbered paths right in the root block, beside other values.
        {"\"LibraryFolders\"\n{\n\t\"TimeNextStatsReport\"\t\"1600000000\"\n\t\"ContentStatsID\"\t\"-42\"\n"
         "\t\"1\"\t\"/mnt/games\"\n\t\"2\"\t\"D:\\\\Steam\"\n}\n",
         {"/mnt/games", "D:\\Steam"}},
        {"\"a\" { \"path\" \"/x\"", {}},
        {"\"a\" { \"path\" \"/x\" } }", {}},
        {"\"a\" { \"path\" }", {}},
        {"\"a\" { \"path\" \"/x", {}},
    };
    for (const auto& [vdf, paths] : rows)
        EXPECT_EQ(LauncherConfig::SteamLibraries(vdf), paths) << vdf;
}

TEST(LauncherConfigTest, HeroicJsonGivesEveryWinePrefix)
{
    const std::pair<std::string, Paths> rows[] = {
        {R"({"a": {"winePrefix": "/a\ud83d\ude00\/b", "n": [1, -2.5e+3, true, {"winePrefix": "/c"}]}})",
         {"/a\xF0\x9F\x98\x80/b", "/c"}},
        {R"({"winePrefix": "/\ud83d/\ude00"})", {"/\xEF\xBF\xBD/\xEF\xBF\xBD"}}, // unpaired: U+FFFD
        {R"({"winePrefix": null, "x": "winePrefix"})", {}},
        {R"({"winePrefix": "/a",})", {}},
        {R"({"winePrefix": "/a"} x)", {}},
        {R"({"winePrefix": "/a\x"})", {}},
        {R"([1, 2)", {}},
        {"{\"winePrefix\": \"/a\nb\"}", {}},
    };
    for (const auto& [json, prefixes] : rows)
        EXPECT_EQ(LauncherConfig::HeroicPrefixes(json), prefixes) << json;
}

} // namespace
