#include "swapknitcells.h"

#include "chartgrid.h"

#include <QCoreApplication>

SwapKnitCells::SwapKnitCells(const QPoint &first, const QPoint &second, ChartGrid *grid, QUndoCommand *parent)
    : QUndoCommand(parent)
    , m_first(first)
    , m_second(second)
    , m_grid(grid)
{
    setText(QCoreApplication::translate("SwapKnitCells", "Swap stitches"));
}

void SwapKnitCells::redo()
{
    m_grid->swapCells(m_first, m_second);
}

void SwapKnitCells::undo()
{
    m_grid->swapCells(m_second, m_first);
}
