#include "dialogs/SpellEffectEditor.h"

#include "text/TextCodec.h"
#include "ui/ControlId.h"
#include "ui/ErrorGuard.h"
#include "ui/Mnemonics.h"
#include "ui/NumberBox.h"

#include "model/Vocabulary.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <utility>

namespace {

using Editor = SpellEffectEditor;
using Field = Editor::Field;

// A field with its label on its left; a column is one label and its control.
struct FieldRow {
    Field field = Field::Days;
    int id = 0;                  // 0: the id the options give
    int spinId = 0;              // 0: a chooser
    const char* label = nullptr; // null: the label the options give
    int row = 0;
    int column = 0;
};

// In layout order, which is also the tab order.
constexpr std::array<FieldRow, 5> kFields = {{
    {.field = Field::Days, .id = Editor::IdDays, .spinId = 1160, .label = "Days:", .row = 0, .column = 0},
    {.field = Field::Hours, .id = Editor::IdHours, .spinId = 1162, .label = "Hours:", .row = 0, .column = 1},
    {.field = Field::Minutes, .id = Editor::IdMinutes, .spinId = 1164, .row = 0, .column = 2},
    {.field = Field::Power, .id = Editor::IdPower, .spinId = 1166, .label = "Power:", .row = 1, .column = 0},
    {.field = Field::Skill, .label = "Skill:", .row = 1, .column = 1},
}};

constexpr int kCasterColumn = 2;
constexpr int kNumberWidth = 70;
constexpr int kSkillWidth = 90;
constexpr int kCasterWidth = 130;

constexpr std::size_t Index(Field field)
{
    return static_cast<std::size_t>(field);
}

static_assert([] {
    for (std::size_t i = 0; i < kFields.size(); ++i) {
        if (Index(kFields[i].field) != i)
            return false;
    }
    return true;
}());

QLabel* LabelFor(const char* text, QWidget* control)
{
    auto* label = new QLabel(QString::fromLatin1(text));
    label->setBuddy(control);
    return label;
}

// A number box with its up-down, or the skill's chooser.
QWidget* MakeFieldControl(const FieldRow& row, int skillId)
{
    if (row.spinId != 0) {
        auto* box = new NumberBox(NumberBox::Keys::DigitsAndSign);
        box->SetSpinId(row.spinId);
        box->SetRange(-NumberBox::UpDownLimit, NumberBox::UpDownLimit);
        box->setFixedWidth(kNumberWidth);
        return ControlId::Give(box, row.id);
    }
    auto* list = new QComboBox;
    list->addItem(TextCodec::OwnWord(Vocabulary::MasteryNone));
    for (const std::string_view name : Vocabulary::MasteryNames)
        list->addItem(TextCodec::OwnWord(name));
    list->setFixedWidth(kSkillWidth);
    return ControlId::Give(list, skillId);
}

} // namespace

SpellEffectEditor::SpellEffectEditor(const Options& options, Host host, QWidget* parent)
    : QWidget(parent), options_(options), host_(std::move(host))
{
    BuildControls();
}

void SpellEffectEditor::BuildControls()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* buttons = new QGridLayout;
    auto* fields = new QGridLayout;
    auto* actions = new QHBoxLayout;
    layout->addLayout(buttons);
    layout->addSpacing(6);
    layout->addLayout(fields);
    layout->addLayout(actions);

    buttons_ = new QButtonGroup(this);
    for (std::size_t i = 0; i < options_.effects.size(); ++i) {
        const Effect& effect = options_.effects[i];
        auto* button = new QPushButton(QString::fromLatin1(effect.label));
        ControlId::Give(button, effect.id);
        button->setCheckable(true); // the selected effect's button stays pressed
        Mnemonics::GiveWay(*button);
        const int index = static_cast<int>(i);
        buttons_->addButton(button, index);
        buttons->addWidget(button, index / options_.buttonColumns, index % options_.buttonColumns);
        ErrorGuard::Connect(button, &QPushButton::clicked, this, [this, index] { SelectEffect(index); });
    }

    BuildFields(*fields);
    noSelection_ = new QLabel(QString::fromLatin1(NoSelectionNote));
    layout->addWidget(noSelection_);
    ShowSelection();

    actions->addStretch(1);
    const std::array<std::pair<int, const char*>, 2> actionButtons = {{
        {options_.addAllId, "&Add All"},
        {options_.removeAllId, "&Remove All"},
    }};
    for (const auto& [id, text] : actionButtons) {
        auto* button = new QPushButton(QString::fromLatin1(text));
        ControlId::Give(button, id);
        actions->addWidget(button);
        const bool add = id == options_.addAllId;
        ErrorGuard::Connect(button, &QPushButton::clicked, this,
                            [this, add] { add ? AddAllEffects() : RemoveAllEffects(); });
    }
}

void SpellEffectEditor::BuildFields(QGridLayout& fields)
{
    const auto commit = [this] { CommitSelectedEffect(); };
    for (const FieldRow& row : kFields) {
        QWidget* control = MakeFieldControl(row, options_.skillId);
        const char* label = row.label != nullptr ? row.label : options_.minutesLabel;
        fields.addWidget(LabelFor(label, control), row.row, 2 * row.column);
        fields.addWidget(control, row.row, 2 * row.column + 1, Qt::AlignLeft);
        focusLoss_.Watch(control, commit);
    }
    if (options_.casterId != 0) {
        casterList_ = new QComboBox;
        ControlId::Give(casterList_, options_.casterId);
        casterList_->addItem(QStringLiteral("None"));
        casterList_->setCurrentIndex(0);
        casterList_->setFixedWidth(kCasterWidth);
        casterList_->setMaxVisibleItems(20);
        fields.addWidget(LabelFor("Caster:", casterList_), 1, 2 * kCasterColumn);
        fields.addWidget(casterList_, 1, 2 * kCasterColumn + 1, Qt::AlignLeft);
        focusLoss_.Watch(casterList_, commit);
    }
    fields.setColumnStretch(2 * kCasterColumn + 2, 1);
}

DataExchange::Binding SpellEffectEditor::Binding(Field field)
{
    int& member = values_[Index(field)];
    const int id = kFields[Index(field)].id;
    switch (field) {
    case Field::Skill:
        return DataExchange::Choice(options_.skillId, member);
    case Field::Power:
        return DataExchange::Integer(id, member);
    case Field::Days:
    case Field::Hours:
    case Field::Minutes:
        break;
    }
    return options_.signedDuration ? DataExchange::Integer(id, member) : DataExchange::Positive(id, member);
}

void SpellEffectEditor::SelectEffect(int index)
{
    const SpellEffectInfo v = host_.get(options_.effects[static_cast<std::size_t>(index)].entry);
    values_ = {v.duration.days, v.duration.hours, v.duration.minutes, v.power, v.skill};
    caster_ = v.caster;
    ShowCaster();
    selected_ = index;
    absent_ = v == SpellEffectInfo{};
    Remember();
    ShowSelection();
    host_.showFields();
}

std::vector<int> SpellEffectEditor::FieldIds() const
{
    std::vector<int> ids;
    for (const FieldRow& row : kFields)
        ids.push_back(row.id != 0 ? row.id : options_.skillId);
    return ids;
}

void SpellEffectEditor::CommitSelectedEffect()
{
    // A failed reading does not stop the commit: the fields hold what was read so far.
    host_.readFields();
    StoreSelected();
}

void SpellEffectEditor::StoreSelected()
{
    const SpellEffectInfo v = Value();
    if (selected_ < 0)
        return;
    const auto changed = [this](Field field) { return values_[Index(field)] != shown_[Index(field)]; };
    SpellEffectParts parts{
        .expiry = changed(Field::Days) || changed(Field::Hours) || changed(Field::Minutes),
        .power = changed(Field::Power),
        .skill = changed(Field::Skill),
        .caster = casterList_ != nullptr && caster_ != shownCaster_,
    };
    if (!parts.Any())
        return;
    if (absent_ && parts.expiry) {
        parts = {};
        absent_ = false;
    }
    host_.set(options_.effects[static_cast<std::size_t>(selected_)].entry, v, parts);
    Remember();
    Refresh();
}

void SpellEffectEditor::AddAllEffects()
{
    host_.readFields();
    const SpellEffectInfo v = Value();
    for (const Effect& effect : options_.effects)
        host_.set(effect.entry, v, {});
    absent_ = false;
    Remember();
    Refresh();
}

void SpellEffectEditor::RemoveAllEffects()
{
    for (const Effect& effect : options_.effects)
        host_.set(effect.entry, SpellEffectInfo{}, {});
    values_.fill(0);
    caster_ = 0;
    ShowCaster();
    selected_ = -1;
    Remember();
    ShowSelection();
    Refresh();
    host_.showFields();
}

void SpellEffectEditor::ShowSelection()
{
    // An exclusive group keeps one button pressed: let go of it to show none.
    buttons_->setExclusive(false);
    for (QAbstractButton* button : buttons_->buttons())
        button->setChecked(buttons_->id(button) == selected_);
    buttons_->setExclusive(true);
    noSelection_->setVisible(selected_ < 0);
}

void SpellEffectEditor::Refresh()
{
    for (QAbstractButton* button : buttons_->buttons()) {
        const int index = buttons_->id(button);
        const SpellEffectInfo v = host_.get(options_.effects[static_cast<std::size_t>(index)].entry);
        // The model reads an effect that ended as all zeros.
        const bool inForce = v != SpellEffectInfo{};
        QFont font = button->font();
        font.setBold(inForce);
        button->setFont(font);
        button->setToolTip(inForce ? QStringLiteral("In force: %1 days, %2 hours, %3 minutes left")
                                         .arg(v.duration.days)
                                         .arg(v.duration.hours)
                                         .arg(v.duration.minutes)
                                   : QString());
    }
}

void SpellEffectEditor::Remember()
{
    shown_ = values_;
    shownCaster_ = caster_;
}

SpellEffectInfo SpellEffectEditor::Value()
{
    if (casterList_ != nullptr && casterList_->currentIndex() >= 0)
        caster_ = casterList_->currentIndex();
    const auto at = [this](Field field) { return values_[Index(field)]; };
    return {{at(Field::Days), at(Field::Hours), at(Field::Minutes)}, at(Field::Power), at(Field::Skill), caster_};
}

void SpellEffectEditor::ShowCaster()
{
    if (casterList_ == nullptr)
        return;
    const QSignalBlocker blocker(casterList_);
    casterList_->setCurrentIndex(caster_ >= 0 && caster_ < casterList_->count() ? caster_ : -1);
}
