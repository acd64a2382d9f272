#ifndef CHARTFIXTURES_H
#define CHARTFIXTURES_H

#include "chartgrid.h"

#include <QColor>
#include <QString>
#include <QStringList>

#include <memory>

class Stitch;

// The catalogue's stitch with this ID (the catalogue must be loaded).
Stitch *stitchById(const char *id);

// Stitches as their IDs joined by blanks, "-" for none.
QString stitchIds(const QList<Stitch *> &row);
// Row y of a chart as its stitch IDs, leftmost first, joined by blanks.
QString rowIds(const ChartGrid &grid, int y);

// Everything a chart holds, one line per cell and one for its options:
// two charts are equal exactly when their snapshots are.
QStringList snapshot(const ChartGrid &grid);

// A 5 x 4 chart of mixed stitches and colours with a 4-cell cable in row 2
// and borders on the outer edge and inside, mirrored as drawing makes
// them.
std::unique_ptr<ChartGrid> sampleGrid();

// Options far from the defaults in every field: lace, wrong side first,
// numbering from 3 and 5, skipped rows, 30 x 26 cells, written published
// with brackets, every count and repeats found.
ChartOptions unusualOptions();

// A `columns` x `rows` chart of stitches, colours, image indexes and
// borders drawn from `seed`, with random options.
std::unique_ptr<ChartGrid> randomGrid(int columns, int rows, unsigned seed);

// A chart `width` wide from plain written lines, bottom row first, each
// read on its own side as `options` say (the catalogue must be loaded).
std::unique_ptr<ChartGrid> chartFromLines(int width, const QStringList &lines, const ChartOptions &options = {});

#endif // CHARTFIXTURES_H
