#include "removerow.h"

#include "stitchset.h"

#include <QCoreApplication>

RemoveRow::RemoveRow(int row, ChartGrid *grid, QUndoCommand *parent)
    : QUndoCommand(parent)
    , m_row(row)
    , m_grid(grid)
    , m_cells(grid->rowCells(row))
{
    setText(QCoreApplication::translate("RemoveRow", "Remove row at %1").arg(row));
}

void RemoveRow::redo()
{
    // A box the removal shrinks or takes away cannot be told back from
    // what is left.
    m_repeats = m_grid->repeats();
    m_shapingRows = m_grid->shapingRows();
    m_grid->removeRow(m_row);
}

void RemoveRow::undo()
{
    // Nothing was removed when the row did not exist.
    if (m_cells.isEmpty())
        return;
    m_grid->insertRow(m_row, StitchSet::instance()->defaultStitch());
    for (int x = 0; x < m_cells.size(); ++x)
        m_grid->setCell(x, m_row, m_cells.at(x));
    m_grid->setRepeats(m_repeats);
    m_grid->setShapingRows(m_shapingRows);
}
