#include "setcellsize.h"

#include "knitscene.h"

#include <QCoreApplication>

SetCellSize::SetCellSize(const QSize &size, KnitScene *scene, QUndoCommand *parent)
    : QUndoCommand(parent)
    , m_oldSize(scene->cellWidth, scene->cellHeight)
    , m_newSize(size)
    , m_scene(scene)
{
    setText(QCoreApplication::translate("SetCellSize", "Set stitch size - %1x%2").arg(size.width()).arg(size.height()));
}

void SetCellSize::redo()
{
    m_scene->setCellSize(m_newSize);
}

void SetCellSize::undo()
{
    m_scene->setCellSize(m_oldSize);
}
