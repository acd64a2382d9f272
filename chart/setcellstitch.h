#ifndef SETCELLSTITCH_H
#define SETCELLSTITCH_H

#include <QPoint>
#include <QUndoCommand>

class ChartGrid;
class Stitch;

// Puts a stitch (one of its cell images) into one cell.
class SetCellStitch : public QUndoCommand
{
public:
    SetCellStitch(const QPoint &pos, ChartGrid *grid, Stitch *stitch, int imgPos, QUndoCommand *parent = nullptr);

    void redo() override;
    void undo() override;

private:
    QPoint m_pos;
    int m_oldImgPos = 0;
    int m_newImgPos = 0;
    Stitch *m_oldStitch = nullptr;
    Stitch *m_newStitch = nullptr;
    ChartGrid *m_grid = nullptr;
};

#endif // SETCELLSTITCH_H
