#pragma once

#include "game/GameFolderLocator.h"
#include "game/SaveListing.h"
#include "text/TextCodec.h"

#include "model/GameWords.h"

#include <QDialog>
#include <QString>

#include <filesystem>
#include <vector>

class QComboBox;
class QGridLayout;
class QLabel;
class QStackedWidget;
class QTreeWidget;
class QVBoxLayout;

// The program's main window: offers every game folder found, lists the chosen folder's saved
// games by the names the game gave them, in the code page the "Text:" chooser shows, and opens
// the chosen one in the party dialog, which copies it before its first write (while "Make
// Backups" is on); "Backups..." lists those copies and puts one back.
class SaveSelectDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int IdOpen = 1;
    static constexpr int IdCancel = 2;
    static constexpr int IdAbout = 3;
    static constexpr int IdBackups = 4;
    static constexpr int IdBanner = 1003;
    static constexpr int IdList = 1004;
    static constexpr int IdPath = 1186;
    static constexpr int IdBrowse = 1187;
    static constexpr int IdCodePage = 1188;
    static constexpr int IdListNote = 1189;         // in place of the list when it is empty
    static constexpr int IdStatus = 1190;           // under the list: the game's words used, damaged game data
    static constexpr int IdAboutCommand = 16;       // the system-menu entry
    static constexpr int IdMakeBackupsCommand = 17; // the context-menu entry
    static constexpr const char* AboutEntry = "&About Velkar...";
    static constexpr const char* MakeBackupsEntry = "Make Backups";
    static constexpr const char* BrowsePrompt = "Select your MM8 Folder:";
    static constexpr const char* NoGameFound = "No game found: use Browse... to pick the game folder.";
    static constexpr const char* NoSavedGames = "No saved games in this folder's Saves folder.";
    static constexpr const char* CodePageMissing = "This build of Qt cannot convert this code page.";
    static constexpr const char* FromTheGame = "From the game: %1";
    static constexpr const char* BuiltInWords = "Built-in words";

    explicit SaveSelectDialog(QWidget* parent = nullptr);

    // 1 after "Invalid save game file.", which ends the program; 0 otherwise.
    int ExitCode() const { return exitCode_; }
    const QString& Path() const { return path_; }
    // What the chosen folder's saved games open with: its code page and its tables.
    const GameWords& Words() const { return words_; }

    void FillSaveList();
    void Browse();
    void OpenSelected();
    void ShowBackups();
    void ShowAbout();

protected:
#ifdef _WIN32
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;
#endif

private:
    // The list of saved games and the note that stands in its place when there are none.
    void MakeListArea();
    // Browse beside the path, the others in a column.
    void MakeButtons(QGridLayout& fields, QVBoxLayout& column);
    QWidget* MakePathBox();
    QWidget* MakeCodePageBox();
    void SetPath(const QString& path);
    void ShowCodePage(TextCodec::Page page);
    void OnCodePageChosen(int index);
    void ShowRows();
    // Reads the game's own item data for the folder, once per folder choice.
    void LoadGameData(const std::filesystem::path& folder);
    void AddAboutEntry();
    void AddMakeBackupsEntry();
    // The selected saved game's path; empty when none is selected.
    std::filesystem::path SelectedSave() const;

    std::vector<GameFolderLocator::FoundGame> games_;
    std::vector<SaveListing::Row> rows_;
    QString path_;
    QString decidedFor_; // the folder whose code page the chooser was last set for
    GameWords words_ = GameWords::BuiltIn();
    TextCodec codec_; // the page the "Text:" chooser shows
    QComboBox* pathBox_ = nullptr;
    QComboBox* codePageBox_ = nullptr;
    QStackedWidget* listArea_ = nullptr;
    QTreeWidget* list_ = nullptr;
    QLabel* listNote_ = nullptr;
    QLabel* status_ = nullptr;
    int exitCode_ = 0;
};
