#include "cli/CommandLine.h"

#include "cli/BackupCommands.h"
#include "cli/CliError.h"
#include "cli/Console.h"
#include "cli/CopyCommand.h"
#include "cli/DiffCommand.h"
#include "cli/GameCommands.h"
#include "cli/SetCommand.h"
#include "cli/ShowCommand.h"
#include "model/FileError.h"

#include <array>

namespace {

struct Command {
    const char* name;
    const char* summary;
    int (*run)(const QStringList& arguments);
};

// clang-format off
constexpr std::array<Command, 8> kCommands = {{
    {.name = "games", .summary = "list the game folders found", .run = &GameCommands::Games},
    {.name = "list", .summary = "list a game's saved games", .run = &GameCommands::List},
    {.name = "show", .summary = "print the party and the characters", .run = &ShowCommand::Run},
    {.name = "set", .summary = "change fields of the party and the characters", .run = &SetCommand::Run},
    {.name = "diff", .summary = "print what differs between two saved games", .run = &DiffCommand::Run},
    {.name = "copy-character", .summary = "copy a character over another", .run = &CopyCommand::Run},
    {.name = "backups", .summary = "list the copies kept of a saved game", .run = &BackupCommands::List},
    {.name = "restore", .summary = "write a copy back over a saved game", .run = &BackupCommands::Restore},
}};
// clang-format on

QString Help()
{
    QString help = QStringLiteral("Usage: velkar-cli COMMAND [options] ...\n\n"
                                  "The saved games of Might and Magic VIII from the command line.\n\nCommands:\n");
    for (const Command& command : kCommands)
        help += QStringLiteral("  %1  %2\n").arg(QLatin1String(command.name), -15).arg(QLatin1String(command.summary));
    return help +
           QStringLiteral("\nvelkar-cli COMMAND --help describes each; velkar-cli --version prints the version.\n"
                          "A command that changes a saved game copies it first (see backups), unless the\n"
                          "newest copy is less than ten minutes old and velkar-cli wrote the file last.\n"
                          "Exit status: 0 done, 1 a file that cannot be read or written or holds no saved\n"
                          "game, 2 a command used wrongly; diff --exit-code: 3 when the saved games differ.");
}

} // namespace

int CommandLine::Run(const QStringList& arguments)
{
    try {
        const QString name = arguments.value(1);
        if (name == QStringLiteral("--help") || name == QStringLiteral("-h") || name == QStringLiteral("help")) {
            Console::Out(Help());
            return 0;
        }
        if (name == QStringLiteral("--version")) {
            Console::Out(QStringLiteral("velkar-cli " VELKAR_VERSION));
            return 0;
        }
        for (const Command& command : kCommands) {
            if (name == QLatin1String(command.name))
                return command.run(arguments.mid(1));
        }
        throw CliError::UsageError(name.isEmpty() ? Help() : QStringLiteral("no command %1\n\n%2").arg(name, Help()));
    } catch (const CliError& error) {
        if (*error.what() != '\0')
            Console::Error(QStringLiteral("velkar-cli: ") + QString::fromUtf8(error.what()));
        return error.GetStatus();
    } catch (const FileError& error) {
        Console::Error(QStringLiteral("velkar-cli: ") + QString::fromLocal8Bit(error.what()));
        return CliError::Failure;
    }
}
