// The game folder from the real registry, and RegistryKey's contract (RegistryContract.h) on it:
// keys these tests write into the throwaway Wine prefix that scripts/test-windows runs them in.

#include "game/GameFolderLocator.h"
#include "game/RegistryKey.h"

#include "model/Container.h"
#include "model/File.h"
#include "model/MessageSink.h"
#include "tests/game/RegistryContract.h"
#include "tests/support/SaveBuilder.h"
#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <aclapi.h>
#include <sddl.h>
#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;

using RegistryContract::kGameKey;
using RegistryContract::kGogKey;
using RegistryContract::Read;
constexpr const char* kPreviousKey = "Software\\New World Computing\\Might and Magic VII\\1.0";

std::wstring Wide(std::string_view ascii)
{
    return std::wstring(ascii.begin(), ascii.end());
}

// A path's UTF-16 text, as the registry holds it.
std::u16string Units(const fs::path& path)
{
    return std::u16string(path.native().begin(), path.native().end());
}

// Writes the keys as an installer does, in the 32-bit view (where the 32-bit game and its
// installers write) or in the 64-bit one.
class RegistryWriter {
public:
    static void Set(REGSAM view, const char* key, const char* name, const std::wstring& value)
    {
        HKEY opened = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, Wide(key).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr,
                                  &opened, nullptr),
                  ERROR_SUCCESS)
            << key;
        const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
        EXPECT_EQ(
            RegSetValueExW(opened, Wide(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes),
            ERROR_SUCCESS);
        RegCloseKey(opened);
    }

    // Lets everybody read the key and nobody, its owner aside, do more: a key an installer
    // wrote as administrator, seen by a player who is not one.
    static void MakeReadOnly(REGSAM view, const char* key) { SetDacl(view, key, L"D:P(A;;KR;;;WD)"); }
    static void MakeWritable(REGSAM view, const char* key) { SetDacl(view, key, L"D:P(A;;KA;;;WD)"); }

    // Removes the keys these tests write, in both views.
    static void Clear()
    {
        for (const REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
            MakeWritable(view, kGameKey);
            HKEY software = nullptr;
            if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software", 0, KEY_ALL_ACCESS | view, &software) != ERROR_SUCCESS)
                continue;
            RegDeleteTreeW(software, L"New World Computing");
            RegDeleteTreeW(software, L"GOG.com");
            RegCloseKey(software);
        }
    }

private:
    static void SetDacl(REGSAM view, const char* key, const wchar_t* sddl)
    {
        HKEY opened = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, Wide(key).c_str(), 0, WRITE_DAC | view, &opened) != ERROR_SUCCESS)
            return;
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        if (ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor, nullptr)) {
            EXPECT_EQ(RegSetKeySecurity(opened, DACL_SECURITY_INFORMATION, descriptor), ERROR_SUCCESS);
            LocalFree(descriptor);
        }
        RegCloseKey(opened);
    }
};

bool RunsUnderWine()
{
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// The contract's back end: the registry of the Wine prefix the tests run in, written as an
// installer writes it.
class WindowsRegistry {
public:
    ~WindowsRegistry()
    {
        if (RunsUnderWine())
            RegistryWriter::Clear();
    }

    void Prepare()
    {
        // These tests replace the game's keys: never those of a real installation.
        ASSERT_TRUE(RunsUnderWine()) << "run through scripts/test-windows, in a throwaway Wine prefix";
        RegistryWriter::Clear();
    }

    void Set(std::string_view key, std::string_view name, std::u16string_view text)
    {
        RegistryWriter::Set(KEY_WOW64_32KEY, std::string(key).c_str(), std::string(name).c_str(),
                            std::wstring(text.begin(), text.end()));
    }
};

INSTANTIATE_TYPED_TEST_SUITE_P(WindowsRegistry, RegistryContractTest, WindowsRegistry);

class WindowsRegistryTest : public testing::Test {
protected:
    void SetUp() override
    {
        // These tests replace the game's keys: never those of a real installation.
        ASSERT_TRUE(RunsUnderWine()) << "run through scripts/test-windows, in a throwaway Wine prefix";
        RegistryWriter::Clear();
        previous_ = MessageSink::Install([this](std::string_view text) { messages.emplace_back(text); });
    }
    void TearDown() override
    {
        MessageSink::Install(previous_);
        if (RunsUnderWine())
            RegistryWriter::Clear();
    }

    // A game folder under the temporary folder; its path as the registry would hold it.
    fs::path MakeFolder(const fs::path& name) const
    {
        fs::path folder = dir / name;
        folder.make_preferred();
        fs::create_directories(folder);
        return folder;
    }

    TempDirectory dir;
    std::vector<std::string> messages;

private:
    MessageSink::Handler previous_;
};

TEST_F(WindowsRegistryTest, ReadsAppPathFromTheGamesKey)
{
    const fs::path game = MakeFolder("Might and Magic VIII");
    RegistryWriter::Set(KEY_WOW64_32KEY, kGameKey, "AppPath", game.wstring());
    RegistryWriter::Set(KEY_WOW64_32KEY, kGameKey, "Version", L"1.0");

    EXPECT_EQ(Read(kGameKey, "AppPath"), Units(game));
    EXPECT_EQ(GameFolderLocator::Find(), game);
    const auto games = GameFolderLocator::FindAll();
    ASSERT_EQ(games.size(), 1u);
    EXPECT_EQ(games[0].folder, game);
    EXPECT_EQ(games[0].source, "Windows registry");
    EXPECT_TRUE(messages.empty());
}

TEST_F(WindowsRegistryTest, TheGamesKeysAreTriedInOrderUntilOneNamesAFolder)
{
    const fs::path own = MakeFolder("3DO/Might and Magic VIII");
    const fs::path gog = MakeFolder("GOG Games/Might and Magic 8");
    const fs::path previous = MakeFolder("3DO/Might and Magic VII");
    RegistryWriter::Set(KEY_WOW64_32KEY, kPreviousKey, "AppPath", previous.wstring());
    RegistryWriter::Set(KEY_WOW64_32KEY, kGogKey, "PATH", gog.wstring());
    RegistryWriter::Set(KEY_WOW64_32KEY, kGameKey, "AppPath", own.wstring());

    EXPECT_EQ(GameFolderLocator::Find(), own);
    fs::remove(own);
    EXPECT_EQ(GameFolderLocator::Find(), gog);
    fs::remove(gog);
    EXPECT_EQ(GameFolderLocator::Find(), previous);

    // A wrong value name, and a path longer than the 200-byte buffer, are passed over.
    const fs::path wrongName = MakeFolder("wrong value name");
    RegistryWriter::Set(KEY_WOW64_32KEY, kGameKey, "AppPath", L"C:\\" + std::wstring(300, L'x'));
    RegistryWriter::Set(KEY_WOW64_32KEY, kGameKey, "Path", wrongName.wstring());
    RegistryWriter::Set(KEY_WOW64_32KEY, kGogKey, "AppPath", wrongName.wstring());
    EXPECT_EQ(GameFolderLocator::Find(), previous);

    RegistryKey registry(RegistryKey::LocalMachine());
    fs::remove(previous);
    EXPECT_EQ(GameFolderLocator::Find(registry), fs::path());
    EXPECT_EQ(registry.KeyName(), kPreviousKey) << "left holding the last key it opened";
    EXPECT_NE(registry.Key(), RegistryKey::LocalMachine());
    EXPECT_TRUE(messages.empty());
}

TEST_F(WindowsRegistryTest, OnlyThe32BitViewCounts)
{
    // The 32-bit game's installer writes into the 32-bit view; the 64-bit view is another key.
    const fs::path wrongView = MakeFolder("64-bit view");
    const fs::path game = MakeFolder("32-bit view");
    RegistryWriter::Set(KEY_WOW64_64KEY, kGameKey, "AppPath", wrongView.wstring());
    EXPECT_EQ(Read(kGameKey, "AppPath"), std::nullopt);
    EXPECT_EQ(GameFolderLocator::Find(), fs::path());

    RegistryWriter::Set(KEY_WOW64_32KEY, kGameKey, "AppPath", game.wstring());
    EXPECT_EQ(Read(kGameKey, "AppPath"), Units(game));
    EXPECT_EQ(GameFolderLocator::Find(), game);
}

TEST_F(WindowsRegistryTest, OpensForReadingOnlySoPlayersWhoAreNotAdministratorsFindTheGame)
{
    const fs::path game = MakeFolder("Might and Magic VIII");
    RegistryWriter::Set(KEY_WOW64_32KEY, kGameKey, "AppPath", game.wstring());
    RegistryWriter::MakeReadOnly(KEY_WOW64_32KEY, kGameKey);

    // The key refuses every right but reading, as it does a player who is not an administrator.
    HKEY all = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, Wide(kGameKey).c_str(), 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, &all),
              ERROR_ACCESS_DENIED);

    RegistryKey registry(RegistryKey::LocalMachine());
    ASSERT_TRUE(registry.Open(RegistryKey::LocalMachine(), kGameKey)) << registry.Result();
    std::u16string text;
    ASSERT_TRUE(registry.QueryString("AppPath", text));
    EXPECT_EQ(text, Units(game));
    EXPECT_EQ(GameFolderLocator::Find(), game);
}

TEST_F(WindowsRegistryTest, AMissingKeyOrValueLeavesTheFolderEmptyWithoutAMessage)
{
    // Nothing installed.
    EXPECT_EQ(GameFolderLocator::Find(), fs::path());
    EXPECT_TRUE(GameFolderLocator::FindAll().empty());

    // The key without its value, and a value naming no folder.
    RegistryWriter::Set(KEY_WOW64_32KEY, kGameKey, "Version", L"1.0");
    EXPECT_EQ(GameFolderLocator::Find(), fs::path());
    RegistryWriter::Set(KEY_WOW64_32KEY, kGameKey, "AppPath", (dir / "not installed").wstring());
    EXPECT_EQ(GameFolderLocator::Find(), fs::path());
    EXPECT_TRUE(messages.empty()) << "the start-up dialog just starts with an empty folder";
}

TEST_F(WindowsRegistryTest, AFolderNamedInAnyScriptIsFoundAndItsSavesOpen)
{
    // Cyrillic and a sign, whatever the ANSI code page: the registry's UTF-16 reaches the
    // file system unchanged.
    const fs::path game = MakeFolder(L"\u0418\u0433\u0440\u044B \u00AE");
    fs::create_directory(game / "Saves");
    SaveBuilder("Accents").WriteTo(game / "Saves" / "save003.dod");
    RegistryWriter::Set(KEY_WOW64_32KEY, kGameKey, "AppPath", game.wstring());

    const fs::path found = GameFolderLocator::Find();
    EXPECT_EQ(found, game);
    EXPECT_EQ(ReadSaveName(found / "Saves" / "save003.dod"), "Accents");
    EXPECT_EQ(Read(kGameKey, "AppPath"), Units(game));
    std::string utf8;
    RegistryKey registry(RegistryKey::LocalMachine());
    ASSERT_TRUE(registry.Open(RegistryKey::LocalMachine(), kGameKey));
    ASSERT_TRUE(registry.QueryString("AppPath", utf8));
    EXPECT_TRUE(utf8.ends_with("\\\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B \xC2\xAE")) << utf8;
}

} // namespace
