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
    ~FocusLossWatcher() override;
    FocusLossWatcher(const FocusLossWatcher&) = delete;
    FocusLossWatcher& operator=(const FocusLossWatcher&) = delete;

    void Watch(QWidget* control, std::function<void()> handler);

    // Runs the handler of the watched control of window that has the focus, as if the focus
    // left it, and leaves the focus where it is: how a confirmation stores the field being
    // typed in. False when that handler showed a warning (its problem is reported once).
    static bool StoreFocused(const QWidget& window);

private:
    void OnFocusChanged(QWidget* old, QWidget* now);
    // The handler watching control, in any watcher, or null.
    static const std::function<void()>* HandlerOf(const QWidget* control);
    static void Run(const std::function<void()>& handler);

    struct Watched {
        QWidget* control;
        std::function<void()> handler;
    };
    std::vector<Watched> watched_;
};
