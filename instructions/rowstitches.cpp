#include "rowstitches.h"

#include "chartgrid.h"
#include "stitch.h"

namespace {

// Whether `cell` goes on with the placement that `previous` is part of.
bool continues(const ChartCell &previous, const ChartCell &cell)
{
    return cell.stitch == previous.stitch && cell.imgPos == previous.imgPos + 1
           && cell.imgPos < cell.stitch->cellsPerStitch();
}

} // namespace

RowStitches RowStitches::count(const QList<ChartCell> &cells)
{
    RowStitches total;
    const ChartCell *previous = nullptr;
    for (const ChartCell &cell : cells) {
        if (!cell.stitch) {
            previous = nullptr;
            continue;
        }
        if (!previous || !continues(*previous, cell)) {
            total.worked += cell.stitch->worked();
            total.made += cell.stitch->made();
        }
        previous = &cell;
    }
    return total;
}
