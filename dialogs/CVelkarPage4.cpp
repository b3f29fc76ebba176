#include "dialogs/CVelkarPage4.h"

CVelkarPage4::CVelkarPage4(SaveGame& save, int n) : CharacterPage(QStringLiteral("Inventory"), save, n) {}
