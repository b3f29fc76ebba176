#ifndef _WIN32

#include "game/RegistryKey.h"

#include "game/UnicodeText.h"
#include "game/WineRegistry.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <vector>

struct RegistryNode {
    std::u16string path;   // where the key was found, components joined by '\'
    WineRegistry::Key key; // its listings in the system.reg it was found in
};

namespace {

const RegistryKey::Node& Root()
{
    static const RegistryKey::Node root{u"", {true, {}}};
    return root;
}

// parent + '\' + subKey; nothing when subKey has an empty component.
std::optional<std::u16string> Join(std::u16string_view parent, std::string_view subKey)
{
    std::u16string path(parent);
    if (subKey.empty())
        return path;
    const std::u16string units = UnicodeText::ToUtf16(subKey);
    for (std::size_t start = 0;;) {
        const std::size_t end = std::min(units.find(u'\\', start), units.size());
        if (end == start)
            return std::nullopt;
        if (!path.empty())
            path.push_back(u'\\');
        path.append(units, start, end - start);
        if (end == units.size())
            return path;
        start = end + 1;
    }
}

} // namespace

RegistryKey::Handle RegistryKey::LocalMachine() noexcept
{
    return &Root();
}

RegistryKey::RegistryKey(Handle root) noexcept : key_(root)
{}

RegistryKey::~RegistryKey() = default;

std::filesystem::path RegistryKey::WinePrefix()
{
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix != nullptr && *prefix != '\0')
        return prefix;
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        return std::filesystem::path(home) / ".wine";
    return {};
}

const WineRegistry& RegistryKey::Loaded()
{
    if (!hive_) {
        const std::filesystem::path prefix = WinePrefix();
        hive_ =
            std::make_unique<WineRegistry>(prefix.empty() ? WineRegistry() : WineRegistry::Read(prefix / "system.reg"));
    }
    return *hive_;
}

bool RegistryKey::Open(Handle parent, std::string_view subKey)
{
    keyName_.assign(subKey);
    valueType_ = 0;
    valueSize_ = 0;
    if (parent == nullptr) {
        result_ = kInvalidHandle;
        return false;
    }
    const std::optional<std::u16string> path = Join(parent->path, subKey);
    if (path && path->empty()) {
        result_ = kSuccess;
        opened_.reset();
        key_ = &Root();
        return true;
    }
    // The view a 32-bit program gets first; only 64-bit prefixes have it.
    std::vector<std::u16string> candidates;
    if (path) {
        if (std::u16string redirected = WineRegistry::Wow64Path(*path); !redirected.empty())
            candidates.push_back(std::move(redirected));
        candidates.push_back(*path);
    }
    const std::vector<WineRegistry::Key> keys = Loaded().Find(candidates);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (keys[i].exists) {
            opened_ = std::make_unique<Node>(Node{candidates[i], keys[i]});
            key_ = opened_.get();
            result_ = kSuccess;
            return true;
        }
    }
    result_ = kNotFound;
    return false;
}

bool RegistryKey::QueryString(std::string_view valueName, std::u16string& out)
{
    valueType_ = 0;
    valueSize_ = 0;
    if (key_ == nullptr) {
        result_ = kInvalidHandle;
        return false;
    }
    const auto value = WineRegistry::Query(key_->key, UnicodeText::ToUtf16(valueName));
    if (!value) {
        result_ = kNotFound;
        return false;
    }
    valueType_ = value->type;
    valueSize_ = static_cast<std::uint32_t>(value->data.size());
    if (value->data.size() > kBufferSize) {
        result_ = kMoreData;
        return false;
    }
    result_ = kSuccess;
    out = WineRegistry::Text(*value);
    return true;
}

void RegistryKey::Close() noexcept
{
    key_ = nullptr;
    opened_.reset();
}

#endif
