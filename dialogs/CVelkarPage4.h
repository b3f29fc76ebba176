#pragma once

#include "dialogs/CharacterPage.h"

// The "Inventory" tab.
class CVelkarPage4 : public CharacterPage {
    Q_OBJECT

public:
    CVelkarPage4(SaveGame& save, int n);
};
