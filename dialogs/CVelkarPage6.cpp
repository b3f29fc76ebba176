#include "dialogs/CVelkarPage6.h"

CVelkarPage6::CVelkarPage6(SaveGame& save, int n) : CharacterPage(QStringLiteral("Condition"), save, n) {}
