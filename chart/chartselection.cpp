// The chart's operations on its selection: the clipboard, flips, mirrors
// and the whole-chart stitch replacer. Each is one undo step.

#include "chart.h"

#include "cellclipboard.h"
#include "copyknitcell.h"
#include "knitcell.h"
#include "knittextedit.h"
#include "setcellstitch.h"
#include "stitchreplacerdialog.h"
#include "stitchset.h"
#include "swapknitcells.h"

#include <QApplication>
#include <QClipboard>
#include <QUndoStack>

void Chart::copy()
{
    const QList<QPoint> positions = selectedPositions();
    if (positions.isEmpty())
        return;
    const QPoint reference = positions.first();
    QList<CellClipboard::Record> records;
    for (int i = 0; i < positions.size(); ++i) {
        const KnitCell *cell = scene->selectedCells.at(i);
        CellClipboard::Record record;
        record.offset = positions.at(i) - reference;
        record.abbreviation = cell->stitch() ? cell->stitch()->stitchID() : QString();
        record.imgPos = cell->imgPos();
        record.color = cell->color();
        records.append(record);
    }
    QApplication::clipboard()->setMimeData(CellClipboard::toMimeData(records));
}

void Chart::cut()
{
    copy();
    Stitch *fill = StitchSet::instance()->defaultStitch();
    scene->undoStack()->beginMacro(tr("Cut stitches"));
    for (const QPoint &pos : selectedPositions()) {
        scene->setStitch(pos, fill, 0);
        scene->setColor(pos, Qt::white);
    }
    scene->undoStack()->endMacro();
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
    scene->undoStack()->beginMacro(tr("Paste stitches"));
    for (const CellClipboard::Record &record : records) {
        // Cells that would fall outside the chart are dropped. Clipboard
        // data may come from anywhere, so the offset is added wide.
        const qint64 x = qint64(anchor.x()) + record.offset.x();
        const qint64 y = qint64(anchor.y()) + record.offset.y();
        if (x < 0 || y < 0 || x >= scene->columnCount() || y >= scene->rowCount())
            continue;
        const QPoint target{int(x), int(y)};
        scene->setStitch(target, catalogue->findStitch(record.abbreviation), record.imgPos);
        scene->setColor(target, record.color);
    }
    scene->undoStack()->endMacro();
}

void Chart::hFlipSelection()
{
    if (scene->selectedCells.size() < 2)
        return;
    const QRect box = selectionBox();
    scene->undoStack()->beginMacro(tr("Flip selection horizontally"));
    for (int k = 0; k < box.width() / 2; ++k) {
        for (int y = box.top(); y <= box.bottom(); ++y)
            scene->undoStack()->push(new SwapKnitCells(QPointF(box.left() + k, y), QPointF(box.right() - k, y), scene,
                                                       textEdit));
    }
    scene->undoStack()->endMacro();
}

void Chart::vFlipSelection()
{
    if (scene->selectedCells.size() < 2)
        return;
    const QRect box = selectionBox();
    scene->undoStack()->beginMacro(tr("Flip selection vertically"));
    for (int k = 0; k < box.height() / 2; ++k) {
        for (int x = box.left(); x <= box.right(); ++x)
            scene->undoStack()->push(new SwapKnitCells(QPointF(x, box.top() + k), QPointF(x, box.bottom() - k), scene,
                                                       textEdit));
    }
    scene->undoStack()->endMacro();
}

// The box copied, reversed, into the columns to its right; what does not
// fit the chart is dropped.
void Chart::hMirrorSelection()
{
    if (scene->selectedCells.size() < 2)
        return;
    const QRect box = selectionBox();
    scene->undoStack()->beginMacro(tr("Mirror selection horizontally"));
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int i = 0; i <= box.right() - box.left(); ++i) {
            const int target = box.right() + i + 1;
            if (target >= scene->columnCount())
                break;
            scene->undoStack()->push(new CopyKnitCell(QPointF(box.right() - i, y), QPointF(target, y), scene, textEdit));
        }
    }
    scene->undoStack()->endMacro();
}

void Chart::vMirrorSelection()
{
    if (scene->selectedCells.size() < 2)
        return;
    const QRect box = selectionBox();
    scene->undoStack()->beginMacro(tr("Mirror selection vertically"));
    for (int i = 0; i <= box.bottom() - box.top(); ++i) {
        const int target = box.bottom() + i + 1;
        if (target >= scene->rowCount())
            break;
        for (int x = box.left(); x <= box.right(); ++x)
            scene->undoStack()->push(new CopyKnitCell(QPointF(x, box.bottom() - i), QPointF(x, target), scene, textEdit));
    }
    scene->undoStack()->endMacro();
}

void Chart::stitchReplacer()
{
    StitchReplacerDialog dialog(this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QString original = dialog.originalStitch();
    Stitch *replacement = StitchSet::instance()->findStitch(dialog.newStitch());

    QApplication::setOverrideCursor(Qt::WaitCursor);
    scene->undoStack()->beginMacro(tr("Replace Stitch"));
    for (int y = 0; y < scene->rowCount(); ++y) {
        for (int x = 0; x < scene->columnCount(); ++x) {
            const Stitch *stitch = scene->stitch(x, y);
            if (stitch && stitch->stitchID() == original)
                scene->undoStack()->push(new SetCellStitch(QPoint(x, y), scene, replacement, 0));
        }
    }
    scene->undoStack()->endMacro();
    QApplication::restoreOverrideCursor();
}
