#include "publishedwriter.h"

#include "chartgrid.h"
#include "instructionwriter.h"
#include "rowstitches.h"
#include "stitch.h"
#include "writtenrow.h"

#include <QCoreApplication>
#include <QMap>
#include <QSet>

namespace {

// Groups of up to this many items, worked at least this many times, are
// looked for within a row: "(k1, p1) 3 times", but neither a whole lace
// repeat nor "(k1, yo) 2 times, k1", which reads no easier than written
// out.
constexpr int longestGroup = 6;
constexpr int fewestTimes = 3;
// The boxes over one row that are tried for its repeat.
constexpr int boxesTried = 16;

QString tr(const char *text)
{
    return QCoreApplication::translate("PublishedWriter", text);
}

QString stitchesText(int count)
{
    return count == 1 ? tr("1 st") : tr("%1 sts").arg(count);
}

// "to last st", "to last 3 sts".
QString toLast(int count)
{
    return count == 1 ? tr("to last st") : tr("to last %1 sts").arg(count);
}

// Cables and twists: over several cells, as many stitches made as worked.
bool isCable(const Stitch *stitch)
{
    return stitch->cellsPerStitch() > 1 && stitch->worked() == stitch->made();
}

// One item of a line: `count` stitches of the same name in a row.
struct Item
{
    QString text;
    int count = 1;
    // Cables are written in capitals ("C6F"), as patterns print them.
    bool capitals = false;

    bool operator==(const Item &other) const { return text == other.text && count == other.count; }
};

// Knit and purl take their count ("k3"); any other stitch repeated is
// bracketed, since a count after it would read as a stitch of its own
// ("yo2", "k2tog2"): "(yo) twice", "(C4F) 3 times".
QString itemText(const Item &item)
{
    const QString name = item.capitals ? item.text.toUpper() : item.text;
    const bool knitOrPurl = item.text == QLatin1String("k") || item.text == QLatin1String("p");
    if (knitOrPurl || item.count == 1)
        return InstructionWriter::runText(item.text, item.count).replace(0, int(item.text.size()), name);
    const QString times = item.count == 2 ? tr("twice") : tr("%1 times").arg(item.count);
    return QStringLiteral("(%1) %2").arg(name, times);
}

QList<Item> itemsOf(const QList<WrittenStitch> &stitches, int from, int to)
{
    QList<Item> items;
    for (int i = from; i < to; ++i) {
        const WrittenStitch &stitch = stitches.at(i);
        if (!items.isEmpty() && items.last().text == stitch.text)
            ++items.last().count;
        else
            items.append(Item{stitch.text, 1, isCable(stitch.stitch)});
    }
    return items;
}

bool sameItems(const QList<Item> &items, int a, int b, int length)
{
    for (int i = 0; i < length; ++i) {
        if (!(items.at(a + i) == items.at(b + i)))
            return false;
    }
    return true;
}

// The items joined by commas, each run of a short group repeated written
// once with its count: the group covering the most
// items wins, the shorter of equals.
QString groupedText(const QList<Item> &items)
{
    QStringList parts;
    int i = 0;
    while (i < items.size()) {
        int bestLength = 0, bestTimes = 0;
        for (int length = 2; length <= longestGroup && i + fewestTimes * length <= items.size(); ++length) {
            int times = 1;
            while (i + (times + 1) * length <= items.size() && sameItems(items, i, i + times * length, length))
                ++times;
            if (times >= fewestTimes && length * times > bestLength * bestTimes) {
                bestLength = length;
                bestTimes = times;
            }
        }
        if (bestTimes == 0) {
            parts.append(itemText(items.at(i)));
            ++i;
            continue;
        }
        QStringList group;
        for (int j = i; j < i + bestLength; ++j)
            group.append(itemText(items.at(j)));
        parts.append(QStringLiteral("(%1) %2").arg(group.join(QLatin1String(", ")), tr("%1 times").arg(bestTimes)));
        i += bestLength * bestTimes;
    }
    return parts.join(QLatin1String(", "));
}

QString segmentText(const WrittenRow &row, int from, int to)
{
    return groupedText(itemsOf(row.stitches(), from, to));
}

int workedIn(const WrittenRow &row, int from, int to)
{
    int worked = 0;
    for (int i = from; i < to; ++i)
        worked += row.stitches().at(i).stitch->worked();
    return worked;
}

// "knit" or "purl" for a row of nothing else; "" otherwise.
QString wholeRowWord(const WrittenRow &row)
{
    const QList<WrittenStitch> &stitches = row.stitches();
    if (stitches.isEmpty())
        return QString();
    const QString &first = stitches.first().text;
    if (first != QLatin1String("k") && first != QLatin1String("p"))
        return QString();
    for (const WrittenStitch &stitch : stitches) {
        if (stitch.text != first)
            return QString();
    }
    return first == QLatin1String("k") ? tr("knit") : tr("purl");
}

QString repeatedText(const WrittenRow &row, RowRepeat repeat, RepeatForm form)
{
    const QList<WrittenStitch> &stitches = row.stitches();
    const int count = int(stitches.size());
    const QList<Item> repeatedItems = itemsOf(stitches, repeat.first, repeat.first + repeat.length);
    // A repeat of one stitch is that stitch worked to the end ("p to last
    // 2 sts"), over every such stitch beside it; a single copy in
    // brackets is no repeat. Both are the row written out.
    const bool oneStitch = repeatedItems.size() == 1;
    if ((oneStitch || repeat.copies == 1) && form == RepeatForm::Brackets)
        return segmentText(row, 0, count);
    int end = repeat.end();
    if (oneStitch) {
        while (repeat.first > 0 && stitches.at(repeat.first - 1).text == stitches.at(repeat.first).text)
            --repeat.first;
        while (end < count && stitches.at(end).text == stitches.at(repeat.first).text)
            ++end;
    }
    const QString before = segmentText(row, 0, repeat.first);
    const Item &first = repeatedItems.first();
    const QString repeated = !oneStitch ? groupedText(repeatedItems) : first.capitals ? first.text.toUpper() : first.text;
    const QString after = segmentText(row, end, count);
    QStringList parts;
    if (!before.isEmpty())
        parts.append(before);
    if (form == RepeatForm::Brackets) {
        parts.append(QStringLiteral("[%1] %2").arg(repeated, tr("%1 times").arg(repeat.copies)));
        if (!after.isEmpty())
            parts.append(after);
        return parts.join(QLatin1String(", "));
    }
    QString star = oneStitch ? repeated + QLatin1Char(' ')
                             : QLatin1Char('*') + repeated + QLatin1String("; ") + tr("rep from *") + QLatin1Char(' ');
    const int lastStitches = workedIn(row, end, count);
    if (after.isEmpty())
        star += tr("to end");
    else if (lastStitches == 0)
        star += tr("to end") + QLatin1String(", ") + after;
    else
        star += toLast(lastStitches) + QLatin1String(", ") + after;
    parts.append(star);
    return parts.join(QLatin1String(", "));
}

// The first stitch takes a capital, after any star or bracket; one whose
// name starts otherwise than with a letter is left as it is.
void capitalise(QString &text)
{
    for (QChar &c : text) {
        if (c == QLatin1Char('*') || c == QLatin1Char('[') || c == QLatin1Char('('))
            continue;
        if (c.isLetter())
            c = c.toUpper();
        return;
    }
}

// A row is written with a repeat only where the repeat reads back: every
// stitch whole, as a repeat fills whole stitches, and no name that holds
// the marks of a star repeat.
bool canRepeat(const WrittenRow &row)
{
    for (const WrittenStitch &stitch : row.stitches()) {
        if (stitch.cells != qMax(1, stitch.stitch->cellsPerStitch()) || stitch.text.contains(QLatin1Char('*'))
            || stitch.text.contains(QLatin1Char(';')))
            return false;
    }
    return true;
}

// The repeat grid row `y` is written with: a box's, else the longest one
// where the options ask for it. A repeat that works no stitch ("yo to
// end") says nothing a knitter can follow.
RowRepeat repeatOf(const ChartGrid &grid, int y, const WrittenRow &row, bool wrongSide)
{
    if (!canRepeat(row))
        return RowRepeat();
    const int width = grid.columnCount();
    int tried = 0;
    for (const RepeatBox &box : grid.repeats()) {
        if (y < box.cells.top() || y > box.cells.bottom())
            continue;
        // No chart needs more boxes over a row; a file with thousands
        // must not make writing slow.
        if (++tried > boxesTried)
            break;
        const int first = wrongSide ? box.cells.left() : width - 1 - box.cells.right();
        const RowRepeat repeat = row.repeatOfBox(first, box.cells.width());
        if (repeat.isValid() && workedIn(row, repeat.first, repeat.first + repeat.length) > 0)
            return repeat;
    }
    if (!grid.options().written.findRepeats)
        return RowRepeat();
    const RowRepeat found = row.longestRepeat();
    return found.isValid() && workedIn(row, found.first, found.first + found.length) > 0 ? found : RowRepeat();
}

WrittenRow writtenRow(const ChartGrid &grid, int y)
{
    return WrittenRow(grid.rowStitches(y), grid.options().isWrongSide(grid.rowCount() - y));
}

// The line of grid row `y` without its full stop; `word` tells whether it
// is "Knit" or "Purl" alone.
QString rowBody(const ChartGrid &grid, int y, bool *word = nullptr)
{
    const WrittenRow row = writtenRow(grid, y);
    QString body = wholeRowWord(row);
    if (word)
        *word = !body.isEmpty();
    if (body.isEmpty()) {
        const RowRepeat repeat = repeatOf(grid, y, row, grid.options().isWrongSide(grid.rowCount() - y));
        body = repeat.isValid() ? repeatedText(row, repeat, grid.options().written.repeats)
                                : segmentText(row, 0, int(row.stitches().size()));
    }
    capitalise(body);
    return body;
}

bool showsCount(const ChartGrid &grid, const RowStitches &counts)
{
    switch (grid.options().written.counts) {
    case StitchCounts::Every:
        return true;
    case StitchCounts::Changed:
        return counts.worked != counts.made;
    case StitchCounts::None:
        break;
    }
    return false;
}

QString finished(const QString &body, const ChartGrid &grid, const RowStitches &counts)
{
    if (body.isEmpty())
        return body; // a row of No Stitch: nothing to work
    QString line = body + QLatin1Char('.');
    if (showsCount(grid, counts))
        line += QLatin1Char(' ') + stitchesText(counts.made);
    return line;
}

// How rows repeat upwards: the rows not written because they copy a box's
// rows below them, and the line that follows the last row of each box.
struct RowRepeats
{
    QSet<int> copied; // row numbers, counted from 1 at the bottom
    QMap<int, QString> lineAfter;
};

// Rows are the same where their stitches and colours are.
bool sameRows(const ChartGrid &grid, int rowNumber, int otherNumber, int count)
{
    const int rows = grid.rowCount();
    for (int i = 0; i < count; ++i) {
        const int y = rows - rowNumber - i;
        const int other = rows - otherNumber - i;
        if (grid.rowStitches(y) != grid.rowStitches(other))
            return false;
        for (int x = 0; x < grid.columnCount(); ++x) {
            if (grid.color(x, y) != grid.color(x, other))
                return false;
        }
    }
    return true;
}

// Whether rows alternate between the sides, so that a block of rows
// repeats on the same sides only when it is an even number high.
bool sidesAlternate(const ChartOptions &options)
{
    return options.isWrongSide(1) != options.isWrongSide(2);
}

QString timesMore(int times)
{
    static const char *const spelled[] = {"",
                                          QT_TRANSLATE_NOOP("PublishedWriter", "once more"),
                                          QT_TRANSLATE_NOOP("PublishedWriter", "twice more"),
                                          QT_TRANSLATE_NOOP("PublishedWriter", "three more times"),
                                          QT_TRANSLATE_NOOP("PublishedWriter", "four more times"),
                                          QT_TRANSLATE_NOOP("PublishedWriter", "five more times"),
                                          QT_TRANSLATE_NOOP("PublishedWriter", "six more times"),
                                          QT_TRANSLATE_NOOP("PublishedWriter", "seven more times"),
                                          QT_TRANSLATE_NOOP("PublishedWriter", "eight more times"),
                                          QT_TRANSLATE_NOOP("PublishedWriter", "nine more times")};
    return times < 10 ? tr(spelled[times]) : tr("%1 more times").arg(times);
}

QString repeatLine(const ChartOptions &options, int lowest, int highest, int copies)
{
    const bool round = options.knitStyle == KnitStyle::Round;
    const int first = options.shownRowNumber(lowest);
    // Where only every second row is charted, the row after the last one
    // charted is part of the repeat.
    const int last = options.shownRowNumber(highest) + (options.skipRows ? 1 : 0);
    QString line = first == last ? (round ? tr("Rep Rnd %1").arg(first) : tr("Rep Row %1").arg(first))
                                 : (round ? tr("Rep Rnds %1–%2") : tr("Rep Rows %1–%2")).arg(first).arg(last);
    if (copies > 0)
        line += QLatin1Char(' ') + timesMore(copies);
    return line + QLatin1Char('.');
}

RowRepeats rowRepeats(const ChartGrid &grid)
{
    const int rows = grid.rowCount();
    QList<QPair<int, int>> ranges; // lowest and highest row number
    for (const RepeatBox &box : grid.repeats())
        ranges.append({rows - box.cells.bottom(), rows - box.cells.top()});
    std::sort(ranges.begin(), ranges.end());

    ranges.erase(std::unique(ranges.begin(), ranges.end()), ranges.end());

    RowRepeats result;
    int coveredTo = 0;
    for (const auto &[lowest, highest] : std::as_const(ranges)) {
        const int height = highest - lowest + 1;
        if (lowest <= coveredTo)
            continue; // overlaps a repeat already written
        if (sidesAlternate(grid.options()) && height % 2 != 0)
            continue; // repeated, its rows would be worked from the other side
        int copies = 0;
        while (highest + (copies + 1) * height <= rows && sameRows(grid, lowest, highest + 1 + copies * height, height))
            ++copies;
        for (int row = highest + 1; row <= highest + copies * height; ++row)
            result.copied.insert(row);
        coveredTo = highest + copies * height;
        if (copies > 0 || highest == rows)
            result.lineAfter.insert(highest, repeatLine(grid.options(), lowest, highest, copies));
    }
    return result;
}

struct Line
{
    int rowNumber = 0;
    bool wrongSide = false;
    bool word = false;
    QString body;
    RowStitches counts;
};

// Every row of one side "Knit." or every one "Purl.", over the same
// stitches: they are written once ("Row 2 and all WS rows: Purl.").
bool sideRowsAlike(const ChartGrid &grid, const QList<Line> &lines, bool wrongSide)
{
    const ChartOptions &options = grid.options();
    if (options.knitStyle == KnitStyle::Round || options.skipRows)
        return false;
    const Line *first = nullptr;
    int count = 0;
    for (const Line &line : lines) {
        if (line.wrongSide != wrongSide)
            continue;
        if (!first)
            first = &line;
        ++count;
        if (!line.word || line.body != first->body || line.counts.worked != first->counts.worked
            || showsCount(grid, line.counts))
            return false;
    }
    return count >= 2;
}

// "Row 1 (RS)" for the first row of a side, "Row 3" for the next ones,
// "Rnd 4" in the round; where all rows of the side are written once, the
// first says so and the others have no label.
QString labelOf(const ChartOptions &options, const Line &line, bool sideWrittenOnce, bool sideNamed)
{
    const int number = options.shownRowNumber(line.rowNumber);
    if (options.knitStyle == KnitStyle::Round)
        return tr("Rnd %1").arg(number);
    if (sideWrittenOnce) {
        if (sideNamed)
            return QString();
        return (line.wrongSide ? tr("Row %1 and all WS rows") : tr("Row %1 and all RS rows")).arg(number);
    }
    if (sideNamed)
        return tr("Row %1").arg(number);
    return (line.wrongSide ? tr("Row %1 (WS)") : tr("Row %1 (RS)")).arg(number);
}

// Lace that charts only the right-side rows works the others plainly:
// "Row 2 and all WS rows: Purl.", or as the stitches show where the chart
// has purl stitches.
QString uncharted(const ChartGrid &grid)
{
    bool purls = false;
    for (int y = 0; y < grid.rowCount() && !purls; ++y) {
        for (const Stitch *stitch : grid.rowStitches(y))
            purls = purls || (stitch && stitch->stitchID() == QLatin1String("p"));
    }
    const QString label = tr("Row %1 and all WS rows").arg(grid.options().shownRowNumber(1) + 1);
    return label + QLatin1String(": ") + (purls ? tr("K the knit sts and p the purl sts.") : tr("Purl."));
}

} // namespace

QString PublishedWriter::castOnLine(const ChartGrid &grid)
{
    const int rows = grid.rowCount();
    const int stitches = RowStitches::count(rows > 0 ? grid.rowCells(rows - 1) : QList<ChartCell>()).worked;
    QString line = tr("Cast on %1.").arg(stitchesText(stitches));
    if (rows > 0 && grid.columnCount() > 0) {
        const bool wrongSide = grid.options().isWrongSide(1);
        const WrittenRow row = writtenRow(grid, rows - 1);
        // A row written "Knit." shows no repeat to cast on for.
        const RowRepeat repeat = wholeRowWord(row).isEmpty() ? repeatOf(grid, rows - 1, row, wrongSide) : RowRepeat();
        const int multiple = repeat.isValid() ? workedIn(row, repeat.first, repeat.first + repeat.length) : 0;
        if (multiple > 1) {
            const int plus = stitches - multiple * repeat.copies;
            line = plus > 0 ? tr("Cast on a multiple of %1 plus %2 (%3 in the chart).")
                                  .arg(stitchesText(multiple))
                                  .arg(plus)
                                  .arg(stitchesText(stitches))
                            : tr("Cast on a multiple of %1 (%2 in the chart).")
                                  .arg(stitchesText(multiple), stitchesText(stitches));
        }
    }
    if (grid.options().knitStyle == KnitStyle::Round)
        line += QLatin1Char(' ') + tr("Join to work in the round, being careful not to twist.");
    return line;
}

QString PublishedWriter::rowText(const ChartGrid &grid, int row)
{
    if (row < 0 || row >= grid.rowCount() || grid.columnCount() == 0)
        return QString();
    return finished(rowBody(grid, row), grid, RowStitches::count(grid.rowCells(row)));
}

QString PublishedWriter::text(const QString &title, const ChartGrid &grid)
{
    const int rows = grid.columnCount() > 0 ? grid.rowCount() : 0;
    const ChartOptions &options = grid.options();
    const RowRepeats repeats = rowRepeats(grid);

    QList<Line> lines;
    for (int rowNumber = 1; rowNumber <= rows; ++rowNumber) {
        if (repeats.copied.contains(rowNumber))
            continue;
        const int y = rows - rowNumber;
        Line line{rowNumber, options.isWrongSide(rowNumber), false, QString(), RowStitches::count(grid.rowCells(y))};
        line.body = rowBody(grid, y, &line.word);
        lines.append(line);
    }
    const bool writtenOnce[2] = {sideRowsAlike(grid, lines, false), sideRowsAlike(grid, lines, true)};

    QString text = QLatin1Char('\n') + title + QLatin1Char('\n') + castOnLine(grid) + QLatin1Char('\n');
    bool sideNamed[2] = {false, false};
    for (const Line &line : std::as_const(lines)) {
        const QString label = labelOf(options, line, writtenOnce[line.wrongSide], sideNamed[line.wrongSide]);
        if (!label.isEmpty()) {
            const QString written = finished(line.body, grid, line.counts);
            text += label + QLatin1Char(':') + (written.isEmpty() ? QString() : QLatin1Char(' ') + written)
                + QLatin1Char('\n');
        }
        if (&line == &lines.first() && options.skipRows)
            text += uncharted(grid) + QLatin1Char('\n');
        sideNamed[line.wrongSide] = true;
        if (repeats.lineAfter.contains(line.rowNumber))
            text += repeats.lineAfter.value(line.rowNumber) + QLatin1Char('\n');
    }
    return text;
}
