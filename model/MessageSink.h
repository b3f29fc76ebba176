#pragma once

#include <functional>
#include <string_view>

// The model's few messages to the user ("Invalid save game file.") go through one
// callback: the GUI installs a message box, tests install a recorder.
class MessageSink {
public:
    using Handler = std::function<void(std::string_view)>;

    // Installs handler and returns the one it replaces; an empty handler restores the default.
    static Handler Install(Handler handler);
    static void Show(std::string_view text);
};
