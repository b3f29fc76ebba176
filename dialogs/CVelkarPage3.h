#pragma once

#include "dialogs/CharacterPage.h"

// The "Spells" tab.
class CVelkarPage3 : public CharacterPage {
    Q_OBJECT

public:
    CVelkarPage3(SaveGame& save, int n);
};
