#ifndef CHARTRECORD_H
#define CHARTRECORD_H

#include "chartgrid.h"

#include <QByteArray>
#include <QSize>
#include <QSizeF>
#include <QString>

#include <functional>
#include <memory>

class QDataStream;

// A chart as its record in a pattern file holds it.
struct ChartValues
{
    QString title;
    // The picture of the chart on the Directions page, by its hash, and
    // the size in inches it was asked for; none when it has no picture.
    QByteArray hash;
    QSizeF imageSize = QSizeF(-1, -1);
    // The part of the chart the picture shows, as ChartPicture::keptPart
    // counts it; null for the whole chart.
    QRect imageCells;
    // Never null once read; a chart whose cells could not be read at all
    // has none.
    std::unique_ptr<ChartGrid> grid;
};

// The chart record of a pattern file: after "<Chart>", the tagged header
// (title, width, height, picture link, knitting style, side, number starts,
// skipped rows, numbers at the bottom, repeat boxes, in any order), then the scene record, then "</Chart>". The
// scene record runs from "<KnitScene>" to "</KnitScene>": the cell size,
// then between "<Cells>" and "</Cells>" one group per cell, row by row, of
// its position, stitch abbreviation, image index, colour, borders and
// border colours. A group may leave values out; they carry over from the
// group before.
//
// Reading never stops at damage: it keeps what it read, fills the cells it
// could not read with the default stitch on white, and says false. It
// never builds more cells than the rest of the record could describe.
class ChartRecord
{
public:
    // Told how many of `total` cells are read, between rows; answers false
    // to give up (the reading then fails).
    using Progress = std::function<bool(qint64 done, qint64 total)>;

    static bool write(QDataStream &out, const ChartGrid &grid, const QString &title, const QByteArray &hash,
                      const QSizeF &imageSize, const QRect &imageCells = QRect());
    // The lowest file version (fileversions.h) that holds the record of
    // `grid` with a picture of `imageSize` showing `imageCells`.
    static qint32 versionFor(const ChartGrid &grid, const QSizeF &imageSize = QSizeF(-1, -1),
                             const QRect &imageCells = QRect());
    // From just after "<Chart>" to just after "</Chart>". A record that
    // names no cell size gets `cellSize`.
    static bool read(QDataStream &in, ChartValues &values, const QSize &cellSize, const Progress &progress = {});

    // The scene record alone.
    static void writeScene(QDataStream &out, const ChartGrid &grid);
    // From just after "<KnitScene>": the cells of a width x height chart
    // into `grid` (made anew; 0 x 0 when no cell could be read), with the
    // record's cell size or `cellSize`.
    static bool readScene(QDataStream &in, int width, int height, const QSize &cellSize,
                          std::unique_ptr<ChartGrid> &grid, const Progress &progress = {});

    // Whether the rest of the stream is long enough for the cell groups of
    // a width x height chart.
    static bool recordCanHold(const QDataStream &in, int width, int height);
};

#endif // CHARTRECORD_H
