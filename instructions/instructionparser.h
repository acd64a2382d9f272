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
// chart cells, in the forms written patterns use. Items are separated by
// commas or blanks; each is an abbreviation, optionally followed by a
// count of stitches ("k3", "k 3"). Abbreviations are matched as literal
// text, without regard to case, trying the keywords in their catalogue
// order. An abbreviation may hold blanks ("k1 tbl"): the longest run of
// words separated by single blanks that reads as one item is that item.
// A word is letters, digits, underscores and the other characters some
// abbreviation uses ("m1+", "c2(f)"); other characters separate words.
// A word that starts no item is not a stitch: the reading lists it, and
// its cells are missing.
//
// A group repeats the items between brackets: "(k1, p1) 3 times", "[k2tog,
// yo] 2 times" or "[k1, p1] x3" reads as the items written out that many
// times ("once" and "twice" too). A star repeat, "k2, *p2, k2; rep from *
// to last 2 sts, p2", repeats its items as often as the row has room for,
// as does one stitch in "p to last 2 sts" or "k to end".
// The line may be published: a label ("Row 1 (RS):"), a capital, a full
// stop and a stitch count ("5 sts") are not items, and "Knit." or "Purl."
// ("Knit 1 row") alone is the whole row of it.
class InstructionParser
{
public:
    explicit InstructionParser(const QStringList &keyWords = QStringList());

    const QStringList &keyWords() const { return m_keyWords; }

    // Where in the line something stands.
    struct Span
    {
        int start = 0;
        int length = 0;
    };
    // A line as read: the abbreviation of every cell it describes, in
    // reading order and lower case, and where it names stitches and where
    // it has words that are not stitches.
    struct Reading
    {
        QStringList cells;
        QList<Span> stitches;
        QList<Span> unknown;
    };
    // Repeats to the end fill a row `width` cells wide. Counts are in
    // stitches, so a 4-cell cable counted 2 gives eight cells. At most
    // `maxCells` cells are kept, so that no count makes a line expensive;
    // the whole line is read for its words all the same.
    Reading read(const QString &line, int width, int maxCells) const;
    // The cells of a line for a row `maxCells` wide; what would not fit the
    // row is left out.
    QStringList cells(const QString &line, int maxCells) const { return read(line, maxCells, maxCells).cells; }
    // Each recognised abbreviation as it stands in the line, in line order.
    QList<Span> abbreviations(const QString &line) const { return read(line, 0, 0).stitches; }

    // The chart row, leftmost cell first, exactly `width` cells wide. A
    // right-side line runs from the right edge, a wrong-side line from the
    // left edge with each stitch replaced by the one worked from the other
    // side. Missing cells are No Stitch; surplus ones are dropped.
    static QList<Stitch *> row(const QStringList &cells, int width, bool wrongSide);

private:
    struct Item
    {
        // The keyword's place in the list and its length in the item.
        int keyWord = -1;
        int length = 0;
        int count = 1;
    };
    // A piece of the line being read: its text and where it starts.
    struct Piece
    {
        QString text;
        int offset = 0;
        Piece mid(int from, int length = -1) const { return Piece{text.mid(from, length), offset + from}; }
    };
    bool recognise(QStringView item, Item *result) const;
    // Which keyword, ignoring case, `text` is; -1 for none.
    int keyWordOf(QStringView text) const;
    static size_t foldedHash(QStringView text);
    bool isWordCharacter(char32_t c) const;
    // The words of `text`: where each starts and ends.
    QList<QPair<int, int>> wordsOf(const QString &text) const;
    Piece bodyOf(const QString &line) const;
    bool readWholeRow(const Piece &body, int width, int maxCells, Reading &reading) const;
    bool readStarRepeat(const Piece &body, int width, int maxCells, Reading &reading) const;
    bool readStitchToEnd(const Piece &body, int width, int maxCells, Reading &reading) const;
    // The cells of `before`, then those of `repeated` as often as they fit
    // a row `width` wide, then those of `after`.
    void readFilled(const Piece &before, const Piece &repeated, const Piece &after, int width, int maxCells,
                    Reading &reading) const;
    // Groups and items; cells go to `cells`, at most `maxCells` of them.
    void readGroups(const Piece &piece, int maxCells, int depth, QStringList &cells, Reading &reading) const;
    void readItems(const Piece &piece, int maxCells, QStringList &cells, Reading &reading) const;
    static std::vector<int> closingBrackets(const QString &line);

    QStringList m_keyWords;
    QStringList m_lowerKeyWords;
    // The hash of a lower-cased keyword → the places in the list of the
    // keywords with that hash, the first place of each keyword only.
    QHash<size_t, QList<int>> m_keyWordsByHash;
    int m_longestKeyWord = 0;
    // The most words an item can have: those of the longest keyword and
    // its count.
    int m_mostWords = 2;
    QSet<char32_t> m_extraWordCharacters;
};

#endif // INSTRUCTIONPARSER_H
