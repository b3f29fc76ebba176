#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>

// The platform file: an existing file opened for reading and writing.
// Every failure throws FileError carrying the operating system's message and the path.
class File {
public:
    enum class Share {
        ReadWrite, // other programs (the game) may read and write it meanwhile
        Exclusive, // nobody else may have it open
    };

    File() = default;
    ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;

    // Opens an existing file for reading and writing; throws FileError on failure.
    void Open(const std::filesystem::path& path, Share share);
    void Close() noexcept;
    bool IsOpen() const noexcept;
    const std::filesystem::path& Path() const noexcept { return path_; }

    // Reads up to size bytes at position; returns fewer only at the end of the file.
    std::size_t ReadAt(std::uint64_t position, void* buffer, std::size_t size);
    // Writes all size bytes at position or throws.
    void WriteAt(std::uint64_t position, const void* buffer, std::size_t size);

private:
    std::filesystem::path path_;
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};
