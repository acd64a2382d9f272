#include "setcellstitch.h"

#include "knitcell.h"
#include "knitscene.h"
#include "stitch.h"

#include <QCoreApplication>

SetCellStitch::SetCellStitch(const QPoint &pos, KnitScene *scene, Stitch *stitch, int imgPos, QUndoCommand *parent)
    : QUndoCommand(parent)
    , m_pos(pos)
    , m_newImgPos(imgPos)
    , m_newStitch(stitch)
    , m_scene(scene)
{
    if (KnitCell *cell = scene->at(pos.x(), pos.y())) {
        m_oldStitch = cell->stitch();
        m_oldImgPos = cell->imgPos();
    }
    setText(QCoreApplication::translate("SetCellStitch", "Set stitch to %1").arg(stitch ? stitch->name() : QString()));
}

void SetCellStitch::redo()
{
    if (KnitCell *cell = m_scene->at(m_pos.x(), m_pos.y()))
        cell->setStitch(m_newStitch, m_newImgPos);
}

void SetCellStitch::undo()
{
    KnitCell *cell = m_scene->at(m_pos.x(), m_pos.y());
    if (cell && m_oldStitch)
        cell->setStitch(m_oldStitch, m_oldImgPos);
}
