#include "dialogs/CVelkarPage5.h"

CVelkarPage5::CVelkarPage5(SaveGame& save, int n) : CharacterPage(QStringLiteral("Awards"), save, n) {}
