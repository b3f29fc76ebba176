#pragma once

#include <QString>

#include <filesystem>

// Folder names between std::filesystem::path and the text people see and type, without a
// detour through narrow strings: on Windows the wide names go through as they are, so a
// Cyrillic or Chinese folder keeps every character whatever the ANSI code page.
class PathText {
public:
    static QString ToText(const std::filesystem::path& path);
    static std::filesystem::path ToPath(const QString& text);
    // The last name of path ("save003.dod"), as text.
    static QString FileName(const std::filesystem::path& path);
};
