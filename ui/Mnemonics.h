#pragma once

#include <QString>

class QWidget;

// Gives every button and every label with a buddy under a window an Alt-key letter: the first
// letter of its text that no other control of the window uses yet, a word's first letter before
// the others. Texts that carry one already keep it; where no letter is free the first is shared
// (Alt then moves between the controls that share it).
class Mnemonics {
public:
    // reserved: another part of the window whose letters stay taken (a sheet's buttons for
    // one of its pages).
    static void Assign(QWidget& root, const QWidget* reserved = nullptr);
};
