#pragma once

#include "tests/dialogs/SheetFixture.h"

#include "dialogs/PartyDialog.h"

#include <QString>

#include <cstdint>
#include <memory>

class QComboBox;

// A saved game written by the SaveBuilder and a party dialog on it, driven through real
// input. The file helpers of SheetFixture (Prepare, PatchFile, FileBytes, Expected) are
// used before the dialog opens and to check the file afterwards; the dialog owns its own
// SaveGame.
class PartyDialogFixture : public SheetFixture {
protected:
    void OpenDialog();

    template <class T>
    T* Control(int id) const
    {
        return dialog->Control<T>(id);
    }
    QString Text(int id) const;
    void Type(int id, const QString& text);
    // Opens the chooser's list with the mouse and picks the entry with the keyboard.
    void Choose(int id, int index);
    int Chosen(int id) const;
    QString ChosenText(int id) const;
    void Click(int id);

    static int SpellOffset(int k);

    SaveGame& Game() const { return dialog->Game(); }

    std::unique_ptr<PartyDialog> dialog;
};
