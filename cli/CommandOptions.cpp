#include "cli/CommandOptions.h"

#include "cli/CliError.h"
#include "cli/Console.h"
#include "cli/SaveFile.h"
#include "model/CharacterLayout.h"

bool CommandOptions::Parse(QCommandLineParser& parser, const QStringList& arguments, qsizetype minimum,
                           qsizetype maximum)
{
    const QCommandLineOption help = parser.addHelpOption();
    if (!parser.parse(arguments))
        throw CliError::UsageError(parser.errorText());
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        // The usage line names the program as it was started: name the command instead.
        const QString text = parser.helpText();
        Console::Out(QStringLiteral("Usage: velkar-cli ") + arguments.front() +
                     text.mid(text.indexOf(QStringLiteral(" [options]"))));
        return false;
    }
    const qsizetype count = parser.positionalArguments().size();
    if (count < minimum || count > maximum)
        throw CliError::UsageError(
            QStringLiteral("%1: wrong number of arguments; see velkar-cli %1 --help").arg(arguments.front()));
    return true;
}

QCommandLineOption CommandOptions::EncodingOption()
{
    return {QStringLiteral("encoding"),
            QStringLiteral("The code page of the game's texts, instead of the one decided for its folder: %1.")
                .arg(SaveFile::EncodingValues()),
            QStringLiteral("PAGE")};
}

QCommandLineOption CommandOptions::PartyOption(const QString& verb)
{
    return {QStringLiteral("party"), QStringLiteral("%1 the party.").arg(verb)};
}

QCommandLineOption CommandOptions::CharacterOption(const QString& verb)
{
    return {QStringLiteral("character"), QStringLiteral("%1 character N (1..50); may be given again.").arg(verb),
            QStringLiteral("N")};
}

std::vector<int> CommandOptions::Characters(const QCommandLineParser& parser, const QCommandLineOption& character)
{
    std::vector<int> numbers;
    for (const QString& value : parser.values(character)) {
        bool ok = false;
        const int n = value.toInt(&ok);
        if (!ok || n < 1 || n > CharacterLayout::CharacterCount)
            throw CliError::UsageError(
                QStringLiteral("--character %1: characters are 1..%2").arg(value).arg(CharacterLayout::CharacterCount));
        numbers.push_back(n);
    }
    return numbers;
}
