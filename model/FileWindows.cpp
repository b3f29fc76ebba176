#ifdef _WIN32

#include "model/File.h"

#include "model/FileError.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace {

// A read or write at a 64-bit file position.
OVERLAPPED At(std::uint64_t position)
{
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(position);
    at.OffsetHigh = static_cast<DWORD>(position >> 32);
    return at;
}

// One call moves at most 1 GiB: a DWORD counts the bytes.
DWORD Chunk(std::size_t left)
{
    return left > 0x40000000u ? 0x40000000u : static_cast<DWORD>(left);
}

HANDLE AsHandle(std::intptr_t handle)
{
    return reinterpret_cast<HANDLE>(handle);
}

} // namespace

void File::SystemOpen(const std::filesystem::path& path, Share share, Access access)
{
    const DWORD shareMode = share == Share::ReadWrite ? (FILE_SHARE_READ | FILE_SHARE_WRITE) : 0;
    const DWORD rights = access == Access::ReadWrite ? (GENERIC_READ | GENERIC_WRITE) : GENERIC_READ;
    HANDLE h = CreateFileW(path.c_str(), rights, shareMode, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        throw FileError::FromSystemCode(static_cast<int>(GetLastError()), path);
    // A device or a pipe named by the path is no saved game, and may never end.
    if (GetFileType(h) != FILE_TYPE_DISK) {
        CloseHandle(h);
        throw FileError("Not a regular file", path);
    }
    handle_ = reinterpret_cast<std::intptr_t>(h);
}

void File::SystemCreate(const std::filesystem::path& path)
{
    HANDLE h =
        CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        throw FileError::FromSystemCode(static_cast<int>(GetLastError()), path);
    handle_ = reinterpret_cast<std::intptr_t>(h);
}

void File::SystemClose() noexcept
{
    if (handle_ != NoHandle) {
        CloseHandle(AsHandle(handle_));
        handle_ = NoHandle;
    }
}

std::size_t File::SystemRead(std::uint64_t position, void* buffer, std::size_t size)
{
    std::size_t done = 0;
    auto* out = static_cast<unsigned char*>(buffer);
    while (done < size) {
        OVERLAPPED at = At(position + done);
        const DWORD chunk = Chunk(size - done);
        DWORD got = 0;
        if (!ReadFile(AsHandle(handle_), out + done, chunk, &got, &at)) {
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

void File::SystemWrite(std::uint64_t position, const void* buffer, std::size_t size)
{
    std::size_t done = 0;
    const auto* in = static_cast<const unsigned char*>(buffer);
    while (done < size) {
        OVERLAPPED at = At(position + done);
        const DWORD chunk = Chunk(size - done);
        DWORD put = 0;
        if (!WriteFile(AsHandle(handle_), in + done, chunk, &put, &at))
            throw FileError::FromSystemCode(static_cast<int>(GetLastError()), path_);
        // A write that makes no progress would otherwise be retried for ever.
        if (put == 0)
            throw FileError::FromSystemCode(ERROR_WRITE_FAULT, path_);
        done += put;
    }
}

void File::SystemResize(std::uint64_t size)
{
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(size);
    // Reads and writes name their own positions, so moving the file pointer here is harmless.
    if (!SetFilePointerEx(AsHandle(handle_), end, nullptr, FILE_BEGIN) || !SetEndOfFile(AsHandle(handle_)))
        throw FileError::FromSystemCode(static_cast<int>(GetLastError()), path_);
}

void File::SystemFlush()
{
    if (!FlushFileBuffers(AsHandle(handle_)))
        throw FileError::FromSystemCode(static_cast<int>(GetLastError()), path_);
}

bool File::SystemIsNamedBy(const std::filesystem::path& path) const
{
    BY_HANDLE_FILE_INFORMATION held{};
    if (!GetFileInformationByHandle(AsHandle(handle_), &held))
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

#endif
