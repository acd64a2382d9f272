#include "setcellstitch.h"

#include "chartgrid.h"
#include "stitch.h"

#include <QCoreApplication>

SetCellStitch::SetCellStitch(const QPoint &pos, ChartGrid *grid, Stitch *stitch, int imgPos, QUndoCommand *parent)
    : QUndoCommand(parent)
    , m_pos(pos)
    , m_oldImgPos(grid->imgPos(pos.x(), pos.y()))
    , m_newImgPos(imgPos)
    , m_oldStitch(grid->stitch(pos.x(), pos.y()))
    , m_newStitch(stitch)
    , m_grid(grid)
{
    setText(QCoreApplication::translate("SetCellStitch", "Set stitch to %1").arg(stitch ? stitch->name() : QString()));
}

void SetCellStitch::redo()
{
    m_grid->setStitch(m_pos.x(), m_pos.y(), m_newStitch, m_newImgPos);
}

void SetCellStitch::undo()
{
    if (m_oldStitch)
        m_grid->setStitch(m_pos.x(), m_pos.y(), m_oldStitch, m_oldImgPos);
}
