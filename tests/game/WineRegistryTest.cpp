// The system.reg reader alone: portable, so it runs under Windows too.

#include "game/WineRegistry.h"

#include "tests/support/TempDirectory.h"
#include "tests/support/WinePrefixWriter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

// A value's bytes as RegQueryValueExW returns a text: UTF-16LE with its terminator.
std::string Utf16Le(std::u16string_view text)
{
    std::string bytes;
    for (const char16_t unit : std::u16string(text) + u'\0')
        bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    return bytes;
}

const std::string kRegistry = "WINE REGISTRY Version 2\r\n"
                              ";; All keys relative to REGISTRY\\\\Machine\r\n\r\n"
                              "\"Stray\"=\"before any key\"\r\n"
                              "[Software\\\\Caf\\xe9\\\\Br\\[ack\\]ets] 1\r\n"
                              "\"Accents\"=\"\\x00e91\\xe9 \\x20ac\\x263a \\xd83d\\xde00.\"\r\n"
                              "\"Utf8\"=\"\xC3\xA9 \xC3\"\r\n"
                              "\"Controls\"=\"a\\tb\\nc\\101\\x\"\r\n"
                              "\"Na\\\"me\"=\"say \\\"hi\\\" \\\\ there\"\r\n"
                              R"(
[SOFTWARE\\new world COMPUTING\\Might And Magic Day Of The Destroyer\\1.0] 1699999999
#time=1da1b2c3d4e5f60
@="the default"
"appPATH"="C:\\Games\\MM8"
"Expand"=str(2):"%ProgramFiles%\\MM8"
"Number"=dword:00414243
"Binary"=hex:41,42,\
  43,00,44
"Wide"=hex(1):68,00,e9,00,00,00
"Broken"=hex:4x,41
"Unterminated"="no end
"Empty"=""
"Twice"="first"

[Software\\Cut
"Lost"="a key line without its end"
[Software\\Twice] 1
"Twice"="first"
[Software\\Twice] 2
"Twice"="second"
[Software\\\x41] 1
[Software\\\x41b] 1
)";

constexpr char16_t kGameKey[] = u"Software\\New World Computing\\Might and Magic Day of the Destroyer\\1.0";

TEST(WineRegistryTest, FindsKeysWhateverTheirCaseAndEscapes)
{
    const WineRegistry registry(kRegistry);
    const std::vector<std::u16string> paths = {
        kGameKey,           u"software\\NEW WORLD COMPUTING", u"SOFTWARE\\CAF\u00C9\\BR[ACK]ETS", u"Software\\Twice",
        u"Software\\Cut",   u"Software\\New World",           u"Software\\Twice\\Below",          u"Stray",
        u"Software\\\u041B"}; // \x41b, after \x41: not every key line beginning alike is alike
    const std::vector<WineRegistry::Key> keys = registry.Find(paths);
    ASSERT_EQ(keys.size(), paths.size());
    const struct {
        bool exists;
        std::size_t listings;
    } expected[] = {{true, 1},  {true, 0},  {true, 1},  {true, 2}, {false, 0},
                    {false, 0}, {false, 0}, {false, 0}, {true, 1}};
    for (std::size_t i = 0; i < paths.size(); ++i) {
        EXPECT_EQ(keys[i].exists, expected[i].exists) << i;
        EXPECT_EQ(keys[i].listings.size(), expected[i].listings) << i;
    }
}

TEST(WineRegistryTest, DecodesValuesAsTheWideFunctionsReturnThem)
{
    const WineRegistry registry(kRegistry);
    const std::vector<std::u16string> paths = {u"Software\\Caf\u00E9\\Br[ack]ets", kGameKey, u"Software\\Twice"};
    const std::vector<WineRegistry::Key> keys = registry.Find(paths);
    const struct {
        std::size_t key;
        std::u16string name;
        std::optional<WineRegistry::Value> value;
    } rows[] = {
        // Four hex digits at most: one UTF-16 unit each.
        {0, u"Accents", {{1, Utf16Le(u"\u00E91\u00E9 \u20AC\u263A \U0001F600.")}}},
        // Raw bytes: UTF-8 where valid, otherwise Latin-1.
        {0, u"UTF8", {{1, Utf16Le(u"\u00E9 \u00C3")}}},
        {0, u"Controls", {{1, Utf16Le(u"a\tb\ncAx")}}},
        {0, u"na\"ME", {{1, Utf16Le(u"say \"hi\" \\ there")}}},
        {0, u"Stray", std::nullopt},
        {1, u"", {{1, Utf16Le(u"the default")}}},
        {1, u"AppPath", {{1, Utf16Le(u"C:\\Games\\MM8")}}},
        {1, u"Expand", {{2, Utf16Le(u"%ProgramFiles%\\MM8")}}},
        {1, u"Number", {{4, std::string("CBA\0", 4)}}},
        {1, u"Binary", {{3, std::string("ABC\0D", 5)}}},
        {1, u"Wide", {{1, Utf16Le(u"h\u00E9")}}},
        {1, u"Broken", std::nullopt},
        {1, u"Unterminated", std::nullopt},
        {1, u"Empty", {{1, Utf16Le(u"")}}},
        {1, u"Lost", std::nullopt},
        {2, u"Twice", {{1, Utf16Le(u"second")}}}, // the last entry of a name wins
    };
    for (const auto& row : rows) {
        const auto value = WineRegistry::Query(keys[row.key], row.name);
        ASSERT_EQ(value.has_value(), row.value.has_value()) << std::string(row.name.begin(), row.name.end());
        if (value) {
            EXPECT_EQ(value->type, row.value->type);
            EXPECT_EQ(value->data, row.value->data) << std::string(row.name.begin(), row.name.end());
        }
    }
    EXPECT_EQ(WineRegistry::Text(*WineRegistry::Query(keys[1], u"Binary")), u"\u4241C");
}

TEST(WineRegistryTest, AFileWithoutWinesFirstLineHoldsNoKeys)
{
    TempDirectory dir;
    const auto write = [&](const std::string& text) {
        std::ofstream(dir / "system.reg", std::ios::binary) << text;
        return WineRegistry::Read(dir / "system.reg");
    };
    std::string garbage = "WINE REGISTRY Version 2\n";
    for (int i = 0; i < 4096; ++i)
        garbage.push_back(static_cast<char>((i * 7919 + 13) % 256));
    const std::vector<std::u16string> game = {kGameKey};
    for (const WineRegistry& registry : {write(kRegistry.substr(kRegistry.find('\n') + 1)), write(garbage), write(""),
                                         WineRegistry::Read(dir / "missing.reg"), WineRegistry::Read(dir.Path())})
        EXPECT_FALSE(registry.Find(game)[0].exists);
    EXPECT_TRUE(write(kRegistry).Find(game)[0].exists);
}

TEST(WineRegistryTest, TheViewOfA32BitProgramIsUnderWow6432Node)
{
    const std::pair<std::u16string, std::u16string> rows[] = {
        {u"Software\\GOG.com\\GOGMM8", u"Software\\Wow6432Node\\GOG.com\\GOGMM8"},
        {u"SOFTWARE\\x", u"Software\\Wow6432Node\\x"},
        {u"Software\\Wow6432Nodes", u"Software\\Wow6432Node\\Wow6432Nodes"},
        {u"software\\WOW6432NODE\\x", u""},
        {u"Software\\Wow6432Node", u""},
        {u"Software", u""},
        {u"System\\Software\\x", u""},
    };
    for (const auto& [path, view] : rows)
        EXPECT_EQ(WineRegistry::Wow64Path(path), view) << std::string(path.begin(), path.end());
}

TEST(WineRegistryTest, TheAnsiCodePageIsAcpUnderTheCurrentControlSet)
{
    // "\Registry\Machine\System\ControlSet001" as a link value holds it: UTF-16LE bytes.
    std::string link = "hex(6):";
    for (const char c : std::string_view("\\Registry\\Machine\\System\\ControlSet001")) {
        char unit[8];
        std::snprintf(unit, sizeof unit, link.size() > 7 ? ",%02x,00" : "%02x,00", static_cast<unsigned>(c));
        link += unit;
    }
    const std::string codePage = "[System\\\\CurrentControlSet\\\\Control\\\\Nls\\\\Codepage] 1\n";
    const std::pair<std::string, std::uint32_t> rows[] = {
        {codePage + "\"ACP\"=\"1251\"\n\"OEMCP\"=\"866\"\n", 1251},
        {"[System\\\\CurrentControlSet] 1\n#link\n\"SymbolicLinkValue\"=" + link +
             "\n[System\\\\ControlSet001\\\\Control\\\\Nls\\\\CodePage] 1\n\"ACP\"=\"1252\"\n",
         1252},
        {codePage + "\"ACP\"=\"12x\"\n", 0},
        {codePage + "\"ACP\"=\"65536\"\n", 0},
        {codePage + "\"ACP\"=dword:000004e4\n", 0},
        {codePage + "\"OEMCP\"=\"437\"\n", 0},
    };
    for (const auto& [keys, acp] : rows)
        EXPECT_EQ(WineRegistry("WINE REGISTRY Version 2\n" + keys).AnsiCodePage(), acp) << keys;
}

TEST(WineRegistryTest, ReadsWhatWineWritesAmongTheKeysOfAFreshPrefix)
{
    TempDirectory dir;
    // Wine pads \x escapes to four digits only before a hex digit, and octal ones likewise.
    const std::u16string texts[] = {u"C:\\\u0418\u0433\u0440\u044B\\MM8",
                                    u"\u00AE1\u00AEb\u00AE \x01"
                                    u"7\x02",
                                    u"\"quoted\" [x]\n"};
    WinePrefixWriter writer(dir / "prefix");
    for (std::size_t i = 0; i < std::size(texts); ++i)
        writer.Set(WinePrefixWriter::kGameKey32, "Path" + std::to_string(i), texts[i]);
    writer.CodePage(1251).Fresh().Save();
    ASSERT_GT(std::filesystem::file_size(dir / "prefix" / "system.reg"), 1600000u);

    const WineRegistry registry = WineRegistry::Read(dir / "prefix" / "system.reg");
    const std::vector<std::u16string> paths = {WineRegistry::Wow64Path(kGameKey)};
    const WineRegistry::Key key = registry.Find(paths)[0];
    ASSERT_EQ(key.listings.size(), 1u);
    for (std::size_t i = 0; i < std::size(texts); ++i) {
        const auto value = WineRegistry::Query(key, u"Path" + std::u16string(1, static_cast<char16_t>(u'0' + i)));
        ASSERT_TRUE(value) << i;
        EXPECT_EQ(WineRegistry::Text(*value), texts[i]) << i;
    }
    EXPECT_EQ(registry.AnsiCodePage(), 1251u);
}

} // namespace
