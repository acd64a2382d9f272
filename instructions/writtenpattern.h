#ifndef WRITTENPATTERN_H
#define WRITTENPATTERN_H

#include "chartoptions.h"

#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>

#include <memory>

class ChartGrid;
class InstructionParser;

// A written pattern, as designers write and print them, read into the rows
// of one chart:
//
//   Arrow Lace
//   Cast on a multiple of 8 sts plus 1.
//   Row 1 (RS): K1, *yo, ssk, k3, k2tog, yo, k1; rep from * to end.
//   Row 2 and all WS rows: Purl.
//   Rows 3 and 5: ...
//   Rep Rows 1–8 twice more.
//
// The first line that is neither a row nor the cast-on is the title. A
// row written out in full takes the cells it names; a row that repeats
// to the end ("k to end", "Purl.") works the stitches on the needle:
// those cast on (one repeat of a multiple with its edge stitches), then
// those the row below left. The chart is as wide as its widest row. Flat rows alternate sides from row 1 (a right-side row
// unless its label says "(WS)"); rounds ("Rnd 1:") are all right-side
// rows. Every line that is not read is kept, with the reason, so that
// nothing is lost.
class WrittenPattern
{
public:
    static WrittenPattern read(const QString &text, const InstructionParser &parser);

    QString title;
    int width = 0;
    KnitStyle knitStyle = KnitStyle::Flat;
    Side side = Side::RightSide;
    // Each row's line, bottom row first; empty for a row no line gives.
    QStringList rowLines;
    // Lines that are not rows, nor the title or the cast-on.
    QStringList notes;
    // Why lines could not be read or rows are missing, one sentence each:
    // "Line 4: Row 3: 'k2tgo' is not a stitch".
    QStringList problems;

    bool hasRows() const { return !rowLines.isEmpty(); }
    // The chart: each row read from its line on its own side; a row whose
    // line is missing or not understood is No Stitch throughout.
    std::unique_ptr<ChartGrid> chart(const InstructionParser &parser) const;

private:
    bool readCastOn(const QString &line);
    bool readRepeat(const QString &line);
    bool readRows(const QString &line, int lineNumber);
    void layRows();
    void fitRows(const InstructionParser &parser);
    static int fillWidth(const InstructionParser &parser, const QString &line, int shortest, int stitches);
    void checkRows(const InstructionParser &parser);
    bool isWrongSide(int rowNumber) const;

    int m_castOn = 0;
    int m_multiple = 0;
    int m_plus = 0;
    // Row number → its line and the line's number in the text.
    QMap<int, QPair<QString, int>> m_given;
    // The line every wrong-side row not given otherwise reads, and its
    // line number ("Row 2 and all WS rows: Purl.").
    QPair<QString, int> m_wrongSideRows;
    struct Repeat
    {
        int first = 0;
        int last = 0;
        int times = 0;
    };
    QList<Repeat> m_repeats;
    // Each row's line number in the text, bottom row first; 0 for none.
    QList<int> m_lineNumbers;
    // The cells each row takes, bottom row first.
    QList<int> m_rowWidths;
};

#endif // WRITTENPATTERN_H
