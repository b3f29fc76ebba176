// CVelkarPage5, the sheet's "Awards" tab: the awards the character holds.

#include "dialogs/CVelkarPage5.h"

#include "text/TextCodec.h"
#include "ui/ControlId.h"
#include "ui/ErrorGuard.h"
#include "ui/FilteringList.h"
#include "ui/Messages.h"
#include "ui/PlainList.h"

#include "model/AwardTable.h"
#include "model/SaveGame.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTreeWidget>

#include <array>
#include <string>
#include <vector>

namespace {

using Page = CVelkarPage5;

// The award number each chooser entry and list row carries.
constexpr int kAwardRole = Qt::UserRole;

// Layout: the chooser row above the list, the buttons in the right-hand column.
struct Button {
    int id;
    const char* text;
    void (Page::*run)();
    int row;
};

constexpr int kChooserWidth = 420;
constexpr int kListHeight = 260;
constexpr int kChooserVisibleItems = 20;

int AwardOf(const QTreeWidgetItem& row)
{
    return row.data(0, kAwardRole).toInt();
}

} // namespace

CVelkarPage5::CVelkarPage5(SaveGame& save, int n) : CharacterPage(QStringLiteral("Awards"), save, n)
{}

void CVelkarPage5::OnCreate()
{
    const std::array<Button, 2> buttons = {{
        {IdAdd, "Add", &Page::Add, 0},
        {IdDelete, "Delete", &Page::Delete, 1},
    }};

    auto* chooser = new QComboBox;
    ControlId::Give(chooser, IdChooser);
    std::vector<std::string> texts;
    Game().GetAwardTable().GetAwardTextList(texts);
    for (std::size_t a = 0; a < texts.size(); ++a) {
        if (!texts[a].empty())
            chooser->addItem(Codec().ToText(texts[a]), static_cast<int>(a));
    }
    chooser->setCurrentIndex(0);
    FilteringList::Make(*chooser);
    // The longest texts would make the page far too wide: the box is as wide as the list,
    // and its popup as wide as the longest text.
    chooser->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    chooser->setFixedWidth(kChooserWidth);
    chooser->setMaxVisibleItems(kChooserVisibleItems);
    QAbstractItemView* popup = chooser->view();
    popup->setMinimumWidth(popup->sizeHintForColumn(0) + popup->verticalScrollBar()->sizeHint().width());
    auto* label = new QLabel(QStringLiteral("Awards:"));
    label->setBuddy(chooser);

    auto* list =
        PlainList::Make(IdAwards, QStringLiteral("Quests"), QuestsColumnWidth, QAbstractItemView::ExtendedSelection);
    list->setFixedWidth(kChooserWidth);
    list->setMinimumHeight(kListHeight);
    ErrorGuard::Connect(list, &QTreeWidget::itemSelectionChanged, this, [this] { ShowSelectedInChooser(); });

    auto* grid = new QGridLayout(this);
    grid->addWidget(label, 0, 0);
    grid->addWidget(chooser, 0, 1);
    grid->addWidget(list, 1, 1, static_cast<int>(buttons.size()) + 1, 1);
    for (const Button& b : buttons) {
        auto* button = new QPushButton(QString::fromLatin1(b.text));
        ControlId::Give(button, b.id);
        grid->addWidget(button, b.row, 2, Qt::AlignTop);
        ErrorGuard::Connect(button, &QPushButton::clicked, this, [this, run = b.run] { (this->*run)(); });
    }
    grid->setRowStretch(static_cast<int>(buttons.size()) + 1, 1);
    grid->setColumnStretch(3, 1);
}

void CVelkarPage5::LoadFromModel()
{
    RefreshAwardList();
}

void CVelkarPage5::RefreshAwardList()
{
    auto* list = Control<QTreeWidget>(IdAwards);
    // Rebuilding the list is not the user choosing rows.
    const QSignalBlocker blocker(list);
    list->clear();
    QList<QTreeWidgetItem*> rows;
    const SaveGame& game = Game();
    for (int a = 0; game.GetAward(Number(), a) != -1; ++a) {
        if (game.GetAward(Number(), a) == 0)
            continue;
        const QString text = Codec().ToText(game.GetAwardTable().GetAwardText(a).value_or(""));
        auto* row = new QTreeWidgetItem(QStringList{text});
        row->setData(0, kAwardRole, a);
        // The column is narrower than the longest texts.
        row->setToolTip(0, text);
        rows.append(row);
    }
    list->addTopLevelItems(rows);
    // Laid out before its first paint, not after it: a list filled on its first showing would
    // otherwise paint twice.
    list->doItemsLayout();
}

void CVelkarPage5::Add()
{
    // The entry whose text the box shows: a text typed to filter names none until one is picked.
    const auto* chooser = Control<QComboBox>(IdChooser);
    const int entry = FilteringList::Named(*chooser);
    const QVariant award = entry >= 0 ? chooser->itemData(entry, kAwardRole) : QVariant();
    if (!award.isValid()) {
        Messages::Warning(QString::fromLatin1(NoAwardMessage));
        return;
    }
    Game().SetAward(Number(), award.toInt());
    RefreshAwardList();
}

void CVelkarPage5::Delete()
{
    const auto* list = Control<QTreeWidget>(IdAwards);
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem& row = *list->topLevelItem(i);
        if (row.isSelected())
            Game().ClearAward(Number(), AwardOf(row));
    }
    RefreshAwardList();
}

void CVelkarPage5::ShowSelectedInChooser()
{
    const auto* list = Control<QTreeWidget>(IdAwards);
    const QTreeWidgetItem* first = nullptr;
    for (int i = 0; i < list->topLevelItemCount() && first == nullptr; ++i) {
        if (list->topLevelItem(i)->isSelected())
            first = list->topLevelItem(i);
    }
    if (first == nullptr)
        return;
    // The entry whose text begins with the row's, from the second entry on and then the
    // first; the empty text of award 0 thus finds the second entry.
    auto* chooser = Control<QComboBox>(IdChooser);
    const QString text = first->text(0);
    const int count = chooser->count();
    for (int k = 0; k < count; ++k) {
        const int index = (k + 1) % count;
        if (chooser->itemText(index).startsWith(text)) {
            chooser->setCurrentIndex(index);
            return;
        }
    }
}
