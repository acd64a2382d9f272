#include "knitscene.h"

#include "headercell.h"
#include "knitcell.h"
#include "setcellcolor.h"
#include "setcellstitch.h"
#include "settings.h"
#include "stitch.h"
#include "stitchset.h"

#include <QCoreApplication>
#include <QDebug>
#include <QUndoStack>

namespace {

// Cell sizes outside this range come only from damaged files or
// preferences; they are brought back into it.
const int smallestCellSide = 1;
const int largestCellSide = 1000;

int saneCellSide(int side)
{
    return qBound(smallestCellSide, side, largestCellSide);
}

} // namespace

KnitScene::KnitScene(int width, int height, const QString &defaultStitch, QObject *parent)
    : QGraphicsScene(parent)
    , m_undoStack(new QUndoStack(this))
{
    Settings *settings = Settings::instance();
    knitStyle = settings->value(QStringLiteral("defaultKnitStyle"), 0).toInt();
    sideSelection = settings->value(QStringLiteral("defaultSideSelection"), QStringLiteral("Right Side")).toString();
    cellWidth = saneCellSide(settings->value(QStringLiteral("cellWidth"), 24).toInt());
    cellHeight = saneCellSide(settings->value(QStringLiteral("cellHeight"), 22).toInt());

    Stitch *fill = StitchSet::instance()->findStitch(defaultStitch.isEmpty() ? StitchSet::defaultStitchID()
                                                                             : defaultStitch);

    width = qMax(0, width);
    height = qMax(0, height);
    watchStitch(fill);
    cellGrid.reserve(height);
    for (int y = 0; y < height; ++y) {
        QList<KnitCell *> row;
        row.reserve(width);
        for (int x = 0; x < width; ++x) {
            // Set up before it joins the scene: nobody can be listening yet,
            // and a chart of a million cells should not send millions of
            // notifications.
            KnitCell *cell = newCell(x, y);
            cell->setColor(curColor);
            cell->setStackingOrder(y * width + x);
            cell->setStitch(fill, 0);
            cell->setRowAndCol(y, x);
            adoptCell(cell);
            row.append(cell);
        }
        cellGrid.append(row);
    }

    setupKnitScene(width, height);
    finishLayout();
}

KnitScene::KnitScene(QDataStream &, int, int, int knitStyle, const QString &sideSelection, QProgressDialog *,
                     QObject *parent)
    : QGraphicsScene(parent)
    , knitStyle(knitStyle)
    , sideSelection(sideSelection)
    , m_undoStack(new QUndoStack(this))
{
    Settings *settings = Settings::instance();
    // Until the record names the cell size, the preferred one stands.
    cellWidth = saneCellSide(settings->value(QStringLiteral("cellWidth"), 24).toInt());
    cellHeight = saneCellSide(settings->value(QStringLiteral("cellHeight"), 22).toInt());
    curStitch = StitchSet::instance()->defaultStitch();
}

KnitScene::~KnitScene()
{
    // Items that have not yet had their first polish make every removal
    // search the whole waiting list, so tearing down a chart built without
    // a pass of the event loop would take quadratic time. Polish them now.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);

    // Cells must not report to a scene that is half gone.
    for (const QList<KnitCell *> &row : std::as_const(cellGrid)) {
        for (KnitCell *cell : row)
            cell->setOwner(nullptr);
    }
}

void KnitScene::setupKnitScene(int width, int height)
{
    selectionType = SelectCell;
    const QSize top = topHeaderSize();
    const QSize bottom = bottomHeaderSize();
    const QSize left = leftHeaderSize();
    const QSize right = rightHeaderSize();
    const int gridRight = width * cellWidth + left.width();
    const int gridBottom = height * cellHeight + top.height();

    topLeftCorner = createHeader(QRect(0, 0, left.width(), top.height()), Qt::AlignTop | Qt::AlignLeft, 0);
    topRightCorner = createHeader(QRect(gridRight, 0, left.width(), top.height()), Qt::AlignTop | Qt::AlignRight, 0);
    bottomLeftCorner = createHeader(QRect(0, gridBottom, left.width(), bottom.height()), Qt::AlignBottom | Qt::AlignLeft, 0);
    bottomRightCorner = createHeader(QRect(gridRight, gridBottom, right.width(), bottom.height()),
                                     Qt::AlignBottom | Qt::AlignRight, 0);

    const int headerLayer = width * height;
    for (int x = 0; x < width; ++x) {
        const int left = x * cellWidth + leftHeaderSize().width();
        HeaderCell *above = createHeader(QRect(QPoint(left, 0), top), Qt::AlignTop, x + headerLayer);
        HeaderCell *below = createHeader(QRect(QPoint(left, gridBottom), bottom), Qt::AlignBottom, x + headerLayer);
        above->setObjectName(QStringLiteral("%1").arg(width - x + columnNumberOffset));
        below->setObjectName(above->objectName());
        topHeaders.append(above);
        bottomHeaders.append(below);
    }
    for (int y = 0; y < height; ++y) {
        const int cellTop = y * cellHeight + top.height();
        HeaderCell *leftCell = createHeader(QRect(QPoint(0, cellTop), left), Qt::AlignLeft, y + headerLayer);
        HeaderCell *rightCell = createHeader(QRect(QPoint(gridRight, cellTop), right), Qt::AlignRight, y + headerLayer);
        leftCell->setObjectName(QStringLiteral("%1").arg(height - y + rowNumberOffset));
        rightCell->setObjectName(leftCell->objectName());
        leftHeaders.append(leftCell);
        rightHeaders.append(rightCell);
    }
    updateSceneRect();
}

HeaderCell *KnitScene::createHeader(const QRect &rect, int alignment, int z)
{
    auto *header = new HeaderCell(rect.x(), rect.y(), rect.width(), rect.height());
    header->alignment = alignment;
    header->setZValue(z);
    addItem(header);
    return header;
}

KnitCell *KnitScene::newCell(int x, int y) const
{
    const QSize left = leftHeaderSize();
    const QSize top = topHeaderSize();
    return new KnitCell(x * cellWidth + left.width(), y * cellHeight + top.height(), cellWidth, cellHeight,
                        left.width(), top.height());
}

void KnitScene::adoptCell(KnitCell *cell)
{
    cell->setOwner(this);
    addItem(cell);
}

KnitCell *KnitScene::createCell(int x, int y)
{
    KnitCell *cell = newCell(x, y);
    adoptCell(cell);
    return cell;
}

KnitCell *KnitScene::createDefaultCell(int x, int y)
{
    KnitCell *cell = createCell(x, y);
    cell->setStitch(StitchSet::instance()->defaultStitch(), 0);
    cell->setColor(Qt::white);
    return cell;
}

KnitCell *KnitScene::at(int x, int y) const
{
    if (y < 0 || y >= cellGrid.size())
        return nullptr;
    const QList<KnitCell *> &row = cellGrid.at(y);
    if (x < 0 || x >= row.size())
        return nullptr;
    return row.at(x);
}

KnitCell *KnitScene::at(const QPointF &position) const
{
    return at(int(position.x()), int(position.y()));
}

Stitch *KnitScene::stitch(int x, int y) const
{
    KnitCell *cell = at(x, y);
    return cell ? cell->stitch() : nullptr;
}

QColor KnitScene::color(int x, int y) const
{
    KnitCell *cell = at(x, y);
    return cell ? cell->color() : QColor(QStringLiteral("#F00"));
}

int KnitScene::columnCount() const
{
    return cellGrid.isEmpty() ? 0 : int(cellGrid.first().size());
}

QSize KnitScene::leftHeaderSize() const
{
    return QSize(cellWidth, cellHeight);
}

QSize KnitScene::rightHeaderSize() const
{
    return QSize(cellWidth, cellHeight);
}

QSize KnitScene::topHeaderSize() const
{
    return QSize(cellWidth, int(cellHeight * 0.8));
}

QSize KnitScene::bottomHeaderSize() const
{
    return QSize(cellWidth, int(cellHeight * 0.8));
}

QPointF KnitScene::targetCell(const QPointF &scenePos) const
{
    int column = int(scenePos.x() - leftHeaderSize().width()) / cellWidth;
    int row = int(scenePos.y() - topHeaderSize().height()) / cellHeight;
    column = qMax(0, qMin(column, columnCount() - 1));
    row = qMax(0, qMin(row, rowCount() - 1));
    return QPointF(column, row);
}

QPoint KnitScene::findChartPos(KnitCell *cell) const
{
    for (int y = 0; y < cellGrid.size(); ++y) {
        const int x = int(cellGrid.at(y).indexOf(cell));
        if (x >= 0)
            return QPoint(x, y);
    }
    return QPoint(0, 0);
}

QPoint KnitScene::gridPosition(const Cell *cell) const
{
    // Where the cell stands, also while it is not yet part of the grid
    // (a row being inserted reports its cells before it joins).
    const QRectF area = cell->rect();
    return QPoint(qMax(0, (int(area.x()) - leftHeaderSize().width()) / cellWidth),
                  qMax(0, (int(area.y()) - topHeaderSize().height()) / cellHeight));
}

void KnitScene::cellStitchChanged(KnitCell *cell, Stitch *stitch, Stitch *oldStitch)
{
    const QPoint pos = gridPosition(cell);
    Q_EMIT stitchChanged(pos.x(), pos.y(), stitch, oldStitch);
}

void KnitScene::cellColorChanged(KnitCell *cell, const QColor &color, const QColor &oldColor)
{
    const QPoint pos = gridPosition(cell);
    Q_EMIT colorChanged(pos.x(), pos.y(), color, oldColor);
}

void KnitScene::watchStitch(Stitch *stitch)
{
    if (!stitch || m_watchedStitches.contains(stitch))
        return;
    m_watchedStitches.insert(stitch);
    // One connection per stitch rather than one per cell: new images of a
    // stitch refresh every cell that shows it.
    connect(stitch, &Stitch::updateImage, this, [this, stitch] {
        for (const QList<KnitCell *> &row : std::as_const(cellGrid)) {
            for (KnitCell *cell : row) {
                if (cell->stitch() == stitch)
                    cell->updateImage();
            }
        }
    });
    connect(stitch, &QObject::destroyed, this, [this, stitch] { m_watchedStitches.remove(stitch); });
}

void KnitScene::setStitch(const QPoint &pos, Stitch *stitch, int imgPos)
{
    if (!at(pos.x(), pos.y()))
        return;
    m_undoStack->push(new SetCellStitch(pos, this, stitch, imgPos));
}

void KnitScene::setColor(const QPoint &pos, const QColor &color)
{
    if (!at(pos.x(), pos.y()))
        return;
    m_undoStack->push(new SetCellColor(pos, this, color));
}

void KnitScene::swap(const QPointF &a, const QPointF &b)
{
    KnitCell *first = at(a);
    KnitCell *second = at(b);
    if (!first || !second)
        return;
    Stitch *firstStitch = first->stitch();
    const int firstImage = first->imgPos();
    const QColor firstColor = first->color();
    first->setStitch(second->stitch(), second->imgPos());
    first->setColor(second->color());
    second->setStitch(firstStitch, firstImage);
    second->setColor(firstColor);
}

void KnitScene::copy(const QPointF &from, const QPointF &to)
{
    const KnitCell *source = at(from);
    KnitCell *target = at(to);
    if (!source || !target)
        return;
    target->setStitch(source->stitch(), source->imgPos());
    target->setColor(source->color());
}

void KnitScene::renderOnScreen()
{
    Q_EMIT setSvg(false);
    for (const QList<KnitCell *> &row : std::as_const(cellGrid)) {
        for (KnitCell *cell : row)
            cell->allowSvgRendering(false);
    }
}

void KnitScene::exportSvg()
{
    Q_EMIT setSvg(true);
    for (const QList<KnitCell *> &row : std::as_const(cellGrid)) {
        for (KnitCell *cell : row)
            cell->allowSvgRendering(true);
    }
}

void KnitScene::clearSelection()
{
    for (KnitCell *cell : std::as_const(selectedCells))
        cell->setSelected(false);
    selectedCells.clear();
}

void KnitScene::updateSceneRect()
{
    setSceneRect(0, 0,
                 leftHeaderSize().width() + columnCount() * cellWidth + rightHeaderSize().width() + 1,
                 topHeaderSize().height() + rowCount() * cellHeight + bottomHeaderSize().height() + 1);
}

void KnitScene::updateHeaders()
{
    const int rows = rowCount();
    const int columns = columnCount();
    if (rows == 0 || columns == 0)
        return;

    Settings *settings = Settings::instance();
    const bool background = settings->value(QStringLiteral("HeaderBg"), true).toBool();
    const bool headersTop = settings->value(QStringLiteral("HeadersTop"), true).toBool();
    const bool headersBottom = settings->value(QStringLiteral("HeadersBottom"), false).toBool();
    grayNoStitch = settings->value(QStringLiteral("GrayNoStitch"), true).toBool();

    placeHeaders();
    for (HeaderCell *corner : {topLeftCorner, topRightCorner, bottomLeftCorner, bottomRightCorner}) {
        if (corner)
            corner->showBackground = background;
    }

    const bool numbersOnRightOnly = knitStyle == 1 || (knitStyle == 2 && skipRows);
    for (int y = 0; y < rows; ++y) {
        const int p = rows - y;
        const int number = (skipRows ? 2 * p - 1 : p) + rowNumberOffset;
        HeaderCell *left = leftHeaders.value(y);
        HeaderCell *right = rightHeaders.value(y);
        if (!left || !right)
            continue;
        left->setObjectName(QStringLiteral("%1").arg(number));
        right->setObjectName(left->objectName());
        left->showBackground = background;
        right->showBackground = background;

        bool onRight = false;
        if (numbersOnRightOnly)
            onRight = true;
        else if (sideSelection == QLatin1String("Right Side"))
            onRight = p % 2 == 1;
        else if (sideSelection == QLatin1String("Wrong Side"))
            onRight = p % 2 == 0;
        right->showText = onRight;
        left->showText = !onRight;
        left->update();
        right->update();
    }

    for (int x = 0; x < columns; ++x) {
        const QString number = QStringLiteral("%1").arg(columns - x + columnNumberOffset);
        for (HeaderCell *header : {topHeaders.value(x), bottomHeaders.value(x)}) {
            if (!header)
                continue;
            header->setObjectName(number);
            header->showBackground = background;
            header->update();
        }
        if (HeaderCell *top = topHeaders.value(x))
            top->setVisible(headersTop);
        if (HeaderCell *bottom = bottomHeaders.value(x))
            bottom->setVisible(headersBottom);
    }

    for (HeaderCell *corner : {topLeftCorner, topRightCorner}) {
        if (corner)
            corner->setVisible(headersTop);
    }
    for (HeaderCell *corner : {bottomLeftCorner, bottomRightCorner}) {
        if (corner)
            corner->setVisible(headersBottom);
    }
}

void KnitScene::placeHeaders()
{
    const QSize top = topHeaderSize();
    const QSize bottom = bottomHeaderSize();
    const QSize left = leftHeaderSize();
    const QSize right = rightHeaderSize();
    const int gridRight = columnCount() * cellWidth + left.width();
    const int gridBottom = rowCount() * cellHeight + top.height();

    if (topLeftCorner)
        topLeftCorner->setRect(0, 0, left.width(), top.height());
    if (topRightCorner)
        topRightCorner->setRect(gridRight, 0, left.width(), top.height());
    if (bottomLeftCorner)
        bottomLeftCorner->setRect(0, gridBottom, left.width(), bottom.height());
    if (bottomRightCorner)
        bottomRightCorner->setRect(gridRight, gridBottom, right.width(), bottom.height());

    for (int y = 0; y < leftHeaders.size(); ++y)
        leftHeaders.at(y)->setRect(QRectF(QPointF(0, y * cellHeight + top.height()), left));
    for (int y = 0; y < rightHeaders.size(); ++y)
        rightHeaders.at(y)->setRect(QRectF(QPointF(gridRight, y * cellHeight + top.height()), right));
    for (int x = 0; x < topHeaders.size(); ++x)
        topHeaders.at(x)->setRect(QRectF(QPointF(x * cellWidth + left.width(), 0), top));
    for (int x = 0; x < bottomHeaders.size(); ++x)
        bottomHeaders.at(x)->setRect(QRectF(QPointF(x * cellWidth + left.width(), gridBottom), bottom));
}

void KnitScene::placeCell(KnitCell *cell, int x, int y)
{
    cell->setRect(x * cellWidth + leftHeaderSize().width(), y * cellHeight + topHeaderSize().height(), cellWidth,
                  cellHeight);
}

void KnitScene::finishLayout()
{
    updateHeaders();
    updateSceneRect();
    update(sceneRect());
}

void KnitScene::insertRowAbove(int row)
{
    row = qBound(0, row, rowCount());
    const int columns = columnCount();
    QList<KnitCell *> cells;
    cells.reserve(columns);
    for (int x = 0; x < columns; ++x)
        cells.append(createDefaultCell(x, row));
    cellGrid.insert(row, cells);

    for (int y = row + 1; y < rowCount(); ++y) {
        for (int x = 0; x < cellGrid.at(y).size(); ++x)
            placeCell(cellGrid.at(y).at(x), x, y);
    }

    const int top = row * cellHeight + topHeaderSize().height();
    leftHeaders.insert(qMin(row, int(leftHeaders.size())),
                       createHeader(QRect(QPoint(0, top), leftHeaderSize()), Qt::AlignLeft, 0));
    rightHeaders.insert(qMin(row, int(rightHeaders.size())),
                        createHeader(QRect(QPoint(columns * cellWidth + leftHeaderSize().width(), top), rightHeaderSize()),
                                     Qt::AlignRight, 0));
    finishLayout();
}

void KnitScene::insertColumnLeft(int column)
{
    column = qBound(0, column, columnCount());
    for (int y = 0; y < rowCount(); ++y)
        cellGrid[y].insert(column, createDefaultCell(column, y));

    for (int y = 0; y < rowCount(); ++y) {
        for (int x = column; x < cellGrid.at(y).size(); ++x)
            placeCell(cellGrid.at(y).at(x), x, y);
    }

    const int left = column * cellWidth + leftHeaderSize().width();
    const int gridBottom = rowCount() * cellHeight + topHeaderSize().height();
    topHeaders.insert(qMin(column, int(topHeaders.size())),
                      createHeader(QRect(QPoint(left, 0), topHeaderSize()), Qt::AlignTop, 0));
    bottomHeaders.insert(qMin(column, int(bottomHeaders.size())),
                         createHeader(QRect(QPoint(left, gridBottom), bottomHeaderSize()), Qt::AlignBottom, 0));
    finishLayout();
}

void KnitScene::removeHeader(QList<HeaderCell *> &headers, int index)
{
    if (index < 0 || index >= headers.size())
        return;
    HeaderCell *header = headers.takeAt(index);
    removeItem(header);
    delete header;
}

void KnitScene::removeRow(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    clearSelection();

    const QList<KnitCell *> cells = cellGrid.takeAt(row);
    for (int x = 0; x < cells.size(); ++x) {
        KnitCell *cell = cells.at(x);
        Q_EMIT colorChanged(x, row, QColor(), cell->color());
        Q_EMIT stitchChanged(x, row, nullptr, cell->stitch());
        if (cell == lastPaintedCell)
            lastPaintedCell = nullptr;
        cell->setOwner(nullptr);
        removeItem(cell);
        delete cell;
    }

    for (int y = row; y < rowCount(); ++y) {
        for (int x = 0; x < cellGrid.at(y).size(); ++x)
            placeCell(cellGrid.at(y).at(x), x, y);
    }
    removeHeader(leftHeaders, row);
    removeHeader(rightHeaders, row);
    finishLayout();
}

void KnitScene::removeColumn(int column)
{
    if (column < 0 || column >= columnCount())
        return;
    // Before the cells go: the selection must not point at deleted cells.
    clearSelection();

    for (int y = 0; y < rowCount(); ++y) {
        KnitCell *cell = cellGrid[y].takeAt(column);
        Q_EMIT stitchChanged(column, y, nullptr, cell->stitch());
        Q_EMIT colorChanged(column, y, QColor(), cell->color());
        if (cell == lastPaintedCell)
            lastPaintedCell = nullptr;
        cell->setOwner(nullptr);
        removeItem(cell);
        delete cell;
    }

    for (int y = 0; y < rowCount(); ++y) {
        for (int x = column; x < cellGrid.at(y).size(); ++x)
            placeCell(cellGrid.at(y).at(x), x, y);
    }
    removeHeader(topHeaders, int(topHeaders.size()) - 1);
    removeHeader(bottomHeaders, int(bottomHeaders.size()) - 1);
    finishLayout();
}

void KnitScene::setCellSize(const QSize &size)
{
    cellWidth = saneCellSide(size.width());
    cellHeight = saneCellSide(size.height());
    const int headerWidth = leftHeaderSize().width();
    const int headerHeight = topHeaderSize().height();
    for (int y = 0; y < rowCount(); ++y) {
        for (int x = 0; x < cellGrid.at(y).size(); ++x) {
            KnitCell *cell = cellGrid.at(y).at(x);
            if (!cell) {
                qDebug() << "error: missing cell pointer in KnitScene::setCellSize()";
                continue;
            }
            cell->headerWidth = headerWidth;
            cell->headerHeight = headerHeight;
            placeCell(cell, x, y);
        }
    }
    finishLayout();
}

void KnitScene::updateRow(int row, const QList<Stitch *> &data)
{
    const int gridRow = rowCount() - row - 1;
    if (row < 0 || gridRow < 0)
        return;

    m_undoStack->beginMacro(QStringLiteral("Update row %1 from instructions").arg(row + 1));
    const int columns = qMin(columnCount(), int(data.size()));
    int imageIndex = 0;
    Stitch *previous = nullptr;
    for (int x = 0; x < columns; ++x) {
        Stitch *stitch = data.at(x);
        if (!stitch) {
            previous = nullptr;
            continue;
        }
        const bool continues = stitch && stitch == previous && stitch->cellsPerStitch() >= 2
            && imageIndex < stitch->cellsPerStitch() - 1;
        imageIndex = continues ? imageIndex + 1 : 0;
        setStitch(QPoint(x, gridRow), stitch, imageIndex);
        previous = stitch;
    }
    m_undoStack->endMacro();
}
