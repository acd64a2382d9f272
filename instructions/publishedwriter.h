#ifndef PUBLISHEDWRITER_H
#define PUBLISHEDWRITER_H

#include <QString>

class ChartGrid;

// A chart's written instructions as patterns are published:
//
//   Cast on a multiple of 4 sts plus 2 (22 sts in the chart).
//   Row 1 (RS): K2, *p2, k2; rep from * to end.
//   Row 2 (WS): *P2, k2; rep from * to last 2 sts, p2.
//   Rep Rows 1–2.
//
// The chart's WrittenOptions choose the form of repeats and which rows end
// with a stitch count. A row repeats across what a repeat box covering it
// marks, together with every copy of the box's cells beside it; without a
// box, and where the option is set, the longest repeat the row holds.
// A box repeats upwards as well: the rows copied above it are not written
// again but counted ("Rep Rows 1–2 three more times"), and a box reaching
// the top row ends with "Rep Rows 1–8." Short runs within a row are
// grouped ("(k1, p1) 3 times"); a row of knit or purl alone reads "Knit."
// or "Purl."; where every wrong-side row is the same such row of the same
// width, they are written once ("Row 2 and all WS rows: Purl.").
//
// Every line reads back, through InstructionParser, to the stitches of
// its row.
class PublishedWriter
{
public:
    static QString text(const QString &title, const ChartGrid &grid);
    static QString castOnLine(const ChartGrid &grid);
    // Grid row `row` (0 = the top row) without its label: "K2, *p2, k2;
    // rep from * to end." and its stitch count where the options ask for
    // one. "" off the chart.
    static QString rowText(const ChartGrid &grid, int row);
};

#endif // PUBLISHEDWRITER_H
