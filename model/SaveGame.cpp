// SaveGame: the container and the window: opening, the checks before a write, the writes, and
// the window's reads and writes every other part goes through. The rest lives by topic:
// SaveGameParty.cpp, SaveGameCharacter.cpp, SaveGameEffects.cpp, SaveGameInventory.cpp.

#include "model/SaveGame.h"

#include "model/Container.h"
#include "model/FileError.h"
#include "model/LittleEndian.h"
#include "model/MessageSink.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

namespace WL = WindowLayout;
namespace CL = CharacterLayout;

SaveGame::~SaveGame() = default;

bool SaveGame::Open(const std::filesystem::path& path)
{
    return Open(path, GameWords::BuiltIn());
}

bool SaveGame::Open(const std::filesystem::path& path, const GameWords& words)
{
    readSize_ = 0;
    windowSize_ = 0;
    backedUp_ = false;
    readOnly_ = false;
    readOnlyReason_.clear();
    try {
        file_.Open(path, File::Share::ReadWrite);
    } catch (const FileError& error) {
        // Not writable (permissions, a read-only disk) is still worth showing; when it cannot be
        // read either (missing, a folder), that error is the one told.
        file_.Open(path, File::Share::ReadWrite, File::Access::Read);
        readOnly_ = true;
        readOnlyReason_ = error.Reason();
    }

    // The window doubles as the lookup's read buffer, so opening allocates once, and
    // reopening not at all.
    if (!window_)
        window_ = std::make_unique_for_overwrite<std::uint8_t[]>(WL::WindowSize);
    const auto entry = LocateMember(file_, "party.bin", {window_.get(), WL::WindowSize});
    if (entry) {
        const std::uint32_t offset = entry->offset;
        const std::size_t got = file_.ReadAt(offset, window_.get(), WL::WindowSize);
        // Too short to hold the roster: nothing here could be edited safely. An entry inside
        // the bytes the editor writes would be overwritten by the first edit, and the
        // container would lose its party.bin.
        const std::uint64_t written = std::uint64_t{offset} + WL::PartyRecordOffset;
        const std::uint64_t entryEnd = entry->namePosition + ContainerUnitSize + 4;
        const bool entryInWindow = entry->namePosition < std::uint64_t{offset} + got && entryEnd > written;
        if (got >= static_cast<std::size_t>(WL::MinimumWindowSize) && !entryInWindow) {
            std::memset(window_.get() + got, 0, WL::WindowSize - got);
            dataOffset_ = offset;
            readSize_ = got;
            windowSize_ = WL::WindowSize;
            windowIsBaseline_ = true;
            words_ = words.Filled();
            return true;
        }
    }
    MessageSink::Show(InvalidFileMessage);
    return false;
}

void SaveGame::Save()
{
    if (readSize_ == 0)
        return;
    WriteRange(0, readSize_);
}

void SaveGame::SaveCharacter(int n)
{
    if (readSize_ == 0)
        return;
    const auto start = static_cast<std::size_t>(RecordOffset(n) + CL::OwnBytesStart);
    WriteRange(start, CL::OwnBytesSize);
}

std::string SaveGame::ReadOnlyMessage() const
{
    return FileError::PathText(file_.Path().filename()) + " is read-only: " + readOnlyReason_ +
           "; nothing was written.";
}

void SaveGame::CheckWritable() const
{
    if (readOnly_)
        throw FileError::Detected(ReadOnlyMessage(), file_.Path());
}

void SaveGame::WriteRange(std::size_t offset, std::size_t size)
{
    CheckWritable();
    if (backupHook_ && !backedUp_) {
        backupHook_(file_.Path());
        backedUp_ = true;
    }
    // After the copy, right before the write: a change made while the copy was taken is seen.
    CheckFileUnchanged();
    try {
        file_.WriteAt(std::uint64_t{dataOffset_} + offset, window_.get() + offset, size);
        file_.Flush();
    } catch (const FileError&) {
        // Part of the window may have reached the file: what it holds now is ours, so a
        // retry is not mistaken for another program's change.
        RereadBaseline();
        throw;
    }
    if (offset == 0 && size == readSize_)
        windowIsBaseline_ = true;
    else if (!windowIsBaseline_)
        std::memcpy(baseline_.get() + offset, window_.get() + offset, size);
}

std::span<const std::uint8_t> SaveGame::GetCharacterBytes(int n) const
{
    const int start = RecordOffset(n) + CL::OwnBytesStart;
    Read(start, 1); // bounds
    return {window_.get() + start, static_cast<std::size_t>(CL::OwnBytesSize)};
}

void SaveGame::RestoreCharacterBytes(int n, std::span<const std::uint8_t> bytes)
{
    const std::span<const std::uint8_t> own = GetCharacterBytes(n);
    if (bytes.size() != own.size())
        throw std::invalid_argument("a character's bytes are " + std::to_string(own.size()) + " bytes");
    if (std::equal(bytes.begin(), bytes.end(), own.begin()))
        return; // nothing to undo: the window stays the baseline
    BeforeEdit();
    std::memcpy(window_.get() + RecordOffset(n) + CL::OwnBytesStart, bytes.data(), bytes.size());
}

void SaveGame::CheckFileUnchanged()
{
    const std::filesystem::path& path = file_.Path();
    if (!scratch_)
        scratch_ = std::make_unique_for_overwrite<std::uint8_t[]>(ScratchSize);
    const std::span<std::uint8_t> scratch{scratch_.get(), ScratchSize};
    const bool unchanged = [&] {
        if (!file_.IsNamedBy(path))
            return false;
        const auto offset = FindMember(file_, "party.bin", scratch);
        if (!offset || *offset != dataOffset_)
            return false;
        const std::uint8_t* baseline = windowIsBaseline_ ? window_.get() : baseline_.get();
        for (std::size_t done = 0; done < readSize_;) {
            const std::size_t chunk = std::min(ScratchSize, readSize_ - done);
            if (file_.ReadAt(dataOffset_ + done, scratch.data(), chunk) != chunk ||
                std::memcmp(scratch.data(), baseline + done, chunk) != 0)
                return false;
            done += chunk;
        }
        return true;
    }();
    if (!unchanged)
        throw FileError::Detected(ChangedOnDiskMessage, path);
}

void SaveGame::RereadBaseline() noexcept
{
    try {
        auto now = std::make_unique_for_overwrite<std::uint8_t[]>(WL::WindowSize);
        if (file_.ReadAt(dataOffset_, now.get(), readSize_) == readSize_) {
            baseline_ = std::move(now);
            windowIsBaseline_ = false;
        }
    } catch (const std::exception&) {
        // Unreadable now: the old baseline stays, and the next Save refuses rather than guess.
    }
}

void SaveGame::BeforeEdit()
{
    if (!windowIsBaseline_)
        return;
    if (!baseline_)
        baseline_ = std::make_unique_for_overwrite<std::uint8_t[]>(WL::WindowSize);
    std::memcpy(baseline_.get(), window_.get(), readSize_);
    windowIsBaseline_ = false;
}

void SaveGame::Reload()
{
    if (readSize_ == 0)
        return;
    auto fresh = std::make_unique_for_overwrite<std::uint8_t[]>(WL::WindowSize);
    const std::size_t got = file_.ReadAt(dataOffset_, fresh.get(), WL::WindowSize);
    // A file that shrank underneath us keeps its old window rather than a truncated one.
    if (got < static_cast<std::size_t>(WL::MinimumWindowSize))
        return;
    std::memset(fresh.get() + got, 0, WL::WindowSize - got);
    // Into the same buffer: views handed out earlier stay valid and show the new bytes.
    std::memcpy(window_.get(), fresh.get(), WL::WindowSize);
    readSize_ = got;
    windowIsBaseline_ = true;
}

std::uint64_t SaveGame::ReadUnsigned(int offset, int width) const
{
    if (offset < 0 || width <= 0 || width > 8 || static_cast<std::size_t>(offset) + width > windowSize_)
        throw std::out_of_range("window offset " + std::to_string(offset) + " outside the open window");
    return LittleEndian::LoadUnsigned(window_.get() + offset, width);
}

std::int64_t SaveGame::Read(int offset, int width) const
{
    return LittleEndian::SignExtend(ReadUnsigned(offset, width), width);
}

void SaveGame::Write(int offset, int width, std::int64_t value)
{
    if (offset < 0 || width <= 0 || width > 8 || static_cast<std::size_t>(offset) + width > windowSize_)
        throw std::out_of_range("window offset " + std::to_string(offset) + " outside the open window");
    BeforeEdit();
    LittleEndian::Store(window_.get() + offset, width, value);
}

std::string_view SaveGame::ReadText(int offset, int width) const
{
    if (offset < 0 || static_cast<std::size_t>(offset) + width > windowSize_)
        throw std::out_of_range("text outside the open window");
    const char* begin = reinterpret_cast<const char*>(window_.get() + offset);
    return std::string_view(begin, std::find(begin, begin + width, '\0') - begin);
}

// Copies at most width - 1 bytes, fills the rest with zeros and ends with a zero byte.
void SaveGame::WriteText(int offset, int width, std::string_view text)
{
    if (offset < 0 || static_cast<std::size_t>(offset) + width > windowSize_)
        throw std::out_of_range("text outside the open window");
    const std::size_t limit = static_cast<std::size_t>(width) - 1;
    const std::size_t length = std::min(std::min(text.size(), limit), text.find('\0'));
    BeforeEdit();
    std::uint8_t* field = window_.get() + offset;
    std::memmove(field, text.data(), length); // text may be a view of this very field
    std::memset(field + length, 0, static_cast<std::size_t>(width) - length);
}
