#include "ui/EditingDialog.h"

#include "ui/WheelGuard.h"

#include <QKeyEvent>
#include <QPushButton>

EditingDialog::EditingDialog(QWidget* parent) : QDialog(parent)
{
    WheelGuard::Install();
}

QPushButton* EditingDialog::DefaultButton() const
{
    for (QPushButton* button : findChildren<QPushButton*>()) {
        if (button->window() == this && button->isDefault() && button->isVisible() && button->isEnabled())
            return button;
    }
    return nullptr;
}

void EditingDialog::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool enter = (event->key() == Qt::Key_Return && modifiers == Qt::NoModifier) ||
                       (event->key() == Qt::Key_Enter && (modifiers & ~Qt::KeypadModifier) == Qt::NoModifier);
    QPushButton* button = enter ? DefaultButton() : nullptr;
    if (button == nullptr) {
        QDialog::keyPressEvent(event);
        return;
    }
    event->accept();
    button->setFocus(Qt::OtherFocusReason);
    button->click();
}
