#pragma once

#include "model/CharacterLayout.h"
#include "model/GameFile.h"
#include "model/GameTime.h"
#include "model/GameWords.h"
#include "model/InventoryLayout.h"
#include "model/WindowLayout.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// What a party spell operation exchanges: the time left, power, skill and caster.
struct SpellEffectInfo {
    GameDuration duration;
    int power = 0;
    int skill = 0;
    int caster = 0;

    friend bool operator==(const SpellEffectInfo&, const SpellEffectInfo&) = default;
};

// Which members of a stored spell effect a setter writes; the others keep their bytes
// exactly, so an effect the user did not retime keeps its sub-minute expiry.
struct SpellEffectParts {
    bool expiry = true;
    bool power = true;
    bool skill = true;
    bool caster = true; // party effects only

    bool Any() const { return expiry || power || skill || caster; }
};

// The same for a spell in effect on one character, which has no caster.
struct ActiveSpellInfo {
    GameDuration duration;
    int power = 0;
    int skill = 0;

    friend bool operator==(const ActiveSpellInfo&, const ActiveSpellInfo&) = default;
};

// The one open saved game. The window read from the container is its only state: every
// getter reads it when called and every setter writes it at once; Save writes it back.
// Character numbers are 1..50 (anything else throws std::out_of_range); getters
// sign-extend, setters keep the low bits of their argument.
class SaveGame : public GameFile {
public:
    static constexpr const char* InvalidFileMessage = "Invalid save game file.";
    static constexpr const char* ChangedOnDiskMessage =
        "The saved game was changed by another program after it was opened. Your changes were not written; "
        "open it again to edit it.";

    SaveGame() = default;
    ~SaveGame() override;

    // Throws FileError when the file cannot be opened or read; reports "Invalid save game
    // file." and returns false when it holds no party.bin or too little data after it.
    // A file that cannot be opened for writing is opened for reading: see IsReadOnly.
    // The game's words (its code page, item, class and award tables) come from words, a table
    // not filled there being the built-in one; Open(path) opens with the built-in words. A copy
    // of the words shares the game's rows, so this costs no reading.
    bool Open(const std::filesystem::path& path) override;
    bool Open(const std::filesystem::path& path, const GameWords& words);
    // Writes back exactly the bytes that were read, at the data offset, and flushes them to
    // the disk. Throws FileError, writing nothing, when the file on disk is no longer what
    // was last read or written (the game rewrote or replaced it meanwhile).
    void Save() override;
    void Reload() override;

    // A character's own bytes: its condition table and record, window offsets
    // 2828 + (n - 1) * 7464 onward, 7464 bytes. The next character's conditions (and, after
    // character 50, the roster) are not among them.
    std::span<const std::uint8_t> GetCharacterBytes(int n) const;
    // Puts back bytes taken from GetCharacterBytes (a copy: they must not view the window).
    void RestoreCharacterBytes(int n, std::span<const std::uint8_t> bytes);
    // Writes only character n's own bytes and flushes them, with the same check as Save.
    void SaveCharacter(int n);

    // Opened for reading only (the file's permissions, a read-only disk): every write throws
    // ReadOnlyMessage's text at once, before the backup hook. The reason is the system's.
    bool IsReadOnly() const noexcept { return readOnly_; }
    const std::string& GetReadOnlyReason() const noexcept { return readOnlyReason_; }
    // "save003.dod is read-only: Permission denied; nothing was written."
    std::string ReadOnlyMessage() const;
    // Throws FileError with ReadOnlyMessage when the file is open for reading only.
    void CheckWritable() const;

    // Runs with the file's path once after each Open, before the first write of any kind and
    // before the check that the file is unchanged, so that the check sees whatever another
    // program wrote while the copy was made; nothing is written while it throws.
    // Velkar keeps a copy of the file there.
    using BackupHook = std::function<void(const std::filesystem::path&)>;
    void SetBackupHook(BackupHook hook) { backupHook_ = std::move(hook); }

    bool IsOpen() const noexcept { return readSize_ != 0; }
    std::uint32_t GetDataOffset() const noexcept { return dataOffset_; }
    std::size_t GetWindowSize() const noexcept { return readSize_; }
    // The whole window as the model holds it (zeros past the bytes read), for checks that
    // must see every byte an operation touched.
    std::span<const std::uint8_t> GetWindow() const noexcept { return {window_.get(), windowSize_}; }
    // What the saved game's game speaks; empty tables until a successful Open.
    const GameWords& GetWords() const noexcept { return words_; }
    const ItemTable& GetItemTable() const noexcept { return words_.Items(); }
    const ClassTable& GetClassTable() const noexcept { return words_.Classes(); }
    const AwardTable& GetAwardTable() const noexcept { return words_.Awards(); }

    // --- Party block and clock ---
    GameTime GetTime() const;
    // The party clock as stored: ticks, 256 a minute.
    std::int64_t GetTicks() const;
    void SetTime(const GameTime& time);
    int GetFood() const;
    void SetFood(int value);
    int GetGold() const;
    void SetGold(int value);
    int GetBank() const;
    void SetBank(int value);

    // Party spell k in stored order (0..19).
    SpellEffectInfo GetPartySpell(int k) const;
    void SetPartySpell(int k, const SpellEffectInfo& value, SpellEffectParts parts = {});
    // clang-format off
#define VELKAR_X(name, k) \
    SpellEffectInfo Get##name() const { return GetPartySpell(k); } \
    void Set##name(const SpellEffectInfo& value, SpellEffectParts parts = {}) { SetPartySpell(k, value, parts); }
    VELKAR_PARTY_SPELLS(VELKAR_X)
#undef VELKAR_X
    // clang-format on

    // Party slot 1..5: the 0-based character index, -1 when empty.
    int GetPartyMember(int slot) const;
    void SetPartyMember(int slot, int value);
    // clang-format off
#define VELKAR_X(name, slot) \
    int Get##name() const { return GetPartyMember(slot); } \
    void Set##name(int value) { SetPartyMember(slot, value); }
    VELKAR_PARTY_MEMBERS(VELKAR_X)
#undef VELKAR_X
    // clang-format on
    void SetPartyMemberCount(int value);

    // --- Character record ---
    // clang-format off
#define VELKAR_X(name, offset, width) \
    int Get##name(int n) const { return ReadCharacter(n, CharacterFields::name); } \
    void Set##name(int n, int value) { WriteCharacter(n, CharacterFields::name, value); }
    VELKAR_CHARACTER_FIELDS(VELKAR_X)
#undef VELKAR_X
    // clang-format on

    int GetFace(int n) const;
    void SetFace(int n, int value);  // also keeps the second copy of the portrait number
    int GetLevel(int n) const;       // base level + level bonus
    void SetLevel(int n, int value); // writes the bonus against the base level as it is now
    int GetBaseAge(int n) const;     // current year - birth year
    void SetBaseAge(int n, int value);
    int GetAge(int n) const;       // age bonus + natural age
    void SetAge(int n, int value); // writes the bonus against the birth year as it is now

    // Views into the window: valid while this object lives, and they follow later setters.
    std::string_view GetName(int n) const;
    void SetName(int n, std::string_view text);
    std::string_view GetDescription(int n) const;
    void SetDescription(int n, std::string_view text);

    // Skill words by slot (0..38 except 36, which has no skill).
    int GetSkill(int n, int slot) const;
    void SetSkill(int n, int slot, int word);
    // clang-format off
#define VELKAR_X(name, slot) \
    int Get##name(int n) const { return GetSkill(n, slot); } \
    void Set##name(int n, int word) { SetSkill(n, slot, word); }
    VELKAR_SKILLS(VELKAR_X)
#undef VELKAR_X
    // clang-format on

    // Known-spell flag bytes of group g (0..11): 11 bytes, or 4 for the racial groups.
    // The setter copies exactly that many bytes and throws std::invalid_argument on fewer.
    static int SpellGroupSize(int group);
    std::span<const std::uint8_t> GetSpellGroup(int n, int group) const;
    void SetSpellGroup(int n, int group, std::span<const std::uint8_t> bytes);
    // clang-format off
#define VELKAR_X(name, g) \
    std::span<const std::uint8_t> Get##name(int n) const { return GetSpellGroup(n, g); } \
    void Set##name(int n, std::span<const std::uint8_t> bytes) { SetSpellGroup(n, g, bytes); }
    VELKAR_SPELL_GROUPS(VELKAR_X)
#undef VELKAR_X
    // clang-format on

    // The award's mask when held, 0 when not, -1 for award numbers outside the award table
    // (0..73 built in; the game's own table may reach further inside the record's award area).
    int GetAward(int n, int a) const;
    void SetAward(int n, int a); // nothing for award numbers outside the award table
    void ClearAward(int n, int a);

    // Condition k (0..17): returns 1 and the time elapsed since it began, or 0 leaving
    // duration untouched when the character is free of it.
    int GetCondition(int n, int k, GameDuration& duration) const;
    void SetCondition(int n, int k, int afflicted, const GameDuration& duration);
    // clang-format off
#define VELKAR_X(name, k) \
    int Get##name(int n, GameDuration& duration) const { return GetCondition(n, k, duration); } \
    void Set##name(int n, int afflicted, const GameDuration& duration) { SetCondition(n, k, afflicted, duration); }
    VELKAR_CONDITIONS(VELKAR_X)
#undef VELKAR_X
    // clang-format on

    // Spell k (0..26) in effect on the character.
    ActiveSpellInfo GetActiveSpell(int n, int k) const;
    void SetActiveSpell(int n, int k, const ActiveSpellInfo& value, SpellEffectParts parts = {});
    // clang-format off
#define VELKAR_X(name, k) \
    ActiveSpellInfo Get##name(int n) const { return GetActiveSpell(n, k); } \
    void Set##name(int n, const ActiveSpellInfo& value, SpellEffectParts parts = {}) { SetActiveSpell(n, k, value, parts); }
    VELKAR_ACTIVE_SPELLS(VELKAR_X)
#undef VELKAR_X
    // clang-format on

    // --- Inventory ---
    // -1 past the end of the grid (and for negative cells), 0 for an empty or covered
    // cell (only item.ItemNumber is written, as 0), 1 with the entry copied for an anchor.
    int GetInventoryCell(int n, int cell, InventoryItem& item) const;
    // Stores the item in the lowest free entry (one no anchor names) at the first cell where
    // it fits, row by row; returns that anchor cell, or -1 (nothing changed) when no entry or
    // no room is left.
    int AddInventoryItem(int n, const InventoryItem& item);
    // Whether an entry is left for AddInventoryItem.
    bool HasFreeInventoryEntry(int n) const;
    // Removes the item anchored at cell: its entry, its anchor and every cell the grid marks
    // as covered by it, wherever they lie. Any other cell is ignored.
    void RemoveInventoryItem(int n, int cell);
    // The columns and rows the item anchored at cell covers, from the anchor: the rectangle
    // its marked cells fill when they fill one (what the game wrote, which may differ from
    // the table), else its kind's size, else one cell. No value for a cell that is no anchor.
    std::optional<ItemSize> GetInventoryFootprint(int n, int cell) const;
    // Moves the item anchored at fromCell so that toCell becomes its anchor: only its anchor
    // and the cells it covers change, its entry stays. Refuses (false, nothing changed) when
    // fromCell is no anchor or the item, with its own cells freed, does not fit at toCell.
    bool MoveInventoryItem(int n, int fromCell, int toCell);
    bool CanMoveInventoryItem(int n, int fromCell, int toCell) const;
    // Writes item over the entry of the item anchored at cell, keeping that entry and its
    // words 6-8 (item's are ignored). The item stays at its anchor when it fits there with
    // its old cells freed (the same kind keeps the cells it covers), else it is placed as
    // AddInventoryItem places; returns the anchor, or -1 with nothing changed when no place
    // fits or cell is no anchor.
    int ReplaceInventoryItem(int n, int cell, const InventoryItem& item);
    // The grid cell's stored value as it is (0 free, k an anchor, ~a covered), hostile values
    // included. Every value is a possible answer, so a cell outside 0..125 throws std::out_of_range.
    int GetInventoryGridCell(int n, int cell) const;

private:
    // Throws unless the path still names the open file, party.bin still starts at the data
    // offset and the window's stretch still holds the baseline.
    void CheckFileUnchanged();
    // Writes window bytes [offset, offset + size) after the check; the baseline follows them.
    void WriteRange(std::size_t offset, std::size_t size);
    // After a failed write: the baseline becomes whatever the file now holds, if readable.
    void RereadBaseline() noexcept;
    // Every change of the window goes through here first: it takes the baseline's copy.
    void BeforeEdit();

    static int RecordOffset(int n);
    std::int64_t Read(int offset, int width) const;
    std::uint64_t ReadUnsigned(int offset, int width) const;
    void Write(int offset, int width, std::int64_t value);
    int ReadCharacter(int n, Field field) const;
    void WriteCharacter(int n, Field field, int value);
    std::int32_t CurrentYear() const;

    SpellEffectInfo ReadSpellEffect(int offset) const;
    void WriteSpellEffect(int offset, const SpellEffectInfo& value, SpellEffectParts parts);
    std::string_view ReadText(int offset, int width) const;
    void WriteText(int offset, int width, std::string_view text);

    int Cell(int n, int cell) const;
    void SetCell(int n, int cell, int value);
    InventoryItem ReadEntry(int n, int entry) const;
    void WriteEntry(int n, int entry, const InventoryItem& item);
    ItemSize Footprint(int itemNumber) const;
    using Grid = std::array<int, InventoryLayout::CellCount>;
    Grid ReadGrid(int n) const;
    // The lowest entry no anchor names and no item holds; 0 without one.
    int FreeEntry(int n, const Grid& grid) const;
    static std::optional<ItemSize> WrittenFootprint(const Grid& grid, int anchor);
    // GetInventoryFootprint on a grid already read.
    std::optional<ItemSize> FootprintIn(int n, const Grid& grid, int cell) const;
    // Moves the item in grid (its own cells freed first); false when it cannot.
    bool MovedGrid(int n, Grid& grid, int fromCell, int toCell) const;
    // Whether a size fits at anchor in grid, inside the backpack and on free cells only.
    static bool Fits(const Grid& grid, int anchor, ItemSize size);
    // The first anchor, row by row, where size fits; -1 without one.
    static int FirstFit(const Grid& grid, ItemSize size);
    // Frees the anchor and the cells marked as its in grid (the copy, not the window).
    static void FreeItemCells(Grid& grid, int anchor);
    // Writes the cells of grid that differ from the window's.
    void WriteGrid(int n, const Grid& grid);

    std::unique_ptr<std::uint8_t[]> window_;
    std::size_t windowSize_ = 0; // 0 until a successful Open: every access is checked against it
    GameWords words_;
    std::uint32_t dataOffset_ = 0;
    std::size_t readSize_ = 0; // bytes actually read; Save writes exactly these
    // What the file held in the window's stretch when last read or written: not model state,
    // only the check that nobody else wrote there before Save overwrites it. Until the first
    // edit after a read or write the window itself is that copy, so opening copies nothing.
    // Window-sized once made, so that a reopened game with a longer read still fits.
    std::unique_ptr<std::uint8_t[]> baseline_;
    bool windowIsBaseline_ = false;
    // The check reads the file through this, a piece at a time, rather than a copy of the stretch.
    static constexpr std::size_t ScratchSize = std::size_t{64} << 10;
    std::unique_ptr<std::uint8_t[]> scratch_;
    BackupHook backupHook_;
    bool backedUp_ = false; // since the last Open
    bool readOnly_ = false;
    std::string readOnlyReason_;
};
