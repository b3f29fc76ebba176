#include "dialogs/CVelkarSheet.h"

#include "model/SaveGame.h"

#include <memory>

CVelkarSheet::CVelkarSheet(SaveGame& save, int n, const QString& caption, QWidget* parent)
    : PropertySheet(caption, parent), save_(save), n_(n), stats_(save, n), skills_(save, n), spells_(save, n),
      inventory_(save, n), awards_(save, n), condition_(save, n), activeSpells_(save, n)
{
    for (int tab = 0; tab < SheetTabCount; ++tab)
        Add(static_cast<SheetTab>(tab));
    Keep();
}

void CVelkarSheet::Add(SheetTab tab)
{
    // Each page with a measured copy of its own kind, for the sheet's size.
    const auto add = [this]<class Page>(Page& page) {
        AddPage(page, [&save = save_, n = n_] { return std::make_unique<Page>(save, n); });
    };
    switch (tab) {
    case SheetTab::Stats:
        return add(stats_);
    case SheetTab::Condition:
        return add(condition_);
    case SheetTab::Skills:
        return add(skills_);
    case SheetTab::Spells:
        return add(spells_);
    case SheetTab::ActiveSpells:
        return add(activeSpells_);
    case SheetTab::Inventory:
        return add(inventory_);
    case SheetTab::Awards:
        return add(awards_);
    }
}

void CVelkarSheet::Keep()
{
    const auto own = save_.GetCharacterBytes(n_);
    kept_.assign(own.begin(), own.end());
}

void CVelkarSheet::BeforeApply()
{
    save_.CheckWritable();
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
