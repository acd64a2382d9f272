#ifndef CHARTPICTURE_H
#define CHARTPICTURE_H

#include "chartrenderer.h"

#include <QRectF>
#include <QSize>
#include <QString>

class ChartGrid;
class QPainter;

// A chart as a picture: a picture or SVG file, a picture on the Directions
// page, a printed page. Drawn from the model alone, so the command line
// makes the same pictures as the window without one.
class ChartPicture
{
public:
    // The sides a chart's picture on the Directions page may have, in
    // inches.
    static constexpr double leastInches = 0.1;
    static constexpr double mostInches = 100.0;
    // What an exported picture may take: its sides in pixels, its
    // resolution in dots an inch.
    static constexpr int smallestSide = 10;
    static constexpr int largestSide = 10000;
    static constexpr int lowestDpi = 50;
    static constexpr int highestDpi = 3000;

    // A picture `width` pixels wide in the proportions of `source`, its
    // height rounded up so that no cell is cut; both sides shrink together
    // to stay within largestSide.
    static QSize fittedSize(const QSizeF &source, int width);

    // How the preferences say `grid` looks: the numbers' background, the
    // numbers above and below (below as the chart chooses, if it did), the
    // No Stitch grey.
    static ChartStyle preferredStyle(const ChartGrid &grid);

    // The part of the chart a picture shows: the numbers at the left only
    // when some row starts there, those above and below only when shown.
    static QRectF sourceRect(const ChartGrid &grid, const ChartStyle &style);

    // Paints the part `source` of the chart into `target` of the painter
    // (the whole device when null), as large as fits without changing its
    // shape, from the top left.
    static void paint(QPainter *painter, const ChartGrid &grid, ChartStyle style, QRectF target,
                      const QRectF &source);

    // The whole chart scaled to `target` (the whole device when null),
    // symbols drawn from their artwork: for print and the pictures of the
    // Directions page.
    static void print(QPainter *painter, const ChartGrid &grid, ChartStyle style, const QRectF &target = QRectF());

    // A part of the chart, `cells` (grid units), framed by the numbers of
    // its own rows and stitches: its size in chart units, and the part
    // drawn from `topLeft` at `scale` device pixels a unit.
    static QSizeF partSize(const ChartGrid &grid, const ChartStyle &style, const QRect &cells);
    static void paintPart(QPainter *painter, const ChartGrid &grid, ChartStyle style, const QRect &cells,
                          const QPointF &topLeft, qreal scale);

    // A part of a chart as a picture keeps it: counted from the chart's
    // first stitch (at the right) and first row (at the bottom), as the
    // stitches before it, the rows below it, and its width and height, so
    // that rows and stitches added or taken away at the top and the left
    // leave it on the same rows. Null for the whole chart.
    static QRect keptPart(const ChartGrid &grid, const QRect &cells);
    // The cells (grid units) of a kept part that the chart has; null when
    // that is the whole chart or nothing.
    static QRect cellsOfPart(const ChartGrid &grid, const QRect &part);

    // The picture of `cells` of the chart (all of it when null or when the
    // chart no longer has them) as large as fits `target`, for print.
    static void printPart(QPainter *painter, const ChartGrid &grid, const ChartStyle &style, const QRect &cells,
                          const QRectF &target);

    // Writes the picture `size` pixels large, of `cells` of the chart (all
    // of it when null); the suffix of the name chooses SVG or a picture
    // format. JPEG is written at its best quality, the other formats
    // compressed.
    static bool write(const QString &fileName, const ChartGrid &grid, const ChartStyle &style, const QSize &size,
                      int resolution, const QString &title, const QRect &cells = QRect());
};

#endif // CHARTPICTURE_H
