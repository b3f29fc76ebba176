#pragma once

#include <filesystem>

// Writes a 64-bit Wine-style prefix whose registry holds the game's own key pointing at a
// game folder through drive Z: (a dosdevices link to the root), so that Velkar finds that
// folder exactly as it finds a real installation.
class WinePrefixWriter {
public:
    static void Write(const std::filesystem::path& prefix, const std::filesystem::path& game);
};
