#pragma once

#include <QString>

#include <stdexcept>

// A command that cannot go on: its text for the standard error and the program's exit status.
class CliError : public std::runtime_error {
public:
    enum Status { Failure = 1, Usage = 2 };

    CliError(Status status, const QString& text) : std::runtime_error(text.toStdString()), status_(status) {}

    static CliError UsageError(const QString& text) { return {Usage, text}; }
    static CliError FailureError(const QString& text) { return {Failure, text}; }

    Status GetStatus() const noexcept { return status_; }

private:
    Status status_;
};
