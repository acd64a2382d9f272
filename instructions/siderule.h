#ifndef SIDERULE_H
#define SIDERULE_H

#include <QString>

// Which rows of a chart are worked from the wrong side of the fabric.
// Rows are numbered from the bottom, starting at 1.
class SideRule
{
public:
    enum KnitStyle { Flat = 0, Round = 1, Lace = 2 };

    // In flat knitting (and lace that shows every row) the sides alternate,
    // row 1 being on the side the chart names. In the round, and in lace
    // that charts only every second row, every row faces the way row 1
    // does.
    static bool isWrongSide(int knitStyle, const QString &sideSelection, bool skipRows, int rowNumber);
};

#endif // SIDERULE_H
