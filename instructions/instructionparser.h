#ifndef INSTRUCTIONPARSER_H
#define INSTRUCTIONPARSER_H

#include <QHash>
#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

class Stitch;

// Reads a typed line of instructions ("k2, p2, 22rc, k1 tbl3") back into
// chart cells. Items are separated by commas; each is an abbreviation,
// optionally followed by blanks and a count of stitches. Abbreviations are
// matched as literal text, without regard to case, trying the keywords in
// their catalogue order; items that match none are dropped.
class InstructionParser
{
public:
    explicit InstructionParser(const QStringList &keyWords = QStringList());

    const QStringList &keyWords() const { return m_keyWords; }

    // The abbreviation of every cell the line describes, in reading order
    // and lower case. Counts are in stitches, so a 4-cell cable counted 2
    // gives eight cells. At most `maxCells` cells are returned: the rest
    // would not fit the row anyway.
    QStringList cells(const QString &line, int maxCells) const;

    // The chart row, leftmost cell first, exactly `width` cells wide. A
    // right-side line runs from the right edge, a wrong-side line from the
    // left edge with each stitch replaced by the one worked from the other
    // side. Missing cells are No Stitch; surplus ones are dropped.
    static QList<Stitch *> row(const QStringList &cells, int width, bool wrongSide);

private:
    struct Item
    {
        QString abbreviation;
        int count = 1;
    };
    bool recognise(const QString &item, Item *result) const;

    QStringList m_keyWords;
    // Lower-cased keyword → its first place in the keyword list.
    QHash<QString, int> m_keyWordOrder;
    int m_longestKeyWord = 0;
    QRegularExpression m_itemPattern;
};

#endif // INSTRUCTIONPARSER_H
