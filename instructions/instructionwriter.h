#ifndef INSTRUCTIONWRITER_H
#define INSTRUCTIONWRITER_H

#include <QList>
#include <QString>

struct ChartOptions;
class Stitch;

// Turns one chart row into a line of written instructions such as
// "yo, p3, k2", and gives rows their labels ("Row 1  (rs)", "Round 4").
class InstructionWriter
{
public:
    // `row` runs from the leftmost cell to the rightmost. A right-side row
    // is read from right to left with each stitch's own abbreviation; a
    // wrong-side row from left to right with the abbreviation of the stitch
    // worked from the other side. Null cells are skipped.
    static QString writeRow(const QList<Stitch *> &row, bool wrongSide, bool includeNoStitch);

    // `count` stitches named `text` as one item: "k3", "yo", "yo3" for
    // three "yo"; "(yo2) 3 times" where a count would read as part of
    // the name or spell another abbreviation.
    static QString runText(const QString &text, int count);

    // The label of the row numbered `rowNumber` counted from the bottom
    // (1, 3, 5, ... where only every second row is charted). The number
    // shown is shifted by the first row number; the side mark follows
    // `rowNumber` itself.
    static QString rowLabel(int rowNumber, const ChartOptions &options);
};

#endif // INSTRUCTIONWRITER_H
