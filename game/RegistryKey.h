#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#ifndef _WIN32
#include <filesystem>

class WineRegistry;
#endif

// An open key as the platform names it: an HKEY on Windows; elsewhere a key of the prefix's
// registry, opaque outside RegistryKeyWine.cpp. Chosen out here, since a conditional inside
// the class keeps the formatter from seeing its short getters as the class's own.
struct RegistryNode;
#ifdef _WIN32
using RegistryHandle = void*;
#else
using RegistryHandle = const RegistryNode*;
#endif

// A registry key opened for reading. Under _WIN32 this is the Windows registry (the
// 32-bit view, where the game writes its keys); elsewhere it is HKEY_LOCAL_MACHINE as
// stored in the system.reg of the Wine prefix. Key and value names are UTF-8; texts are
// read as the registry holds them, UTF-16. Nothing is ever written.
class RegistryKey {
public:
    using Node = RegistryNode;
    using Handle = RegistryHandle;

    // Result codes as the Windows registry reports them.
    static constexpr std::int32_t kSuccess = 0;
    static constexpr std::int32_t kNotFound = 2;      // ERROR_FILE_NOT_FOUND
    static constexpr std::int32_t kInvalidHandle = 6; // ERROR_INVALID_HANDLE
    static constexpr std::int32_t kMoreData = 234;    // ERROR_MORE_DATA
    static constexpr std::uint32_t kBufferSize = 200; // QueryString's buffer, in bytes

    static Handle LocalMachine() noexcept;

    explicit RegistryKey(Handle root) noexcept;
    ~RegistryKey();
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // Opens subKey of parent; on success Key() is the opened key (a key this object
    // opened before is closed), on failure Key() is unchanged.
    bool Open(Handle parent, std::string_view subKey);
    // Reads the value into a 200-byte buffer, as RegQueryValueExW does: a value of more
    // than 200 bytes (99 UTF-16 units and the terminator) fails. The type is not tested.
    // On success out is the text up to the first zero unit; on failure out is untouched.
    bool QueryString(std::string_view valueName, std::u16string& out);
    // The same, as UTF-8.
    bool QueryString(std::string_view valueName, std::string& out);
    void Close() noexcept;

    std::int32_t Result() const noexcept { return result_; }
    std::uint32_t ValueType() const noexcept { return valueType_; }
    std::uint32_t ValueSize() const noexcept { return valueSize_; } // in bytes
    Handle Key() const noexcept { return key_; }
    const std::string& KeyName() const noexcept { return keyName_; }

#ifndef _WIN32
    // $WINEPREFIX, else $HOME/.wine; empty when neither variable is set.
    static std::filesystem::path WinePrefix();
#endif

private:
    std::int32_t result_ = kSuccess;
    std::uint32_t valueType_ = 0;
    std::uint32_t valueSize_ = 0;
    Handle key_;
    std::string keyName_;
#ifdef _WIN32
    Handle root_; // never closed: only keys this object opened are
#else
    const WineRegistry& Loaded();
    std::unique_ptr<WineRegistry> hive_; // system.reg, read at the first use
    std::unique_ptr<Node> opened_;       // the key Key() names, unless it is the root
#endif
};
