#include "model/GameFolder.h"

#include "model/AsciiFold.h"

#include <algorithm>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// The files (or folders) in folder whose folded name passes match, ordered by folded name.
template <typename Match>
std::vector<GameFolder::Item> List(const fs::path& folder, const std::string& shownFolder, bool folders, Match match)
{
    std::vector<GameFolder::Item> items;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const fs::directory_entry& entry = *it;
        std::error_code statError;
        if (folders ? !entry.is_directory(statError) : !entry.is_regular_file(statError))
            continue;
        const std::string name = entry.path().filename().generic_string();
        GameFolder::Item item{entry.path(), shownFolder + name, AsciiFold(name), 0, {}};
        if (!match(item.Folded))
            continue;
        if (!folders) {
            item.Size = entry.file_size(statError);
            item.Time = entry.last_write_time(statError);
            if (statError)
                continue;
        }
        items.push_back(std::move(item));
    }
    std::sort(items.begin(), items.end(), [](const auto& a, const auto& b) { return a.Folded < b.Folded; });
    return items;
}

std::optional<GameFolder::Item> Child(const fs::path& folder, const std::string& folded, bool isFolder)
{
    auto found = List(folder, "", isFolder, [&](const std::string& name) { return name == folded; });
    if (found.empty())
        return std::nullopt;
    return std::move(found.front());
}

} // namespace

GameFolder::GameFolder(const fs::path& game)
{
    if (const auto data = Child(game, "data", true)) {
        archives_ = List(data->Path, data->Shown + "/", false,
                         [](const std::string& name) { return name.size() > 4 && name.ends_with(".lod"); });
    }
    if (const auto loose = Child(game, "datafiles", true)) {
        looseTexts_ = List(loose->Path, loose->Shown + "/", false, [](const std::string& name) {
            return name == "items.txt" || name == "class.txt" || name == "awards.txt";
        });
    }
}

const GameFolder::Item* GameFolder::LooseText(std::string_view name) const
{
    for (const Item& item : looseTexts_) {
        if (item.Folded == name)
            return &item;
    }
    return nullptr;
}
