#pragma once

#include <QStringList>

// `copy-character SRC N DST M`: character N of one saved game over character M of another
// (or the same), its times moved to the target's clock; only character M's bytes are written.
class CopyCommand {
public:
    static int Run(const QStringList& arguments);
};
