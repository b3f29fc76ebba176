#pragma once

#include "dialogs/CharacterPage.h"

#include "model/CharacterLayout.h"

#include <array>

// The "Skills" tab: every skill as a level and a mastery, composed into the skill word
// of the character record on the way back.
class CVelkarPage2 : public CharacterPage {
    Q_OBJECT

public:
    static constexpr int RowCount = CharacterLayout::SkillSlotCount - 1; // slot 36 has no skill
    static constexpr int LevelMinimum = 0;
    static constexpr int LevelMaximum = 63;

    CVelkarPage2(SaveGame& save, int n);

protected:
    void OnCreate() override;
    void LoadFromModel() override;
    void StoreToModel() override;

private:
    std::array<int, RowCount> levels_{};
    std::array<int, RowCount> masteries_{}; // list positions 0..3
};
