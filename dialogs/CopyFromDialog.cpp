#include "dialogs/CopyFromDialog.h"

#include "game/GameCodePage.h"
#include "game/GameItems.h"
#include "game/PathText.h"
#include "game/SaveListing.h"
#include "model/CharacterLayout.h"
#include "ui/ErrorGuard.h"
#include "ui/Mnemonics.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <array>
#include <system_error>

namespace {

using Dialog = CopyFromDialog;

struct Column {
    const char* title;
    QString (*text)(const SaveGame& game, int n, const TextCodec& codec);
    int width;
};

// clang-format off
constexpr std::array<Column, 3> kColumns{{
    {"Name", [](const SaveGame& game, int n, const TextCodec& codec) { return codec.ToText(game.GetName(n)); }, 150},
    {"Class", [](const SaveGame& game, int n, const TextCodec& codec) {
         const int stored = game.GetClass(n);
         // In the words of the source's own game; a number they do not name is all there is to show.
         const std::optional<std::string_view> name = game.GetClassTable().GetClassName(stored);
         return name ? codec.ToText(*name) : QStringLiteral("Class %1").arg(stored);
     }, 130},
    {"Level", [](const SaveGame& game, int n, const TextCodec&) { return QString::number(game.GetLevel(n)); }, 50},
}};
// clang-format on

struct ButtonRow {
    int id;
    const char* text;
    void (QDialog::*action)();
};

constexpr std::array<ButtonRow, 2> kButtons{{
    {Dialog::IdOk, "OK", &QDialog::accept},
    {Dialog::IdCancel, "Cancel", &QDialog::reject},
}};

constexpr int kListHeight = 300;

bool Same(const std::filesystem::path& a, const std::filesystem::path& b)
{
    std::error_code error;
    return std::filesystem::equivalent(a, b, error);
}

} // namespace

CopyFromDialog::CopyFromDialog(const SaveGame& open, const std::filesystem::path& path, QWidget* parent)
    : EditingDialog(parent), open_(open), path_(path), gameFolder_(SaveListing::RealGameFolderOf(path))
{
    setWindowTitle(QStringLiteral("Copy From"));
    saves_ = ControlId::Give(new QComboBox(this), IdSaves);
    saves_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto* savesLabel = new QLabel(QStringLiteral("Saved game:"), this);
    savesLabel->setBuddy(saves_);
    auto* browse = ControlId::Give(new QPushButton(QStringLiteral("Browse..."), this), IdBrowse);
    ErrorGuard::Connect(browse, &QPushButton::clicked, this, [this] { Browse(); });
    ErrorGuard::Connect(saves_, &QComboBox::currentIndexChanged, this, [this](int index) { Read(index); });

    characters_ = ControlId::Give(new QTreeWidget(this), IdCharacters);
    characters_->setRootIsDecorated(false);
    characters_->setSelectionMode(QAbstractItemView::SingleSelection);
    QStringList titles;
    for (const Column& column : kColumns)
        titles.append(QString::fromLatin1(column.title));
    characters_->setHeaderLabels(titles);
    for (std::size_t k = 0; k < kColumns.size(); ++k)
        characters_->setColumnWidth(static_cast<int>(k), kColumns[k].width);
    characters_->setMinimumHeight(kListHeight);
    ErrorGuard::Connect(characters_, &QTreeWidget::currentItemChanged, this, [this] { UpdateOk(); });
    ErrorGuard::Connect(characters_, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (Control<QPushButton>(IdOk)->isEnabled())
            accept();
    });

    auto* top = new QHBoxLayout;
    top->addWidget(savesLabel);
    top->addWidget(saves_, 1);
    top->addWidget(browse);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (const ButtonRow& row : kButtons) {
        auto* button = ControlId::Give(new QPushButton(QString::fromLatin1(row.text), this), row.id);
        button->setDefault(row.id == IdOk);
        ErrorGuard::Connect(button, &QPushButton::clicked, this, [this, action = row.action] { (this->*action)(); });
        buttons->addWidget(button);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(characters_, 1);
    layout->addLayout(buttons);
    Mnemonics::Assign(*this);

    FillSaves();
    Read(0);
    characters_->setFocus(Qt::OtherFocusReason);
}

CopyFromDialog::~CopyFromDialog() = default;

int CopyFromDialog::Character() const
{
    return characters_->indexOfTopLevelItem(characters_->currentItem()) + 1;
}

QString CopyFromDialog::SourceName() const
{
    return PathText::FileName(sourcePath_);
}

void CopyFromDialog::FillSaves()
{
    const QSignalBlocker quiet(saves_);
    // The open saved game first: the listing may not offer it, since it is open here.
    offered_ = {path_};
    saves_->addItem(QStringLiteral("%1 (this saved game)").arg(PathText::FileName(path_)));
    for (const SaveListing::Row& row : SaveListing::Build(gameFolder_)) {
        std::filesystem::path file = SaveListing::SavePath(gameFolder_, row.FileName);
        if (Same(file, path_))
            continue;
        const QString name = TextCodec::ForKey(open_.GetWords().CodePage()).ToText(row.Name);
        saves_->addItem(QString::fromStdString(row.FileName) +
                        (name.isEmpty() ? QString() : QStringLiteral(" - ") + name));
        offered_.push_back(std::move(file));
    }
}

void CopyFromDialog::Browse()
{
    QFileDialog chooser(this, QStringLiteral("Copy a Character From"), PathText::ToText(sourcePath_.parent_path()),
                        QStringLiteral("Saved games (*.dod);;All files (*)"));
    chooser.setFileMode(QFileDialog::ExistingFile);
    chooser.setFilter(chooser.filter() | QDir::Hidden);
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty())
        return;
    Choose(PathText::ToPath(QDir::toNativeSeparators(chooser.selectedFiles().front())));
}

void CopyFromDialog::Choose(const std::filesystem::path& file)
{
    int index = 0;
    while (index < static_cast<int>(offered_.size()) && !Same(offered_[static_cast<std::size_t>(index)], file))
        ++index;
    if (index == static_cast<int>(offered_.size())) {
        offered_.push_back(file);
        saves_->addItem(PathText::ToText(file));
    }
    {
        const QSignalBlocker quiet(saves_);
        saves_->setCurrentIndex(index);
    }
    Read(index);
}

void CopyFromDialog::Read(int index)
{
    characters_->clear();
    source_ = nullptr;
    other_.reset();
    UpdateOk();
    if (index < 0 || index >= static_cast<int>(offered_.size()))
        return;
    const std::filesystem::path& file = offered_[static_cast<std::size_t>(index)];
    sourcePath_ = file;
    otherGame_ = !Same(SaveListing::RealGameFolderOf(file), gameFolder_);
    // A saved game of this game folder is in the folder's code page and words, whatever its own
    // names hold; another game's in its own.
    const GameWords& ours = open_.GetWords();
    sourcePage_ = otherGame_ ? GameCodePage::ForSave(file) : TextCodec::ForKey(ours.CodePage()).GetPage();
    if (Same(file, path_)) {
        source_ = &open_;
    } else {
        auto game = std::make_unique<SaveGame>();
        const GameWords words =
            otherGame_
                ? GameItems::Load(SaveListing::RealGameFolderOf(file), TextCodec::Key(sourcePage_).toStdString()).words
                : ours;
        if (!game->Open(file, words))
            return; // the model has said why
        other_ = std::move(game);
        source_ = other_.get();
    }
    const TextCodec codec(sourcePage_);
    QList<QTreeWidgetItem*> rows;
    for (int n = 1; n <= CharacterLayout::CharacterCount; ++n) {
        auto* row = new QTreeWidgetItem;
        for (std::size_t k = 0; k < kColumns.size(); ++k)
            row->setText(static_cast<int>(k), kColumns[k].text(*source_, n, codec));
        rows.append(row);
    }
    characters_->addTopLevelItems(rows);
    characters_->setCurrentItem(characters_->topLevelItem(0));
}

void CopyFromDialog::UpdateOk()
{
    Control<QPushButton>(IdOk)->setEnabled(source_ != nullptr && characters_->currentItem() != nullptr);
}
