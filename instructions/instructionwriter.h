#ifndef INSTRUCTIONWRITER_H
#define INSTRUCTIONWRITER_H

#include <QList>
#include <QString>

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

    // The label of the row counted `rowNumber` from the bottom. The number
    // shown is shifted by `rowNumberOffset`; the side mark follows
    // `rowNumber` itself.
    static QString rowLabel(int rowNumber, int knitStyle, const QString &sideSelection, int rowNumberOffset,
                            bool skipRows);
};

#endif // INSTRUCTIONWRITER_H
