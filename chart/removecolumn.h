#ifndef REMOVECOLUMN_H
#define REMOVECOLUMN_H

#include "chartgrid.h"

#include <QList>
#include <QUndoCommand>

// Removes the column at index `column`; undo brings its cells back as they
// were, borders included, and the repeat boxes as they were.
class RemoveColumn : public QUndoCommand
{
public:
    RemoveColumn(int column, ChartGrid *grid, QUndoCommand *parent = nullptr);

    void redo() override;
    void undo() override;

private:
    int m_column;
    ChartGrid *m_grid;
    QList<ChartCell> m_cells;
    QList<RepeatBox> m_repeats;
};

#endif // REMOVECOLUMN_H
