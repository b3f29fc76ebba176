#pragma once

#include <QStringList>

// `show SAVE`: the party and the characters, as a summary or as one JSON document. It only
// reads: the file is never written.
class ShowCommand {
public:
    static int Run(const QStringList& arguments);
};
