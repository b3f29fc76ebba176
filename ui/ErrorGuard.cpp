#include "ui/ErrorGuard.h"

#include "ui/Messages.h"

#include <QString>

#include <exception>
#include <utility>

namespace {

ErrorGuard::LogicErrorHandler& LogicErrors()
{
    static ErrorGuard::LogicErrorHandler handler;
    return handler;
}

} // namespace

ErrorGuard::LogicErrorHandler ErrorGuard::SetLogicErrorHandler(LogicErrorHandler handler)
{
    return std::exchange(LogicErrors(), std::move(handler));
}

bool ErrorGuard::Run(const std::function<void()>& handler) noexcept
{
    try {
        try {
            handler();
            return true;
        } catch (const std::logic_error& error) {
            if (LogicErrors())
                LogicErrors()(error);
            else
                Messages::Warning(QString::fromLocal8Bit(error.what()));
        } catch (const std::exception& error) {
            // A FileError carries the system's message and the path, ready to show.
            Messages::Warning(QString::fromLocal8Bit(error.what()));
        }
    } catch (...) {
        // Showing the message failed too; the dialog still carries on.
    }
    return false;
}
