// The pattern check of a garment-size chart and of a 1000 x 1000 one,
// each with a repeat box, against its floor: one walk over the model that
// reads every cell's stitch and its arithmetic.

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
    grid.setRepeats({RepeatBox{QRect(3, 0, 8, rows), Qt::red}});
    const QList<PatternCheck::Chart> charts{PatternCheck::Chart{QStringLiteral("Shawl"), &grid, {}}};

    qsizetype found = 0;
    const double check = bench::best(3, [&] { found = PatternCheck::check(charts, QStringLiteral("Shawl")).size(); });
    long total = 0;
    const double walk = bench::best(3, [&] {
        for (int y = 0; y < rows; ++y) {
            for (const ChartCell &cell : grid.rowCells(y))
                total += cell.stitch ? cell.stitch->worked() + cell.stitch->made() : 0;
        }
    });
    bench::escape(&total);
    bench::report(QStringLiteral("check of %1 x %2 (%3 findings)").arg(columns).arg(rows).arg(found), check, walk);
}

} // namespace

int main(int argc, char *argv[])
{
    const auto run = bench::start(argc, argv);
    checkChart(300, 400);
    checkChart(1000, 1000);
    return 0;
}
