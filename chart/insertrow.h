#ifndef INSERTROW_H
#define INSERTROW_H

#include <QUndoCommand>

class ChartGrid;
class Stitch;

// Inserts a row of the default stitch at index `row` of the grid.
class InsertRow : public QUndoCommand
{
public:
    InsertRow(int row, ChartGrid *grid, QUndoCommand *parent = nullptr);

    void redo() override;
    void undo() override;

private:
    int m_row;
    ChartGrid *m_grid;
    Stitch *m_fill;
};

#endif // INSERTROW_H
