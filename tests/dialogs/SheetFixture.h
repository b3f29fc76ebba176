#pragma once

#include "dialogs/CVelkarSheet.h"
#include "tests/ui/MessageRecorder.h"

#include "model/SaveGame.h"
#include "tests/support/SaveBuilder.h"
#include "tests/support/TempDirectory.h"
#include "text/TextCodec.h"

#include <gtest/gtest.h>

#include <QString>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

class NumberBox;

// A saved game written by the SaveBuilder, opened, and a character sheet on one of its
// characters, driven through real input.
class SheetFixture : public ::testing::Test {
protected:
    using Bytes = std::vector<std::uint8_t>;
    static constexpr int N = 7;

    void SetUp() override;

    // Changes the character before the sheet opens, and saves so the file holds it too.
    void Prepare(const std::function<void(SaveGame&)>& edits);
    // Writes bytes into the file's window and has the model read it again.
    void PatchFile(int windowOffset, std::string_view bytes);
    // Opens the saved game again with these words (their code page, their tables).
    void Speak(const GameWords& words);
    // The built-in words in a code page.
    static GameWords InPage(TextCodec::Page page);
    void OpenSheet();

    // Ids repeat across pages (1212 is both the description and a condition box): look
    // only in the page on show.
    template <class T>
    T* Control(int id) const
    {
        return sheet->Page(sheet->CurrentIndex()).Control<T>(id);
    }
    NumberBox* Box(int id) const;
    // Clicks into the box, selects its text and types over it.
    void Type(int id, const QString& text);
    void Tab(int index);
    void Click(QDialogButtonBox::StandardButton which);

    Bytes FileBytes() const;
    // A little-endian signed value of the window as the file holds it.
    static std::int64_t WindowValue(const Bytes& file, int windowOffset, int width);
    // The same value as the model holds it now.
    std::int64_t ModelValue(int windowOffset, int width) const;
    // The file as it was when the sheet opened, with these edits made through the model.
    Bytes Expected(const std::function<void(SaveGame&)>& edits) const;

    TempDirectory folder;
    std::filesystem::path path;
    SaveGame save;
    MessageRecorder messages;
    std::unique_ptr<CVelkarSheet> sheet;
    Bytes opened;
};
