#include "cli/Assignment.h"

#include "cli/AssignedValue.h"
#include "cli/CliError.h"
#include "game/ModelNames.h"
#include "game/SaveFields.h"
#include "game/ShownValue.h"
#include "model/CharacterLayout.h"
#include "model/InventoryLayout.h"
#include "model/SkillWord.h"
#include "model/Vocabulary.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

namespace {

namespace CL = CharacterLayout;
namespace IL = InventoryLayout;
namespace SE = SpellEffectLayout;
using Target = Assignment::Target;
using Order = Assignment::Order;
using Kind = SaveField::Kind;
using PlainField = ModelNames::PlainField;
using Range = AssignedValue::Range;
using Words = AssignedValue::Words;

constexpr std::array<std::string_view, 3> kDurationMembers = {"Days", "Hours", "Minutes"};
constexpr std::array<std::string_view, 5> kTimeMembers = {"Year", "Month", "Day", "Hour", "Minute"};

// The position of member among members, or none.
template <std::size_t N>
std::optional<std::size_t> MemberAt(const std::array<std::string_view, N>& members, const QString& member)
{
    const auto found = std::find(members.begin(), members.end(), member.toStdString());
    return found == members.end() ? std::nullopt : std::optional(static_cast<std::size_t>(found - members.begin()));
}

std::int32_t& DurationMember(GameDuration& duration, std::size_t member)
{
    return member == 0 ? duration.days : member == 1 ? duration.hours : duration.minutes;
}

// Where a total or a base age is stored against something else, the range its value has now.
std::optional<std::pair<Range, QString>> RangeNow(const SaveGame& game, int n, const PlainField& field)
{
    const Range stored = AssignedValue::Signed(field.width);
    const Range int32 = AssignedValue::kInt32;
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
        const Range range{std::max(year - stored.maximum, int32.minimum),
                          std::min(year - stored.minimum, int32.maximum)};
        return std::pair(range, QStringLiteral("in the year %1").arg(year));
    }
    }
    const Range range{std::max(against + stored.minimum, int32.minimum),
                      std::min(against + stored.maximum, int32.maximum)};
    return std::pair(range, QStringLiteral("against %1 %2").arg(what).arg(against));
}

// A party effect (n 0), or one on character n, written the same way.
void SetEffect(SaveGame& game, int n, int k, const SpellEffectInfo& info, SpellEffectParts parts)
{
    if (n == 0)
        game.SetPartySpell(k, info, parts);
    else
        game.SetActiveSpell(n, k, {info.duration, info.power, info.skill}, parts);
}

// What an assignment does once its field is known: the value show is to print, and the write.
struct Change {
    QJsonValue wanted;
    std::function<void(SaveGame&)> write;
    Order order = Order::Other;
};

class Parser {
public:
    Parser(const QString& argument, const SaveGame& game, const TextCodec& codec)
        : argument_(argument), game_(game), codec_(codec), value_(argument, QString())
    {}

    std::vector<Target> Run();

private:
    std::vector<int> Numbers(const QString& which) const;
    SaveField Field(int n, const QString& name, QString& member) const;
    Target Make(int n, const SaveField& field, const QString& member) const;
    Change Changed(int n, const SaveField& field, const QString& member) const;
    Change Supply(const SaveField& field) const;
    Change Time(const QString& member) const;
    Change Member(const SaveField& field) const;
    Change Effect(int n, const SaveField& field, const QString& member) const;
    Change EffectPart(int n, const SaveField& field) const;
    Change Text(int n, const SaveField& field) const;
    Change Plain(int n, const SaveField& field) const;
    Change Skill(int n, const SaveField& field) const;
    Change Spell(int n, const SaveField& field) const;
    Change Item(int n, const SaveField& field) const;
    Change Award(int n, const SaveField& field) const;
    Change Condition(int n, const SaveField& field, const QString& member) const;

    QString argument_;
    const SaveGame& game_;
    const TextCodec& codec_;
    AssignedValue value_;
};

std::vector<Target> Parser::Run()
{
    const qsizetype equals = argument_.indexOf(QLatin1Char('='));
    if (equals < 0)
        throw value_.Bad(QStringLiteral("give it as FIELD=VALUE"));
    const QString path = argument_.left(equals);
    value_ = AssignedValue(argument_, argument_.mid(equals + 1));

    const QString party = QStringLiteral("party.");
    const QString character = QStringLiteral("character[");
    const qsizetype close = path.indexOf(QStringLiteral("]."));
    if (path.startsWith(party)) {
        QString member;
        return {Make(0, Field(0, path.mid(party.size()), member), member)};
    }
    if (!path.startsWith(character) || close < 0)
        throw value_.Bad(QStringLiteral("no such field; fields begin with party. or character[N]."));
    const QString name = path.mid(close + 2);
    std::vector<Target> targets;
    for (const int n : Numbers(path.mid(character.size(), close - character.size()))) {
        QString member;
        targets.push_back(Make(n, Field(n, name, member), member));
    }
    return targets;
}

std::vector<int> Parser::Numbers(const QString& which) const
{
    std::vector<int> numbers;
    if (which == QStringLiteral("*")) {
        for (int n = 1; n <= CL::CharacterCount; ++n)
            numbers.push_back(n);
        return numbers;
    }
    bool ok = false;
    const int n = which.toInt(&ok);
    if (!ok || n < 1 || n > CL::CharacterCount)
        throw value_.Bad(
            QStringLiteral("no character %1; characters are 1..%2, or * for all").arg(which).arg(CL::CharacterCount));
    return {n};
}

SaveField Parser::Field(int n, const QString& name, QString& member) const
{
    if (const std::optional<SaveField> field = SaveFields::Find(game_, n, name, member))
        return *field;
    if (n == 0 && name.startsWith(QStringLiteral("Members.")))
        throw value_.Bad(QStringLiteral("party slots are 1..%1").arg(WindowLayout::RosterSlotCount));
    if (n != 0 && name.count(QLatin1Char('.')) == 1 && name.startsWith(QStringLiteral("Awards.")))
        throw value_.Bad(QStringLiteral("awards are 0..%1").arg(game_.GetAwardTable().Count() - 1));
    if (n != 0 && name.startsWith(QStringLiteral("Items.Cell")))
        throw value_.Bad(
            QStringLiteral("character[%1] has no item at %2").arg(n).arg(name.section(QLatin1Char('.'), 1, 1)));
    throw value_.Unknown();
}

Target Parser::Make(int n, const SaveField& field, const QString& member) const
{
    Change change = Changed(n, field, member);
    Target target;
    target.path = SaveFields::Path(n, field) + (member.isEmpty() ? QString() : QLatin1Char('.') + member);
    target.given = value_.Given();
    target.order = change.order;
    target.isText = SaveFields::IsText(field);
    target.isMember = field.kind == Kind::Member;
    // What show prints there, through the same walk.
    target.read = [n, field, member, codec = &codec_](const SaveGame& game) {
        const QJsonValue shown = SaveFields::Shown(game, *codec, n, field);
        return member.isEmpty() || shown.isNull() ? shown : shown.toObject().value(member);
    };
    target.wanted = std::move(change.wanted);
    target.write = std::move(change.write);
    return target;
}

Change Parser::Changed(int n, const SaveField& field, const QString& member) const
{
    switch (field.kind) {
    case Kind::Supply:
        return Supply(field);
    case Kind::Time:
        return Time(member);
    case Kind::Member:
        return Member(field);
    case Kind::Effect:
        return Effect(n, field, member);
    case Kind::EffectPower:
    case Kind::EffectSkill:
    case Kind::EffectCaster:
        return EffectPart(n, field);
    case Kind::Text:
        return Text(n, field);
    case Kind::Plain:
        return Plain(n, field);
    case Kind::SkillLevel:
    case Kind::SkillMastery:
        return Skill(n, field);
    case Kind::Spell:
        return Spell(n, field);
    case Kind::Item:
        return Item(n, field);
    case Kind::Award:
        return Award(n, field);
    case Kind::Condition:
        return Condition(n, field, member);
    }
    throw value_.Unknown();
}

Change Parser::Supply(const SaveField& field) const
{
    using Set = void (SaveGame::*)(int);
    constexpr std::array<Set, 3> setters = {&SaveGame::SetFood, &SaveGame::SetGold, &SaveGame::SetBank};
    const auto value = static_cast<int>(value_.Number(AssignedValue::kInt32));
    const Set set = setters.at(static_cast<std::size_t>(field.index));
    return {value, [set, value](SaveGame& game) { (game.*set)(value); }};
}

Change Parser::Time(const QString& member) const
{
    const std::optional<std::size_t> at = MemberAt(kTimeMembers, member);
    if (!at)
        throw value_.Unknown();
    // Years before the calendar's first would be stored as its first.
    const std::array<Range, 5> ranges = {
        {{Calendar::FirstYear, AssignedValue::kInt32.maximum}, {1, 12}, {1, 28}, {0, 23}, {0, 59}}};
    const auto value = static_cast<std::int32_t>(value_.Number(ranges[*at]));
    return {value,
            [at = *at, value](SaveGame& game) {
                GameTime time = game.GetTime();
                std::array<std::int32_t*, 5> members = {&time.year, &time.month, &time.day, &time.hour, &time.minute};
                *members[at] = at == 1 || at == 2 ? value - 1 : value; // month and day count from 0
                game.SetTime(time);
            },
            Order::Clock};
}

Change Parser::Member(const SaveField& field) const
{
    const int stored = value_.IsNone() ? -1 : static_cast<int>(value_.Number({1, CL::CharacterCount})) - 1;
    return {ShownValue::Member(stored),
            [slot = field.index, stored](SaveGame& game) { game.SetPartyMember(slot, stored); }};
}

Change Parser::Effect(int n, const SaveField& field, const QString& member) const
{
    const int k = field.index;
    if (member.isEmpty()) {
        value_.RequireNone();
        // As Remove All does it: every member written, the effect ending now.
        return {QJsonValue::Null, [n, k](SaveGame& game) { SetEffect(game, n, k, {}, {}); }};
    }
    const std::optional<std::size_t> at = MemberAt(kDurationMembers, member);
    if (!at)
        throw value_.Unknown();
    // The party dialog takes no sign for a party effect's time; the Active Spells tab does.
    const auto value = static_cast<int>(value_.Number(n == 0 ? AssignedValue::kCount32 : AssignedValue::kInt32));
    return {value,
            [n, k, at = *at, value](SaveGame& game) {
                SpellEffectInfo info = SaveFields::Effect(game, n, k);
                const bool absent = info == SpellEffectInfo{};
                DurationMember(info.duration, at) = value;
                // An effect not in force shows zeros: given a time, it is written whole, as shown.
                SetEffect(game, n, k, info,
                          absent ? SpellEffectParts{}
                                 : SpellEffectParts{.expiry = true, .power = false, .skill = false, .caster = false});
            },
            Order::Base};
}

Change Parser::EffectPart(int n, const SaveField& field) const
{
    const Kind kind = field.kind;
    const Range range = kind == Kind::EffectPower   ? AssignedValue::Signed(SE::Power.Width)
                        : kind == Kind::EffectSkill ? AssignedValue::Signed(SE::Skill.Width)
                                                    : AssignedValue::Unsigned(SE::Caster.Width);
    const Words words = kind == Kind::EffectSkill ? ShownValue::EffectSkillWords() : Words();
    const auto value = static_cast<int>(value_.Number(range, words));
    const QString name = field.name.section(QLatin1Char('.'), 1, 1);
    return {ShownValue::Word(value, words), [n, k = field.index, kind, value, name](SaveGame& game) {
                SpellEffectInfo info = SaveFields::Effect(game, n, k);
                if (info == SpellEffectInfo{})
                    throw CliError::UsageError(
                        QStringLiteral("%1 is not in force: give it Days, Hours or Minutes as well").arg(name));
                SpellEffectParts written{.expiry = false, .power = false, .skill = false, .caster = false};
                (kind == Kind::EffectPower ? info.power : kind == Kind::EffectSkill ? info.skill : info.caster) = value;
                (kind == Kind::EffectPower   ? written.power
                 : kind == Kind::EffectSkill ? written.skill
                                             : written.caster) = true;
                SetEffect(game, n, k, info, written);
            }};
}

Change Parser::Text(int n, const SaveField& field) const
{
    const bool name = field.index == 0;
    // The field keeps a byte for the terminator.
    const std::string bytes = value_.Text((name ? CL::Name.Width : CL::Description.Width) - 1, codec_);
    return {codec_.ToText(bytes),
            [name, n, bytes](SaveGame& game) { name ? game.SetName(n, bytes) : game.SetDescription(n, bytes); }};
}

Change Parser::Plain(int n, const SaveField& field) const
{
    const PlainField& plain = ModelNames::PlainFields()[static_cast<std::size_t>(field.index)];
    // A value stored as it is must fit its field; one stored against another is checked
    // when written, against what that other then holds.
    const Range range =
        plain.stored == ModelNames::Stored::Value ? AssignedValue::Signed(plain.width) : AssignedValue::kInt32;
    const auto value = static_cast<int>(plain.isClass ? value_.ClassNumber(range, game_.GetClassTable(), codec_)
                                                      : value_.Number(range));
    return {plain.isClass ? ShownValue::ClassWord(value, game_.GetClassTable(), codec_) : QJsonValue(value),
            [&plain, n, value](SaveGame& game) {
                if (const auto now = RangeNow(game, n, plain);
                    now && (value < now->first.minimum || value > now->first.maximum))
                    throw CliError::UsageError(AssignedValue::Between(now->first) + QLatin1Char(' ') + now->second);
                (game.*plain.set)(n, value);
            },
            plain.isBase ? Order::Base : Order::Other};
}

Change Parser::Skill(int n, const SaveField& field) const
{
    const bool level = field.kind == Kind::SkillLevel;
    const auto value = static_cast<int>(level ? value_.Number({0, SkillWord::LevelMask})
                                              : value_.Number({0, SkillWord::Grand}, Vocabulary::MasteryNames));
    // As the Skills tab writes a word: the level and one mastery bit, nothing else.
    return {level ? QJsonValue(value) : ShownValue::Word(value, Vocabulary::MasteryNames),
            [n, slot = field.index, level, value](SaveGame& game) {
                const int word = game.GetSkill(n, slot);
                game.SetSkill(n, slot,
                              level ? SkillWord::Compose(value, SkillWord::Mastery(word))
                                    : SkillWord::Compose(SkillWord::Level(word), value));
            }};
}

Change Parser::Spell(int n, const SaveField& field) const
{
    const auto value = static_cast<std::uint8_t>(value_.Number(AssignedValue::Unsigned(1)));
    return {value, [n, group = field.index, byte = static_cast<std::size_t>(field.sub), value](SaveGame& game) {
                std::array<std::uint8_t, CL::FullSpellGroupSize> flags{};
                const std::span<const std::uint8_t> now = game.GetSpellGroup(n, group);
                std::copy(now.begin(), now.end(), flags.begin());
                flags[byte] = value;
                game.SetSpellGroup(n, group, std::span(flags.data(), now.size()));
            }};
}

Change Parser::Item(int n, const SaveField& field) const
{
    // An item number 0 would free the entry: an item is taken out elsewhere, not here.
    const Range range = field.sub == 0 ? Range{1, AssignedValue::kInt32.maximum} : AssignedValue::kInt32;
    const auto value = static_cast<std::int32_t>(value_.Number(range));
    return {value, [n, cell = field.index, word = field.sub, value](SaveGame& game) {
                InventoryItem item;
                game.GetInventoryCell(n, cell, item);
                item.*IL::ItemWords[word] = value;
                // Another kind may not fit where the item lies; it is not moved behind the user's back.
                if (game.ReplaceInventoryItem(n, cell, item) != cell)
                    throw CliError::UsageError(QStringLiteral("item %1 does not fit at cell %2").arg(value).arg(cell));
            }};
}

Change Parser::Award(int n, const SaveField& field) const
{
    const bool held = value_.Number({0, 1}) != 0;
    return {held ? 1 : 0, [n, award = field.index, held](SaveGame& game) {
                held ? game.SetAward(n, award) : game.ClearAward(n, award);
            }};
}

Change Parser::Condition(int n, const SaveField& field, const QString& member) const
{
    const int k = field.index;
    if (member.isEmpty()) {
        value_.RequireNone();
        return {QJsonValue::Null, [n, k](SaveGame& game) { game.SetCondition(n, k, 0, {}); }};
    }
    const std::optional<std::size_t> at = MemberAt(kDurationMembers, member);
    if (!at)
        throw value_.Unknown();
    const auto value = static_cast<std::int32_t>(value_.Number(AssignedValue::kInt32));
    // The other members keep what show prints; a condition not yet there starts from 0.
    return {value, [n, k, at = *at, value](SaveGame& game) {
                GameDuration elapsed;
                game.GetCondition(n, k, elapsed);
                DurationMember(elapsed, at) = value;
                game.SetCondition(n, k, 1, elapsed);
                GameDuration check;
                if (game.GetCondition(n, k, check) == 0)
                    throw CliError::UsageError(
                        QStringLiteral("the condition would begin at the clock's zero, which reads as no condition"));
            }};
}

} // namespace

std::vector<Target> Assignment::Parse(const QString& argument, const SaveGame& game, const TextCodec& codec)
{
    return Parser(argument, game, codec).Run();
}
