#include "removecolumn.h"

#include "stitchset.h"

#include <QCoreApplication>

RemoveColumn::RemoveColumn(int column, ChartGrid *grid, QUndoCommand *parent)
    : QUndoCommand(parent)
    , m_column(column)
    , m_grid(grid)
    , m_cells(grid->columnCells(column))
{
    setText(QCoreApplication::translate("RemoveColumn", "Remove column at %1").arg(column));
}

void RemoveColumn::redo()
{
    m_grid->removeColumn(m_column);
}

void RemoveColumn::undo()
{
    // Nothing was removed when the column did not exist.
    if (m_cells.isEmpty())
        return;
    m_grid->insertColumn(m_column, StitchSet::instance()->defaultStitch());
    for (int y = 0; y < m_cells.size(); ++y)
        m_grid->setCell(m_column, y, m_cells.at(y));
}
