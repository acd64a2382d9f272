#ifndef REMOVEROW_H
#define REMOVEROW_H

#include "chartgrid.h"

#include <QList>
#include <QUndoCommand>

// Removes the row at index `row`; undo brings its cells back as they were,
// borders included, and the repeat boxes and shaping marks as they were.
class RemoveRow : public QUndoCommand
{
public:
    RemoveRow(int row, ChartGrid *grid, QUndoCommand *parent = nullptr);

    void redo() override;
    void undo() override;

private:
    int m_row;
    ChartGrid *m_grid;
    QList<ChartCell> m_cells;
    QList<RepeatBox> m_repeats;
    QList<int> m_shapingRows;
};

#endif // REMOVEROW_H
