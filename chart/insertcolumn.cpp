#include "insertcolumn.h"

#include "chartgrid.h"
#include "stitchset.h"

#include <QCoreApplication>

InsertColumn::InsertColumn(int column, ChartGrid *grid, QUndoCommand *parent)
    : QUndoCommand(parent)
    , m_column(column)
    , m_grid(grid)
    , m_fill(StitchSet::instance()->defaultStitch())
{
    setText(QCoreApplication::translate("InsertColumn", "Insert column at %1").arg(column));
}

void InsertColumn::redo()
{
    m_grid->insertColumn(m_column, m_fill);
}

void InsertColumn::undo()
{
    m_grid->removeColumn(m_column);
}
