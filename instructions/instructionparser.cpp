#include "instructionparser.h"

#include "stitch.h"
#include "stitchset.h"

#include <QSet>

#include <limits>

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
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
        for (const QChar c : word) {
            if (!isWordCharacter(c) && !c.isSpace() && c != QLatin1Char(','))
                m_extraWordCharacters.insert(c);
        }
    }
}

bool InstructionParser::isWordCharacter(QChar c) const
{
    return c.isLetterOrNumber() || c.isMark() || c == QLatin1Char('_') || m_extraWordCharacters.contains(c);
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
        if (start > pieceStart && isWordCharacter(line.at(start - 1))) {
            while (true) {
                while (start > pieceStart && isWordCharacter(line.at(start - 1)))
                    --start;
                if (start - 1 > pieceStart && line.at(start - 1).isSpace() && isWordCharacter(line.at(start - 2)))
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
    return result;
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
// hash of their lower-cased characters, then compared.
size_t InstructionParser::foldedHash(QStringView text)
{
    size_t hash = 14695981039346656037u;
    for (const QChar c : text) {
        hash ^= QChar::toLower(c.unicode());
        hash *= 1099511628211u;
    }
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

// The item is a keyword, then any blanks, then an optional count. The
// keyword that comes first in the list wins, which only matters where one
// keyword plus digits spells another.
bool InstructionParser::recognise(QStringView item, Item *result) const
{
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
