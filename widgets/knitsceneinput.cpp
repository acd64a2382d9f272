// Editing the chart by mouse and keyboard: painting stitches and colours,
// drawing borders by stroking across a cell, selecting cells, rows,
// columns, rectangles or the whole chart, and asking the view to zoom with
// Ctrl + wheel.

#include "knitscene.h"

#include "chartgrid.h"
#include "stitch.h"
#include "stitchset.h"

#include <QDebug>
#include <QGraphicsSceneMouseEvent>
#include <QGraphicsSceneWheelEvent>
#include <QKeyEvent>
#include <QLineF>
#include <QUndoStack>
#include <QtMath>

int KnitScene::gridRight() const
{
    return layout().gridRight();
}

int KnitScene::gridBottom() const
{
    return layout().gridBottom();
}

int KnitScene::sceneWidth() const
{
    return gridRight() + rightHeaderSize().width() + 1;
}

int KnitScene::sceneHeight() const
{
    return gridBottom() + bottomHeaderSize().height() + 1;
}

bool KnitScene::inGrid(const QPointF &p) const
{
    return p.x() >= leftHeaderSize().width() && p.x() < gridRight() && p.y() >= topHeaderSize().height()
        && p.y() < gridBottom();
}

bool KnitScene::inTopLeftCorner(const QPointF &p) const
{
    return p.x() < leftHeaderSize().width() && p.y() < topHeaderSize().height();
}

bool KnitScene::inTopRightCorner(const QPointF &p) const
{
    return p.x() >= gridRight() && p.y() < topHeaderSize().height();
}

bool KnitScene::inRowNumbers(const QPointF &p) const
{
    return (p.x() < leftHeaderSize().width() || p.x() > gridRight()) && p.y() < gridBottom()
        && !inTopLeftCorner(p) && !inTopRightCorner(p);
}

bool KnitScene::inColumnNumbers(const QPointF &p) const
{
    return (p.y() < topHeaderSize().height() || p.y() > gridBottom()) && p.x() < gridRight()
        && !inTopLeftCorner(p) && !inTopRightCorner(p) && !inRowNumbers(p);
}

bool KnitScene::inSceneArea(const QPointF &p) const
{
    return p.x() >= 0 && p.x() <= sceneWidth() && p.y() >= 0 && p.y() <= sceneHeight();
}

int KnitScene::findQuad(const QPointF &p) const
{
    const QPoint cell = targetCell(p);
    if (!m_grid->contains(cell)) {
        qDebug() << "error - invalid target cell in KnitScene::findQuad";
        return 0;
    }
    const QRectF area = cellRect(cell.x(), cell.y());
    const qreal cx = area.left() + area.width() * 0.5;
    const qreal cy = area.top() + area.height() * 0.5;
    if (p.y() < cy)
        return p.x() >= cx ? 1 : 2;
    return p.x() < cx ? 3 : 4;
}

void KnitScene::setSelection(KnitScene::SelectionType selection)
{
    selectionType = selection;
    Q_EMIT selectionChanged();
}

void KnitScene::setSelected(const QPoint &cell)
{
    if (!m_grid->contains(cell))
        return;
    clearSelection();
    setSelection(SelectCell);
    m_selection = QRect(cell, QSize(1, 1));
    repaintCells(m_selection);
    Q_EMIT cellSelected();
}

void KnitScene::setSelected(const QRectF &region, KnitScene::SelectionType type)
{
    clearSelection();
    const QRect wanted(QPoint(int(region.x()), int(region.y())),
                       QPoint(int(region.x() + region.width()), int(region.y() + region.height())));
    m_selection = wanted & QRect(0, 0, columnCount(), rowCount());
    repaintCells(m_selection);
    setSelection(type);
}

void KnitScene::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    const QPointF p = event->scenePos();
    pressedButtons = event->buttons();
    startPos = p;
    lastPos = p;
    startCell = targetCell(p);
    // A new stroke paints the cell it starts in, even where the last one
    // ended.
    lastPaintedCell = QPoint(-1, -1);

    if (!inSceneArea(p))
        return;
    if (event->buttons() != Qt::LeftButton) {
        QGraphicsScene::mousePressEvent(event);
        return;
    }

    const QPoint cell = targetCell(p);
    if (inTopLeftCorner(p) || inTopRightCorner(p)) {
        setSelected(QRectF(0, 0, columnCount() - 1, rowCount() - 1), SelectAll);
    } else if (inRowNumbers(p)) {
        setSelected(QRectF(0, cell.y(), columnCount() - 1, 0), SelectRows);
    } else if (inColumnNumbers(p)) {
        setSelected(QRectF(cell.x(), 0, 0, rowCount() - 1), SelectColumns);
    } else if (inGrid(p)) {
        if (editMode == EditLasso)
            setSelected(cell);
        setSelection(SelectCell);
        QGraphicsScene::mousePressEvent(event);
    }
}

// Dragging along the row numbers (or on from a row selection) selects every
// row between the press and the pointer.
bool KnitScene::selectRowsByDrag(const QPointF &p)
{
    const bool overNumbers = (p.x() >= 0 && p.x() < leftHeaderSize().width() && p.y() < gridBottom())
        || (p.x() >= gridRight() && p.x() < sceneWidth() && p.y() < gridBottom());
    if (selectionType != SelectRows && !overNumbers)
        return false;
    const qreal startY = qMin(startPos.y(), qreal(gridBottom() - 1));
    const qreal pointerY = qMin(p.y(), qreal(gridBottom() - 1));
    const QPoint a = targetCell(QPointF(leftHeaderSize().width(), int(qMin(startY, pointerY))));
    const QPoint b = targetCell(QPointF(gridRight() - 1, int(qMax(startY, pointerY))));
    if (p.y() >= 0)
        setSelected(QRectF(a.x(), a.y(), b.x() - a.x(), b.y() - a.y()), SelectRows);
    return true;
}

bool KnitScene::selectColumnsByDrag(const QPointF &p)
{
    const bool overNumbers = p.y() >= 0 && p.y() < topHeaderSize().height() && p.x() < gridRight();
    if (selectionType != SelectColumns && !overNumbers)
        return false;
    const qreal startX = qMin(startPos.x(), qreal(gridRight() - 1));
    const qreal pointerX = qMin(p.x(), qreal(gridRight() - 1));
    const QPoint a = targetCell(QPointF(int(qMin(startX, pointerX)), topHeaderSize().height()));
    const QPoint b = targetCell(QPointF(int(qMax(startX, pointerX)), gridBottom() - 1));
    if (p.x() >= 0)
        setSelected(QRectF(a.x(), a.y(), b.x() - a.x(), b.y() - a.y()), SelectColumns);
    return true;
}

void KnitScene::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    const QPointF p = event->scenePos();
    if (p.x() >= sceneWidth() || p.y() >= sceneHeight())
        return;
    if (startPos.x() < 0 || startPos.x() >= sceneWidth() || startPos.y() < 0 || startPos.y() >= sceneHeight())
        return;

    if (event->buttons() == Qt::LeftButton && editMode != EditBorder && !macroOpen) {
        if (selectRowsByDrag(p) || selectColumnsByDrag(p))
            return;
    }
    if (!inGrid(p))
        return;

    const QPoint cur = targetCell(p);
    Q_EMIT currentPos(QPointF(columnCount() - cur.x(), rowCount() - cur.y()));
    if (!m_grid->contains(cur))
        return;

    const Qt::MouseButtons buttons = event->buttons();
    if (buttons == Qt::LeftButton || buttons == Qt::RightButton) {
        switch (editMode) {
        case EditLasso: {
            const QPoint a = targetCell(QPointF(qMin(startPos.x(), p.x()), qMin(startPos.y(), p.y())));
            const QPoint b = targetCell(QPointF(qMax(startPos.x(), p.x()), qMax(startPos.y(), p.y())));
            setSelected(QRectF(a.x(), a.y(), b.x() - a.x(), b.y() - a.y()), SelectLasso);
            break;
        }
        case EditBorder:
            strokeBorders(p, event);
            break;
        case EditStitch:
        case EditColor:
            paintByDrag(cur, buttons);
            break;
        }
    }
    QGraphicsScene::mouseMoveEvent(event);
}

// A drag paints the cell it started in and every cell the pointer crossed,
// however fast it moved; the whole stroke is one undo step.
void KnitScene::paintByDrag(const QPoint &cur, Qt::MouseButtons buttons)
{
    if (!macroOpen) {
        undoStack()->beginMacro(tr("Set stitches"));
        macroOpen = true;
        lastPaintedCell = inGrid(startPos) ? startCell : cur;
        updateCell(lastPaintedCell, buttons);
    }
    for (const QPoint &cell : cellsTowards(lastPaintedCell, cur))
        updateCell(cell, buttons);
    lastPaintedCell = cur;
}

// The cells of a straight line from `from` (left out) to `to`.
QList<QPoint> KnitScene::cellsTowards(const QPoint &from, const QPoint &to)
{
    QList<QPoint> cells;
    const int dx = qAbs(to.x() - from.x()), dy = -qAbs(to.y() - from.y());
    const int stepX = from.x() < to.x() ? 1 : -1, stepY = from.y() < to.y() ? 1 : -1;
    int error = dx + dy;
    QPoint at = from;
    while (at != to) {
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            at.rx() += stepX;
        }
        if (twice <= dx) {
            error += dx;
            at.ry() += stepY;
        }
        cells.append(at);
    }
    return cells;
}

void KnitScene::closePaintMacro()
{
    if (!macroOpen)
        return;
    undoStack()->endMacro();
    macroOpen = false;
}

void KnitScene::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    const QPointF p = event->scenePos();
    if (!inSceneArea(p)) {
        // A drag that ends outside still ends its undo step.
        closePaintMacro();
        clearSelection();
        return;
    }
    if (editMode == EditLasso)
        return;
    if (selectionType == SelectAll && inTopLeftCorner(p))
        return;

    if (event->buttons() == Qt::LeftButton) {
        if (selectionType == SelectRows) {
            const QPoint a = targetCell(QPointF(leftHeaderSize().width(), startPos.y()));
            const QPoint b = targetCell(QPointF(gridRight() - 1, p.y()));
            const int top = qMin(a.y(), b.y());
            setSelected(QRectF(0, top, columnCount() - 1, qMax(a.y(), b.y()) - top), SelectRows);
            return;
        }
        if (selectionType == SelectColumns) {
            const QPoint a = targetCell(QPointF(startPos.x(), topHeaderSize().height()));
            const QPoint b = targetCell(QPointF(p.x(), gridBottom() - 1));
            const int left = qMin(a.x(), b.x());
            setSelected(QRectF(left, 0, qMax(a.x(), b.x()) - left, rowCount() - 1), SelectColumns);
            return;
        }
    }

    if (macroOpen) {
        closePaintMacro();
    } else {
        // A click paints on release, with the buttons of the press; a press
        // on the numbers that ends over the grid only selects.
        if (!inGrid(p) || !inGrid(startPos))
            return;
        updateCell(targetCell(p), pressedButtons);
    }
    QGraphicsScene::mouseReleaseEvent(event);
}

void KnitScene::updateCell(const QPoint &pos, Qt::MouseButtons buttons)
{
    const int k = pos.x();
    const int r = pos.y();
    if (!m_grid->contains(pos))
        return;

    const bool left = buttons & Qt::LeftButton;
    const bool right = !left && (buttons & Qt::RightButton);
    if (editMode == EditStitch) {
        if (left && curStitch && curColor.isValid()) {
            // A multi-cell stitch fills the cells to the right with its
            // further images, up to the edge of the chart.
            undoStack()->beginMacro(tr("Set stitch"));
            for (int i = 0; i < curStitch->cellsPerStitch() && k + i < columnCount(); ++i) {
                setColor(QPoint(k + i, r), curColor);
                setStitch(QPoint(k + i, r), curStitch, i);
            }
            undoStack()->endMacro();
        } else if (right) {
            undoStack()->beginMacro(tr("Set stitch"));
            setColor(QPoint(k, r), curColor);
            setStitch(QPoint(k, r), StitchSet::instance()->defaultStitch(), 0);
            undoStack()->endMacro();
        }
    } else if (editMode == EditColor) {
        if (left)
            setColor(QPoint(k, r), curColor);
        else if (right)
            setColor(QPoint(k, r), Qt::white);
    }
    setSelected(pos);
}

// A border stroke draws the edge of a cell it runs along inside the cell:
// from one quarter of the cell to the next. The way from the last pointer
// position is walked in steps of a quarter cell, so that a fast stroke
// draws every edge it passed.
void KnitScene::strokeBorders(const QPointF &to, QGraphicsSceneMouseEvent *event)
{
    const bool erase = event->buttons() == Qt::RightButton
        || (event->buttons() == Qt::LeftButton && event->modifiers() == Qt::MetaModifier);
    const QPointF from(qMin(lastPos.x(), qreal(gridRight() - 1)), qMin(lastPos.y(), qreal(gridBottom() - 1)));
    const QSize cell = m_grid->options().cellSize;
    const qreal step = qMax(1.0, qMin(cell.width(), cell.height()) / 4.0);
    const int steps = qMax(1, qCeil(QLineF(from, to).length() / step));
    QPointF previous = from;
    for (int i = 1; i <= steps; ++i) {
        const QPointF next = from + (to - from) * (qreal(i) / steps);
        borderStep(previous, next, !erase);
        previous = next;
    }
    lastPos = to;
    setSelected(targetCell(to));
}

void KnitScene::borderStep(const QPointF &from, const QPointF &to, bool on)
{
    const QPoint cell = targetCell(to);
    if (targetCell(from) != cell || !inGrid(from) || !inGrid(to))
        return; // an edge is drawn only inside one cell
    const int q1 = findQuad(from);
    const int q2 = findQuad(to);
    const int low = qMin(q1, q2);
    const int high = qMax(q1, q2);
    ChartCell::Edge edge;
    if (low == 1 && high == 2)
        edge = ChartCell::Top;
    else if (low == 2 && high == 3)
        edge = ChartCell::Left;
    else if (low == 3 && high == 4)
        edge = ChartCell::Bottom;
    else if (low == 1 && high == 4)
        edge = ChartCell::Right;
    else
        return;
    m_editor.setBorderOn({cell}, edge, on, curColor);
}

void KnitScene::setBorderOnSelection(ChartCell::Edge edge, bool on)
{
    m_editor.setBorderOn(selectedPositions(), edge, on, curColor);
}

void KnitScene::setBorderTop(bool on)
{
    setBorderOnSelection(ChartCell::Top, on);
}

void KnitScene::setBorderBottom(bool on)
{
    setBorderOnSelection(ChartCell::Bottom, on);
}

void KnitScene::setBorderLeft(bool on)
{
    setBorderOnSelection(ChartCell::Left, on);
}

void KnitScene::setBorderRight(bool on)
{
    setBorderOnSelection(ChartCell::Right, on);
}

void KnitScene::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (selectionType == SelectRows && hasSelection()) {
        const int r = m_selection.top();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            const int next = key == Qt::Key_Up ? r - 1 : r + 1;
            if (next >= 0 && next < rowCount())
                setSelected(QRectF(0, next, columnCount() - 1, 0), SelectRows);
            return;
        }
        if (key == Qt::Key_Delete) {
            Q_EMIT deleteRow(r);
            return;
        }
    } else if (selectionType == SelectColumns && hasSelection()) {
        const int m = m_selection.left();
        if (key == Qt::Key_Left || key == Qt::Key_Right) {
            const int next = key == Qt::Key_Left ? m - 1 : m + 1;
            if (next >= 0 && next < columnCount())
                setSelected(QRectF(next, 0, 0, rowCount() - 1), SelectColumns);
            return;
        }
        if (key == Qt::Key_Delete) {
            Q_EMIT deleteColumn(m);
            return;
        }
    }
    QGraphicsScene::keyPressEvent(event);
}

void KnitScene::wheelEvent(QGraphicsSceneWheelEvent *event)
{
    if (event->modifiers() != Qt::ControlModifier) {
        QGraphicsScene::wheelEvent(event);
        return;
    }
    event->accept();
    m_wheelRest += event->delta();
    const int steps = m_wheelRest / 120;
    m_wheelRest -= steps * 120;
    if (steps != 0)
        Q_EMIT zoomRequested(steps);
}
