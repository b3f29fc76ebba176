#include "dialogs/CVelkarPage2.h"

CVelkarPage2::CVelkarPage2(SaveGame& save, int n) : CharacterPage(QStringLiteral("Skills"), save, n) {}
