#ifndef SETCELLSIZE_H
#define SETCELLSIZE_H

#include <QSize>
#include <QUndoCommand>

class ChartGrid;

// Changes the size of every cell of the chart.
class SetCellSize : public QUndoCommand
{
public:
    SetCellSize(const QSize &size, ChartGrid *grid, QUndoCommand *parent = nullptr);

    void redo() override;
    void undo() override;

private:
    QSize m_oldSize;
    QSize m_newSize;
    ChartGrid *m_grid;
};

#endif // SETCELLSIZE_H
