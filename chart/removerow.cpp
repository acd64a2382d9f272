#include "removerow.h"

#include "knitscene.h"
#include "knittextedit.h"

#include <QCoreApplication>

RemoveRow::RemoveRow(int row, KnitScene *scene, KnitTextEdit *editor, QUndoCommand *parent)
    : QUndoCommand(parent)
    , m_row(row)
    , m_scene(scene)
    , m_editor(editor)
    , m_cells(CellInfo::ofRow(scene, row))
{
    setText(QCoreApplication::translate("RemoveRow", "Remove row at %1").arg(row));
}

void RemoveRow::redo()
{
    m_scene->removeRow(m_row);
    if (m_editor)
        m_editor->removeRow(m_row);
}

void RemoveRow::undo()
{
    // Nothing was removed when the row did not exist.
    if (m_cells.isEmpty())
        return;
    // The instructions make room first, so that the new cells' reports
    // land in the new row and not in its neighbour.
    if (m_editor)
        m_editor->insertRow(m_row);
    m_scene->insertRowAbove(m_row);
    for (const CellInfo &cell : std::as_const(m_cells))
        cell.restoreInto(m_scene);
}
