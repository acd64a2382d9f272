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
    // A box the removal shrinks or takes away cannot be told back from
    // what is left.
    m_repeats = m_grid->repeats();
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
    m_grid->setRepeats(m_repeats);
}
