#include "dialogs/CVelkarSheet.h"

#include <array>

CVelkarSheet::CVelkarSheet(SaveGame& save, int n, const QString& caption, QWidget* parent)
    : PropertySheet(caption, parent), stats_(save, n), skills_(save, n), spells_(save, n), inventory_(save, n),
      awards_(save, n), condition_(save, n), activeSpells_(save, n)
{
    const std::array<PropertyPage*, 7> tabOrder = {&stats_,        &condition_, &skills_, &spells_,
                                                   &activeSpells_, &inventory_, &awards_};
    for (PropertyPage* page : tabOrder)
        AddPage(*page);
}
