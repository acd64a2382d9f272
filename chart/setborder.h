#ifndef SETBORDER_H
#define SETBORDER_H

#include "chartgrid.h"

#include <QColor>
#include <QPoint>
#include <QUndoCommand>

// Draws or erases one border of a cell. A border lies on the edge two
// cells share, so the neighbour across that edge gets the matching border
// too; on the outer edge of the chart only the one cell has it.
class SetBorder : public QUndoCommand
{
public:
    void redo() override;
    void undo() override;

protected:
    SetBorder(ChartCell::Edge edge, const QPoint &pos, bool on, const QColor &color, ChartGrid *grid,
              QUndoCommand *parent);

private:
    void apply(bool on, const QColor &color);

    ChartCell::Edge m_edge;
    QPoint m_pos;
    bool m_newState;
    bool m_oldState = false;
    QColor m_oldColor;
    QColor m_newColor;
    ChartGrid *m_grid;
};

class SetBorderTop : public SetBorder
{
public:
    SetBorderTop(const QPoint &pos, bool on, const QColor &color, ChartGrid *grid, QUndoCommand *parent = nullptr)
        : SetBorder(ChartCell::Top, pos, on, color, grid, parent)
    {
    }
};

class SetBorderBottom : public SetBorder
{
public:
    SetBorderBottom(const QPoint &pos, bool on, const QColor &color, ChartGrid *grid, QUndoCommand *parent = nullptr)
        : SetBorder(ChartCell::Bottom, pos, on, color, grid, parent)
    {
    }
};

class SetBorderLeft : public SetBorder
{
public:
    SetBorderLeft(const QPoint &pos, bool on, const QColor &color, ChartGrid *grid, QUndoCommand *parent = nullptr)
        : SetBorder(ChartCell::Left, pos, on, color, grid, parent)
    {
    }
};

class SetBorderRight : public SetBorder
{
public:
    SetBorderRight(const QPoint &pos, bool on, const QColor &color, ChartGrid *grid, QUndoCommand *parent = nullptr)
        : SetBorder(ChartCell::Right, pos, on, color, grid, parent)
    {
    }
};

#endif // SETBORDER_H
