#pragma once

#include "dialogs/CharacterPage.h"

// The "Awards" tab: the awards the character holds, one row each, and a chooser of every
// award to add from. Every change goes to the model at once; the list is rebuilt from it.
class CVelkarPage5 : public CharacterPage {
    Q_OBJECT

public:
    // Control ids.
    enum : int {
        IdAwards = 1099,
        IdAdd = 1100,
        IdChooser = 1101,
        IdDelete = 1120,
    };

    static constexpr int QuestsColumnWidth = 400;
    static constexpr const char* NoAwardMessage = "Choose an award from the list to add.";

    CVelkarPage5(SaveGame& save, int n);

protected:
    void OnCreate() override;
    // Nothing waits to be stored: the page only rebuilds its list and saves at Apply.
    void LoadFromModel() override;

private:
    void RefreshAwardList();
    void Add();
    void Delete();
    void ShowSelectedInChooser();
};
