#include "dialogs/PartyDialog.h"

#include "dialogs/CVelkarSheet.h"
#include "dialogs/CopyFromDialog.h"
#include "dialogs/ExchangeOrder.h"
#include "dialogs/SpellEffectEditor.h"
#include "ui/ControlId.h"

#include "game/CharacterCopy.h"
#include "text/TextCodec.h"
#include "ui/ErrorGuard.h"
#include "ui/Messages.h"
#include "ui/Mnemonics.h"
#include "ui/NumberBox.h"
#include "ui/PlainList.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>
#include <span>
#include <utility>

namespace {

using Dialog = PartyDialog;
using EffectField = SpellEffectEditor::Field;

// In stored order, which is alphabetical and also the layout order.
// clang-format off
constexpr std::array<SpellEffectEditor::Effect, Dialog::EffectCount> kEffects = {{
    {1195, "Air Res", 0},      {1196, "Body Res", 1},    {1197, "Day of the Gods", 2}, {1198, "Detect Life", 3},
    {1199, "Earth Res", 4},    {1200, "Feather Fall", 5}, {1201, "Fire Res", 6},       {1202, "Fly", 7},
    {1176, "Haste", 8},        {1177, "Heroism", 9},     {1178, "Immolation", 10},     {1179, "Invisibility", 11},
    {1180, "Mind Res", 12},    {1181, "Prot Magic", 13}, {1182, "Shield", 14},         {1183, "Stoneskin", 15},
    {1184, "Torch Light", 16}, {1185, "Water Res", 17},  {1186, "Water Walk", 18},     {1187, "Wizard Eye", 19},
}};
// clang-format on

// clang-format off
constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
// clang-format on
constexpr std::array<const char*, 2> kAmPm = {"AM", "PM"};

enum class Kind { Number, Choice };
enum class Area { Supplies, Date };

using Getter = int (SaveGame::*)() const;
using Setter = void (SaveGame::*)(int);

// A cell of a grid: row, column and how many columns it spans.
struct Cell {
    int row = 0;
    int column = 0;
    int columnSpan = 1;
};

// One control bound to a value of the dialog. Numbers with checked bounds are read with
// their up-down's range as the check.
struct Row {
    int id = 0;
    const char* label = nullptr; // left of the control
    Kind kind = Kind::Number;
    int value = 0; // index into the held values
    int spinId = 0;
    int minimum = -NumberBox::UpDownLimit;
    int maximum = NumberBox::UpDownLimit;
    bool checked = false; // read within minimum..maximum
    std::span<const char* const> items{};
    bool storesOnLeave = false; // the date: stored (and shown again) when the focus leaves it
    Area area = Area::Supplies;
    Cell cell{};
    int width = 0;
    Getter get = nullptr; // supplies only; the date goes through the clock
    Setter set = nullptr;
};

constexpr int kSupplyWidth = 80;
constexpr int kShortWidth = 52;
constexpr int kYearWidth = 70;
constexpr int kMonthWidth = 70;
constexpr int kAmPmWidth = 62;
constexpr int kMemberWidth = 150;
constexpr int kNameColumnWidth = 120;
constexpr int kListHeight = 180;

// Positions of the held values.
enum Held : int { Food, Gold, Bank, Day, Hour, Minute, Month, Year, AmPm, HeldCount };

// In layout order, which is also the tab order.
// clang-format off
constexpr std::array<Row, 9> kRows = {{
    {.id = Dialog::IdFood, .label = "Food:", .value = Food, .spinId = 1003, .cell = {0, 1}, .width = kSupplyWidth,
     .get = &SaveGame::GetFood, .set = &SaveGame::SetFood},
    {.id = Dialog::IdGold, .label = "Gold:", .value = Gold, .spinId = 1005, .cell = {1, 1}, .width = kSupplyWidth,
     .get = &SaveGame::GetGold, .set = &SaveGame::SetGold},
    {.id = Dialog::IdBank, .label = "Bank:", .value = Bank, .spinId = 1007, .cell = {2, 1}, .width = kSupplyWidth,
     .get = &SaveGame::GetBank, .set = &SaveGame::SetBank},
    {.id = Dialog::IdHour, .value = Hour, .spinId = 1009, .minimum = 0, .maximum = 12, .checked = true,
     .storesOnLeave = true, .area = Area::Date, .cell = {0, 0}, .width = kShortWidth},
    {.id = Dialog::IdMinute, .label = ":", .value = Minute, .spinId = 1011, .minimum = 0, .maximum = 59,
     .checked = true, .storesOnLeave = true, .area = Area::Date, .cell = {0, 2}, .width = kShortWidth},
    {.id = Dialog::IdAmPm, .kind = Kind::Choice, .value = AmPm, .items = kAmPm, .area = Area::Date, .cell = {0, 3},
     .width = kAmPmWidth},
    {.id = Dialog::IdDay, .value = Day, .spinId = 1013, .minimum = 1, .maximum = 28, .checked = true,
     .storesOnLeave = true, .area = Area::Date, .cell = {1, 0}, .width = kShortWidth},
    {.id = Dialog::IdMonth, .kind = Kind::Choice, .value = Month, .items = kMonths, .storesOnLeave = true,
     .area = Area::Date, .cell = {1, 1, 2}, .width = kMonthWidth},
    {.id = Dialog::IdYear, .value = Year, .spinId = 1015, .minimum = 1168, .storesOnLeave = true, .area = Area::Date,
     .cell = {1, 3}, .width = kYearWidth},
}};

// The exchange order: the dialog's own fields and the spell-effect editor's, interleaved.
constexpr std::array<int, kRows.size() + 5> kExchangeOrder = {
    Dialog::IdFood, Dialog::IdGold, Dialog::IdBank, SpellEffectEditor::IdPower, Dialog::IdSkill,
    Dialog::IdDay, Dialog::IdHour, Dialog::IdMinute, Dialog::IdMonth, Dialog::IdYear,
    Dialog::IdAmPm, SpellEffectEditor::IdDays, SpellEffectEditor::IdHours, SpellEffectEditor::IdMinutes,
};
// clang-format on

constexpr std::array<int, kExchangeOrder.size()> BoundIds()
{
    std::array<int, kExchangeOrder.size()> ids{};
    std::size_t i = 0;
    for (const Row& row : kRows)
        ids[i++] = row.id;
    for (const int id :
         std::initializer_list<int>{SpellEffectEditor::IdPower, Dialog::IdSkill, SpellEffectEditor::IdDays,
                                    SpellEffectEditor::IdHours, SpellEffectEditor::IdMinutes})
        ids[i++] = id;
    return ids;
}
static_assert(ExchangeOrder::Lists(kExchangeOrder, BoundIds()));

struct Member {
    int id;
    const char* label;
};

constexpr std::array<Member, Dialog::MemberCount> kMembers = {{
    {Dialog::IdMember1, "1:"},
    {Dialog::IdMember1 + 1, "2:"},
    {Dialog::IdMember1 + 2, "3:"},
    {Dialog::IdMember1 + 3, "4:"},
    {Dialog::IdMember1 + 4, "5:"},
}};

// The dialog shows a 12-hour clock; an hour the game's clock cannot have gets no AM/PM
// and is stored back as it is.
struct TwelveHour {
    int hour;
    int amPm; // 0 "AM", 1 "PM", -1 none
};

constexpr TwelveHour ToTwelveHour(int hour24)
{
    if (hour24 < 0 || hour24 > 23)
        return {hour24, -1};
    const int hour = hour24 % 12;
    return {hour == 0 ? 12 : hour, hour24 < 12 ? 0 : 1};
}

constexpr int ToDayHour(int hour, int amPm)
{
    switch (amPm) {
    case 0:
        return hour == 12 ? 0 : hour;
    case 1:
        return hour == 12 ? 12 : hour + 12;
    default:
        return hour;
    }
}

static_assert(ToTwelveHour(0).hour == 12 && ToTwelveHour(0).amPm == 0);
static_assert(ToTwelveHour(12).hour == 12 && ToTwelveHour(12).amPm == 1);
static_assert(ToTwelveHour(23).hour == 11 && ToTwelveHour(23).amPm == 1);
static_assert(ToDayHour(12, 0) == 0 && ToDayHour(0, 1) == 12 && ToDayHour(12, 1) == 12);

QWidget* MakeControl(const Row& row)
{
    QWidget* control = nullptr;
    if (row.kind == Kind::Number) {
        // Food, gold and bank are signed; the date fields are not.
        auto* box = new NumberBox(row.get != nullptr ? NumberBox::Keys::DigitsAndSign : NumberBox::Keys::Digits);
        box->SetSpinId(row.spinId);
        box->SetRange(row.minimum, row.maximum);
        control = box;
    } else {
        auto* list = new QComboBox;
        for (const char* item : row.items)
            list->addItem(QString::fromLatin1(item));
        list->setMaxVisibleItems(static_cast<int>(row.items.size()));
        control = list;
    }
    ControlId::Give(control, row.id);
    control->setFixedWidth(row.width);
    return control;
}

QGroupBox* Group(const char* title, QLayout* layout)
{
    auto* group = new QGroupBox(QString::fromLatin1(title));
    group->setLayout(layout);
    return group;
}

QPushButton* Button(int id, const char* text)
{
    auto* button = new QPushButton(QString::fromLatin1(text));
    ControlId::Give(button, id);
    return button;
}

} // namespace

PartyDialog::PartyDialog(const std::filesystem::path& path, QWidget* parent)
    : PartyDialog(path, GameWords::BuiltIn(), parent)
{}

PartyDialog::PartyDialog(const std::filesystem::path& path, const GameWords& words, QWidget* parent)
    : EditingDialog(parent), path_(path), words_(words), codec_(TextCodec::ForKey(words.CodePage())),
      caption_(QString::fromStdU16String(path.filename().u16string())), exchange_(*this)
{
    exchange_.SetCodec(codec_);
    static_assert(HeldCount == HeldValueCount);
    setWindowTitle(caption_);
    BuildControls();
    SetBindings();
    Mnemonics::Assign(*this);
}

bool PartyDialog::Open()
{
    if (!save_.Open(path_, words_))
        return false;
    if (save_.IsReadOnly()) {
        setWindowTitle(caption_ + QStringLiteral(" (read-only)"));
        auto* note = Control<QLabel>(IdReadOnlyNote);
        note->setText(QStringLiteral("Opened for reading only: %1. Nothing can be saved.")
                          .arg(QString::fromLocal8Bit(save_.GetReadOnlyReason())));
        note->show();
    }
    LoadFromModel();
    // Typing starts in the first field, not on OK, where Enter would save at once.
    Control<QWidget>(IdFood)->setFocus(Qt::OtherFocusReason);
    return true;
}

void PartyDialog::BuildControls()
{
    const SpellEffectEditor::Options options{kEffects, 4, false, "Mins:", IdSkill, IdCaster, IdAddAll, IdRemoveAll};
    SpellEffectEditor::Host host{
        [this](int entry) { return save_.GetPartySpell(entry); },
        [this](int entry, const SpellEffectInfo& value, SpellEffectParts parts) {
            save_.SetPartySpell(entry, value, parts);
        },
        [this] { return StoreToModel(); },
        // The party's own fields keep what the user typed: OK stores them.
        [this] { exchange_.Show(effects_->FieldIds()); },
    };
    effects_ = new SpellEffectEditor(options, std::move(host));
    auto* effectsLayout = new QVBoxLayout;
    effectsLayout->addWidget(effects_);

    auto* left = new QVBoxLayout;
    left->addWidget(Group("Active Spells", effectsLayout));
    left->addWidget(BuildSuppliesAndDate());
    left->addStretch(1);

    auto* right = new QVBoxLayout;
    right->addWidget(BuildMembers());
    right->addWidget(BuildCharacters(), 1);
    auto* buttons = new QHBoxLayout;
    auto* ok = Button(IdOk, "&OK");
    auto* cancel = Button(IdCancel, "&Cancel");
    ok->setDefault(true);
    KeepFocusOnClick(*ok);
    KeepFocusOnClick(*cancel);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    right->addLayout(buttons);
    ErrorGuard::Connect(ok, &QPushButton::clicked, this, [this] { OnOk(); });
    ErrorGuard::Connect(cancel, &QPushButton::clicked, this, [this] { reject(); });

    // Shown by Open for a save that cannot be written; hidden it takes no room.
    auto* readOnlyNote = new QLabel;
    readOnlyNote->setTextFormat(Qt::PlainText);
    readOnlyNote->hide();
    ControlId::Give(readOnlyNote, IdReadOnlyNote);

    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(readOnlyNote);
    layout->addLayout(columns);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QWidget* PartyDialog::BuildSuppliesAndDate()
{
    auto* supplies = new QGridLayout;
    auto* date = new QGridLayout;
    for (const Row& row : kRows) {
        QGridLayout* grid = row.area == Area::Supplies ? supplies : date;
        QWidget* control = MakeControl(row);
        if (row.label != nullptr) {
            auto* label = new QLabel(QString::fromLatin1(row.label));
            label->setBuddy(control);
            grid->addWidget(label, row.cell.row, row.cell.column - 1);
        }
        grid->addWidget(control, row.cell.row, row.cell.column, 1, row.cell.columnSpan, Qt::AlignLeft);
        if (row.storesOnLeave)
            focusLoss_.Watch(control, [this] { OnDateFieldLeft(); });
    }
    date->setColumnStretch(4, 1);

    auto* area = new QWidget;
    auto* layout = new QHBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(supplies);
    layout->addSpacing(12);
    layout->addWidget(Group("Date && Time", date), 1);
    return area;
}

QWidget* PartyDialog::BuildMembers()
{
    auto* grid = new QGridLayout;
    for (std::size_t k = 0; k < kMembers.size(); ++k) {
        auto* chooser = new QComboBox;
        ControlId::Give(chooser, kMembers[k].id);
        chooser->setMinimumWidth(kMemberWidth);
        chooser->setMaxVisibleItems(20);
        auto* label = new QLabel(QString::fromLatin1(kMembers[k].label));
        label->setBuddy(chooser);
        grid->addWidget(label, static_cast<int>(k), 0);
        grid->addWidget(chooser, static_cast<int>(k), 1);
    }
    grid->setColumnStretch(1, 1);
    return Group("Party Members", grid);
}

QWidget* PartyDialog::BuildCharacters()
{
    auto* list =
        PlainList::Make(IdCharacters, QStringLiteral("Name"), kNameColumnWidth, QAbstractItemView::SingleSelection);
    list->setMinimumHeight(kListHeight);
    auto* edit = Button(IdEditCharacter, "&Edit Character");
    ErrorGuard::Connect(edit, &QPushButton::clicked, this, [this] { EditCharacter(); });
    ErrorGuard::Connect(list, &QTreeWidget::itemDoubleClicked, this, [this] { EditCharacter(); });
    auto* copy = Button(IdCopyFrom, "Cop&y From...");
    ErrorGuard::Connect(copy, &QPushButton::clicked, this, [this] { CopyFrom(); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(copy);
    buttons->addWidget(edit);
    auto* layout = new QVBoxLayout;
    layout->addWidget(list, 1);
    layout->addLayout(buttons);
    return Group("Characters", layout);
}

void PartyDialog::SetBindings()
{
    std::vector<DataExchange::Binding> bindings;
    for (const Row& row : kRows) {
        int& member = values_[static_cast<std::size_t>(row.value)];
        bindings.push_back(row.kind == Kind::Choice ? DataExchange::Choice(row.id, member)
                           : row.checked            ? DataExchange::Range(row.id, member, row.minimum, row.maximum)
                                                    : DataExchange::Integer(row.id, member));
    }
    for (const EffectField field :
         {EffectField::Power, EffectField::Skill, EffectField::Days, EffectField::Hours, EffectField::Minutes})
        bindings.push_back(effects_->Binding(field));
    exchange_.SetBindings(ExchangeOrder::Sort(std::move(bindings), kExchangeOrder));
}

void PartyDialog::LoadFromModel()
{
    for (const Row& row : kRows) {
        if (row.get != nullptr)
            values_[static_cast<std::size_t>(row.value)] = (save_.*row.get)();
    }
    RefreshCharacterLists();
    const GameTime t = save_.GetTime();
    const TwelveHour hour = ToTwelveHour(t.hour);
    values_[Day] = t.day + 1;
    values_[Month] = t.month;
    values_[Year] = t.year;
    values_[Minute] = t.minute;
    values_[Hour] = hour.hour;
    values_[AmPm] = hour.amPm;
    for (std::size_t k = 0; k < kMembers.size(); ++k) {
        auto* chooser = Control<QComboBox>(kMembers[k].id);
        const int slot = save_.GetPartyMember(static_cast<int>(k) + 1);
        const QSignalBlocker blocker(chooser);
        chooser->setCurrentIndex(slot >= -1 && slot < CharacterCount ? slot + 1 : -1);
        shownMembers_[k] = chooser->currentIndex();
    }
    exchange_.Show();
    effects_->Refresh();
}

bool PartyDialog::StoreToModel()
{
    if (!exchange_.Read())
        return false;
    // Only what changed since the last load: the clock keeps its sub-minute ticks and the
    // roster its slots unless the user set them.
    bool dateChanged = false;
    for (const Row& row : kRows) {
        if (!exchange_.Changed(row.id))
            continue;
        if (row.set != nullptr)
            (save_.*row.set)(values_[static_cast<std::size_t>(row.value)]);
        else
            dateChanged = true;
    }
    if (dateChanged)
        save_.SetTime({ToDayHour(values_[Hour], values_[AmPm]), values_[Minute], values_[Day] - 1, values_[Month],
                       values_[Year]});
    exchange_.Remember();

    // A chooser without a selection counts as "None". The gap rule holds at every store,
    // whether or not a chooser changed.
    std::array<int, MemberCount> chosen{};
    std::array<int, MemberCount> members{};
    for (std::size_t k = 0; k < kMembers.size(); ++k) {
        chosen[k] = Control<QComboBox>(kMembers[k].id)->currentIndex();
        members[k] = std::max(chosen[k], 0) - 1;
    }
    const std::optional<int> count = PartyRoster::MemberCount(members);
    if (!count) {
        Messages::Warning(QString::fromLatin1(GapMessage));
        return false;
    }
    if (chosen != shownMembers_) {
        save_.SetPartyMemberCount(*count);
        for (std::size_t k = 0; k < members.size(); ++k)
            save_.SetPartyMember(static_cast<int>(k) + 1, members[k]);
        shownMembers_ = chosen;
    }
    return true;
}

void PartyDialog::RefreshCharacterLists()
{
    QStringList names;
    for (int n = 1; n <= CharacterCount; ++n)
        names.append(codec_.ToText(save_.GetName(n)));

    auto* list = Control<QTreeWidget>(IdCharacters);
    list->clear();
    QList<QTreeWidgetItem*> rows;
    for (const QString& name : names)
        rows.append(new QTreeWidgetItem(QStringList{name}));
    list->addTopLevelItems(rows);

    std::array<int, MemberCount + 1> choosers{IdCaster};
    for (std::size_t k = 0; k < kMembers.size(); ++k)
        choosers[k + 1] = kMembers[k].id;
    for (const int id : choosers) {
        auto* chooser = Control<QComboBox>(id);
        const QSignalBlocker blocker(chooser);
        const int selected = chooser->currentIndex();
        chooser->clear();
        chooser->addItem(QStringLiteral("None"));
        chooser->addItems(names);
        chooser->setCurrentIndex(selected);
    }
}

void PartyDialog::OnDateFieldLeft()
{
    if (StoreToModel())
        LoadFromModel();
}

void PartyDialog::EditCharacter()
{
    auto* list = Control<QTreeWidget>(IdCharacters);
    const QList<QTreeWidgetItem*> selected = list->selectedItems();
    if (selected.isEmpty())
        return;
    const int n = list->indexOfTopLevelItem(selected.front()) + 1;
    CVelkarSheet sheet(save_, n, windowTitle(), this);
    sheet.exec();
    // Names may have changed; nothing else is read again.
    RefreshCharacterLists();
}

void PartyDialog::CopyFrom()
{
    auto* list = Control<QTreeWidget>(IdCharacters);
    const QList<QTreeWidgetItem*> selected = list->selectedItems();
    if (selected.isEmpty()) {
        Messages::Warning(QString::fromLatin1(ChooseTargetMessage));
        return;
    }
    save_.CheckWritable(); // a read-only save is refused before anything is asked
    const int m = list->indexOfTopLevelItem(selected.front()) + 1;
    CopyFromDialog chooser(save_, path_, this);
    if (chooser.exec() != QDialog::Accepted)
        return;
    const SaveGame& source = chooser.Source();
    const int n = chooser.Character();
    QStringList question{
        QStringLiteral(
            "Replace %1 with %2 (%3)? This writes the saved game now; Cancel in this window will not undo it.")
            .arg(codec_.ToText(save_.GetName(m)), TextCodec(chooser.SourcePage()).ToText(source.GetName(n)),
                 chooser.SourceName())};
    if (chooser.FromOtherGame())
        question.append(QStringLiteral("It comes from another game folder, where class and item numbers may name "
                                       "different things."));
    QString warning = CharacterCopy::CodePageWarning(chooser.SourceName(), chooser.SourcePage(),
                                                     QStringLiteral("this saved game"), codec_.GetPage());
    if (!warning.isEmpty()) {
        warning[0] = warning[0].toUpper();
        question.append(warning);
    }
    if (!Messages::Question(question.join(u' ')))
        return;
    CharacterCopy::Copy(source, n, save_, m, [this, m] { save_.SaveCharacter(m); });
    RefreshCharacterLists();
}

void PartyDialog::OnOk()
{
    save_.CheckWritable(); // refused before anything is stored
    if (!StoreFieldBeingTyped() || !StoreToModel())
        return;
    effects_->StoreSelected();
    save_.Save();
    accept();
}
