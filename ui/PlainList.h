#pragma once

#include <QAbstractItemView>
#include <QString>

class QTreeWidget;

// A list of names in one column and without a header (the awards a character holds, the
// party's characters): one entry a row, nothing to expand.
class PlainList {
public:
    // The list with control id id; title names its column, which is width wide.
    static QTreeWidget* Make(int id, const QString& title, int width, QAbstractItemView::SelectionMode mode);
};
