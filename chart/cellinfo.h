#ifndef CELLINFO_H
#define CELLINFO_H

#include <QColor>
#include <QList>
#include <QPoint>

class KnitCell;
class KnitScene;
class Stitch;

// Everything one cell shows, kept by the commands that remove rows and
// columns so that undoing the removal gives back exactly what was there.
struct CellInfo
{
    QPoint pos;
    Stitch *stitch = nullptr;
    int imgPos = 0;
    QColor color;
    bool borders[4] = {false, false, false, false}; // left, right, top, bottom
    QColor borderColors[4];

    static CellInfo of(const KnitCell *cell, const QPoint &pos);
    // Puts the saved stitch, colour and borders back into the cell at pos.
    void restoreInto(KnitScene *scene) const;

    static QList<CellInfo> ofRow(const KnitScene *scene, int row);
    static QList<CellInfo> ofColumn(const KnitScene *scene, int column);
};

#endif // CELLINFO_H
