#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

// A whole file in and out as bytes; both throw when the file cannot be read or written, so
// a test never goes on with a file it did not set up.
std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);
