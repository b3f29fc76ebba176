#include "cli/ShowCommand.h"

#include "cli/CommandOptions.h"
#include "cli/Console.h"
#include "cli/SaveDocument.h"
#include "cli/SaveFile.h"
#include "cli/TextReport.h"
#include "model/CharacterLayout.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <vector>

int ShowCommand::Run(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Prints a saved game's party and characters: without --party or --character, the party\n"
                       "and all fifty. Texts are decoded with the game's code page. --json prints one JSON\n"
                       "document in UTF-8, whose paths set and diff take; an item's fields are\n"
                       "character[N].Items.CellC.FIELD, C the item's Cell. Nothing is written."));
    parser.addPositionalArgument(QStringLiteral("SAVE"), QStringLiteral("The saved game (Saves/saveNNN.dod)."));
    const QCommandLineOption party = CommandOptions::PartyOption(QStringLiteral("Print"));
    const QCommandLineOption character = CommandOptions::CharacterOption(QStringLiteral("Print"));
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("Print one JSON document."));
    const QCommandLineOption encoding = CommandOptions::EncodingOption();
    parser.addOptions({party, character, json, encoding});
    if (!CommandOptions::Parse(parser, arguments, 1, 1))
        return 0;

    std::vector<int> numbers = CommandOptions::Characters(parser, character);
    const bool everything = !parser.isSet(party) && numbers.empty();
    if (everything) {
        for (int n = 1; n <= CharacterLayout::CharacterCount; ++n)
            numbers.push_back(n);
    }

    SaveFile save(parser.positionalArguments().front(), SaveFile::Encoding(parser.value(encoding)));
    const SaveDocument document(save.Game(), save.Codec());
    QJsonObject root;
    if (everything || parser.isSet(party))
        root.insert(QStringLiteral("party"), document.Party());
    if (!numbers.empty()) {
        QJsonArray characters;
        for (const int n : numbers)
            characters.append(document.Character(n));
        root.insert(QStringLiteral("characters"), characters);
    }
    if (parser.isSet(json))
        Console::OutBytes(QJsonDocument(root).toJson(QJsonDocument::Indented));
    else
        Console::Out(TextReport::Render(root));
    return 0;
}
