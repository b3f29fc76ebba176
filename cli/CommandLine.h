#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>

// velkar-cli: the command named first runs with the arguments after it. Exit status 0 on
// success, 1 for a file that cannot be read or written or holds no saved game, 2 for a
// command used wrongly; the reason goes to the standard error.
class CommandLine {
public:
    static int Run(const QStringList& arguments);

    // Parses a command's arguments (its name first). False when --help printed the command's
    // help; throws CliError (usage) for an unknown option or a wrong number of arguments.
    static bool Parse(QCommandLineParser& parser, const QStringList& arguments, qsizetype minimum, qsizetype maximum);
    static QCommandLineOption EncodingOption();
};
