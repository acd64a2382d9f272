#ifndef PATTERNCHECK_H
#define PATTERNCHECK_H

#include <QList>
#include <QRect>
#include <QString>

class ChartGrid;
struct PatternValues;

// What a technical editor checks that can be computed from a pattern:
// stitch counts that carry from row to row, lace that balances, stitches
// on wrong-side rows that say how to work them there, repeat boxes that
// hold whole stitches, a key that describes every stitch, and charts that
// have titles and that the Directions page names. Each finding says how
// bad it is, what is wrong in words a designer uses, and where.
//
// The check reads plain values and the model only, so that it runs
// without a window (from the command line) and off the window's thread.
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
    };

    // The charts in their order, and the Directions page as plain text.
    // Errors come first, then warnings, then notes.
    static QList<Finding> check(const QList<Chart> &charts, const QString &directions);
    static QList<Finding> check(const PatternValues &pattern);

    static bool hasErrors(const QList<Finding> &findings);
    // "error", "warning", "note".
    static QString severityName(Severity severity);
    // The findings as JSON for scripts: an array of objects with
    // "severity", "place" ("chart", "key", "directions"), "chart",
    // "rows" and "stitches" (first and last, as the chart numbers them;
    // absent where there are no cells) and "message".
    static QByteArray json(const QList<Finding> &findings);
};

#endif // PATTERNCHECK_H
