#ifndef SWAPKNITCELLS_H
#define SWAPKNITCELLS_H

#include <QPoint>
#include <QUndoCommand>

class ChartGrid;

// Exchanges the stitches and colours of two cells; borders stay put.
class SwapKnitCells : public QUndoCommand
{
public:
    SwapKnitCells(const QPoint &first, const QPoint &second, ChartGrid *grid, QUndoCommand *parent = nullptr);

    void redo() override;
    void undo() override;

private:
    QPoint m_first;
    QPoint m_second;
    ChartGrid *m_grid;
};

#endif // SWAPKNITCELLS_H
