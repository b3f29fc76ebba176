#pragma once

#include "dialogs/CharacterPage.h"

#include <array>

// The "Spells" tab: one check box per spell the character can know, read from and written
// to the known-spell flag bytes of the character record.
class CVelkarPage3 : public CharacterPage {
    Q_OBJECT

public:
    static constexpr int BoxCount = 111;

    CVelkarPage3(SaveGame& save, int n);

protected:
    void OnCreate() override;
    void LoadFromModel() override;
    void StoreToModel() override;

private:
    std::array<int, BoxCount> flags_{}; // 0, 1, or 2 for the partly checked state
};
