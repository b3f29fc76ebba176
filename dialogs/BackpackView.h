#pragma once

#include "model/ItemKinds.h"

#include <QColor>
#include <QRect>
#include <QString>
#include <QWidget>

#include <vector>

class SaveGame;

// A picture of one character's backpack: the 14 x 9 grid with every item drawn as a
// rectangle of its size at its anchor cell, coloured by kind. It reads the model and never
// writes it. What the grid holds is drawn as it is: an item that overlaps another or runs
// past the grid's edge is drawn as a warning, and a cell marked taken that no item covers
// (a dangling cover, a value naming no item) is not drawn as free.
class BackpackView : public QWidget {
    Q_OBJECT

public:
    static constexpr int CellSize = 20; // pixels, the grid lines included
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

    // Reads the character's inventory again and redraws.
    void Refresh();
    // Highlights the items anchored at these cells.
    void SetSelected(const std::vector<int>& anchors);

    const std::vector<Piece>& Pieces() const { return pieces_; }
    const std::vector<Stray>& Strays() const { return strays_; }
    const std::vector<int>& Selected() const { return selected_; }
    bool IsEmpty() const { return pieces_.empty() && strays_.empty(); }

    // Where a grid cell is drawn, in the view's coordinates.
    QRect CellRect(int cell) const;
    // What hovering there tells: the item, the stray cell's value, or that the backpack is empty.
    QString ToolTipAt(const QPoint& position) const;

    static QColor KindColor(ItemKind kind);
    static QColor WarningColor();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // A click on the item anchored at anchor, or on a cell without an item (anchor -1).
    void Clicked(int anchor, Qt::KeyboardModifiers modifiers);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int CellAt(const QPoint& position) const;
    // The piece drawn on top at that cell, or null.
    const Piece* PieceAt(int cell) const;
    const Stray* StrayAt(int cell) const;
    QRect PieceRect(const Piece& piece) const;

    const SaveGame& save_;
    int n_;
    std::vector<Piece> pieces_;
    std::vector<Stray> strays_;
    std::vector<int> selected_;
};
