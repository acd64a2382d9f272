#include "siderule.h"

bool SideRule::isWrongSide(int knitStyle, const QString &sideSelection, bool skipRows, int rowNumber)
{
    const bool rowOneWrongSide = sideSelection == QLatin1String("Wrong Side");
    const bool alternates = knitStyle == Flat || (knitStyle == Lace && !skipRows);
    if (!alternates)
        return rowOneWrongSide;
    const bool odd = rowNumber % 2 != 0;
    return odd ? rowOneWrongSide : !rowOneWrongSide;
}
