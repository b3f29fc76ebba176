#include "cli/BackupCommands.h"

#include "cli/CliError.h"
#include "cli/CommandOptions.h"
#include "cli/Console.h"
#include "cli/SaveFile.h"
#include "game/Backups.h"
#include "game/GameCodePage.h"
#include "game/PathText.h"
#include "game/SaveListing.h"
#include "model/Container.h"

#include <algorithm>
#include <vector>

int BackupCommands::List(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Lists the copies kept of a saved game, newest first, one per line: its number, a tab, its\n"
                       "file name, when it was made, its size in bytes and the saved game's name inside it.\n"
                       "Velkar and velkar-cli copy a saved game before they first change it, into the user's data\n"
                       "folder (Velkar/backups); restore writes one back."));
    parser.addPositionalArgument(QStringLiteral("SAVE"), QStringLiteral("The saved game (Saves/saveNNN.dod)."));
    const QCommandLineOption encoding = CommandOptions::EncodingOption();
    parser.addOption(encoding);
    if (!CommandOptions::Parse(parser, arguments, 1, 1))
        return 0;
    const std::optional<TextCodec::Page> page = SaveFile::Encoding(parser.value(encoding));
    const std::filesystem::path save = PathText::ToPath(parser.positionalArguments().front());
    const TextCodec codec(page ? *page : GameCodePage::ForSave(save));
    QString out;
    int number = 0;
    for (const Backups::Entry& entry : Backups::NewestFirst(save)) {
        out += QStringLiteral("%1\t%2\t%3\t%4\t%5\n")
                   .arg(++number)
                   .arg(Console::Escaped(PathText::FileName(entry.path)), Backups::Label(entry))
                   .arg(entry.size)
                   .arg(Console::Escaped(codec.ToText(ReadSaveName(entry.path).value_or(std::string()))));
    }
    Console::OutBytes(out.toUtf8());
    return 0;
}

int BackupCommands::Restore(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes a copy back over a saved game, in place, after copying the file as it is now.\n"
                       "On a terminal it asks first; elsewhere (a script) --yes is required. Answering no writes\n"
                       "nothing and exits with status 1."));
    parser.addPositionalArgument(QStringLiteral("SAVE"), QStringLiteral("The saved game (Saves/saveNNN.dod)."));
    parser.addPositionalArgument(QStringLiteral("BACKUP"),
                                 QStringLiteral("The copy: its number or file name, as backups lists them."));
    const QCommandLineOption yes(QStringLiteral("yes"), QStringLiteral("Replace the saved game without asking."));
    parser.addOption(yes);
    if (!CommandOptions::Parse(parser, arguments, 2, 2))
        return 0;
    const QStringList given = parser.positionalArguments();
    const std::filesystem::path save = PathText::ToPath(given[0]);
    const std::vector<Backups::Entry> entries = Backups::NewestFirst(save);
    bool isNumber = false;
    const int number = given[1].toInt(&isNumber);
    const auto chosen =
        isNumber ? (number >= 1 && number <= static_cast<int>(entries.size()) ? entries.begin() + (number - 1)
                                                                              : entries.end())
                 : std::find_if(entries.begin(), entries.end(), [&](const Backups::Entry& entry) {
                       return PathText::FileName(entry.path) == PathText::FileName(PathText::ToPath(given[1]));
                   });
    if (chosen == entries.end())
        throw CliError::UsageError(
            QStringLiteral("%1 is no backup of %2; see velkar-cli backups %2").arg(given[1], given[0]));

    Backups::CheckSavedGame(chosen->path);
    if (!parser.isSet(yes)) {
        if (!Console::InputIsTerminal())
            throw CliError::UsageError(QStringLiteral("restore replaces %1: give --yes to confirm").arg(given[0]));
        Console::Prompt(QStringLiteral("Replace %1 with the backup of %2? The current file is backed up first. [y/N] ")
                            .arg(PathText::FileName(save), Backups::Label(*chosen)));
        const QString answer = Console::ReadLine().trimmed().toLower();
        if (answer != QStringLiteral("y") && answer != QStringLiteral("yes"))
            throw CliError::FailureError(QStringLiteral("nothing was restored"));
    }
    const std::filesystem::path copy = Backups::Restore(save, chosen->path);
    Console::Out(QStringLiteral("Restored %1 from %2; the file it replaced is %3")
                     .arg(given[0], PathText::FileName(chosen->path), PathText::FileName(copy)));
    return 0;
}
