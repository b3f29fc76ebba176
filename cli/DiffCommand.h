#pragma once

#include <QStringList>

// `diff A B`: what differs between two saved games, one line per field by the paths of
// `show --json`, then the bytes outside every field. It only reads.
class DiffCommand {
public:
    static constexpr int Differ = 3; // the exit status with --exit-code when they differ

    static int Run(const QStringList& arguments);
};
