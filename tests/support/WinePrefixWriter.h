#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

// Writes Wine prefixes as Wine leaves them: system.reg in Wine's own format (keys in Wine's
// order, texts escaped as Wine escapes them), drive_c, and the dosdevices links c: ->
// ../drive_c and z: -> /. Velkar finds games in them exactly as in a real prefix.
class WinePrefixWriter {
public:
    static constexpr std::string_view kGameKey =
        "Software\\New World Computing\\Might and Magic Day of the Destroyer\\1.0";
    static constexpr std::string_view kGameKey32 =
        "Software\\Wow6432Node\\New World Computing\\Might and Magic Day of the Destroyer\\1.0";

    // The demo's prefix: the game's own key, in the 32-bit view, names game through Z:.
    static void Write(const std::filesystem::path& prefix, const std::filesystem::path& game);

    explicit WinePrefixWriter(std::filesystem::path prefix);

    // A text value (REG_SZ) of key, a path as Windows writes it ("Software\\GOG.com\\GOGMM8").
    WinePrefixWriter& Set(std::string_view key, std::string_view name, std::u16string_view text);
    // The ANSI code page, where Wine keeps it: ACP under System\CurrentControlSet\Control\Nls\Codepage.
    WinePrefixWriter& CodePage(int acp);
    // The thousands of keys a fresh 64-bit prefix holds (about 1.7 MB), before and after
    // those set here.
    WinePrefixWriter& Fresh();
    // Writes the prefix: drive_c, the links (where the system allows them) and system.reg.
    void Save() const;
    // prefix/drive_c/relative, created.
    std::filesystem::path MakeFolder(const std::filesystem::path& relative) const;

    const std::filesystem::path& Path() const { return prefix_; }

private:
    // Wine's order: each key after its parent, sibling names without regard to case.
    struct Order {
        bool operator()(const std::string& a, const std::string& b) const;
    };

    std::filesystem::path prefix_;
    std::map<std::string, std::string, Order> keys_; // key -> its value lines, escaped
};
