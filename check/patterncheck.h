#ifndef PATTERNCHECK_H
#define PATTERNCHECK_H

#include "patternfile.h"

#include <QHash>
#include <QList>
#include <QRect>
#include <QString>

#include <memory>

class ChartGrid;
class Stitch;

// What a technical editor checks that can be computed from a pattern:
// stitch counts that carry from row to row, lace that balances (unless the
// row is marked as shaping), stitches on wrong-side rows that say how to
// work them there, repeat boxes that hold whole stitches, colourwork
// floats no longer than the knitter can leave uncaught, a key that
// describes every stitch, and charts that have titles and that the
// Directions page names. Each finding says how bad it is, what is wrong
// in words a designer uses, and where.
//
// The check reads plain values and the model only, never the stitch
// catalogue: what the key says of each stitch comes in with the charts.
// So it runs without a window (from the command line) and off the
// window's thread, on copies the window made. It still reads the stitches
// the cells point at (their names and arithmetic), so whatever changes a
// stitch waits for a check that runs.
class PatternCheck
{
public:
    enum class Severity { Error, Warning, Note };
    // Where a finding is: a chart's cells, the key or the Directions page.
    enum class Place { Chart, Key, Directions };

    struct Finding
    {
        Severity severity = Severity::Warning;
        Place place = Place::Chart;
        // The chart it is about; "" for the key and the Directions page.
        QString chart;
        // Its place among the charts checked; -1 for none.
        int chartIndex = -1;
        // The cells concerned, in grid coordinates (x from the left, y from
        // the top); empty where the finding is about the chart as a whole.
        QRect cells;
        // The same as the chart numbers them: rows from the bottom,
        // stitches from the right; 0 where there are no cells.
        int firstRow = 0;
        int lastRow = 0;
        int firstStitch = 0;
        int lastStitch = 0;
        // The whole finding in words, naming the chart: "Lace Edging: row
        // 5: 11 stitches made, row 6 works 12".
        QString message;
    };

    struct Chart
    {
        QString title;
        const ChartGrid *grid = nullptr;
        // A copy of a grid the check owns, for a check that runs on its
        // own thread; `grid` points at it.
        std::shared_ptr<const ChartGrid> kept;
    };

    // Whether the key says how to work a stitch from each side.
    struct KeyEntry
    {
        bool rightSide = false;
        bool wrongSide = false;
        // No Stitch: no stitch at all, asked once rather than for each cell.
        bool noStitch = false;
    };

    // Everything one check reads.
    struct Input
    {
        // The charts in their order.
        QList<Chart> charts;
        // The Directions page as plain text.
        QString directions;
        Gauge gauge;
        // The longest float a knitter leaves uncaught, in centimetres.
        double floatLimit = 2.5;
        // Every stitch the charts use; keyFor() fills it.
        QHash<const Stitch *, KeyEntry> key;
    };

    // What the catalogue says of every stitch `charts` use; read on the
    // catalogue's thread.
    static QHash<const Stitch *, KeyEntry> keyFor(const QList<Chart> &charts);
    static QHash<const Stitch *, KeyEntry> keyFor(const QList<const Stitch *> &stitches);
    // A copy of `grid` for a check on another thread.
    static Chart copyOf(const QString &title, const ChartGrid &grid);

    // Errors come first, then warnings, then notes.
    static QList<Finding> check(const Input &input);
    // The charts read with the key from the catalogue, no gauge.
    static QList<Finding> check(const QList<Chart> &charts, const QString &directions);
    static QList<Finding> check(const PatternValues &pattern, double floatLimit);
    // The findings whose message is not among `dismissed`.
    static QList<Finding> withoutDismissed(const QList<Finding> &findings, const QStringList &dismissed);

    static bool hasErrors(const QList<Finding> &findings);
    // "error", "warning", "note".
    static QString severityName(Severity severity);
    // The findings as JSON for scripts: an array of objects with
    // "severity", "place" ("chart", "key", "directions"), "chart",
    // "rows" and "stitches" (first and last, as the chart numbers them;
    // absent where there are no cells), "message", and "dismissed": true
    // for those among `dismissed`.
    static QByteArray json(const QList<Finding> &findings, const QStringList &dismissed = {});
};

#endif // PATTERNCHECK_H
