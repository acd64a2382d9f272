#include "instructionparser.h"

#include "stitch.h"
#include "stitchset.h"

#include <QRegularExpression>
#include <QSet>

#include <limits>
#include <vector>

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Calls `each(c)` for every character of `text`, surrogate pairs joined.
template<typename Each>
void forEachCodePoint(QStringView text, Each each)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            each(QChar::surrogateToUcs4(c, text.at(i + 1)));
            ++i;
        } else {
            each(char32_t(c.unicode()));
        }
    }
}

} // namespace

InstructionParser::InstructionParser(const QStringList &keyWords)
    : m_keyWords(keyWords)
{
    for (int i = 0; i < keyWords.size(); ++i) {
        const QString word = keyWords.at(i).toLower();
        m_lowerKeyWords.append(word);
        if (!word.isEmpty() && keyWordOf(word) < 0)
            m_keyWordsByHash[foldedHash(word)].append(i);
        m_longestKeyWord = qMax(m_longestKeyWord, int(word.size()));
        m_mostWords = qMax(m_mostWords, int(word.count(QLatin1Char(' '))) + 2);
        // Characters other than letters, digits and blanks that some
        // abbreviation uses ("m1+", "c2(f)") count as part of a word, so
        // that such abbreviations can be typed.
        forEachCodePoint(word, [this](char32_t c) {
            if (!isWordCharacter(c) && !QChar::isSpace(c) && c != U',')
                m_extraWordCharacters.insert(c);
        });
    }
}

// Letters, digits and the marks that combine with them, whichever plane
// they come from.
bool InstructionParser::isWordCharacter(char32_t c) const
{
    return QChar::isLetterOrNumber(c) || QChar::isMark(c) || c == U'_' || m_extraWordCharacters.contains(c);
}

QList<QPair<int, int>> InstructionParser::wordsOf(const QString &text) const
{
    QList<QPair<int, int>> words;
    int start = -1;
    int at = 0;
    forEachCodePoint(text, [&](char32_t c) {
        const int width = QChar::requiresSurrogates(c) ? 2 : 1;
        if (isWordCharacter(c)) {
            if (start < 0)
                start = at;
        } else if (start >= 0) {
            words.append({start, at});
            start = -1;
        }
        at += width;
    });
    if (start >= 0)
        words.append({start, at});
    return words;
}

InstructionParser::Reading InstructionParser::read(const QString &line, int width, int maxCells) const
{
    Reading reading;
    const Piece body = bodyOf(line);
    if (!readWholeRow(body, width, maxCells, reading) && !readStarRepeat(body, width, maxCells, reading)
        && !readStitchToEnd(body, width, maxCells, reading))
        readGroups(body, maxCells, 0, reading.cells, reading);
    return reading;
}

// A published line carries a label, a full stop and a stitch count
// around its stitches: "Row 1 (RS): K1, yo, k1. 3 sts".
InstructionParser::Piece InstructionParser::bodyOf(const QString &line) const
{
    static const QRegularExpression label(QStringLiteral("^\\s*(?:rows?|rnds?|rounds?)\\s+\\d+[^:]{0,60}:"),
                                          QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression count(
        QStringLiteral("(?:\\.\\s*\\d{1,9}\\s+sts?|\\(\\s*\\d{1,9}\\s+sts?\\s*\\))\\s*\\.?\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    int start = 0;
    int end = int(line.size());
    const QRegularExpressionMatch labelled = label.match(line);
    if (labelled.hasMatch())
        start = int(labelled.capturedEnd());
    const QRegularExpressionMatch counted = count.match(line, start);
    if (counted.hasMatch())
        end = int(counted.capturedStart());
    while (start < end && line.at(start).isSpace())
        ++start;
    while (end > start && line.at(end - 1).isSpace())
        --end;
    // The full stop, unless it ends an abbreviation.
    if (end > start && line.at(end - 1) == QLatin1Char('.')) {
        const int lastComma = int(line.lastIndexOf(QLatin1Char(','), end - 1));
        const QStringView lastItem = QStringView(line).mid(qMax(start, lastComma + 1), end).trimmed();
        Item last;
        if (!(recognise(lastItem, &last) && last.length == lastItem.size()))
            --end;
    }
    return Piece{line.mid(start, end - start), start};
}

// "Knit." or "Purl." alone ("Knit 1 row", "Purl across") is the whole row
// of it, unless some stitch has that abbreviation.
bool InstructionParser::readWholeRow(const Piece &body, int width, int maxCells, Reading &reading) const
{
    static const QRegularExpression whole(QStringLiteral("^(knit|purl)(?:\\s+(?:1\\s+row|one\\s+row|across))?$"),
                                          QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = whole.match(body.text);
    if (!match.hasMatch() || keyWordOf(body.text) >= 0)
        return false;
    const QString stitch = match.captured(1).at(0).toLower() == QLatin1Char('k') ? QStringLiteral("k")
                                                                                : QStringLiteral("p");
    for (int i = 0; i < qMin(width, maxCells); ++i)
        reading.cells.append(stitch);
    return true;
}

// "k2, *p2, k2; rep from * to last 2 sts, p2": the stitches between the
// star and the semicolon repeat as often as the row leaves room for
// between the stitches before and after them.
bool InstructionParser::readStarRepeat(const Piece &body, int width, int maxCells, Reading &reading) const
{
    static const QRegularExpression rep(
        QStringLiteral("\\s*rep(?:eat)?\\s+from\\s+\\*\\s+to\\s+(?:end|last(?:\\s+\\d{1,9})?\\s+sts?)\\s*(?:,(.*))?$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const int star = int(body.text.indexOf(QLatin1Char('*')));
    const int semicolon = star < 0 ? -1 : int(body.text.indexOf(QLatin1Char(';'), star));
    if (semicolon < 0)
        return false;
    const QRegularExpressionMatch end = rep.match(body.text, semicolon + 1, QRegularExpression::NormalMatch,
                                                  QRegularExpression::AnchorAtOffsetMatchOption);
    if (!end.hasMatch())
        return false;
    const int afterStart = end.hasCaptured(1) ? int(end.capturedStart(1)) : int(body.text.size());
    readFilled(body.mid(0, star), body.mid(star + 1, semicolon - star - 1), body.mid(afterStart), width, maxCells,
               reading);
    return true;
}

// "k2, p to last 2 sts, k2": one stitch worked as often as there is room.
bool InstructionParser::readStitchToEnd(const Piece &body, int width, int maxCells, Reading &reading) const
{
    static const QRegularExpression toEnd(
        QStringLiteral("(?:^|,)\\s*([^,*;]+?)\\s+to\\s+(?:end|last(?:\\s+\\d{1,9})?\\s+sts?)\\s*(?:,|$)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = toEnd.match(body.text);
    if (!match.hasMatch())
        return false;
    const int repeatedStart = int(match.capturedStart(1));
    readFilled(body.mid(0, repeatedStart), body.mid(repeatedStart, int(match.capturedLength(1))),
               body.mid(int(match.capturedEnd(0))), width, maxCells, reading);
    return true;
}

void InstructionParser::readFilled(const Piece &before, const Piece &repeated, const Piece &after, int width,
                                   int maxCells, Reading &reading) const
{
    // Each part is read whole for its words; a row holds no more than
    // `maxCells` of anyone's cells.
    const int cap = qMax(maxCells, width);
    QStringList beforeCells, repeatedCells, afterCells;
    readGroups(before, cap, 0, beforeCells, reading);
    readGroups(repeated, cap, 0, repeatedCells, reading);
    readGroups(after, cap, 0, afterCells, reading);
    const int room = qMax(0, width - int(beforeCells.size() + afterCells.size()));
    QStringList &cells = reading.cells;
    cells = beforeCells;
    for (int copies = repeatedCells.isEmpty() ? 0 : room / int(repeatedCells.size()); copies > 0; --copies)
        cells += repeatedCells;
    cells += afterCells;
    cells = cells.mid(0, maxCells);
}

// The items of a piece without groups, word by word: at each word, the
// longest run of words that reads as an item.
void InstructionParser::readItems(const Piece &piece, int maxCells, QStringList &cells, Reading &reading) const
{
    const QString &text = piece.text;
    const QList<QPair<int, int>> words = wordsOf(text);
    const auto singleBlanks = [&](int first, int last) {
        for (int i = first; i < last; ++i) {
            if (words.at(i + 1).first - words.at(i).second != 1 || text.at(words.at(i).second) != QLatin1Char(' '))
                return false;
        }
        return true;
    };
    int i = 0;
    while (i < words.size()) {
        Item item;
        int matched = -1;
        for (int last = qMin(int(words.size()) - 1, i + m_mostWords - 1); last >= i && matched < 0; --last) {
            const int start = words.at(i).first;
            if (singleBlanks(i, last) && recognise(QStringView(text).mid(start, words.at(last).second - start), &item))
                matched = last;
        }
        const int start = words.at(i).first;
        if (matched < 0) {
            reading.unknown.append(Span{piece.offset + start, words.at(i).second - start});
            ++i;
            continue;
        }
        reading.stitches.append(Span{piece.offset + start, item.length});
        i = matched + 1;
        const QString &abbreviation = m_lowerKeyWords.at(item.keyWord);
        bool found = false;
        Stitch *stitch = StitchSet::instance()->findStitch(abbreviation, &found);
        // The count is in stitches; a multi-cell stitch fills several cells.
        qint64 cellCount = item.count;
        if (found && stitch)
            cellCount *= qMax(1, stitch->cellsPerStitch());
        cellCount = qBound<qint64>(0, cellCount, maxCells - cells.size());
        for (qint64 c = 0; c < cellCount; ++c)
            cells.append(abbreviation);
    }
}

// A group is an item that opens with "(" or "[" and whose closing bracket
// is followed by a count: "(k1, p1) 3 times", "[yo2] 2 times", "[k1, p1]
// x3". Its cells are read once and repeated, never beyond `maxCells`, so
// that no count makes a line expensive. Brackets that open no such group
// are read as the characters they are, as in "c2(f)".
void InstructionParser::readGroups(const Piece &piece, int maxCells, int depth, QStringList &cells,
                                   Reading &reading) const
{
    static const QRegularExpression opener(QStringLiteral("(?:^|,)\\s*([\\(\\[])"));
    static const QRegularExpression times(
        QStringLiteral("\\s*(?:(\\d{1,9})\\s*times|x\\s*(\\d{1,9})|(once)|(twice))\\b"),
        QRegularExpression::CaseInsensitiveOption);
    // Deeper nesting than any pattern writes is read as plain text.
    constexpr int deepest = 8;
    const QString &line = piece.text;
    const std::vector<int> closes = closingBrackets(line);
    int plainStart = 0;
    int searchFrom = 0;
    while (depth < deepest) {
        const QRegularExpressionMatch open = opener.match(line, searchFrom);
        if (!open.hasMatch())
            break;
        const int openAt = int(open.capturedStart(1));
        const int closeAt = closes[size_t(openAt)];
        const QRegularExpressionMatch count = closeAt < 0
            ? QRegularExpressionMatch()
            : times.match(line, closeAt + 1, QRegularExpression::NormalMatch,
                          QRegularExpression::AnchorAtOffsetMatchOption);
        if (!count.hasMatch()) {
            searchFrom = openAt + 1;
            continue;
        }
        readItems(piece.mid(plainStart, openAt - plainStart), maxCells, cells, reading);
        QStringList inner;
        readGroups(piece.mid(openAt + 1, closeAt - openAt - 1), maxCells - int(cells.size()), depth + 1, inner,
                   reading);
        const int repeats = count.hasCaptured(1) ? count.captured(1).toInt()
            : count.hasCaptured(2)               ? count.captured(2).toInt()
            : count.hasCaptured(3)               ? 1
                                                 : 2;
        for (int i = 0; i < repeats && !inner.isEmpty() && cells.size() < maxCells; ++i)
            cells += inner.mid(0, maxCells - cells.size());
        plainStart = searchFrom = int(count.capturedEnd(0));
    }
    readItems(piece.mid(plainStart), maxCells, cells, reading);
}

// For every opening bracket of the line, where it closes (counting
// brackets of its kind in between), in one pass; -1 where it never does.
std::vector<int> InstructionParser::closingBrackets(const QString &line)
{
    std::vector<int> closes(size_t(line.size()), -1);
    std::vector<int> round, square;
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        std::vector<int> *open = c == QLatin1Char('(') || c == QLatin1Char(')') ? &round
            : c == QLatin1Char('[') || c == QLatin1Char(']')                    ? &square
                                                                                : nullptr;
        if (!open)
            continue;
        if (c == QLatin1Char('(') || c == QLatin1Char('[')) {
            open->push_back(i);
        } else if (!open->empty()) {
            closes[size_t(open->back())] = i;
            open->pop_back();
        }
    }
    return closes;
}

// Keywords are looked up without making a string of every candidate: by a
// hash of their case-folded characters, then compared ignoring case.
size_t InstructionParser::foldedHash(QStringView text)
{
    size_t hash = 14695981039346656037u;
    forEachCodePoint(text, [&hash](char32_t c) {
        hash ^= QChar::toCaseFolded(c);
        hash *= 1099511628211u;
    });
    return hash;
}

int InstructionParser::keyWordOf(QStringView text) const
{
    const auto candidates = m_keyWordsByHash.constFind(foldedHash(text));
    if (candidates == m_keyWordsByHash.constEnd())
        return -1;
    for (int place : candidates.value()) {
        if (text.compare(m_lowerKeyWords.at(place), Qt::CaseInsensitive) == 0)
            return place;
    }
    return -1;
}

// The item is a keyword, then any blanks, then an optional count. An item
// that is a keyword as it stands is that keyword; otherwise the keyword
// that comes first in the list wins, which only matters where one keyword
// plus digits spells another.
bool InstructionParser::recognise(QStringView item, Item *result) const
{
    // An abbreviation written out whole is that stitch, even where a
    // shorter one and a count spell it too: "nupp7" is one nupp7.
    if (item.size() <= m_longestKeyWord) {
        const int whole = keyWordOf(item);
        if (whole >= 0) {
            result->keyWord = whole;
            result->length = int(item.size());
            result->count = 1;
            return true;
        }
    }
    int digitsStart = int(item.size());
    while (digitsStart > 0 && isAsciiDigit(item.at(digitsStart - 1)))
        --digitsStart;
    int blanksStart = digitsStart;
    while (blanksStart > 0 && item.at(blanksStart - 1).isSpace())
        --blanksStart;

    int best = -1;
    int bestLength = 0;
    // No keyword is longer than the longest one: a line of a million digits
    // is not a million lookups.
    for (int length = blanksStart; length <= qMin(int(item.size()), m_longestKeyWord); ++length) {
        const int place = keyWordOf(item.left(length));
        if (place >= 0 && (best < 0 || place < best)) {
            best = place;
            bestLength = length;
        }
    }
    if (best < 0)
        return false;

    result->keyWord = best;
    result->length = bestLength;
    const QStringView digits = item.mid(bestLength).trimmed();
    bool ok = false;
    const int count = digits.toInt(&ok);
    if (!ok && !digits.isEmpty())
        result->count = std::numeric_limits<int>::max(); // more than any row holds
    else
        result->count = count > 0 ? count : 1;
    return true;
}

QList<Stitch *> InstructionParser::row(const QStringList &cells, int width, bool wrongSide)
{
    StitchSet *catalogue = StitchSet::instance();
    Stitch *noStitch = catalogue->findStitch(QStringLiteral("x"));
    QList<Stitch *> result;
    result.reserve(qMax(0, width));
    for (int i = 0; i < width; ++i) {
        Stitch *stitch = i < cells.size() ? catalogue->findStitch(cells.at(i)) : noStitch;
        if (wrongSide) {
            // A stitch without an opposite is written by its own name on
            // both sides, and read so.
            if (stitch && !stitch->opposite().isEmpty())
                stitch = catalogue->findStitch(stitch->opposite());
            result.append(stitch);
        } else {
            result.prepend(stitch);
        }
    }
    return result;
}
