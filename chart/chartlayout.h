#ifndef CHARTLAYOUT_H
#define CHARTLAYOUT_H

#include <QPoint>
#include <QRect>
#include <QRectF>
#include <QSize>

class ChartGrid;

// Where a chart's cells and its row and column numbers lie when it is
// drawn, in whole pixels: the grid of cells framed by the number cells,
// a row number as large as a cell, a column number 80 % as high.
//
//   left numbers | grid of columns x rows cells | right numbers, and a
//   line of column numbers above and below; a square in each corner.
//
// The frame counts in the size also where its numbers are hidden.
class ChartLayout
{
public:
    ChartLayout(const QSize &cellSize, int columns, int rows);
    explicit ChartLayout(const ChartGrid &grid);

    QSize cellSize() const { return m_cell; }
    int columns() const { return m_columns; }
    int rows() const { return m_rows; }

    QSize leftHeaderSize() const { return m_cell; }
    QSize rightHeaderSize() const { return m_cell; }
    QSize topHeaderSize() const { return QSize(m_cell.width(), int(m_cell.height() * 0.8)); }
    QSize bottomHeaderSize() const { return topHeaderSize(); }

    int gridLeft() const { return leftHeaderSize().width(); }
    int gridTop() const { return topHeaderSize().height(); }
    int gridRight() const { return gridLeft() + m_columns * m_cell.width(); }
    int gridBottom() const { return gridTop() + m_rows * m_cell.height(); }
    int width() const { return gridRight() + rightHeaderSize().width() + 1; }
    int height() const { return gridBottom() + bottomHeaderSize().height() + 1; }
    QRectF sceneRect() const { return QRectF(0, 0, width(), height()); }

    QRect cellRect(int x, int y) const;
    QRect leftHeaderRect(int y) const;
    QRect rightHeaderRect(int y) const;
    QRect topHeaderRect(int x) const;
    QRect bottomHeaderRect(int x) const;
    QRect topLeftCorner() const;
    QRect topRightCorner() const;
    QRect bottomLeftCorner() const;
    QRect bottomRightCorner() const;

    // The cell under a point, brought into the grid: every point maps to a
    // cell, also points on the numbers. (0, 0) for a grid without cells.
    QPoint targetCell(const QPointF &point) const;
    // The cells an area touches, widened by `margin` pixels (for the
    // borders that reach over a cell's edge); empty when it touches none.
    QRect cellsIn(const QRectF &area, int margin = 0) const;

private:
    QSize m_cell;
    int m_columns;
    int m_rows;
};

#endif // CHARTLAYOUT_H
