#include "model/SaveGame.h"

#include "model/Container.h"
#include "model/FileError.h"
#include "model/LittleEndian.h"
#include "model/MessageSink.h"
#include "model/Wrapping.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <stdexcept>
#include <string>

namespace WL = WindowLayout;
namespace CL = CharacterLayout;
namespace IL = InventoryLayout;
namespace SE = SpellEffectLayout;

namespace {

void CheckIndex(int value, int first, int last, const char* what)
{
    if (value < first || value > last)
        throw std::out_of_range(std::string(what) + " " + std::to_string(value) + " outside " + std::to_string(first) +
                                ".." + std::to_string(last));
}

void Mark(std::array<int, IL::CellCount>& grid, int anchor, ItemSize size, int entry)
{
    for (int y = 0; y < size.Height; ++y)
        for (int x = 0; x < size.Width; ++x)
            grid[static_cast<std::size_t>(anchor + x + IL::Columns * y)] = ~anchor;
    grid[static_cast<std::size_t>(anchor)] = entry;
}

bool IsAnchor(int value)
{
    return value > 0 && value <= IL::EntryCount;
}

} // namespace

SaveGame::~SaveGame() = default;

// --- Container and window ---

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

std::int64_t SaveGame::GetTicks() const
{
    return Read(WL::PartyRecordOffset + WL::Time.Offset, WL::Time.Width);
}

std::int32_t SaveGame::CurrentYear() const
{
    return TicksToGameTime(GetTicks()).year;
}

// --- Party block ---

GameTime SaveGame::GetTime() const
{
    return TicksToGameTime(GetTicks());
}

void SaveGame::SetTime(const GameTime& time)
{
    Write(WL::PartyRecordOffset + WL::Time.Offset, WL::Time.Width, GameTimeToTicks(time));
}

int SaveGame::GetFood() const
{
    return static_cast<int>(Read(WL::PartyRecordOffset + WL::Food.Offset, WL::Food.Width));
}

void SaveGame::SetFood(int value)
{
    Write(WL::PartyRecordOffset + WL::Food.Offset, WL::Food.Width, value);
}

int SaveGame::GetGold() const
{
    return static_cast<int>(Read(WL::PartyRecordOffset + WL::Gold.Offset, WL::Gold.Width));
}

void SaveGame::SetGold(int value)
{
    Write(WL::PartyRecordOffset + WL::Gold.Offset, WL::Gold.Width, value);
}

int SaveGame::GetBank() const
{
    return static_cast<int>(Read(WL::PartyRecordOffset + WL::Bank.Offset, WL::Bank.Width));
}

void SaveGame::SetBank(int value)
{
    Write(WL::PartyRecordOffset + WL::Bank.Offset, WL::Bank.Width, value);
}

// An expiry of 0, or one already past, reads as no effect at all.
SpellEffectInfo SaveGame::ReadSpellEffect(int offset) const
{
    const std::int64_t expiry = Read(offset + SE::Expiry.Offset, SE::Expiry.Width);
    const std::int64_t now = GetTicks();
    if (expiry == 0 || expiry < now)
        return {};
    SpellEffectInfo info;
    info.duration = TicksToDuration(WrapSub64(expiry, now));
    info.power = static_cast<int>(Read(offset + SE::Power.Offset, SE::Power.Width));
    info.skill = static_cast<int>(Read(offset + SE::Skill.Offset, SE::Skill.Width));
    info.caster = static_cast<int>(ReadUnsigned(offset + SE::Caster.Offset, SE::Caster.Width));
    return info;
}

void SaveGame::WriteSpellEffect(int offset, const SpellEffectInfo& value, SpellEffectParts parts)
{
    if (parts.expiry)
        Write(offset + SE::Expiry.Offset, SE::Expiry.Width, WrapAdd64(GetTicks(), DurationToTicks(value.duration)));
    if (parts.power)
        Write(offset + SE::Power.Offset, SE::Power.Width, value.power);
    if (parts.skill)
        Write(offset + SE::Skill.Offset, SE::Skill.Width, value.skill);
    if (parts.caster)
        Write(offset + SE::Caster.Offset, SE::Caster.Width, value.caster);
}

SpellEffectInfo SaveGame::GetPartySpell(int k) const
{
    CheckIndex(k, 0, WL::PartySpellCount - 1, "party spell");
    return ReadSpellEffect(WL::PartyRecordOffset + WL::PartySpellsOffset + k * SE::Size);
}

void SaveGame::SetPartySpell(int k, const SpellEffectInfo& value, SpellEffectParts parts)
{
    CheckIndex(k, 0, WL::PartySpellCount - 1, "party spell");
    WriteSpellEffect(WL::PartyRecordOffset + WL::PartySpellsOffset + k * SE::Size, value, parts);
}

int SaveGame::GetPartyMember(int slot) const
{
    CheckIndex(slot, 1, WL::RosterSlotCount, "party slot");
    return static_cast<int>(Read(WL::RosterOffset + (slot - 1) * WL::RosterSlotWidth, WL::RosterSlotWidth));
}

void SaveGame::SetPartyMember(int slot, int value)
{
    CheckIndex(slot, 1, WL::RosterSlotCount, "party slot");
    Write(WL::RosterOffset + (slot - 1) * WL::RosterSlotWidth, WL::RosterSlotWidth, value);
}

void SaveGame::SetPartyMemberCount(int value)
{
    Write(WL::RosterOffset + WL::RosterCount.Offset, WL::RosterCount.Width, value);
}

// --- Character record ---

int SaveGame::RecordOffset(int n)
{
    CheckIndex(n, 1, CL::CharacterCount, "character");
    return CL::FirstRecord + (n - 1) * CL::RecordSize;
}

int SaveGame::ReadCharacter(int n, Field field) const
{
    return static_cast<int>(Read(RecordOffset(n) + field.Offset, field.Width));
}

void SaveGame::WriteCharacter(int n, Field field, int value)
{
    Write(RecordOffset(n) + field.Offset, field.Width, value);
}

int SaveGame::GetFace(int n) const
{
    return ReadCharacter(n, CL::Face);
}

void SaveGame::SetFace(int n, int value)
{
    WriteCharacter(n, CL::Face, value);
    WriteCharacter(n, CL::SecondFace, value);
}

int SaveGame::GetLevel(int n) const
{
    return GetBaseLevel(n) + ReadCharacter(n, CL::LevelBonus);
}

void SaveGame::SetLevel(int n, int value)
{
    WriteCharacter(n, CL::LevelBonus, WrapSub32(value, GetBaseLevel(n)));
}

int SaveGame::GetBaseAge(int n) const
{
    return WrapSub32(CurrentYear(), ReadCharacter(n, CL::BirthYear));
}

void SaveGame::SetBaseAge(int n, int value)
{
    WriteCharacter(n, CL::BirthYear, WrapSub32(CurrentYear(), value));
}

int SaveGame::GetAge(int n) const
{
    return WrapAdd32(ReadCharacter(n, CL::AgeBonus), GetBaseAge(n));
}

void SaveGame::SetAge(int n, int value)
{
    WriteCharacter(n, CL::AgeBonus, WrapSub32(value, GetBaseAge(n)));
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

std::string_view SaveGame::GetName(int n) const
{
    return ReadText(RecordOffset(n) + CL::Name.Offset, CL::Name.Width);
}

void SaveGame::SetName(int n, std::string_view text)
{
    WriteText(RecordOffset(n) + CL::Name.Offset, CL::Name.Width, text);
}

std::string_view SaveGame::GetDescription(int n) const
{
    return ReadText(RecordOffset(n) + CL::Description.Offset, CL::Description.Width);
}

void SaveGame::SetDescription(int n, std::string_view text)
{
    WriteText(RecordOffset(n) + CL::Description.Offset, CL::Description.Width, text);
}

int SaveGame::GetSkill(int n, int slot) const
{
    CheckIndex(slot, 0, CL::SkillSlotCount - 1, "skill slot");
    if (slot == CL::UnusedSkillSlot)
        throw std::out_of_range("skill slot 36 holds no skill");
    return ReadCharacter(n, Field{CL::SkillsOffset + slot * CL::SkillWidth, CL::SkillWidth});
}

void SaveGame::SetSkill(int n, int slot, int word)
{
    CheckIndex(slot, 0, CL::SkillSlotCount - 1, "skill slot");
    if (slot == CL::UnusedSkillSlot)
        throw std::out_of_range("skill slot 36 holds no skill");
    WriteCharacter(n, Field{CL::SkillsOffset + slot * CL::SkillWidth, CL::SkillWidth}, word);
}

int SaveGame::SpellGroupSize(int group)
{
    CheckIndex(group, 0, CL::SpellGroupCount - 1, "spell group");
    return group < CL::FirstRacialSpellGroup ? CL::FullSpellGroupSize : CL::RacialSpellGroupSize;
}

std::span<const std::uint8_t> SaveGame::GetSpellGroup(int n, int group) const
{
    const int size = SpellGroupSize(group);
    const int offset = RecordOffset(n) + CL::SpellGroupsOffset + group * CL::SpellGroupSpacing;
    Read(offset, 1); // bounds
    return {window_.get() + offset, static_cast<std::size_t>(size)};
}

void SaveGame::SetSpellGroup(int n, int group, std::span<const std::uint8_t> bytes)
{
    const auto size = static_cast<std::size_t>(SpellGroupSize(group));
    if (bytes.size() < size)
        throw std::invalid_argument("a spell group needs " + std::to_string(size) + " flag bytes");
    const int offset = RecordOffset(n) + CL::SpellGroupsOffset + group * CL::SpellGroupSpacing;
    Read(offset, 1); // bounds
    BeforeEdit();
    std::memcpy(window_.get() + offset, bytes.data(), size);
}

int SaveGame::GetAward(int n, int a) const
{
    RecordOffset(n);
    if (a < 0 || a >= words_.Awards().Count())
        return -1;
    const int byte = ReadCharacter(n, Field{CL::AwardsOffset + a / 8, 1}) & 0xFF;
    return byte & (0x80 >> (a % 8));
}

void SaveGame::SetAward(int n, int a)
{
    RecordOffset(n);
    if (a < 0 || a >= words_.Awards().Count())
        return;
    const Field field{CL::AwardsOffset + a / 8, 1};
    WriteCharacter(n, field, ReadCharacter(n, field) | (0x80 >> (a % 8)));
}

void SaveGame::ClearAward(int n, int a)
{
    RecordOffset(n);
    if (a < 0 || a >= words_.Awards().Count())
        return;
    const Field field{CL::AwardsOffset + a / 8, 1};
    WriteCharacter(n, field, ReadCharacter(n, field) & ~(0x80 >> (a % 8)));
}

int SaveGame::GetCondition(int n, int k, GameDuration& duration) const
{
    CheckIndex(k, 0, CL::ConditionCount - 1, "condition");
    const std::int64_t start =
        Read(RecordOffset(n) + CL::ConditionsOffset + k * CL::ConditionWidth, CL::ConditionWidth);
    if (start == 0)
        return 0;
    duration = TicksToDuration(WrapSub64(GetTicks(), start));
    return 1;
}

void SaveGame::SetCondition(int n, int k, int afflicted, const GameDuration& duration)
{
    CheckIndex(k, 0, CL::ConditionCount - 1, "condition");
    const std::int64_t start = afflicted != 0 ? WrapSub64(GetTicks(), DurationToTicks(duration)) : 0;
    Write(RecordOffset(n) + CL::ConditionsOffset + k * CL::ConditionWidth, CL::ConditionWidth, start);
}

ActiveSpellInfo SaveGame::GetActiveSpell(int n, int k) const
{
    CheckIndex(k, 0, CL::ActiveSpellCount - 1, "active spell");
    const SpellEffectInfo info = ReadSpellEffect(RecordOffset(n) + CL::ActiveSpellsOffset + k * SE::Size);
    return {info.duration, info.power, info.skill};
}

void SaveGame::SetActiveSpell(int n, int k, const ActiveSpellInfo& value, SpellEffectParts parts)
{
    CheckIndex(k, 0, CL::ActiveSpellCount - 1, "active spell");
    parts.caster = false; // a character's effects have none
    WriteSpellEffect(RecordOffset(n) + CL::ActiveSpellsOffset + k * SE::Size,
                     {value.duration, value.power, value.skill, 0}, parts);
}

// --- Inventory ---

int SaveGame::Cell(int n, int cell) const
{
    return ReadCharacter(n, Field{CL::InventoryGridOffset + cell * IL::CellWidth, IL::CellWidth});
}

void SaveGame::SetCell(int n, int cell, int value)
{
    WriteCharacter(n, Field{CL::InventoryGridOffset + cell * IL::CellWidth, IL::CellWidth}, value);
}

InventoryItem SaveGame::ReadEntry(int n, int entry) const
{
    const int offset = RecordOffset(n) + CL::InventoryEntriesOffset + (entry - 1) * IL::EntrySize;
    Read(offset, 4);
    Read(offset + IL::EntrySize - 4, 4); // the bounds of the whole entry
    InventoryItem item;
    for (int w = 0; w < IL::WordCount; ++w)
        item.*IL::ItemWords[w] = static_cast<std::int32_t>(LittleEndian::LoadSigned(window_.get() + offset + 4 * w, 4));
    return item;
}

void SaveGame::WriteEntry(int n, int entry, const InventoryItem& item)
{
    const int offset = RecordOffset(n) + CL::InventoryEntriesOffset + (entry - 1) * IL::EntrySize;
    for (int w = 0; w < IL::WordCount; ++w)
        Write(offset + 4 * w, 4, item.*IL::ItemWords[w]);
}

// Kinds without a usable size (the unnamed ones, numbers outside the table, a width or
// height below 1 from a modified table) take a single cell, so nothing is ever left
// pointing at a freed entry.
ItemSize SaveGame::Footprint(int itemNumber) const
{
    const auto size = words_.Items().GetItemSize(itemNumber);
    if (!size || size->Width < 1 || size->Height < 1)
        return {1, 1};
    return *size;
}

int SaveGame::GetInventoryCell(int n, int cell, InventoryItem& item) const
{
    RecordOffset(n);
    if (cell < 0 || cell >= IL::CellCount) {
        item.ItemNumber = 0;
        return -1;
    }
    const int v = Cell(n, cell);
    if (!IsAnchor(v)) { // empty, covered, or no entry that exists
        item.ItemNumber = 0;
        return 0;
    }
    item = ReadEntry(n, v);
    return 1;
}

SaveGame::Grid SaveGame::ReadGrid(int n) const
{
    // One bounds check for the whole grid: every inventory operation reads it, most twice.
    const int start = RecordOffset(n) + CL::InventoryGridOffset;
    Read(start + (IL::CellCount - 1) * IL::CellWidth, IL::CellWidth);
    Grid grid{};
    for (int cell = 0; cell < IL::CellCount; ++cell)
        grid[static_cast<std::size_t>(cell)] =
            static_cast<int>(LittleEndian::LoadSigned(window_.get() + start + cell * IL::CellWidth, IL::CellWidth));
    return grid;
}

void SaveGame::WriteGrid(int n, const Grid& grid)
{
    const Grid now = ReadGrid(n);
    for (int cell = 0; cell < IL::CellCount; ++cell) {
        if (now[static_cast<std::size_t>(cell)] != grid[static_cast<std::size_t>(cell)])
            SetCell(n, cell, grid[static_cast<std::size_t>(cell)]);
    }
}

std::optional<ItemSize> SaveGame::WrittenFootprint(const Grid& grid, int anchor)
{
    // The bounding box of the anchor and its marked cells, when it starts at the anchor and
    // every cell in it is the item's.
    int right = anchor % IL::Columns;
    int bottom = anchor / IL::Columns;
    int marked = 1;
    for (int cell = 0; cell < IL::CellCount; ++cell) {
        if (grid[static_cast<std::size_t>(cell)] != ~anchor)
            continue;
        if (cell % IL::Columns < anchor % IL::Columns || cell < anchor)
            return std::nullopt;
        right = std::max(right, cell % IL::Columns);
        bottom = std::max(bottom, cell / IL::Columns);
        ++marked;
    }
    const ItemSize size{right - anchor % IL::Columns + 1, bottom - anchor / IL::Columns + 1};
    if (marked != size.Width * size.Height)
        return std::nullopt;
    return size;
}

bool SaveGame::Fits(const Grid& grid, int anchor, ItemSize size)
{
    const int column = anchor % IL::Columns;
    const int row = anchor / IL::Columns;
    if (anchor < 0 || anchor >= IL::CellCount || column + size.Width > IL::Columns || row + size.Height > IL::Rows)
        return false;
    for (int y = 0; y < size.Height; ++y)
        for (int x = 0; x < size.Width; ++x)
            if (grid[static_cast<std::size_t>(anchor + x + IL::Columns * y)] != 0)
                return false;
    return true;
}

int SaveGame::FirstFit(const Grid& grid, ItemSize size)
{
    for (int anchor = 0; anchor < IL::CellCount; ++anchor) {
        if (Fits(grid, anchor, size))
            return anchor;
    }
    return -1;
}

void SaveGame::FreeItemCells(Grid& grid, int anchor)
{
    grid[static_cast<std::size_t>(anchor)] = 0;
    for (int& value : grid) {
        if (value == ~anchor)
            value = 0;
    }
}

int SaveGame::FreeEntry(int n, const Grid& grid) const
{
    // An entry an anchor still names is taken, whatever it holds: reusing it would give
    // two cells one item.
    std::array<bool, IL::EntryCount + 1> named{};
    for (const int v : grid) {
        if (IsAnchor(v))
            named[static_cast<std::size_t>(v)] = true;
    }
    for (int k = 1; k <= IL::EntryCount; ++k)
        if (!named[static_cast<std::size_t>(k)] && ReadEntry(n, k).ItemNumber == 0)
            return k;
    return 0;
}

bool SaveGame::HasFreeInventoryEntry(int n) const
{
    RecordOffset(n);
    return FreeEntry(n, ReadGrid(n)) != 0;
}

int SaveGame::AddInventoryItem(int n, const InventoryItem& item)
{
    RecordOffset(n);
    if (item.ItemNumber == 0)
        return -1;
    const Grid grid = ReadGrid(n);
    const int entry = FreeEntry(n, grid);
    if (entry == 0)
        return -1;

    const ItemSize size = Footprint(item.ItemNumber);
    const int anchor = FirstFit(grid, size);
    if (anchor < 0)
        return -1;
    WriteEntry(n, entry, item);
    Grid placed = grid;
    Mark(placed, anchor, size, entry);
    WriteGrid(n, placed);
    return anchor;
}

std::optional<ItemSize> SaveGame::FootprintIn(int n, const Grid& grid, int cell) const
{
    if (cell < 0 || cell >= IL::CellCount || !IsAnchor(grid[static_cast<std::size_t>(cell)]))
        return std::nullopt;
    if (const auto written = WrittenFootprint(grid, cell))
        return written;
    return Footprint(ReadEntry(n, grid[static_cast<std::size_t>(cell)]).ItemNumber);
}

std::optional<ItemSize> SaveGame::GetInventoryFootprint(int n, int cell) const
{
    RecordOffset(n);
    return FootprintIn(n, ReadGrid(n), cell);
}

bool SaveGame::CanMoveInventoryItem(int n, int fromCell, int toCell) const
{
    RecordOffset(n);
    Grid grid = ReadGrid(n);
    return MovedGrid(n, grid, fromCell, toCell);
}

bool SaveGame::MovedGrid(int n, Grid& grid, int fromCell, int toCell) const
{
    const std::optional<ItemSize> size = FootprintIn(n, grid, fromCell);
    if (!size)
        return false;
    const int entry = grid[static_cast<std::size_t>(fromCell)];
    FreeItemCells(grid, fromCell);
    if (!Fits(grid, toCell, *size))
        return false;
    Mark(grid, toCell, *size, entry);
    return true;
}

bool SaveGame::MoveInventoryItem(int n, int fromCell, int toCell)
{
    RecordOffset(n);
    Grid grid = ReadGrid(n);
    if (!MovedGrid(n, grid, fromCell, toCell))
        return false;
    WriteGrid(n, grid);
    return true;
}

int SaveGame::ReplaceInventoryItem(int n, int cell, const InventoryItem& item)
{
    RecordOffset(n);
    Grid grid = ReadGrid(n);
    const std::optional<ItemSize> footprint = FootprintIn(n, grid, cell);
    if (!footprint || item.ItemNumber == 0)
        return -1;
    const int entry = grid[static_cast<std::size_t>(cell)];
    const InventoryItem old = ReadEntry(n, entry);
    const ItemSize size = item.ItemNumber == old.ItemNumber ? *footprint : Footprint(item.ItemNumber);
    FreeItemCells(grid, cell);
    const int anchor = Fits(grid, cell, size) ? cell : FirstFit(grid, size);
    if (anchor < 0)
        return -1;
    InventoryItem stored = item;
    stored.Unused6 = old.Unused6;
    stored.Unused7 = old.Unused7;
    stored.Unused8 = old.Unused8;
    if (stored != old)
        WriteEntry(n, entry, stored);
    Mark(grid, anchor, size, entry);
    WriteGrid(n, grid);
    return anchor;
}

int SaveGame::GetInventoryGridCell(int n, int cell) const
{
    RecordOffset(n);
    CheckIndex(cell, 0, IL::CellCount - 1, "grid cell");
    return Cell(n, cell);
}

void SaveGame::RemoveInventoryItem(int n, int cell)
{
    RecordOffset(n);
    if (cell < 0 || cell >= IL::CellCount)
        return;
    const int entry = Cell(n, cell);
    if (!IsAnchor(entry))
        return;
    WriteEntry(n, entry, InventoryItem{});
    // The game's own markers say which cells are the item's: its size in the item table
    // may differ from what the game wrote, and a neighbour's cells must never be freed.
    Grid grid = ReadGrid(n);
    FreeItemCells(grid, cell);
    WriteGrid(n, grid);
}
