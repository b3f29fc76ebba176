#pragma once

#include "game/Backups.h"
#include "model/GameWords.h"
#include "text/TextCodec.h"

#include <QDialog>

#include <filesystem>
#include <vector>

class QLabel;
class QTreeWidget;

// The copies of one saved game, newest first: when each was made, the saved game's name inside
// it (in the current code page) and its size. Restore puts the chosen copy back after asking;
// Compare lists what differs between the chosen copy and the saved game as it is now, below the
// copies, as velkar-cli diff does; Show Folder opens the folder that holds them.
class BackupDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int IdRestore = 1;
    static constexpr int IdClose = 2;
    static constexpr int IdShowFolder = 4;
    static constexpr int IdCompare = 5;
    static constexpr int IdList = 1190;
    static constexpr int IdDifferences = 1191; // field, copy, now

    // codec and words: the game's code page, in which the names are shown, and its words.
    BackupDialog(const std::filesystem::path& save, const TextCodec& codec, const GameWords& words,
                 QWidget* parent = nullptr);

    // Whether Restore changed the saved game, whose name the start-up dialog then reads anew.
    bool Restored() const { return restored_; }

    void Restore();
    void Compare();
    void ShowFolder();

private:
    void FillList();

    std::filesystem::path save_;
    TextCodec codec_;
    GameWords words_;
    std::vector<Backups::Entry> entries_; // as listed
    QTreeWidget* list_ = nullptr;
    QLabel* compared_ = nullptr; // which copy the differences are of
    QTreeWidget* differences_ = nullptr;
    bool restored_ = false;
};
