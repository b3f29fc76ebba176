#include "cli/GameCommands.h"

#include "cli/CliError.h"
#include "cli/CommandOptions.h"
#include "cli/Console.h"
#include "cli/SaveFile.h"
#include "game/GameCodePage.h"
#include "game/GameFolderLocator.h"
#include "game/PathText.h"
#include "game/SaveListing.h"
#include "text/TextCodec.h"

#include <system_error>

int GameCommands::Games(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Lists every game folder found in the Windows registry or the Wine prefixes the\n"
                       "start-up dialog knows, one per line: the folder, a tab, where it was found."));
    if (!CommandOptions::Parse(parser, arguments, 0, 0))
        return 0;
    QString out;
    for (const GameFolderLocator::FoundGame& game : GameFolderLocator::FindAll())
        out += Console::Escaped(PathText::ToText(game.folder)) + QLatin1Char('\t') + QString::fromUtf8(game.source) +
               QLatin1Char('\n');
    Console::OutBytes(out.toUtf8());
    return 0;
}

int GameCommands::List(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Lists the saved games of a game folder (else of the first game found), one per\n"
                       "line: the file name, a tab, the saved game's name."));
    parser.addPositionalArgument(QStringLiteral("GAME_FOLDER"), QStringLiteral("The game's folder, which holds Saves."),
                                 QStringLiteral("[GAME_FOLDER]"));
    const QCommandLineOption encoding = CommandOptions::EncodingOption();
    parser.addOption(encoding);
    if (!CommandOptions::Parse(parser, arguments, 0, 1))
        return 0;
    const std::optional<TextCodec::Page> page = SaveFile::Encoding(parser.value(encoding));
    const QStringList given = parser.positionalArguments();
    const std::filesystem::path folder = given.isEmpty() ? GameFolderLocator::Find() : PathText::ToPath(given.front());
    if (folder.empty())
        throw CliError::FailureError(QStringLiteral("No game found; give the game folder."));
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error))
        throw CliError::FailureError(QStringLiteral("%1: no such folder").arg(PathText::ToText(folder)));
    if (!std::filesystem::is_directory(folder / "Saves", error))
        throw CliError::FailureError(
            QStringLiteral("%1: no Saves folder; is it the game's folder?").arg(PathText::ToText(folder)));
    const std::vector<SaveListing::Row> rows = SaveListing::Build(folder);
    const TextCodec codec(page ? *page : GameCodePage::Decide(folder, rows));
    QString out;
    for (const SaveListing::Row& row : rows)
        out += QString::fromStdString(row.FileName) + QLatin1Char('\t') + Console::Escaped(codec.ToText(row.Name)) +
               QLatin1Char('\n');
    Console::OutBytes(out.toUtf8());
    return 0;
}
