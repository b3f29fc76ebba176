#include "ui/BuddyLabel.h"

#include <QAbstractButton>
#include <QMouseEvent>

BuddyLabel::BuddyLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{}

void BuddyLabel::mouseReleaseEvent(QMouseEvent* event)
{
    auto* button = qobject_cast<QAbstractButton*>(buddy());
    if (button != nullptr && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        button->setFocus(Qt::MouseFocusReason);
        button->click();
        event->accept();
        return;
    }
    QLabel::mouseReleaseEvent(event);
}
