#include "cli/Assignment.h"

#include "cli/CliError.h"
#include "cli/ModelNames.h"
#include "cli/SaveDocument.h"
#include "model/CharacterLayout.h"
#include "model/SkillWord.h"
#include "model/Vocabulary.h"

#include <QStringList>

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <tuple>
#include <utility>

namespace {

namespace CL = CharacterLayout;
namespace SE = SpellEffectLayout;
using Target = Assignment::Target;
using Order = Assignment::Order;
using PlainField = ModelNames::PlainField;
using Words = std::span<const std::string_view>;

struct Range {
    std::int64_t minimum;
    std::int64_t maximum;
};

constexpr Range Signed(int width)
{
    const std::int64_t half = std::int64_t{1} << (8 * width - 1);
    return {-half, half - 1};
}

constexpr Range Unsigned(int width)
{
    return {0, (std::int64_t{1} << (8 * width)) - 1};
}

constexpr Range kInt32 = Signed(4);
constexpr Range kCount32 = {0, std::numeric_limits<std::int32_t>::max()};

QString Latin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QString Join(Words words)
{
    QStringList list;
    for (const std::string_view word : words)
        list.append(Latin1(word));
    return list.join(QStringLiteral(", "));
}

QString Between(Range range)
{
    return QStringLiteral("the value must be between %1 and %2").arg(range.minimum).arg(range.maximum);
}

// Where a total or a base age is stored against something else, the range its value has now.
std::optional<std::pair<Range, QString>> RangeNow(const SaveGame& game, int n, const PlainField& field)
{
    const Range stored = Signed(field.width);
    std::int64_t against = 0;
    QString what;
    switch (field.stored) {
    case ModelNames::Stored::Value:
        return std::nullopt;
    case ModelNames::Stored::BonusOverLevel:
        against = game.GetBaseLevel(n);
        what = QStringLiteral("base level");
        break;
    case ModelNames::Stored::BonusOverAge:
        against = game.GetBaseAge(n);
        what = QStringLiteral("base age");
        break;
    case ModelNames::Stored::BirthYear: {
        // Stored as the birth year: the clock's year minus the value.
        const std::int64_t year = game.GetTime().year;
        const Range range{std::max(year - stored.maximum, kInt32.minimum),
                          std::min(year - stored.minimum, kInt32.maximum)};
        return std::pair(range, QStringLiteral("in the year %1").arg(year));
    }
    }
    const Range range{std::max(against + stored.minimum, kInt32.minimum),
                      std::min(against + stored.maximum, kInt32.maximum)};
    return std::pair(range, QStringLiteral("against %1 %2").arg(what).arg(against));
}

// The members of a stored spell effect a path may name.
enum class EffectMember { Days, Hours, Minutes, Power, Skill, Caster };
constexpr std::array<std::string_view, 6> kEffectMembers = {"Days", "Hours", "Minutes", "Power", "Skill", "Caster"};
constexpr std::array<std::string_view, 3> kDurationMembers = {"Days", "Hours", "Minutes"};
constexpr std::array<std::string_view, 5> kTimeMembers = {"Year", "Month", "Day", "Hour", "Minute"};

std::int32_t& DurationMember(GameDuration& duration, std::size_t member)
{
    return member == 0 ? duration.days : member == 1 ? duration.hours : duration.minutes;
}

// A party effect, or one on a character, seen the same way.
struct EffectAccess {
    std::function<SpellEffectInfo(const SaveGame&)> get;
    std::function<void(SaveGame&, const SpellEffectInfo&, SpellEffectParts)> set;
    bool withCaster;
};

EffectAccess PartyEffect(int k)
{
    return {[k](const SaveGame& game) { return game.GetPartySpell(k); },
            [k](SaveGame& game, const SpellEffectInfo& info, SpellEffectParts parts) {
                game.SetPartySpell(k, info, parts);
            },
            true};
}

EffectAccess CharacterEffect(int n, int k)
{
    return {[n, k](const SaveGame& game) {
                const ActiveSpellInfo info = game.GetActiveSpell(n, k);
                return SpellEffectInfo{info.duration, info.power, info.skill, 0};
            },
            [n, k](SaveGame& game, const SpellEffectInfo& info, SpellEffectParts parts) {
                game.SetActiveSpell(n, k, {info.duration, info.power, info.skill}, parts);
            },
            false};
}

class Parser {
public:
    Parser(const QString& argument, const TextCodec& codec, const GameWords& words)
        : argument_(argument), codec_(codec), classes_(words.Classes()), awards_(words.Awards())
    {}

    std::vector<Target> Run();

private:
    // Makes the target for character n once the value has been checked.
    using Maker = std::function<Target(int n)>;

    CliError Bad(const QString& problem) const
    {
        return CliError::UsageError(argument_ + QStringLiteral(": ") + problem);
    }
    CliError Unknown() const { return Bad(QStringLiteral("no such field")); }

    std::int64_t Number(Range range, Words words = {}) const;
    // A class number, or a name the game's class table gives one.
    std::int64_t ClassNumber(Range range) const;
    bool IsNone() const { return value_.compare(QStringLiteral("none"), Qt::CaseInsensitive) == 0; }
    void RequireNone() const;
    std::string Text(int maxBytes) const;

    Target Party(const QStringList& parts);
    Maker Character(const QString& rest);
    Maker Plain(const PlainField& field);
    Maker Skill(const QStringList& parts);
    Maker Spell(const QString& rest);
    Maker Condition(const QStringList& parts);
    // parts: the effect's name and member, after PartySpells or ActiveSpells.
    std::function<Target(const EffectAccess&)> Effect(const QStringList& parts,
                                                      std::span<const ModelNames::Entry> names, bool party);

    QString argument_;
    const TextCodec& codec_;
    const ClassTable& classes_;
    const AwardTable& awards_;
    QString value_;
};

std::vector<Target> Parser::Run()
{
    const qsizetype equals = argument_.indexOf(QLatin1Char('='));
    if (equals < 0)
        throw Bad(QStringLiteral("give it as FIELD=VALUE"));
    const QString path = argument_.left(equals);
    value_ = argument_.mid(equals + 1);

    const QString party = QStringLiteral("party.");
    if (path.startsWith(party)) {
        Target target = Party(path.mid(party.size()).split(QLatin1Char('.')));
        target.path = path;
        target.given = value_;
        return {std::move(target)};
    }
    const QString character = QStringLiteral("character[");
    const qsizetype close = path.indexOf(QStringLiteral("]."));
    if (!path.startsWith(character) || close < 0)
        throw Bad(QStringLiteral("no such field; fields begin with party. or character[N]."));
    const QString which = path.mid(character.size(), close - character.size());
    std::vector<int> numbers;
    if (which == QStringLiteral("*")) {
        for (int n = 1; n <= CL::CharacterCount; ++n)
            numbers.push_back(n);
    } else {
        bool ok = false;
        const int n = which.toInt(&ok);
        if (!ok || n < 1 || n > CL::CharacterCount)
            throw Bad(QStringLiteral("no character %1; characters are 1..%2, or * for all")
                          .arg(which)
                          .arg(CL::CharacterCount));
        numbers.push_back(n);
    }
    const QString rest = path.mid(close + 2);
    const Maker make = Character(rest);
    std::vector<Target> targets;
    for (const int n : numbers) {
        Target target = make(n);
        target.path = QStringLiteral("character[%1].%2").arg(n).arg(rest);
        target.given = value_;
        targets.push_back(std::move(target));
    }
    return targets;
}

std::int64_t Parser::ClassNumber(Range range) const
{
    for (const int number : classes_.NamedNumbers()) {
        if (value_.compare(codec_.ToText(*classes_.GetClassName(number)), Qt::CaseInsensitive) == 0)
            return number;
    }
    bool ok = false;
    const qlonglong number = value_.toLongLong(&ok);
    if (!ok)
        throw Bad(QStringLiteral("the value must be a class name of the game, or a whole number"));
    if (number < range.minimum || number > range.maximum)
        throw Bad(Between(range));
    return number;
}

std::int64_t Parser::Number(Range range, Words words) const
{
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (value_.compare(Latin1(words[i]), Qt::CaseInsensitive) == 0)
            return static_cast<std::int64_t>(i);
    }
    bool ok = false;
    const qlonglong number = value_.toLongLong(&ok);
    if (!ok)
        throw Bad(words.empty() ? QStringLiteral("the value must be a whole number")
                                : QStringLiteral("the value must be one of %1, or a whole number").arg(Join(words)));
    if (number < range.minimum || number > range.maximum)
        throw Bad(Between(range));
    return number;
}

void Parser::RequireNone() const
{
    if (!IsNone())
        throw Bad(QStringLiteral("the only value here is none"));
}

std::string Parser::Text(int maxBytes) const
{
    const std::optional<std::string> bytes = codec_.ToBytes(value_);
    if (!bytes)
        throw Bad(QStringLiteral("the code page %1 cannot store %2")
                      .arg(QString::fromLatin1(TextCodec::Info(codec_.GetPage()).label), codec_.Unencodable(value_)));
    if (bytes->size() > static_cast<std::size_t>(maxBytes))
        throw Bad(QStringLiteral("the text takes %1 bytes; the field holds %2").arg(bytes->size()).arg(maxBytes));
    return *bytes;
}

Target Parser::Party(const QStringList& parts)
{
    Target target;
    const QString& first = parts.front();
    using Get = int (SaveGame::*)() const;
    using Set = void (SaveGame::*)(int);
    const std::array<std::tuple<const char*, Get, Set>, 3> supplies = {{
        {"Food", &SaveGame::GetFood, &SaveGame::SetFood},
        {"Gold", &SaveGame::GetGold, &SaveGame::SetGold},
        {"Bank", &SaveGame::GetBank, &SaveGame::SetBank},
    }};
    for (const auto& [name, get, set] : supplies) {
        if (parts.size() == 1 && first == QLatin1String(name)) {
            const auto value = static_cast<int>(Number(kInt32));
            target.read = [get](const SaveGame& game) { return QJsonValue((game.*get)()); };
            target.wanted = value;
            target.write = [set, value](SaveGame& game) { (game.*set)(value); };
            return target;
        }
    }
    if (parts.size() == 2 && first == QStringLiteral("Time")) {
        const auto member = std::find(kTimeMembers.begin(), kTimeMembers.end(), parts[1].toStdString());
        if (member == kTimeMembers.end())
            throw Unknown();
        // Years before the calendar's first would be stored as its first.
        const std::array<Range, 5> ranges = {
            {{Calendar::FirstYear, kInt32.maximum}, {1, 12}, {1, 28}, {0, 23}, {0, 59}}};
        const auto at = static_cast<std::size_t>(member - kTimeMembers.begin());
        const auto value = static_cast<std::int32_t>(Number(ranges[at]));
        const QString key = parts[1];
        target.order = Order::Clock;
        target.read = [key](const SaveGame& game) { return SaveDocument::Time(game.GetTime()).value(key); };
        target.wanted = value;
        target.write = [at, value](SaveGame& game) {
            GameTime time = game.GetTime();
            std::array<std::int32_t*, 5> members = {&time.year, &time.month, &time.day, &time.hour, &time.minute};
            *members[at] = at == 1 || at == 2 ? value - 1 : value; // month and day count from 0
            game.SetTime(time);
        };
        return target;
    }
    if (parts.size() == 2 && first == QStringLiteral("Members")) {
        bool ok = false;
        const int slot = parts[1].toInt(&ok);
        if (!ok || slot < 1 || slot > WindowLayout::RosterSlotCount)
            throw Bad(QStringLiteral("party slots are 1..%1").arg(WindowLayout::RosterSlotCount));
        const int stored = IsNone() ? -1 : static_cast<int>(Number({1, CL::CharacterCount})) - 1;
        target.isMember = true;
        target.read = [slot](const SaveGame& game) { return SaveDocument::Member(game.GetPartyMember(slot)); };
        target.wanted = SaveDocument::Member(stored);
        target.write = [slot, stored](SaveGame& game) { game.SetPartyMember(slot, stored); };
        return target;
    }
    if (first == QStringLiteral("PartySpells")) {
        const auto make = Effect(parts.mid(1), ModelNames::PartySpells(), true);
        const ModelNames::Entry* effect = ModelNames::Find(ModelNames::PartySpells(), parts[1].toStdString());
        return make(PartyEffect(effect->index));
    }
    throw Unknown();
}

Parser::Maker Parser::Character(const QString& rest)
{
    if (rest == QStringLiteral("Name") || rest == QStringLiteral("Description")) {
        const bool name = rest == QStringLiteral("Name");
        // The field keeps a byte for the terminator.
        const std::string bytes = Text((name ? CL::Name.Width : CL::Description.Width) - 1);
        const TextCodec* codec = &codec_; // the saved game's, which outlives the targets
        const QJsonValue wanted = codec->ToText(bytes);
        return [name, bytes, wanted, codec](int n) {
            Target target;
            target.isText = true;
            target.read = [name, n, codec](const SaveGame& game) {
                return QJsonValue(codec->ToText(name ? game.GetName(n) : game.GetDescription(n)));
            };
            target.wanted = wanted;
            target.write = [name, n, bytes](SaveGame& game) {
                name ? game.SetName(n, bytes) : game.SetDescription(n, bytes);
            };
            return target;
        };
    }
    if (const PlainField* field = ModelNames::FindPlain(rest.toStdString()))
        return Plain(*field);
    if (rest.startsWith(QStringLiteral("Spells.")))
        return Spell(rest);
    const QStringList parts = rest.split(QLatin1Char('.'));
    if (parts.front() == QStringLiteral("Skills"))
        return Skill(parts);
    if (parts.front() == QStringLiteral("Conditions"))
        return Condition(parts);
    if (parts.size() == 2 && parts.front() == QStringLiteral("Awards")) {
        bool ok = false;
        const int award = parts[1].toInt(&ok);
        if (!ok || award < 0 || award >= awards_.Count())
            throw Bad(QStringLiteral("awards are 0..%1").arg(awards_.Count() - 1));
        const bool held = Number({0, 1}) != 0;
        return [award, held](int n) {
            Target target;
            target.read = [n, award](const SaveGame& game) { return QJsonValue(game.GetAward(n, award) > 0 ? 1 : 0); };
            target.wanted = held ? 1 : 0;
            target.write = [n, award, held](SaveGame& game) {
                held ? game.SetAward(n, award) : game.ClearAward(n, award);
            };
            return target;
        };
    }
    if (parts.front() == QStringLiteral("ActiveSpells")) {
        const auto make = Effect(parts.mid(1), ModelNames::ActiveSpells(), false);
        const int k = ModelNames::Find(ModelNames::ActiveSpells(), parts[1].toStdString())->index;
        return [make, k](int n) { return make(CharacterEffect(n, k)); };
    }
    throw Unknown();
}

Parser::Maker Parser::Plain(const PlainField& field)
{
    // A value stored as it is must fit its field; one stored against another is checked
    // when written, against what that other then holds.
    const bool direct = field.stored == ModelNames::Stored::Value;
    const Range range = direct ? Signed(field.width) : kInt32;
    const auto value = static_cast<int>(field.isClass ? ClassNumber(range) : Number(range));
    const ClassTable* classes = &classes_;
    const TextCodec* codec = &codec_;
    const auto word = [&field, classes, codec](int stored) {
        return field.isClass ? SaveDocument::ClassWord(stored, *classes, *codec) : QJsonValue(stored);
    };
    return [&field, value, word](int n) {
        Target target;
        target.order = field.isBase ? Order::Base : Order::Other;
        target.read = [&field, n, word](const SaveGame& game) { return word((game.*field.get)(n)); };
        target.wanted = word(value);
        target.write = [&field, n, value](SaveGame& game) {
            if (const auto now = RangeNow(game, n, field);
                now && (value < now->first.minimum || value > now->first.maximum))
                throw CliError::UsageError(Between(now->first) + QLatin1Char(' ') + now->second);
            (game.*field.set)(n, value);
        };
        return target;
    };
}

Parser::Maker Parser::Skill(const QStringList& parts)
{
    const ModelNames::Entry* skill =
        parts.size() == 3 ? ModelNames::Find(ModelNames::Skills(), parts[1].toStdString()) : nullptr;
    const bool level = parts.size() == 3 && parts[2] == QStringLiteral("Level");
    if (skill == nullptr || (!level && parts[2] != QStringLiteral("Mastery")))
        throw Unknown();
    const auto value = static_cast<int>(level ? Number({0, SkillWord::LevelMask})
                                              : Number({0, SkillWord::Grand}, Vocabulary::MasteryNames));
    const int slot = skill->index;
    const QString key = parts[2];
    return [slot, level, value, key](int n) {
        Target target;
        target.read = [n, slot, key](const SaveGame& game) {
            return SaveDocument::Skill(game.GetSkill(n, slot)).value(key);
        };
        target.wanted = level ? QJsonValue(value) : SaveDocument::Word(value, Vocabulary::MasteryNames);
        // As the Skills tab writes a word: the level and one mastery bit, nothing else.
        target.write = [n, slot, level, value](SaveGame& game) {
            const int word = game.GetSkill(n, slot);
            game.SetSkill(n, slot,
                          level ? SkillWord::Compose(value, SkillWord::Mastery(word))
                                : SkillWord::Compose(SkillWord::Level(word), value));
        };
        return target;
    };
}

Parser::Maker Parser::Spell(const QString& rest)
{
    // The spell's text may hold dots of its own ("Fire Resis."): the school ends at the first.
    const QString after = rest.mid(QStringLiteral("Spells.").size());
    const qsizetype dot = after.indexOf(QLatin1Char('.'));
    const ModelNames::Entry* school =
        dot < 0 ? nullptr : ModelNames::Find(ModelNames::Schools(), after.left(dot).toStdString());
    if (school == nullptr)
        throw Unknown();
    const int group = school->index;
    const std::string text = after.mid(dot + 1).toStdString();
    const auto& names = Vocabulary::SpellNames[static_cast<std::size_t>(group)];
    const auto byte = static_cast<std::size_t>(std::find(names.begin(), names.end(), text) - names.begin());
    if (text.empty() || byte >= static_cast<std::size_t>(SaveGame::SpellGroupSize(group)))
        throw Unknown();
    const auto value = static_cast<std::uint8_t>(Number(Unsigned(1)));
    return [group, byte, value](int n) {
        Target target;
        target.read = [n, group, byte](const SaveGame& game) { return QJsonValue(game.GetSpellGroup(n, group)[byte]); };
        target.wanted = value;
        target.write = [n, group, byte, value](SaveGame& game) {
            std::array<std::uint8_t, CL::FullSpellGroupSize> flags{};
            const std::span<const std::uint8_t> now = game.GetSpellGroup(n, group);
            std::copy(now.begin(), now.end(), flags.begin());
            flags[byte] = value;
            game.SetSpellGroup(n, group, std::span(flags.data(), now.size()));
        };
        return target;
    };
}

Parser::Maker Parser::Condition(const QStringList& parts)
{
    const ModelNames::Entry* condition =
        parts.size() >= 2 ? ModelNames::Find(ModelNames::Conditions(), parts[1].toStdString()) : nullptr;
    if (condition == nullptr || parts.size() > 3)
        throw Unknown();
    const int k = condition->index;
    const auto shown = [k](int n) {
        return [n, k](const SaveGame& game) {
            GameDuration elapsed;
            return game.GetCondition(n, k, elapsed) != 0 ? QJsonValue(SaveDocument::Duration(elapsed))
                                                         : QJsonValue(QJsonValue::Null);
        };
    };
    if (parts.size() == 2) {
        RequireNone();
        return [k, shown](int n) {
            Target target;
            target.read = shown(n);
            target.wanted = QJsonValue::Null;
            target.write = [n, k](SaveGame& game) { game.SetCondition(n, k, 0, {}); };
            return target;
        };
    }
    const auto member = std::find(kDurationMembers.begin(), kDurationMembers.end(), parts[2].toStdString());
    if (member == kDurationMembers.end())
        throw Unknown();
    const auto at = static_cast<std::size_t>(member - kDurationMembers.begin());
    const auto value = static_cast<std::int32_t>(Number(kInt32));
    const QString key = parts[2];
    return [k, at, value, key, shown](int n) {
        Target target;
        const auto whole = shown(n);
        target.read = [whole, key](const SaveGame& game) {
            const QJsonValue elapsed = whole(game);
            return elapsed.isNull() ? elapsed : elapsed.toObject().value(key);
        };
        target.wanted = value;
        // The other members keep what show prints; a condition not yet there starts from 0.
        target.write = [n, k, at, value](SaveGame& game) {
            GameDuration elapsed;
            game.GetCondition(n, k, elapsed);
            DurationMember(elapsed, at) = value;
            game.SetCondition(n, k, 1, elapsed);
            GameDuration check;
            if (game.GetCondition(n, k, check) == 0)
                throw CliError::UsageError(
                    QStringLiteral("the condition would begin at the clock's zero, which reads as no condition"));
        };
        return target;
    };
}

std::function<Target(const EffectAccess&)> Parser::Effect(const QStringList& parts,
                                                          std::span<const ModelNames::Entry> names, bool party)
{
    if (parts.isEmpty() || parts.size() > 2 || ModelNames::Find(names, parts[0].toStdString()) == nullptr)
        throw Unknown();
    const auto read = [](const EffectAccess& access) {
        return [access](const SaveGame& game) { return SaveDocument::Effect(access.get(game), access.withCaster); };
    };
    if (parts.size() == 1) {
        RequireNone();
        // As Remove All does it: every member written, the effect ending now.
        return [read](const EffectAccess& access) {
            Target target;
            target.read = read(access);
            target.wanted = QJsonValue::Null;
            target.write = [access](SaveGame& game) { access.set(game, {}, {}); };
            return target;
        };
    }
    const auto found = std::find(kEffectMembers.begin(), kEffectMembers.end(), parts[1].toStdString());
    if (found == kEffectMembers.end() || (!party && *found == "Caster"))
        throw Unknown();
    const auto member = static_cast<EffectMember>(found - kEffectMembers.begin());
    const bool duration =
        member == EffectMember::Days || member == EffectMember::Hours || member == EffectMember::Minutes;
    // The party dialog takes no sign for a party effect's time; the Active Spells tab does.
    const Range range = duration                        ? (party ? kCount32 : kInt32)
                        : member == EffectMember::Power ? Signed(SE::Power.Width)
                        : member == EffectMember::Skill ? Signed(SE::Skill.Width)
                                                        : Unsigned(SE::Caster.Width);
    const Words words = member == EffectMember::Skill ? SaveDocument::EffectSkillWords() : Words();
    const auto value = static_cast<int>(Number(range, words));
    const QString key = parts[1];
    const QString name = parts[0];
    return [read, member, duration, value, words, key, name](const EffectAccess& access) {
        Target target;
        target.order = duration ? Order::Base : Order::Other;
        target.read = [whole = read(access), key](const SaveGame& game) {
            const QJsonValue effect = whole(game);
            return effect.isNull() ? effect : effect.toObject().value(key);
        };
        target.wanted = SaveDocument::Word(value, words);
        target.write = [access, member, duration, value, name](SaveGame& game) {
            SpellEffectInfo info = access.get(game);
            const bool absent = info == SpellEffectInfo{};
            SpellEffectParts written{.expiry = duration, .power = false, .skill = false, .caster = false};
            switch (member) {
            case EffectMember::Days:
            case EffectMember::Hours:
            case EffectMember::Minutes:
                DurationMember(info.duration, static_cast<std::size_t>(member)) = value;
                break;
            case EffectMember::Power:
                info.power = value;
                written.power = true;
                break;
            case EffectMember::Skill:
                info.skill = value;
                written.skill = true;
                break;
            case EffectMember::Caster:
                info.caster = value;
                written.caster = true;
                break;
            }
            if (absent && !duration)
                throw CliError::UsageError(
                    QStringLiteral("%1 is not in force: give it Days, Hours or Minutes as well").arg(name));
            // An effect not in force shows zeros: given a time, it is written whole, as shown.
            access.set(game, info, absent ? SpellEffectParts{} : written);
        };
        return target;
    };
}

} // namespace

std::vector<Target> Assignment::Parse(const QString& argument, const TextCodec& codec, const GameWords& words)
{
    return Parser(argument, codec, words).Run();
}
