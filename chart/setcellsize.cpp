#include "setcellsize.h"

#include "chartgrid.h"

#include <QCoreApplication>

SetCellSize::SetCellSize(const QSize &size, ChartGrid *grid, QUndoCommand *parent)
    : QUndoCommand(parent)
    , m_oldSize(grid->options().cellSize)
    , m_newSize(size)
    , m_grid(grid)
{
    setText(QCoreApplication::translate("SetCellSize", "Set stitch size - %1x%2").arg(size.width()).arg(size.height()));
}

void SetCellSize::redo()
{
    m_grid->setCellSize(m_newSize);
}

void SetCellSize::undo()
{
    m_grid->setCellSize(m_oldSize);
}
