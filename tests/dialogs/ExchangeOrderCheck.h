#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <string_view>
#include <vector>

class QWidget;

// A dialog's exchange order as tests/data/exchange-order.txt transcribes it, and the check
// that the dialog reads its fields in that order. For each field with a check, on the dialog
// opened afresh, every field gets a good new value, that field a bad one and so does the
// next checked field after it: reading reports the earlier one and gives it the focus. With
// the later one good again, reading reports the same; then a second view of the model must
// show the new values of the fields before the bad one and the old values of those after it.
class ExchangeOrderCheck {
public:
    struct Field {
        int id = 0;
        QString check; // -, integer, positive, range or length
        int most = 0;  // length: the most characters
        QString name;
    };

    struct Drive {
        // Opens the dialog on the model as it was at the start; returns what holds its controls.
        std::function<QWidget&()> open;
        // Has the dialog read its fields, the way a user makes it (a tab change, OK); returns
        // the messages shown.
        std::function<QStringList()> read;
        // A second view of the model, loaded afresh; none for a dialog that stores nothing
        // when a check fails.
        std::function<QWidget&()> view;
    };

    static std::vector<Field> Transcribed(std::string_view dialog);
    static void Run(std::string_view dialog, const Drive& drive);
};
