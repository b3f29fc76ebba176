#pragma once

#include "dialogs/CharacterPage.h"

// The "Awards" tab.
class CVelkarPage5 : public CharacterPage {
    Q_OBJECT

public:
    CVelkarPage5(SaveGame& save, int n);
};
