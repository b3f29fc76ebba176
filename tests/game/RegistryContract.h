#pragma once

// What RegistryKey promises on every platform, written once and run against each back end:
// the Windows registry (WindowsRegistryTest.cpp) and a Wine prefix's system.reg
// (RegistryKeyTest.cpp). A back end is a type with Prepare(), run before each test, and
// Set(key, name, text), which writes a text value (REG_SZ) in the view the game's installer
// writes, the 32-bit one.

#include "game/RegistryKey.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace RegistryContract {

inline constexpr const char* kGameKey = "Software\\New World Computing\\Might and Magic Day of the Destroyer\\1.0";
inline constexpr const char* kGogKey = "Software\\GOG.com\\GOGMM8";
// A value that must survive a failed query.
inline const std::u16string kUntouched = u"untouched";

// Opens key under HKEY_LOCAL_MACHINE and reads one value; nothing when either fails.
inline std::optional<std::u16string> Read(const char* key, const char* value)
{
    RegistryKey registry(RegistryKey::LocalMachine());
    std::u16string text;
    if (!registry.Open(RegistryKey::LocalMachine(), key) || !registry.QueryString(value, text))
        return std::nullopt;
    return text;
}

} // namespace RegistryContract

template <class Backend>
class RegistryContractTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(backend.Prepare()); }

    Backend backend;
};

TYPED_TEST_SUITE_P(RegistryContractTest);

TYPED_TEST_P(RegistryContractTest, ReadsAStringAsUtf16OrUtf8)
{
    using namespace RegistryContract;
    this->backend.Set(kGameKey, "AppPath", u"C:\\Program Files\\3DO\\Might and Magic VIII");
    this->backend.Set(kGameKey, "Folder", u"C:\\\u0418\u0433\u0440\u044B \u00AE");
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

TYPED_TEST_P(RegistryContractTest, TheGamesViewIsThe32BitOneByEitherNameAndStepByStep)
{
    using namespace RegistryContract;
    this->backend.Set(kGameKey, "AppPath", u"C:\\32-bit");
    EXPECT_EQ(Read(kGameKey, "AppPath"), u"C:\\32-bit");
    // Named explicitly, the 32-bit view is not redirected a second time.
    EXPECT_EQ(Read("Software\\Wow6432Node\\New World Computing\\Might and Magic Day of the Destroyer\\1.0", "AppPath"),
              u"C:\\32-bit");

    // Opening relative to an opened key stays in the view of that key.
    RegistryKey registry(RegistryKey::LocalMachine());
    ASSERT_TRUE(registry.Open(RegistryKey::LocalMachine(), "Software"));
    ASSERT_TRUE(registry.Open(registry.Key(), "New World Computing"));
    ASSERT_TRUE(registry.Open(registry.Key(), "Might and Magic Day of the Destroyer\\1.0"));
    std::u16string text;
    ASSERT_TRUE(registry.QueryString("AppPath", text));
    EXPECT_EQ(text, u"C:\\32-bit");
}

TYPED_TEST_P(RegistryContractTest, RefusesAValueLongerThanTheBuffer)
{
    using namespace RegistryContract;
    // 200 bytes: 99 UTF-16 units and the terminator.
    this->backend.Set(kGameKey, "Fits", std::u16string(99, u'a'));
    this->backend.Set(kGameKey, "TooLong", std::u16string(100, u'b'));
    RegistryKey registry(RegistryKey::LocalMachine());
    ASSERT_TRUE(registry.Open(RegistryKey::LocalMachine(), kGameKey));

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
}

TYPED_TEST_P(RegistryContractTest, AMissingKeyOrValueIsNotFoundAndAFailedOpenKeepsTheKey)
{
    using namespace RegistryContract;
    this->backend.Set(kGogKey, "PATH", u"C:\\GOG");
    RegistryKey registry(RegistryKey::LocalMachine());
    EXPECT_FALSE(registry.Open(RegistryKey::LocalMachine(), kGameKey));
    EXPECT_EQ(registry.Result(), RegistryKey::kNotFound);
    EXPECT_EQ(registry.KeyName(), kGameKey);
    EXPECT_EQ(registry.Key(), RegistryKey::LocalMachine());

    ASSERT_TRUE(registry.Open(RegistryKey::LocalMachine(), kGogKey));
    const RegistryKey::Handle opened = registry.Key();
    EXPECT_FALSE(registry.Open(RegistryKey::LocalMachine(), kGameKey));
    EXPECT_EQ(registry.Key(), opened);

    std::u16string text = kUntouched;
    EXPECT_FALSE(registry.QueryString("AppPath", text));
    EXPECT_EQ(registry.Result(), RegistryKey::kNotFound);
    EXPECT_EQ(registry.ValueType(), 0u);
    EXPECT_EQ(registry.ValueSize(), 0u);
    EXPECT_EQ(text, kUntouched);

    // The keys above a written key exist, without its values.
    EXPECT_TRUE(registry.Open(RegistryKey::LocalMachine(), "Software\\GOG.com"));
    EXPECT_FALSE(registry.QueryString("PATH", text));

    registry.Close();
    EXPECT_EQ(registry.Key(), nullptr);
    EXPECT_FALSE(registry.QueryString("PATH", text));
    EXPECT_EQ(registry.Result(), RegistryKey::kInvalidHandle);
    EXPECT_EQ(text, kUntouched);

    // HKEY_LOCAL_MACHINE itself was never closed.
    EXPECT_EQ(Read(kGogKey, "PATH"), u"C:\\GOG");
}

REGISTER_TYPED_TEST_SUITE_P(RegistryContractTest, ReadsAStringAsUtf16OrUtf8,
                            TheGamesViewIsThe32BitOneByEitherNameAndStepByStep, RefusesAValueLongerThanTheBuffer,
                            AMissingKeyOrValueIsNotFoundAndAFailedOpenKeepsTheKey);
