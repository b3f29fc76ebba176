#include "dialogs/CVelkarSheet.h"

#include "SaveGame.h"

#include <array>

CVelkarSheet::CVelkarSheet(SaveGame& save, int n, const QString& caption, QWidget* parent)
    : PropertySheet(caption, parent), save_(save), n_(n), stats_(save, n), skills_(save, n), spells_(save, n), inventory_(save, n),
      awards_(save, n), condition_(save, n), activeSpells_(save, n)
{
    const std::array<PropertyPage*, 7> tabOrder = {&stats_,        &condition_, &skills_, &spells_,
                                                   &activeSpells_, &inventory_, &awards_};
    for (PropertyPage* page : tabOrder)
        AddPage(*page);
    Keep();
}

void CVelkarSheet::Keep()
{
    const auto own = save_.GetCharacterBytes(n_);
    kept_.assign(own.begin(), own.end());
}

void CVelkarSheet::OnApplied()
{
    save_.SaveCharacter(n_);
    Keep();
}

void CVelkarSheet::reject()
{
    save_.RestoreCharacterBytes(n_, kept_);
    PropertySheet::reject();
}
