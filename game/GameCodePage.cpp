#include "game/GameCodePage.h"

#include "game/GameFolderLocator.h"
#include "game/UserSettings.h"
#include "model/Container.h"

#include <algorithm>
#include <optional>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#endif

namespace {

bool Usable(std::optional<TextCodec::Page> page)
{
    return page && TextCodec(*page).IsAvailable();
}

} // namespace

TextCodec::Page GameCodePage::Decide(const std::filesystem::path& gameFolder, std::span<const SaveListing::Row> saves)
{
    if (const auto remembered = UserSettings::CodePage(gameFolder); Usable(remembered))
        return *remembered;
    if (Usable(TextCodec::Page::ChineseFan) && HoldWrapping(gameFolder, saves))
        return TextCodec::Page::ChineseFan;
    if (const auto system = TextCodec::FromNumber(SystemCodePage(gameFolder)); Usable(system))
        return *system;
    return TextCodec::Page::Western;
}

TextCodec::Page GameCodePage::ForSave(const std::filesystem::path& save)
{
    const std::filesystem::path folder = SaveListing::RealGameFolderOf(save);
    if (const auto remembered = UserSettings::CodePage(folder); Usable(remembered))
        return *remembered;
    if (Usable(TextCodec::Page::ChineseFan)) {
        std::vector<std::string> names = SaveListing::CharacterNames(save);
        names.push_back(ReadSaveName(save).value_or(std::string()));
        if (std::any_of(names.begin(), names.end(),
                        [](const std::string& name) { return TextCodec::HoldsWrapping(name); }))
            return TextCodec::Page::ChineseFan;
    }
    return Decide(folder, SaveListing::Build(folder));
}

bool GameCodePage::HoldWrapping(const std::filesystem::path& gameFolder, std::span<const SaveListing::Row> saves)
{
    const auto wrapped = [](const std::string& name) { return TextCodec::HoldsWrapping(name); };
    if (std::any_of(saves.begin(), saves.end(), [&](const SaveListing::Row& row) { return wrapped(row.Name); }))
        return true;
    return std::any_of(saves.begin(), saves.end(), [&](const SaveListing::Row& row) {
        const std::vector<std::string> names =
            SaveListing::CharacterNames(SaveListing::SavePath(gameFolder, row.FileName));
        return std::any_of(names.begin(), names.end(), wrapped);
    });
}

unsigned GameCodePage::SystemCodePage([[maybe_unused]] const std::filesystem::path& gameFolder)
{
#ifdef _WIN32
    // Under Wine too: Wine answers with its prefix's code page.
    return GetACP();
#else
    return GameFolderLocator::PrefixOf(gameFolder).codePage;
#endif
}
