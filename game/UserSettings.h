#pragma once

#include "text/TextCodec.h"

#include <filesystem>
#include <optional>

// What Velkar remembers between runs: the game folder last used, the code page chosen for
// each game folder and whether both programs back up a saved game before changing it. They live in the user's own
// settings, never in a game folder or a prefix.
class UserSettings {
public:
    static std::filesystem::path LastGameFolder();
    static void SetLastGameFolder(const std::filesystem::path& folder);

    static std::optional<TextCodec::Page> CodePage(const std::filesystem::path& gameFolder);
    static void SetCodePage(const std::filesystem::path& gameFolder, TextCodec::Page page);

    static bool MakeBackups(); // true until turned off
    static void SetMakeBackups(bool on);

    // Forgets all of it.
    static void Clear();
};
