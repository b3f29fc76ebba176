#include "dialogs/CVelkarPage7.h"

CVelkarPage7::CVelkarPage7(SaveGame& save, int n) : CharacterPage(QStringLiteral("Active Spells"), save, n) {}
