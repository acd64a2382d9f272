#include "chartoptions.h"

#include <QtGlobal>

namespace {

// Rows alternate sides when the knitting turns at the end of every row.
bool sidesAlternate(const ChartOptions &options)
{
    return options.knitStyle == KnitStyle::Flat || (options.knitStyle == KnitStyle::Lace && !options.skipRows);
}

} // namespace

bool ChartOptions::operator==(const ChartOptions &other) const
{
    return knitStyle == other.knitStyle && side == other.side && columnNumberOffset == other.columnNumberOffset
        && rowNumberOffset == other.rowNumberOffset && skipRows == other.skipRows && cellSize == other.cellSize
        && numbersAtBottom == other.numbersAtBottom && written == other.written;
}

bool ChartOptions::isWrongSide(int rowNumber) const
{
    const bool rowOneWrongSide = side == Side::WrongSide;
    if (!sidesAlternate(*this))
        return rowOneWrongSide;
    return rowNumber % 2 != 0 ? rowOneWrongSide : !rowOneWrongSide;
}

bool ChartOptions::numberOnRight(int rowNumber) const
{
    return !sidesAlternate(*this) || !isWrongSide(rowNumber);
}

int ChartOptions::shownRowNumber(int rowNumber) const
{
    return (skipRows ? 2 * rowNumber - 1 : rowNumber) + rowNumberOffset;
}

int ChartOptions::rowNumbered(int shown) const
{
    const int counted = shown - rowNumberOffset;
    return skipRows ? (counted + 2) / 2 : counted;
}

QSize ChartOptions::saneCellSize(const QSize &size)
{
    return QSize(qBound(smallestCellSide, size.width(), largestCellSide),
                 qBound(smallestCellSide, size.height(), largestCellSide));
}

QString ChartOptions::sideName(Side side)
{
    return side == Side::WrongSide ? QStringLiteral("Wrong Side") : QStringLiteral("Right Side");
}

Side ChartOptions::sideFromName(const QString &name)
{
    return name == QLatin1String("Wrong Side") ? Side::WrongSide : Side::RightSide;
}

KnitStyle ChartOptions::knitStyleFromValue(int value, bool *known)
{
    const bool valid = value >= int(KnitStyle::Flat) && value <= int(KnitStyle::Lace);
    if (known)
        *known = valid;
    return valid ? KnitStyle(value) : KnitStyle::Flat;
}
