#include "dialogs/CVelkarSheet.h"

#include "model/SaveGame.h"

#include <memory>

CVelkarSheet::CVelkarSheet(SaveGame& save, int n, const QString& caption, QWidget* parent)
    : PropertySheet(caption, parent), save_(save), n_(n), stats_(save, n), skills_(save, n), spells_(save, n),
      inventory_(save, n), awards_(save, n), condition_(save, n), activeSpells_(save, n)
{
    // By SheetTab, each with a measured copy of its own kind for the sheet's size.
    const auto measure = [&save, n]<class Page>(const Page&) {
        return Measure([&save, n] { return std::make_unique<Page>(save, n); });
    };
    AddPage(stats_, measure(stats_));
    AddPage(condition_, measure(condition_));
    AddPage(skills_, measure(skills_));
    AddPage(spells_, measure(spells_));
    AddPage(activeSpells_, measure(activeSpells_));
    AddPage(inventory_, measure(inventory_));
    AddPage(awards_, measure(awards_));
    static_assert(TabIndex(SheetTab::Awards) == SheetTabCount - 1);
    Keep();
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
