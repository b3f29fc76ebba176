#pragma once

#include "ui/Messages.h"

#include <QString>
#include <QStringList>

// Collects the messages shown and the questions asked while it lives instead of showing boxes,
// answering each question as told (No unless told otherwise); the sink and the answerer in place
// before are restored on destruction. Used by the tests of every dialog.
class MessageRecorder {
public:
    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    const QStringList& Shown() const { return shown_; }
    const QStringList& Asked() const { return asked_; }
    void Answer(bool yes) { answer_ = yes; }
    void Clear()
    {
        shown_.clear();
        asked_.clear();
    }

private:
    QStringList shown_;
    QStringList asked_;
    bool answer_ = false;
    Messages::Sink previous_;
    Messages::Answerer previousAnswerer_;
};
