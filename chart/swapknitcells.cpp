#include "swapknitcells.h"

#include "knitscene.h"
#include "knittextedit.h"

#include <QCoreApplication>

SwapKnitCells::SwapKnitCells(const QPointF &first, const QPointF &second, KnitScene *scene, KnitTextEdit *editor,
                             QUndoCommand *parent)
    : QUndoCommand(parent)
    , m_first(first)
    , m_second(second)
    , m_scene(scene)
    , m_editor(editor)
{
    setText(QCoreApplication::translate("SwapKnitCells", "Swap stitches"));
}

void SwapKnitCells::redo()
{
    m_scene->swap(m_first, m_second);
    tellEditor();
}

void SwapKnitCells::undo()
{
    m_scene->swap(m_second, m_first);
    tellEditor();
}

void SwapKnitCells::tellEditor()
{
    if (!m_editor)
        return;
    Stitch *atFirst = m_scene->stitch(int(m_first.x()), int(m_first.y()));
    Stitch *atSecond = m_scene->stitch(int(m_second.x()), int(m_second.y()));
    m_editor->updateText(int(m_first.x()), int(m_first.y()), atFirst, atSecond);
    m_editor->updateText(int(m_second.x()), int(m_second.y()), atSecond, atFirst);
}
