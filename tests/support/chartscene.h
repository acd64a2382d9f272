#ifndef CHARTSCENE_H
#define CHARTSCENE_H

#include "chartfixtures.h"
#include "chartgrid.h"
#include "knitscene.h"

#include <QUndoStack>

// A chart's model with its undo stack and the scene that shows it and
// takes the mouse, as a chart tab wires them.
struct ChartScene
{
    ChartScene(int columns, int rows, const char *fill = "k")
        : grid(columns, rows, stitchById(fill))
        , scene(&grid, &stack)
    {
    }

    ChartGrid grid;
    QUndoStack stack;
    KnitScene scene;
};

#endif // CHARTSCENE_H
