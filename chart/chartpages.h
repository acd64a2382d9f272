#ifndef CHARTPAGES_H
#define CHARTPAGES_H

#include "chartrenderer.h"

#include <QList>
#include <QRect>
#include <QSizeF>
#include <QString>

class ChartGrid;
class QPagedPaintDevice;
class QPainter;

// A chart printed on paper. One that fits a page with cells a knitter
// reads at a glance fills the page; a larger one is split over as many
// pages as it needs, each framed by the numbers of its own rows and
// stitches and headed by the rows and stitches it holds. Pages run from
// row 1 up and, within a band of rows, from stitch 1 on; neighbouring
// pages repeat `overlap` rows and stitches, so the knitter finds her place.
class ChartPages
{
public:
    // The smallest cell side on paper before a chart is split, in inches
    // (4 mm, as printed patterns have them).
    static constexpr qreal smallestCell = 0.16;
    // A chart that would take more pages than this prints on one.
    static constexpr int mostPages = 500;

    // `page` is the printable area in device pixels at `dpi`.
    ChartPages(const ChartGrid &grid, const ChartStyle &style, const QSizeF &page, qreal dpi, int overlap);

    int count() const { return int(m_parts.size()); }
    bool isSplit() const { return m_split; }
    // Device pixels a unit of the chart's drawing takes on a split page.
    qreal scale() const { return m_scale; }
    // The heading's height above a split chart.
    qreal captionHeight() const;
    // The cells page `index` holds (grid units).
    QRect cells(int index) const { return m_parts.at(index); }
    // What page `index` holds, as its heading says it: "Yoke, rows 41–81,
    // stitches 1–32 (page 2 of 3)".
    QString caption(int index, const QString &title) const;
    void paint(QPainter *painter, int index, const QString &title) const;

    // Prints the chart on the device's pages from its current one; returns
    // the pages printed.
    static int print(QPainter *painter, QPagedPaintDevice *device, const ChartGrid &grid, const ChartStyle &style,
                     const QString &title, int overlap);

private:
    // Bands (first slot, slots) of at most `size` slots that cover
    // `count`, each repeating `overlap` of the band before.
    static QList<QPair<int, int>> bands(int count, int size, int overlap);

    const ChartGrid &m_grid;
    ChartStyle m_style;
    QSizeF m_page;
    qreal m_dpi;
    qreal m_scale = 1;
    bool m_split = false;
    QList<QRect> m_parts;
};

#endif // CHARTPAGES_H
