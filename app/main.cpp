// Velkar: the start-up dialog is the main window; the program ends when it closes.

#include "app/SaveSelectDialog.h"

#include "model/MessageSink.h"
#include "ui/Messages.h"

#include <QApplication>
#include <QIcon>

#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kHelp = "Usage: velkar [--help | --version]\n"
                              "\n"
                              "Edits the party and the characters of Might and Magic VIII saved games, in place,\n"
                              "writing only the fields changed. It opens with a window to choose the game folder and\n"
                              "a saved game; the game is found through the Windows registry or the Wine prefixes of\n"
                              "Wine ($WINEPREFIX, ~/.wine), Steam, Lutris, Heroic, Bottles and PlayOnLinux.\n"
                              "\n"
                              "Options:\n"
                              "  --help     print this help and exit\n"
                              "  --version  print the version and exit\n"
                              "\n"
                              "velkar-cli reads and changes the same saved games from scripts.\n";

// --help and --version answer before the QApplication exists: they need no display.
bool Answered(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::fputs("velkar " VELKAR_VERSION "\n", stdout);
            return true;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kHelp, stdout);
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (Answered(argc, argv))
        return 0;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velkar"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icon.png")));
    // The model's messages are its own English words and file names in the system's encoding.
    MessageSink::Install([](std::string_view text) {
        Messages::Warning(QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size())));
    });

    SaveSelectDialog dialog;
    dialog.exec();
    return dialog.ExitCode();
}
