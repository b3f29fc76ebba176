#include "ui/FocusLossWatcher.h"

#include "ui/ErrorGuard.h"

#include <QApplication>
#include <QWidget>

#include <utility>

namespace {

// One user interface thread: one handler at a time across every dialog.
bool running = false;

} // namespace

FocusLossWatcher::FocusLossWatcher()
{
    connect(qApp, &QApplication::focusChanged, this, &FocusLossWatcher::OnFocusChanged);
}

void FocusLossWatcher::Watch(QWidget* control, std::function<void()> handler)
{
    watched_.push_back({control, std::move(handler)});
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
        running = true;
        ErrorGuard::Run(w.handler);
        running = false;
        return;
    }
}
