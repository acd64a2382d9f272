#ifndef CHARTRENDERER_H
#define CHARTRENDERER_H

#include "chartlayout.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <QRectF>

class ChartGrid;
class QPainter;
class QSvgRenderer;
class Stitch;

// How a chart is drawn: the preferences that change its look, and what the
// drawing is for.
struct ChartStyle
{
    // No Stitch cells dark grey with their symbol, or plain white.
    bool grayNoStitch = true;
    // The shaded background of the number cells.
    bool headerBackground = true;
    bool headersTop = true;
    bool headersBottom = false;
    // Symbols drawn from their SVG artwork (print, PDF, SVG) rather than
    // from pictures cached at the cell size (the screen).
    bool vectorSymbols = false;
    // A heavier grid line after every this many stitches and rows, counted
    // by their numbers; 0 for none.
    int heavyLinesEvery = 0;
    // Rows marked as shaping get a bar beside their numbers (the screen
    // only: a printed chart says it in its text).
    bool markShapingRows = false;
    // The colour that marks selected cells.
    QColor selectionTint = QColor(48, 140, 198, 100);
    // Below this many device pixels per cell the chart is drawn simplified:
    // colours, grid lines once per row and column, borders, no symbols and
    // no unreadable numbers. 0 never simplifies (pictures and print).
    qreal simplifyBelow = 0;
};

// Paints a chart from its model into any painter: the chart view, a
// picture, an SVG file or a printed page. Coordinates are those of
// ChartLayout. Cells are drawn in reading order with No Stitch cells
// first, so that the borders of their neighbours lie on top of them; the
// numbers come last.
class ChartRenderer
{
public:
    ChartRenderer(const ChartGrid &grid, const ChartStyle &style);

    const ChartLayout &layout() const { return m_layout; }
    // Whether a painter with this transformation gets the simplified
    // picture.
    bool simplifies(const QPainter *painter) const;

    // Paints what lies in `area`; the cells of `selection` (grid units)
    // marked. A simplified drawing takes the cell colours from `colours`
    // (one pixel per cell, see colourImage) when given.
    void paint(QPainter *painter, const QRectF &area, const QRect &selection = QRect(),
               const QImage *colours = nullptr) const;
    // The stitches whose symbols the last paint drew.
    const QList<Stitch *> &paintedStitches() const { return m_painted; }

    // One pixel per cell in the colour the cell shows from afar.
    static QImage colourImage(const ChartGrid &grid, bool grayNoStitch);
    static void updateColourImage(QImage &image, const ChartGrid &grid, const QRect &cells, bool grayNoStitch);
    // Whether any row shows its number at the left of the chart.
    static bool anyNumberOnLeft(const ChartGrid &grid);

    static bool isNoStitch(const Stitch *stitch);
    static const QColor &noStitchGray();
    // The bar beside the numbers of rows marked as shaping.
    static const QColor &shapingMark();

private:
    void paintCells(QPainter *painter, const QRect &cells) const;
    void paintCell(QPainter *painter, int x, int y) const;
    QRect symbolArea(Stitch *stitch, int imgPos, const QRect &cell) const;
    void paintSymbol(QPainter *painter, Stitch *stitch, int imgPos, const QRect &cell, const QColor &fill) const;
    static QSvgRenderer *tintedArtwork(const QString &path, const QColor &fill);
    void paintBorders(QPainter *painter, int x, int y) const;
    void paintSimplified(QPainter *painter, const QRect &cells, const QImage *colours, qreal scale) const;
    void paintSelection(QPainter *painter, const QRect &selection, qreal scale) const;
    void paintRepeats(QPainter *painter, const QRect &cells) const;
    void paintHeavyLines(QPainter *painter, const QRect &cells, qreal scale) const;
    void paintHeaders(QPainter *painter, const QRectF &area, qreal scale) const;
    void paintHeader(QPainter *painter, const QRect &rect, int alignment, const QString &text) const;
    void paintHeaderStrip(QPainter *painter, const QRect &rect) const;

    const ChartGrid &m_grid;
    ChartStyle m_style;
    ChartLayout m_layout;
    mutable QList<Stitch *> m_painted;
};

#endif // CHARTRENDERER_H
