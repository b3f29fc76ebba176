#include "cli/SetCommand.h"

#include "cli/Assignment.h"
#include "cli/CliError.h"
#include "cli/CommandOptions.h"
#include "cli/Console.h"
#include "cli/SaveFile.h"
#include "cli/TextReport.h"
#include "model/PartyRoster.h"
#include "model/WindowLayout.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <limits>
#include <numeric>
#include <optional>
#include <vector>

namespace {

using Target = Assignment::Target;

// The party dialog's rule, on the slots as the assignments left them.
std::optional<QString> StoreRoster(SaveGame& game)
{
    std::array<int, WindowLayout::RosterSlotCount> members{};
    for (int slot = 1; slot <= WindowLayout::RosterSlotCount; ++slot)
        members[static_cast<std::size_t>(slot - 1)] = game.GetPartyMember(slot);
    const std::optional<int> count = PartyRoster::MemberCount(members);
    if (!count)
        return QStringLiteral("party.Members: %1").arg(QString::fromLatin1(PartyRoster::GapMessage));
    game.SetPartyMemberCount(*count);
    return std::nullopt;
}

// The assignments' targets; the bad ones' reasons go to errors.
std::vector<Target> Targets(const QStringList& assignments, SaveFile& save, QStringList& errors)
{
    std::vector<Target> targets;
    for (const QString& argument : assignments) {
        try {
            std::vector<Target> named = Assignment::Parse(argument, save.Game(), save.Codec());
            std::move(named.begin(), named.end(), std::back_inserter(targets));
        } catch (const CliError& error) {
            errors.append(QString::fromUtf8(error.what()));
        }
    }
    return targets;
}

// Made in the model, in the order the fields depend on each other; the file waits. Whether
// any field changed.
bool Apply(SaveGame& game, const std::vector<Target>& targets, QStringList& errors)
{
    std::vector<std::size_t> order(targets.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return targets[a].order < targets[b].order; });
    bool changed = false;
    bool members = false;
    for (const std::size_t i : order) {
        const Target& target = targets[i];
        if (target.read(game) == target.wanted)
            continue; // as it shows already: its bytes stay as they are
        try {
            target.write(game);
            changed = true;
            members = members || target.isMember;
        } catch (const CliError& error) {
            errors.append(QStringLiteral("%1=%2: %3").arg(target.path, target.given, QString::fromUtf8(error.what())));
        }
    }
    if (members && errors.isEmpty()) {
        if (const std::optional<QString> gap = StoreRoster(game))
            errors.append(*gap);
    }
    return changed;
}

} // namespace

int SetCommand::Run(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Sets fields of a saved game. Each FIELD=VALUE names a path of show --json:\n"
                       "  party.Gold=100000                  party.Time.Hour=13\n"
                       "  party.Members.2=7                  party.PartySpells.Haste.Days=1\n"
                       "  character[3].Might=250             character[3].Name=Zoltan\n"
                       "  character[3].Skills.Sword.Level=10 character[3].Skills.Sword.Mastery=Master\n"
                       "  character[3].Spells.Mind.Charm=1   character[3].Awards.12=1\n"
                       "  character[3].Conditions.Dead.Days=2 character[3].Items.Cell0.Charges=20\n"
                       "  character[3].Conditions.Dead=none  character[*].SkillPoints=50 (all fifty)\n"
                       "A field shown as a word (Class, Mastery, Skill) takes the word or its number; none empties a\n"
                       "party slot or ends a condition or a spell effect. A number must fit the field as the game\n"
                       "stores it, a text the field in the game's code page; an item stays at its cell.\n"
                       "Every assignment is checked first: a bad one is named, nothing is written and the exit\n"
                       "status is 2. Otherwise the file is written once and each field printed as old -> new."));
    parser.addPositionalArgument(QStringLiteral("SAVE"), QStringLiteral("The saved game (Saves/saveNNN.dod)."));
    parser.addPositionalArgument(QStringLiteral("FIELD=VALUE"), QStringLiteral("The assignments."),
                                 QStringLiteral("FIELD=VALUE..."));
    const QCommandLineOption dryRun(QStringLiteral("dry-run"), QStringLiteral("Print the changes; write nothing."));
    const QCommandLineOption encoding = CommandOptions::EncodingOption();
    parser.addOptions({dryRun, encoding});
    if (!CommandOptions::Parse(parser, arguments, 2, std::numeric_limits<qsizetype>::max()))
        return 0;

    const QStringList given = parser.positionalArguments();
    SaveFile save(given.front(), SaveFile::Encoding(parser.value(encoding)));
    QStringList errors;
    const std::vector<Target> targets = Targets(given.mid(1), save, errors);
    SaveGame& game = save.Game();
    std::vector<QJsonValue> before;
    for (const Target& target : targets)
        before.push_back(target.read(game));
    const bool changed = errors.isEmpty() && Apply(game, targets, errors);
    if (!errors.isEmpty()) {
        for (const QString& error : errors)
            Console::Error(QStringLiteral("velkar-cli: ") + error);
        return CliError::Usage;
    }

    QString report;
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const Target& target = targets[i];
        report += QStringLiteral("%1: %2 -> %3\n")
                      .arg(target.path, TextReport::Value(before[i], target.isText),
                           TextReport::Value(target.read(game), target.isText));
    }
    if (changed && !parser.isSet(dryRun))
        save.Save();
    Console::OutBytes(report.toUtf8());
    return 0;
}
