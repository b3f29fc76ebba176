#pragma once

#include <functional>

// Runs an event handler so that no exception crosses a Qt signal or event
// boundary: a failure becomes a message box and the dialog carries on.
class ErrorGuard {
public:
    // True when the handler ran to its end.
    static bool Run(const std::function<void()>& handler) noexcept;
};
