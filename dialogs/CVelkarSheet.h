#pragma once

#include "dialogs/CVelkarPage1.h"
#include "dialogs/CVelkarPage2.h"
#include "dialogs/CVelkarPage3.h"
#include "dialogs/CVelkarPage4.h"
#include "dialogs/CVelkarPage5.h"
#include "dialogs/CVelkarPage6.h"
#include "dialogs/CVelkarPage7.h"

#include "ui/PropertySheet.h"

class SaveGame;

// The character sheet: one character of the open saved game on seven tabs. The page
// classes are numbered apart from the tab order, which is Stats, Condition, Skills,
// Spells, Active Spells, Inventory, Awards.
class CVelkarSheet : public PropertySheet {
    Q_OBJECT

public:
    CVelkarSheet(SaveGame& save, int n, const QString& caption, QWidget* parent = nullptr);

private:
    CVelkarPage1 stats_;
    CVelkarPage2 skills_;
    CVelkarPage3 spells_;
    CVelkarPage4 inventory_;
    CVelkarPage5 awards_;
    CVelkarPage6 condition_;
    CVelkarPage7 activeSpells_;
};
