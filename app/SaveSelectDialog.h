#pragma once

#include "app/RegistryKey.h"

#include <QDialog>
#include <QString>

class QLineEdit;
class QTreeWidget;

// The program's main window: finds the game folder, lists its saved games by the names
// the game gave them, and opens the chosen one in the party dialog.
class SaveSelectDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int IdOpen = 1;
    static constexpr int IdCancel = 2;
    static constexpr int IdAbout = 3;
    static constexpr int IdBanner = 1003;
    static constexpr int IdList = 1004;
    static constexpr int IdPath = 1186;
    static constexpr int IdBrowse = 1187;
    static constexpr int IdAboutCommand = 16; // the system-menu entry
    static constexpr const char* AboutEntry = "&About Velkar...";
    static constexpr const char* BrowsePrompt = "Select your MM8 Folder:";

    explicit SaveSelectDialog(QWidget* parent = nullptr);

    // 1 after "Invalid save game file.", which ends the program; 0 otherwise.
    int ExitCode() const { return exitCode_; }
    const QString& Path() const { return path_; }

    void FillSaveList();
    void Browse();
    void OpenSelected();
    void ShowAbout();

protected:
#ifdef _WIN32
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;
#endif

private:
    void SetPath(const QString& path);
    void AddAboutEntry();

    RegistryKey registry_;
    QString gameFolder_;
    QString path_;
    QLineEdit* pathEdit_ = nullptr;
    QTreeWidget* list_ = nullptr;
    int exitCode_ = 0;
};
