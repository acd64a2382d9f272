// The pattern check of a garment-size chart and of a 1000 x 1000 one,
// each with a repeat box and two colours, against its floor: one walk over
// the model that reads every cell's stitch and its arithmetic. And what
// the Pattern Check dock does on the window's thread before each check,
// copying the chart, against copying as many bytes.

#include "benchsupport.h"
#include "chartgrid.h"
#include "patterncheck.h"
#include "stitch.h"

#include <QRandomGenerator>

namespace {

void checkChart(int columns, int rows)
{
    StitchSet *set = StitchSet::instance();
    const char *ids[] = {"k", "yo", "ssk", "k", "p", "k2tog", "yo", "k"};
    ChartGrid grid(columns, rows, set->defaultStitch());
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < columns; ++x)
            grid.setStitch(x, y, set->findStitch(QString::fromLatin1(ids[(x + y) % 8])), 0);
    }
    // Stranded in two colours: a band of four in every eight stitches.
    for (int y = 0; y < rows; ++y) {
        for (int x = (y % 8); x < columns; x += 8)
            grid.setColor(x, y, Qt::darkBlue);
    }
    grid.setRepeats({RepeatBox{QRect(3, 0, 8, rows), Qt::red}});
    PatternCheck::Input input;
    input.charts = {PatternCheck::Chart{QStringLiteral("Shawl"), &grid, {}}};
    input.directions = QStringLiteral("Shawl");
    input.gauge = Gauge{22, 30};
    input.key = PatternCheck::keyFor(input.charts);

    qsizetype found = 0;
    const double check = bench::best(3, [&] { found = PatternCheck::check(input).size(); });
    long total = 0;
    const double walk = bench::best(3, [&] {
        for (int y = 0; y < rows; ++y) {
            for (const ChartCell &cell : grid.rowCells(y))
                total += cell.stitch ? cell.stitch->worked() + cell.stitch->made() : 0;
        }
    });
    bench::escape(&total);
    bench::report(QStringLiteral("check of %1 x %2 (%3 findings)").arg(columns).arg(rows).arg(found), check, walk);

    // The dock copies into the copy of its last check; the first check of
    // a pattern takes new memory.
    const std::unique_ptr<ChartGrid> copy = grid.copy();
    const double again = bench::best(3, [&] { grid.copyInto(*copy); });
    const double first = bench::best(3, [&] { bench::escape(grid.copy().get()); });
    // The grid keeps 32 bytes a cell.
    const std::vector<char> bytes(size_t(columns) * size_t(rows) * 32, 1);
    std::vector<char> copied(bytes.size());
    const double memcopy = bench::best(3, [&] { std::copy(bytes.cbegin(), bytes.cend(), copied.begin()); });
    bench::escape(copied.data());
    bench::report(QStringLiteral("dock's copy of %1 x %2").arg(columns).arg(rows), again, memcopy);
    bench::report(QStringLiteral("first copy of %1 x %2").arg(columns).arg(rows), first, memcopy);
}

} // namespace

int main(int argc, char *argv[])
{
    const auto run = bench::start(argc, argv);
    checkChart(300, 400);
    checkChart(1000, 1000);
    return 0;
}
