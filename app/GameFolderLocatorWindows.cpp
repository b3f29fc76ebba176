#ifdef _WIN32

#include "app/GameFolderLocator.h"

#include "app/RegistryKey.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

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

std::filesystem::path GameFolderLocator::NativePath(std::string_view native)
{
    // Decoded as the system's narrow functions do: std::filesystem::path's own conversion
    // from char differs between C++ libraries (MinGW's takes bytes as Latin-1).
    if (native.empty())
        return {};
    const int size = static_cast<int>(native.size());
    const int units = MultiByteToWideChar(CP_ACP, 0, native.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(CP_ACP, 0, native.data(), size, wide.data(), units);
    return std::filesystem::path(std::move(wide));
}

std::string GameFolderLocator::NativeString(const std::filesystem::path& path)
{
    const std::wstring& wide = path.native();
    if (wide.empty())
        return {};
    const int size = static_cast<int>(wide.size());
    const int bytes = WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string native(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), size, native.data(), bytes, nullptr, nullptr);
    return native;
}

#endif
