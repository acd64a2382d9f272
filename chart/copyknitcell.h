#ifndef COPYKNITCELL_H
#define COPYKNITCELL_H

#include <QColor>
#include <QPoint>
#include <QUndoCommand>

class ChartGrid;
class Stitch;

// Gives one cell the stitch and colour of another; borders are not copied.
class CopyKnitCell : public QUndoCommand
{
public:
    CopyKnitCell(const QPoint &from, const QPoint &to, ChartGrid *grid, QUndoCommand *parent = nullptr);

    void redo() override;
    void undo() override;

private:
    QPoint m_from;
    QPoint m_to;
    Stitch *m_oldStitch = nullptr;
    int m_oldImgPos = 0;
    QColor m_oldColor;
    ChartGrid *m_grid;
};

#endif // COPYKNITCELL_H
