#include "game/SaveFields.h"

#include "game/ModelNames.h"
#include "game/ShownValue.h"
#include "model/CharacterLayout.h"
#include "model/InventoryLayout.h"
#include "model/SkillWord.h"
#include "model/Vocabulary.h"
#include "model/WindowLayout.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

namespace CL = CharacterLayout;
namespace IL = InventoryLayout;
namespace WL = WindowLayout;
namespace SE = SpellEffectLayout;
using Kind = SaveField::Kind;
using Span = SaveFields::Span;
using Latin = QLatin1String;

// Items and awards depend on the saved game: their ranks lie between the fixed fields'.
constexpr int kItemRanks = 100000;
constexpr int kAwardRanks = 200000;
constexpr int kLaterRanks = 300000;

constexpr std::array<const char*, 6> kItemWords = {"ItemNumber",   "Enchantment1", "Enchantment1Modifier",
                                                   "Enchantment2", "Charges",      "ItemFlags"};
// The order `show` prints a character's numbers in, a line each.
constexpr std::array<std::string_view, 7> kNumbersLine1 = {"Class",   "Level",      "BaseLevel", "Age",
                                                           "BaseAge", "Experience", "Face"};
constexpr std::array<std::string_view, 7> kNumbersLine2 = {"Might", "Intelligence", "Perception", "Endurance",
                                                           "Speed", "Accuracy",     "Luck"};
constexpr std::array<std::string_view, 6> kNumbersLine3 = {"FireResistance",  "AirResistance",  "WaterResistance",
                                                           "EarthResistance", "MindResistance", "BodyResistance"};
constexpr std::array<std::string_view, 4> kNumbersLine4 = {"HitPoints", "SpellPoints", "ArmorClassModifier",
                                                           "SkillPoints"};
constexpr std::array<std::span<const std::string_view>, 4> kNumberLines = {kNumbersLine1, kNumbersLine2, kNumbersLine3,
                                                                           kNumbersLine4};

QString Name(std::string_view text)
{
    return ShownValue::Latin1(text);
}

void Add(std::vector<SaveField>& fields, Kind kind, int index, int sub, QString name, int rank)
{
    fields.push_back({.kind = kind, .index = index, .sub = sub, .name = std::move(name), .rank = rank});
}

void AddEffects(std::vector<SaveField>& fields, const QString& group, std::span<const ModelNames::Entry> effects,
                bool caster, int base)
{
    for (const ModelNames::Entry& effect : effects) {
        const QString name = group + Name(effect.name);
        const int rank = base + static_cast<int>(fields.size());
        Add(fields, Kind::Effect, effect.index, 0, name, rank);
        Add(fields, Kind::EffectPower, effect.index, 0, name + Latin(".Power"), rank + 1);
        Add(fields, Kind::EffectSkill, effect.index, 0, name + Latin(".Skill"), rank + 2);
        if (caster)
            Add(fields, Kind::EffectCaster, effect.index, 0, name + Latin(".Caster"), rank + 3);
    }
}

std::vector<SaveField> PartyFields()
{
    std::vector<SaveField> fields;
    for (const char* supply : {"Food", "Gold", "Bank"})
        Add(fields, Kind::Supply, static_cast<int>(fields.size()), 0, Latin(supply), static_cast<int>(fields.size()));
    Add(fields, Kind::Time, 0, 0, QStringLiteral("Time"), static_cast<int>(fields.size()));
    for (int slot = 1; slot <= WL::RosterSlotCount; ++slot)
        Add(fields, Kind::Member, slot, 0, QStringLiteral("Members.%1").arg(slot), static_cast<int>(fields.size()));
    AddEffects(fields, QStringLiteral("PartySpells."), ModelNames::PartySpells(), true, 0);
    return fields;
}

// A character's fields before the items.
std::vector<SaveField> EarlyFields()
{
    std::vector<SaveField> fields;
    const auto next = [&fields] { return static_cast<int>(fields.size()); };
    Add(fields, Kind::Text, 0, 0, QStringLiteral("Name"), next());
    for (const std::span<const std::string_view> line : kNumberLines) {
        for (const std::string_view name : line) {
            const auto plain = ModelNames::PlainFields();
            const auto row = std::find_if(plain.begin(), plain.end(), [name](const auto& f) { return f.name == name; });
            Add(fields, Kind::Plain, static_cast<int>(row - plain.begin()), 0, Name(name), next());
        }
    }
    Add(fields, Kind::Text, 1, 0, QStringLiteral("Description"), next());
    for (const ModelNames::Entry& skill : ModelNames::Skills()) {
        const QString name = QStringLiteral("Skills.") + Name(skill.name);
        Add(fields, Kind::SkillLevel, skill.index, 0, name + Latin(".Level"), next());
        Add(fields, Kind::SkillMastery, skill.index, 0, name + Latin(".Mastery"), next());
    }
    for (const ModelNames::Entry& school : ModelNames::Schools()) {
        const auto& spells = Vocabulary::SpellNames[static_cast<std::size_t>(school.index)];
        for (int k = 0; k < SaveGame::SpellGroupSize(school.index); ++k)
            Add(fields, Kind::Spell, school.index, k,
                QStringLiteral("Spells.%1.%2").arg(Name(school.name), Name(spells[static_cast<std::size_t>(k)])),
                next());
    }
    return fields;
}

// A character's fields after the awards.
std::vector<SaveField> LateFields()
{
    std::vector<SaveField> fields;
    for (const ModelNames::Entry& condition : ModelNames::Conditions())
        Add(fields, Kind::Condition, condition.index, 0, QStringLiteral("Conditions.") + Name(condition.name),
            kLaterRanks + static_cast<int>(fields.size()));
    AddEffects(fields, QStringLiteral("ActiveSpells."), ModelNames::ActiveSpells(), false, kLaterRanks);
    return fields;
}

std::int64_t Stored(const SaveGame& game, int offset, int width)
{
    const std::span<const std::uint8_t> window = game.GetWindow();
    std::uint64_t value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = (value << 8) | window[static_cast<std::size_t>(offset + i)];
    const int unused = 64 - 8 * width;
    return unused == 0 ? static_cast<std::int64_t>(value) : static_cast<std::int64_t>(value << unused) >> unused;
}

int EffectOffset(int n, int k)
{
    return n == 0 ? WL::PartyRecordOffset + WL::PartySpellsOffset + k * SE::Size
                  : SaveFields::RecordStart(n) + CL::ActiveSpellsOffset + k * SE::Size;
}

Field TextField(int index)
{
    return index == 0 ? CL::Name : CL::Description;
}

std::string_view Text(const SaveGame& game, int n, int index)
{
    return index == 0 ? game.GetName(n) : game.GetDescription(n);
}

// The entry of the item anchored at cell, or 0.
int Entry(const SaveGame& game, int n, int cell)
{
    InventoryItem item;
    return game.GetInventoryCell(n, cell, item) == 1 ? game.GetInventoryGridCell(n, cell) : 0;
}

QJsonValue Dated(const char* word, std::int64_t ticks)
{
    return ticks == 0 ? QJsonValue(QJsonValue::Null) : QJsonValue(Latin(word) + SaveFields::Date(ticks));
}

SaveFields::Bytes EffectBytes(int n, const SaveField& field)
{
    const int base = EffectOffset(n, field.index);
    switch (field.kind) {
    case Kind::Effect:
        return {{{base + SE::Expiry.Offset, SE::Expiry.Width}}, {}};
    case Kind::EffectPower:
        return {{{base + SE::Power.Offset, SE::Power.Width}}, {}};
    case Kind::EffectSkill:
        return {{{base + SE::Skill.Offset, SE::Skill.Width}}, {}};
    default:
        // The bytes never written and the game's flags byte go with the caster.
        return {{{base + SE::Caster.Offset, SE::Caster.Width}},
                {{base + SE::Skill.End(), SE::Caster.Offset - SE::Skill.End()}, {base + SE::CasterFlags, 1}}};
    }
}

} // namespace

std::vector<SaveField> SaveFields::List(const SaveGame& game, int n)
{
    static const std::vector<SaveField> party = PartyFields();
    static const std::vector<SaveField> early = EarlyFields();
    static const std::vector<SaveField> late = LateFields();
    if (n == 0)
        return party;
    std::vector<SaveField> fields = early;
    for (int cell = 0; cell < IL::CellCount; ++cell) {
        if (Entry(game, n, cell) == 0)
            continue;
        for (std::size_t w = 0; w < kItemWords.size(); ++w)
            Add(fields, Kind::Item, cell, static_cast<int>(w),
                QStringLiteral("Items.Cell%1.%2").arg(cell).arg(Latin(kItemWords[w])),
                kItemRanks + cell * IL::WordCount + static_cast<int>(w));
    }
    for (int a = 0; a < game.GetAwardTable().Count(); ++a)
        Add(fields, Kind::Award, a, 0, QStringLiteral("Awards.%1").arg(a), kAwardRanks + a);
    fields.insert(fields.end(), late.begin(), late.end());
    return fields;
}

std::optional<SaveField> SaveFields::Find(const SaveGame& game, int n, const QString& name, QString& member)
{
    const std::vector<SaveField> fields = List(game, n);
    member.clear();
    for (const SaveField& field : fields) {
        if (field.name == name)
            return field;
    }
    // A member of a field shown as an object: the clock's, an effect's time, a condition's.
    for (const SaveField& field : fields) {
        const bool whole = field.kind == Kind::Time || field.kind == Kind::Effect || field.kind == Kind::Condition;
        if (whole && name.size() > field.name.size() && name.startsWith(field.name) &&
            name[field.name.size()] == QLatin1Char('.')) {
            member = name.mid(field.name.size() + 1);
            return field;
        }
    }
    return std::nullopt;
}

QString SaveFields::Path(int n, const SaveField& field)
{
    return n == 0 ? QStringLiteral("party.") + field.name : QStringLiteral("character[%1].%2").arg(n).arg(field.name);
}

QJsonValue SaveFields::Shown(const SaveGame& game, const TextCodec& codec, int n, const SaveField& field)
{
    const int k = field.index;
    switch (field.kind) {
    case Kind::Supply:
        return k == 0 ? game.GetFood() : k == 1 ? game.GetGold() : game.GetBank();
    case Kind::Time:
        return ShownValue::Time(game.GetTime());
    case Kind::Member:
        return ShownValue::Member(game.GetPartyMember(k));
    case Kind::Effect:
        return ShownValue::Effect(SaveFields::Effect(game, n, k), n == 0);
    case Kind::EffectPower:
    case Kind::EffectSkill:
    case Kind::EffectCaster: {
        // As the effect's own value shows them: nothing while it is not in force.
        const SpellEffectInfo info = SaveFields::Effect(game, n, k);
        if (info == SpellEffectInfo{})
            return QJsonValue::Null;
        return field.kind == Kind::EffectPower   ? QJsonValue(info.power)
               : field.kind == Kind::EffectSkill ? ShownValue::Word(info.skill, ShownValue::EffectSkillWords())
                                                 : QJsonValue(info.caster);
    }
    case Kind::Text:
        return codec.ToText(Text(game, n, k));
    case Kind::Plain: {
        const ModelNames::PlainField& plain = ModelNames::PlainFields()[static_cast<std::size_t>(k)];
        const int value = (game.*plain.get)(n);
        return plain.isClass ? ShownValue::ClassWord(value, game.GetClassTable(), codec) : QJsonValue(value);
    }
    case Kind::SkillLevel:
        return SkillWord::Level(game.GetSkill(n, k));
    case Kind::SkillMastery:
        return ShownValue::Word(SkillWord::Mastery(game.GetSkill(n, k)), Vocabulary::MasteryNames);
    case Kind::Spell:
        return game.GetSpellGroup(n, k)[static_cast<std::size_t>(field.sub)];
    case Kind::Item: {
        InventoryItem item;
        if (game.GetInventoryCell(n, k, item) != 1)
            return QJsonValue::Null;
        return item.*IL::ItemWords[field.sub];
    }
    case Kind::Award:
        return game.GetAward(n, k) > 0 ? 1 : 0;
    case Kind::Condition: {
        GameDuration elapsed;
        return game.GetCondition(n, k, elapsed) != 0 ? QJsonValue(ShownValue::Duration(elapsed))
                                                     : QJsonValue(QJsonValue::Null);
    }
    }
    return QJsonValue::Null;
}

QJsonValue SaveFields::Compared(const SaveGame& game, const TextCodec& codec, int n, const SaveField& field)
{
    const int k = field.index;
    switch (field.kind) {
    case Kind::Time:
        return Date(game.GetTicks());
    case Kind::Effect:
        return Dated("until ", Stored(game, EffectOffset(n, k) + SE::Expiry.Offset, SE::Expiry.Width));
    case Kind::EffectPower:
        return ShownValue::Number(Stored(game, EffectOffset(n, k) + SE::Power.Offset, SE::Power.Width));
    case Kind::EffectSkill:
        return ShownValue::Word(static_cast<int>(Stored(game, EffectOffset(n, k) + SE::Skill.Offset, SE::Skill.Width)),
                                ShownValue::EffectSkillWords());
    case Kind::EffectCaster:
        return ShownValue::Number(Stored(game, EffectOffset(n, k) + SE::Caster.Offset, SE::Caster.Width) & 0xFF);
    case Kind::Condition:
        return Dated("since ",
                     Stored(game, RecordStart(n) + CL::ConditionsOffset + k * CL::ConditionWidth, CL::ConditionWidth));
    default:
        return Shown(game, codec, n, field);
    }
}

SaveFields::Bytes SaveFields::Where(const SaveGame& game, int n, const SaveField& field)
{
    const int k = field.index;
    const int record = n == 0 ? 0 : RecordStart(n);
    const int party = WL::PartyRecordOffset;
    switch (field.kind) {
    case Kind::Supply: {
        const Field supply = k == 0 ? WL::Food : k == 1 ? WL::Gold : WL::Bank;
        return {{{party + supply.Offset, supply.Width}}, {}};
    }
    case Kind::Time:
        return {{{party + WL::Time.Offset, WL::Time.Width}}, {}};
    case Kind::Member:
        return {{{WL::RosterOffset + (k - 1) * WL::RosterSlotWidth, WL::RosterSlotWidth}}, {}};
    case Kind::Effect:
    case Kind::EffectPower:
    case Kind::EffectSkill:
    case Kind::EffectCaster:
        return EffectBytes(n, field);
    case Kind::Text: {
        const Field text = TextField(k);
        const int used = std::min(static_cast<int>(Text(game, n, k).size()) + 1, text.Width);
        Bytes bytes{{{record + text.Offset, used}}, {}};
        if (used < text.Width)
            bytes.rest.push_back({record + text.Offset + used, text.Width - used});
        return bytes;
    }
    case Kind::Plain: {
        const ModelNames::PlainField& plain = ModelNames::PlainFields()[static_cast<std::size_t>(k)];
        Bytes bytes{{{record + plain.offset, plain.width}}, {}};
        if (plain.name == "Face")
            bytes.rest.push_back({record + CL::SecondFace.Offset, CL::SecondFace.Width});
        return bytes;
    }
    case Kind::SkillLevel:
    case Kind::SkillMastery: {
        const std::uint64_t level = SkillWord::LevelMask;
        return {{{record + CL::SkillsOffset + k * CL::SkillWidth, CL::SkillWidth,
                  field.kind == Kind::SkillLevel ? level : 0xFFFF & ~level}},
                {}};
    }
    case Kind::Spell:
        return {{{record + CL::SpellGroupsOffset + k * CL::SpellGroupSpacing + field.sub, 1}}, {}};
    case Kind::Item: {
        const int entry = Entry(game, n, k);
        if (entry == 0)
            return {};
        Bytes bytes{{{record + CL::InventoryEntriesOffset + (entry - 1) * IL::EntrySize + 4 * field.sub, 4}}, {}};
        if (field.sub == 0) // the anchor goes with the item
            bytes.rest.push_back({record + CL::InventoryGridOffset + k * IL::CellWidth, IL::CellWidth});
        return bytes;
    }
    case Kind::Award:
        return {{{record + CL::AwardsOffset + k / 8, 1, std::uint64_t{0x80} >> (k % 8)}}, {}};
    case Kind::Condition:
        return {{{record + CL::ConditionsOffset + k * CL::ConditionWidth, CL::ConditionWidth}}, {}};
    }
    return {};
}

SpellEffectInfo SaveFields::Effect(const SaveGame& game, int n, int k)
{
    if (n == 0)
        return game.GetPartySpell(k);
    const ActiveSpellInfo info = game.GetActiveSpell(n, k);
    return {info.duration, info.power, info.skill, 0};
}

std::span<const std::span<const std::string_view>> SaveFields::NumberLines()
{
    return kNumberLines;
}

QString SaveFields::Date(std::int64_t ticks)
{
    const GameTime time = TicksToGameTime(ticks);
    return QStringLiteral("%1-%2-%3 %4:%5")
        .arg(time.year)
        .arg(time.month + 1, 2, 10, QLatin1Char('0'))
        .arg(time.day + 1, 2, 10, QLatin1Char('0'))
        .arg(time.hour, 2, 10, QLatin1Char('0'))
        .arg(time.minute, 2, 10, QLatin1Char('0'));
}

int SaveFields::RecordStart(int n)
{
    return CL::FirstRecord + (n - 1) * CL::RecordSize;
}
