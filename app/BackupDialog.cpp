#include "app/BackupDialog.h"

#include "game/PathText.h"
#include "game/SaveComparison.h"
#include "model/Container.h"
#include "text/TextCodec.h"
#include "ui/ControlId.h"
#include "ui/ErrorGuard.h"
#include "ui/Messages.h"
#include "ui/Mnemonics.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <array>
#include <system_error>

namespace {

struct ButtonRow {
    int id;
    const char* text;
    void (BackupDialog::*handler)(); // null: closes the dialog
};

// clang-format off
constexpr std::array<ButtonRow, 4> kButtons{{
    {BackupDialog::IdRestore, "Restore", &BackupDialog::Restore},
    {BackupDialog::IdCompare, "Compare...", &BackupDialog::Compare},
    {BackupDialog::IdShowFolder, "Show Folder", &BackupDialog::ShowFolder},
    {BackupDialog::IdClose, "Close", nullptr},
}};
// clang-format on

// A line of the comparison in the list's three columns: field, copy, now.
QStringList Columns(const SaveComparison::Line& line)
{
    using Kind = SaveComparison::Line::Kind;
    if (line.kind == Kind::OtherBytes)
        return {line.path, line.Text().mid(line.path.size() + 2), QString()};
    const QString now = line.Side(line.b);
    return {line.path, line.Side(line.a),
            line.kind == Kind::SameBytes ? QStringLiteral("%1 (its stored bytes differ)").arg(now) : now};
}

} // namespace

BackupDialog::BackupDialog(const std::filesystem::path& save, const TextCodec& codec, const GameWords& words,
                           QWidget* parent)
    : QDialog(parent), save_(save), codec_(codec), words_(words)
{
    setWindowTitle(QStringLiteral("Backups of %1").arg(PathText::FileName(save_)));
    list_ = ControlId::Give(new QTreeWidget(this), IdList);
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setHeaderLabels({QStringLiteral("Time"), QStringLiteral("Name"), QStringLiteral("Size")});
    // The time and the size always show whole; the name takes the rest of the width.
    list_->header()->setStretchLastSection(false);
    list_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    list_->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    list_->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    const QFontMetrics metrics = list_->fontMetrics();
    list_->setMinimumSize(metrics.horizontalAdvance(QStringLiteral("0000-00-00 00:00:00 Name of a saved game")) +
                              metrics.horizontalAdvance(QStringLiteral("000,000 KB")) + 60,
                          220);

    auto* buttons = new QVBoxLayout;
    for (const ButtonRow& row : kButtons) {
        auto* button = ControlId::Give(new QPushButton(QString::fromLatin1(row.text), this), row.id);
        buttons->addWidget(button);
        if (row.handler == nullptr) {
            ErrorGuard::Connect(button, &QPushButton::clicked, this, [this] { reject(); });
            continue;
        }
        const auto handler = row.handler;
        ErrorGuard::Connect(button, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
    }
    buttons->addStretch(1);

    // The differences show below the copies once asked for; Restore stays beside them.
    compared_ = new QLabel(this);
    differences_ = ControlId::Give(new QTreeWidget(this), IdDifferences);
    differences_->setRootIsDecorated(false);
    differences_->setHeaderLabels({QStringLiteral("Field"), QStringLiteral("Copy"), QStringLiteral("Now")});
    differences_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    differences_->setMinimumHeight(200);
    auto* lists = new QVBoxLayout;
    lists->addWidget(list_, 1);
    lists->addWidget(compared_);
    lists->addWidget(differences_, 2);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(lists, 1);
    layout->addLayout(buttons);
    Mnemonics::Assign(*this);
    FillList();
}

void BackupDialog::FillList()
{
    entries_ = Backups::NewestFirst(save_);
    list_->clear();
    for (const Backups::Entry& entry : entries_) {
        auto* item = new QTreeWidgetItem(list_);
        item->setText(0, Backups::Label(entry));
        item->setText(1, codec_.ToText(ReadSaveName(entry.path).value_or(std::string())));
        item->setText(2, QStringLiteral("%L1 KB").arg((entry.size + 1023) / 1024));
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    }
    if (list_->topLevelItemCount() > 0)
        list_->setCurrentItem(list_->topLevelItem(0));
    // A comparison made before would name a copy by its old place or the file as it was.
    compared_->hide();
    differences_->hide();
    std::error_code error;
    ControlId::Find<QPushButton>(*this, IdShowFolder)
        ->setEnabled(std::filesystem::is_directory(Backups::FolderFor(save_), error));
}

void BackupDialog::Restore()
{
    const int row = list_->indexOfTopLevelItem(list_->currentItem());
    if (row < 0)
        return;
    const Backups::Entry entry = entries_[static_cast<std::size_t>(row)];
    Backups::CheckSavedGame(entry.path);
    if (!Messages::Question(QStringLiteral("Replace %1 with the backup of %2? The current file is backed up first.")
                                .arg(PathText::FileName(save_), Backups::Label(entry))))
        return;
    Backups::Restore(save_, entry.path);
    restored_ = true;
    FillList();
}

void BackupDialog::Compare()
{
    const int row = list_->indexOfTopLevelItem(list_->currentItem());
    if (row < 0)
        return;
    const Backups::Entry entry = entries_[static_cast<std::size_t>(row)];
    Backups::CheckSavedGame(entry.path);
    // Both only read: the model says itself why a file holds no saved game.
    SaveGame copy;
    SaveGame now;
    if (!copy.Open(entry.path, words_) || !now.Open(save_, words_))
        return;
    const std::vector<SaveComparison::Line> lines =
        SaveComparison::Compare({copy, codec_, entry.path}, {now, codec_, save_}, SaveComparison::Everything());
    differences_->clear();
    for (const SaveComparison::Line& line : lines)
        new QTreeWidgetItem(differences_, Columns(line));
    compared_->setText(
        lines.empty()
            ? QStringLiteral("The copy of %1 and the saved game are the same.").arg(Backups::Label(entry))
            : QStringLiteral("What differs between the copy of %1 and the saved game now:").arg(Backups::Label(entry)));
    compared_->show();
    differences_->setVisible(!lines.empty());
}

void BackupDialog::ShowFolder()
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(PathText::ToText(Backups::FolderFor(save_))));
}
