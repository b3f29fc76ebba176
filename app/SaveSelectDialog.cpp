#include "app/SaveSelectDialog.h"

#include "app/AboutDialog.h"
#include "app/BackupDialog.h"
#include "dialogs/PartyDialog.h"
#include "game/Backups.h"
#include "game/GameCodePage.h"
#include "game/GameItems.h"
#include "game/PathText.h"
#include "game/UserSettings.h"
#include "ui/ControlId.h"
#include "ui/ErrorGuard.h"
#include "ui/Mnemonics.h"

#include "model/GameData.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QStringList>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <array>
#include <filesystem>
#include <set>
#include <string>
#include <system_error>
#include <utility>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace {

// Which words came from the game, with how many: "From the game: items (803), classes (16)".
QString WordsLine(const GameWords& words)
{
    QStringList parts;
    if (words.Items().IsFromGame())
        parts.append(QStringLiteral("items (%1)").arg(words.Items().Count()));
    if (words.Classes().IsFromGame())
        parts.append(QStringLiteral("classes (%1)").arg(words.Classes().NamedNumbers().size()));
    if (words.Awards().IsFromGame())
        parts.append(QStringLiteral("awards (%1)").arg(words.Awards().NamedNumbers().size()));
    return parts.isEmpty() ? QString::fromLatin1(SaveSelectDialog::BuiltInWords)
                           : QString::fromLatin1(SaveSelectDialog::FromTheGame).arg(parts.join(QStringLiteral(", ")));
}

struct ButtonRow {
    int id;
    const char* text;
    void (SaveSelectDialog::*handler)();
};

bool IsFolder(const std::filesystem::path& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::is_directory(path, error);
}

QString FolderText(const std::filesystem::path& folder)
{
    return QDir::toNativeSeparators(PathText::ToText(folder));
}

} // namespace

SaveSelectDialog::SaveSelectDialog(QWidget* parent) : QDialog(parent), games_(GameFolderLocator::FindAll())
{
    setWindowTitle(QStringLiteral("Velkar"));
    setWindowIcon(QIcon(QStringLiteral(":/icon.png")));

    auto* banner = new QLabel(this);
    ControlId::Give(banner, IdBanner);
    // banner@2x.png on a high-DPI screen.
    banner->setPixmap(QIcon(QStringLiteral(":/banner.png")).pixmap(QSize(420, 160), devicePixelRatioF()));
    banner->setFixedSize(420, 160);

    MakeListArea();
    auto* group = new QGroupBox(QStringLiteral("Select Savegame:"), this);
    auto* fields = new QGridLayout;
    auto* pathLabel = new QLabel(QStringLiteral("Path:"), group);
    pathLabel->setBuddy(MakePathBox());
    fields->addWidget(pathLabel, 0, 0);
    fields->addWidget(pathBox_, 0, 1);
    auto* textLabel = new QLabel(QStringLiteral("Text:"), group);
    textLabel->setBuddy(MakeCodePageBox());
    fields->addWidget(textLabel, 1, 0);
    fields->addWidget(codePageBox_, 1, 1, Qt::AlignLeft);
    fields->setColumnStretch(1, 1);
    status_ = new QLabel(this);
    ControlId::Give(status_, IdStatus);
    status_->setWordWrap(true);
    // Until a game's data is read there is nothing to say, and an empty line would leave a gap.
    status_->hide();
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addLayout(fields);
    groupLayout->addWidget(listArea_, 1);
    groupLayout->addWidget(status_);

    auto* buttons = new QVBoxLayout;
    MakeButtons(*fields, *buttons);
    buttons->addStretch(1);

    auto* body = new QHBoxLayout;
    body->addWidget(group, 1);
    body->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(banner, 0, Qt::AlignHCenter);
    layout->addLayout(body, 1);

    Mnemonics::Assign(*this);
    AddAboutEntry();
    AddMakeBackupsEntry();
    // The folder last used, while it is there; else the best game found.
    const std::filesystem::path last = UserSettings::LastGameFolder();
    SetPath(IsFolder(last) ? FolderText(last) : games_.empty() ? QString() : FolderText(games_.front().folder));
    FillSaveList();
}

void SaveSelectDialog::MakeListArea()
{
    list_ = new QTreeWidget(this);
    ControlId::Give(list_, IdList);
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setHeaderLabels({QStringLiteral("Savegame"), QStringLiteral("Name")});
    static constexpr int FileColumnWidth = 90;
    static constexpr int NameColumnWidth = 229;
    list_->header()->resizeSection(0, FileColumnWidth);
    list_->header()->resizeSection(1, NameColumnWidth);
    // Room for both columns and a vertical scroll bar, so names never need
    // scrolling sideways.
    list_->setMinimumSize(FileColumnWidth + NameColumnWidth + list_->verticalScrollBar()->sizeHint().width() +
                              2 * list_->frameWidth(),
                          200);
    ErrorGuard::Connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { OpenSelected(); });
    listNote_ = new QLabel(this);
    ControlId::Give(listNote_, IdListNote);
    listNote_->setAlignment(Qt::AlignCenter);
    listNote_->setWordWrap(true);
    listArea_ = new QStackedWidget(this);
    listArea_->addWidget(list_);
    listArea_->addWidget(listNote_);
}

void SaveSelectDialog::MakeButtons(QGridLayout& fields, QVBoxLayout& column)
{
    static constexpr std::array<ButtonRow, 5> rows{{
        {IdBrowse, "Browse...", &SaveSelectDialog::Browse},
        {IdOpen, "Open", &SaveSelectDialog::OpenSelected},
        {IdBackups, "Backups...", &SaveSelectDialog::ShowBackups},
        {IdCancel, "Cancel", nullptr}, // closes the dialog, ending the program
        {IdAbout, "About...", &SaveSelectDialog::ShowAbout},
    }};
    for (const ButtonRow& row : rows) {
        auto* button = new QPushButton(QString::fromLatin1(row.text), this);
        ControlId::Give(button, row.id);
        if (row.id == IdBrowse) {
            fields.addWidget(button, 0, 2);
        } else {
            column.addWidget(button);
        }
        if (row.handler != nullptr) {
            const auto handler = row.handler;
            ErrorGuard::Connect(button, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
        } else {
            ErrorGuard::Connect(button, &QPushButton::clicked, this, [this] { reject(); });
        }
        if (row.id == IdOpen)
            button->setDefault(true);
    }
}

QWidget* SaveSelectDialog::MakePathBox()
{
    pathBox_ = new QComboBox(this);
    ControlId::Give(pathBox_, IdPath);
    pathBox_->setEditable(true);
    // The box holds the games found; what is typed stays out of the list, and no
    // completion writes into the folder while it is typed.
    pathBox_->setInsertPolicy(QComboBox::NoInsert);
    pathBox_->setCompleter(nullptr);
    pathBox_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    for (const GameFolderLocator::FoundGame& game : games_) {
        pathBox_->addItem(FolderText(game.folder));
        pathBox_->setItemData(pathBox_->count() - 1, QString::fromStdString(game.source), Qt::ToolTipRole);
    }
    // Only the user's typing and picking rebuild the list; SetPath raises
    // neither.
    ErrorGuard::Connect(pathBox_->lineEdit(), &QLineEdit::textEdited, this, [this] { FillSaveList(); });
    ErrorGuard::Connect(pathBox_, &QComboBox::activated, this, [this] { FillSaveList(); });
    return pathBox_;
}

QWidget* SaveSelectDialog::MakeCodePageBox()
{
    codePageBox_ = new QComboBox(this);
    ControlId::Give(codePageBox_, IdCodePage);
    auto* entries = qobject_cast<QStandardItemModel*>(codePageBox_->model());
    for (const TextCodec::PageInfo& info : TextCodec::Pages()) {
        codePageBox_->addItem(QString::fromLatin1(info.label), static_cast<int>(info.page));
        if (!TextCodec(info.page).IsAvailable()) {
            QStandardItem* entry = entries->item(codePageBox_->count() - 1);
            entry->setEnabled(false);
            entry->setToolTip(QString::fromLatin1(CodePageMissing));
        }
    }
    ShowCodePage(codec_.GetPage());
    ErrorGuard::Connect(codePageBox_, &QComboBox::activated, this, [this](int index) { OnCodePageChosen(index); });
    return codePageBox_;
}

void SaveSelectDialog::SetPath(const QString& path)
{
    path_ = path;
    const QSignalBlocker quiet(pathBox_);
    pathBox_->setEditText(path_);
}

void SaveSelectDialog::FillSaveList()
{
    path_ = pathBox_->currentText();
    const std::filesystem::path folder = PathText::ToPath(path_);
    rows_ = path_.isEmpty() ? std::vector<SaveListing::Row>() : SaveListing::Build(folder);
    if (!path_.isEmpty() && path_ != decidedFor_) {
        decidedFor_ = path_;
        ShowCodePage(GameCodePage::Decide(folder, rows_));
        LoadGameData(folder);
    }
    ShowRows();
}

void SaveSelectDialog::LoadGameData(const std::filesystem::path& folder)
{
    // What a folder's data says about its damage is said once a session, not at every choice.
    // Keyed on the native name: a narrow copy of it would lose characters on Windows.
    static std::set<std::pair<std::filesystem::path::string_type, std::string>> said;
    const GameItems game = GameItems::Load(folder, words_.CodePage());
    words_ = game.words;
    QStringList lines;
    if (game.data != nullptr) {
        for (const std::string& message : game.data->Messages()) {
            if (said.emplace(folder.native(), message).second)
                lines.append(QString::fromStdString(message));
        }
    }
    lines.append(WordsLine(words_));
    status_->setText(lines.join(u'\n'));
    status_->show();
}

void SaveSelectDialog::ShowCodePage(TextCodec::Page page)
{
    codePageBox_->setCurrentIndex(codePageBox_->findData(static_cast<int>(page)));
    codec_ = TextCodec(page);
    words_.SetCodePage(TextCodec::Key(page).toStdString());
}

void SaveSelectDialog::OnCodePageChosen(int index)
{
    const auto page = static_cast<TextCodec::Page>(codePageBox_->itemData(index).toInt());
    if (page == codec_.GetPage())
        return;
    codec_ = TextCodec(page);
    words_.SetCodePage(TextCodec::Key(page).toStdString());
    if (!path_.isEmpty())
        UserSettings::SetCodePage(PathText::ToPath(path_), page);
    ShowRows();
}

void SaveSelectDialog::ShowRows()
{
    list_->clear();
    for (const SaveListing::Row& row : rows_) {
        auto* item = new QTreeWidgetItem(list_);
        item->setText(0, QString::fromStdString(row.FileName));
        item->setText(1, codec_.ToText(row.Name));
    }
    // The first saved game is chosen, so Enter opens it at once.
    if (list_->topLevelItemCount() > 0)
        list_->setCurrentItem(list_->topLevelItem(0));
    QString note;
    if (rows_.empty() && !path_.isEmpty())
        note = QString::fromLatin1(NoSavedGames);
    else if (rows_.empty() && games_.empty())
        note = QString::fromLatin1(NoGameFound);
    listNote_->setText(note);
    listArea_->setCurrentWidget(note.isEmpty() ? static_cast<QWidget*>(list_) : listNote_);
}

void SaveSelectDialog::Browse()
{
    // From the chosen game's folder, else from home; Wine prefixes live in hidden
    // folders.
    const QString start = IsFolder(PathText::ToPath(path_)) ? path_ : QDir::homePath();
    QFileDialog chooser(this, QString::fromLatin1(BrowsePrompt), start);
    chooser.setFileMode(QFileDialog::Directory);
    chooser.setOption(QFileDialog::ShowDirsOnly);
    chooser.setFilter(chooser.filter() | QDir::Hidden);
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty())
        return;
    SetPath(QDir::toNativeSeparators(chooser.selectedFiles().front()));
    FillSaveList();
}

std::filesystem::path SaveSelectDialog::SelectedSave() const
{
    const QList<QTreeWidgetItem*> selected = list_->selectedItems();
    if (selected.isEmpty())
        return {};
    return SaveListing::SavePath(PathText::ToPath(path_), selected.front()->text(0).toStdString());
}

void SaveSelectDialog::OpenSelected()
{
    const std::filesystem::path save = SelectedSave();
    if (save.empty())
        return;
    // The party dialog and the sheet read and write every text in the words' code page,
    // which is always the one the chooser shows.
    UserSettings::SetLastGameFolder(PathText::ToPath(path_));
    PartyDialog party{save, words_, this};
    party.Game().SetBackupHook(Backups::Hook(Backups::Recent::Ignored));
    if (!party.Open()) {
        // "Invalid save game file." has been shown: the program ends with status 1.
        exitCode_ = 1;
        done(QDialog::Rejected);
        return;
    }
    party.exec();
}

void SaveSelectDialog::ShowBackups()
{
    const std::filesystem::path save = SelectedSave();
    if (save.empty())
        return;
    BackupDialog backups(save, codec_, words_, this);
    backups.exec();
    if (!backups.Restored())
        return;
    // The restored file may hold another saved game's name.
    const QString fileName = PathText::FileName(save);
    FillSaveList();
    const QList<QTreeWidgetItem*> same = list_->findItems(fileName, Qt::MatchExactly, 0);
    if (!same.isEmpty())
        list_->setCurrentItem(same.front());
}

// Both programs read the setting before each copy.
void SaveSelectDialog::AddMakeBackupsEntry()
{
    auto* entry = new QAction(QString::fromLatin1(MakeBackupsEntry), this);
    ControlId::Give(entry, IdMakeBackupsCommand);
    entry->setCheckable(true);
    entry->setChecked(UserSettings::MakeBackups());
    ErrorGuard::Connect(entry, &QAction::toggled, this, [](bool on) { UserSettings::SetMakeBackups(on); });
    addAction(entry);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

void SaveSelectDialog::ShowAbout()
{
    AboutDialog about(this);
    about.exec();
}

#ifdef _WIN32

void SaveSelectDialog::AddAboutEntry()
{
    HMENU menu = GetSystemMenu(reinterpret_cast<HWND>(winId()), FALSE);
    if (menu == nullptr)
        return;
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, IdAboutCommand, QString::fromLatin1(AboutEntry).toStdWString().c_str());
}

bool SaveSelectDialog::nativeEvent(const QByteArray& eventType, void* message, qintptr* result)
{
    const MSG* msg = static_cast<const MSG*>(message);
    if (msg->message == WM_SYSCOMMAND && (msg->wParam & 0xFFF0) == IdAboutCommand) {
        ErrorGuard::Run([this] { ShowAbout(); });
        *result = 0;
        return true;
    }
    return QDialog::nativeEvent(eventType, message, result);
}

#else

// No portable system menu: the same entry lives in the dialog's context menu.
void SaveSelectDialog::AddAboutEntry()
{
    auto* about = new QAction(QString::fromLatin1(AboutEntry), this);
    ControlId::Give(about, IdAboutCommand);
    ErrorGuard::Connect(about, &QAction::triggered, this, [this] { ShowAbout(); });
    addAction(about);
}

#endif
