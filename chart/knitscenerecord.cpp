// The scene's record in a pattern file: the cell size and every cell with
// its position, stitch, image index, colour and borders.

#include "knitscene.h"

#include "knitcell.h"
#include "recordstream.h"
#include "stitch.h"
#include "stitchset.h"

#include <QApplication>
#include <QDataStream>
#include <QProgressDialog>

namespace {

const QString sceneStart = QStringLiteral("<KnitScene>");
const QString sceneEnd = QStringLiteral("</KnitScene>");
const QString cellDimensions = QStringLiteral("CellDim:");
const QString cellsStart = QStringLiteral("<Cells>");
const QString cellsEnd = QStringLiteral("</Cells>");
const QString cellStart = QStringLiteral("<Cell>");
const QString cellEnd = QStringLiteral("</Cell>");
const QString position = QStringLiteral("X,Y:");
const QString abbreviation = QStringLiteral("Abbriv:");
const QString oldAbbreviation = QStringLiteral("Abriv:");
const QString imagePosition = QStringLiteral("ImgPos:");
const QString colour = QStringLiteral("Color:");
const QString borders = QStringLiteral("Borders:");
const QString borderColours = QStringLiteral("BorderColors:");

// The smallest cell group: "<Cell>" and "</Cell>", every value carried
// over from the group before.
const qint64 smallestCellGroup = RecordStream::encodedSize(cellStart) + RecordStream::encodedSize(cellEnd);

// What one cell group says; values a group leaves out carry over.
struct CellValues
{
    int x = 0;
    int y = 0;
    QString abbriv;
    qint32 imgPos = 0;
    QColor color;
    bool borders[4] = {false, false, false, false};
    QColor borderColors[4] = {Qt::black, Qt::black, Qt::black, Qt::black};
};

bool readCellGroup(QDataStream &in, CellValues &cell)
{
    QString token;
    if (!RecordStream::readString(in, token) || token != cellStart)
        return false;
    while (RecordStream::readString(in, token)) {
        if (token == cellEnd)
            return true;
        if (token == position) {
            qint32 x = 0, y = 0;
            in >> x >> y;
            cell.x = x;
            cell.y = y;
        } else if (token == abbreviation || token == oldAbbreviation) {
            if (!RecordStream::readString(in, cell.abbriv))
                return false;
        } else if (token == imagePosition) {
            in >> cell.imgPos;
        } else if (token == colour) {
            in >> cell.color;
        } else if (token == borders) {
            in >> cell.borders[0] >> cell.borders[1] >> cell.borders[2] >> cell.borders[3];
        } else if (token == borderColours) {
            in >> cell.borderColors[0] >> cell.borderColors[1] >> cell.borderColors[2] >> cell.borderColors[3];
        } else {
            return false;
        }
        if (in.status() != QDataStream::Ok)
            return false;
    }
    return false;
}

Stitch *stitchFor(const QString &abbriv)
{
    bool found = false;
    Stitch *stitch = StitchSet::instance()->findStitch(abbriv, &found);
    return found ? stitch : StitchSet::instance()->findStitch(QStringLiteral("k"));
}

void applyCellValues(KnitCell *cell, const CellValues &values, int width)
{
    cell->setLeftBorder(values.borders[0], values.borderColors[0]);
    cell->setRightBorder(values.borders[1], values.borderColors[1]);
    cell->setTopBorder(values.borders[2], values.borderColors[2]);
    cell->setBottomBorder(values.borders[3], values.borderColors[3]);
    cell->setStitch(stitchFor(values.abbriv), values.imgPos);
    cell->setColor(values.color);
    cell->setStackingOrder(width * values.y + values.x);
}

} // namespace

bool KnitScene::recordCanHold(const QDataStream &in, int width, int height)
{
    if (width < 0 || height < 0)
        return false;
    const qint64 left = RecordStream::remainingBytes(in);
    return left < 0 || qint64(width) * height * smallestCellGroup <= left;
}

void KnitScene::save(QDataStream &out) const
{
    out << sceneStart << cellDimensions << qint32(cellWidth) << qint32(cellHeight) << cellsStart;
    for (int y = 0; y < rowCount(); ++y) {
        for (int x = 0; x < cellGrid.at(y).size(); ++x) {
            const KnitCell *cell = cellGrid.at(y).at(x);
            out << cellStart << position << qint32(x) << qint32(y);
            out << abbreviation << (cell->stitch() ? cell->stitch()->stitchID() : QStringLiteral("?"));
            out << imagePosition << qint32(cell->imgPos());
            out << colour << cell->color();
            out << borders << cell->leftBorder() << cell->rightBorder() << cell->topBorder() << cell->bottomBorder();
            out << borderColours << cell->leftBorderColor() << cell->rightBorderColor() << cell->topBorderColor()
                << cell->bottomBorderColor();
            out << cellEnd;
        }
    }
    out << cellsEnd << sceneEnd;
}

bool KnitScene::loadScene(QDataStream &in, int width, int height, QProgressDialog *progress)
{
    if (!recordCanHold(in, width, height))
        return false;

    if (progress)
        progress->setMaximum(width * height);

    QString token;
    while (RecordStream::readString(in, token)) {
        if (token == cellDimensions) {
            qint32 w = 0, h = 0;
            in >> w >> h;
            cellWidth = qBound(1, int(w), 1000);
            cellHeight = qBound(1, int(h), 1000);
        } else if (token == cellsStart) {
            const bool complete = readCells(in, width, height, progress);
            if (!complete || !RecordStream::readString(in, token) || token != cellsEnd) {
                fillMissingCells(width, height);
                setupKnitScene(width, height);
                setCellSize(QSize(cellWidth, cellHeight));
                return false;
            }
        } else if (token == sceneEnd) {
            setupKnitScene(width, height);
            setCellSize(QSize(cellWidth, cellHeight));
            return true;
        } else {
            break;
        }
    }
    if (!cellGrid.isEmpty()) {
        fillMissingCells(width, height);
        setupKnitScene(width, height);
        setCellSize(QSize(cellWidth, cellHeight));
    }
    return false;
}

bool KnitScene::readCells(QDataStream &in, int width, int height, QProgressDialog *progress)
{
    cellGrid = QList<QList<KnitCell *>>(height, QList<KnitCell *>(width, nullptr));
    CellValues values;
    int count = 0;
    for (int row = 0; row < height; ++row) {
        if (progress) {
            progress->setValue(count);
            if (progress->wasCanceled())
                return false;
            QApplication::processEvents();
        }
        for (int column = 0; column < width; ++column) {
            values.x = column;
            values.y = row;
            if (!readCellGroup(in, values))
                return false;
            if (values.x < 0 || values.x >= width || values.y < 0 || values.y >= height)
                return false;

            // A later group for the same position wins.
            KnitCell *&place = cellGrid[values.y][values.x];
            if (place) {
                applyCellValues(place, values, width);
            } else {
                // Wired before its values are set, so that listeners hear of
                // every cell that arrives; it joins the scene once set up.
                place = newCell(values.x, values.y);
                place->setOwner(this);
                applyCellValues(place, values, width);
                addItem(place);
            }
            ++count;
        }
    }

    // Every position must have been named by some cell group.
    for (const QList<KnitCell *> &cells : std::as_const(cellGrid)) {
        if (cells.contains(nullptr))
            return false;
    }
    return true;
}

void KnitScene::fillMissingCells(int width, int height)
{
    if (cellGrid.size() != height)
        cellGrid.resize(height);
    for (int y = 0; y < height; ++y) {
        cellGrid[y].resize(width, nullptr);
        for (int x = 0; x < width; ++x) {
            if (!cellGrid[y][x])
                cellGrid[y][x] = createDefaultCell(x, y);
        }
    }
}
