#ifndef SETBORDER_H
#define SETBORDER_H

#include "knitcell.h"

#include <QColor>
#include <QPoint>
#include <QUndoCommand>

class KnitScene;

// Draws or erases one border of a cell. A border lies on the edge two
// cells share, so the neighbour across that edge gets the matching border
// too; on the outer edge of the chart only the one cell has it.
class SetBorder : public QUndoCommand
{
public:
    void redo() override;
    void undo() override;

protected:
    SetBorder(KnitCell::Side side, const QPoint &pos, bool on, const QColor &color, KnitScene *scene,
              QUndoCommand *parent);

private:
    void apply(bool on, const QColor &color);

    KnitCell::Side m_side;
    QPoint m_pos;
    bool m_newState;
    bool m_oldState = false;
    QColor m_oldColor;
    QColor m_newColor;
    KnitScene *m_scene;
};

class SetBorderTop : public SetBorder
{
public:
    SetBorderTop(const QPoint &pos, bool on, const QColor &color, KnitScene *scene, QUndoCommand *parent = nullptr)
        : SetBorder(KnitCell::Top, pos, on, color, scene, parent)
    {
    }
};

class SetBorderBottom : public SetBorder
{
public:
    SetBorderBottom(const QPoint &pos, bool on, const QColor &color, KnitScene *scene, QUndoCommand *parent = nullptr)
        : SetBorder(KnitCell::Bottom, pos, on, color, scene, parent)
    {
    }
};

class SetBorderLeft : public SetBorder
{
public:
    SetBorderLeft(const QPoint &pos, bool on, const QColor &color, KnitScene *scene, QUndoCommand *parent = nullptr)
        : SetBorder(KnitCell::Left, pos, on, color, scene, parent)
    {
    }
};

class SetBorderRight : public SetBorder
{
public:
    SetBorderRight(const QPoint &pos, bool on, const QColor &color, KnitScene *scene, QUndoCommand *parent = nullptr)
        : SetBorder(KnitCell::Right, pos, on, color, scene, parent)
    {
    }
};

#endif // SETBORDER_H
