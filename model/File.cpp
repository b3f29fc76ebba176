#include "model/File.h"

#include "model/FileError.h"

#include <utility>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

File::FaultHook& Hook()
{
    static File::FaultHook hook;
    return hook;
}

} // namespace

void File::SetFaultHook(FaultHook hook)
{
    Hook() = std::move(hook);
}

void File::InjectFault(Operation operation) const
{
    if (Hook()) {
        if (const int code = Hook()(operation, path_); code != 0)
            throw FileError::FromSystemCode(code, path_);
    }
}

File::~File()
{
    Close();
}

File::File(File&& other) noexcept
{
    *this = std::move(other);
}

File& File::operator=(File&& other) noexcept
{
    if (this != &other) {
        Close();
        path_ = std::move(other.path_);
#ifdef _WIN32
        handle_ = std::exchange(other.handle_, nullptr);
#else
        fd_ = std::exchange(other.fd_, -1);
#endif
    }
    return *this;
}

#ifdef _WIN32

void File::Open(const std::filesystem::path& path, Share share)
{
    Close();
    const DWORD shareMode = share == Share::ReadWrite ? (FILE_SHARE_READ | FILE_SHARE_WRITE) : 0;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, shareMode, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        throw FileError::FromSystemCode(static_cast<int>(GetLastError()), path);
    handle_ = h;
    path_ = path;
}

void File::Close() noexcept
{
    if (handle_ != nullptr) {
        CloseHandle(static_cast<HANDLE>(handle_));
        handle_ = nullptr;
    }
}

bool File::IsOpen() const noexcept
{
    return handle_ != nullptr;
}

std::size_t File::ReadAt(std::uint64_t position, void* buffer, std::size_t size)
{
    InjectFault(Operation::Read);
    std::size_t done = 0;
    auto* out = static_cast<unsigned char*>(buffer);
    while (done < size) {
        OVERLAPPED at{};
        const std::uint64_t pos = position + done;
        at.Offset = static_cast<DWORD>(pos);
        at.OffsetHigh = static_cast<DWORD>(pos >> 32);
        const std::size_t left = size - done;
        const DWORD chunk = left > 0x40000000u ? 0x40000000u : static_cast<DWORD>(left);
        DWORD got = 0;
        if (!ReadFile(static_cast<HANDLE>(handle_), out + done, chunk, &got, &at)) {
            const DWORD err = GetLastError();
            if (err == ERROR_HANDLE_EOF)
                break;
            throw FileError::FromSystemCode(static_cast<int>(err), path_);
        }
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

void File::WriteAt(std::uint64_t position, const void* buffer, std::size_t size)
{
    InjectFault(Operation::Write);
    std::size_t done = 0;
    const auto* in = static_cast<const unsigned char*>(buffer);
    while (done < size) {
        OVERLAPPED at{};
        const std::uint64_t pos = position + done;
        at.Offset = static_cast<DWORD>(pos);
        at.OffsetHigh = static_cast<DWORD>(pos >> 32);
        const std::size_t left = size - done;
        const DWORD chunk = left > 0x40000000u ? 0x40000000u : static_cast<DWORD>(left);
        DWORD put = 0;
        if (!WriteFile(static_cast<HANDLE>(handle_), in + done, chunk, &put, &at))
            throw FileError::FromSystemCode(static_cast<int>(GetLastError()), path_);
        // A write that makes no progress would otherwise be retried for ever.
        if (put == 0)
            throw FileError::FromSystemCode(ERROR_WRITE_FAULT, path_);
        done += put;
    }
}

void File::Flush()
{
    InjectFault(Operation::Flush);
    if (!FlushFileBuffers(static_cast<HANDLE>(handle_)))
        throw FileError::FromSystemCode(static_cast<int>(GetLastError()), path_);
}

bool File::IsNamedBy(const std::filesystem::path& path) const
{
    BY_HANDLE_FILE_INFORMATION held{};
    if (!GetFileInformationByHandle(static_cast<HANDLE>(handle_), &held))
        return false;
    // No access rights asked: this opens even while the game holds the file exclusively.
    HANDLE other = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (other == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION named{};
    const bool ok = GetFileInformationByHandle(other, &named) != 0;
    CloseHandle(other);
    return ok && held.dwVolumeSerialNumber == named.dwVolumeSerialNumber &&
           held.nFileIndexHigh == named.nFileIndexHigh && held.nFileIndexLow == named.nFileIndexLow;
}

#else

void File::Open(const std::filesystem::path& path, Share share)
{
    Close();
    int fd = -1;
    do {
        fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        throw FileError::FromSystemCode(errno, path);
    // POSIX has no share modes: an advisory lock stands in for "nobody else has it open",
    // held for as long as the file stays open here.
    if (share == Share::Exclusive && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        ::close(fd);
        throw FileError::FromSystemCode(err, path);
    }
    fd_ = fd;
    path_ = path;
}

void File::Close() noexcept
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

bool File::IsOpen() const noexcept
{
    return fd_ >= 0;
}

std::size_t File::ReadAt(std::uint64_t position, void* buffer, std::size_t size)
{
    InjectFault(Operation::Read);
    std::size_t done = 0;
    auto* out = static_cast<unsigned char*>(buffer);
    while (done < size) {
        const ssize_t got = ::pread(fd_, out + done, size - done, static_cast<off_t>(position + done));
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

void File::WriteAt(std::uint64_t position, const void* buffer, std::size_t size)
{
    InjectFault(Operation::Write);
    std::size_t done = 0;
    const auto* in = static_cast<const unsigned char*>(buffer);
    while (done < size) {
        const ssize_t put = ::pwrite(fd_, in + done, size - done, static_cast<off_t>(position + done));
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

void File::Flush()
{
    InjectFault(Operation::Flush);
    int result = 0;
    do {
        result = ::fsync(fd_);
    } while (result != 0 && errno == EINTR);
    if (result != 0)
        throw FileError::FromSystemCode(errno, path_);
}

bool File::IsNamedBy(const std::filesystem::path& path) const
{
    struct stat held {};
    struct stat named {};
    if (::fstat(fd_, &held) != 0 || ::stat(path.c_str(), &named) != 0)
        return false;
    return held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

#endif
