#include "insertrow.h"

#include "knitscene.h"
#include "knittextedit.h"

#include <QCoreApplication>

InsertRow::InsertRow(int row, KnitScene *scene, KnitTextEdit *editor, QUndoCommand *parent)
    : QUndoCommand(parent)
    , m_row(row)
    , m_editor(editor)
    , m_scene(scene)
{
    setText(QCoreApplication::translate("InsertRow", "Insert row at %1").arg(row));
}

void InsertRow::redo()
{
    if (m_editor)
        m_editor->insertRow(m_row);
    m_scene->insertRowAbove(m_row);
}

void InsertRow::undo()
{
    m_scene->removeRow(m_row);
    if (m_editor)
        m_editor->removeRow(m_row);
}
