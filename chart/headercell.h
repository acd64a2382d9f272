#ifndef HEADERCELL_H
#define HEADERCELL_H

#include "cell.h"

// A square of the frame around the grid: a row or column number, or one of
// the four corners. It shows its object name as the number.
class HeaderCell : public Cell
{
    Q_OBJECT

public:
    HeaderCell(int x, int y, int w, int h);

    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

    bool showText = true;
    bool showBackground = true;
    // On which side of the grid the cell stands (Qt alignment flags).
    int alignment = Qt::AlignLeft;
};

#endif // HEADERCELL_H
