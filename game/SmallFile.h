#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

// A settings file or a registry read whole. The cap keeps a stray huge file out of memory.
class SmallFile {
public:
    // The file's bytes; empty when it cannot be read or is larger than maxSize.
    static std::string Read(const std::filesystem::path& file, std::uintmax_t maxSize);
};
