#ifndef INSTRUCTIONPARSER_H
#define INSTRUCTIONPARSER_H

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <vector>

class Stitch;

// Reads a typed line of instructions ("k2, p2, 22rc, k1 tbl3") back into
// chart cells. Items are separated by commas; each is an abbreviation,
// optionally followed by blanks and a count of stitches. Abbreviations are
// matched as literal text, without regard to case, trying the keywords in
// their catalogue order; items that match none are dropped.
//
// An item is one or more words separated by single blanks, ending where a
// comma or the line does: in "k3 , p3" only "p3" is an item, and in
// "k2  tog" only "tog". A word is letters, digits, underscores and the
// other characters some abbreviation uses ("m1+", "c2(f)"); the comma
// always separates items.
//
// A group repeats the items between brackets: "(k1, p1) 3 times" or
// "[k2tog, yo] 2 times" reads as the items written out that many times
// ("once" and "twice" too). A star repeat, "k2, *p2, k2; rep from * to
// last 2 sts, p2", repeats its items as often as the row has room for, as
// does one stitch in "p to last 2 sts".
// The line may be published: a label ("Row 1 (RS):"), a capital, a full
// stop and a stitch count ("5 sts") are not items, and "Knit." or "Purl."
// alone is the whole row of it.
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

    // Where the line names stitches it reads: each recognised abbreviation
    // as it stands in the line, in line order.
    struct Span
    {
        int start = 0;
        int length = 0;
    };
    QList<Span> abbreviations(const QString &line) const;

private:
    struct Item
    {
        // The keyword's place in the list and its length in the item.
        int keyWord = -1;
        int length = 0;
        int count = 1;
    };
    bool recognise(QStringView item, Item *result) const;
    // Which keyword, ignoring case, `text` is; -1 for none.
    int keyWordOf(QStringView text) const;
    static size_t foldedHash(QStringView text);
    bool isWordCharacter(char32_t c) const;
    // The length in UTF-16 units of the word character that ends just
    // before `at` and after `floor`: 2 for a surrogate pair, 0 for none.
    int wordCharacterBefore(const QString &line, int at, int floor) const;
    QString bodyOf(const QString &line) const;
    bool appendWholeRow(const QString &body, int maxCells, QStringList &result) const;
    bool appendStarRepeat(const QString &body, int maxCells, QStringList &result) const;
    bool appendStitchToEnd(const QString &body, int maxCells, QStringList &result) const;
    // The cells of `before`, then those of `repeated` as often as they
    // fit, then those of `after`.
    void appendFilled(const QString &before, const QString &repeated, const QString &after, int maxCells,
                      QStringList &result) const;
    void appendCells(const QString &line, int maxCells, int depth, QStringList &result) const;
    void appendItemCells(const QString &line, int maxCells, QStringList &result) const;
    static std::vector<int> closingBrackets(const QString &line);
    // Calls `found(start, length)` for every item of the line, in order.
    template<typename Found>
    void forEachItem(const QString &line, Found found) const;

    QStringList m_keyWords;
    QStringList m_lowerKeyWords;
    // The hash of a lower-cased keyword → the places in the list of the
    // keywords with that hash, the first place of each keyword only.
    QHash<size_t, QList<int>> m_keyWordsByHash;
    int m_longestKeyWord = 0;
    QSet<char32_t> m_extraWordCharacters;
};

#endif // INSTRUCTIONPARSER_H
