#ifndef SETCELLCOLOR_H
#define SETCELLCOLOR_H

#include <QColor>
#include <QPoint>
#include <QUndoCommand>

class ChartGrid;

// Paints one cell's background colour.
class SetCellColor : public QUndoCommand
{
public:
    SetCellColor(const QPoint &pos, ChartGrid *grid, const QColor &color, QUndoCommand *parent = nullptr);

    void redo() override;
    void undo() override;

private:
    QPoint m_pos;
    QColor m_oldColor;
    QColor m_newColor;
    ChartGrid *m_grid = nullptr;
};

#endif // SETCELLCOLOR_H
