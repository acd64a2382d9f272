#include "setcellcolor.h"

#include "chartgrid.h"

#include <QCoreApplication>

SetCellColor::SetCellColor(const QPoint &pos, ChartGrid *grid, const QColor &color, QUndoCommand *parent)
    : QUndoCommand(parent)
    , m_pos(pos)
    , m_oldColor(grid->color(pos.x(), pos.y()))
    , m_newColor(color)
    , m_grid(grid)
{
    setText(QCoreApplication::translate("SetCellColor", "Set stitch Color to %1").arg(color.name()));
}

void SetCellColor::redo()
{
    m_grid->setColor(m_pos.x(), m_pos.y(), m_newColor);
}

void SetCellColor::undo()
{
    m_grid->setColor(m_pos.x(), m_pos.y(), m_oldColor);
}
