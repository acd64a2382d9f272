#include "chartinstructions.h"

#include "chartgrid.h"
#include "instructionwriter.h"
#include "publishedwriter.h"

#include <QCoreApplication>

QString ChartInstructions::rowText(const ChartGrid &grid, int row, bool includeNoStitch)
{
    if (row < 0 || row >= grid.rowCount() || grid.columnCount() == 0)
        return QString();
    return InstructionWriter::writeRow(grid.rowStitches(row), grid.options().isWrongSide(grid.rowCount() - row),
                                       includeNoStitch);
}

QString ChartInstructions::rowLabel(const ChartGrid &grid, int rowNumber)
{
    const ChartOptions &options = grid.options();
    return InstructionWriter::rowLabel(options.skipRows ? 2 * rowNumber - 1 : rowNumber, options);
}

RowStitches ChartInstructions::rowStitches(const ChartGrid &grid, int row)
{
    return RowStitches::count(grid.rowCells(row));
}

QString ChartInstructions::castOnLine(const ChartGrid &grid)
{
    const int stitches = rowStitches(grid, grid.rowCount() - 1).worked;
    if (stitches == 1)
        return QCoreApplication::translate("Chart", "Cast on 1 stitch");
    return QCoreApplication::translate("Chart", "Cast on %1 stitches").arg(stitches);
}

QString ChartInstructions::text(const QString &title, const ChartGrid &grid)
{
    return text(title, grid, grid.options().written.style);
}

QString ChartInstructions::text(const QString &title, const ChartGrid &grid, WrittenStyle style)
{
    if (style == WrittenStyle::Published)
        return PublishedWriter::text(title, grid);
    const int rows = grid.rowCount();
    QString text = QLatin1Char('\n') + title + QLatin1Char('\n');
    text += castOnLine(grid) + QLatin1Char('\n');
    for (int i = 1; i <= rows; ++i)
        text += rowLabel(grid, i) + QLatin1String(": ") + rowText(grid, rows - i, false) + QLatin1Char('\n');
    return text;
}
