// Velkar: the start-up dialog is the main window; the program ends when it closes.

#include "app/SaveSelectDialog.h"

#include "model/MessageSink.h"
#include "ui/Messages.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv)
{
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
