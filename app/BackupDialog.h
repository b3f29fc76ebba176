#pragma once

#include "game/Backups.h"
#include "text/TextCodec.h"

#include <QDialog>

#include <filesystem>
#include <vector>

class QTreeWidget;

// The copies of one saved game, newest first: when each was made, the saved game's name inside
// it (in the current code page) and its size. Restore puts the chosen copy back after asking;
// Show Folder opens the folder that holds them.
class BackupDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int IdRestore = 1;
    static constexpr int IdClose = 2;
    static constexpr int IdShowFolder = 4;
    static constexpr int IdList = 1190;

    // codec: the code page the saved games' names are shown in.
    BackupDialog(const std::filesystem::path& save, const TextCodec& codec, QWidget* parent = nullptr);

    // Whether Restore changed the saved game, whose name the start-up dialog then reads anew.
    bool Restored() const { return restored_; }

    void Restore();
    void ShowFolder();

private:
    void FillList();

    std::filesystem::path save_;
    TextCodec codec_;
    std::vector<Backups::Entry> entries_; // as listed
    QTreeWidget* list_ = nullptr;
    bool restored_ = false;
};
