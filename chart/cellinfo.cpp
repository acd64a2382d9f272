#include "cellinfo.h"

#include "knitcell.h"
#include "knitscene.h"

CellInfo CellInfo::of(const KnitCell *cell, const QPoint &pos)
{
    CellInfo info;
    info.pos = pos;
    info.stitch = cell->stitch();
    info.imgPos = cell->imgPos();
    info.color = cell->color();
    info.borders[0] = cell->leftBorder();
    info.borders[1] = cell->rightBorder();
    info.borders[2] = cell->topBorder();
    info.borders[3] = cell->bottomBorder();
    info.borderColors[0] = cell->leftBorderColor();
    info.borderColors[1] = cell->rightBorderColor();
    info.borderColors[2] = cell->topBorderColor();
    info.borderColors[3] = cell->bottomBorderColor();
    return info;
}

void CellInfo::restoreInto(KnitScene *scene) const
{
    KnitCell *cell = scene->at(pos.x(), pos.y());
    if (!cell)
        return;
    cell->setStitch(stitch, imgPos);
    cell->setColor(color);
    cell->setLeftBorder(borders[0], borderColors[0]);
    cell->setRightBorder(borders[1], borderColors[1]);
    cell->setTopBorder(borders[2], borderColors[2]);
    cell->setBottomBorder(borders[3], borderColors[3]);
}

QList<CellInfo> CellInfo::ofRow(const KnitScene *scene, int row)
{
    QList<CellInfo> cells;
    for (int x = 0; x < scene->columnCount(); ++x) {
        if (const KnitCell *cell = scene->at(x, row))
            cells.append(of(cell, QPoint(x, row)));
    }
    return cells;
}

QList<CellInfo> CellInfo::ofColumn(const KnitScene *scene, int column)
{
    QList<CellInfo> cells;
    for (int y = 0; y < scene->rowCount(); ++y) {
        if (const KnitCell *cell = scene->at(column, y))
            cells.append(of(cell, QPoint(column, y)));
    }
    return cells;
}
