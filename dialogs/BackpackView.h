#pragma once

#include "model/ItemKinds.h"
#include "text/TextCodec.h"

#include <QColor>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <QWidget>

#include <memory>
#include <vector>

class ItemPictures;
class QLabel;
class SaveGame;

// A picture of one character's backpack: the 14 x 9 grid with every item drawn over the
// cells it covers (as the game marked them, else its kind's size at its anchor): the game's
// own picture where the game's data has one, at the game's scale and centring, else a
// rectangle coloured by kind with the item's name. It reads the model and never writes it:
// a drag asks the page to move the item. What the grid holds is drawn as it is: an item
// that overlaps another or runs past the grid's edge is drawn as a warning, and a cell
// marked taken that no item covers (a dangling cover, a value naming no item) is not drawn
// as free.
class BackpackView : public QWidget {
    Q_OBJECT

public:
    static constexpr int GameCellSize = 32;     // the game's cell, in its pictures' pixels
    static constexpr int SmallestCellSize = 20; // the view's cells never shrink below this
    static constexpr int PreferredCellSize = 24;
    static constexpr const char* EmptyMessage = "The backpack is empty.";
    static constexpr const char* OverlapMessage = "Overlaps another item.";
    static constexpr const char* OutsideMessage = "Runs outside the backpack.";

    // One item, in anchor-cell order (the inventory list's order).
    struct Piece {
        int anchor = 0;
        int itemNumber = 0;
        QRect cells; // columns and rows; may reach past the grid
        ItemKind kind = ItemKind::Unknown;
        bool overlaps = false;
        bool outside = false;
        QString name;
        QString toolTip;

        bool Damaged() const { return overlaps || outside; }
    };

    // A cell marked taken that no item's rectangle covers.
    struct Stray {
        int cell = 0;
        int value = 0; // as stored
        QString toolTip;
    };

    BackpackView(const SaveGame& save, int n, QWidget* parent = nullptr);
    ~BackpackView() override;

    // Reads the character's inventory again and redraws.
    void Refresh();
    // Highlights the items anchored at these cells.
    void SetSelected(const std::vector<int>& anchors);
    // Outlines the largest rectangle of free cells until the next Refresh; false when no
    // cell is free.
    bool ShowLargestFreeArea();

    const std::vector<Piece>& Pieces() const { return pieces_; }
    const std::vector<Stray>& Strays() const { return strays_; }
    const std::vector<int>& Selected() const { return selected_; }
    bool IsEmpty() const { return pieces_.empty() && strays_.empty(); }
    // Whether the game's pictures are drawn (the game's data has icons).
    bool HasPictures() const { return pictures_ != nullptr; }
    // The outlined free area in cells; empty when none is shown.
    QRect LargestFreeArea() const { return freeArea_; }
    // While an item is dragged: where it would go, in cells, and whether it fits there.
    QRect DragTarget() const { return dragTarget_; }
    bool DragFits() const { return dragFits_; }

    // Where a grid cell is drawn, in the view's coordinates.
    QRect CellRect(int cell) const;
    int CellSize() const;
    // What hovering there tells: the item, the stray cell's value, or that the backpack is empty.
    QString ToolTipAt(const QPoint& position) const;

    static QColor KindColor(ItemKind kind);
    static QColor WarningColor();
    static QColor FitsColor();
    // A small key to the kind colours, for a backpack drawn without the game's pictures.
    static QLabel* MakeLegend();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // A press on the item anchored at anchor, or on a cell without an item (anchor -1).
    void Clicked(int anchor, Qt::KeyboardModifiers modifiers);
    // The item anchored at from was dropped where it fits with toCell as its anchor.
    void MoveRequested(int from, int toCell);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QRect GridRect() const;
    // Cell rectangles (columns, rows) to the view's coordinates.
    QRect AreaRect(const QRect& cells) const;
    // A piece's cells inside the grid, in the view's coordinates.
    QRect PieceRect(const Piece& piece) const;
    // The cell under a point, -1 outside the grid; column and row even outside it.
    int CellAt(const QPoint& position) const;
    QPoint ColumnRowAt(const QPoint& position) const;
    // The piece drawn on top at that cell, or null.
    const Piece* PieceAt(int cell) const;
    const Piece* PieceAnchoredAt(int anchor) const;
    const Stray* StrayAt(int cell) const;
    // Draws the grid, the strays and the items, which change only at Refresh or a resize.
    void PaintItems(QPainter& painter);
    void PaintPiece(QPainter& painter, const Piece& piece);
    static void PaintName(QPainter& painter, const QString& name, const QRect& area);
    void UpdateDrag(const QPoint& position);
    void EndDrag();

    const SaveGame& save_;
    TextCodec codec_; // the saved game's code page, for item names
    int n_;
    std::shared_ptr<ItemPictures> pictures_;
    std::vector<Piece> pieces_;
    std::vector<Stray> strays_;
    std::vector<int> selected_;
    QRect freeArea_;
    QPixmap items_; // PaintItems' result at the current size; null when it must be drawn again

    // A press on an item may become a drag once the mouse has moved far enough.
    int pressed_ = -1; // the anchor pressed, -1 for none
    QPoint pressAt_;
    QPoint grabOffset_; // the pressed cell's column and row within the item
    bool dragging_ = false;
    QRect dragTarget_;
    bool dragFits_ = false;
};
