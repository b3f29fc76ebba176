#include "game/SaveListing.h"

#include "game/GameFolderLocator.h"
#include "game/PathText.h"
#include "model/CharacterLayout.h"
#include "model/Container.h"
#include "model/File.h"
#include "model/FileError.h"

std::vector<SaveListing::Row> SaveListing::Build(const std::filesystem::path& folder)
{
    std::vector<Row> rows;
    for (int i = 0; i < SaveCount; ++i) {
        std::string fileName = GameFolderLocator::SaveFileName(i);
        if (auto name = ReadSaveName(SavePath(folder, fileName)))
            rows.push_back({std::move(fileName), std::move(*name)});
    }
    return rows;
}

std::filesystem::path SaveListing::SavePath(const std::filesystem::path& folder, std::string_view fileName)
{
    return folder / "Saves" / fileName;
}

std::filesystem::path SaveListing::GameFolderOf(const std::filesystem::path& save)
{
    const std::filesystem::path folder = std::filesystem::absolute(save).parent_path();
    const bool inSaves = PathText::ToText(folder.filename()).compare(QStringLiteral("Saves"), Qt::CaseInsensitive) == 0;
    return inSaves ? folder.parent_path() : folder;
}

std::filesystem::path SaveListing::RealGameFolderOf(const std::filesystem::path& save)
{
    std::error_code error;
    const std::filesystem::path real = std::filesystem::weakly_canonical(save, error);
    return GameFolderOf(error ? save : real);
}

std::vector<std::string> SaveListing::CharacterNames(const std::filesystem::path& save)
{
    namespace CL = CharacterLayout;
    std::vector<std::string> names;
    try {
        File file;
        file.Open(save, File::Share::Exclusive, File::Access::Read); // as the listing opens it
        const auto window = FindMember(file, "party.bin");
        if (!window)
            return names;
        for (int n = 0; n < CL::CharacterCount; ++n) {
            char bytes[CL::Name.Width];
            const std::uint64_t at = std::uint64_t{*window} + CL::FirstRecord + n * CL::RecordSize + CL::Name.Offset;
            const std::size_t got = file.ReadAt(at, bytes, sizeof bytes);
            if (got < sizeof bytes)
                break;
            const std::string_view name(bytes, got);
            names.emplace_back(name.substr(0, name.find('\0')));
        }
    } catch (const FileError&) {
        names.clear();
    }
    return names;
}
