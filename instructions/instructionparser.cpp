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

int InstructionParser::wordCharacterBefore(const QString &line, int at, int floor) const
{
    if (at <= floor)
        return 0;
    const QChar last = line.at(at - 1);
    if (last.isLowSurrogate() && at - 1 > floor && line.at(at - 2).isHighSurrogate())
        return isWordCharacter(QChar::surrogateToUcs4(line.at(at - 2), last)) ? 2 : 0;
    if (last.isSurrogate())
        return 0;
    return isWordCharacter(last.unicode()) ? 1 : 0;
}

// Walks the line from comma to comma; each piece's item is the longest run
// of words separated by single blanks that ends where the piece does.
template<typename Found>
void InstructionParser::forEachItem(const QString &line, Found found) const
{
    const int size = int(line.size());
    int pieceStart = 0;
    while (pieceStart <= size) {
        int end = int(line.indexOf(QLatin1Char(','), pieceStart));
        if (end < 0)
            end = size;
        int start = end;
        if (wordCharacterBefore(line, start, pieceStart) > 0) {
            while (true) {
                while (const int width = wordCharacterBefore(line, start, pieceStart))
                    start -= width;
                if (start - 1 > pieceStart && line.at(start - 1).isSpace()
                    && wordCharacterBefore(line, start - 1, pieceStart) > 0)
                    --start;
                else
                    break;
            }
            found(start, end - start);
        }
        pieceStart = end + 1;
    }
}

QStringList InstructionParser::cells(const QString &line, int maxCells) const
{
    QStringList result;
    const QString body = bodyOf(line);
    if (!appendWholeRow(body, maxCells, result) && !appendStarRepeat(body, maxCells, result)
        && !appendStitchToEnd(body, maxCells, result))
        appendCells(body, maxCells, 0, result);
    return result;
}

// A published line carries a label, a full stop and a stitch count
// around its stitches: "Row 1 (RS): K1, yo, k1. 3 sts".
QString InstructionParser::bodyOf(const QString &line) const
{
    static const QRegularExpression label(QStringLiteral("^\\s*(?:rows?|rnds?|rounds?)\\s+\\d+[^:,]{0,60}:"),
                                          QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression count(
        QStringLiteral("(?:\\.\\s*\\d{1,9}\\s+sts?|\\(\\s*\\d{1,9}\\s+sts?\\s*\\))\\s*\\.?\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    QString body = line;
    const QRegularExpressionMatch labelled = label.match(body);
    if (labelled.hasMatch())
        body.remove(0, labelled.capturedLength());
    const QRegularExpressionMatch counted = count.match(body);
    if (counted.hasMatch())
        body.truncate(counted.capturedStart());
    body = body.trimmed();
    // The full stop, unless it ends an abbreviation.
    Item last;
    const QStringView lastItem = QStringView(body).mid(body.lastIndexOf(QLatin1Char(',')) + 1).trimmed();
    if (body.endsWith(QLatin1Char('.')) && !(recognise(lastItem, &last) && last.length == lastItem.size()))
        body.chop(1);
    return body;
}

// "Knit" or "Purl" alone is the whole row of it, unless some stitch has
// that abbreviation.
bool InstructionParser::appendWholeRow(const QString &body, int maxCells, QStringList &result) const
{
    const bool knit = body.compare(QLatin1String("knit"), Qt::CaseInsensitive) == 0;
    const bool purl = body.compare(QLatin1String("purl"), Qt::CaseInsensitive) == 0;
    if ((!knit && !purl) || keyWordOf(body) >= 0)
        return false;
    const QString stitch = knit ? QStringLiteral("k") : QStringLiteral("p");
    for (int i = 0; i < maxCells; ++i)
        result.append(stitch);
    return true;
}

// "k2, *p2, k2; rep from * to last 2 sts, p2": the stitches between the
// star and the semicolon repeat as often as the row leaves room for
// between the stitches before and after them.
bool InstructionParser::appendStarRepeat(const QString &body, int maxCells, QStringList &result) const
{
    static const QRegularExpression rep(
        QStringLiteral("\\s*rep(?:eat)?\\s+from\\s+\\*\\s+to\\s+(?:end|last\\s+\\d{1,9}\\s+sts?)\\s*(?:,(.*))?$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const int star = int(body.indexOf(QLatin1Char('*')));
    const int semicolon = star < 0 ? -1 : int(body.indexOf(QLatin1Char(';'), star));
    if (semicolon < 0)
        return false;
    const QRegularExpressionMatch end = rep.match(body, semicolon + 1, QRegularExpression::NormalMatch,
                                                  QRegularExpression::AnchorAtOffsetMatchOption);
    if (!end.hasMatch())
        return false;
    appendFilled(body.left(star), body.mid(star + 1, semicolon - star - 1), end.captured(1), maxCells, result);
    return true;
}

// "k2, p to last 2 sts, k2": one stitch worked as often as there is room.
bool InstructionParser::appendStitchToEnd(const QString &body, int maxCells, QStringList &result) const
{
    static const QRegularExpression toEnd(
        QStringLiteral("(?:^|,)\\s*([^,*;]+?)\\s+to\\s+(?:end|last\\s+\\d{1,9}\\s+sts?)\\s*(?:,|$)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = toEnd.match(body);
    if (!match.hasMatch())
        return false;
    appendFilled(body.left(match.capturedStart(1)), match.captured(1), body.mid(match.capturedEnd(0)), maxCells,
                 result);
    return true;
}

void InstructionParser::appendFilled(const QString &before, const QString &repeated, const QString &after,
                                     int maxCells, QStringList &result) const
{
    QStringList beforeCells, repeatedCells, afterCells;
    appendCells(before, maxCells, 0, beforeCells);
    appendCells(repeated, maxCells, 0, repeatedCells);
    appendCells(after, maxCells, 0, afterCells);
    const int room = qMax(0, maxCells - int(beforeCells.size() + afterCells.size()));
    result = beforeCells;
    for (int copies = repeatedCells.isEmpty() ? 0 : room / int(repeatedCells.size()); copies > 0; --copies)
        result += repeatedCells;
    result += afterCells;
    result = result.mid(0, maxCells);
}

// The cells of plain items, without groups.
void InstructionParser::appendItemCells(const QString &line, int maxCells, QStringList &result) const
{
    forEachItem(line, [&](int start, int length) {
        if (result.size() >= maxCells)
            return;
        Item item;
        if (!recognise(QStringView(line).mid(start, length), &item))
            return;
        const QString &abbreviation = m_lowerKeyWords.at(item.keyWord);
        bool found = false;
        Stitch *stitch = StitchSet::instance()->findStitch(abbreviation, &found);
        // The count is in stitches; a multi-cell stitch fills several cells.
        qint64 cellCount = item.count;
        if (found && stitch)
            cellCount *= qMax(1, stitch->cellsPerStitch());
        cellCount = qMin<qint64>(cellCount, maxCells - result.size());
        for (qint64 i = 0; i < cellCount; ++i)
            result.append(abbreviation);
    });
}

// A group is an item that opens with "(" or "[" and whose closing bracket
// is followed by a count and "times": "(k1, p1) 3 times", "[yo2] 2 times".
// Its cells are read once and repeated, never beyond `maxCells`, so that no
// count makes a line expensive. Brackets that open no such group are read
// as the characters they are, as in "c2(f)".
void InstructionParser::appendCells(const QString &line, int maxCells, int depth, QStringList &result) const
{
    static const QRegularExpression opener(QStringLiteral("(?:^|,)\\s*([\\(\\[])"));
    static const QRegularExpression times(QStringLiteral("\\s*(?:(\\d{1,9})\\s*times|(once)|(twice))\\b"),
                                          QRegularExpression::CaseInsensitiveOption);
    // Deeper nesting than any pattern writes is read as plain text.
    constexpr int deepest = 8;
    const std::vector<int> closes = closingBrackets(line);
    int plainStart = 0;
    int searchFrom = 0;
    while (depth < deepest && result.size() < maxCells) {
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
        appendItemCells(line.mid(plainStart, openAt - plainStart), maxCells, result);
        QStringList inner;
        appendCells(line.mid(openAt + 1, closeAt - openAt - 1), maxCells - int(result.size()), depth + 1, inner);
        const int repeats = count.hasCaptured(1) ? count.captured(1).toInt() : count.hasCaptured(2) ? 1 : 2;
        for (int i = 0; i < repeats && !inner.isEmpty() && result.size() < maxCells; ++i)
            result += inner.mid(0, maxCells - result.size());
        plainStart = searchFrom = int(count.capturedEnd(0));
    }
    appendItemCells(line.mid(plainStart), maxCells, result);
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

QList<InstructionParser::Span> InstructionParser::abbreviations(const QString &line) const
{
    QList<Span> spans;
    forEachItem(line, [&](int start, int length) {
        Item item;
        if (recognise(QStringView(line).mid(start, length), &item))
            spans.append(Span{start, item.length});
    });
    return spans;
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
            if (stitch)
                stitch = catalogue->findStitch(stitch->opposite());
            result.append(stitch);
        } else {
            result.prepend(stitch);
        }
    }
    return result;
}
