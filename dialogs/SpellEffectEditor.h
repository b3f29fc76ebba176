#pragma once

#include "ui/DataExchange.h"
#include "ui/FocusLossWatcher.h"

#include "model/SaveGame.h"

#include <QWidget>

#include <array>
#include <functional>
#include <span>
#include <vector>

class QButtonGroup;
class QComboBox;
class QGridLayout;
class QLabel;

// The editor of a set of spell effects: one push button per effect, the time left,
// power, skill and (for party effects) caster of the selected one, Add All and Remove
// All. The party dialog and the "Active Spells" tab differ only in the Options and Host
// they give it.
//
// The editor holds the values of its fields; its owner exchanges them with the controls
// through its own DataExchange table, in which it places Binding(field) where its
// exchange order puts each field. A commit writes only what the user changed in the
// selected effect; Add All and Remove All write every member of every effect. A selection
// and Remove All show the editor's fields again and nothing else of the owner's.
class SpellEffectEditor : public QWidget {
    Q_OBJECT

public:
    // Control ids shared by every use.
    enum : int {
        IdDays = 1159,
        IdHours = 1161,
        IdMinutes = 1163,
        IdPower = 1165,
    };

    enum class Field { Days, Hours, Minutes, Power, Skill };

    struct Effect {
        int id; // its button
        const char* label;
        int entry; // the model's effect number
    };

    struct Options {
        std::span<const Effect> effects; // in layout order, row by row; must outlive the editor
        int buttonColumns;
        bool signedDuration; // false: days, hours, minutes take no sign
        const char* minutesLabel;
        int skillId;
        int casterId; // 0: no caster chooser
        int addAllId;
        int removeAllId;
    };

    // What the owner does for the editor. The caster is ignored where there is none; set
    // writes only the members parts names.
    struct Host {
        std::function<SpellEffectInfo(int entry)> get;
        std::function<void(int entry, const SpellEffectInfo& value, SpellEffectParts parts)> set;
        // Before a commit or Add All: read the editor's fields (and whatever else the owner
        // stores then); false when a field failed its check.
        std::function<bool()> readFields;
        // After a selection or Remove All: show the editor's fields (FieldIds()).
        std::function<void()> showFields;
    };

    SpellEffectEditor(const Options& options, Host host, QWidget* parent = nullptr);

    DataExchange::Binding Binding(Field field);
    // The ids of the fields Binding() binds.
    std::vector<int> FieldIds() const;

    // Writes what the user changed in the selected effect's fields, as the owner last read
    // them: the owner's OK, Apply and leaving store it so.
    void StoreSelected();

    // Marks the effects in force (bold, the time left in the tooltip) as the model now has
    // them; the owner calls it after it loads, the editor after every change it makes.
    void Refresh();

    static constexpr const char* NoSelectionNote = "No effect selected: these values are used by Add All only.";

private:
    // Run by the effect buttons, the focus leaving a field, Add All and Remove All.
    void SelectEffect(int index);
    // Reads the fields through the host, then stores the selected effect.
    void CommitSelectedEffect();
    void AddAllEffects();
    void RemoveAllEffects();

    void BuildControls();
    // The effect's fields and, where the options name one, its caster.
    void BuildFields(QGridLayout& fields);
    // The fields as one value; a caster chooser without a selection keeps the caster as read.
    SpellEffectInfo Value();
    void ShowCaster();
    // The fields as they now are become what a commit compares against.
    void Remember();
    // The selected effect's button stays pressed; the note shows while none is.
    void ShowSelection();

    static constexpr int FieldCount = 5;

    Options options_;
    Host host_;
    std::array<int, FieldCount> values_{}; // by Field
    int caster_ = 0;
    // The selected effect as shown: a commit writes only the members that differ from it,
    // so an effect nobody retimed keeps its expiry to the tick.
    std::array<int, FieldCount> shown_{};
    int shownCaster_ = 0;
    // An effect not in force shows zeros whatever its other bytes hold: given a time, it is
    // written whole, as shown.
    bool absent_ = false;
    int selected_ = -1; // index into Options::effects
    QComboBox* casterList_ = nullptr;
    QButtonGroup* buttons_ = nullptr;
    QLabel* noSelection_ = nullptr;
    FocusLossWatcher focusLoss_;
};
