#ifndef SETSHAPINGROWS_H
#define SETSHAPINGROWS_H

#include <QList>
#include <QUndoCommand>

class ChartGrid;

// Replaces the rows marked as shaping, whose stitch count changes on
// purpose. Undo puts back the marks there were.
class SetShapingRows : public QUndoCommand
{
public:
    SetShapingRows(const QList<int> &rows, const QString &text, ChartGrid *grid, QUndoCommand *parent = nullptr);

    void redo() override;
    void undo() override;

private:
    ChartGrid *m_grid;
    QList<int> m_before;
    QList<int> m_after;
};

#endif // SETSHAPINGROWS_H
