#ifndef CHARTEDITOR_H
#define CHARTEDITOR_H

#include "chartgrid.h"

#include <QColor>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>

class QUndoStack;
class Stitch;

// The edits a designer makes to a chart, each pushed onto the chart's undo
// stack as one step: one command, or a macro of commands named for what
// the designer did. Views and the chart tab edit through this class and
// never change the grid themselves; the grid announces the result.
//
// Rectangles are in grid units, both ends included as QRect has them.
// Positions off the grid push nothing.
class ChartEditor
{
public:
    ChartEditor(ChartGrid *grid, QUndoStack *stack);

    ChartGrid *grid() const { return m_grid; }
    QUndoStack *undoStack() const { return m_stack; }

    // One command each.
    void setStitch(const QPoint &pos, Stitch *stitch, int imgPos);
    void setColor(const QPoint &pos, const QColor &color);
    void setCellSize(const QSize &size);

    // A multi-cell stitch put at each position spreads to the right with
    // its further images, up to the edge of the chart; no cell is written
    // twice ("Set stitch on lasso").
    void setStitchOn(const QList<QPoint> &positions, Stitch *stitch);
    // "Set color on lasso".
    void setColorOn(const QList<QPoint> &positions, const QColor &color);
    // One border of every listed cell, mirrored on its neighbours ("Set
    // border On" or "Off").
    void setBorderOn(const QList<QPoint> &positions, ChartCell::Edge edge, bool on, const QColor &color);
    // The outline of `box` drawn in `color` ("Border around selection").
    void borderAround(const QRect &box, const QColor &color);
    // Every border of the cells of `box`, its outline too ("Remove
    // borders"); nothing is pushed when there is none.
    void removeBorders(const QRect &box);

    // A repeat box over the cells of `box` in `color` ("Mark repeat"); a
    // box over exactly those cells takes the colour instead.
    void markRepeat(const QRect &box, const QColor &color);
    // Every repeat box that shares a cell with `box` ("Remove repeat");
    // nothing is pushed when there is none.
    void removeRepeats(const QRect &box);
    // Every repeat box in `color` ("Repeat color").
    void recolorRepeats(const QColor &color);
    // Marks the rows of `box` as shaping ("Mark shaping rows"), or takes
    // the mark off them ("Unmark shaping rows"); nothing is pushed when no
    // mark changes.
    void markShapingRows(const QRect &box, bool shaping);

    // Row `row` counted from the bottom (0 = the bottom row) takes
    // `stitches`, leftmost first; runs of a multi-cell stitch are numbered
    // through its images. Null entries leave their cell alone ("Update row
    // N from instructions").
    void updateRow(int row, const QList<Stitch *> &stitches);

    void insertRow(int row);
    void insertColumn(int column);
    // The rows (or columns) of `box`, keeping at least one row and column
    // ("Remove row(s)", "Remove column(s)").
    void removeRows(const QRect &box);
    void removeColumns(const QRect &box);

    // The box turned over left to right or top to bottom, cell by cell
    // ("Flip selection horizontally", "... vertically"); needs two cells.
    // Horizontally, a stitch that leans becomes the one leaning the other
    // way when `swapLeaning` is set (see StitchSet::mirrorStitch).
    void flipHorizontally(const QRect &box, bool swapLeaning = false);
    void flipVertically(const QRect &box);
    // The box copied, reversed, into the columns to its right or the rows
    // below it; what does not fit the chart is dropped.
    void mirrorHorizontally(const QRect &box, bool swapLeaning = false);
    void mirrorVertically(const QRect &box);

    // Every cell of the stitch with ID `original` becomes `replacement`
    // ("Replace Stitch").
    void replaceStitch(const QString &original, Stitch *replacement);

private:
    void beginMacro(const QString &text);
    void endMacro();
    void turnStitches(const QRect &box, bool swapLeaning);

    ChartGrid *m_grid;
    QUndoStack *m_stack;
};

#endif // CHARTEDITOR_H
