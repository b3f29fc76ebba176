#pragma once

#include <QDialog>

class QAbstractButton;
class QPushButton;

// A dialog whose fields reach the model when they lose the focus and when it is confirmed.
// However OK or Apply is pressed (a click, Enter on the default button, its Alt-key letter),
// the field being typed in stays focused and the confirmation stores it first, once; Cancel
// and Escape store nothing. The wheel changes only the control that has the keyboard focus.
class EditingDialog : public QDialog {
    Q_OBJECT

public:
    explicit EditingDialog(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;

    // For OK, Apply and Cancel: a click leaves the focus in the field, so that leaving it
    // stores nothing on its own.
    static void KeepFocusOnClick(QAbstractButton& button);
    // Run first by OK and Apply: stores the focused field as leaving it would. False when that
    // failed; its message has been shown and the confirmation goes no further.
    bool StoreFieldBeingTyped() const;

private:
    QPushButton* DefaultButton() const;
};
