// Share modes and system error texts: what the file layer does on Windows alone.

#include "model/Container.h"
#include "model/File.h"
#include "model/FileError.h"
#include "tests/model/SavedGameFixture.h"
#include "tests/support/AnsiText.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstring>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr DWORD kReadWrite = GENERIC_READ | GENERIC_WRITE;
constexpr DWORD kShareReadWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;
constexpr int kGold = 2148; // window offset of the party's gold

// Another program's handle on a file: the game, or anything else a player runs meanwhile.
class OtherProgram {
public:
    OtherProgram(const std::filesystem::path& path, DWORD access, DWORD share)
        : handle_(CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)),
          error_(GetLastError())
    {}
    ~OtherProgram()
    {
        if (IsOpen())
            CloseHandle(handle_);
    }
    OtherProgram(const OtherProgram&) = delete;
    OtherProgram& operator=(const OtherProgram&) = delete;

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    DWORD Error() const { return IsOpen() ? ERROR_SUCCESS : error_; }

    std::vector<unsigned char> Read(std::uint32_t position, DWORD size) const
    {
        std::vector<unsigned char> bytes(size);
        OVERLAPPED at{};
        at.Offset = position;
        DWORD got = 0;
        if (!ReadFile(handle_, bytes.data(), size, &got, &at))
            got = 0;
        bytes.resize(got);
        return bytes;
    }
    void Write(std::uint32_t position, const std::vector<unsigned char>& bytes) const
    {
        OVERLAPPED at{};
        at.Offset = position;
        DWORD put = 0;
        ASSERT_TRUE(WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &put, &at));
        ASSERT_EQ(put, bytes.size());
    }

private:
    HANDLE handle_;
    DWORD error_;
};

// FormatMessage's text for code without its closing ".\r\n", asked for in wide characters
// and converted here, apart from the way the file layer asks for it.
std::string SystemText(DWORD code)
{
    wchar_t buffer[512] = {};
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, buffer,
                                  512, nullptr);
    while (length > 0 && (buffer[length - 1] == L'\r' || buffer[length - 1] == L'\n' || buffer[length - 1] == L'.'))
        --length;
    char text[1024] = {};
    const int size =
        WideCharToMultiByte(CP_ACP, 0, buffer, static_cast<int>(length), text, sizeof text, nullptr, nullptr);
    return std::string(text, static_cast<std::size_t>(size));
}

// What File::Open throws, or nothing when it opens.
std::optional<std::string> OpenError(const std::filesystem::path& path, File::Share share)
{
    File file;
    try {
        file.Open(path, share);
    } catch (const FileError& error) {
        EXPECT_EQ(error.Path(), path);
        return error.what();
    }
    EXPECT_TRUE(file.IsOpen());
    return std::nullopt;
}

std::string Expected(DWORD code, const std::filesystem::path& path)
{
    return SystemText(code) + ": " + path.string();
}

class WindowsFileTest : public SavedGameFixture {
protected:
    WindowsFileTest() { builder.SetSaveName("Held by the game"); }

    SaveBuilder builder;
};

TEST_F(WindowsFileTest, TheGameHoldingTheSaveSharedLetsVelkarEditButNotListIt)
{
    builder.WriteTo(path);
    const OtherProgram game(path, kReadWrite, kShareReadWrite);
    ASSERT_TRUE(game.IsOpen());

    EXPECT_EQ(OpenError(path, File::Share::ReadWrite), std::nullopt);
    EXPECT_EQ(OpenError(path, File::Share::Exclusive), Expected(ERROR_SHARING_VIOLATION, path));
    EXPECT_EQ(ReadSaveName(path), std::nullopt) << "the listing opens exclusively: a save in use is not listed";

    // Both handles see one file: Velkar's Save reaches the game, the game's write reaches Reload.
    ASSERT_TRUE(save.Open(path));
    const std::uint32_t offset = builder.PartyOffset();
    save.SetGold(0x0A0B0C0D);
    save.Save();
    EXPECT_EQ(game.Read(offset + kGold, 4), (std::vector<unsigned char>{0x0D, 0x0C, 0x0B, 0x0A}));
    game.Write(offset + kGold, {1, 2, 0, 0});
    save.Reload();
    EXPECT_EQ(save.GetGold(), 0x0201);
    EXPECT_TRUE(messages.empty());
}

TEST_F(WindowsFileTest, AGameHoldingTheSaveForItselfKeepsVelkarOut)
{
    builder.WriteTo(path);
    {
        const OtherProgram game(path, kReadWrite, 0);
        ASSERT_TRUE(game.IsOpen());
        EXPECT_EQ(OpenError(path, File::Share::ReadWrite), Expected(ERROR_SHARING_VIOLATION, path));
        EXPECT_EQ(OpenError(path, File::Share::Exclusive), Expected(ERROR_SHARING_VIOLATION, path));
        EXPECT_EQ(ReadSaveName(path), std::nullopt);
        try {
            save.Open(path);
            ADD_FAILURE() << "opened a file held exclusively";
        } catch (const FileError& error) {
            EXPECT_EQ(error.what(), Expected(ERROR_SHARING_VIOLATION, path));
        }
        EXPECT_TRUE(messages.empty()) << "a file error is not \"Invalid save game file.\"";
    }
    {
        // Reading, and letting others only read: nobody may write meanwhile, Velkar included.
        const OtherProgram reader(path, GENERIC_READ, FILE_SHARE_READ);
        ASSERT_TRUE(reader.IsOpen());
        EXPECT_EQ(OpenError(path, File::Share::ReadWrite), Expected(ERROR_SHARING_VIOLATION, path));
    }
    {
        const OtherProgram reader(path, GENERIC_READ, kShareReadWrite);
        ASSERT_TRUE(reader.IsOpen());
        EXPECT_EQ(OpenError(path, File::Share::ReadWrite), std::nullopt);
        EXPECT_EQ(OpenError(path, File::Share::Exclusive), Expected(ERROR_SHARING_VIOLATION, path));
    }
    EXPECT_EQ(ReadSaveName(path), "Held by the game") << "listed again once nobody holds it";
}

TEST_F(WindowsFileTest, WhatVelkarHoldsOthersShareOnlyAsAsked)
{
    builder.WriteTo(path);
    File file;
    file.Open(path, File::Share::Exclusive);
    EXPECT_EQ(OtherProgram(path, GENERIC_READ, kShareReadWrite).Error(), ERROR_SHARING_VIOLATION);
    EXPECT_EQ(OtherProgram(path, kReadWrite, kShareReadWrite).Error(), ERROR_SHARING_VIOLATION);

    // Opening again lets the exclusive handle go first.
    file.Open(path, File::Share::ReadWrite);
    EXPECT_EQ(OtherProgram(path, kReadWrite, kShareReadWrite).Error(), ERROR_SUCCESS) << "the game may write";
    EXPECT_EQ(OtherProgram(path, kReadWrite, 0).Error(), ERROR_SHARING_VIOLATION);
    EXPECT_EQ(OtherProgram(path, GENERIC_READ, FILE_SHARE_READ).Error(), ERROR_SHARING_VIOLATION)
        << "Velkar writes: nobody can insist on read-only sharing";

    // The handle moves with the object and is released exactly once.
    File moved = std::move(file);
    EXPECT_FALSE(file.IsOpen());
    EXPECT_TRUE(moved.IsOpen());
    file.Close();
    EXPECT_EQ(OtherProgram(path, kReadWrite, 0).Error(), ERROR_SHARING_VIOLATION);
    moved.Close();
    EXPECT_FALSE(moved.IsOpen());
    EXPECT_EQ(OtherProgram(path, kReadWrite, 0).Error(), ERROR_SUCCESS);
}

TEST_F(WindowsFileTest, FileErrorsCarryTheSystemsOwnMessageAndThePath)
{
    const struct {
        std::filesystem::path path;
        DWORD code;
    } cases[] = {
        {dir / "missing.dod", ERROR_FILE_NOT_FOUND},
        {dir / "no such folder" / "save000.dod", ERROR_PATH_NOT_FOUND},
        {dir.Path(), ERROR_ACCESS_DENIED}, // a folder is no file
    };
    for (const auto& c : cases) {
        const auto error = OpenError(c.path, File::Share::ReadWrite);
        ASSERT_TRUE(error.has_value()) << c.path;
        EXPECT_EQ(*error, Expected(c.code, c.path));
        EXPECT_EQ(error->find_first_of("\r\n"), std::string::npos) << *error;
        EXPECT_THROW(save.Open(c.path), FileError);
    }
    EXPECT_TRUE(messages.empty());

    // The system's text, not the C library's text for the same number.
    const std::string sharing = FileError::FromSystemCode(ERROR_SHARING_VIOLATION, path).what();
    EXPECT_NE(sharing.find(SystemText(ERROR_SHARING_VIOLATION)), std::string::npos);
    EXPECT_EQ(sharing.find(std::strerror(ERROR_SHARING_VIOLATION)), std::string::npos) << sharing;

    // A code the system has no text for still says which it was.
    EXPECT_EQ(std::string(FileError::FromSystemCode(0x20001234, path).what()),
              "System error 536875572: " + path.string());
}

TEST_F(WindowsFileTest, ANonAsciiPathReadsInTheAnsiCodePageOfTheMessage)
{
    // Bytes above 0x7F in whatever the ANSI code page is (in Windows-1252 "Jeux été – Œuvres"):
    // letters that Latin-1 has and letters it lacks.
    const std::filesystem::path folder = dir / FromAnsi("Jeux \xE9t\xE9 \x96 \x8Cuvres");
    ASSERT_TRUE(std::filesystem::create_directory(folder));
    const std::filesystem::path missing = folder / FromAnsi("save\xE0.dod");

    const auto error = OpenError(missing, File::Share::ReadWrite);
    ASSERT_TRUE(error.has_value());
    const std::string prefix = SystemText(ERROR_FILE_NOT_FOUND) + ": ";
    ASSERT_EQ(error->substr(0, prefix.size()), prefix);
    EXPECT_EQ(FromAnsi(error->substr(prefix.size())), missing.native()) << *error;
    EXPECT_EQ(error->find(missing.string()), std::string::npos) << "UTF-8 in an ANSI message";
}

TEST_F(WindowsFileTest, ReadsStopAtTheEndAndWritesLandAtTheirPosition)
{
    std::filesystem::path small = dir / "small.bin";
    {
        std::ofstream(small, std::ios::binary) << "0123456789";
    }
    File file;
    file.Open(small, File::Share::ReadWrite);
    char bytes[8] = {};
    EXPECT_EQ(file.ReadAt(6, bytes, sizeof bytes), 4u);
    EXPECT_EQ(std::string(bytes, 4), "6789");
    EXPECT_EQ(file.ReadAt(10, bytes, sizeof bytes), 0u);
    EXPECT_EQ(file.ReadAt(1u << 20, bytes, sizeof bytes), 0u);

    file.WriteAt(8, "abcd", 4);
    file.WriteAt(2, "XY", 2);
    const OtherProgram other(small, GENERIC_READ, kShareReadWrite);
    const auto all = other.Read(0, 64);
    EXPECT_EQ(std::string(all.begin(), all.end()), "01XY4567abcd");
}

} // namespace
