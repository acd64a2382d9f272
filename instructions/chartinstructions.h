#ifndef CHARTINSTRUCTIONS_H
#define CHARTINSTRUCTIONS_H

#include "chartoptions.h"
#include "rowstitches.h"

#include <QString>

class ChartGrid;

// A chart in written instructions: each row's line and label, and the
// whole chart for the Directions page and for printing (the title, the
// cast-on count and one labelled line per row, bottom row first, without
// No Stitch cells).
class ChartInstructions
{
public:
    // What grid row `row` (0 = the top row) works and makes; nothing off
    // the chart.
    static RowStitches rowStitches(const ChartGrid &grid, int row);
    // "Cast on 12 stitches": what the bottom row works.
    static QString castOnLine(const ChartGrid &grid);
    // The line of grid row `row` (0 = the top row); "" off the chart.
    static QString rowText(const ChartGrid &grid, int row, bool includeNoStitch);
    // The label of the row counted `rowNumber` from the bottom, numbered
    // as the chart numbers it.
    static QString rowLabel(const ChartGrid &grid, int rowNumber);
    // In the chart's own written style, or in `style`.
    static QString text(const QString &title, const ChartGrid &grid);
    static QString text(const QString &title, const ChartGrid &grid, WrittenStyle style);
};

#endif // CHARTINSTRUCTIONS_H
