#include "instructionparser.h"

#include "stitch.h"
#include "stitchset.h"

#include <QSet>

#include <limits>

namespace {

// Characters other than letters, digits and blanks that some abbreviation
// uses ("m1+", "c2(f)"). They count as part of a word, so that such
// abbreviations can be typed; the comma always separates items.
QString extraWordCharacters(const QStringList &keyWords)
{
    QSet<QChar> extra;
    for (const QString &word : keyWords) {
        for (const QChar c : word) {
            if (!c.isLetterOrNumber() && !c.isMark() && c != QLatin1Char('_') && !c.isSpace()
                && c != QLatin1Char(','))
                extra.insert(c);
        }
    }
    QString characters;
    for (const QChar c : std::as_const(extra))
        characters += QRegularExpression::escape(QString(c));
    return characters;
}

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
        if (!word.isEmpty() && !m_keyWordOrder.contains(word))
            m_keyWordOrder.insert(word, i);
        m_longestKeyWord = qMax(m_longestKeyWord, int(word.size()));
    }

    // An item is one or more words separated by single blanks, followed by
    // a comma (and any blanks) or the end of the line: "k3 , p3" holds only
    // the item "p3".
    const QString extra = extraWordCharacters(keyWords);
    const QString word = extra.isEmpty() ? QStringLiteral("\\w+") : QStringLiteral("[\\w%1]+").arg(extra);
    m_itemPattern.setPattern(QStringLiteral("(%1(\\s%1){0,})(?:,\\s{0,}|$)").arg(word));
    // Letters and blanks of every script, not only ASCII.
    m_itemPattern.setPatternOptions(QRegularExpression::UseUnicodePropertiesOption);
    m_itemPattern.optimize();
}

QStringList InstructionParser::cells(const QString &line, int maxCells) const
{
    QStringList result;
    QRegularExpressionMatchIterator matches = m_itemPattern.globalMatch(line);
    while (matches.hasNext() && result.size() < maxCells) {
        const QRegularExpressionMatch match = matches.next();
        if (match.capturedLength() == 0)
            continue;
        Item item;
        if (!recognise(match.captured(1).toLower(), &item))
            continue;
        bool found = false;
        Stitch *stitch = StitchSet::instance()->findStitch(item.abbreviation, &found);
        // The count is in stitches; a multi-cell stitch fills several cells.
        qint64 cellCount = item.count;
        if (found && stitch)
            cellCount *= qMax(1, stitch->cellsPerStitch());
        cellCount = qMin<qint64>(cellCount, maxCells - result.size());
        for (qint64 i = 0; i < cellCount; ++i)
            result.append(item.abbreviation);
    }
    return result;
}

// The item is a keyword, then any blanks, then an optional count. The
// keyword that comes first in the list wins, which only matters where one
// keyword plus digits spells another.
bool InstructionParser::recognise(const QString &item, Item *result) const
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
        const auto order = m_keyWordOrder.constFind(item.left(length));
        if (order != m_keyWordOrder.constEnd() && (best < 0 || order.value() < best)) {
            best = order.value();
            bestLength = length;
        }
    }
    if (best < 0)
        return false;

    result->abbreviation = item.left(bestLength);
    const QString digits = item.mid(bestLength).trimmed();
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
