#include "dialogs/CVelkarSheet.h"

#include "model/SaveGame.h"

#include <array>

CVelkarSheet::CVelkarSheet(SaveGame& save, int n, const QString& caption, QWidget* parent)
    : PropertySheet(caption, parent), save_(save), n_(n), stats_(save, n), skills_(save, n), spells_(save, n),
      inventory_(save, n), awards_(save, n), condition_(save, n), activeSpells_(save, n)
{
    // By SheetTab.
    const std::array<PropertyPage*, SheetTabCount> tabs = {&stats_,        &condition_, &skills_, &spells_,
                                                           &activeSpells_, &inventory_, &awards_};
    static_assert(TabIndex(SheetTab::Awards) == SheetTabCount - 1);
    for (PropertyPage* page : tabs)
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
