#include "setborder.h"

#include "knitscene.h"

#include <QCoreApplication>

namespace {

// The neighbour across a side, and that neighbour's side on the same edge.
QPoint neighbourOffset(KnitCell::Side side)
{
    switch (side) {
    case KnitCell::Left:
        return QPoint(-1, 0);
    case KnitCell::Right:
        return QPoint(1, 0);
    case KnitCell::Top:
        return QPoint(0, -1);
    case KnitCell::Bottom:
        break;
    }
    return QPoint(0, 1);
}

KnitCell::Side facingSide(KnitCell::Side side)
{
    switch (side) {
    case KnitCell::Left:
        return KnitCell::Right;
    case KnitCell::Right:
        return KnitCell::Left;
    case KnitCell::Top:
        return KnitCell::Bottom;
    case KnitCell::Bottom:
        break;
    }
    return KnitCell::Top;
}

} // namespace

SetBorder::SetBorder(KnitCell::Side side, const QPoint &pos, bool on, const QColor &color, KnitScene *scene,
                     QUndoCommand *parent)
    : QUndoCommand(parent)
    , m_side(side)
    , m_pos(pos)
    , m_newState(on)
    , m_newColor(color)
    , m_scene(scene)
{
    if (const KnitCell *cell = scene->at(pos.x(), pos.y())) {
        m_oldState = cell->hasBorder(side);
        m_oldColor = cell->borderColor(side);
    }
    const QString state = on ? QCoreApplication::translate("SetBorder", "On")
                             : QCoreApplication::translate("SetBorder", "Off");
    setText(QCoreApplication::translate("SetBorder", "Set border %1").arg(state));
}

void SetBorder::redo()
{
    apply(m_newState, m_newColor);
}

void SetBorder::undo()
{
    apply(m_oldState, m_oldColor);
}

void SetBorder::apply(bool on, const QColor &color)
{
    KnitCell *cell = m_scene->at(m_pos.x(), m_pos.y());
    if (!cell)
        return;
    cell->setBorder(m_side, on, color);
    const QPoint across = m_pos + neighbourOffset(m_side);
    if (KnitCell *neighbour = m_scene->at(across.x(), across.y()))
        neighbour->setBorder(facingSide(m_side), on, color);
}
