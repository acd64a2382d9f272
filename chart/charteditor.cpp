#include "charteditor.h"

#include "copyknitcell.h"
#include "insertcolumn.h"
#include "insertrow.h"
#include "removecolumn.h"
#include "removerow.h"
#include "setborder.h"
#include "setcellcolor.h"
#include "setcellsize.h"
#include "setcellstitch.h"
#include "setrepeats.h"
#include "setshapingrows.h"
#include "stitchset.h"
#include "stitch.h"
#include "swapknitcells.h"

#include <QCoreApplication>
#include <QHash>
#include <QSet>
#include <QUndoStack>

#include <algorithm>

namespace {

QString chartText(const char *text)
{
    return QCoreApplication::translate("Chart", text);
}

QUndoCommand *borderCommand(ChartCell::Edge edge, const QPoint &pos, bool on, const QColor &color, ChartGrid *grid)
{
    switch (edge) {
    case ChartCell::Left:
        return new SetBorderLeft(pos, on, color, grid);
    case ChartCell::Right:
        return new SetBorderRight(pos, on, color, grid);
    case ChartCell::Top:
        return new SetBorderTop(pos, on, color, grid);
    case ChartCell::Bottom:
        break;
    }
    return new SetBorderBottom(pos, on, color, grid);
}

} // namespace

ChartEditor::ChartEditor(ChartGrid *grid, QUndoStack *stack)
    : m_grid(grid)
    , m_stack(stack)
{
}

void ChartEditor::beginMacro(const QString &text)
{
    m_stack->beginMacro(text);
}

void ChartEditor::endMacro()
{
    m_stack->endMacro();
}

void ChartEditor::setStitch(const QPoint &pos, Stitch *stitch, int imgPos)
{
    if (m_grid->contains(pos))
        m_stack->push(new SetCellStitch(pos, m_grid, stitch, imgPos));
}

void ChartEditor::setColor(const QPoint &pos, const QColor &color)
{
    if (m_grid->contains(pos))
        m_stack->push(new SetCellColor(pos, m_grid, color));
}

void ChartEditor::setCellSize(const QSize &size)
{
    m_stack->push(new SetCellSize(size, m_grid));
}

void ChartEditor::setStitchOn(const QList<QPoint> &positions, Stitch *stitch)
{
    if (!stitch || positions.isEmpty())
        return;
    QSet<QPoint> written;
    beginMacro(QStringLiteral("Set stitch on lasso"));
    for (const QPoint &pos : positions) {
        if (written.contains(pos))
            continue;
        for (int k = 0; k < stitch->cellsPerStitch() && pos.x() + k < m_grid->columnCount(); ++k) {
            const QPoint target(pos.x() + k, pos.y());
            setStitch(target, stitch, k);
            written.insert(target);
        }
    }
    endMacro();
}

void ChartEditor::setColorOn(const QList<QPoint> &positions, const QColor &color)
{
    if (positions.isEmpty())
        return;
    beginMacro(QStringLiteral("Set color on lasso"));
    for (const QPoint &pos : positions)
        setColor(pos, color);
    endMacro();
}

void ChartEditor::setBorderOn(const QList<QPoint> &positions, ChartCell::Edge edge, bool on, const QColor &color)
{
    if (positions.isEmpty())
        return;
    const QString state = on ? QCoreApplication::translate("KnitScene", "On")
                             : QCoreApplication::translate("KnitScene", "Off");
    beginMacro(QCoreApplication::translate("KnitScene", "Set border %1").arg(state));
    for (const QPoint &pos : positions)
        m_stack->push(borderCommand(edge, pos, on, color, m_grid));
    endMacro();
}

void ChartEditor::borderAround(const QRect &box, const QColor &color)
{
    const QRect cells = box & QRect(0, 0, m_grid->columnCount(), m_grid->rowCount());
    if (cells.isEmpty())
        return;
    beginMacro(QCoreApplication::translate("KnitScene", "Border around selection"));
    for (int x = cells.left(); x <= cells.right(); ++x) {
        m_stack->push(new SetBorderTop(QPoint(x, cells.top()), true, color, m_grid));
        m_stack->push(new SetBorderBottom(QPoint(x, cells.bottom()), true, color, m_grid));
    }
    for (int y = cells.top(); y <= cells.bottom(); ++y) {
        m_stack->push(new SetBorderLeft(QPoint(cells.left(), y), true, color, m_grid));
        m_stack->push(new SetBorderRight(QPoint(cells.right(), y), true, color, m_grid));
    }
    endMacro();
}

void ChartEditor::markRepeat(const QRect &box, const QColor &color)
{
    const QRect cells = box & QRect(0, 0, m_grid->columnCount(), m_grid->rowCount());
    if (cells.isEmpty())
        return;
    QList<RepeatBox> boxes = m_grid->repeats();
    const auto same = std::find_if(boxes.begin(), boxes.end(), [&](const RepeatBox &b) { return b.cells == cells; });
    if (same != boxes.end())
        same->color = color;
    else
        boxes.append(RepeatBox{cells, color});
    if (boxes != m_grid->repeats())
        m_stack->push(new SetRepeats(boxes, chartText("Mark repeat"), m_grid));
}

void ChartEditor::markShapingRows(const QRect &box, bool shaping)
{
    const QRect rows = box & QRect(0, 0, m_grid->columnCount(), m_grid->rowCount());
    QList<int> marked = m_grid->shapingRows();
    for (int y = rows.top(); y <= rows.bottom() && !rows.isEmpty(); ++y) {
        if (shaping && !marked.contains(y))
            marked.append(y);
        else if (!shaping)
            marked.removeAll(y);
    }
    std::sort(marked.begin(), marked.end());
    if (marked != m_grid->shapingRows())
        m_stack->push(new SetShapingRows(marked, shaping ? chartText("Mark shaping rows") : chartText("Unmark shaping rows"),
                                         m_grid));
}

void ChartEditor::removeRepeats(const QRect &box)
{
    QList<RepeatBox> boxes = m_grid->repeats();
    boxes.removeIf([&box](const RepeatBox &b) { return b.cells.intersects(box); });
    if (boxes != m_grid->repeats())
        m_stack->push(new SetRepeats(boxes, chartText("Remove repeat"), m_grid));
}

void ChartEditor::recolorRepeats(const QColor &color)
{
    QList<RepeatBox> boxes = m_grid->repeats();
    for (RepeatBox &b : boxes)
        b.color = color;
    if (boxes != m_grid->repeats())
        m_stack->push(new SetRepeats(boxes, chartText("Repeat color"), m_grid));
}

void ChartEditor::removeBorders(const QRect &box)
{
    const QRect cells = box & QRect(0, 0, m_grid->columnCount(), m_grid->rowCount());
    bool any = false;
    for (int y = cells.top(); y <= cells.bottom(); ++y) {
        for (int x = cells.left(); x <= cells.right(); ++x) {
            for (const ChartCell::Edge edge : {ChartCell::Left, ChartCell::Right, ChartCell::Top, ChartCell::Bottom}) {
                if (!m_grid->hasBorder(x, y, edge))
                    continue;
                if (!any)
                    beginMacro(QCoreApplication::translate("KnitScene", "Remove borders"));
                any = true;
                m_stack->push(borderCommand(edge, QPoint(x, y), false, m_grid->borderColor(x, y, edge), m_grid));
            }
        }
    }
    if (any)
        endMacro();
}

void ChartEditor::updateRow(int row, const QList<Stitch *> &stitches)
{
    const int gridRow = m_grid->rowCount() - row - 1;
    if (row < 0 || gridRow < 0)
        return;

    beginMacro(QStringLiteral("Update row %1 from instructions").arg(row + 1));
    const int columns = qMin(m_grid->columnCount(), int(stitches.size()));
    const QList<int> images = ChartGrid::imageIndexes(stitches);
    for (int x = 0; x < columns; ++x) {
        if (stitches.at(x))
            setStitch(QPoint(x, gridRow), stitches.at(x), images.at(x));
    }
    endMacro();
}

void ChartEditor::insertRow(int row)
{
    m_stack->push(new InsertRow(row, m_grid));
}

void ChartEditor::insertColumn(int column)
{
    m_stack->push(new InsertColumn(column, m_grid));
}

void ChartEditor::removeRows(const QRect &box)
{
    if (!box.isValid() || m_grid->rowCount() <= 1)
        return;
    // The chart keeps at least one row.
    const int count = qMin(box.height(), m_grid->rowCount() - 1);
    beginMacro(chartText("Remove row(s)"));
    for (int i = 0; i < count; ++i)
        m_stack->push(new RemoveRow(box.top(), m_grid));
    endMacro();
}

void ChartEditor::removeColumns(const QRect &box)
{
    if (!box.isValid() || m_grid->columnCount() <= 1)
        return;
    const int count = qMin(box.width(), m_grid->columnCount() - 1);
    beginMacro(chartText("Remove column(s)"));
    for (int i = 0; i < count; ++i)
        m_stack->push(new RemoveColumn(box.left(), m_grid));
    endMacro();
}

void ChartEditor::flipHorizontally(const QRect &box, bool swapLeaning)
{
    if (box.width() * box.height() < 2)
        return;
    beginMacro(chartText("Flip selection horizontally"));
    for (int k = 0; k < box.width() / 2; ++k) {
        for (int y = box.top(); y <= box.bottom(); ++y)
            m_stack->push(new SwapKnitCells(QPoint(box.left() + k, y), QPoint(box.right() - k, y), m_grid));
    }
    turnStitches(box, swapLeaning);
    endMacro();
}

void ChartEditor::flipVertically(const QRect &box)
{
    if (box.width() * box.height() < 2)
        return;
    beginMacro(chartText("Flip selection vertically"));
    for (int k = 0; k < box.height() / 2; ++k) {
        for (int x = box.left(); x <= box.right(); ++x)
            m_stack->push(new SwapKnitCells(QPoint(x, box.top() + k), QPoint(x, box.bottom() - k), m_grid));
    }
    endMacro();
}

void ChartEditor::mirrorHorizontally(const QRect &box, bool swapLeaning)
{
    if (box.width() * box.height() < 2)
        return;
    beginMacro(chartText("Mirror selection horizontally"));
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int i = 0; i <= box.right() - box.left(); ++i) {
            const int target = box.right() + i + 1;
            if (target >= m_grid->columnCount())
                break;
            m_stack->push(new CopyKnitCell(QPoint(box.right() - i, y), QPoint(target, y), m_grid));
        }
    }
    turnStitches(QRect(box.right() + 1, box.top(), box.width(), box.height()), swapLeaning);
    endMacro();
}

// After cells were put in reverse order left to right: the pieces of a
// stitch over several cells are numbered from the left again, so that
// it reads whole, and, when asked, every stitch that leans becomes the
// one leaning the other way (k2tog and ssk, left and right cables).
void ChartEditor::turnStitches(const QRect &box, bool swapLeaning)
{
    const QRect cells = box & QRect(0, 0, m_grid->columnCount(), m_grid->rowCount());
    // Finding a stitch's partner reads its name; a chart has few stitches
    // and many cells, so each is looked up once.
    QHash<Stitch *, Stitch *> partners;
    auto turnedOf = [&partners](Stitch *stitch) {
        auto found = partners.constFind(stitch);
        if (found == partners.constEnd())
            found = partners.insert(stitch, StitchSet::instance()->mirrorStitch(stitch));
        return found.value();
    };
    for (int y = cells.top(); y <= cells.bottom(); ++y) {
        for (int x = cells.left(); x <= cells.right(); ++x) {
            Stitch *stitch = m_grid->stitch(x, y);
            if (!stitch)
                continue;
            Stitch *turned = swapLeaning ? turnedOf(stitch) : stitch;
            const int cellsPerStitch = turned->cellsPerStitch();
            int imgPos = m_grid->imgPos(x, y);
            if (stitch->cellsPerStitch() > 1 && imgPos < stitch->cellsPerStitch())
                imgPos = stitch->cellsPerStitch() - 1 - imgPos;
            if (imgPos >= cellsPerStitch)
                imgPos = 0;
            if (turned != stitch || imgPos != m_grid->imgPos(x, y))
                m_stack->push(new SetCellStitch(QPoint(x, y), m_grid, turned, imgPos));
        }
    }
}

void ChartEditor::mirrorVertically(const QRect &box)
{
    if (box.width() * box.height() < 2)
        return;
    beginMacro(chartText("Mirror selection vertically"));
    for (int i = 0; i <= box.bottom() - box.top(); ++i) {
        const int target = box.bottom() + i + 1;
        if (target >= m_grid->rowCount())
            break;
        for (int x = box.left(); x <= box.right(); ++x)
            m_stack->push(new CopyKnitCell(QPoint(x, box.bottom() - i), QPoint(x, target), m_grid));
    }
    endMacro();
}

void ChartEditor::replaceStitch(const QString &original, Stitch *replacement)
{
    beginMacro(chartText("Replace Stitch"));
    for (const QPoint &pos : m_grid->cellsWithStitch(original))
        m_stack->push(new SetCellStitch(pos, m_grid, replacement, 0));
    endMacro();
}
