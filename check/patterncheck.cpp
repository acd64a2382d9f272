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
        if (counts.worked != counts.made) {
            findings.append(chartFinding(Severity::Warning, chart, QRect(0, y, width, 1),
                                         tr("%1: row %2 makes %3 from %4: its yarn overs and decreases do not "
                                            "balance; if this is shaping, the pattern must say so")
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
void checkWrongSide(const PatternCheck::Chart &chart, const QString &name, QList<Finding> &findings)
{
    const ChartGrid &grid = *chart.grid;
    const ChartOptions &options = grid.options();
    const StitchSet *set = StitchSet::instance();
    QMap<QString, QRect> cells;
    QMap<QString, int> firstRow;
    // Asked once a stitch: a chart has few stitches and many cells.
    QHash<const Stitch *, bool> worksFromWrongSide;
    const auto hasWorking = [&](const Stitch *stitch) {
        const auto known = worksFromWrongSide.constFind(stitch);
        if (known != worksFromWrongSide.constEnd())
            return known.value();
        const bool works = stitch->stitchID() == QLatin1String("x") || !set->workedAs(stitch, true).trimmed().isEmpty();
        worksFromWrongSide.insert(stitch, works);
        return works;
    };
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

// Every stitch the charts use says in the key how it is worked.
void checkKey(const QList<PatternCheck::Chart> &charts, QList<Finding> &findings)
{
    QStringList seen;
    const StitchSet *set = StitchSet::instance();
    for (const PatternCheck::Chart &chart : charts) {
        for (const auto &[stitch, count] : chart.grid->stitchTally()) {
            if (!stitch || stitch->stitchID() == QLatin1String("x") || seen.contains(stitch->stitchID()))
                continue;
            seen.append(stitch->stitchID());
            if (!set->workedAs(stitch, false).trimmed().isEmpty())
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
            continue;
        }
        if (!directions.contains(chart.title.trimmed(), Qt::CaseInsensitive)) {
            Finding finding = chartFinding(Severity::Note, chart, QRect(),
                                           tr("The Directions page never names the chart %1").arg(chart.title));
            finding.place = Place::Directions;
            findings.append(finding);
        }
    }
}

} // namespace

QList<Finding> PatternCheck::check(const QList<Chart> &charts, const QString &directions)
{
    QList<Finding> findings;
    for (int i = 0; i < charts.size(); ++i) {
        if (!charts.at(i).grid)
            continue;
        const QString name = nameOf(charts.at(i), i);
        checkCounts(charts.at(i), name, findings);
        checkWrongSide(charts.at(i), name, findings);
        checkRepeats(charts.at(i), name, findings);
    }
    checkKey(charts, findings);
    checkNames(charts, directions, findings);
    // Errors first, then warnings, then notes, each in the charts' order.
    std::stable_sort(findings.begin(), findings.end(),
                     [](const Finding &a, const Finding &b) { return a.severity < b.severity; });
    return findings;
}

QList<Finding> PatternCheck::check(const PatternValues &pattern)
{
    QList<Chart> charts;
    QString directions;
    for (const PatternTab &tab : pattern.tabs) {
        if (tab.chart && tab.chart->grid)
            charts.append(Chart{tab.chart->title, tab.chart->grid.get()});
        if (tab.directions) {
            QTextDocument page;
            page.setHtml(tab.directions->html);
            directions += page.toPlainText() + QLatin1Char('\n');
        }
    }
    return check(charts, directions);
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

QByteArray PatternCheck::json(const QList<Finding> &findings)
{
    static const char *const places[] = {"chart", "key", "directions"};
    QJsonArray array;
    for (const Finding &finding : findings) {
        QJsonObject object{{QStringLiteral("severity"), severityName(finding.severity)},
                           {QStringLiteral("place"), QString::fromLatin1(places[int(finding.place)])},
                           {QStringLiteral("message"), finding.message}};
        if (!finding.chart.isEmpty())
            object.insert(QStringLiteral("chart"), finding.chart);
        if (finding.firstRow > 0) {
            object.insert(QStringLiteral("rows"), QJsonArray{finding.firstRow, finding.lastRow});
            object.insert(QStringLiteral("stitches"), QJsonArray{finding.firstStitch, finding.lastStitch});
        }
        array.append(object);
    }
    return QJsonDocument(array).toJson(QJsonDocument::Indented);
}
