#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The files of an installed game that may hold its text tables and item pictures: every archive
// in Data/ and the loose items.txt, class.txt and awards.txt in DataFiles/, each with its size and time, so two
// listings compare equal while none of them changed. Folder and file names match case-insensitively (a game copied to
// Linux may say DATA or data). Listing never throws: what is missing is left out.
class GameFolder {
public:
    struct Item {
        std::filesystem::path Path;
        std::string Shown;  // relative to the game folder with '/', for messages: "Data/icons.lod"
        std::string Folded; // the file's name, lower-case (ASCII letters only)
        std::uintmax_t Size = 0;
        std::filesystem::file_time_type Time;
        bool operator==(const Item&) const = default;
    };

    explicit GameFolder(const std::filesystem::path& game);

    // Data/*.lod, ordered by folded name.
    const std::vector<Item>& Archives() const noexcept { return archives_; }
    // The loose file DataFiles/<name> (name in lower case), null without one.
    const Item* LooseText(std::string_view name) const;

    bool operator==(const GameFolder&) const = default;

private:
    std::vector<Item> archives_;
    std::vector<Item> looseTexts_;
};
