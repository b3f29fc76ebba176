#pragma once

#include <QStringList>

// `set SAVE FIELD=VALUE...`: every assignment is checked, then made in the model, and the
// file written once; any bad one leaves the file untouched. Only the fields assigned change.
class SetCommand {
public:
    static int Run(const QStringList& arguments);
};
