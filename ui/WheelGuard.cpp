#include "ui/WheelGuard.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QPointer>

namespace {

// The list a widget belongs to: itself, or the list whose text box it is. Never across a
// window: an open list's popup scrolls as it likes.
QComboBox* ListOf(QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    for (int level = 0; widget != nullptr && level < 2; ++level, widget = widget->parentWidget()) {
        if (auto* list = qobject_cast<QComboBox*>(widget))
            return list;
        if (widget->isWindow())
            break;
    }
    return nullptr;
}

} // namespace

void WheelGuard::Install()
{
    static QPointer<WheelGuard> installed;
    if (installed != nullptr || qApp == nullptr)
        return;
    installed = new WheelGuard;
    installed->setParent(qApp);
    qApp->installEventFilter(installed);
}

bool WheelGuard::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Polish) {
        if (auto* list = qobject_cast<QComboBox*>(watched))
            list->setFocusPolicy(Qt::StrongFocus); // the wheel would otherwise give it the focus first
    } else if (event->type() == QEvent::Wheel) {
        const QComboBox* list = ListOf(watched);
        if (list != nullptr && !list->hasFocus())
            return true;
    }
    return QObject::eventFilter(watched, event);
}
