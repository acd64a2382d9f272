#ifndef REPEATBOX_H
#define REPEATBOX_H

#include <QColor>
#include <QList>
#include <QRect>

// A pattern repeat marked on a chart: a rectangle of cells, in grid
// coordinates (column x from the left, row y from the top), outlined in
// its colour. Its columns are the stitches a row repeats; its rows are the
// rows the pattern repeats.
struct RepeatBox
{
    QRect cells;
    QColor color = defaultColor();

    static QColor defaultColor() { return QColor(Qt::red); }

    bool operator==(const RepeatBox &other) const { return cells == other.cells && color == other.color; }
    bool operator!=(const RepeatBox &other) const { return !(*this == other); }
};

// How the boxes follow the grid when a row or column is inserted at index
// `at` or removed from it: boxes after it move, boxes across it grow or
// shrink, a box whose last row or column goes goes with it. Insertion at a
// box's first row or column moves the box rather than growing it, so that
// a row added just above a repeat stays outside it.
namespace RepeatBoxes {
QList<RepeatBox> inserted(const QList<RepeatBox> &boxes, Qt::Orientation orientation, int at);
QList<RepeatBox> removed(const QList<RepeatBox> &boxes, Qt::Orientation orientation, int at);
// The boxes brought onto a columns x rows grid: clipped to it, empty or
// inverted ones and exact duplicates dropped, an invalid colour made the
// default.
QList<RepeatBox> within(const QList<RepeatBox> &boxes, int columns, int rows);
// The colour a chart's boxes are drawn in: that of the last box marked,
// or `none` when there is no box.
QColor colorOf(const QList<RepeatBox> &boxes, const QColor &none = RepeatBox::defaultColor());
} // namespace RepeatBoxes

#endif // REPEATBOX_H
