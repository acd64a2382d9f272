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
}
