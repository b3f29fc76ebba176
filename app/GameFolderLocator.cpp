#include "GameFolderLocator.h"

#include "AsciiText.h"

#include "RegistryKey.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include "Windows1252.h"

#include <optional>
#endif

namespace {

struct Source {
    std::string_view key;
    std::string_view value;
};

// The game's own keys come first: the previous game's key alone would miss an
// installation of this game alone and would name the wrong folder when both are installed.
constexpr std::array<Source, 3> kSources = {{
    {"Software\\New World Computing\\Might and Magic Day of the Destroyer\\1.0", "AppPath"},
    {"Software\\GOG.com\\GOGMM8", "PATH"},
    {"Software\\New World Computing\\Might and Magic VII\\1.0", "AppPath"},
}};

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

bool IsFolder(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

#ifndef _WIN32


// Windows names compare without regard to case; so does Wine when it finds the game's files.
std::optional<std::filesystem::path> FindIgnoringCase(const std::filesystem::path& folder, std::string_view name)
{
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (EqualsIgnoringCase(it->path().filename().native(), name))
            return it->path();
    }
    return std::nullopt;
}

// "X:\a\b" -> the folder the prefix's dosdevices/x: link leads to, then a/b; empty when
// the path names no drive or the prefix has no such drive.
std::string MapThroughPrefix(std::string_view windowsPath)
{
    const char letter = LowerAscii(windowsPath.empty() ? '\0' : windowsPath[0]);
    if (windowsPath.size() < 2 || letter < 'a' || letter > 'z' || windowsPath[1] != ':')
        return {};
    if (windowsPath.size() > 2 && windowsPath[2] != '\\' && windowsPath[2] != '/')
        return {}; // "C:dir" is relative to the drive's current folder: nothing to map it to
    const std::filesystem::path prefix = RegistryKey::WinePrefix();
    if (prefix.empty())
        return {};
    const std::filesystem::path devices = prefix / "dosdevices";
    const auto drive = FindIgnoringCase(devices, std::string{letter, ':'});
    if (!drive)
        return {};
    std::filesystem::path folder = *drive;
    std::error_code error;
    if (std::filesystem::is_symlink(folder, error)) {
        const std::filesystem::path target = std::filesystem::read_symlink(folder, error);
        if (error)
            return {};
        folder = (target.is_absolute() ? target : devices / target).lexically_normal();
    }
    const std::string rest = Windows1252::ToUtf8(windowsPath.substr(2));
    for (std::size_t start = 0; start <= rest.size();) {
        std::size_t end = rest.find_first_of("\\/", start);
        if (end == std::string::npos)
            end = rest.size();
        const std::string_view part = std::string_view(rest).substr(start, end - start);
        start = end + 1;
        if (part.empty())
            continue;
        std::filesystem::path next = folder / part;
        if (!std::filesystem::exists(next, error)) {
            if (const auto match = FindIgnoringCase(folder, part))
                next = *match;
        }
        folder = std::move(next);
    }
    return folder.string();
}

#endif

} // namespace

std::string GameFolderLocator::Find(RegistryKey& registry)
{
    for (const Source& source : kSources) {
        std::string text;
        if (registry.Open(RegistryKey::LocalMachine(), source.key) && registry.QueryString(source.value, text)) {
            if (std::string folder = NativeFolder(text); !folder.empty())
                return folder;
        }
    }
    return {};
}

std::string GameFolderLocator::Find()
{
    RegistryKey registry(RegistryKey::LocalMachine());
    return Find(registry);
}

std::string GameFolderLocator::NativeFolder(std::string_view registryPath)
{
#ifdef _WIN32
    std::string folder(registryPath);
#else
    std::string folder = MapThroughPrefix(registryPath);
#endif
    if (folder.empty() || !IsFolder(NativePath(folder)))
        return {};
    return folder;
}

std::filesystem::path GameFolderLocator::NativePath(std::string_view native)
{
#ifdef _WIN32
    if (native.empty())
        return {};
    const int size = static_cast<int>(native.size());
    const int units = MultiByteToWideChar(CP_ACP, 0, native.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(CP_ACP, 0, native.data(), size, wide.data(), units);
    return std::filesystem::path(std::move(wide));
#else
    return std::filesystem::path(std::string(native));
#endif
}

std::string GameFolderLocator::SaveFileName(int number)
{
    char name[32];
    std::snprintf(name, sizeof name, "save%03d.dod", number);
    return name;
}

std::string GameFolderLocator::SavePath(std::string_view folder, int number)
{
    return SavePath(folder, SaveFileName(number));
}

std::string GameFolderLocator::SavePath(std::string_view folder, std::string_view fileName)
{
    std::string path(folder);
    path += kSeparator;
    path += "Saves";
    path += kSeparator;
    path += fileName;
    return path;
}
