#include "dialogs/CVelkarPage3.h"

CVelkarPage3::CVelkarPage3(SaveGame& save, int n) : CharacterPage(QStringLiteral("Spells"), save, n) {}
