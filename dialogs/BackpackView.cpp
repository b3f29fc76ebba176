#include "dialogs/BackpackView.h"

#include "dialogs/ItemText.h"

#include "model/InventoryLayout.h"
#include "model/SaveGame.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStringList>
#include <QToolTip>

#include <algorithm>
#include <array>

namespace {

namespace IL = InventoryLayout;

// Fill colours by kind, in ItemKind order.
constexpr std::array<QRgb, ItemKinds::KindCount> kKindColors = {
    0xB0B0B0, // unknown
    0x8FA9C8, // weapons
    0xB08A62, // armour
    0xE8C547, // rings and amulets
    0xA98BD6, // wands
    0x6FD3D8, // gems
    0xF2E27D, // gold
    0x8CC97A, // reagents
    0xE79AC8, // potions
    0xEFE3C4, // scrolls and books
    0xF0A24B, // artifacts
    0x5FB3A1, // quest items and recipes
};
constexpr QRgb kWarningColor = 0xE53935;
constexpr QRgb kStrayColor = 0x707070;

constexpr int kMargin = 1;
constexpr int kSelectedPen = 3;

// As the model places and removes items: a kind without a usable size takes one cell.
ItemSize Footprint(const ItemTable& table, int itemNumber)
{
    const auto size = table.GetItemSize(itemNumber);
    if (!size || size->Width < 1 || size->Height < 1)
        return {1, 1};
    return *size;
}

QString StrayText(int value)
{
    if (value > IL::EntryCount)
        return QStringLiteral("Holds %1, which names no inventory entry.").arg(value);
    if (value > 0)
        return QStringLiteral("Marked as the place of entry %1, which holds no item.").arg(value);
    return QStringLiteral("Marked as covered from cell %1, but no item there reaches this cell.").arg(~value);
}

} // namespace

BackpackView::BackpackView(const SaveGame& save, int n, QWidget* parent) : QWidget(parent), save_(save), n_(n)
{
    // Clicks select rows; the focus stays in the page's fields.
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(sizeHint());
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

QSize BackpackView::sizeHint() const
{
    return {IL::Columns * CellSize + 2 * kMargin, IL::Rows * CellSize + 2 * kMargin};
}

QSize BackpackView::minimumSizeHint() const
{
    return sizeHint();
}

QColor BackpackView::KindColor(ItemKind kind)
{
    return QColor::fromRgb(kKindColors.at(static_cast<std::size_t>(kind)));
}

QColor BackpackView::WarningColor()
{
    return QColor::fromRgb(kWarningColor);
}

void BackpackView::Refresh()
{
    pieces_.clear();
    strays_.clear();
    const ItemTable& table = save_.GetItemTable();
    InventoryItem item;
    for (int cell = 0; save_.GetInventoryCell(n_, cell, item) != -1; ++cell) {
        if (item.ItemNumber == 0)
            continue;
        const ItemSize size = Footprint(table, item.ItemNumber);
        Piece piece;
        piece.anchor = cell;
        piece.itemNumber = item.ItemNumber;
        piece.cells = QRect(cell % IL::Columns, cell / IL::Columns, size.Width, size.Height);
        piece.kind = ItemKinds::KindOf(item.ItemNumber);
        piece.outside = piece.cells.right() >= IL::Columns || piece.cells.bottom() >= IL::Rows;
        piece.toolTip = ItemText::Describe(table, item);
        pieces_.push_back(std::move(piece));
    }

    // How many rectangles cover each cell of the grid.
    const QRect grid(0, 0, IL::Columns, IL::Rows);
    std::array<int, IL::CellCount> covers{};
    for (const Piece& piece : pieces_) {
        const QRect inside = piece.cells & grid;
        for (int y = inside.top(); y <= inside.bottom(); ++y)
            for (int x = inside.left(); x <= inside.right(); ++x)
                ++covers[static_cast<std::size_t>(x + IL::Columns * y)];
    }
    for (Piece& piece : pieces_) {
        const QRect inside = piece.cells & grid;
        for (int y = inside.top(); y <= inside.bottom() && !piece.overlaps; ++y)
            for (int x = inside.left(); x <= inside.right() && !piece.overlaps; ++x)
                piece.overlaps = covers[static_cast<std::size_t>(x + IL::Columns * y)] > 1;
        QStringList warnings;
        if (piece.overlaps)
            warnings.append(QString::fromLatin1(OverlapMessage));
        if (piece.outside)
            warnings.append(QString::fromLatin1(OutsideMessage));
        if (!warnings.isEmpty())
            piece.toolTip += u'\n' + warnings.join(u'\n');
    }

    for (int cell = 0; cell < IL::CellCount; ++cell) {
        const int value = save_.GetInventoryGridCell(n_, cell);
        if (value != 0 && covers[static_cast<std::size_t>(cell)] == 0)
            strays_.push_back({cell, value, StrayText(value)});
    }

    std::erase_if(selected_, [this](int anchor) {
        return std::none_of(pieces_.begin(), pieces_.end(), [anchor](const Piece& p) { return p.anchor == anchor; });
    });
    update();
}

void BackpackView::SetSelected(const std::vector<int>& anchors)
{
    if (anchors == selected_)
        return;
    selected_ = anchors;
    update();
}

QRect BackpackView::CellRect(int cell) const
{
    return {kMargin + (cell % IL::Columns) * CellSize, kMargin + (cell / IL::Columns) * CellSize, CellSize, CellSize};
}

QRect BackpackView::PieceRect(const Piece& piece) const
{
    // Drawn as far as the grid reaches.
    const QRect inside = piece.cells & QRect(0, 0, IL::Columns, IL::Rows);
    return {kMargin + inside.left() * CellSize, kMargin + inside.top() * CellSize, inside.width() * CellSize,
            inside.height() * CellSize};
}

int BackpackView::CellAt(const QPoint& position) const
{
    const int x = position.x() - kMargin;
    const int y = position.y() - kMargin;
    if (x < 0 || y < 0 || x >= IL::Columns * CellSize || y >= IL::Rows * CellSize)
        return -1;
    return x / CellSize + IL::Columns * (y / CellSize);
}

const BackpackView::Piece* BackpackView::PieceAt(int cell) const
{
    if (cell < 0)
        return nullptr;
    const QPoint at(cell % IL::Columns, cell / IL::Columns);
    // Later pieces are drawn over earlier ones.
    for (auto it = pieces_.rbegin(); it != pieces_.rend(); ++it) {
        if (it->cells.contains(at))
            return &*it;
    }
    return nullptr;
}

const BackpackView::Stray* BackpackView::StrayAt(int cell) const
{
    const auto it = std::find_if(strays_.begin(), strays_.end(), [cell](const Stray& s) { return s.cell == cell; });
    return it == strays_.end() ? nullptr : &*it;
}

QString BackpackView::ToolTipAt(const QPoint& position) const
{
    if (IsEmpty())
        return QString::fromLatin1(EmptyMessage);
    const int cell = CellAt(position);
    if (const Piece* piece = PieceAt(cell))
        return piece->toolTip;
    if (const Stray* stray = StrayAt(cell))
        return stray->toolTip;
    return {};
}

bool BackpackView::event(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QString text = ToolTipAt(help->pos());
    if (text.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), text, this);
    }
    return true;
}

void BackpackView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPalette& colors = palette();
    const QRect grid(kMargin, kMargin, IL::Columns * CellSize, IL::Rows * CellSize);
    painter.fillRect(grid, colors.color(QPalette::Base));

    painter.setPen(colors.color(QPalette::Midlight));
    for (int x = 0; x <= IL::Columns; ++x)
        painter.drawLine(grid.left() + x * CellSize, grid.top(), grid.left() + x * CellSize, grid.bottom());
    for (int y = 0; y <= IL::Rows; ++y)
        painter.drawLine(grid.left(), grid.top() + y * CellSize, grid.right(), grid.top() + y * CellSize);

    for (const Stray& stray : strays_) {
        const QRect cell = CellRect(stray.cell).adjusted(1, 1, -1, -1);
        painter.fillRect(cell, QColor::fromRgb(kStrayColor));
        painter.fillRect(cell, QBrush(WarningColor(), Qt::DiagCrossPattern));
    }

    for (const Piece& piece : pieces_) {
        const QRect area = PieceRect(piece).adjusted(2, 2, -2, -2);
        const QColor fill = piece.Damaged() ? WarningColor() : KindColor(piece.kind);
        painter.fillRect(area, fill);
        if (piece.Damaged())
            painter.fillRect(area, QBrush(Qt::white, Qt::BDiagPattern));
        const bool selected = std::find(selected_.begin(), selected_.end(), piece.anchor) != selected_.end();
        QPen pen(selected ? colors.color(QPalette::Highlight) : fill.darker(170), selected ? kSelectedPen : 1);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        const int inset = selected ? kSelectedPen / 2 : 0;
        painter.drawRect(area.adjusted(inset, inset, -inset - 1, -inset - 1));
    }

    if (IsEmpty()) {
        painter.setPen(colors.color(QPalette::PlaceholderText));
        painter.drawText(grid, Qt::AlignCenter, QString::fromLatin1(EmptyMessage));
    }
}

void BackpackView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const Piece* piece = PieceAt(CellAt(event->position().toPoint()));
    emit Clicked(piece != nullptr ? piece->anchor : -1, event->modifiers());
}
