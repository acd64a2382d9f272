#include "knitscene.h"

#include "chartgrid.h"
#include "chartpicture.h"
#include "stitch.h"

#include <QGraphicsItem>
#include <QPainter>
#include <QStyleOptionGraphicsItem>

// The whole chart as one item: it paints the part of the model that is
// exposed, and keeps the picture of cell colours that a far zoom shows.
class KnitScene::GridItem : public QGraphicsItem
{
public:
    explicit GridItem(KnitScene *scene)
        : m_scene(scene)
    {
        setFlag(ItemUsesExtendedStyleOption);
    }

    QRectF boundingRect() const override { return m_bounds; }

    void setBounds(const QRectF &bounds)
    {
        prepareGeometryChange();
        m_bounds = bounds;
        m_coloursValid = false;
        update();
    }

    void cellsChanged(const QRect &cells)
    {
        if (m_coloursValid)
            m_dirtyColours |= cells;
    }

    void forgetColours() { m_coloursValid = false; }

    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *) override
    {
        ChartStyle style = m_scene->m_style;
        // Only the screen marks shaping rows; prints and pictures take
        // the scene's style without it.
        style.markShapingRows = true;
        QColor tint = option->palette.color(QPalette::Current, QPalette::Highlight);
        tint.setAlpha(100);
        style.selectionTint = tint;
        const ChartRenderer renderer(*m_scene->m_grid, style);
        renderer.paint(painter, option->exposedRect, m_scene->m_selection,
                       renderer.simplifies(painter) ? &colours() : nullptr);
        for (Stitch *stitch : renderer.paintedStitches())
            m_scene->watchStitch(stitch);
    }

private:
    const QImage &colours()
    {
        const ChartGrid &grid = *m_scene->m_grid;
        const bool gray = m_scene->m_style.grayNoStitch;
        if (!m_coloursValid || m_coloursGray != gray) {
            m_colours = ChartRenderer::colourImage(grid, gray);
            m_coloursValid = true;
            m_coloursGray = gray;
            m_dirtyColours = QRect();
        } else if (!m_dirtyColours.isEmpty()) {
            ChartRenderer::updateColourImage(m_colours, grid, m_dirtyColours, gray);
            m_dirtyColours = QRect();
        }
        return m_colours;
    }

    KnitScene *m_scene;
    QRectF m_bounds;
    QImage m_colours;
    QRect m_dirtyColours;
    bool m_coloursValid = false;
    bool m_coloursGray = true;
};

KnitScene::KnitScene(ChartGrid *grid, QUndoStack *undoStack, QObject *parent)
    : QGraphicsScene(parent)
    , m_grid(grid)
    , m_editor(grid, undoStack)
    , m_item(new GridItem(this))
{
    addItem(m_item);

    connect(grid, &ChartGrid::cellsChanged, this, &KnitScene::cellsChanged);
    connect(grid, &ChartGrid::rowsInserted, this, &KnitScene::rowsInserted);
    connect(grid, &ChartGrid::columnsInserted, this, &KnitScene::columnsInserted);
    // The selection must not name cells that are gone.
    connect(grid, &ChartGrid::rowsRemoved, this, [this] {
        clearSelection();
        shapeChanged();
    });
    connect(grid, &ChartGrid::columnsRemoved, this, [this] {
        clearSelection();
        shapeChanged();
    });
    connect(grid, &ChartGrid::repeatsChanged, this, [this] { update(sceneRect()); });
    connect(grid, &ChartGrid::shapingRowsChanged, this, [this] { update(sceneRect()); });
    // The options choose the numbers shown, and so the shape.
    connect(grid, &ChartGrid::optionsChanged, this, &KnitScene::updateHeaders);
    updateHeaders();
}

KnitScene::~KnitScene() = default;

ChartLayout KnitScene::layout() const
{
    return ChartLayout(*m_grid);
}

int KnitScene::columnCount() const
{
    return m_grid->columnCount();
}

int KnitScene::rowCount() const
{
    return m_grid->rowCount();
}

// New images of a stitch show wherever it is drawn; a stitch not drawn yet
// will be drawn with them.
void KnitScene::watchStitch(Stitch *stitch)
{
    if (!stitch || m_watchedStitches.contains(stitch))
        return;
    m_watchedStitches.insert(stitch);
    connect(stitch, &Stitch::updateImage, this, [this] { m_item->update(); });
    connect(stitch, &QObject::destroyed, this, [this, stitch] { m_watchedStitches.remove(stitch); });
}

void KnitScene::repaintCells(const QRect &cells)
{
    if (cells.isEmpty())
        return;
    const ChartLayout chart = layout();
    const QRect area = chart.cellRect(cells.left(), cells.top()).united(chart.cellRect(cells.right(), cells.bottom()));
    // Borders reach a pixel and a half beyond their cell.
    m_item->update(QRectF(area).adjusted(-2, -2, 2, 2));
}

void KnitScene::cellsChanged(const QRect &cells)
{
    m_item->cellsChanged(cells);
    repaintCells(cells);
}

void KnitScene::shapeChanged()
{
    // A drag that was painting has lost its place.
    lastPaintedCell = QPoint(-1, -1);
    const QRectF area = layout().sceneRect();
    setSceneRect(area);
    m_item->setBounds(area);
    update(area);
}

// The selected cells move with the rows and columns that make room; a new
// row or column among them, or beside a selection that spans the chart,
// joins the selection.
void KnitScene::rowsInserted(int row, int count)
{
    if (hasSelection()) {
        const bool spansAll = m_selection.top() == 0 && m_selection.bottom() == rowCount() - count - 1;
        if (row <= m_selection.top() && !spansAll)
            m_selection.translate(0, count);
        else if (row <= m_selection.bottom() + (spansAll ? 1 : 0))
            m_selection.setBottom(m_selection.bottom() + count);
    }
    shapeChanged();
}

void KnitScene::columnsInserted(int column, int count)
{
    if (hasSelection()) {
        const bool spansAll = m_selection.left() == 0 && m_selection.right() == columnCount() - count - 1;
        if (column <= m_selection.left() && !spansAll)
            m_selection.translate(count, 0);
        else if (column <= m_selection.right() + (spansAll ? 1 : 0))
            m_selection.setRight(m_selection.right() + count);
    }
    shapeChanged();
}

QList<QPoint> KnitScene::selectedPositions() const
{
    QList<QPoint> positions;
    if (m_selection.isEmpty())
        return positions;
    positions.reserve(qsizetype(m_selection.width()) * m_selection.height());
    for (int y = m_selection.top(); y <= m_selection.bottom(); ++y) {
        for (int x = m_selection.left(); x <= m_selection.right(); ++x)
            positions.append(QPoint(x, y));
    }
    return positions;
}

void KnitScene::clearSelection()
{
    if (m_selection.isEmpty())
        return;
    const QRect old = m_selection;
    m_selection = QRect();
    repaintCells(old);
}

void KnitScene::setStitch(const QPoint &pos, Stitch *stitch, int imgPos)
{
    m_editor.setStitch(pos, stitch, imgPos);
}

void KnitScene::setColor(const QPoint &pos, const QColor &color)
{
    m_editor.setColor(pos, color);
}

void KnitScene::updateRow(int row, const QList<Stitch *> &data)
{
    m_editor.updateRow(row, data);
}

void KnitScene::updateHeaders()
{
    m_style = ChartPicture::preferredStyle(*m_grid);
    m_style.simplifyBelow = simplifyBelow;
    shapeChanged();
}
