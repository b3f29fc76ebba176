// The fuzzers run on bytes mounted in memory: these must answer every call as the same bytes
// on disk do, or what the fuzzers find (or miss) would say nothing about real files.
#include "model/File.h"
#include "model/FileError.h"
#include "tests/support/Files.h"
#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <memory>
#include <string>

namespace {

// Every answer in order: reads across and past the end, writes inside and past the end (a
// gap between), a flush, a cut and a lengthening, the name check, a read the fault hook
// fails, and the close.
std::string Transcript(const std::filesystem::path& path)
{
    std::string log;
    File file;
    file.Open(path, File::Share::ReadWrite);
    const auto read = [&](std::uint64_t at, std::size_t size) {
        std::string bytes(size, '?');
        bytes.resize(file.ReadAt(at, bytes.data(), size));
        log += bytes + '|';
    };
    for (const std::uint64_t at : {0, 6, 10, 99})
        read(at, 8);
    file.WriteAt(2, "AB", 2);
    file.WriteAt(13, "YZ", 2);
    file.Flush();
    read(0, 32);
    file.Resize(3);
    read(0, 32);
    file.Resize(5);
    read(0, 32);
    log += file.IsNamedBy(path) ? "named|" : "not named|";
    File::SetFaultHook(
        [](File::Operation op, const std::filesystem::path&) { return op == File::Operation::Read ? EIO : 0; });
    try {
        read(0, 1);
    } catch (const FileError& error) {
        log += error.what();
    }
    File::SetFaultHook({});
    file.Close();
    return log + (file.IsOpen() ? "|open" : "|closed");
}

std::string Content(const std::filesystem::path& path)
{
    const std::vector<std::uint8_t> bytes = ReadBytes(path);
    return {bytes.begin(), bytes.end()};
}

TEST(FileTest, MountedBytesAnswerLikeTheSameBytesOnDisk)
{
    const TempDirectory dir;
    const auto path = dir / "save000.dod";
    std::ofstream(path, std::ios::binary) << "0123456789";
    const std::string onDisk = Transcript(path);
    const std::string written = Content(path);

    // Mounted at the same path, so that the error texts name the same file.
    std::ofstream(path, std::ios::binary | std::ios::trunc) << "0123456789";
    const auto bytes = std::make_shared<File::Bytes>(10, '\0');
    std::copy_n("0123456789", 10, bytes->begin());
    File::Mount(path, bytes);
    EXPECT_EQ(Transcript(path), onDisk);
    EXPECT_EQ(written, std::string("01A\0\0", 5));
    EXPECT_EQ(std::string(bytes->begin(), bytes->end()), written);
    EXPECT_EQ(Content(path), "0123456789") << "the disk is not touched";

    // Other bytes mounted there are another file; unmounted, the path names the disk's.
    File file;
    file.Open(path, File::Share::ReadWrite);
    EXPECT_TRUE(file.IsNamedBy(path));
    File::Mount(path, std::make_shared<File::Bytes>(*bytes));
    EXPECT_FALSE(file.IsNamedBy(path));
    File::Unmount(path);
    EXPECT_FALSE(file.IsNamedBy(path));
}

TEST(FileTest, CreateMakesANewFileOnlyWhereNoneIs)
{
    const TempDirectory dir;
    File file;
    file.Create(dir / "new.bak");
    file.WriteAt(0, "abc", 3);
    file.Close(); // held exclusively: Windows lets nobody else read it meanwhile
    EXPECT_EQ(Content(dir / "new.bak"), "abc");
    File again;
    EXPECT_THROW(again.Create(dir / "new.bak"), FileError);
    EXPECT_EQ(Content(dir / "new.bak"), "abc") << "an existing file is never emptied";
}

} // namespace
