#ifndef STITCHKEY_H
#define STITCHKEY_H

#include "colournames.h"

#include <QColor>
#include <QFontMetrics>
#include <QImage>
#include <QList>
#include <QRect>
#include <QStringList>

class QPainter;
class QPrinter;
class Stitch;

// The key of a pattern: every stitch in use with its symbol, name,
// abbreviation and description (and, if wished, what it means worked from
// the wrong side), then the yarn colours by name, in one or two framed
// columns. The same drawing serves the key picture, the Directions page,
// printing and PDF export.
class StitchKey
{
public:
    // With a valid `repeatColor` the key ends with the pattern repeat, a
    // box outlined in that colour. Each of `colours` (ColourNames::forKey)
    // comes after the stitches: a swatch and its name.
    StitchKey(const QList<Stitch *> &stitches, bool showWrongSide, bool grayNoStitch,
              const QColor &repeatColor = QColor(), const QList<ColourNames::Named> &colours = {});

    // Draws the key with its top-left corner at (0, 0) and returns what it
    // covers; draws nothing and returns a null rectangle without stitches.
    QRect paint(QPainter *painter) const;
    // The size paint() covers with the painter's font `metrics`.
    QSize size(const QFontMetrics &metrics) const;

    // The key as a picture, cut to what it covers; null without stitches.
    QImage image() const;
    // The key as a picture to print, at `resolution` pixels an inch.
    QImage image(int resolution) const;
    // The key as an SVG file: drawn once into a recording to learn what it
    // covers, then replayed into the file at exactly that size.
    bool writeSvg(const QString &fileName) const;
    // Writes the key as SVG or, by the suffix (".jpg" when none), a picture
    // at `resolution` pixels an inch (the screen's size in inches). JPEG is
    // written at its best quality, the other formats compressed.
    bool save(QString fileName, int resolution = 96) const;
    // The key on paper: laid out in screen pixels and drawn scaled, with
    // fonts sized in pixels so that text and layout scale together;
    // narrowed to the page if need be and continued on further pages.
    void print(QPainter *painter, QPrinter *printer) const;
    // The key drawn as large as fits `target`, from the top left, laid out
    // as its picture is: the key picture of the Directions page, printed.
    void paint(QPainter *painter, const QRectF &target) const;

    // The text under a stitch's symbol, as designers write a key: its
    // working on the right side ("RS: knit.") and, if wished, on a line of
    // its own the working of its opposite on the wrong side ("WS: purl.").
    QString description(const Stitch *stitch) const;

    // `text` broken into lines no wider than `width` pixels: at line
    // breaks, else at the last blank, else inside an over-long word.
    static QStringList textLines(const QString &text, int width, const QFontMetrics &metrics);

    static constexpr int columnWidth = 300;
    static constexpr int margin = 7;
    static constexpr int cellSide = 24;
    static constexpr int wrapWidth = 278;
    static constexpr int rule = 2;

private:
    // The font a key on paper is set in: the screen's, sized in pixels.
    static QFont printFont();
    QSize printedSize(const QFont &font) const;
    struct Entry
    {
        Stitch *stitch;
        QString id;
        QStringList lines;
        // The repeat box's colour; invalid for a stitch.
        QColor outline;
        // A yarn colour, named by `id`; invalid for a stitch.
        QColor swatch;
    };
    int entryCount() const
    {
        return int(m_ids.size()) + int(m_colours.size()) + (m_repeatColor.isValid() ? 1 : 0);
    }
    void paintRepeatEntry(QPainter *painter, const Entry &entry, int x0, int y, int lineHeight) const;
    static void paintColourEntry(QPainter *painter, const Entry &entry, int x0, int y);
    static void paintDescription(QPainter *painter, const Entry &entry, int x0, int y, int lineHeight);
    int columns() const;
    int perColumn() const;
    int entryHeight(const Entry &entry, int lineHeight) const;
    int headerBottom(int lineHeight) const { return lineHeight + 17; }
    QList<Entry> entries(const QFontMetrics &metrics) const;
    void paintEntry(QPainter *painter, const Entry &entry, int x0, int y, int lineHeight) const;

    QStringList m_ids;
    bool m_showWrongSide;
    bool m_grayNoStitch;
    QColor m_repeatColor;
    QList<ColourNames::Named> m_colours;
};

#endif // STITCHKEY_H
