#include "app/SaveSelectDialog.h"

#include "app/AboutDialog.h"
#include "app/GameFolderLocator.h"
#include "app/SaveListing.h"

#include "dialogs/PartyDialog.h"
#include "ui/ErrorGuard.h"
#include "ui/TextCodec.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
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
#include <QTreeWidget>
#include <QVBoxLayout>

#include <array>
#include <filesystem>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace {

// Native path strings (what the registry and the listing deal in) to and from text.
std::string ToNative(const QString& text)
{
    return QFile::encodeName(text).toStdString();
}

QString FromNative(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

struct ButtonRow {
    int id;
    const char* text;
    void (SaveSelectDialog::*handler)();
};

} // namespace

SaveSelectDialog::SaveSelectDialog(QWidget* parent)
    : QDialog(parent), registry_(RegistryKey::LocalMachine()),
      gameFolder_(FromNative(GameFolderLocator::NativeString(GameFolderLocator::Find(registry_))))
{
    setWindowTitle(QStringLiteral("Velkar"));
    setWindowIcon(QIcon(QStringLiteral(":/icon.png")));

    auto* banner = new QLabel(this);
    banner->setObjectName(QString::number(IdBanner));
    banner->setPixmap(QPixmap(QStringLiteral(":/banner.png")));
    banner->setFixedSize(420, 160);

    pathEdit_ = new QLineEdit(this);
    pathEdit_->setObjectName(QString::number(IdPath));
    // Only the user's edits rebuild the list; setText (start-up, Browse) raises no textEdited.
    connect(pathEdit_, &QLineEdit::textEdited, this, [this] { ErrorGuard::Run([this] { FillSaveList(); }); });

    list_ = new QTreeWidget(this);
    list_->setObjectName(QString::number(IdList));
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setHeaderLabels({QStringLiteral("Savegame"), QStringLiteral("Name")});
    static constexpr int FileColumnWidth = 90;
    static constexpr int NameColumnWidth = 229;
    list_->header()->resizeSection(0, FileColumnWidth);
    list_->header()->resizeSection(1, NameColumnWidth);
    // Room for both columns and a vertical scroll bar, so names never need scrolling sideways.
    list_->setMinimumSize(FileColumnWidth + NameColumnWidth + list_->verticalScrollBar()->sizeHint().width() +
                              2 * list_->frameWidth(),
                          200);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { ErrorGuard::Run([this] { OpenSelected(); }); });

    auto* group = new QGroupBox(QStringLiteral("Select Savegame:"), this);
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(new QLabel(QStringLiteral("Path:"), group));
    pathRow->addWidget(pathEdit_, 1);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addLayout(pathRow);
    groupLayout->addWidget(list_, 1);

    auto* buttons = new QVBoxLayout;
    static constexpr std::array<ButtonRow, 4> rows{{
        {IdBrowse, "Browse...", &SaveSelectDialog::Browse},
        {IdOpen, "Open", &SaveSelectDialog::OpenSelected},
        {IdCancel, "Cancel", nullptr}, // closes the dialog, ending the program
        {IdAbout, "About...", &SaveSelectDialog::ShowAbout},
    }};
    for (const ButtonRow& row : rows) {
        auto* button = new QPushButton(QString::fromLatin1(row.text), this);
        button->setObjectName(QString::number(row.id));
        if (row.id == IdBrowse) {
            pathRow->addWidget(button);
        } else {
            buttons->addWidget(button);
        }
        if (row.handler != nullptr) {
            const auto handler = row.handler;
            connect(button, &QPushButton::clicked, this, [this, handler] { ErrorGuard::Run([this, handler] { (this->*handler)(); }); });
        } else {
            connect(button, &QPushButton::clicked, this, &QDialog::reject);
        }
        if (row.id == IdOpen)
            button->setDefault(true);
    }
    buttons->addStretch(1);

    auto* body = new QHBoxLayout;
    body->addWidget(group, 1);
    body->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(banner, 0, Qt::AlignHCenter);
    layout->addLayout(body, 1);

    AddAboutEntry();
    SetPath(gameFolder_);
    FillSaveList();
}

void SaveSelectDialog::SetPath(const QString& path)
{
    path_ = path;
    const QSignalBlocker quiet(pathEdit_);
    pathEdit_->setText(path_);
}

void SaveSelectDialog::FillSaveList()
{
    path_ = pathEdit_->text();
    list_->clear();
    for (const SaveListing::Row& row : SaveListing::Build(ToNative(path_))) {
        auto* item = new QTreeWidgetItem(list_);
        item->setText(0, QString::fromStdString(row.FileName));
        item->setText(1, TextCodec::Decode(row.Name));
    }
}

void SaveSelectDialog::Browse()
{
    // From the top of the folder tree, not wherever the program was started.
    const QString chosen = QFileDialog::getExistingDirectory(this, QString::fromLatin1(BrowsePrompt), QDir::rootPath());
    if (chosen.isEmpty())
        return;
    SetPath(QDir::toNativeSeparators(chosen));
    FillSaveList();
}

void SaveSelectDialog::OpenSelected()
{
    const QList<QTreeWidgetItem*> selected = list_->selectedItems();
    if (selected.isEmpty())
        return;
    const std::string path = GameFolderLocator::SavePath(ToNative(path_), selected.front()->text(0).toStdString());
    PartyDialog party{GameFolderLocator::NativePath(path), this};
    if (!party.Open()) {
        // "Invalid save game file." has been shown: the program ends with status 1.
        exitCode_ = 1;
        done(QDialog::Rejected);
        return;
    }
    party.exec();
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
    about->setObjectName(QString::number(IdAboutCommand));
    connect(about, &QAction::triggered, this, [this] { ErrorGuard::Run([this] { ShowAbout(); }); });
    addAction(about);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

#endif
