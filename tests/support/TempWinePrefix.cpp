#include "tests/support/TempWinePrefix.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>

namespace {

std::optional<std::string> Get(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

void Restore(const char* name, const std::optional<std::string>& value)
{
    if (value)
        setenv(name, value->c_str(), 1);
    else
        unsetenv(name);
}

} // namespace

TempWinePrefix::TempWinePrefix() : savedPrefix_(Get("WINEPREFIX")), savedHome_(Get("HOME"))
{
    std::string pattern = (std::filesystem::temp_directory_path() / "velkar-prefix-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary folder");
    path_ = pattern;
    setenv("WINEPREFIX", path_.c_str(), 1);
}

TempWinePrefix::~TempWinePrefix()
{
    Restore("WINEPREFIX", savedPrefix_);
    Restore("HOME", savedHome_);
    std::error_code error;
    std::filesystem::remove_all(path_, error);
}

void TempWinePrefix::WriteSystemReg(std::string_view text) const
{
    std::ofstream out(path_ / "system.reg", std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!out)
        throw std::runtime_error("cannot write system.reg");
}

std::filesystem::path TempWinePrefix::MakeFolder(const std::filesystem::path& relative) const
{
    const std::filesystem::path folder = path_ / relative;
    std::filesystem::create_directories(folder);
    return folder;
}

void TempWinePrefix::LinkDrive(std::string_view name, const std::filesystem::path& target) const
{
    std::filesystem::create_directories(path_ / "dosdevices");
    std::filesystem::create_directory_symlink(target, path_ / "dosdevices" / name);
}
