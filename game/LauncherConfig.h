#pragma once

#include <string>
#include <string_view>
#include <vector>

// The few settings Velkar needs from the game managers' own files, each read by a small
// reader that takes only those keys. Damage never does more than lose the file: a VDF or
// JSON file that is damaged anywhere gives nothing, a YAML file nothing from an entry that
// is. Paths come back as UTF-8, as written.
class LauncherConfig {
public:
    // Steam's steamapps/libraryfolders.vdf: the "path" of every library.
    static std::vector<std::string> SteamLibraries(std::string_view vdf);
    // A Lutris game's .yml: the prefix under its top-level game section.
    static std::vector<std::string> LutrisPrefixes(std::string_view yaml);
    // A Heroic GamesConfig/*.json: every "winePrefix" string.
    static std::vector<std::string> HeroicPrefixes(std::string_view json);
};
