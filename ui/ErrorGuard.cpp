#include "ui/ErrorGuard.h"

#include "ui/Messages.h"

#include <QString>

#include <exception>

bool ErrorGuard::Run(const std::function<void()>& handler) noexcept
{
    try {
        try {
            handler();
            return true;
        } catch (const std::exception& error) {
            // A FileError carries the system's message and the path, ready to show.
            Messages::Warning(QString::fromLocal8Bit(error.what()));
        }
    } catch (...) {
        // Showing the message failed too; the dialog still carries on.
    }
    return false;
}
