#include "cli/CopyCommand.h"

#include "cli/CliError.h"
#include "cli/CommandOptions.h"
#include "cli/Console.h"
#include "cli/SaveFile.h"
#include "game/CharacterCopy.h"
#include "game/PathText.h"
#include "model/CharacterLayout.h"

#include <optional>
#include <system_error>

namespace {

int CharacterNumber(const QString& text)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < 1 || n > CharacterLayout::CharacterCount)
        throw CliError::UsageError(
            QStringLiteral("no character %1; characters are 1..%2").arg(text).arg(CharacterLayout::CharacterCount));
    return n;
}

} // namespace

int CopyCommand::Run(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Copies character N of SRC over character M of DST: the character's own bytes, never the\n"
                       "party's roster. Conditions, spell effects and the birth year move by the difference of the\n"
                       "two games' clocks, so the time elapsed, the time left and the age stay as they were.\n"
                       "Texts are copied as bytes. SRC and DST may be the same file."));
    parser.addPositionalArgument(QStringLiteral("SRC"), QStringLiteral("The saved game to copy from."));
    parser.addPositionalArgument(QStringLiteral("N"), QStringLiteral("The character to copy (1..50)."));
    parser.addPositionalArgument(QStringLiteral("DST"), QStringLiteral("The saved game to copy into."));
    parser.addPositionalArgument(QStringLiteral("M"), QStringLiteral("The character it replaces (1..50)."));
    if (!CommandOptions::Parse(parser, arguments, 4, 4))
        return 0;
    const QStringList given = parser.positionalArguments();
    const int n = CharacterNumber(given[1]);
    const int m = CharacterNumber(given[3]);

    std::error_code error;
    const bool same = std::filesystem::equivalent(PathText::ToPath(given[0]), PathText::ToPath(given[2]), error);
    SaveFile source(given[0], std::nullopt);
    std::optional<SaveFile> other;
    if (!same)
        other.emplace(given[2], std::nullopt);
    SaveFile& target = same ? source : *other;

    const QString from = source.Codec().ToText(source.Game().GetName(n));
    const QString over = target.Codec().ToText(target.Game().GetName(m));
    const QString warning =
        CharacterCopy::CodePageWarning(given[0], source.Codec().GetPage(), given[2], target.Codec().GetPage());
    if (!warning.isEmpty())
        Console::Error(QStringLiteral("velkar-cli: warning: %1").arg(warning));
    CharacterCopy::Copy(source.Game(), n, target.Game(), m, [&] { target.SaveCharacter(m); });
    Console::Out(QStringLiteral("Copied %1 (character %2 of %3) over %4 (character %5 of %6)")
                     .arg(Console::Quoted(from))
                     .arg(n)
                     .arg(given[0], Console::Quoted(over))
                     .arg(m)
                     .arg(given[2]));
    return 0;
}
