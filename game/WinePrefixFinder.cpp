#include "game/WinePrefixFinder.h"

#include "game/LauncherConfig.h"
#include "game/SmallFile.h"

#include <algorithm>
#include <set>
#include <string_view>
#include <system_error>

namespace {

namespace fs = std::filesystem;

constexpr std::uintmax_t kMaxConfigSize = 4u << 20; // managers' files are a few kilobytes

constexpr std::string_view kSteamFlatpak = ".var/app/com.valvesoftware.Steam";
constexpr std::string_view kHeroicFlatpak = ".var/app/com.heroicgameslauncher.hgl";

// The immediate subfolders of folder (or its files ending in extension), by name.
std::vector<fs::path> List(const fs::path& folder, std::string_view extension = {})
{
    std::vector<fs::path> entries;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const bool wanted = extension.empty() ? it->is_directory(error)
                                              : it->path().extension() == extension && it->is_regular_file(error);
        if (wanted)
            entries.push_back(it->path());
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

// Without "." or ".." and without a trailing separator, as a setting may write "~/Games/mm8/".
fs::path Normal(const fs::path& folder)
{
    fs::path normal = folder.lexically_normal();
    return !normal.has_filename() && normal.has_relative_path() ? normal.parent_path() : normal;
}

class Collector {
public:
    explicit Collector(const fs::path& home) : home_(Normal(home)) {}

    // A path from a manager's settings: absolute, or from home with "~/".
    void AddNamed(std::string_view path, std::string_view manager)
    {
        if (path == "~" || path.starts_with("~/"))
            Add(home_ / fs::path(path.substr(std::min<std::size_t>(2, path.size()))), manager);
        else if (fs::path(path).is_absolute())
            Add(fs::path(path), manager);
    }

    void Add(const fs::path& folder, std::string_view manager)
    {
        if (folder.empty() || !WinePrefixFinder::IsPrefix(folder))
            return;
        std::error_code error;
        fs::path resolved = fs::canonical(folder, error);
        if (error || !seen_.insert(resolved).second)
            return;
        const fs::path normal = Normal(folder);
        found_.push_back({normal, std::string(manager) + " prefix " + Shown(normal)});
    }

    void AddEach(const fs::path& parent, std::string_view manager)
    {
        for (const fs::path& folder : List(parent))
            Add(folder, manager);
    }

    const fs::path& Home() const { return home_; }
    std::vector<WinePrefixFinder::Prefix> Take() { return std::move(found_); }

private:
    // The folder as people write it: ~ for the home folder.
    std::string Shown(const fs::path& folder) const
    {
        if (!home_.empty()) {
            const fs::path relative = folder.lexically_relative(home_);
            if (!relative.empty() && *relative.begin() != "..")
                return relative == "." ? std::string("~") : "~/" + relative.generic_string();
        }
        return folder.generic_string();
    }

    fs::path home_;
    std::set<fs::path> seen_;
    std::vector<WinePrefixFinder::Prefix> found_;
};

void AddSteam(Collector& prefixes)
{
    const fs::path& home = prefixes.Home();
    const fs::path flatpak = home / kSteamFlatpak;
    for (const fs::path& root :
         {home / ".local/share/Steam", home / ".steam/steam", flatpak / ".local/share/Steam", flatpak / "data/Steam"}) {
        std::vector<fs::path> libraries = {root};
        for (const std::string& library :
             LauncherConfig::SteamLibraries(SmallFile::Read(root / "steamapps/libraryfolders.vdf", kMaxConfigSize))) {
            if (fs::path(library).is_absolute())
                libraries.emplace_back(library);
        }
        for (const fs::path& library : libraries) {
            for (const fs::path& game : List(library / "steamapps/compatdata"))
                prefixes.Add(game / "pfx", "Steam (Proton)");
        }
    }
}

void AddLutris(Collector& prefixes)
{
    const fs::path& home = prefixes.Home();
    prefixes.AddEach(home / "Games", "Lutris"); // where Lutris puts new prefixes
    for (const fs::path& games : {home / ".config/lutris/games", home / ".local/share/lutris/games"}) {
        for (const fs::path& file : List(games, ".yml")) {
            for (const std::string& prefix : LauncherConfig::LutrisPrefixes(SmallFile::Read(file, kMaxConfigSize)))
                prefixes.AddNamed(prefix, "Lutris");
        }
    }
}

void AddHeroic(Collector& prefixes)
{
    const fs::path& home = prefixes.Home();
    const fs::path flatpak = home / kHeroicFlatpak;
    for (const fs::path& games : {home / "Games/Heroic/Prefixes/default", flatpak / "Games/Heroic/Prefixes/default"})
        prefixes.AddEach(games, "Heroic");
    for (const fs::path& config : {home / ".config/heroic", flatpak / "config/heroic"}) {
        for (const fs::path& file : List(config / "GamesConfig", ".json")) {
            for (const std::string& prefix : LauncherConfig::HeroicPrefixes(SmallFile::Read(file, kMaxConfigSize)))
                prefixes.AddNamed(prefix, "Heroic");
        }
    }
}

} // namespace

std::vector<WinePrefixFinder::Prefix> WinePrefixFinder::Find(const fs::path& home, const fs::path& winePrefix)
{
    Collector prefixes(home);
    prefixes.Add(winePrefix, "Wine");
    if (!home.empty()) {
        prefixes.Add(home / ".wine", "Wine");
        AddSteam(prefixes);
        AddLutris(prefixes);
        AddHeroic(prefixes);
        prefixes.AddEach(home / ".local/share/bottles/bottles", "Bottles");
        prefixes.AddEach(home / ".var/app/com.usebottles.bottles/data/bottles/bottles", "Bottles");
        prefixes.AddEach(home / ".PlayOnLinux/wineprefix", "PlayOnLinux");
    }
    return prefixes.Take();
}

bool WinePrefixFinder::IsPrefix(const fs::path& folder)
{
    std::error_code error;
    return fs::is_regular_file(folder / "system.reg", error) && fs::is_directory(folder / "drive_c", error);
}
