#pragma once

#include <QString>

class QWidget;

// Gives every button and every label with a buddy under a window an Alt-key letter: the first
// letter of its text that no other control of the window uses yet, a word's first letter before
// the others. Texts that carry one already keep it. No letter is ever shared: where none is
// free the control goes without, and controls that give way are served last.
class Mnemonics {
public:
    // reserved: another part of the window whose letters stay taken (a sheet's buttons for
    // one of its pages).
    static void Assign(QWidget& root, const QWidget* reserved = nullptr);

    // One of many like controls (effect buttons, spell boxes, skill labels): it gets a letter
    // only when every other control has had its pick.
    static void GiveWay(QWidget& control);
};
