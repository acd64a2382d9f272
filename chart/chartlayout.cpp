#include "chartlayout.h"

#include "chartgrid.h"

#include <cmath>

ChartLayout::ChartLayout(const QSize &cellSize, int columns, int rows)
    : m_cell(cellSize)
    , m_columns(qMax(0, columns))
    , m_rows(qMax(0, rows))
{
}

ChartLayout::ChartLayout(const ChartGrid &grid)
    : ChartLayout(grid.options().cellSize, grid.columnCount(), grid.rowCount())
{
}

QRect ChartLayout::cellRect(int x, int y) const
{
    return QRect(gridLeft() + x * m_cell.width(), gridTop() + y * m_cell.height(), m_cell.width(), m_cell.height());
}

QRect ChartLayout::leftHeaderRect(int y) const
{
    return QRect(QPoint(0, gridTop() + y * m_cell.height()), leftHeaderSize());
}

QRect ChartLayout::rightHeaderRect(int y) const
{
    return QRect(QPoint(gridRight(), gridTop() + y * m_cell.height()), rightHeaderSize());
}

QRect ChartLayout::topHeaderRect(int x) const
{
    return QRect(QPoint(gridLeft() + x * m_cell.width(), 0), topHeaderSize());
}

QRect ChartLayout::bottomHeaderRect(int x) const
{
    return QRect(QPoint(gridLeft() + x * m_cell.width(), gridBottom()), bottomHeaderSize());
}

QRect ChartLayout::topLeftCorner() const
{
    return QRect(0, 0, leftHeaderSize().width(), topHeaderSize().height());
}

QRect ChartLayout::topRightCorner() const
{
    return QRect(gridRight(), 0, leftHeaderSize().width(), topHeaderSize().height());
}

QRect ChartLayout::bottomLeftCorner() const
{
    return QRect(0, gridBottom(), leftHeaderSize().width(), bottomHeaderSize().height());
}

QRect ChartLayout::bottomRightCorner() const
{
    return QRect(gridRight(), gridBottom(), rightHeaderSize().width(), bottomHeaderSize().height());
}

QPoint ChartLayout::targetCell(const QPointF &point) const
{
    // Truncated toward zero, as the number cells beside the grid belong to
    // its first row and column.
    int column = int(point.x() - gridLeft()) / m_cell.width();
    int row = int(point.y() - gridTop()) / m_cell.height();
    column = qMax(0, qMin(column, m_columns - 1));
    row = qMax(0, qMin(row, m_rows - 1));
    return QPoint(column, row);
}

QRect ChartLayout::cellsIn(const QRectF &area, int margin) const
{
    if (m_columns == 0 || m_rows == 0 || area.isEmpty())
        return QRect();
    const QRectF wide = area.adjusted(-margin, -margin, margin, margin);
    const int left = qMax(0, int(std::floor((wide.left() - gridLeft()) / m_cell.width())));
    const int top = qMax(0, int(std::floor((wide.top() - gridTop()) / m_cell.height())));
    const int right = qMin(m_columns - 1, int(std::floor((wide.right() - gridLeft()) / m_cell.width())));
    const int bottom = qMin(m_rows - 1, int(std::floor((wide.bottom() - gridTop()) / m_cell.height())));
    if (left > right || top > bottom)
        return QRect();
    return QRect(QPoint(left, top), QPoint(right, bottom));
}
