#include "copyknitcell.h"

#include "chartgrid.h"

#include <QCoreApplication>

CopyKnitCell::CopyKnitCell(const QPoint &from, const QPoint &to, ChartGrid *grid, QUndoCommand *parent)
    : QUndoCommand(parent)
    , m_from(from)
    , m_to(to)
    , m_oldStitch(grid->stitch(to.x(), to.y()))
    , m_oldImgPos(grid->imgPos(to.x(), to.y()))
    , m_oldColor(grid->color(to.x(), to.y()))
    , m_grid(grid)
{
    setText(QCoreApplication::translate("CopyKnitCell", "Copy Stitch"));
}

void CopyKnitCell::redo()
{
    m_grid->copyCell(m_from, m_to);
}

void CopyKnitCell::undo()
{
    // Nothing was copied when either cell was missing.
    if (!m_grid->contains(m_to) || !m_grid->contains(m_from))
        return;
    m_grid->setColor(m_to.x(), m_to.y(), m_oldColor);
    m_grid->setStitch(m_to.x(), m_to.y(), m_oldStitch, m_oldImgPos);
}
