#ifndef CHARTSCENE_H
#define CHARTSCENE_H

#include "chartfixtures.h"
#include "chartgrid.h"
#include "knitscene.h"

#include <QCoreApplication>
#include <QGraphicsSceneMouseEvent>
#include <QUndoStack>

// A chart's model with its undo stack and the scene that shows it and
// takes the mouse, as a chart tab wires them.
struct ChartScene
{
    ChartScene(int columns, int rows, const char *fill = "k")
        : grid(columns, rows, stitchById(fill))
        , scene(&grid, &stack)
    {
    }

    ChartGrid grid;
    QUndoStack stack;
    KnitScene scene;
};

// The mouse on a chart's scene, as the view hands it on.
namespace Mouse {

// The scene point at fraction (fx, fy) of grid cell (x, y).
inline QPointF at(const KnitScene &scene, int x, int y, qreal fx = 0.5, qreal fy = 0.5)
{
    const QSize cell = scene.grid()->options().cellSize;
    return QPointF(scene.leftHeaderSize().width() + (x + fx) * cell.width(),
                   scene.topHeaderSize().height() + (y + fy) * cell.height());
}

inline void send(KnitScene &scene, QEvent::Type type, const QPointF &pos, Qt::MouseButtons buttons,
                 Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QGraphicsSceneMouseEvent event(type);
    event.setScenePos(pos);
    event.setButtons(buttons);
    event.setModifiers(modifiers);
    QCoreApplication::sendEvent(&scene, &event);
}

inline void press(KnitScene &scene, const QPointF &pos, Qt::MouseButton button = Qt::LeftButton,
                  Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    send(scene, QEvent::GraphicsSceneMousePress, pos, button, modifiers);
}

inline void move(KnitScene &scene, const QPointF &pos, Qt::MouseButtons buttons = Qt::LeftButton,
                 Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    send(scene, QEvent::GraphicsSceneMouseMove, pos, buttons, modifiers);
}

// On release the buttons still held are none.
inline void release(KnitScene &scene, const QPointF &pos)
{
    send(scene, QEvent::GraphicsSceneMouseRelease, pos, Qt::NoButton);
}

inline void click(KnitScene &scene, int x, int y)
{
    press(scene, at(scene, x, y));
    release(scene, at(scene, x, y));
}

} // namespace Mouse

#endif // CHARTSCENE_H
