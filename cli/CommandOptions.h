#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>

#include <vector>

// What the commands share in reading their arguments; the dispatcher (CommandLine) is apart.
class CommandOptions {
public:
    // Parses a command's arguments (its name first). False when --help printed the command's
    // help; throws CliError (usage) for an unknown option or a wrong number of arguments.
    static bool Parse(QCommandLineParser& parser, const QStringList& arguments, qsizetype minimum, qsizetype maximum);
    static QCommandLineOption EncodingOption();
    static QCommandLineOption PartyOption(const QString& verb);
    static QCommandLineOption CharacterOption(const QString& verb);
    // --character's values, checked to be 1..50, in the order given.
    static std::vector<int> Characters(const QCommandLineParser& parser, const QCommandLineOption& character);
};
