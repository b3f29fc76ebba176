#pragma once

#include "dialogs/CharacterPage.h"

#include "model/CharacterLayout.h"

#include <QtGlobal>

#include <array>

// The "Spells" tab: one check box per spell the character can know, read from and written
// to the known-spell flag bytes of the character record. A byte other than 0 and 1 shows
// as the partly checked state and keeps its value until the box is clicked.
class CVelkarPage3 : public CharacterPage {
    Q_OBJECT

public:
    // Every byte of the nine full groups and the first four of the three racial ones.
    static constexpr int BoxCount = CharacterLayout::FirstRacialSpellGroup * CharacterLayout::FullSpellGroupSize +
                                    (CharacterLayout::SpellGroupCount - CharacterLayout::FirstRacialSpellGroup) *
                                        CharacterLayout::RacialSpellGroupSize;
    static_assert(BoxCount == 111);

    CVelkarPage3(SaveGame& save, int n);

protected:
    void OnCreate() override;
    void LoadFromModel() override;
    void StoreToModel() override;

private:
    std::array<Qt::CheckState, BoxCount> shown_{}; // as the boxes were loaded or last stored
};
