#include "RegistryKey.h"

#include "TempWinePrefix.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace {

constexpr const char* kGameKey = "Software\\New World Computing\\Might and Magic Day of the Destroyer\\1.0";

// A value that must survive a failed query.
const std::string kUntouched = "untouched";

class RegistryKeyTest : public testing::Test {
protected:
    TempWinePrefix prefix;

    // Opens key under HKEY_LOCAL_MACHINE and reads one value; nothing when either fails.
    std::optional<std::string> Read(const char* key, const char* value)
    {
        RegistryKey registry(RegistryKey::LocalMachine());
        std::string text;
        if (!registry.Open(RegistryKey::LocalMachine(), key) || !registry.QueryString(value, text))
            return std::nullopt;
        return text;
    }
};

TEST_F(RegistryKeyTest, ReadsAStringFromA32BitPrefix)
{
    prefix.WriteSystemReg(R"(WINE REGISTRY Version 2
;; All keys relative to \\Machine

#arch=win32

[Software\\New World Computing\\Might and Magic Day of the Destroyer\\1.0] 1699999999
#time=1da1b2c3d4e5f60
"AppPath"="C:\\Program Files\\3DO\\Might and Magic VIII"
"Version"="1.0"
)");
    RegistryKey registry(RegistryKey::LocalMachine());
    EXPECT_EQ(registry.Key(), RegistryKey::LocalMachine());
    EXPECT_EQ(registry.KeyName(), "");
    EXPECT_EQ(registry.Result(), RegistryKey::kSuccess);

    ASSERT_TRUE(registry.Open(RegistryKey::LocalMachine(), kGameKey));
    EXPECT_EQ(registry.Result(), RegistryKey::kSuccess);
    EXPECT_EQ(registry.KeyName(), kGameKey);
    EXPECT_NE(registry.Key(), RegistryKey::LocalMachine());

    std::string text;
    ASSERT_TRUE(registry.QueryString("AppPath", text));
    EXPECT_EQ(text, "C:\\Program Files\\3DO\\Might and Magic VIII");
    EXPECT_EQ(registry.ValueType(), 1u);      // REG_SZ
    EXPECT_EQ(registry.ValueSize(), 41u + 1); // with its terminator
    ASSERT_TRUE(registry.QueryString("Version", text));
    EXPECT_EQ(text, "1.0");

    // Opening clears what the last query reported.
    ASSERT_TRUE(registry.Open(RegistryKey::LocalMachine(), "Software"));
    EXPECT_EQ(registry.ValueType(), 0u);
    EXPECT_EQ(registry.ValueSize(), 0u);
}

TEST_F(RegistryKeyTest, A64BitPrefixShowsTheWow6432NodeViewFirst)
{
    prefix.WriteSystemReg(R"(WINE REGISTRY Version 2
#arch=win64

[Software\\Wow6432Node\\New World Computing\\Might and Magic Day of the Destroyer\\1.0] 1699999999
"AppPath"="C:\\32-bit"

[Software\\New World Computing\\Might and Magic Day of the Destroyer\\1.0] 1699999999
"AppPath"="C:\\64-bit"

[Software\\GOG.com\\GOGMM8] 1699999999
"PATH"="C:\\GOG Games\\Might and Magic 8"
)");
    EXPECT_EQ(Read(kGameKey, "AppPath"), "C:\\32-bit");
    // Only in the 64-bit view: found there all the same.
    EXPECT_EQ(Read("Software\\GOG.com\\GOGMM8", "PATH"), "C:\\GOG Games\\Might and Magic 8");
    // Named explicitly, the 32-bit view is not redirected a second time.
    EXPECT_EQ(Read("Software\\Wow6432Node\\New World Computing\\Might and Magic Day of the Destroyer\\1.0",
                   "AppPath"),
              "C:\\32-bit");

    // Opening relative to an opened key goes through the same view.
    RegistryKey registry(RegistryKey::LocalMachine());
    ASSERT_TRUE(registry.Open(RegistryKey::LocalMachine(), "Software"));
    ASSERT_TRUE(registry.Open(registry.Key(), "New World Computing"));
    ASSERT_TRUE(registry.Open(registry.Key(), "Might and Magic Day of the Destroyer\\1.0"));
    std::string text;
    ASSERT_TRUE(registry.QueryString("AppPath", text));
    EXPECT_EQ(text, "C:\\32-bit");
}

TEST_F(RegistryKeyTest, TheWow6432NodeViewNeedsNoArchLine)
{
    prefix.WriteSystemReg(R"(WINE REGISTRY Version 2

[Software\\New World Computing\\Might and Magic Day of the Destroyer\\1.0] 1699999999
"AppPath"="C:\\64-bit"

[Software\\Wow6432Node\\New World Computing\\Might and Magic Day of the Destroyer\\1.0] 1699999999
"AppPath"="C:\\32-bit"
)");
    EXPECT_EQ(Read(kGameKey, "AppPath"), "C:\\32-bit");
}

TEST_F(RegistryKeyTest, KeyAndValueNamesCompareWithoutRegardToCase)
{
    prefix.WriteSystemReg("WINE REGISTRY Version 2\r\n"
                          "\r\n"
                          "[SOFTWARE\\\\new world COMPUTING\\\\Might And Magic Day Of The Destroyer\\\\1.0] 1\r\n"
                          "\"appPATH\"=\"C:\\\\Games\\\\MM8\"\r\n");
    EXPECT_EQ(Read(kGameKey, "AppPath"), "C:\\Games\\MM8");
    EXPECT_EQ(Read("software\\NEW WORLD COMPUTING\\might and magic day of the destroyer\\1.0", "APPPATH"),
              "C:\\Games\\MM8");
}

TEST_F(RegistryKeyTest, DecodesWineEscapesIntoSingleBytes)
{
    prefix.WriteSystemReg(R"(WINE REGISTRY Version 2

[Software\\Caf\x00e9\\Escapes] 1
"Quotes"="say \"hi\" \\ there"
"Accents"="\x00e91\xe9 \x20ac\x263a \xd83d\xde00."
"Controls"="a\tb\nc\101\x"
)" "\"Utf8\"=\"\xC3\xA9 \xC3\"\n");
    EXPECT_EQ(Read("Software\\Caf\xE9\\Escapes", "Quotes"), "say \"hi\" \\ there");
    // Four hex digits at most; a character Windows-1252 lacks is '?', a surrogate pair one '?'.
    EXPECT_EQ(Read("Software\\Caf\xE9\\Escapes", "Accents"), "\xE9" "1\xE9 \x80? ?.");
    EXPECT_EQ(Read("Software\\Caf\xE9\\Escapes", "Controls"), "a\tb\ncAx");
    // Raw bytes: UTF-8 where valid, otherwise taken as they are.
    EXPECT_EQ(Read("Software\\Caf\xE9\\Escapes", "Utf8"), "\xE9 \xC3");
}

TEST_F(RegistryKeyTest, RefusesAValueLongerThanTheBuffer)
{
    const std::string fits(199, 'a');
    const std::string tooLong(200, 'b');
    prefix.WriteSystemReg("WINE REGISTRY Version 2\n[Software\\\\Long] 1\n\"Fits\"=\"" + fits + "\"\n\"TooLong\"=\"" +
                          tooLong + "\"\n");
    RegistryKey registry(RegistryKey::LocalMachine());
    ASSERT_TRUE(registry.Open(RegistryKey::LocalMachine(), "Software\\Long"));

    std::string text = kUntouched;
    ASSERT_TRUE(registry.QueryString("Fits", text));
    EXPECT_EQ(text, fits);
    EXPECT_EQ(registry.ValueSize(), 200u);

    text = kUntouched;
    EXPECT_FALSE(registry.QueryString("TooLong", text));
    EXPECT_EQ(text, kUntouched);
    EXPECT_EQ(registry.Result(), RegistryKey::kMoreData);
    EXPECT_EQ(registry.ValueType(), 1u);
    EXPECT_EQ(registry.ValueSize(), 201u);
}

TEST_F(RegistryKeyTest, AMissingKeyOrValueIsNotFound)
{
    prefix.WriteSystemReg(R"(WINE REGISTRY Version 2

[Software\\GOG.com\\GOGMM8] 1
"PATH"="C:\\GOG"
)");
    RegistryKey registry(RegistryKey::LocalMachine());
    ASSERT_TRUE(registry.Open(RegistryKey::LocalMachine(), "Software\\GOG.com\\GOGMM8"));
    const RegistryKey::Handle opened = registry.Key();

    EXPECT_FALSE(registry.Open(RegistryKey::LocalMachine(), kGameKey));
    EXPECT_EQ(registry.Result(), RegistryKey::kNotFound);
    EXPECT_EQ(registry.KeyName(), kGameKey);
    EXPECT_EQ(registry.Key(), opened); // a failed open keeps the key
    EXPECT_FALSE(registry.Open(RegistryKey::LocalMachine(), "Software\\\\GOG.com"));
    EXPECT_FALSE(registry.Open(RegistryKey::LocalMachine(), "Software\\GOG.com\\"));

    std::string text = kUntouched;
    EXPECT_FALSE(registry.QueryString("AppPath", text));
    EXPECT_EQ(registry.Result(), RegistryKey::kNotFound);
    EXPECT_EQ(text, kUntouched);

    // Keys above a listed key exist although the file lists none of them.
    EXPECT_TRUE(registry.Open(RegistryKey::LocalMachine(), "Software\\GOG.com"));
    EXPECT_FALSE(registry.QueryString("PATH", text));

    registry.Close();
    EXPECT_EQ(registry.Key(), nullptr);
    EXPECT_FALSE(registry.QueryString("PATH", text));
    EXPECT_EQ(registry.Result(), RegistryKey::kInvalidHandle);
    EXPECT_EQ(text, kUntouched);
}

TEST_F(RegistryKeyTest, ReadsTheOtherValueForms)
{
    prefix.WriteSystemReg(R"(WINE REGISTRY Version 2

"Stray"="before any key"
[Software\\Forms] 1
@="the default"
"Expand"=str(2):"%ProgramFiles%\\MM8"
"Number"=dword:00414243
"Binary"=hex:41,42,\
  43,00,44
"Wide"=hex(1):68,00,e9,00,00,00
"Odd"=hex(2):41,00,42
"Broken"=hex:4x,41
"Twice"="first"
"Twice"="second"
"Unterminated"="no end
"Empty"=""
)");
    RegistryKey registry(RegistryKey::LocalMachine());
    ASSERT_TRUE(registry.Open(RegistryKey::LocalMachine(), "Software\\Forms"));
    const auto query = [&](const char* name) -> std::optional<std::string> {
        std::string text;
        return registry.QueryString(name, text) ? std::optional<std::string>(text) : std::nullopt;
    };
    EXPECT_EQ(query(""), "the default");
    EXPECT_EQ(query("Expand"), "%ProgramFiles%\\MM8");
    EXPECT_EQ(registry.ValueType(), 2u);
    EXPECT_EQ(query("Number"), "CBA"); // the type is not tested: the bytes up to the first zero
    EXPECT_EQ(registry.ValueType(), 4u);
    EXPECT_EQ(registry.ValueSize(), 4u);
    EXPECT_EQ(query("Binary"), "ABC");
    EXPECT_EQ(registry.ValueType(), 3u);
    EXPECT_EQ(registry.ValueSize(), 5u);
    EXPECT_EQ(query("Wide"), "h\xE9");
    EXPECT_EQ(registry.ValueSize(), 3u);
    EXPECT_EQ(query("Odd"), "A");
    EXPECT_EQ(query("Broken"), std::nullopt);
    EXPECT_EQ(query("Twice"), "second");
    EXPECT_EQ(query("Unterminated"), std::nullopt);
    EXPECT_EQ(query("Empty"), "");
    EXPECT_EQ(registry.ValueSize(), 1u);
    EXPECT_EQ(query("Stray"), std::nullopt);
}

TEST_F(RegistryKeyTest, BadFilesFindNothing)
{
    const std::string good = R"(WINE REGISTRY Version 2

[Software\\A] 1
"Kept"="yes"

[Software\\B] 1
"Cut"="C:\\Progr)";
    prefix.WriteSystemReg(good);
    EXPECT_EQ(Read("Software\\A", "Kept"), "yes");
    EXPECT_EQ(Read("Software\\B", "Cut"), std::nullopt);

    // Cut inside a key line: the key is not there, nothing else breaks.
    prefix.WriteSystemReg("WINE REGISTRY Version 2\n[Software\\\\A] 1\n\"Kept\"=\"yes\"\n[Software\\\\B");
    EXPECT_EQ(Read("Software\\A", "Kept"), "yes");
    EXPECT_EQ(Read("Software\\B", "Kept"), std::nullopt);

    // Without the header the file is not a registry at all.
    prefix.WriteSystemReg(good.substr(good.find('\n') + 1));
    EXPECT_EQ(Read("Software\\A", "Kept"), std::nullopt);

    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage.push_back(static_cast<char>((i * 7919 + 13) % 256));
    prefix.WriteSystemReg("WINE REGISTRY Version 2\n" + garbage);
    EXPECT_EQ(Read("Software\\A", "Kept"), std::nullopt);
    prefix.WriteSystemReg("");
    EXPECT_EQ(Read("Software", "Kept"), std::nullopt);

    std::filesystem::remove(prefix.Path() / "system.reg");
    std::filesystem::create_directory(prefix.Path() / "system.reg");
    RegistryKey registry(RegistryKey::LocalMachine());
    EXPECT_FALSE(registry.Open(RegistryKey::LocalMachine(), "Software"));
    EXPECT_EQ(registry.Result(), RegistryKey::kNotFound);
}

TEST_F(RegistryKeyTest, ThePrefixIsWineprefixElseDotWineInHome)
{
    const std::string reg = "WINE REGISTRY Version 2\n[Software\\\\Where] 1\n\"Is\"=\"";
    prefix.WriteSystemReg(reg + "prefix\"\n");
    const std::filesystem::path home = prefix.MakeFolder("home");
    std::filesystem::create_directory(home / ".wine");
    {
        std::ofstream out(home / ".wine" / "system.reg");
        out << reg << "home\"\n";
    }
    setenv("HOME", home.c_str(), 1);
    EXPECT_EQ(Read("Software\\Where", "Is"), "prefix");

    setenv("WINEPREFIX", "", 1);
    EXPECT_EQ(Read("Software\\Where", "Is"), "home");
    unsetenv("WINEPREFIX");
    EXPECT_EQ(RegistryKey::WinePrefix(), home / ".wine");
    EXPECT_EQ(Read("Software\\Where", "Is"), "home");

    setenv("WINEPREFIX", (prefix.Path() / "missing").c_str(), 1);
    RegistryKey registry(RegistryKey::LocalMachine());
    EXPECT_FALSE(registry.Open(RegistryKey::LocalMachine(), "Software"));
    EXPECT_EQ(registry.Result(), RegistryKey::kNotFound);

    unsetenv("WINEPREFIX");
    unsetenv("HOME");
    EXPECT_TRUE(RegistryKey::WinePrefix().empty());
    EXPECT_EQ(Read("Software\\Where", "Is"), std::nullopt);
}

TEST_F(RegistryKeyTest, TheFileIsReadOncePerObject)
{
    prefix.WriteSystemReg("WINE REGISTRY Version 2\n[Software\\\\Once] 1\n\"V\"=\"old\"\n");
    RegistryKey registry(RegistryKey::LocalMachine());
    ASSERT_TRUE(registry.Open(RegistryKey::LocalMachine(), "Software\\Once"));
    prefix.WriteSystemReg("WINE REGISTRY Version 2\n[Software\\\\Once] 1\n\"V\"=\"new\"\n");
    std::string text;
    ASSERT_TRUE(registry.QueryString("V", text));
    EXPECT_EQ(text, "old");
    EXPECT_EQ(Read("Software\\Once", "V"), "new");
}

} // namespace
