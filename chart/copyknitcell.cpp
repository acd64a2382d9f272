#include "copyknitcell.h"

#include "knitcell.h"
#include "knitscene.h"
#include "knittextedit.h"

#include <QCoreApplication>

CopyKnitCell::CopyKnitCell(const QPointF &from, const QPointF &to, KnitScene *scene, KnitTextEdit *editor,
                           QUndoCommand *parent)
    : QUndoCommand(parent)
    , m_from(from)
    , m_to(to)
    , m_scene(scene)
    , m_editor(editor)
{
    if (const KnitCell *target = scene->at(to)) {
        m_oldStitch = target->stitch();
        m_oldImgPos = target->imgPos();
        m_oldColor = target->color();
    }
    setText(QCoreApplication::translate("CopyKnitCell", "Copy Stitch"));
}

void CopyKnitCell::redo()
{
    m_scene->copy(m_from, m_to);
    if (m_editor)
        m_editor->updateText(int(m_to.x()), int(m_to.y()), m_scene->stitch(int(m_from.x()), int(m_from.y())),
                             m_oldStitch);
}

void CopyKnitCell::undo()
{
    KnitCell *target = m_scene->at(m_to);
    if (!target || !m_scene->at(m_from))
        return;
    target->setColor(m_oldColor);
    target->setStitch(m_oldStitch, m_oldImgPos);
    if (m_editor)
        m_editor->updateText(int(m_to.x()), int(m_to.y()), target->stitch(),
                             m_scene->stitch(int(m_from.x()), int(m_from.y())));
}
