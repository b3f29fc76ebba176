// CVelkarPage4, the sheet's "Inventory" tab: the items carried, their details and the backpack.

#include "dialogs/CVelkarPage4.h"

#include "dialogs/BackpackView.h"
#include "dialogs/ItemText.h"
#include "text/TextCodec.h"
#include "ui/ControlId.h"
#include "ui/ErrorGuard.h"
#include "ui/FilteringList.h"
#include "ui/Messages.h"
#include "ui/NumberBox.h"

#include "model/SaveGame.h"
#include "model/Vocabulary.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QVBoxLayout>

#include <algorithm>
#include <string>

namespace {

using Page = CVelkarPage4;

enum class Kind { ItemKinds, Number, NoYes, Standard, Special };

// Which layout shows the control: the potion layout puts Power where the standard
// enchantment stands and drops the modifier.
enum class Shown { Always, Regular, Potion };

// One detail control with its label, in layout order (the order of the dialog's controls).
// value is the member it is bound to (-1: none); the members' order is the exchange order.
struct Detail {
    int id = 0;
    const char* label = nullptr;
    int labelId = 0; // 0: the label has no id of its own
    Kind kind = Kind::Number;
    int spinId = 0;
    int place = 0; // where it stands (see kPlacesPerColumn); Power and Enchantment 1 share one
    int value = -1;
    Shown shown = Shown::Always;
};

// clang-format off
constexpr std::array<Detail, 10> kDetails = {{
    {.id = Page::IdItem, .label = "Item:", .kind = Kind::ItemKinds, .place = 0},
    {.id = Page::IdEnchantment1, .label = "Enchantment 1:", .labelId = Page::IdEnchantment1Label,
     .kind = Kind::Standard,
     .place = 1, .value = Page::Enchantment1, .shown = Shown::Regular},
    {.id = Page::IdModifier, .label = "Modifier:", .labelId = Page::IdModifierLabel, .kind = Kind::Number,
     .spinId = Page::IdModifierSpin, .place = 2, .value = Page::Modifier, .shown = Shown::Regular},
    {.id = Page::IdPower, .label = "Power:", .labelId = Page::IdPowerLabel, .kind = Kind::Number,
     .spinId = Page::IdPowerSpin, .place = 1, .value = Page::Power, .shown = Shown::Potion},
    {.id = Page::IdEnchantment2, .label = "Enchantment 2:", .kind = Kind::Special,
     .place = 3, .value = Page::Enchantment2},
    {.id = Page::IdCharges, .label = "Charges:", .kind = Kind::Number,
     .spinId = Page::IdChargesSpin, .place = 4, .value = Page::Charges},
    {.id = Page::IdIdentified, .label = "Identified:", .kind = Kind::NoYes, .place = 5, .value = Page::Identified},
    {.id = Page::IdStolen, .label = "Stolen:", .kind = Kind::NoYes, .place = 6, .value = Page::Stolen},
    {.id = Page::IdDamaged, .label = "Damaged:", .kind = Kind::NoYes, .place = 7, .value = Page::Damaged},
    {.id = Page::IdHardened, .label = "Hardened:", .kind = Kind::NoYes, .place = 8, .value = Page::Hardened},
}};
// clang-format on

constexpr int PlaceCount()
{
    int count = 0;
    for (const Detail& detail : kDetails)
        count = detail.place + 1 > count ? detail.place + 1 : count;
    return count;
}
constexpr std::size_t kPlaceCount = static_cast<std::size_t>(PlaceCount());
// Places fill a column of label and control pairs, then the next one: the flags stand beside
// the item's words, which keeps the page low enough for the backpack below.
constexpr int kPlacesPerColumn = 5;

constexpr bool EveryValueBoundOnce()
{
    for (int value = 0; value < Page::ValueCount; ++value) {
        int count = 0;
        for (const Detail& detail : kDetails)
            count += detail.value == value ? 1 : 0;
        if (count != 1)
            return false;
    }
    return true;
}
static_assert(EveryValueBoundOnce());

constexpr bool SharesPlace(const Detail& detail)
{
    int count = 0;
    for (const Detail& other : kDetails)
        count += other.place == detail.place ? 1 : 0;
    return count > 1;
}

constexpr bool SharePlace(int a, int b)
{
    int placeA = -1;
    int placeB = -2;
    for (const Detail& detail : kDetails) {
        placeA = detail.id == a ? detail.place : placeA;
        placeB = detail.id == b ? detail.place : placeB;
    }
    return placeA == placeB;
}
static_assert(SharePlace(Page::IdPower, Page::IdEnchantment1));

// The control bound to a value member.
constexpr int IdOf(Page::Value value)
{
    for (const Detail& detail : kDetails) {
        if (detail.value == value)
            return detail.id;
    }
    return 0;
}

constexpr std::array<std::string_view, 2> kNoYes = {"No", "Yes"};

// The values as the page starts with them: an identified item without anything else.
constexpr std::array<int, Page::ValueCount> Initial()
{
    std::array<int, Page::ValueCount> values{};
    values[Page::Identified] = 1;
    return values;
}

struct Button {
    int id;
    const char* text;
    void (Page::*handler)();
};

// The flag bits the page shows, by value member.
constexpr std::array<std::pair<Page::Value, std::int32_t>, 4> kFlags = {{
    {Page::Identified, InventoryItemFlags::Identified},
    {Page::Damaged, InventoryItemFlags::Damaged},
    {Page::Stolen, InventoryItemFlags::Stolen},
    {Page::Hardened, InventoryItemFlags::Hardened},
}};

// Layout.
constexpr int kListWidth = 220;
constexpr int kNumberWidth = 84;
constexpr int kRowGap = 6;
constexpr int kLabelGap = 4;
constexpr int kColumnGap = 16;
constexpr int kVisibleKinds = 20;
constexpr int kKindChars = 24;

template <std::size_t N>
QComboBox* MakeList(const std::array<std::string_view, N>& words)
{
    auto* list = new QComboBox;
    for (const std::string_view word : words)
        list->addItem(TextCodec::OwnWord(word));
    list->setMaxVisibleItems(kVisibleKinds);
    return list;
}

QWidget* MakeControl(const Detail& detail)
{
    switch (detail.kind) {
    case Kind::ItemKinds: {
        auto* list = new QComboBox;
        list->setMaxVisibleItems(kVisibleKinds);
        // A width of its own rather than the widest of a thousand names, measured one by one.
        list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        list->setMinimumContentsLength(kKindChars);
        return list;
    }
    case Kind::Number: {
        auto* box = new NumberBox(NumberBox::Keys::DigitsAndSign); // the entry's words are signed
        box->SetSpinId(detail.spinId);
        box->SetRange(-NumberBox::UpDownLimit, NumberBox::UpDownLimit);
        box->setFixedWidth(kNumberWidth);
        return box;
    }
    case Kind::NoYes:
        return MakeList(kNoYes);
    case Kind::Standard:
        return MakeList(Vocabulary::StandardEnchantments);
    case Kind::Special:
        return MakeList(Vocabulary::SpecialEnchantments);
    }
    return nullptr;
}

// The detail controls with their labels, place by place.
QGridLayout* MakeDetailGrid()
{
    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(kRowGap);
    grid->setHorizontalSpacing(kLabelGap);
    grid->setColumnStretch(1, 1);
    grid->setColumnMinimumWidth(2, kColumnGap);
    // Each place is a box of its own, so that a pair sharing it shows whichever is visible
    // (two widgets in one grid cell upset the grid's row spacing).
    std::array<std::array<QHBoxLayout*, 2>, kPlaceCount> places{};
    for (std::size_t r = 0; r < places.size(); ++r) {
        for (std::size_t c = 0; c < 2; ++c) {
            places[r][c] = new QHBoxLayout;
            places[r][c]->setContentsMargins(0, 0, 0, 0);
            // Label and control, a gap, label and control.
            const int column = static_cast<int>(r) / kPlacesPerColumn * 3 + static_cast<int>(c);
            grid->addLayout(places[r][c], static_cast<int>(r) % kPlacesPerColumn, column);
        }
    }
    for (const Detail& detail : kDetails) {
        QWidget* control = MakeControl(detail);
        ControlId::Give(control, detail.id);
        auto* label = new QLabel(QString::fromLatin1(detail.label));
        if (detail.labelId != 0)
            ControlId::Give(label, detail.labelId);
        label->setBuddy(control);
        if (detail.shown != Shown::Always && !SharesPlace(detail)) {
            // The modifier's row stays empty for a potion, so the rows below do not jump.
            for (QWidget* widget : {control, static_cast<QWidget*>(label)}) {
                QSizePolicy policy = widget->sizePolicy();
                policy.setRetainSizeWhenHidden(true);
                widget->setSizePolicy(policy);
            }
        }
        const auto place = static_cast<std::size_t>(detail.place);
        places[place][0]->addWidget(label);
        places[place][1]->addWidget(control, 1, detail.kind == Kind::Number ? Qt::AlignLeft : Qt::Alignment());
    }
    return grid;
}

} // namespace

CVelkarPage4::CVelkarPage4(SaveGame& save, int n) : CharacterPage(QStringLiteral("Inventory"), save, n)
{
    // In the order of the value members, which is the exchange order.
    std::vector<DataExchange::Binding> bindings;
    for (int value = 0; value < ValueCount; ++value) {
        const Detail& detail =
            *std::find_if(kDetails.begin(), kDetails.end(), [value](const Detail& d) { return d.value == value; });
        int& member = values_[static_cast<std::size_t>(value)];
        bindings.push_back(detail.kind == Kind::Number ? DataExchange::Integer(detail.id, member)
                                                       : DataExchange::Choice(detail.id, member));
    }
    Exchange().SetBindings(std::move(bindings));
}

void CVelkarPage4::OnCreate()
{
    BuildControls();
    ApplyLayout(0);
    FillItemKinds();
    values_ = Initial();
}

void CVelkarPage4::BuildControls()
{
    auto* page = new QHBoxLayout(this);
    page->setSpacing(kColumnGap);

    auto* left = new QVBoxLayout;
    left->setSpacing(kLabelGap); // not the column gap, which it would inherit
    inventory_ = new QListWidget;
    ControlId::Give(inventory_, IdInventory);
    inventory_->setViewMode(QListView::ListMode);
    inventory_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    inventory_->setMinimumWidth(kListWidth);
    auto* listLabel = new QLabel(QStringLiteral("Inventory:"));
    listLabel->setBuddy(inventory_);
    left->addWidget(listLabel);
    left->addWidget(inventory_, 1);
    page->addLayout(left, 1);

    auto* right = new QVBoxLayout;
    right->setSpacing(kLabelGap);
    right->addLayout(MakeDetailGrid());

    right->addSpacing(kRowGap);
    right->addLayout(MakeButtons());

    right->addSpacing(kRowGap);
    backpack_ = new BackpackView(Game(), Number());
    right->addWidget(new QLabel(QStringLiteral("Backpack:")));
    right->addWidget(backpack_, 1);
    // The key to the colours stands under the list, where the page has room for it.
    legend_ = BackpackView::MakeLegend();
    left->addWidget(legend_);
    legend_->setVisible(!backpack_->HasPictures()); // once it has a parent: alone it would be a window
    page->addLayout(right, 2);

    itemKinds_ = Control<QComboBox>(IdItem);
    ErrorGuard::Connect(inventory_, &QListWidget::itemSelectionChanged, this, [this] { OnRowsChanged(); });
    ErrorGuard::Connect(inventory_, &QListWidget::itemSelectionChanged, this, [this] { ShowSelectionInBackpack(); });
    ErrorGuard::Connect(backpack_, &BackpackView::Clicked, this,
                        [this](int anchor, Qt::KeyboardModifiers modifiers) { OnBackpackClicked(anchor, modifiers); });
    // activated: the user's choices only, not the page's own.
    ErrorGuard::Connect(itemKinds_, &QComboBox::activated, this, [this](int index) { OnItemKindChosen(index); });
    ErrorGuard::Connect(backpack_, &BackpackView::MoveRequested, this,
                        [this](int from, int toCell) { OnMoveRequested(from, toCell); });
}

QHBoxLayout* CVelkarPage4::MakeButtons()
{
    // Here, where the handlers may be named.
    // clang-format off
    static constexpr std::array<Button, 3> kButtons = {{
        {.id = IdAddItem, .text = "&Add Item", .handler = &Page::OnAddItem},
        {.id = IdReplaceItem, .text = "&Replace", .handler = &Page::OnReplaceItem},
        {.id = IdDeleteItem, .text = "&Delete Item", .handler = &Page::OnDeleteItem},
    }};
    // clang-format on
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (const auto& [id, text, handler] : kButtons) {
        auto* button = new QPushButton(QString::fromLatin1(text));
        ControlId::Give(button, id);
        buttons->addWidget(button);
        const auto run = handler;
        ErrorGuard::Connect(button, &QPushButton::clicked, this, [this, run] { (this->*run)(); });
    }
    return buttons;
}

void CVelkarPage4::FillItemKinds()
{
    const ItemTable& table = Game().GetItemTable();
    const std::vector<int> numbers = table.ChoosableNumbers();
    QStandardItemModel* model = ItemText::KindList(table, Codec(), numbers, itemKinds_);
    const QSignalBlocker blocker(itemKinds_);
    itemKinds_->setModel(model);
    // The lowest number comes first, as it did when the list was in number order.
    itemKinds_->setCurrentIndex(numbers.empty() ? -1 : itemKinds_->findData(numbers.front()));
    // A typed text that names no kind is not kept: the box shows its chosen kind again.
    FilteringList::Make(*itemKinds_, [this](int entry) { OnItemKindChosen(entry); });
}

void CVelkarPage4::ApplyLayout(int itemNumber)
{
    const Shown layout = IsPotion(itemNumber) ? Shown::Potion : Shown::Regular;
    for (const Detail& detail : kDetails) {
        if (detail.shown == Shown::Always)
            continue;
        const bool visible = detail.shown == layout;
        QWidget* control = Control<QWidget>(detail.id);
        control->setVisible(visible);
        // A hidden field keeps its last good value and is not checked.
        Exchange().SetSkipped(detail.id, !visible);
        for (QLabel* label : findChildren<QLabel*>()) {
            if (label->buddy() == control)
                label->setVisible(visible);
        }
    }
}

std::vector<int> CVelkarPage4::SelectedRows() const
{
    std::vector<int> rows;
    for (const QModelIndex& index : inventory_->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void CVelkarPage4::LoadFromModel()
{
    {
        const QSignalBlocker blocker(inventory_);
        inventory_->clear();
        const SaveGame& game = Game();
        InventoryItem item;
        for (int cell = 0; game.GetInventoryCell(Number(), cell, item) != -1; ++cell) {
            if (item.ItemNumber == 0)
                continue;
            auto* row = new QListWidgetItem(ItemText::Listed(game.GetItemTable(), Codec(), item), inventory_);
            row->setData(Qt::UserRole, cell);
        }
    }
    // Laid out before its first paint, not after it: a list filled on its first showing would
    // otherwise paint twice.
    inventory_->doItemsLayout();
    backpack_->Refresh();
    ShowSelectionInBackpack();
    Exchange().Show();
}

void CVelkarPage4::StoreToModel()
{
    // The detail controls are only a template for Add Item: nothing here reaches the model.
    Exchange().Read();
}

std::vector<int> CVelkarPage4::SelectedAnchors() const
{
    std::vector<int> anchors;
    for (const int row : SelectedRows())
        anchors.push_back(inventory_->item(row)->data(Qt::UserRole).toInt());
    return anchors;
}

std::optional<std::pair<int, InventoryItem>> CVelkarPage4::FirstSelectedItem() const
{
    const std::vector<int> anchors = SelectedAnchors();
    if (anchors.empty())
        return std::nullopt;
    const int cell = anchors.front();
    InventoryItem item;
    if (Game().GetInventoryCell(Number(), cell, item) != 1)
        return std::nullopt;
    return std::pair(cell, item);
}

void CVelkarPage4::OnRowsChanged()
{
    const auto selected = FirstSelectedItem();
    if (!selected)
        return;
    const InventoryItem& item = selected->second;

    const int entry = itemKinds_->findData(item.ItemNumber);
    if (entry >= 0) {
        const QSignalBlocker blocker(itemKinds_);
        itemKinds_->setCurrentIndex(entry);
    }
    // A kind the list lacks leaves the last one chosen, which Add Item uses; Replace keeps
    // the row's own kind until another is chosen. The fields are laid out for the row's.
    kindChosen_ = false;
    ApplyLayout(item.ItemNumber);

    // A potion's power is no enchantment: the list shows none.
    values_[Enchantment1] = IsPotion(item.ItemNumber) ? -1 : item.Enchantment1;
    values_[Power] = item.Enchantment1;
    values_[Modifier] = item.Enchantment1Modifier;
    values_[Enchantment2] = item.Enchantment2;
    values_[Charges] = item.Charges;
    for (const auto& [value, bit] : kFlags)
        values_[value] = (item.ItemFlags & bit) != 0 ? 1 : 0;
    Exchange().Show();
}

void CVelkarPage4::OnItemKindChosen(int index)
{
    kindChosen_ = true;
    ApplyLayout(itemKinds_->itemData(index).toInt());
}

int CVelkarPage4::ChosenKind() const
{
    // A typed text is settled when the box lets go of the focus, before any button acts.
    return itemKinds_->currentIndex() < 0 ? 0 : itemKinds_->currentData().toInt();
}

std::optional<InventoryItem> CVelkarPage4::ShownItem()
{
    // Only the fields shown for the chosen kind are read; the first that fails stops here.
    if (!Exchange().Read() || ChosenKind() == 0)
        return std::nullopt;
    InventoryItem item;
    item.ItemNumber = ChosenKind();
    if (IsPotion(item.ItemNumber)) {
        item.Enchantment1 = values_[Power];
    } else {
        // From the list alone: without a selection (a potion's power, a value beyond the
        // list) the item has none.
        const int row = Control<QComboBox>(IdEnchantment1)->currentIndex();
        item.Enchantment1 = row < 0 ? 0 : row;
    }
    item.Enchantment1Modifier = values_[Modifier];
    item.Enchantment2 = values_[Enchantment2];
    item.Charges = values_[Charges];
    for (const auto& [value, bit] : kFlags)
        item.ItemFlags = values_[value] != 0 ? item.ItemFlags | bit : item.ItemFlags & ~bit;
    return item;
}

std::optional<InventoryItem> CVelkarPage4::EditedItem(const InventoryItem& old)
{
    const int kind = kindChosen_ ? ChosenKind() : old.ItemNumber;
    if (!Exchange().Read() || kind == 0)
        return std::nullopt;
    const auto changed = [this](Value value) { return Exchange().Changed(IdOf(value)); };
    InventoryItem item = old;
    item.ItemNumber = kind;
    const bool potion = IsPotion(kind);
    // A potion's power and an enchantment are different words: a change between the two
    // takes the one shown, whole.
    if (potion != IsPotion(old.ItemNumber) || changed(potion ? Power : Enchantment1))
        item.Enchantment1 = potion ? values_[Power] : std::max(values_[Enchantment1], 0);
    const std::array<std::pair<Value, std::int32_t InventoryItem::*>, 3> words = {{
        {Modifier, &InventoryItem::Enchantment1Modifier},
        {Enchantment2, &InventoryItem::Enchantment2},
        {Charges, &InventoryItem::Charges},
    }};
    for (const auto& [value, word] : words) {
        if (changed(value))
            item.*word = values_[value];
    }
    for (const auto& [value, bit] : kFlags) {
        if (changed(value))
            item.ItemFlags = values_[value] != 0 ? item.ItemFlags | bit : item.ItemFlags & ~bit;
    }
    return item;
}

void CVelkarPage4::ReportFull(bool noRoom)
{
    Messages::Warning(QString::fromLatin1(FullMessage));
    // Free cells where nothing of this size fits: the player sees what room is left.
    if (noRoom)
        backpack_->ShowLargestFreeArea();
}

int CVelkarPage4::RowOfAnchor(int anchor) const
{
    for (int r = 0; r < inventory_->count(); ++r) {
        if (inventory_->item(r)->data(Qt::UserRole).toInt() == anchor)
            return r;
    }
    return -1;
}

void CVelkarPage4::SelectAnchor(int anchor)
{
    if (const int row = RowOfAnchor(anchor); row >= 0) {
        inventory_->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
        inventory_->scrollToItem(inventory_->item(row));
    }
}

void CVelkarPage4::OnAddItem()
{
    const std::optional<InventoryItem> item = ShownItem();
    if (!item)
        return;
    const int anchor = Game().AddInventoryItem(Number(), *item);
    if (anchor < 0) {
        ReportFull(Game().HasFreeInventoryEntry(Number()));
        return;
    }
    LoadFromModel();
    SelectAnchor(anchor); // the new item, in the list and in the backpack
}

void CVelkarPage4::OnReplaceItem()
{
    const auto selected = FirstSelectedItem();
    if (!selected)
        return;
    const auto& [cell, old] = *selected;
    const std::optional<InventoryItem> item = EditedItem(old);
    if (!item)
        return;
    const int anchor = Game().ReplaceInventoryItem(Number(), cell, *item);
    if (anchor < 0) {
        ReportFull(true);
        return;
    }
    LoadFromModel();
    SelectAnchor(anchor);
}

void CVelkarPage4::OnMoveRequested(int from, int toCell)
{
    if (!Game().MoveInventoryItem(Number(), from, toCell))
        return;
    LoadFromModel();
    SelectAnchor(toCell);
}

void CVelkarPage4::OnDeleteItem()
{
    for (const int cell : SelectedAnchors())
        Game().RemoveInventoryItem(Number(), cell);
    LoadFromModel();
}

void CVelkarPage4::ShowSelectionInBackpack()
{
    backpack_->SetSelected(SelectedAnchors());
}

void CVelkarPage4::OnBackpackClicked(int anchor, Qt::KeyboardModifiers modifiers)
{
    const int row = RowOfAnchor(anchor);
    // As a click in the list: alone it selects that row only (or nothing, off the items);
    // with Ctrl it adds the row to the selection or takes it out.
    const bool adding = (modifiers & Qt::ControlModifier) != 0;
    if (row < 0) {
        if (!adding)
            inventory_->clearSelection();
        return;
    }
    inventory_->setCurrentRow(row, adding ? QItemSelectionModel::Toggle : QItemSelectionModel::ClearAndSelect);
    inventory_->scrollToItem(inventory_->item(row));
}
