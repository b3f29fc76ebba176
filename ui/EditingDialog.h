#pragma once

#include <QDialog>

class QPushButton;

// A dialog whose fields reach the model when they lose the focus and when it is confirmed.
// Enter in a single-line field presses the default button the way the mouse does: the
// focus moves to the button first, so the field's own store runs, then the button clicks.
// The wheel changes only the control that has the keyboard focus.
class EditingDialog : public QDialog {
    Q_OBJECT

public:
    explicit EditingDialog(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPushButton* DefaultButton() const;
};
