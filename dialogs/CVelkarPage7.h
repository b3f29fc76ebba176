#pragma once

#include "dialogs/CharacterPage.h"

#include "model/CharacterLayout.h"

// The "Active Spells" tab: the 27 spells in effect on the character, edited one at a time
// with the spell-effect editor the party dialog uses, without a caster. Effects reach the
// model through the editor (a field left, Add All, Remove All) and when the page is left or
// applied, which store the selected effect's changed fields; activation reads no effect.
class SpellEffectEditor;

class CVelkarPage7 : public CharacterPage {
    Q_OBJECT

public:
    // Control ids besides the editor's own fields.
    enum : int {
        IdSkill = 1177,
        IdAddAll = 1202,
        IdRemoveAll = 1204,
    };

    static constexpr int EffectCount = CharacterLayout::ActiveSpellCount;

    CVelkarPage7(SaveGame& save, int n);

protected:
    void OnCreate() override;
    void OnSetActive() override;
    bool OnKillActive() override;
    void OnApply() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Reads the fields into the held values. One click can read them up to three times (the
    // field's focus loss, the focus moving with the tab switch, the leaving check); a failure
    // is reported once per press of a key or button in the sheet, later readings only put the
    // focus back on the field.
    bool ReadFields();

    bool reported_ = false;
    SpellEffectEditor* effects_ = nullptr;
};
