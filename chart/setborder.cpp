#include "setborder.h"

#include <QCoreApplication>

namespace {

// The neighbour across an edge, and that neighbour's edge on the same line.
QPoint neighbourOffset(ChartCell::Edge edge)
{
    switch (edge) {
    case ChartCell::Left:
        return QPoint(-1, 0);
    case ChartCell::Right:
        return QPoint(1, 0);
    case ChartCell::Top:
        return QPoint(0, -1);
    case ChartCell::Bottom:
        break;
    }
    return QPoint(0, 1);
}

ChartCell::Edge facingEdge(ChartCell::Edge edge)
{
    switch (edge) {
    case ChartCell::Left:
        return ChartCell::Right;
    case ChartCell::Right:
        return ChartCell::Left;
    case ChartCell::Top:
        return ChartCell::Bottom;
    case ChartCell::Bottom:
        break;
    }
    return ChartCell::Top;
}

} // namespace

SetBorder::SetBorder(ChartCell::Edge edge, const QPoint &pos, bool on, const QColor &color, ChartGrid *grid,
                     QUndoCommand *parent)
    : QUndoCommand(parent)
    , m_edge(edge)
    , m_pos(pos)
    , m_newState(on)
    , m_oldState(grid->hasBorder(pos.x(), pos.y(), edge))
    , m_oldColor(grid->contains(pos) ? grid->borderColor(pos.x(), pos.y(), edge) : QColor())
    , m_newColor(color)
    , m_grid(grid)
{
    const QString state = on ? QCoreApplication::translate("SetBorder", "On")
                             : QCoreApplication::translate("SetBorder", "Off");
    setText(QCoreApplication::translate("SetBorder", "Set border %1").arg(state));
}

void SetBorder::redo()
{
    apply(m_newState, m_newColor);
}

void SetBorder::undo()
{
    apply(m_oldState, m_oldColor);
}

void SetBorder::apply(bool on, const QColor &color)
{
    if (!m_grid->contains(m_pos))
        return;
    m_grid->setBorder(m_pos.x(), m_pos.y(), m_edge, on, color);
    const QPoint across = m_pos + neighbourOffset(m_edge);
    m_grid->setBorder(across.x(), across.y(), facingEdge(m_edge), on, color);
}
