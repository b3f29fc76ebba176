#pragma once

#include <QObject>
#include <QString>
#include <QWidget>

// A control's numeric id, as a dialog template gave it, is its object name in decimal
// ("1010" for Might). Dialogs, their exchange tables and the tests find controls by it.
class ControlId {
public:
    template <class T>
    static T* Give(T* control, int id)
    {
        control->setObjectName(QString::number(id));
        return control;
    }

    // The control with this id among owner's descendants, or null.
    template <class T>
    static T* Find(const QObject& owner, int id)
    {
        return owner.findChild<T*>(QString::number(id));
    }
};
