#pragma once

#include <QObject>

// Keeps the wheel from changing a drop-down list the user is only scrolling past: a list
// takes the wheel only while it has the keyboard focus, and the wheel never gives it the
// focus. Installed once on the application; number boxes do the same on their own.
class WheelGuard : public QObject {
    Q_OBJECT

public:
    // Later calls do nothing.
    static void Install();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
