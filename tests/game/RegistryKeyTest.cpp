// RegistryKey over a Wine prefix's system.reg: the contract of every back end (RegistryContract.h)
// and what is the prefix's own; the file format itself is WineRegistryTest's.

#include "game/RegistryKey.h"

#include "tests/game/RegistryContract.h"
#include "tests/support/TempWinePrefix.h"
#include "tests/support/WinePrefixWriter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

namespace {

using RegistryContract::kGameKey;
using RegistryContract::Read;

// The contract's back end: a 64-bit prefix's system.reg, its keys written as Wine writes them.
class WineSystemReg {
public:
    void Prepare() {}

    // A 32-bit program's Software\X lives in Software\Wow6432Node\X of a 64-bit prefix.
    void Set(std::string_view key, std::string_view name, std::u16string_view text)
    {
        constexpr std::string_view software = "Software\\";
        ASSERT_TRUE(key.starts_with(software)) << key;
        const std::string key32 = std::string(software) + "Wow6432Node\\" + std::string(key.substr(software.size()));
        writer_.Set(key32, name, text).Save();
    }

private:
    TempWinePrefix prefix_;
    WinePrefixWriter writer_{prefix_.Path()};
};

INSTANTIATE_TYPED_TEST_SUITE_P(WineSystemReg, RegistryContractTest, WineSystemReg);

class RegistryKeyTest : public testing::Test {
protected:
    TempWinePrefix prefix;
};

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

    // Opening relative to an opened key goes through the same view, with both views there.
    RegistryKey registry(RegistryKey::LocalMachine());
    ASSERT_TRUE(registry.Open(RegistryKey::LocalMachine(), "Software"));
    ASSERT_TRUE(registry.Open(registry.Key(), "New World Computing\\Might and Magic Day of the Destroyer\\1.0"));
    std::u16string text;
    EXPECT_TRUE(registry.QueryString("AppPath", text) && text == u"C:\\32-bit") << registry.Result();
}

TEST_F(RegistryKeyTest, TheValuesTypeIsNotTestedAndAnEmptyComponentNamesNoKey)
{
    prefix.WriteSystemReg("WINE REGISTRY Version 2\n[Software\\\\GOG.com] 1\n\"Number\"=dword:00414243\n");
    RegistryKey registry(RegistryKey::LocalMachine());
    ASSERT_TRUE(registry.Open(RegistryKey::LocalMachine(), "Software\\GOG.com"));
    // The bytes as UTF-16 up to the first zero unit.
    std::u16string text;
    ASSERT_TRUE(registry.QueryString("Number", text));
    EXPECT_EQ(text, u"\u4243A");
    EXPECT_EQ(registry.ValueType(), 4u);

    EXPECT_FALSE(registry.Open(RegistryKey::LocalMachine(), "Software\\\\GOG.com"));
    EXPECT_EQ(registry.Result(), RegistryKey::kNotFound);
    EXPECT_FALSE(registry.Open(RegistryKey::LocalMachine(), "Software\\GOG.com\\"));
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
