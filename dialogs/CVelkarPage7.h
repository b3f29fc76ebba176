#pragma once

#include "dialogs/CharacterPage.h"

// The "Active Spells" tab.
class CVelkarPage7 : public CharacterPage {
    Q_OBJECT

public:
    CVelkarPage7(SaveGame& save, int n);
};
