#include "setshapingrows.h"

#include "chartgrid.h"

SetShapingRows::SetShapingRows(const QList<int> &rows, const QString &text, ChartGrid *grid, QUndoCommand *parent)
    : QUndoCommand(text, parent)
    , m_grid(grid)
    , m_before(grid->shapingRows())
    , m_after(rows)
{
}

void SetShapingRows::redo()
{
    m_grid->setShapingRows(m_after);
}

void SetShapingRows::undo()
{
    m_grid->setShapingRows(m_before);
}
