#include "removecolumn.h"

#include "knitscene.h"
#include "knittextedit.h"

#include <QCoreApplication>

RemoveColumn::RemoveColumn(int column, KnitScene *scene, KnitTextEdit *editor, QUndoCommand *parent)
    : QUndoCommand(parent)
    , m_column(column)
    , m_scene(scene)
    , m_editor(editor)
    , m_cells(CellInfo::ofColumn(scene, column))
{
    setText(QCoreApplication::translate("RemoveColumn", "Remove column at %1").arg(column));
}

void RemoveColumn::redo()
{
    m_scene->removeColumn(m_column);
    if (m_editor)
        m_editor->removeColumn(m_column);
}

void RemoveColumn::undo()
{
    // Nothing was removed when the column did not exist.
    if (m_cells.isEmpty())
        return;
    // The instructions make room first, so that the new cells' reports
    // land in the new column and not in its neighbour.
    if (m_editor)
        m_editor->insertColumn(m_column);
    m_scene->insertColumnLeft(m_column);
    for (const CellInfo &cell : std::as_const(m_cells))
        cell.restoreInto(m_scene);
}
