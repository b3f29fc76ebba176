#pragma once

#include "model/SaveGame.h"
#include "text/TextCodec.h"
#include "ui/ControlId.h"
#include "ui/EditingDialog.h"

#include <QString>

#include <filesystem>
#include <memory>
#include <vector>

class QComboBox;
class QTreeWidget;

// Where "Copy From..." takes a character: a saved game of the open one's game folder, or any
// file (Browse...), and one of its fifty characters, listed by name with class and level.
// The open saved game is read through its SaveGame, as far as the party dialog has stored into
// it, never opened a second time; another is opened here, only ever read, and kept open until
// the dialog goes.
class CopyFromDialog : public EditingDialog {
    Q_OBJECT

public:
    enum : int {
        IdOk = 1,
        IdCancel = 2,
        IdSaves = 1301,
        IdBrowse = 1302,
        IdCharacters = 1303,
    };

    // open: the saved game being edited, at path; its texts are in the current code page.
    CopyFromDialog(const SaveGame& open, const std::filesystem::path& path, QWidget* parent = nullptr);
    ~CopyFromDialog() override;

    // After OK: the saved game and the character (1..50) chosen. Source is the open SaveGame
    // itself when the chosen file is the one being edited.
    const SaveGame& Source() const { return *source_; }
    int Character() const;
    // The chosen file's name ("save000.dod") and the code page of its texts.
    QString SourceName() const;
    TextCodec::Page SourcePage() const { return sourcePage_; }
    // Whether it lies in another game folder, whose class and item numbers may mean other things.
    bool FromOtherGame() const { return otherGame_; }

    template <class T>
    T* Control(int id) const
    {
        return ControlId::Find<T>(*this, id);
    }

private:
    void FillSaves();
    void Browse();
    // Offers file (once) and reads it.
    void Choose(const std::filesystem::path& file);
    // Reads the saved game offered at index into the character list.
    void Read(int index);
    void UpdateOk();

    const SaveGame& open_;
    std::filesystem::path path_;
    std::filesystem::path gameFolder_;
    std::vector<std::filesystem::path> offered_; // as the saved-game chooser lists them
    std::unique_ptr<SaveGame> other_;            // the chosen saved game when it is not the open one
    const SaveGame* source_ = nullptr;           // null while nothing could be read
    std::filesystem::path sourcePath_;
    TextCodec::Page sourcePage_ = TextCodec::Page::Western;
    bool otherGame_ = false;
    QComboBox* saves_ = nullptr;
    QTreeWidget* characters_ = nullptr;
};
