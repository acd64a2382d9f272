// The chart's operations on its selection: the clipboard, flips, mirrors
// and the whole-chart stitch replacer. Each is one undo step.

#include "chart.h"

#include "cellclipboard.h"
#include "chartgrid.h"
#include "preferences.h"
#include "stitch.h"
#include "stitchreplacerdialog.h"
#include "stitchset.h"
#include "waitcursor.h"

#include <QGraphicsView>
#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QUndoStack>

#include <algorithm>

void Chart::copy()
{
    const QList<QPoint> positions = selectedPositions();
    if (positions.isEmpty())
        return;
    const QPoint reference = positions.first();
    QList<CellClipboard::Record> records;
    records.reserve(positions.size());
    for (const QPoint &pos : positions) {
        const Stitch *stitch = m_grid->stitch(pos.x(), pos.y());
        CellClipboard::Record record;
        record.offset = pos - reference;
        record.abbreviation = stitch ? stitch->stitchID() : QString();
        record.imgPos = m_grid->imgPos(pos.x(), pos.y());
        record.color = m_grid->color(pos.x(), pos.y());
        records.append(record);
    }
    QApplication::clipboard()->setMimeData(CellClipboard::toMimeData(records));
}

void Chart::cut()
{
    copy();
    Stitch *fill = StitchSet::instance()->defaultStitch();
    m_undoStack->beginMacro(tr("Cut stitches"));
    for (const QPoint &pos : selectedPositions()) {
        knitScene()->setStitch(pos, fill, 0);
        knitScene()->setColor(pos, Qt::white);
    }
    m_undoStack->endMacro();
}

void Chart::paste()
{
    const QList<QPoint> positions = selectedPositions();
    if (positions.isEmpty())
        return;
    const QList<CellClipboard::Record> records = CellClipboard::fromMimeData(QApplication::clipboard()->mimeData());
    if (records.isEmpty())
        return;

    const QPoint anchor = positions.first();
    StitchSet *catalogue = StitchSet::instance();
    m_undoStack->beginMacro(tr("Paste stitches"));
    for (const CellClipboard::Record &record : records) {
        // Cells that would fall outside the chart are dropped. Clipboard
        // data may come from anywhere, so the offset is added wide.
        const qint64 x = qint64(anchor.x()) + record.offset.x();
        const qint64 y = qint64(anchor.y()) + record.offset.y();
        if (x < 0 || y < 0 || x >= m_grid->columnCount() || y >= m_grid->rowCount())
            continue;
        const QPoint target{int(x), int(y)};
        knitScene()->setStitch(target, catalogue->findStitch(record.abbreviation), record.imgPos);
        knitScene()->setColor(target, record.color);
    }
    m_undoStack->endMacro();
}

void Chart::hFlipSelection()
{
    knitScene()->editor().flipHorizontally(selectionBox(), Preferences::mirrorSwapsLeaning.value());
}

void Chart::vFlipSelection()
{
    knitScene()->editor().flipVertically(selectionBox());
}

void Chart::hMirrorSelection()
{
    knitScene()->editor().mirrorHorizontally(selectionBox(), Preferences::mirrorSwapsLeaning.value());
}

void Chart::vMirrorSelection()
{
    knitScene()->editor().mirrorVertically(selectionBox());
}

void Chart::borderAroundSelection()
{
    knitScene()->editor().borderAround(selectionBox(), borderColor);
}

void Chart::removeBordersOfSelection()
{
    knitScene()->editor().removeBorders(selectionBox());
}

// A new box takes the colour the chart's boxes have.
void Chart::markRepeat()
{
    knitScene()->editor().markRepeat(selectionBox(), RepeatBoxes::colorOf(m_grid->repeats()));
}

void Chart::markShapingRows()
{
    knitScene()->editor().markShapingRows(selectionBox(), true);
}

void Chart::unmarkShapingRows()
{
    knitScene()->editor().markShapingRows(selectionBox(), false);
}

void Chart::showCells(const QRect &cells)
{
    KnitScene *scene = knitScene();
    if (cells.isEmpty()) {
        scene->clearSelection();
        return;
    }
    scene->setSelected(QRectF(cells.x(), cells.y(), cells.width() - 1, cells.height() - 1),
                       cells.width() == m_grid->columnCount() ? KnitScene::SelectRows : KnitScene::SelectLasso);
    const QRect area = scene->cellRect(cells.left(), cells.top()).united(scene->cellRect(cells.right(), cells.bottom()));
    if (view)
        view->ensureVisible(area, 40, 40);
}

void Chart::removeRepeat()
{
    knitScene()->editor().removeRepeats(selectionBox());
}

void Chart::repeatColorDialog()
{
    const QColor color = QColorDialog::getColor(RepeatBoxes::colorOf(m_grid->repeats()), this, tr("Repeat Color"));
    if (color.isValid())
        knitScene()->editor().recolorRepeats(color);
}

void Chart::stitchReplacer()
{
    // The chart's own stitches first, the most used first.
    QList<QPair<Stitch *, int>> tally = m_grid->stitchTally();
    std::stable_sort(tally.begin(), tally.end(), [](const auto &a, const auto &b) { return a.second > b.second; });
    QList<Stitch *> inChart;
    for (const auto &entry : tally)
        inChart.append(entry.first);
    StitchReplacerDialog dialog(inChart, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    WaitCursor wait;
    knitScene()->editor().replaceStitch(dialog.originalStitch(), StitchSet::instance()->findStitch(dialog.newStitch()));
}
