#include "ui/PlainList.h"

#include "ui/ControlId.h"

#include <QHeaderView>
#include <QTreeWidget>

QTreeWidget* PlainList::Make(int id, const QString& title, int width, QAbstractItemView::SelectionMode mode)
{
    auto* list = new QTreeWidget;
    ControlId::Give(list, id);
    list->setHeaderLabels({title});
    list->setColumnWidth(0, width);
    list->header()->setStretchLastSection(false);
    list->header()->hide();
    list->setRootIsDecorated(false);
    list->setSelectionMode(mode);
    return list;
}
