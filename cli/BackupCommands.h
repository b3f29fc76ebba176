#pragma once

#include <QStringList>

// `backups`: the copies kept of a saved game, numbered from the newest. `restore`: one of them
// written back over the saved game, after asking on a terminal or with --yes.
class BackupCommands {
public:
    static int List(const QStringList& arguments);
    static int Restore(const QStringList& arguments);
};
