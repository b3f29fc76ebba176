// velkar-cli: the saved games from the command line, on the same model as Velkar.

#include "cli/CommandLine.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Velkar"));
    return CommandLine::Run(QCoreApplication::arguments());
}
