#ifndef KNITSCENE_H
#define KNITSCENE_H

#include <QColor>
#include <QGraphicsScene>
#include <QList>
#include <QPoint>
#include <QSet>
#include <QSize>

class Cell;
class HeaderCell;
class KnitCell;
class QDataStream;
class QGraphicsSceneMouseEvent;
class QGraphicsSceneWheelEvent;
class QKeyEvent;
class QProgressDialog;
class QUndoStack;
#include "stitch.h"

// The grid of one chart: its cells, the row and column numbers around
// them, the chart's undo stack and the editing state. Columns count from
// the left and rows from the top, both from 0; the numbers shown to the
// knitter run from the right and from the bottom, starting at 1.
class KnitScene : public QGraphicsScene
{
    Q_OBJECT

public:
    enum Mode { EditStitch = 0, EditColor = 1, EditLasso = 2, EditBorder = 3 };
    Q_ENUM(Mode)
    enum SelectionType { SelectCell = 0, SelectRows = 1, SelectColumns = 2, SelectLasso = 3, SelectAll = 4 };
    Q_ENUM(SelectionType)

    // A new chart filled with `defaultStitch` (the preference when empty).
    KnitScene(int width, int height, const QString &defaultStitch, QObject *parent = nullptr);
    // An empty scene for a chart being read; loadScene() fills it.
    KnitScene(QDataStream &stream, int width, int height, int knitStyle, const QString &sideSelection,
              QProgressDialog *progress, QObject *parent = nullptr);
    ~KnitScene() override;

    void setupKnitScene(int width, int height);

    // Queries: positions off the grid give null, red or (0, 0).
    KnitCell *at(int x, int y) const;
    KnitCell *at(const QPointF &position) const;
    KnitCell *cell(int x, int y) const { return at(x, y); }
    Stitch *stitch(int x, int y) const;
    QColor color(int x, int y) const;
    int width() const { return columnCount(); }
    int columnCount() const;
    int height() const { return rowCount(); }
    int rowCount() const { return int(cellGrid.size()); }

    QSize leftHeaderSize() const;
    QSize rightHeaderSize() const;
    QSize topHeaderSize() const;
    QSize bottomHeaderSize() const;

    QPointF targetCell(const QPointF &scenePos) const;
    QPoint findChartPos(KnitCell *cell) const;

    QUndoStack *undoStack() const { return m_undoStack; }

    void setStitch(const QPoint &pos, Stitch *stitch, int imgPos);
    void setColor(const QPoint &pos, const QColor &color);
    void renderOnScreen();
    void exportSvg();
    void updateHeaders();
    void clearSelection();

    // Editing by mouse: which quarter of its cell a point lies in (1 top
    // right, 2 top left, 3 bottom left, 4 bottom right; 0 without cells).
    int findQuad(const QPointF &p) const;
    void updateCell(const QPointF &pos, Qt::MouseButtons buttons);
    void setBorderAi(QGraphicsSceneMouseEvent *event);

    // Exchange or copy the stitches and colours of two cells; borders stay.
    void swap(const QPointF &a, const QPointF &b);
    void copy(const QPointF &from, const QPointF &to);

    // Structural edits.
    void insertRowAbove(int row);
    void insertColumnLeft(int column);

    // The scene record of the pattern file.
    void save(QDataStream &out) const;
    bool loadScene(QDataStream &in, int width, int height, QProgressDialog *progress);
    // Whether the rest of the stream is long enough for the records of a
    // width x height grid; a damaged size must not make us build millions
    // of cells.
    static bool recordCanHold(const QDataStream &in, int width, int height);

    // Cells report their changes here; the scene announces them in grid
    // coordinates. Each stitch in use is watched once for new images.
    void cellStitchChanged(KnitCell *cell, Stitch *stitch, Stitch *oldStitch);
    void cellColorChanged(KnitCell *cell, const QColor &color, const QColor &oldColor);
    void watchStitch(Stitch *stitch);

    int columnNumberOffset = 0;
    int rowNumberOffset = 0;
    bool skipRows = false;
    // The "GrayNoStitch" preference, read when the headers are redrawn
    // rather than by every cell at every paint.
    bool grayNoStitch = true;
    int cellHeight = 22;
    int cellWidth = 24;
    Mode editMode = EditStitch;
    QColor curColor = Qt::white;
    Stitch *curStitch = nullptr;
    QList<QList<KnitCell *>> cellGrid;
    QPointF startPos;
    QPointF lastPos;
    QPointF startCell;
    bool macroOpen = false;
    KnitCell *lastPaintedCell = nullptr;
    QList<KnitCell *> selectedCells;
    SelectionType selectionType = SelectCell;
    QList<HeaderCell *> leftHeaders;
    QList<HeaderCell *> rightHeaders;
    QList<HeaderCell *> topHeaders;
    QList<HeaderCell *> bottomHeaders;
    HeaderCell *topLeftCorner = nullptr;
    HeaderCell *topRightCorner = nullptr;
    HeaderCell *bottomLeftCorner = nullptr;
    HeaderCell *bottomRightCorner = nullptr;
    int knitStyle = 0;
    QString sideSelection = QStringLiteral("Right Side");
    Qt::MouseButtons pressedButtons = Qt::NoButton;

public Q_SLOTS:
    void setEditMode(KnitScene::Mode mode) { editMode = mode; }
    void setCurStitch(Stitch *stitch) { curStitch = stitch; }
    void setCurColor(const QColor &color) { curColor = color; }
    void setCellSize(const QSize &size);
    void removeRow(int row);
    void removeColumn(int column);
    void updateRow(int row, const QList<Stitch *> &data);
    void setSelection(KnitScene::SelectionType selection);
    void setSelected(KnitCell *cell);
    // `region` is in grid units with both ends included: width 0 is one
    // column.
    void setSelected(const QRectF &region, KnitScene::SelectionType type);
    void setBorderTop(bool on);
    void setBorderBottom(bool on);
    void setBorderLeft(bool on);
    void setBorderRight(bool on);

Q_SIGNALS:
    void stitchChanged(int x, int y, Stitch *stitch, Stitch *oldStitch);
    void colorChanged(int x, int y, const QColor &color, const QColor &oldColor);
    void cellSelected();
    void currentPos(const QPointF &pos);
    void deleteRow(int row);
    void deleteColumn(int column);
    void selectionChanged();
    void setSvg(bool svg);

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QGraphicsSceneWheelEvent *event) override;

private:
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
    void paintByDrag(const QPointF &cur, Qt::MouseButtons buttons);
    void closePaintMacro();
    template<class Command>
    void setBorderOnSelection(bool on);

    // A cell placed at grid position (x, y), not yet part of the scene.
    KnitCell *newCell(int x, int y) const;
    // Makes the cell part of the scene; from now on it reports its changes.
    void adoptCell(KnitCell *cell);
    KnitCell *createCell(int x, int y);
    KnitCell *createDefaultCell(int x, int y);
    void placeCell(KnitCell *cell, int x, int y);
    void placeHeaders();
    void finishLayout();
    void updateSceneRect();
    QPoint gridPosition(const Cell *cell) const;
    HeaderCell *createHeader(const QRect &rect, int alignment, int z);
    void removeHeader(QList<HeaderCell *> &headers, int index);
    bool readCells(QDataStream &in, int width, int height, QProgressDialog *progress);
    void fillMissingCells(int width, int height);

    QUndoStack *m_undoStack = nullptr;
    QSet<Stitch *> m_watchedStitches;
};

#endif // KNITSCENE_H
