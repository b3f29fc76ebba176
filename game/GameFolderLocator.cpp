#include "game/GameFolderLocator.h"

#include "game/RegistryKey.h"
#include "game/WinePrefixFinder.h"
#include "game/WineRegistry.h"

#include <cstdio>
#include <system_error>

std::filesystem::path GameFolderLocator::Find()
{
    std::vector<FoundGame> games = FindAll();
    return games.empty() ? std::filesystem::path() : std::move(games.front().folder);
}

std::filesystem::path GameFolderLocator::Find(RegistryKey& registry)
{
    for (const Source& source : kSources) {
        std::u16string text;
        if (registry.Open(RegistryKey::LocalMachine(), source.key) && registry.QueryString(source.value, text)) {
            if (std::filesystem::path folder = FolderOf(text); !folder.empty())
                return folder;
        }
    }
    return {};
}

GameFolderLocator::Prefix GameFolderLocator::PrefixOf(const std::filesystem::path& gameFolder)
{
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::absolute(gameFolder, error).lexically_normal();
    for (std::filesystem::path above = folder.parent_path(); !error && !above.empty(); above = above.parent_path()) {
        if (WinePrefixFinder::IsPrefix(above))
            return {above, WineRegistry::AnsiCodePageOf(above)};
        if (above == above.root_path())
            break;
    }
    return {};
}

std::string GameFolderLocator::SaveFileName(int number)
{
    char name[32];
    std::snprintf(name, sizeof name, "save%03d.dod", number);
    return name;
}
