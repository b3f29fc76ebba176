#pragma once

#include <filesystem>
#include <string>
#include <vector>

// The Wine prefixes of a user: the one Wine uses by default and those the game managers
// keep (Steam's Proton, Lutris, Heroic, Bottles, PlayOnLinux), at the places and from the
// settings each manager uses. Only those places are looked at, never a whole tree.
class WinePrefixFinder {
public:
    struct Prefix {
        std::filesystem::path folder;
        std::string source; // for people: "Lutris prefix ~/Games/gog-mm8"
    };

    // winePrefix ($WINEPREFIX; may be empty), home/.wine, then the managers' prefixes
    // under home, in that order; each prefix once, however many ways lead to it.
    static std::vector<Prefix> Find(const std::filesystem::path& home, const std::filesystem::path& winePrefix);

    // A folder holding system.reg and drive_c, as every prefix does.
    static bool IsPrefix(const std::filesystem::path& folder);
};
