#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// HKEY_LOCAL_MACHINE as a Wine prefix stores it in system.reg. The file is not parsed as a
// whole: a lookup scans the key lines for the few keys wanted, in one pass however many,
// and decodes the values of those keys only. Key and value names compare without regard
// to case, as the registry's do. Nothing here calls the system but to read the file.
class WineRegistry {
public:
    // A value as RegQueryValueExW returns it: texts are UTF-16LE with their terminator.
    struct Value {
        std::uint32_t type = 0;
        std::string data;
    };

    // Where a wanted key is in the file.
    struct Key {
        bool exists = false;                    // listed, or above a listed key
        std::vector<std::string_view> listings; // the value lines under each of its key lines
    };

    WineRegistry() = default; // a registry without keys
    // The text of a system.reg; without Wine's first line it holds no keys.
    explicit WineRegistry(std::string text);
    // An unreadable or implausibly large file gives a registry without keys.
    static WineRegistry Read(const std::filesystem::path& file);

    // Each path ("Software\\GOG.com\\GOGMM8") looked up in one pass; keys at the same index.
    // The Keys point into this object's text: they are valid while it lives, unmoved.
    std::vector<Key> Find(std::span<const std::u16string> paths) const;
    // The value named name ("" for the default value); the last entry of a name wins, as
    // when Wine loads the file.
    static std::optional<Value> Query(const Key& key, std::u16string_view name);
    // A value's data as UTF-16 text, up to its first zero unit, whatever its type.
    static std::u16string Text(const Value& value);

    // Where a 32-bit program's Software\X lives in a 64-bit prefix: Software\Wow6432Node\X.
    // Empty when path is outside Software or names that view already.
    static std::u16string Wow64Path(std::u16string_view path);

    // The ANSI code page the prefix gives Windows programs (ACP under
    // System\CurrentControlSet\Control\Nls\Codepage), 0 when unknown.
    std::uint32_t AnsiCodePage() const;
    static std::uint32_t AnsiCodePageOf(const std::filesystem::path& prefix);

private:
    std::string text_;         // empty unless the first line is Wine's
    std::size_t firstKey_ = 0; // where the key lines start
};
