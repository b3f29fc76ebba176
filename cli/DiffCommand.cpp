#include "cli/DiffCommand.h"

#include "cli/CommandOptions.h"
#include "cli/Console.h"
#include "cli/SaveFile.h"
#include "game/SaveComparison.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <vector>

namespace {

QJsonArray Json(const std::vector<SaveComparison::Line>& lines)
{
    QJsonArray list;
    for (const SaveComparison::Line& line : lines) {
        QJsonObject entry{{QStringLiteral("path"), line.path},
                          {QStringLiteral("a"), line.a.isUndefined() ? QJsonValue() : line.a},
                          {QStringLiteral("b"), line.b.isUndefined() ? QJsonValue() : line.b}};
        if (line.kind != SaveComparison::Line::Kind::Value)
            entry.insert(QStringLiteral("note"), line.Text().mid(line.path.size() + 2));
        list.append(entry);
    }
    return list;
}

} // namespace

int DiffCommand::Run(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Prints what differs between two saved games, one line per field, by the paths of show --json:\n"
                       "  party.Gold: 502710 -> 76\n"
                       "  character[2].Skills.Staff.Mastery: Novice -> Expert\n"
                       "the party first, then the characters in number order. Each file's texts are decoded with its\n"
                       "own code page; values compare as stored and print in each game's own words; times print as\n"
                       "dates, and the time left or elapsed is never compared. A field that shows the same while its\n"
                       "bytes differ gets a line saying so; the bytes outside every field get one line per character,\n"
                       "one for the rest of the window and one for the container around it. Nothing is written.\n"
                       "Exit status: 0 done, whether or not they differ (with --exit-code, 3 when they differ), 1 a\n"
                       "file that cannot be read or holds no saved game, 2 a command used wrongly."));
    parser.addPositionalArgument(QStringLiteral("A"), QStringLiteral("The first saved game."));
    parser.addPositionalArgument(QStringLiteral("B"), QStringLiteral("The second saved game."));
    const QCommandLineOption party = CommandOptions::PartyOption(QStringLiteral("Compare"));
    const QCommandLineOption character = CommandOptions::CharacterOption(QStringLiteral("Compare"));
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("Print one JSON document: a list of {path, a, b}."));
    const QCommandLineOption exitCode(QStringLiteral("exit-code"),
                                      QStringLiteral("Exit with status 3 when the saved games differ."));
    parser.addOptions({party, character, json, exitCode});
    if (!CommandOptions::Parse(parser, arguments, 2, 2))
        return 0;

    SaveComparison::Scope scope = SaveComparison::Everything();
    if (parser.isSet(party) || parser.isSet(character)) {
        scope = {
            .party = parser.isSet(party), .characters = CommandOptions::Characters(parser, character), .rest = false};
    }
    // Each with the code page its own game folder decides.
    const QStringList files = parser.positionalArguments();
    SaveFile a(files[0], std::nullopt);
    SaveFile b(files[1], std::nullopt);
    const std::vector<SaveComparison::Line> lines =
        SaveComparison::Compare({a.Game(), a.Codec(), a.Path()}, {b.Game(), b.Codec(), b.Path()}, scope);
    if (parser.isSet(json)) {
        Console::OutBytes(QJsonDocument(Json(lines)).toJson(QJsonDocument::Indented));
    } else {
        QStringList text;
        for (const SaveComparison::Line& line : lines)
            text.append(line.Text());
        if (!text.isEmpty())
            Console::Out(text.join(QLatin1Char('\n')));
    }
    return parser.isSet(exitCode) && !lines.empty() ? Differ : 0;
}
