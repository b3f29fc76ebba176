#include "FileError.h"

#include <system_error>

FileError::FileError(const std::string& systemMessage, const std::filesystem::path& path)
    : std::runtime_error(systemMessage + ": " + path.string()), path_(path)
{
}

FileError FileError::FromSystemCode(int code, const std::filesystem::path& path)
{
    return FileError(std::system_category().message(code), path);
}

FileError::FileError(WholeText, const std::string& text, const std::filesystem::path& path)
    : std::runtime_error(text), path_(path)
{
}

FileError FileError::Detected(const std::string& text, const std::filesystem::path& path)
{
    return FileError(WholeText{}, text, path);
}
