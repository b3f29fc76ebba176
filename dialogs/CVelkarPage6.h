#pragma once

#include "dialogs/CharacterPage.h"

// The "Condition" tab.
class CVelkarPage6 : public CharacterPage {
    Q_OBJECT

public:
    CVelkarPage6(SaveGame& save, int n);
};
