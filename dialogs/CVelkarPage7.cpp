// CVelkarPage7, the sheet's "Active Spells" tab: the spells in effect on the character.

#include "dialogs/CVelkarPage7.h"

#include "dialogs/SpellEffectEditor.h"

#include "model/SaveGame.h"

#include <QApplication>
#include <QEvent>
#include <QVBoxLayout>

#include <array>
#include <utility>
#include <vector>

namespace {

using Page = CVelkarPage7;
using EffectField = SpellEffectEditor::Field;

// In layout order, row by row; entries are the record's order of the effects.
// clang-format off
constexpr std::array<SpellEffectEditor::Effect, Page::EffectCount> kEffects = {{
    {1168, "Air Res", 0},           {1169, "Bless", 1},           {1170, "Body Res", 2},
    {1171, "Earth Res", 3},         {1172, "Fate", 4},            {1173, "Fire Res", 5},
    {1174, "Hammerhands", 6},       {1175, "Haste", 7},           {1179, "Heroism", 8},
    {1180, "Mind Res", 9},          {1181, "Pain Reflection", 10}, {1203, "Preservation", 11},
    {1182, "Regeneration", 12},     {1183, "Shield", 13},         {1184, "Stoneskin", 14},
    {1185, "Tmp_Accuracy", 15},     {1186, "Tmp_Endurance", 16},  {1195, "Tmp_Intelligence", 17},
    {1196, "Tmp_Luck", 18},         {1197, "Tmp_Might", 19},      {1198, "Tmp_Personality", 20},
    {1199, "Tmp_Speed", 21},        {1200, "Water Res", 22},      {1201, "Water Breathing", 23},
    {1205, "Glamour", 24},          {1206, "Levitation", 25},     {1207, "Mistform", 26},
}};
// clang-format on

constexpr int kButtonColumns = 3;

// The page's exchange order.
constexpr std::array<EffectField, 5> kExchangeOrder = {EffectField::Days, EffectField::Hours, EffectField::Minutes,
                                                       EffectField::Power, EffectField::Skill};

} // namespace

CVelkarPage7::CVelkarPage7(SaveGame& save, int n) : CharacterPage(QStringLiteral("Active Spells"), save, n)
{}

void CVelkarPage7::OnCreate()
{
    const SpellEffectEditor::Options options{kEffects, kButtonColumns, true,       "Minutes:", IdSkill,
                                             0,        IdAddAll,       IdRemoveAll};
    // Only the page's own fields take part: nothing else of the character is read or shown
    // around a commit, a selection or Remove All.
    SpellEffectEditor::Host host{
        [this](int entry) {
            const ActiveSpellInfo v = Game().GetActiveSpell(Number(), entry);
            return SpellEffectInfo{v.duration, v.power, v.skill, 0};
        },
        [this](int entry, const SpellEffectInfo& v, SpellEffectParts parts) {
            Game().SetActiveSpell(Number(), entry, {v.duration, v.power, v.skill}, parts);
        },
        [this] { return ReadFields(); },
        [this] { Exchange().Show(); },
    };
    effects_ = new SpellEffectEditor(options, std::move(host));
    auto* effects = effects_;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(effects);
    layout->addStretch(1);

    std::vector<DataExchange::Binding> bindings;
    for (const EffectField field : kExchangeOrder)
        bindings.push_back(effects->Binding(field));
    Exchange().SetBindings(std::move(bindings));
    // Sees the presses on the tab bar and the sheet's buttons too; removed with the page.
    qApp->installEventFilter(this);
}

void CVelkarPage7::OnSetActive()
{
    // The held values as they were left: the selected effect is not read again.
    Exchange().Show();
    effects_->Refresh();
    SetModified();
}

bool CVelkarPage7::OnKillActive()
{
    // As the focus leaving a field: what is read is stored, even after a failed reading.
    const bool read = ReadFields();
    effects_->StoreSelected();
    return read;
}

void CVelkarPage7::OnApply()
{
    ReadFields();
    effects_->StoreSelected();
}

bool CVelkarPage7::ReadFields()
{
    const bool read = reported_ ? Exchange().Recheck() : Exchange().Read();
    reported_ = !read;
    return read;
}

bool CVelkarPage7::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if ((type == QEvent::MouseButtonPress || type == QEvent::KeyPress) && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == window())
        reported_ = false;
    return false;
}
