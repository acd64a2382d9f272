#include "setcellcolor.h"

#include "knitcell.h"
#include "knitscene.h"

#include <QCoreApplication>

SetCellColor::SetCellColor(const QPoint &pos, KnitScene *scene, const QColor &color, QUndoCommand *parent)
    : QUndoCommand(parent)
    , m_pos(pos)
    , m_newColor(color)
    , m_scene(scene)
{
    if (KnitCell *cell = scene->at(pos.x(), pos.y()))
        m_oldColor = cell->color();
    setText(QCoreApplication::translate("SetCellColor", "Set stitch Color to %1").arg(color.name()));
}

void SetCellColor::redo()
{
    if (KnitCell *cell = m_scene->at(m_pos.x(), m_pos.y()))
        cell->setColor(m_newColor);
}

void SetCellColor::undo()
{
    if (KnitCell *cell = m_scene->at(m_pos.x(), m_pos.y()))
        cell->setColor(m_oldColor);
}
