#include "game/SmallFile.h"

#include <fstream>
#include <system_error>

std::string SmallFile::Read(const std::filesystem::path& file, std::uintmax_t maxSize)
{
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error || size > maxSize)
        return {};
    std::string text(static_cast<std::size_t>(size), '\0');
    std::ifstream in(file, std::ios::binary);
    if (!in.read(text.data(), static_cast<std::streamsize>(text.size())))
        return {};
    return text;
}
