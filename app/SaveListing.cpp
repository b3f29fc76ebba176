#include "app/SaveListing.h"

#include "model/Container.h"
#include "app/GameFolderLocator.h"

#include <filesystem>

std::vector<SaveListing::Row> SaveListing::Build(std::string_view folder)
{
    std::vector<Row> rows;
    for (int i = 0; i < SaveCount; ++i) {
        auto name = ReadSaveName(GameFolderLocator::NativePath(GameFolderLocator::SavePath(folder, i)));
        if (name)
            rows.push_back({GameFolderLocator::SaveFileName(i), std::move(*name)});
    }
    return rows;
}
