#include "tests/ui/MessageRecorder.h"

#include <utility>

MessageRecorder::MessageRecorder() : previous_(Messages::SetSink([this](const QString& text) { shown_.append(text); }))
{}

MessageRecorder::~MessageRecorder()
{
    Messages::SetSink(std::move(previous_));
}
