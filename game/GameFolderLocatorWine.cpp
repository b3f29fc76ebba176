#ifndef _WIN32

#include "game/GameFolderLocator.h"

#include "game/RegistryKey.h"
#include "game/UnicodeText.h"
#include "game/WinePrefixFinder.h"
#include "game/WineRegistry.h"

#include <cstdlib>
#include <optional>
#include <set>
#include <system_error>

namespace {

namespace fs = std::filesystem;

// The entry of folder named name without regard to case, as Wine finds a Windows program's files.
std::optional<fs::path> FindIgnoringCase(const fs::path& folder, std::u16string_view name)
{
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (UnicodeText::EqualsIgnoringCase(UnicodeText::ToUtf16(it->path().filename().native()), name))
            return it->path();
    }
    return std::nullopt;
}

bool IsFolder(const fs::path& path)
{
    std::error_code error;
    return fs::is_directory(path, error);
}

fs::path FromEnvironment(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? fs::path(value) : fs::path();
}

// The first entry of the game in one prefix's registry that names an existing folder. One
// pass over the file for all of them.
fs::path FindInPrefix(const fs::path& prefix, std::span<const std::u16string> keys,
                      std::span<const std::u16string> values)
{
    const WineRegistry registry = WineRegistry::Read(prefix / "system.reg");
    const std::vector<WineRegistry::Key> found = registry.Find(keys);
    for (std::size_t i = 0; i < found.size(); ++i) {
        const auto value = WineRegistry::Query(found[i], values[i]);
        // As RegistryKey would read it: a longer value does not fit its buffer.
        if (!value || value->data.size() > RegistryKey::kBufferSize)
            continue;
        if (fs::path folder = GameFolderLocator::NativeFolder(WineRegistry::Text(*value), prefix); !folder.empty())
            return folder;
    }
    return {};
}

} // namespace

std::vector<GameFolderLocator::FoundGame> GameFolderLocator::FindAll()
{
    return FindAll(FromEnvironment("HOME"), FromEnvironment("WINEPREFIX"));
}

std::vector<GameFolderLocator::FoundGame> GameFolderLocator::FindAll(const fs::path& home, const fs::path& winePrefix)
{
    // Each of the game's keys in the 32-bit view first, then as named.
    std::vector<std::u16string> keys;
    std::vector<std::u16string> values;
    for (const Source& source : kSources) {
        const std::u16string key = UnicodeText::ToUtf16(source.key);
        for (const std::u16string& view : {WineRegistry::Wow64Path(key), key}) {
            keys.push_back(view);
            values.push_back(UnicodeText::ToUtf16(source.value));
        }
    }
    std::vector<FoundGame> games;
    std::set<fs::path> seen;
    for (WinePrefixFinder::Prefix& prefix : WinePrefixFinder::Find(home, winePrefix)) {
        fs::path folder = FindInPrefix(prefix.folder, keys, values);
        std::error_code error;
        const fs::path resolved = fs::canonical(folder, error);
        if (!folder.empty() && !error && seen.insert(resolved).second)
            games.push_back({std::move(folder), std::move(prefix.source)});
    }
    return games;
}

fs::path GameFolderLocator::NativeFolder(std::u16string_view registryPath, const fs::path& prefix)
{
    const char16_t letter =
        registryPath.empty() ? u'\0' : static_cast<char16_t>(UnicodeText::FoldCase(registryPath[0]));
    if (registryPath.size() < 2 || letter < u'a' || letter > u'z' || registryPath[1] != u':')
        return {};
    if (registryPath.size() > 2 && registryPath[2] != u'\\' && registryPath[2] != u'/')
        return {}; // "C:dir" is relative to the drive's current folder: nothing to map it to
    if (prefix.empty())
        return {};
    const fs::path devices = prefix / "dosdevices";
    auto drive = FindIgnoringCase(devices, std::u16string{letter, u':'});
    if (!drive && letter == u'c')
        drive = FindIgnoringCase(prefix, u"drive_c"); // Wine makes the c: link again when it starts
    if (!drive)
        return {};
    fs::path folder = *drive;
    std::error_code error;
    if (fs::is_symlink(folder, error)) {
        const fs::path target = fs::read_symlink(folder, error);
        if (error)
            return {};
        folder = (target.is_absolute() ? target : devices / target).lexically_normal();
    }
    const std::u16string_view rest = registryPath.substr(2);
    for (std::size_t start = 0; start < rest.size();) {
        std::size_t end = rest.find_first_of(u"\\/", start);
        if (end == std::u16string_view::npos)
            end = rest.size();
        const std::u16string_view part = rest.substr(start, end - start);
        start = end + 1;
        if (part.empty())
            continue;
        fs::path next = folder / UnicodeText::ToUtf8(part);
        if (!fs::exists(next, error)) {
            if (const auto match = FindIgnoringCase(folder, part))
                next = *match;
        }
        folder = std::move(next);
    }
    return IsFolder(folder) ? folder : fs::path();
}

fs::path GameFolderLocator::FolderOf(std::u16string_view registryPath)
{
    return NativeFolder(registryPath, RegistryKey::WinePrefix());
}

#endif
