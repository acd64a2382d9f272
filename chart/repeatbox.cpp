#include "repeatbox.h"

namespace {

// The box's first and last index along the direction rows or columns are
// inserted in: rows run down (y), columns across (x).
int first(const QRect &cells, Qt::Orientation orientation)
{
    return orientation == Qt::Horizontal ? cells.top() : cells.left();
}

int last(const QRect &cells, Qt::Orientation orientation)
{
    return orientation == Qt::Horizontal ? cells.bottom() : cells.right();
}

void setSpan(QRect &cells, Qt::Orientation orientation, int start, int end)
{
    if (orientation == Qt::Horizontal) {
        cells.setTop(start);
        cells.setBottom(end);
    } else {
        cells.setLeft(start);
        cells.setRight(end);
    }
}

} // namespace

// Qt::Horizontal stands for a row (it lies across the chart), Qt::Vertical
// for a column.
QList<RepeatBox> RepeatBoxes::inserted(const QList<RepeatBox> &boxes, Qt::Orientation orientation, int at)
{
    QList<RepeatBox> result = boxes;
    for (RepeatBox &box : result) {
        const int start = first(box.cells, orientation), end = last(box.cells, orientation);
        if (at <= start)
            setSpan(box.cells, orientation, start + 1, end + 1);
        else if (at <= end)
            setSpan(box.cells, orientation, start, end + 1);
    }
    return result;
}

QList<RepeatBox> RepeatBoxes::removed(const QList<RepeatBox> &boxes, Qt::Orientation orientation, int at)
{
    QList<RepeatBox> result;
    for (RepeatBox box : boxes) {
        const int start = first(box.cells, orientation), end = last(box.cells, orientation);
        if (at < start)
            setSpan(box.cells, orientation, start - 1, end - 1);
        else if (at <= end)
            setSpan(box.cells, orientation, start, end - 1);
        if (!box.cells.isEmpty())
            result.append(box);
    }
    return result;
}

QList<RepeatBox> RepeatBoxes::within(const QList<RepeatBox> &boxes, int columns, int rows)
{
    const QRect grid(0, 0, columns, rows);
    QList<RepeatBox> result;
    for (RepeatBox box : boxes) {
        box.cells = box.cells.isValid() ? box.cells & grid : QRect();
        if (!box.color.isValid())
            box.color = RepeatBox::defaultColor();
        if (!box.cells.isEmpty() && !result.contains(box))
            result.append(box);
    }
    return result;
}

QColor RepeatBoxes::colorOf(const QList<RepeatBox> &boxes, const QColor &none)
{
    return boxes.isEmpty() ? none : boxes.last().color;
}
