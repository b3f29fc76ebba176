#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

// A failure of the platform file layer. what() is the operating system's own
// message followed by the path, ready to be shown to the user as it stands.
class FileError : public std::runtime_error {
public:
    FileError(const std::string& systemMessage, const std::filesystem::path& path);

    // Builds the error from an errno value (POSIX) or a GetLastError() code (Windows).
    static FileError FromSystemCode(int code, const std::filesystem::path& path);
    // A failure Velkar itself detected; what() is the text as it stands.
    static FileError Detected(const std::string& text, const std::filesystem::path& path);

    const std::filesystem::path& Path() const noexcept { return path_; }
    // A path as the messages show it (the ANSI code page on Windows, as the system's texts).
    static std::string PathText(const std::filesystem::path& path);
    // The operating system's message alone (the whole text of a detected failure).
    const std::string& Reason() const noexcept { return reason_; }

private:
    struct WholeText {};
    FileError(WholeText, const std::string& text, const std::filesystem::path& path);

    std::filesystem::path path_;
    std::string reason_;
};
