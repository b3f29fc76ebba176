#pragma once

#include "dialogs/CharacterPage.h"

#include "model/CharacterLayout.h"

#include <array>

// The "Condition" tab: whether the character has each of the eighteen conditions and how
// long it has lasted, in days and hours counted back from the party clock.
class CVelkarPage6 : public CharacterPage {
    Q_OBJECT

public:
    static constexpr int RowCount = CharacterLayout::ConditionCount;

    CVelkarPage6(SaveGame& save, int n);

protected:
    void OnCreate() override;
    void LoadFromModel() override;
    void StoreToModel() override;

private:
    std::array<int, RowCount> present_{};
    std::array<int, RowCount> days_{};
    std::array<int, RowCount> hours_{};
};
