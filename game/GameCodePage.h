#pragma once

#include "game/SaveListing.h"
#include "text/TextCodec.h"

#include <filesystem>
#include <span>

// The code page of a game folder's texts, decided in this order: the choice the user made for
// the folder; the Chinese fan translation, when a saved game's name or a character's name holds
// its wrapping; the ANSI code page of the system (Windows) or of the Wine prefix holding the
// folder; Windows-1252. A page this build cannot convert is passed over.
class GameCodePage {
public:
    // saves: the folder's listing, whose saved games are looked into for wrapped names.
    static TextCodec::Page Decide(const std::filesystem::path& gameFolder, std::span<const SaveListing::Row> saves);
    // The code page of one saved game wherever it lies (a loose copy, a folder reached through a
    // link): the choice remembered for its real game folder, else the Chinese fan translation
    // when its own name or its characters' names hold the wrapping, else Decide for that folder.
    static TextCodec::Page ForSave(const std::filesystem::path& save);

private:
    static bool HoldWrapping(const std::filesystem::path& gameFolder, std::span<const SaveListing::Row> saves);
    // 0 when unknown.
    static unsigned SystemCodePage(const std::filesystem::path& gameFolder);
};
