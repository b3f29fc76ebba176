#pragma once

#include <QMetaObject>
#include <QObject>

#include <functional>
#include <stdexcept>
#include <type_traits>
#include <utility>

// Runs an event handler so that no exception crosses a Qt signal or event
// boundary: a failure becomes a message box and the dialog carries on.
class ErrorGuard {
public:
    // True when the handler ran to its end.
    static bool Run(const std::function<void()>& handler) noexcept;

    // A std::logic_error is a fault of the program (a table naming no control, say), not of
    // the file: shown like any other error unless a handler is set. The tests set one that
    // fails the test. Returns the previous handler.
    using LogicErrorHandler = std::function<void(const std::logic_error& error)>;
    static LogicErrorHandler SetLogicErrorHandler(LogicErrorHandler handler);

    // Connects a signal to a handler that runs inside Run(). The handler takes the signal's
    // arguments, or none.
    template <class Sender, class Signal, class Handler>
    static QMetaObject::Connection Connect(const Sender* sender, Signal signal, const QObject* context, Handler handler)
    {
        return QObject::connect(sender, signal, context, [handler = std::move(handler)](const auto&... arguments) {
            Run([&] {
                if constexpr (std::is_invocable_v<const Handler&, decltype(arguments)...>)
                    handler(arguments...);
                else
                    handler();
            });
        });
    }
};
