#ifndef KNITSCENE_H
#define KNITSCENE_H

#include "charteditor.h"
#include "chartlayout.h"
#include "chartrenderer.h"

#include <QColor>
#include <QGraphicsScene>
#include <QPoint>
#include <QRect>
#include <QSet>

class ChartGrid;
class QGraphicsSceneMouseEvent;
class QGraphicsSceneWheelEvent;
class QKeyEvent;
class QUndoStack;
class Stitch;

// A chart on screen: draws its model with the row and column numbers
// around it, and turns the mouse, the keys and the wheel into edits of the
// model (through the chart's undo stack) and into a selection. It holds no
// cells of its own: whatever the model announces, it repaints.
//
// Columns count from the left and rows from the top, both from 0; the
// numbers shown to the knitter run from the right and from the bottom,
// starting at 1. A selection is always a rectangle of cells.
class KnitScene : public QGraphicsScene
{
    Q_OBJECT

public:
    enum Mode { EditStitch = 0, EditColor = 1, EditLasso = 2, EditBorder = 3 };
    Q_ENUM(Mode)
    enum SelectionType { SelectCell = 0, SelectRows = 1, SelectColumns = 2, SelectLasso = 3, SelectAll = 4 };
    Q_ENUM(SelectionType)

    // Below this many pixels per cell the chart is drawn simplified.
    static constexpr qreal simplifyBelow = 6.0;

    KnitScene(ChartGrid *grid, QUndoStack *undoStack, QObject *parent = nullptr);
    ~KnitScene() override;

    ChartGrid *grid() const { return m_grid; }
    QUndoStack *undoStack() const { return m_editor.undoStack(); }
    ChartEditor &editor() { return m_editor; }

    ChartLayout layout() const;
    int columnCount() const;
    int rowCount() const;
    QSize leftHeaderSize() const { return layout().leftHeaderSize(); }
    QSize rightHeaderSize() const { return layout().rightHeaderSize(); }
    QSize topHeaderSize() const { return layout().topHeaderSize(); }
    QSize bottomHeaderSize() const { return layout().bottomHeaderSize(); }
    QRect cellRect(int x, int y) const { return layout().cellRect(x, y); }
    // The cell under a scene point, brought into the grid.
    QPoint targetCell(const QPointF &scenePos) const { return layout().targetCell(scenePos); }

    // The selected cells: a rectangle in grid units, empty when nothing is
    // selected. Its cells in reading order, top row first.
    QRect selection() const { return m_selection; }
    QList<QPoint> selectedPositions() const;
    bool hasSelection() const { return !m_selection.isEmpty(); }
    void clearSelection();

    // Pushes one command for a cell on the grid; nothing off it.
    void setStitch(const QPoint &pos, Stitch *stitch, int imgPos);
    void setColor(const QPoint &pos, const QColor &color);

    // Reads the preferences that change how the chart looks and repaints.
    void updateHeaders();
    const ChartStyle &style() const { return m_style; }

    // Editing by mouse: which quarter of its cell a point lies in (1 top
    // right, 2 top left, 3 bottom left, 4 bottom right; 0 without cells).
    int findQuad(const QPointF &p) const;
    void updateCell(const QPoint &pos, Qt::MouseButtons buttons);

    Mode editMode = EditStitch;
    QColor curColor = Qt::white;
    Stitch *curStitch = nullptr;
    QPointF startPos;
    QPointF lastPos;
    QPoint startCell;
    bool macroOpen = false;
    // The cell a drag painted last; (-1, -1) for none.
    QPoint lastPaintedCell = QPoint(-1, -1);
    SelectionType selectionType = SelectCell;
    Qt::MouseButtons pressedButtons = Qt::NoButton;

public Q_SLOTS:
    void setEditMode(KnitScene::Mode mode) { editMode = mode; }
    void setCurStitch(Stitch *stitch) { curStitch = stitch; }
    void setCurColor(const QColor &color) { curColor = color; }
    // Row `row` counted from the bottom takes the stitches of a typed line.
    void updateRow(int row, const QList<Stitch *> &data);
    void setSelection(KnitScene::SelectionType selection);
    void setSelected(const QPoint &cell);
    // `region` is in grid units with both ends included: width 0 is one
    // column.
    void setSelected(const QRectF &region, KnitScene::SelectionType type);
    void setBorderTop(bool on);
    void setBorderBottom(bool on);
    void setBorderLeft(bool on);
    void setBorderRight(bool on);

Q_SIGNALS:
    void cellSelected();
    void currentPos(const QPointF &pos);
    void deleteRow(int row);
    void deleteColumn(int column);
    void selectionChanged();
    // Ctrl + wheel: zoom so many steps nearer (or, below zero, farther).
    void zoomRequested(int steps);

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QGraphicsSceneWheelEvent *event) override;

private:
    class GridItem;

    // The areas of the scene the pointer can be in.
    int gridRight() const;
    int gridBottom() const;
    int sceneWidth() const;
    int sceneHeight() const;
    bool inGrid(const QPointF &p) const;
    bool inTopLeftCorner(const QPointF &p) const;
    bool inTopRightCorner(const QPointF &p) const;
    bool inRowNumbers(const QPointF &p) const;
    bool inColumnNumbers(const QPointF &p) const;
    bool inSceneArea(const QPointF &p) const;
    bool selectRowsByDrag(const QPointF &p);
    bool selectColumnsByDrag(const QPointF &p);
    void paintByDrag(const QPoint &cur, Qt::MouseButtons buttons);
    static QList<QPoint> cellsTowards(const QPoint &from, const QPoint &to);
    void strokeBorders(const QPointF &to, QGraphicsSceneMouseEvent *event);
    void borderStep(const QPointF &from, const QPointF &to, bool on);
    void closePaintMacro();
    void setBorderOnSelection(ChartCell::Edge edge, bool on);

    void cellsChanged(const QRect &cells);
    void shapeChanged();
    void rowsInserted(int row, int count);
    void columnsInserted(int column, int count);
    void watchStitch(Stitch *stitch);
    void repaintCells(const QRect &cells);

    ChartGrid *m_grid;
    ChartEditor m_editor;
    GridItem *m_item = nullptr;
    ChartStyle m_style;
    QRect m_selection;
    QSet<Stitch *> m_watchedStitches;
    // What the wheel turned short of a whole step (fine-grained wheels
    // and touch pads send a little at a time).
    int m_wheelRest = 0;
};

#endif // KNITSCENE_H
