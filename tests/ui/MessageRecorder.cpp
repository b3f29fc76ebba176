#include "tests/ui/MessageRecorder.h"

#include <utility>

MessageRecorder::MessageRecorder()
    : previous_(Messages::SetSink([this](const QString& text) { shown_.append(text); })),
      previousAnswerer_(Messages::SetAnswerer([this](const QString& question) {
          asked_.append(question);
          return answer_;
      }))
{}

MessageRecorder::~MessageRecorder()
{
    Messages::SetSink(std::move(previous_));
    Messages::SetAnswerer(std::move(previousAnswerer_));
}
