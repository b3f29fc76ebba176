#include "ui/EditingDialog.h"

#include "ui/FocusLossWatcher.h"
#include "ui/WheelGuard.h"

#include <QKeyEvent>
#include <QPushButton>

EditingDialog::EditingDialog(QWidget* parent) : QDialog(parent)
{
    WheelGuard::Install();
}

void EditingDialog::KeepFocusOnClick(QAbstractButton& button)
{
    // Tab still reaches it.
    button.setFocusPolicy(Qt::TabFocus);
}

bool EditingDialog::StoreFieldBeingTyped() const
{
    return FocusLossWatcher::StoreFocused(*this);
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
    // As a click: the button stores the field being typed in itself.
    event->accept();
    button->click();
}
