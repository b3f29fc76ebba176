#ifndef _WIN32

#include "model/File.h"

#include "model/FileError.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

void File::SystemOpen(const std::filesystem::path& path, Share share, Access access)
{
    // Without blocking: opening a pipe for reading would otherwise wait for a writer.
    const int flags = (access == Access::ReadWrite ? O_RDWR : O_RDONLY) | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    int fd = -1;
    do {
        fd = ::open(path.c_str(), flags);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        throw FileError::FromSystemCode(errno, path);
    const auto fail = [fd, &path](int err) {
        ::close(fd);
        throw FileError::FromSystemCode(err, path);
    };
    // Links are followed; what they lead to must be a file with an end (not /dev/zero, a pipe).
    struct stat status {};
    if (::fstat(fd, &status) != 0)
        fail(errno);
    if (S_ISDIR(status.st_mode))
        fail(EISDIR);
    if (!S_ISREG(status.st_mode)) {
        ::close(fd);
        throw FileError("Not a regular file", path);
    }
    if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)
        fail(errno);
    // POSIX has no share modes: an advisory lock stands in for "nobody else has it open",
    // held for as long as the file stays open here.
    if (share == Share::Exclusive && ::flock(fd, LOCK_EX | LOCK_NB) != 0)
        fail(errno);
    handle_ = fd;
}

void File::SystemCreate(const std::filesystem::path& path)
{
    int fd = -1;
    do {
        fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        throw FileError::FromSystemCode(errno, path);
    handle_ = fd;
}

void File::SystemClose() noexcept
{
    if (handle_ != NoHandle) {
        ::close(static_cast<int>(handle_));
        handle_ = NoHandle;
    }
}

std::size_t File::SystemRead(std::uint64_t position, void* buffer, std::size_t size)
{
    const int fd = static_cast<int>(handle_);
    std::size_t done = 0;
    auto* out = static_cast<unsigned char*>(buffer);
    while (done < size) {
        const ssize_t got = ::pread(fd, out + done, size - done, static_cast<off_t>(position + done));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throw FileError::FromSystemCode(errno, path_);
        }
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

void File::SystemWrite(std::uint64_t position, const void* buffer, std::size_t size)
{
    const int fd = static_cast<int>(handle_);
    std::size_t done = 0;
    const auto* in = static_cast<const unsigned char*>(buffer);
    while (done < size) {
        const ssize_t put = ::pwrite(fd, in + done, size - done, static_cast<off_t>(position + done));
        if (put < 0) {
            if (errno == EINTR)
                continue;
            throw FileError::FromSystemCode(errno, path_);
        }
        // A write that makes no progress would otherwise be retried for ever.
        if (put == 0)
            throw FileError::FromSystemCode(EIO, path_);
        done += static_cast<std::size_t>(put);
    }
}

void File::SystemResize(std::uint64_t size)
{
    int result = 0;
    do {
        result = ::ftruncate(static_cast<int>(handle_), static_cast<off_t>(size));
    } while (result != 0 && errno == EINTR);
    if (result != 0)
        throw FileError::FromSystemCode(errno, path_);
}

void File::SystemFlush()
{
    int result = 0;
    do {
        result = ::fsync(static_cast<int>(handle_));
    } while (result != 0 && errno == EINTR);
    if (result != 0)
        throw FileError::FromSystemCode(errno, path_);
}

bool File::SystemIsNamedBy(const std::filesystem::path& path) const
{
    struct stat held {};
    struct stat named {};
    if (::fstat(static_cast<int>(handle_), &held) != 0 || ::stat(path.c_str(), &named) != 0)
        return false;
    return held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

#endif
