#ifndef SETREPEATS_H
#define SETREPEATS_H

#include "repeatbox.h"

#include <QList>
#include <QUndoCommand>

class ChartGrid;

// Replaces the chart's repeat boxes: marking a repeat, removing one,
// recolouring them. Undo puts back the boxes there were.
class SetRepeats : public QUndoCommand
{
public:
    SetRepeats(const QList<RepeatBox> &boxes, const QString &text, ChartGrid *grid, QUndoCommand *parent = nullptr);

    void redo() override;
    void undo() override;

private:
    ChartGrid *m_grid;
    QList<RepeatBox> m_before;
    QList<RepeatBox> m_after;
};

#endif // SETREPEATS_H
