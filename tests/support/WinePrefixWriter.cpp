#include "WinePrefixWriter.h"

#include <fstream>
#include <stdexcept>
#include <string>

void WinePrefixWriter::Write(const std::filesystem::path& prefix, const std::filesystem::path& game)
{
    std::filesystem::create_directories(prefix / "dosdevices");
    const auto drive = prefix / "dosdevices" / "z:";
    std::error_code ignored;
    std::filesystem::remove(drive, ignored);
    std::filesystem::create_directory_symlink("/", drive);

    std::string windowsPath = "Z:";
    for (char c : std::filesystem::absolute(game).lexically_normal().string())
        windowsPath += c == '/' ? std::string("\\\\") : c == '"' ? std::string("\\\"") : std::string(1, c);
    std::ofstream reg(prefix / "system.reg", std::ios::trunc);
    reg << "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n"
        << "[Software\\\\Wow6432Node\\\\New World Computing\\\\Might and Magic Day of the Destroyer\\\\1.0] 1765000000\n"
        << "#time=1db0a0b0c0d0e0f\n"
        << "\"AppPath\"=\"" << windowsPath << "\"\n";
    if (!reg)
        throw std::runtime_error("cannot write " + (prefix / "system.reg").string());
}

