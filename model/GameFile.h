#pragma once

#include "model/File.h"

#include <filesystem>

// An open game file: owns the platform file for as long as the object lives.
class GameFile {
public:
    GameFile() = default;
    GameFile(const GameFile&) = delete;
    GameFile& operator=(const GameFile&) = delete;

    virtual void Save() = 0;
    virtual void Reload() = 0;
    virtual bool Open(const std::filesystem::path& path) = 0;
    virtual ~GameFile();

protected:
    File file_;
};
