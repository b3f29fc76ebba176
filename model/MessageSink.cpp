#include "model/MessageSink.h"

#include <iostream>
#include <utility>

namespace {

void WriteToStandardError(std::string_view text)
{
    std::cerr << text << '\n';
}

MessageSink::Handler& Current()
{
    static MessageSink::Handler handler = WriteToStandardError;
    return handler;
}

} // namespace

MessageSink::Handler MessageSink::Install(Handler handler)
{
    if (!handler)
        handler = WriteToStandardError;
    return std::exchange(Current(), std::move(handler));
}

void MessageSink::Show(std::string_view text)
{
    Current()(text);
}
