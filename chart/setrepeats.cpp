#include "setrepeats.h"

#include "chartgrid.h"

SetRepeats::SetRepeats(const QList<RepeatBox> &boxes, const QString &text, ChartGrid *grid, QUndoCommand *parent)
    : QUndoCommand(text, parent)
    , m_grid(grid)
    , m_before(grid->repeats())
    , m_after(boxes)
{
}

void SetRepeats::redo()
{
    m_grid->setRepeats(m_after);
}

void SetRepeats::undo()
{
    m_grid->setRepeats(m_before);
}
