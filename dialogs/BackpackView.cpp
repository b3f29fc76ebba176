#include "dialogs/BackpackView.h"

#include "dialogs/ItemPictures.h"
#include "dialogs/ItemText.h"

#include "model/InventoryLayout.h"
#include "model/ItemFootprint.h"
#include "model/SaveGame.h"

#include <QApplication>
#include <QFont>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QStringList>
#include <QToolTip>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

namespace IL = InventoryLayout;

struct KindLook {
    QRgb color;
    const char* name; // in the legend
};

// Fill colours by kind, in ItemKind order.
// clang-format off
constexpr std::array<KindLook, ItemKinds::KindCount> kKinds = {{
    {.color = 0xB0B0B0, .name = "Other"},
    {.color = 0x8FA9C8, .name = "Weapons"},
    {.color = 0xB08A62, .name = "Armour"},
    {.color = 0xE8C547, .name = "Rings, amulets"},
    {.color = 0xA98BD6, .name = "Wands"},
    {.color = 0x6FD3D8, .name = "Gems"},
    {.color = 0xF2E27D, .name = "Gold"},
    {.color = 0x8CC97A, .name = "Reagents"},
    {.color = 0xE79AC8, .name = "Potions"},
    {.color = 0xEFE3C4, .name = "Scrolls, books"},
    {.color = 0xF0A24B, .name = "Artifacts"},
    {.color = 0x5FB3A1, .name = "Quest items"},
}};
// clang-format on
// The backpack in cells.
constexpr QRect kGrid(0, 0, IL::Columns, IL::Rows);
constexpr QRgb kWarningColor = 0xE53935;
constexpr QRgb kFitsColor = 0x2E9B3A;
constexpr QRgb kStrayColor = 0x707070;
constexpr QRgb kFreeAreaColor = 0x1E88E5;

constexpr int kMargin = 1;
constexpr int kSelectedPen = 3;
constexpr int kLegendColumns = 2;
constexpr double kNameScale = 0.85;

QString StrayText(int value)
{
    if (value > IL::EntryCount)
        return QStringLiteral("Holds %1, which names no inventory entry.").arg(value);
    if (value > 0)
        return QStringLiteral("Marked as the place of entry %1, which holds no item.").arg(value);
    return QStringLiteral("Marked as covered from cell %1, but no item there reaches this cell.").arg(~value);
}

// The largest rectangle of cells for which free is true.
QRect LargestFree(const std::array<bool, IL::CellCount>& free)
{
    QRect best;
    for (int top = 0; top < IL::Rows; ++top) {
        for (int left = 0; left < IL::Columns; ++left) {
            int width = IL::Columns - left;
            for (int bottom = top; bottom < IL::Rows && width > 0; ++bottom) {
                int run = 0;
                while (run < width && free[static_cast<std::size_t>(left + run + IL::Columns * bottom)])
                    ++run;
                width = run;
                if (width * (bottom - top + 1) > best.width() * best.height())
                    best = QRect(left, top, width, bottom - top + 1);
            }
        }
    }
    return best;
}

} // namespace

BackpackView::BackpackView(const SaveGame& save, int n, QWidget* parent)
    : QWidget(parent), save_(save), codec_(TextCodec::ForKey(save.GetWords().CodePage())), n_(n),
      pictures_(ItemPictures::For(save.GetItemTable()))
{
    // Clicks select rows; the focus stays in the page's fields.
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

BackpackView::~BackpackView() = default;

QSize BackpackView::sizeHint() const
{
    return {IL::Columns * PreferredCellSize + 2 * kMargin, IL::Rows * PreferredCellSize + 2 * kMargin};
}

QSize BackpackView::minimumSizeHint() const
{
    return {IL::Columns * SmallestCellSize + 2 * kMargin, IL::Rows * SmallestCellSize + 2 * kMargin};
}

QColor BackpackView::KindColor(ItemKind kind)
{
    return QColor::fromRgb(kKinds.at(static_cast<std::size_t>(kind)).color);
}

QColor BackpackView::WarningColor()
{
    return QColor::fromRgb(kWarningColor);
}

QColor BackpackView::FitsColor()
{
    return QColor::fromRgb(kFitsColor);
}

QLabel* BackpackView::MakeLegend()
{
    QString html = QStringLiteral("<table cellspacing=\"2\">");
    for (std::size_t i = 0; i < kKinds.size(); ++i) {
        if (i % kLegendColumns == 0)
            html += QStringLiteral("<tr>");
        html += QStringLiteral("<td><span style=\"color:%1\">&#9632;</span>&nbsp;%2&nbsp;</td>")
                    .arg(QColor::fromRgb(kKinds[i].color).name(), QString::fromLatin1(kKinds[i].name));
        if (i % kLegendColumns == kLegendColumns - 1)
            html += QStringLiteral("</tr>");
    }
    html += QStringLiteral("</table>");
    auto* legend = new QLabel(html);
    legend->setTextFormat(Qt::RichText);
    return legend;
}

void BackpackView::Refresh()
{
    pieces_.clear();
    strays_.clear();
    freeArea_ = QRect();
    items_ = QPixmap();
    const ItemTable& table = save_.GetItemTable();
    InventoryItem item;
    for (int cell = 0; save_.GetInventoryCell(n_, cell, item) != -1; ++cell) {
        if (item.ItemNumber == 0)
            continue;
        const ItemSize size = save_.GetInventoryFootprint(n_, cell).value_or(ItemSize{1, 1});
        Piece piece;
        piece.anchor = cell;
        piece.itemNumber = item.ItemNumber;
        piece.cells = QRect(cell % IL::Columns, cell / IL::Columns, size.Width, size.Height);
        piece.kind = ItemKinds::KindOf(item.ItemNumber);
        piece.outside = piece.cells.right() >= IL::Columns || piece.cells.bottom() >= IL::Rows;
        piece.name = ItemText::Name(table, codec_, item.ItemNumber);
        piece.toolTip = ItemText::Describe(table, codec_, item);
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

    std::erase_if(selected_, [this](int anchor) { return PieceAnchoredAt(anchor) == nullptr; });
    update();
}

void BackpackView::SetSelected(const std::vector<int>& anchors)
{
    if (anchors == selected_)
        return;
    selected_ = anchors;
    update();
}

bool BackpackView::ShowLargestFreeArea()
{
    std::array<bool, IL::CellCount> free{};
    for (int cell = 0; cell < IL::CellCount; ++cell)
        free[static_cast<std::size_t>(cell)] = save_.GetInventoryGridCell(n_, cell) == 0;
    freeArea_ = LargestFree(free);
    update();
    return !freeArea_.isEmpty();
}

int BackpackView::CellSize() const
{
    const int size = std::min((width() - 2 * kMargin) / IL::Columns, (height() - 2 * kMargin) / IL::Rows);
    return std::max(size, 1);
}

QRect BackpackView::GridRect() const
{
    const int cell = CellSize();
    const QSize size(IL::Columns * cell, IL::Rows * cell);
    // Centred across, at the top: the page's labels stay next to it.
    return {QPoint((width() - size.width()) / 2, kMargin), size};
}

QRect BackpackView::AreaRect(const QRect& cells) const
{
    const int cell = CellSize();
    const QPoint origin = GridRect().topLeft();
    return {origin.x() + cells.left() * cell, origin.y() + cells.top() * cell, cells.width() * cell,
            cells.height() * cell};
}

QRect BackpackView::PieceRect(const Piece& piece) const
{
    return AreaRect(piece.cells & kGrid);
}

QRect BackpackView::CellRect(int cell) const
{
    return AreaRect(QRect(cell % IL::Columns, cell / IL::Columns, 1, 1));
}

QPoint BackpackView::ColumnRowAt(const QPoint& position) const
{
    const int cell = CellSize();
    const QPoint offset = position - GridRect().topLeft();
    const auto floorDiv = [](int a, int b) { return static_cast<int>(std::floor(static_cast<double>(a) / b)); };
    return {floorDiv(offset.x(), cell), floorDiv(offset.y(), cell)};
}

int BackpackView::CellAt(const QPoint& position) const
{
    const QPoint at = ColumnRowAt(position);
    if (at.x() < 0 || at.y() < 0 || at.x() >= IL::Columns || at.y() >= IL::Rows)
        return -1;
    return at.x() + IL::Columns * at.y();
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

const BackpackView::Piece* BackpackView::PieceAnchoredAt(int anchor) const
{
    const auto it =
        std::find_if(pieces_.begin(), pieces_.end(), [anchor](const Piece& p) { return p.anchor == anchor; });
    return it == pieces_.end() ? nullptr : &*it;
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

void BackpackView::resizeEvent(QResizeEvent* event)
{
    items_ = QPixmap();
    QWidget::resizeEvent(event);
}

void BackpackView::PaintPiece(QPainter& painter, const Piece& piece)
{
    // Drawn as far as the grid reaches.
    const QRect area = PieceRect(piece);
    const QImage* picture = nullptr;
    if (pictures_ != nullptr && !piece.Damaged()) {
        const QImage& image = pictures_->Get(piece.itemNumber);
        picture = image.isNull() ? nullptr : &image;
    }
    if (picture != nullptr) {
        // As the game draws it: centred on its cells by the game's own offset, which may
        // let it overhang them a little; no further, whatever size a mod's picture has.
        const double scale = static_cast<double>(CellSize()) / GameCellSize;
        const QRectF target(area.left() + ItemFootprint::Offset(picture->width()) * scale,
                            area.top() + ItemFootprint::Offset(picture->height()) * scale, picture->width() * scale,
                            picture->height() * scale);
        const double overhang = ItemFootprint::MaxOverhang * scale;
        painter.save();
        painter.setClipRect(QRectF(area).adjusted(-overhang, -overhang, overhang, overhang));
        painter.drawImage(target, *picture);
        painter.restore();
        return;
    }
    const QRect inner = area.adjusted(2, 2, -2, -2);
    const QColor fill = piece.Damaged() ? WarningColor() : KindColor(piece.kind);
    painter.fillRect(inner, fill);
    if (piece.Damaged())
        painter.fillRect(inner, QBrush(Qt::white, Qt::BDiagPattern));
    QPen pen(fill.darker(170), 1);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(inner.adjusted(0, 0, -1, -1));
    if (piece.cells.width() * piece.cells.height() >= 2 && !piece.Damaged())
        PaintName(painter, piece.name, inner.adjusted(2, 1, -2, -1));
}

void BackpackView::PaintName(QPainter& painter, const QString& name, const QRect& area)
{
    // Along the longer side: a wand's name reads upwards.
    const bool upright = 2 * area.height() > 3 * area.width();
    const QRect box = upright ? QRect(0, 0, area.height(), area.width()) : QRect(QPoint(0, 0), area.size());
    painter.save();
    QFont font = painter.font();
    font.setPointSizeF(font.pointSizeF() * kNameScale);
    painter.setFont(font);
    painter.setPen(QColor(Qt::black));
    painter.translate(upright ? area.bottomLeft() + QPoint(0, 1) : area.topLeft());
    if (upright)
        painter.rotate(-90);
    // Whole words to a line while they fit; the last line that fits is elided.
    const QFontMetrics metrics = painter.fontMetrics();
    const int lines = std::max(1, box.height() / metrics.lineSpacing());
    QStringList shown;
    QString line;
    const QStringList words = name.split(u' ', Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString longer = line.isEmpty() ? words[i] : line + u' ' + words[i];
        if (metrics.horizontalAdvance(longer) <= box.width() || line.isEmpty()) {
            line = longer;
            continue;
        }
        if (shown.size() == lines - 1) {
            line += u' ' + QStringList(words.mid(i)).join(u' ');
            break;
        }
        shown.append(line);
        line = words[i];
    }
    shown.append(line);
    for (QString& text : shown)
        text = metrics.elidedText(text, Qt::ElideRight, box.width());
    painter.drawText(box, Qt::AlignCenter, shown.join(u'\n'));
    painter.restore();
}

void BackpackView::PaintItems(QPainter& painter)
{
    const QPalette& colors = palette();
    const QRect grid = GridRect();
    const int cell = CellSize();
    painter.fillRect(grid, colors.color(QPalette::Base));
    painter.setPen(colors.color(QPalette::Midlight));
    for (int x = 0; x <= IL::Columns; ++x)
        painter.drawLine(grid.left() + x * cell, grid.top(), grid.left() + x * cell, grid.top() + grid.height());
    for (int y = 0; y <= IL::Rows; ++y)
        painter.drawLine(grid.left(), grid.top() + y * cell, grid.left() + grid.width(), grid.top() + y * cell);

    for (const Stray& stray : strays_) {
        const QRect area = CellRect(stray.cell).adjusted(1, 1, -1, -1);
        painter.fillRect(area, QColor::fromRgb(kStrayColor));
        painter.fillRect(area, QBrush(WarningColor(), Qt::DiagCrossPattern));
    }

    painter.setRenderHint(QPainter::SmoothPixmapTransform, cell % GameCellSize != 0);
    for (const Piece& piece : pieces_)
        PaintPiece(painter, piece);

    if (IsEmpty()) {
        painter.setPen(colors.color(QPalette::PlaceholderText));
        painter.drawText(grid, Qt::AlignCenter, QString::fromLatin1(EmptyMessage));
    }
}

void BackpackView::paintEvent(QPaintEvent*)
{
    const qreal ratio = devicePixelRatioF();
    if (items_.isNull() || items_.devicePixelRatio() != ratio) {
        items_ = QPixmap(size() * ratio);
        items_.setDevicePixelRatio(ratio);
        items_.fill(Qt::transparent);
        QPainter layer(&items_);
        PaintItems(layer);
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, items_);

    const auto outline = [&painter](const QRect& area, const QColor& color, int width, Qt::PenStyle style) {
        QPen pen(color, width, style);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        const int inset = width / 2;
        painter.drawRect(area.adjusted(inset, inset, -inset - 1, -inset - 1));
    };
    for (const int anchor : selected_) {
        if (const Piece* piece = PieceAnchoredAt(anchor))
            outline(PieceRect(*piece).adjusted(1, 1, -1, -1), palette().color(QPalette::Highlight), kSelectedPen,
                    Qt::SolidLine);
    }
    if (!freeArea_.isEmpty())
        outline(AreaRect(freeArea_), QColor::fromRgb(kFreeAreaColor), kSelectedPen, Qt::DashLine);
    if (dragging_ && !dragTarget_.isEmpty())
        outline(AreaRect(dragTarget_), dragFits_ ? FitsColor() : WarningColor(), kSelectedPen, Qt::SolidLine);
}

void BackpackView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint position = event->position().toPoint();
    const Piece* piece = PieceAt(CellAt(position));
    pressed_ = piece != nullptr ? piece->anchor : -1;
    pressAt_ = position;
    if (piece != nullptr)
        grabOffset_ = ColumnRowAt(position) - piece->cells.topLeft();
    emit Clicked(pressed_, event->modifiers());
}

void BackpackView::UpdateDrag(const QPoint& position)
{
    const Piece* piece = PieceAnchoredAt(pressed_);
    if (piece == nullptr)
        return;
    const QPoint topLeft = ColumnRowAt(position) - grabOffset_;
    const QRect target(topLeft, piece->cells.size());
    if (target == dragTarget_)
        return;
    const bool inside = kGrid.contains(target);
    dragTarget_ = target;
    dragFits_ = inside && save_.CanMoveInventoryItem(n_, pressed_, topLeft.x() + IL::Columns * topLeft.y());
    update();
}

void BackpackView::mouseMoveEvent(QMouseEvent* event)
{
    if (pressed_ < 0) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    const QPoint position = event->position().toPoint();
    if (!dragging_ && (position - pressAt_).manhattanLength() >= QApplication::startDragDistance()) {
        dragging_ = true;
        setCursor(Qt::ClosedHandCursor);
    }
    if (dragging_)
        UpdateDrag(position);
}

void BackpackView::EndDrag()
{
    pressed_ = -1;
    dragging_ = false;
    dragTarget_ = QRect();
    dragFits_ = false;
    unsetCursor();
    update();
}

void BackpackView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || pressed_ < 0) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const int from = pressed_;
    const bool drop = dragging_ && dragFits_;
    const QPoint to = dragTarget_.topLeft();
    EndDrag();
    if (drop && to.x() + IL::Columns * to.y() != from)
        emit MoveRequested(from, to.x() + IL::Columns * to.y());
}
