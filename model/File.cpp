#include "model/File.h"

#include "model/FileError.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <utility>

namespace {

File::FaultHook& Hook()
{
    static File::FaultHook hook;
    return hook;
}

std::map<std::filesystem::path, std::shared_ptr<File::Bytes>>& Mounts()
{
    static std::map<std::filesystem::path, std::shared_ptr<File::Bytes>> mounts;
    return mounts;
}

std::shared_ptr<File::Bytes> Mounted(const std::filesystem::path& path)
{
    const auto& mounts = Mounts();
    if (mounts.empty())
        return nullptr; // files on disk pay for no lookup
    const auto found = mounts.find(path);
    return found == mounts.end() ? nullptr : found->second;
}

} // namespace

void File::SetFaultHook(FaultHook hook)
{
    Hook() = std::move(hook);
}

void File::Mount(const std::filesystem::path& path, std::shared_ptr<Bytes> bytes)
{
    Mounts()[path] = std::move(bytes);
}

void File::Unmount(const std::filesystem::path& path)
{
    Mounts().erase(path);
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
        memory_ = std::move(other.memory_);
        handle_ = std::exchange(other.handle_, NoHandle);
    }
    return *this;
}

void File::Open(const std::filesystem::path& path, Share share, Access access)
{
    Close();
    path_ = path;
    if (access == Access::ReadWrite)
        InjectFault(Operation::OpenForWriting);
    if (auto bytes = Mounted(path))
        memory_ = std::move(bytes);
    else
        SystemOpen(path, share, access);
    writable_ = access == Access::ReadWrite;
}

void File::Create(const std::filesystem::path& path)
{
    Close();
    SystemCreate(path);
    path_ = path;
    writable_ = true;
}

void File::Close() noexcept
{
    memory_.reset();
    SystemClose();
}

bool File::IsOpen() const noexcept
{
    return memory_ != nullptr || handle_ != NoHandle;
}

std::size_t File::ReadAt(std::uint64_t position, void* buffer, std::size_t size)
{
    InjectFault(Operation::Read);
    if (!memory_)
        return SystemRead(position, buffer, size);
    const Bytes& bytes = *memory_;
    if (position >= bytes.size())
        return 0;
    const auto got = static_cast<std::size_t>(std::min<std::uint64_t>(size, bytes.size() - position));
    if (got != 0)
        std::memcpy(buffer, bytes.data() + position, got);
    return got;
}

void File::RequireWritable() const
{
    if (!writable_)
        throw FileError::Detected("The file is open for reading only: " + FileError::PathText(path_), path_);
}

void File::WriteAt(std::uint64_t position, const void* buffer, std::size_t size)
{
    RequireWritable();
    InjectFault(Operation::Write);
    if (!memory_) {
        SystemWrite(position, buffer, size);
        return;
    }
    if (size == 0)
        return;
    Bytes& bytes = *memory_;
    if (position > bytes.max_size() - size)
        throw FileError::Detected("The file cannot grow that large.", path_);
    if (position + size > bytes.size())
        bytes.resize(static_cast<std::size_t>(position + size));
    std::memcpy(bytes.data() + position, buffer, size);
}

void File::Resize(std::uint64_t size)
{
    RequireWritable();
    InjectFault(Operation::Write);
    if (!memory_) {
        SystemResize(size);
        return;
    }
    if (size > memory_->max_size())
        throw FileError::Detected("The file cannot grow that large.", path_);
    memory_->resize(static_cast<std::size_t>(size));
}

void File::Flush()
{
    InjectFault(Operation::Flush);
    if (!memory_)
        SystemFlush();
}

bool File::IsNamedBy(const std::filesystem::path& path) const
{
    if (const auto bytes = Mounted(path))
        return bytes == memory_;
    return !memory_ && SystemIsNamedBy(path);
}
