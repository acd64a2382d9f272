#ifndef INSERTCOLUMN_H
#define INSERTCOLUMN_H

#include <QUndoCommand>

class ChartGrid;
class Stitch;

// Inserts a column of the default stitch at index `column` of the grid.
class InsertColumn : public QUndoCommand
{
public:
    InsertColumn(int column, ChartGrid *grid, QUndoCommand *parent = nullptr);

    void redo() override;
    void undo() override;

private:
    int m_column;
    ChartGrid *m_grid;
    Stitch *m_fill;
};

#endif // INSERTCOLUMN_H
