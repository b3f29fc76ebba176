#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// A fresh Wine-style prefix in a temporary folder, with WINEPREFIX pointing at it for the
// object's life. WINEPREFIX and HOME are restored and the folder removed afterwards.
class TempWinePrefix {
public:
    TempWinePrefix();
    ~TempWinePrefix();
    TempWinePrefix(const TempWinePrefix&) = delete;
    TempWinePrefix& operator=(const TempWinePrefix&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    void WriteSystemReg(std::string_view text) const;
    // Creates the folder (and those above it) under the prefix and returns its path.
    std::filesystem::path MakeFolder(const std::filesystem::path& relative) const;
    // dosdevices/<name> -> target, as winecfg sets drives up.
    void LinkDrive(std::string_view name, const std::filesystem::path& target) const;

private:
    std::filesystem::path path_;
    std::optional<std::string> savedPrefix_;
    std::optional<std::string> savedHome_;
};
