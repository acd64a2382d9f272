#include "patterncheck.h"

#include "chartgrid.h"
#include "patternfile.h"
#include "rowstitches.h"
#include "directionsrecord.h"
#include "stitch.h"
#include "stitchset.h"
#include "writtenrow.h"

#include <QCoreApplication>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QVarLengthArray>
#include <QTextDocument>

namespace {

using Finding = PatternCheck::Finding;
using Severity = PatternCheck::Severity;
using Place = PatternCheck::Place;

QString tr(const char *text)
{
    return QCoreApplication::translate("PatternCheck", text);
}

// A finding about the cells `cells` of `chart`, numbered as it numbers
// them.
Finding chartFinding(Severity severity, const PatternCheck::Chart &chart, const QRect &cells, const QString &message)
{
    Finding finding;
    finding.severity = severity;
    finding.place = Place::Chart;
    finding.chart = chart.title;
    finding.cells = cells;
    finding.message = message;
    if (!cells.isEmpty()) {
        const ChartGrid &grid = *chart.grid;
        const ChartOptions &options = grid.options();
        finding.firstRow = options.shownRowNumber(grid.rowCount() - cells.bottom());
        finding.lastRow = options.shownRowNumber(grid.rowCount() - cells.top());
        finding.firstStitch = grid.columnCount() - cells.right() + options.columnNumberOffset;
        finding.lastStitch = grid.columnCount() - cells.left() + options.columnNumberOffset;
    }
    return finding;
}

// "Lace Edging", or "Chart 2" for a chart without a title.
QString nameOf(const PatternCheck::Chart &chart, int index)
{
    return chart.title.isEmpty() ? tr("Chart %1").arg(index + 1) : chart.title;
}

bool isNoStitch(const Stitch *stitch)
{
    return stitch->stitchID() == QLatin1String("x");
}

QString stitchesText(int count)
{
    return count == 1 ? tr("1 stitch") : tr("%1 stitches").arg(count);
}

// Row by row, bottom first: the stitches each row leaves are the ones the
// next one works; and a row that makes more or fewer than it works is
// lace that does not balance, or shaping the pattern must say.
void checkCounts(const PatternCheck::Chart &chart, const QString &name, QList<Finding> &findings)
{
    const ChartGrid &grid = *chart.grid;
    const ChartOptions &options = grid.options();
    const int rows = grid.rowCount();
    const int width = grid.columnCount();
    RowStitches below;
    for (int number = 1; number <= rows; ++number) {
        const int y = rows - number;
        const RowStitches counts = RowStitches::count(grid.rowCells(y));
        const int shown = options.shownRowNumber(number);
        if (number > 1 && below.made != counts.worked) {
            findings.append(chartFinding(Severity::Error, chart, QRect(0, y, width, 2),
                                         tr("%1: row %2: %3 made, row %4 works %5")
                                             .arg(name)
                                             .arg(options.shownRowNumber(number - 1))
                                             .arg(stitchesText(below.made))
                                             .arg(shown)
                                             .arg(counts.worked)));
        }
        if (counts.worked != counts.made && !grid.isShapingRow(y)) {
            findings.append(chartFinding(Severity::Warning, chart, QRect(0, y, width, 1),
                                         tr("%1: row %2 makes %3 from %4: its yarn overs and decreases do not "
                                            "balance; if this is shaping, mark the row as shaping")
                                             .arg(name)
                                             .arg(shown)
                                             .arg(counts.made)
                                             .arg(counts.worked)));
        }
        below = counts;
    }
}

// A stitch worked on a wrong-side row needs its wrong-side working in the
// key. One finding a stitch, over every such cell.
void checkWrongSide(const PatternCheck::Chart &chart, const QString &name,
                    const QHash<const Stitch *, PatternCheck::KeyEntry> &key, QList<Finding> &findings)
{
    const ChartGrid &grid = *chart.grid;
    const ChartOptions &options = grid.options();
    const auto hasWorking = [&](const Stitch *stitch) { return key.value(stitch, {true, true}).wrongSide; };
    QMap<QString, QRect> cells;
    QMap<QString, int> firstRow;
    for (int number = 1; number <= grid.rowCount(); ++number) {
        if (!options.isWrongSide(number))
            continue;
        const int y = grid.rowCount() - number;
        for (int x = 0; x < grid.columnCount(); ++x) {
            const Stitch *stitch = grid.stitch(x, y);
            if (!stitch || hasWorking(stitch))
                continue;
            const QString id = stitch->stitchID();
            cells[id] = cells.value(id).united(QRect(x, y, 1, 1));
            if (!firstRow.contains(id))
                firstRow.insert(id, options.shownRowNumber(number));
        }
    }
    for (auto it = cells.cbegin(); it != cells.cend(); ++it) {
        findings.append(chartFinding(Severity::Warning, chart, it.value(),
                                     tr("%1: row %2: %3 is worked on a wrong-side row, and the key does not say "
                                        "how to work it from the wrong side")
                                         .arg(name)
                                         .arg(firstRow.value(it.key()))
                                         .arg(it.key())));
    }
}

int workedIn(const WrittenRow &row, const RowRepeat &repeat, bool made)
{
    int count = 0;
    for (int i = repeat.first; i < repeat.first + repeat.length; ++i) {
        const Stitch *stitch = row.stitches().at(i).stitch;
        count += made ? stitch->made() : stitch->worked();
    }
    return count;
}

// A repeat box must hold whole stitches on every row it covers, and the
// stitches one repeat leaves must be the ones it works on the next row,
// or the multiple does not hold from row to row.
void checkRepeats(const PatternCheck::Chart &chart, const QString &name, QList<Finding> &findings)
{
    const ChartGrid &grid = *chart.grid;
    const ChartOptions &options = grid.options();
    const int rows = grid.rowCount();
    for (const RepeatBox &box : grid.repeats()) {
        bool belowValid = false;
        int belowMade = 0;
        for (int y = box.cells.bottom(); y >= box.cells.top(); --y) {
            const int number = rows - y;
            const bool wrongSide = options.isWrongSide(number);
            const WrittenRow row(grid.rowStitches(y), wrongSide);
            const int first = wrongSide ? box.cells.left() : grid.columnCount() - 1 - box.cells.right();
            const RowRepeat repeat = row.repeatOfBox(first, box.cells.width());
            const QRect cells(box.cells.left(), y, box.cells.width(), 1);
            if (!repeat.isValid()) {
                bool empty = true;
                for (int x = box.cells.left(); x <= box.cells.right() && empty; ++x)
                    empty = !grid.stitch(x, y) || grid.stitch(x, y)->stitchID() == QLatin1String("x");
                if (!empty) {
                    findings.append(chartFinding(Severity::Warning, chart, cells,
                                                 tr("%1: row %2: the repeat box cuts a stitch in two")
                                                     .arg(name)
                                                     .arg(options.shownRowNumber(number))));
                    break;
                }
                belowValid = false;
                continue;
            }
            const int worked = workedIn(row, repeat, false);
            if (belowValid && worked != belowMade) {
                findings.append(chartFinding(Severity::Warning, chart, cells.adjusted(0, 0, 0, 1),
                                             tr("%1: row %2: each repeat makes %3, the next row works %4 in each")
                                                 .arg(name)
                                                 .arg(options.shownRowNumber(number - 1))
                                                 .arg(stitchesText(belowMade))
                                                 .arg(worked)));
                break;
            }
            belowValid = true;
            belowMade = workedIn(row, repeat, true);
        }
    }
}

// The longest float of row `y`: the most stitches one colour is carried
// behind between two of its own. In the round the yarn goes on into the
// next round, so the float across the end of a round counts too; on flat
// rows the yarn waits at the edge. Cells are x from the left; No Stitch
// cells are not stitches and carry no float.
struct Float
{
    int length = 0;
    int first = -1;
    int last = -1;
    // How many colours the row has.
    int colours = 0;
};

Float longestFloat(const ChartGrid &grid, int y, bool inTheRound, const QHash<const Stitch *, PatternCheck::KeyEntry> &key)
{
    struct Seen
    {
        QRgb color;
        int firstIndex;
        int lastCell;
        int lastIndex;
    };
    QVarLengthArray<Seen, 8> seen;
    QVarLengthArray<int, 256> cellOf;
    Float longest;
    int index = 0;
    for (int x = 0; x < grid.columnCount(); ++x) {
        const Stitch *stitch = grid.stitch(x, y);
        if (!stitch || key.value(stitch).noStitch)
            continue;
        cellOf.append(x);
        const QRgb color = grid.color(x, y).rgba();
        auto it = std::find_if(seen.begin(), seen.end(), [color](const Seen &s) { return s.color == color; });
        if (it == seen.end()) {
            seen.append(Seen{color, index, x, index});
        } else {
            const int length = index - it->lastIndex - 1;
            if (length > longest.length)
                longest = Float{length, it->lastCell + 1, x - 1};
            it->lastCell = x;
            it->lastIndex = index;
        }
        ++index;
    }
    if (seen.size() < 2)
        return Float{0, -1, -1, int(seen.size())};
    if (inTheRound) {
        for (const Seen &s : seen) {
            const int length = (index - 1 - s.lastIndex) + s.firstIndex;
            if (length <= longest.length)
                continue;
            // Across the end of the round: the whole round is shown.
            longest = Float{length, cellOf.at(0), cellOf.at(index - 1), 0};
        }
    }
    longest.colours = int(seen.size());
    return longest;
}

bool hasColourwork(const ChartGrid &grid, const QHash<const Stitch *, PatternCheck::KeyEntry> &key)
{
    for (int y = 0; y < grid.rowCount(); ++y) {
        if (longestFloat(grid, y, false, key).colours > 1)
            return true;
    }
    return false;
}

// Floats longer than the knitter can leave uncaught, at the pattern's
// gauge: one finding a row, for its longest float.
void checkFloats(const PatternCheck::Chart &chart, const QString &name, const PatternCheck::Input &input,
                 QList<Finding> &findings)
{
    const ChartGrid &grid = *chart.grid;
    if (!input.gauge.isGiven()) {
        if (hasColourwork(grid, input.key))
            findings.append(chartFinding(Severity::Note, chart, QRect(),
                                         tr("%1: its rows use more than one colour, and the pattern has no gauge to "
                                            "measure their floats by; give it in Document > Properties")
                                             .arg(name)));
        return;
    }
    const double cmPerStitch = 10.0 / input.gauge.stitches;
    // A limit no knitter would set reads as the usual one.
    const double limit = input.floatLimit >= 0.5 && input.floatLimit <= 20 ? input.floatLimit : 2.5;
    // Lengths are compared as they are written, to the millimetre, so that
    // no message says "2.5 cm, longer than 2.5 cm". The numbers are written
    // the same way everywhere, so that a dismissed finding stays dismissed.
    const auto millimetres = [](double cm) { return qRound(cm * 10); };
    const auto written = [](double cm) { return QString::number(cm, 'f', 1); };
    const bool inTheRound = grid.options().knitStyle == KnitStyle::Round;
    const ChartOptions &options = grid.options();
    for (int number = 1; number <= grid.rowCount(); ++number) {
        const int y = grid.rowCount() - number;
        const Float longest = longestFloat(grid, y, inTheRound, input.key);
        const double length = longest.length * cmPerStitch;
        if (longest.length == 0 || millimetres(length) <= millimetres(limit))
            continue;
        const QRect cells(longest.first, y, longest.last - longest.first + 1, 1);
        findings.append(chartFinding(Severity::Warning, chart, cells,
                                     tr("%1: row %2: a float of %3 (%4 cm), longer than %5 cm; catch it or "
                                        "break up the colour")
                                         .arg(name)
                                         .arg(options.shownRowNumber(number))
                                         .arg(stitchesText(longest.length))
                                         .arg(written(length), written(limit))));
    }
}

// Every stitch the charts use says in the key how it is worked.
void checkKey(const QList<PatternCheck::Chart> &charts, const QHash<const Stitch *, PatternCheck::KeyEntry> &key,
              QList<Finding> &findings)
{
    QStringList seen;
    for (const PatternCheck::Chart &chart : charts) {
        for (const auto &[stitch, count] : chart.grid->stitchTally()) {
            if (!stitch || isNoStitch(stitch) || seen.contains(stitch->stitchID()))
                continue;
            seen.append(stitch->stitchID());
            if (key.value(stitch, {true, true}).rightSide)
                continue;
            Finding finding;
            finding.severity = Severity::Warning;
            finding.place = Place::Key;
            finding.message = tr("The key: %1 (%2) has no description").arg(stitch->stitchID(), stitch->name());
            findings.append(finding);
        }
    }
}

// Every chart has a title, and the Directions page says how to work it.
void checkNames(const QList<PatternCheck::Chart> &charts, const QString &directions, QList<Finding> &findings)
{
    for (int i = 0; i < charts.size(); ++i) {
        const PatternCheck::Chart &chart = charts.at(i);
        if (chart.title.trimmed().isEmpty()) {
            findings.append(chartFinding(Severity::Warning, chart, QRect(),
                                         tr("%1 has no title").arg(nameOf(chart, i))));
            findings.last().chartIndex = i;
            continue;
        }
        if (!directions.contains(chart.title.trimmed(), Qt::CaseInsensitive)) {
            Finding finding = chartFinding(Severity::Note, chart, QRect(),
                                           tr("The Directions page never names the chart %1").arg(chart.title));
            finding.place = Place::Directions;
            finding.chartIndex = i;
            findings.append(finding);
        }
    }
}

} // namespace

QHash<const Stitch *, PatternCheck::KeyEntry> PatternCheck::keyFor(const QList<const Stitch *> &stitches)
{
    QHash<const Stitch *, KeyEntry> key;
    const StitchSet *set = StitchSet::instance();
    for (const Stitch *stitch : stitches) {
        if (!stitch || key.contains(stitch))
            continue;
        // No Stitch is no stitch to work from either side.
        const bool none = isNoStitch(stitch);
        key.insert(stitch, KeyEntry{none || !set->workedAs(stitch, false).trimmed().isEmpty(),
                                    none || !set->workedAs(stitch, true).trimmed().isEmpty(), none});
    }
    return key;
}

QHash<const Stitch *, PatternCheck::KeyEntry> PatternCheck::keyFor(const QList<Chart> &charts)
{
    QList<const Stitch *> stitches;
    for (const Chart &chart : charts) {
        if (!chart.grid)
            continue;
        for (const auto &[stitch, count] : chart.grid->stitchTally())
            stitches.append(stitch);
    }
    return keyFor(stitches);
}

PatternCheck::Chart PatternCheck::copyOf(const QString &title, const ChartGrid &grid)
{
    Chart chart;
    chart.title = title;
    chart.kept = grid.copy();
    chart.grid = chart.kept.get();
    return chart;
}

QList<Finding> PatternCheck::check(const QList<Chart> &charts, const QString &directions)
{
    Input input;
    input.charts = charts;
    input.directions = directions;
    input.key = keyFor(charts);
    return check(input);
}

QList<Finding> PatternCheck::check(const Input &input)
{
    QList<Finding> findings;
    const QList<Chart> &charts = input.charts;
    for (int i = 0; i < charts.size(); ++i) {
        if (!charts.at(i).grid)
            continue;
        const QString name = nameOf(charts.at(i), i);
        const qsizetype before = findings.size();
        checkCounts(charts.at(i), name, findings);
        checkWrongSide(charts.at(i), name, input.key, findings);
        checkRepeats(charts.at(i), name, findings);
        checkFloats(charts.at(i), name, input, findings);
        for (qsizetype f = before; f < findings.size(); ++f)
            findings[f].chartIndex = i;
    }
    checkKey(charts, input.key, findings);
    checkNames(charts, input.directions, findings);
    // Errors first, then warnings, then notes, each in the charts' order.
    std::stable_sort(findings.begin(), findings.end(),
                     [](const Finding &a, const Finding &b) { return a.severity < b.severity; });
    return findings;
}

QList<Finding> PatternCheck::check(const PatternValues &pattern, double floatLimit)
{
    Input input;
    for (const PatternTab &tab : pattern.tabs) {
        if (tab.chart && tab.chart->grid)
            input.charts.append(Chart{tab.chart->title, tab.chart->grid.get(), {}});
        if (tab.directions) {
            QTextDocument page;
            page.setHtml(tab.directions->html);
            input.directions += page.toPlainText() + QLatin1Char('\n');
        }
    }
    input.gauge = pattern.settings.gauge;
    input.floatLimit = floatLimit;
    input.key = keyFor(input.charts);
    return check(input);
}

QList<Finding> PatternCheck::withoutDismissed(const QList<Finding> &findings, const QStringList &dismissed)
{
    QList<Finding> shown;
    for (const Finding &finding : findings) {
        if (!dismissed.contains(finding.message))
            shown.append(finding);
    }
    return shown;
}

bool PatternCheck::hasErrors(const QList<Finding> &findings)
{
    return std::any_of(findings.cbegin(), findings.cend(),
                       [](const Finding &finding) { return finding.severity == Severity::Error; });
}

QString PatternCheck::severityName(Severity severity)
{
    switch (severity) {
    case Severity::Error:
        return QStringLiteral("error");
    case Severity::Warning:
        return QStringLiteral("warning");
    case Severity::Note:
        break;
    }
    return QStringLiteral("note");
}

QByteArray PatternCheck::json(const QList<Finding> &findings, const QStringList &dismissed)
{
    static const char *const places[] = {"chart", "key", "directions"};
    QJsonArray array;
    for (const Finding &finding : findings) {
        QJsonObject object{{QStringLiteral("severity"), severityName(finding.severity)},
                           {QStringLiteral("place"), QString::fromLatin1(places[int(finding.place)])},
                           {QStringLiteral("message"), finding.message}};
        if (!finding.chart.isEmpty())
            object.insert(QStringLiteral("chart"), finding.chart);
        if (dismissed.contains(finding.message))
            object.insert(QStringLiteral("dismissed"), true);
        if (finding.firstRow > 0) {
            object.insert(QStringLiteral("rows"), QJsonArray{finding.firstRow, finding.lastRow});
            object.insert(QStringLiteral("stitches"), QJsonArray{finding.firstStitch, finding.lastStitch});
        }
        array.append(object);
    }
    return QJsonDocument(array).toJson(QJsonDocument::Indented);
}
