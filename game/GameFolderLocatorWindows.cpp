#ifdef _WIN32

#include "game/GameFolderLocator.h"

#include "game/RegistryKey.h"

#include <system_error>

std::vector<GameFolderLocator::FoundGame> GameFolderLocator::FindAll()
{
    RegistryKey registry(RegistryKey::LocalMachine());
    std::filesystem::path folder = Find(registry);
    if (folder.empty())
        return {};
    return {{std::move(folder), "Windows registry"}};
}

std::filesystem::path GameFolderLocator::FolderOf(std::u16string_view registryPath)
{
    // Wide all the way: the registry's UTF-16 is what the file system takes.
    std::filesystem::path folder(std::wstring(registryPath.begin(), registryPath.end()));
    std::error_code error;
    if (folder.empty() || !std::filesystem::is_directory(folder, error))
        return {};
    return folder;
}

#endif
