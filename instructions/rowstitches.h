#ifndef ROWSTITCHES_H
#define ROWSTITCHES_H

#include <QList>

struct ChartCell;

// The stitch arithmetic of one chart row: how many stitches it works from
// the left needle and how many it leaves on the right one. The cast-on is
// what the first row works; a row whose two numbers differ is shaping.
//
// Each stitch counts with its own numbers (Stitch::worked() and made()),
// so No Stitch cells count nothing, and a row reads the same from either
// side. A stitch over several cells counts once for each placement: the
// cells that show its images in order, each cell's image index one more
// than the last. Where the chart's edge or another stitch cuts a placement
// short, the cells left still stand for the stitch, as the written line
// names it, and count once.
struct RowStitches
{
    int worked = 0;
    int made = 0;

    // `cells` are one row, leftmost first; cells without a stitch count
    // nothing.
    static RowStitches count(const QList<ChartCell> &cells);

    bool operator==(const RowStitches &other) const { return worked == other.worked && made == other.made; }
};

#endif // ROWSTITCHES_H
