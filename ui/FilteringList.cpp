#include "ui/FilteringList.h"

#include "ui/ErrorGuard.h"

#include <QComboBox>
#include <QCompleter>
#include <QLineEdit>

#include <utility>

int FilteringList::Named(const QComboBox& list)
{
    return list.findText(list.currentText(), Qt::MatchFixedString);
}

void FilteringList::Make(QComboBox& list, std::function<void(int entry)> chosen)
{
    list.setEditable(true);
    list.setInsertPolicy(QComboBox::NoInsert);
    QCompleter* completer = list.completer();
    completer->setFilterMode(Qt::MatchContains);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setCompletionMode(QCompleter::PopupCompletion);
    ErrorGuard::Connect(list.lineEdit(), &QLineEdit::editingFinished, &list, [&list, chosen = std::move(chosen)] {
        const int entry = Named(list);
        if (entry >= 0 && entry != list.currentIndex()) {
            list.setCurrentIndex(entry);
            if (chosen)
                chosen(entry);
        } else {
            list.setEditText(list.itemText(list.currentIndex()));
        }
    });
}
