// RegistryKey over a Wine prefix's system.reg; the file format itself is WineRegistryTest's.

#include "game/RegistryKey.h"

#include "tests/support/TempWinePrefix.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace {

constexpr const char* kGameKey = "Software\\New World Computing\\Might and Magic Day of the Destroyer\\1.0";

// A value that must survive a failed query.
const std::u16string kUntouched = u"untouched";

class RegistryKeyTest : public testing::Test {
protected:
    TempWinePrefix prefix;

    // Opens key under HKEY_LOCAL_MACHINE and reads one value; nothing when either fails.
    static std::optional<std::u16string> Read(const char* key, const char* value)
    {
        RegistryKey registry(RegistryKey::LocalMachine());
        std::u16string text;
        if (!registry.Open(RegistryKey::LocalMachine(), key) || !registry.QueryString(value, text))
            return std::nullopt;
        return text;
    }
};

TEST_F(RegistryKeyTest, ReadsAStringAsUtf16OrUtf8)
{
    prefix.WriteSystemReg(R"(WINE REGISTRY Version 2
;; All keys relative to \\Machine

#arch=win32

[Software\\New World Computing\\Might and Magic Day of the Destroyer\\1.0] 1699999999
#time=1da1b2c3d4e5f60
"AppPath"="C:\\Program Files\\3DO\\Might and Magic VIII"
"Folder"="C:\\\x418\x433\x440\x44b \xae"
)");
    RegistryKey registry(RegistryKey::LocalMachine());
    EXPECT_EQ(registry.Key(), RegistryKey::LocalMachine());
    EXPECT_EQ(registry.KeyName(), "");
    EXPECT_EQ(registry.Result(), RegistryKey::kSuccess);

    ASSERT_TRUE(registry.Open(RegistryKey::LocalMachine(), kGameKey));
    EXPECT_EQ(registry.Result(), RegistryKey::kSuccess);
    EXPECT_EQ(registry.KeyName(), kGameKey);
    EXPECT_NE(registry.Key(), RegistryKey::LocalMachine());

    std::u16string text;
    ASSERT_TRUE(registry.QueryString("AppPath", text));
    EXPECT_EQ(text, u"C:\\Program Files\\3DO\\Might and Magic VIII");
    EXPECT_EQ(registry.ValueType(), 1u);            // REG_SZ
    EXPECT_EQ(registry.ValueSize(), (41u + 1) * 2); // UTF-16, with its terminator
    ASSERT_TRUE(registry.QueryString("Folder", text));
    EXPECT_EQ(text, u"C:\\\u0418\u0433\u0440\u044B \u00AE");
    std::string utf8;
    ASSERT_TRUE(registry.QueryString("Folder", utf8));
    EXPECT_EQ(utf8, "C:\\\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B \xC2\xAE");

    // Opening clears what the last query reported.
    ASSERT_TRUE(registry.Open(RegistryKey::LocalMachine(), "Software"));
    EXPECT_EQ(registry.ValueType(), 0u);
    EXPECT_EQ(registry.ValueSize(), 0u);
}

TEST_F(RegistryKeyTest, A64BitPrefixShowsTheWow6432NodeViewFirst)
{
    prefix.WriteSystemReg(R"(WINE REGISTRY Version 2

[Software\\GOG.com\\GOGMM8] 1699999999
"PATH"="C:\\GOG Games\\Might and Magic 8"

[Software\\New World Computing\\Might and Magic Day of the Destroyer\\1.0] 1699999999
"AppPath"="C:\\64-bit"

[Software\\Wow6432Node\\New World Computing\\Might and Magic Day of the Destroyer\\1.0] 1699999999
"AppPath"="C:\\32-bit"
)");
    EXPECT_EQ(Read(kGameKey, "AppPath"), u"C:\\32-bit");
    // Only in the 64-bit view: found there all the same.
    EXPECT_EQ(Read("Software\\GOG.com\\GOGMM8", "PATH"), u"C:\\GOG Games\\Might and Magic 8");
    // Named explicitly, the 32-bit view is not redirected a second time.
    EXPECT_EQ(Read("Software\\Wow6432Node\\New World Computing\\Might and Magic Day of the Destroyer\\1.0", "AppPath"),
              u"C:\\32-bit");

    // Opening relative to an opened key goes through the same view.
    RegistryKey registry(RegistryKey::LocalMachine());
    ASSERT_TRUE(registry.Open(RegistryKey::LocalMachine(), "Software"));
    ASSERT_TRUE(registry.Open(registry.Key(), "New World Computing"));
    ASSERT_TRUE(registry.Open(registry.Key(), "Might and Magic Day of the Destroyer\\1.0"));
    std::u16string text;
    ASSERT_TRUE(registry.QueryString("AppPath", text));
    EXPECT_EQ(text, u"C:\\32-bit");
}

TEST_F(RegistryKeyTest, RefusesAValueLongerThanTheBuffer)
{
    const std::string fits(99, 'a'); // 200 bytes with the terminator
    const std::string tooLong(100, 'b');
    prefix.WriteSystemReg("WINE REGISTRY Version 2\n[Software\\\\Long] 1\n\"Fits\"=\"" + fits + "\"\n\"TooLong\"=\"" +
                          tooLong + "\"\n\"Number\"=dword:00414243\n");
    RegistryKey registry(RegistryKey::LocalMachine());
    ASSERT_TRUE(registry.Open(RegistryKey::LocalMachine(), "Software\\Long"));

    std::u16string text = kUntouched;
    ASSERT_TRUE(registry.QueryString("Fits", text));
    EXPECT_EQ(text, std::u16string(99, u'a'));
    EXPECT_EQ(registry.ValueSize(), 200u);

    text = kUntouched;
    EXPECT_FALSE(registry.QueryString("TooLong", text));
    EXPECT_EQ(text, kUntouched);
    EXPECT_EQ(registry.Result(), RegistryKey::kMoreData);
    EXPECT_EQ(registry.ValueType(), 1u);
    EXPECT_EQ(registry.ValueSize(), 202u);

    // The type is not tested: the bytes as UTF-16 up to the first zero unit.
    ASSERT_TRUE(registry.QueryString("Number", text));
    EXPECT_EQ(text, u"\u4243A");
    EXPECT_EQ(registry.ValueType(), 4u);
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

    std::u16string text = kUntouched;
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
    EXPECT_EQ(Read("Software\\Where", "Is"), u"prefix");

    setenv("WINEPREFIX", "", 1);
    EXPECT_EQ(Read("Software\\Where", "Is"), u"home");
    unsetenv("WINEPREFIX");
    EXPECT_EQ(RegistryKey::WinePrefix(), home / ".wine");
    EXPECT_EQ(Read("Software\\Where", "Is"), u"home");

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
    std::u16string text;
    ASSERT_TRUE(registry.QueryString("V", text));
    EXPECT_EQ(text, u"old");
    EXPECT_EQ(Read("Software\\Once", "V"), u"new");
}

} // namespace
