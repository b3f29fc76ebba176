#include "ui/FocusLossWatcher.h"

#include "ui/ErrorGuard.h"
#include "ui/Messages.h"

#include <QApplication>
#include <QWidget>

#include <algorithm>
#include <utility>

namespace {

// One user interface thread: one handler at a time across every dialog.
bool running = false;

std::vector<const FocusLossWatcher*>& Watchers()
{
    static std::vector<const FocusLossWatcher*> watchers;
    return watchers;
}

} // namespace

FocusLossWatcher::FocusLossWatcher()
{
    Watchers().push_back(this);
    ErrorGuard::Connect(qApp, &QApplication::focusChanged, this,
                        [this](QWidget* old, QWidget* now) { OnFocusChanged(old, now); });
}

FocusLossWatcher::~FocusLossWatcher()
{
    std::erase(Watchers(), this);
}

void FocusLossWatcher::Watch(QWidget* control, std::function<void()> handler)
{
    watched_.push_back({control, std::move(handler)});
}

const std::function<void()>* FocusLossWatcher::HandlerOf(const QWidget* control)
{
    for (const FocusLossWatcher* watcher : Watchers()) {
        for (const Watched& w : watcher->watched_) {
            if (w.control == control)
                return &w.handler;
        }
    }
    return nullptr;
}

void FocusLossWatcher::Run(const std::function<void()>& handler)
{
    running = true;
    ErrorGuard::Run(handler);
    running = false;
}

void FocusLossWatcher::OnFocusChanged(QWidget* old, QWidget* now)
{
    if (running || old == nullptr || now == nullptr)
        return;
    for (const Watched& w : watched_) {
        if (w.control != old)
            continue;
        // Popups and message boxes are windows of their own.
        if (now->window() != old->window())
            return;
        Run(w.handler);
        return;
    }
}

bool FocusLossWatcher::StoreFocused(const QWidget& window)
{
    const QWidget* focus = QApplication::focusWidget();
    if (running || focus == nullptr || focus->window() != &window)
        return true;
    const std::function<void()>* handler = HandlerOf(focus);
    if (handler == nullptr)
        return true;
    const int warnings = Messages::WarningCount();
    Run(*handler);
    return Messages::WarningCount() == warnings;
}
