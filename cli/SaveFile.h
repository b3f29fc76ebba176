#pragma once

#include "model/SaveGame.h"
#include "text/TextCodec.h"

#include <QString>

#include <filesystem>
#include <optional>

// A saved game opened for a command, with the code page of its texts: GameCodePage::ForSave's,
// unless --encoding names another. Its first write copies the file first, as Velkar does, unless the newest copy
// is less than ten minutes old and the file is as this program's last write left it.
class SaveFile {
public:
    // Throws FileError when the file cannot be opened or read, CliError (failure) when it
    // holds no saved game; the model's message has then gone to the standard error.
    SaveFile(const QString& argument, std::optional<TextCodec::Page> encoding);

    SaveGame& Game() { return game_; }
    // The game's writes, noting how they leave the file for the next command's copy.
    void Save();
    void SaveCharacter(int n);
    const TextCodec& Codec() const { return codec_; }
    const QString& Argument() const { return argument_; }
    const std::filesystem::path& Path() const { return path_; }

    // --encoding's value: nothing when not given; throws CliError (usage) for one that is no
    // code page of the game's, or one this build cannot convert.
    static std::optional<TextCodec::Page> Encoding(const QString& value);
    static QString EncodingValues();

private:
    QString argument_;
    std::filesystem::path path_;
    std::filesystem::path gameFolder_; // above the save's Saves folder
    SaveGame game_;
    TextCodec codec_;
};
