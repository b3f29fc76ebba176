#pragma once

#include "ui/Messages.h"

#include <QString>
#include <QStringList>

// Collects the messages shown while it lives instead of showing boxes; the sink in
// place before is restored on destruction. Used by the tests of every dialog.
class MessageRecorder {
public:
    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    const QStringList& Shown() const { return shown_; }
    void Clear() { shown_.clear(); }

private:
    QStringList shown_;
    Messages::Sink previous_;
};
