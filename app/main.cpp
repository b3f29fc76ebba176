// Velkar: the start-up dialog is the main window; the program ends when it closes.

#include "app/SaveSelectDialog.h"

#include "model/MessageSink.h"
#include "text/TextCodec.h"
#include "ui/Messages.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velkar"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icon.png")));
    MessageSink::Install([](std::string_view text) { Messages::Warning(TextCodec::Decode(text)); });

    SaveSelectDialog dialog;
    dialog.exec();
    return dialog.ExitCode();
}
