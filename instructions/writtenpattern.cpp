#include "writtenpattern.h"

#include "chartgrid.h"
#include "instructionparser.h"
#include "rowstitches.h"
#include "stitch.h"
#include "stitchset.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace {

// Beyond these a pasted text is not a pattern anyone knits.
constexpr int mostRows = 10000;
constexpr int widest = 10000;

QString tr(const char *text)
{
    return QCoreApplication::translate("WrittenPattern", text);
}

// "three" → 3; a number as digits too; 0 for anything else.
int countOf(const QString &word)
{
    static const QStringList words = {"once", "twice", "three", "four", "five", "six", "seven", "eight", "nine"};
    const int spelled = int(words.indexOf(word.toLower()));
    if (spelled >= 0)
        return spelled + 1;
    bool ok = false;
    const int number = word.toInt(&ok);
    return ok ? number : 0;
}

// What a row of cells works from the needle and leaves on it, counted as
// the chart counts a row painted with them.
RowStitches countOf(const QStringList &cells)
{
    QList<Stitch *> stitches;
    for (const QString &cell : cells)
        stitches.append(StitchSet::instance()->findStitch(cell));
    const QList<int> images = ChartGrid::imageIndexes(stitches);
    QList<ChartCell> row(stitches.size());
    for (int i = 0; i < stitches.size(); ++i) {
        row[i].stitch = stitches.at(i);
        row[i].imgPos = images.at(i);
    }
    return RowStitches::count(row);
}

} // namespace

WrittenPattern WrittenPattern::read(const QString &text, const InstructionParser &parser)
{
    WrittenPattern pattern;
    static const QRegularExpression lineBreak(QStringLiteral("\\r\\n|[\\r\\n\\x{2028}\\x{2029}]"));
    const QStringList lines = text.split(lineBreak);
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        if (line.isEmpty() || pattern.readCastOn(line) || pattern.readRepeat(line) || pattern.readRows(line, i + 1))
            continue;
        if (pattern.title.isEmpty())
            pattern.title = line;
        else
            pattern.notes.append(line);
    }
    pattern.layRows();
    pattern.fitRows(parser);
    pattern.checkRows(parser);
    return pattern;
}

// "Cast on 24 sts.", "Cast on a multiple of 8 sts plus 1 (17 sts in the
// chart)."; "join to work in the round" makes the pattern round.
bool WrittenPattern::readCastOn(const QString &line)
{
    static const QRegularExpression castOn(
        QStringLiteral("^cast\\s+on\\s+(?:a\\s+multiple\\s+of\\s+(\\d{1,5})(?:\\s*(?:sts?|stitches))?"
                       "(?:\\s*(?:plus|\\+)\\s*(\\d{1,5}))?(?:\\s*(?:sts?|stitches))?"
                       "(?:\\s*\\(\\s*(\\d{1,5})\\s*(?:sts?|stitches)[^)]*\\))?|(\\d{1,5})\\s*(?:sts?|stitches)?)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = castOn.match(line);
    if (!match.hasMatch())
        return false;
    m_multiple = match.captured(1).toInt();
    m_plus = match.captured(2).toInt();
    m_castOn = match.hasCaptured(3) ? match.captured(3).toInt() : match.captured(4).toInt();
    if (line.contains(QLatin1String("round"), Qt::CaseInsensitive)
        || line.contains(QLatin1String("rnd"), Qt::CaseInsensitive))
        knitStyle = KnitStyle::Round;
    return true;
}

// "Rep Rows 1–8 twice more." adds the rows again; "Rep Rows 1–8." alone
// says how the pattern goes on and adds nothing.
bool WrittenPattern::readRepeat(const QString &line)
{
    static const QRegularExpression repeat(
        QStringLiteral("^rep(?:eat)?\\s+(?:rows?|rnds?|rounds?)\\s+(\\d{1,5})\\s*(?:[-\\x{2013}\\x{2014}]|to)\\s*"
                       "(\\d{1,5})(?:\\s+(\\w+)\\s+more\\s+times?|\\s+(once|twice)\\s+more)?"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    const QRegularExpressionMatch match = repeat.match(line);
    if (!match.hasMatch())
        return false;
    const int times = countOf(match.hasCaptured(3) ? match.captured(3) : match.captured(4));
    m_repeats.append(Repeat{match.captured(1).toInt(), match.captured(2).toInt(), times});
    return true;
}

// "Row 1 (RS): …", "Rows 3 and 5: …", "Row 2 and all WS rows: …", "Rnd 4:
// …". The numbers are listed with commas and "and".
bool WrittenPattern::readRows(const QString &line, int lineNumber)
{
    static const QRegularExpression label(
        QStringLiteral("^(rows?|rnds?|rounds?)\\s+(\\d{1,5}(?:\\s*(?:,|and|&)\\s*\\d{1,5})*)"
                       "(\\s+and\\s+all\\s+(?:ws|wrong[- ]side|even)\\s+rows?)?\\s*(?:\\(\\s*(rs|ws)\\s*\\))?\\s*:(.*)$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = label.match(line);
    if (!match.hasMatch())
        return false;
    if (!match.captured(1).startsWith(QLatin1String("row"), Qt::CaseInsensitive))
        knitStyle = KnitStyle::Round;
    const QString body = match.captured(5).trimmed();
    static const QRegularExpression numberSeparator(QStringLiteral("\\s*(?:,|and|&)\\s*"),
                                                    QRegularExpression::CaseInsensitiveOption);
    for (const QString &number : match.captured(2).split(numberSeparator, Qt::SkipEmptyParts)) {
        const int row = number.toInt();
        if (row < 1 || row > mostRows) {
            problems.append(tr("Line %1: there is no row %2 in a chart").arg(lineNumber).arg(number));
            continue;
        }
        if (row == 1 && match.captured(4).compare(QLatin1String("ws"), Qt::CaseInsensitive) == 0)
            side = Side::WrongSide;
        m_given.insert(row, {body, lineNumber});
    }
    if (match.hasCaptured(3))
        m_wrongSideRows = {body, lineNumber};
    return true;
}

bool WrittenPattern::isWrongSide(int rowNumber) const
{
    ChartOptions options;
    options.knitStyle = knitStyle;
    options.side = side;
    return options.isWrongSide(rowNumber);
}

// The rows in order, the wrong-side rows filled in, the repeats added.
void WrittenPattern::layRows()
{
    int rows = m_given.isEmpty() ? 0 : m_given.lastKey();
    for (const Repeat &repeat : std::as_const(m_repeats))
        rows = qMax(rows, qMin(repeat.last, mostRows));
    QList<QPair<QString, int>> laid;
    for (int row = 1; row <= rows; ++row) {
        if (m_given.contains(row))
            laid.append(m_given.value(row));
        else if (isWrongSide(row) && m_wrongSideRows.second > 0)
            laid.append(m_wrongSideRows);
        else
            laid.append({QString(), 0});
    }
    // The last repeat first, so that the rows earlier ones name stay put.
    QList<Repeat> repeats = m_repeats;
    std::sort(repeats.begin(), repeats.end(), [](const Repeat &a, const Repeat &b) { return a.last > b.last; });
    for (const Repeat &repeat : std::as_const(repeats)) {
        const int height = repeat.last - repeat.first + 1;
        if (repeat.times <= 0 || repeat.first < 1 || height < 1 || repeat.last > laid.size())
            continue;
        if (laid.size() + qint64(height) * repeat.times > mostRows) {
            problems.append(tr("Repeating rows %1 to %2 %3 more times makes more than %4 rows")
                                .arg(repeat.first).arg(repeat.last).arg(repeat.times).arg(mostRows));
            continue;
        }
        const QList<QPair<QString, int>> block = laid.mid(repeat.first - 1, height);
        for (int time = 0; time < repeat.times; ++time)
            for (int i = 0; i < height; ++i)
                laid.insert(repeat.last + time * height + i, block.at(i));
    }
    for (const auto &[line, number] : std::as_const(laid)) {
        rowLines.append(line);
        m_lineNumbers.append(number);
    }
}

// How many cells a row that repeats to the end takes to work `stitches`:
// the fewest cells that work them all; -1 where no number does. More
// cells never work fewer stitches, so the search halves.
int WrittenPattern::fillWidth(const InstructionParser &parser, const QString &line, int shortest, int stitches)
{
    int low = shortest;
    int high = qMin(widest, shortest + 2 * stitches + 8);
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (countOf(parser.read(line, middle, middle).cells).worked < stitches)
            low = middle + 1;
        else
            high = middle;
    }
    const QStringList cells = parser.read(line, low, low).cells;
    return countOf(cells).worked == stitches ? int(cells.size()) : -1;
}

// Rows written out in full have their own width. A row that repeats to
// the end ("k to end", "Purl.") works the stitches on the needle: those
// cast on, then those the row below left.
void WrittenPattern::fitRows(const InstructionParser &parser)
{
    int stitches = m_castOn > 0 ? m_castOn : m_multiple + m_plus;
    for (int i = 0; i < rowLines.size(); ++i) {
        const QString &line = rowLines.at(i);
        // A row not understood is left empty; the rows above it are taken
        // to work what it was given.
        if (m_lineNumbers.at(i) == 0 || !parser.read(line, 0, 0).unknown.isEmpty()) {
            m_rowWidths.append(0);
            continue;
        }
        const int shortest = int(parser.read(line, 0, widest + 1).cells.size());
        const bool fills = int(parser.read(line, widest, widest + 1).cells.size()) != shortest;
        int cells = shortest;
        if (fills && stitches > 0) {
            cells = fillWidth(parser, line, shortest, stitches);
            if (cells < 0) {
                problems.append(tr("Line %1: the row does not work the %2 stitches on the needle")
                                    .arg(m_lineNumbers.at(i))
                                    .arg(stitches));
                cells = shortest;
            }
        } else if (fills) {
            problems.append(tr("Line %1: how many stitches the row works is not known; give the cast-on (\"Cast on "
                               "24 sts\")")
                                .arg(m_lineNumbers.at(i)));
        }
        m_rowWidths.append(cells);
        stitches = countOf(parser.read(line, cells, cells).cells).made;
    }
    width = 0;
    for (int cells : std::as_const(m_rowWidths))
        width = qMax(width, cells);
    if (width > widest) {
        problems.append(tr("The rows are wider than %1 stitches").arg(widest));
        width = widest;
    }
}

void WrittenPattern::checkRows(const InstructionParser &parser)
{
    for (int i = 0; i < rowLines.size(); ++i) {
        const QString label = (knitStyle == KnitStyle::Round ? tr("Rnd %1") : tr("Row %1")).arg(i + 1);
        if (m_lineNumbers.at(i) == 0) {
            problems.append(tr("%1 is not given").arg(label));
            continue;
        }
        const InstructionParser::Reading reading = parser.read(rowLines.at(i), m_rowWidths.at(i), width + 1);
        QStringList words;
        for (const InstructionParser::Span &span : reading.unknown)
            words.append(QLatin1Char('\'') + rowLines.at(i).mid(span.start, span.length) + QLatin1Char('\''));
        if (!words.isEmpty())
            problems.append((words.size() == 1 ? tr("Line %1: %2: %3 is not a stitch")
                                               : tr("Line %1: %2: %3 are not stitches"))
                                .arg(m_lineNumbers.at(i))
                                .arg(label, words.join(QLatin1String(", "))));
        else if (reading.cells.size() > width)
            problems.append(tr("Line %1: %2 is wider than the %3 stitches of the chart")
                                .arg(m_lineNumbers.at(i)).arg(label).arg(width));
    }
}

std::unique_ptr<ChartGrid> WrittenPattern::chart(const InstructionParser &parser) const
{
    Stitch *noStitch = StitchSet::instance()->findStitch(QStringLiteral("x"));
    const int rows = int(rowLines.size());
    auto grid = std::make_unique<ChartGrid>(width, rows, noStitch);
    ChartOptions options = grid->options();
    options.knitStyle = knitStyle;
    options.side = side;
    grid->setOptions(options);
    for (int i = 0; i < rows; ++i) {
        const InstructionParser::Reading reading = parser.read(rowLines.at(i), m_rowWidths.at(i), width);
        if (m_lineNumbers.at(i) == 0 || !reading.unknown.isEmpty())
            continue;
        grid->setRow(rows - 1 - i, InstructionParser::row(reading.cells, width, isWrongSide(i + 1)));
    }
    return grid;
}
