#pragma once

#include "dialogs/CharacterPage.h"

// The "Skills" tab.
class CVelkarPage2 : public CharacterPage {
    Q_OBJECT

public:
    CVelkarPage2(SaveGame& save, int n);
};
