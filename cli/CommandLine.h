#pragma once

#include <QStringList>

// velkar-cli's dispatcher: the command named first runs with the arguments after it. Exit
// status 0 on success, 1 for a file that cannot be read or written or holds no saved game, 2
// for a command used wrongly (diff --exit-code: 3 when the saved games differ); the reason
// goes to the standard error.
class CommandLine {
public:
    static int Run(const QStringList& arguments);
};
