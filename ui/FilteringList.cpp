#include "ui/FilteringList.h"

#include <QComboBox>
#include <QCompleter>

void FilteringList::Make(QComboBox& list)
{
    list.setEditable(true);
    list.setInsertPolicy(QComboBox::NoInsert);
    QCompleter* completer = list.completer();
    completer->setFilterMode(Qt::MatchContains);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setCompletionMode(QCompleter::PopupCompletion);
}
