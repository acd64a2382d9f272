#include "insertrow.h"

#include "chartgrid.h"
#include "stitchset.h"

#include <QCoreApplication>

InsertRow::InsertRow(int row, ChartGrid *grid, QUndoCommand *parent)
    : QUndoCommand(parent)
    , m_row(row)
    , m_grid(grid)
    , m_fill(StitchSet::instance()->defaultStitch())
{
    setText(QCoreApplication::translate("InsertRow", "Insert row at %1").arg(row));
}

void InsertRow::redo()
{
    m_grid->insertRow(m_row, m_fill);
}

void InsertRow::undo()
{
    m_grid->removeRow(m_row);
}
