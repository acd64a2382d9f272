#include "insertcolumn.h"

#include "knitscene.h"
#include "knittextedit.h"

#include <QCoreApplication>

InsertColumn::InsertColumn(int column, KnitScene *scene, KnitTextEdit *editor, QUndoCommand *parent)
    : QUndoCommand(parent)
    , m_column(column)
    , m_editor(editor)
    , m_scene(scene)
{
    setText(QCoreApplication::translate("InsertColumn", "Insert column at %1").arg(column));
}

void InsertColumn::redo()
{
    if (m_editor)
        m_editor->insertColumn(m_column);
    m_scene->insertColumnLeft(m_column);
}

void InsertColumn::undo()
{
    m_scene->removeColumn(m_column);
    if (m_editor)
        m_editor->removeColumn(m_column);
}
