#pragma once

#include <QObject>

#include <functional>
#include <vector>

class QWidget;

// Runs a control's handler when the focus leaves it for another control of the same
// window. A popup list opening, a message box appearing or the window being deactivated
// is no leaving. While one handler runs (in any watcher) no other starts, so a handler
// that shows a message or moves the focus itself never triggers another.
//
// Keep the watcher a member of the dialog, not a child object: it must stop before the
// dialog's controls are destroyed.
class FocusLossWatcher : public QObject {
    Q_OBJECT

public:
    FocusLossWatcher();

    void Watch(QWidget* control, std::function<void()> handler);

private:
    void OnFocusChanged(QWidget* old, QWidget* now);

    struct Watched {
        QWidget* control;
        std::function<void()> handler;
    };
    std::vector<Watched> watched_;
};
