#pragma once

#include "dialogs/CVelkarPage1.h"
#include "dialogs/CVelkarPage2.h"
#include "dialogs/CVelkarPage3.h"
#include "dialogs/CVelkarPage4.h"
#include "dialogs/CVelkarPage5.h"
#include "dialogs/CVelkarPage6.h"
#include "dialogs/CVelkarPage7.h"

#include "ui/PropertySheet.h"

#include <cstdint>
#include <vector>

class SaveGame;

// The sheet's tabs in the order they stand. The page classes are numbered apart from it:
// Stats CVelkarPage1, Condition CVelkarPage6, Skills CVelkarPage2, Spells CVelkarPage3,
// Active Spells CVelkarPage7, Inventory CVelkarPage4, Awards CVelkarPage5.
enum class SheetTab { Stats, Condition, Skills, Spells, ActiveSpells, Inventory, Awards };
inline constexpr int SheetTabCount = 7;
static_assert(static_cast<int>(SheetTab::Awards) == SheetTabCount - 1);

constexpr int TabIndex(SheetTab tab)
{
    return static_cast<int>(tab);
}

// The character sheet: one character of the open saved game on seven tabs.
//
// OK and Apply store every page that was shown, then write the character's own bytes, and
// only those, into the file. Cancel (and Escape, and closing the window) puts the character
// back as it was when the sheet opened or at the last Apply, whatever the pages stored
// meanwhile (leaving a tab, the portrait, items, awards, spell effects).
class CVelkarSheet : public PropertySheet {
    Q_OBJECT

public:
    CVelkarSheet(SaveGame& save, int n, const QString& caption, QWidget* parent = nullptr);

    void reject() override;

protected:
    void BeforeApply() override;
    void OnApplied() override;

private:
    // The tab's page, added in the tab's place: a tab without its page does not compile.
    void Add(SheetTab tab);
    void Keep();

    SaveGame& save_;
    int n_;
    std::vector<std::uint8_t> kept_; // the character's own bytes as the file has them

    CVelkarPage1 stats_;
    CVelkarPage2 skills_;
    CVelkarPage3 spells_;
    CVelkarPage4 inventory_;
    CVelkarPage5 awards_;
    CVelkarPage6 condition_;
    CVelkarPage7 activeSpells_;
};
