#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

// The platform file: an existing regular file (links followed) opened for reading and writing,
// or for reading only. Every failure throws FileError carrying the operating system's message
// and the path.
class File {
public:
    enum class Share {
        ReadWrite, // other programs (the game) may read and write it meanwhile
        Exclusive, // nobody else may have it open
    };

    enum class Access {
        ReadWrite,
        Read, // every write and resize throws
    };

    File() = default;
    ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;

    // Opens an existing regular file; throws FileError on failure, also for a folder, a device
    // or a pipe, so that nothing reads from one that never ends or never answers.
    void Open(const std::filesystem::path& path, Share share, Access access = Access::ReadWrite);
    // Creates a new file on disk (failing when the name is taken) and opens it exclusively.
    void Create(const std::filesystem::path& path);
    void Close() noexcept;
    bool IsOpen() const noexcept;
    bool IsWritable() const noexcept { return IsOpen() && writable_; }
    const std::filesystem::path& Path() const noexcept { return path_; }

    // Reads up to size bytes at position; returns fewer only at the end of the file.
    std::size_t ReadAt(std::uint64_t position, void* buffer, std::size_t size);
    // Writes all size bytes at position or throws.
    void WriteAt(std::uint64_t position, const void* buffer, std::size_t size);
    // Makes the file size bytes long: cuts it there, or lengthens it with zeros. A write for
    // the fault hook.
    void Resize(std::uint64_t size);
    // Makes what was written durable: returns once the system has it on the disk.
    void Flush();
    // Whether path still names the file held open here (same device and inode, or volume and
    // file index): false once another program renamed a new file over it or removed it.
    bool IsNamedBy(const std::filesystem::path& path) const;

    enum class Operation { Read, Write, Flush, OpenForWriting };
    // Test seam: while set, runs before every read, write and flush of every File, and before
    // every open for writing; a nonzero result fails that call with this system error code.
    // Root cannot be refused a read or a write by permission bits, so this is how tests make
    // one fail.
    using FaultHook = std::function<int(Operation, const std::filesystem::path&)>;
    static void SetFaultHook(FaultHook hook);

    // Test seam: while bytes are mounted at a path, opening that path opens them instead of
    // the file system, so a fuzzer runs without a disk. They behave as a file does (a write
    // past the end lengthens them, with zeros in any gap; the fault hook applies), without
    // share modes. Mounting other bytes at the path is a new file renamed over the old one.
    using Bytes = std::vector<std::uint8_t>;
    static void Mount(const std::filesystem::path& path, std::shared_ptr<Bytes> bytes);
    static void Unmount(const std::filesystem::path& path);

private:
    // Throws the hook's error, if a hook is set and asks for one.
    void InjectFault(Operation operation) const;
    // Throws unless the file was opened for writing.
    void RequireWritable() const;

    // The operating system's part, one implementation per platform.
    void SystemOpen(const std::filesystem::path& path, Share share, Access access);
    void SystemCreate(const std::filesystem::path& path);
    void SystemClose() noexcept;
    std::size_t SystemRead(std::uint64_t position, void* buffer, std::size_t size);
    void SystemWrite(std::uint64_t position, const void* buffer, std::size_t size);
    void SystemResize(std::uint64_t size);
    void SystemFlush();
    bool SystemIsNamedBy(const std::filesystem::path& path) const;

    std::filesystem::path path_;
    std::shared_ptr<Bytes> memory_; // set while open on mounted bytes
    // A descriptor (POSIX) or a HANDLE (Windows); -1 is neither.
    static constexpr std::intptr_t NoHandle = -1;
    std::intptr_t handle_ = NoHandle;
    bool writable_ = false;
};
