#ifndef WRITTENROW_H
#define WRITTENROW_H

#include <QList>
#include <QString>

class Stitch;

// One chart row as its written line reads it: the stitches in working
// order (from the right on right-side rows, from the left on wrong-side
// rows), each named as it is worked on that side, with the cells it
// covers counted in working order. No Stitch cells and empty cells have
// no entry but keep their places, so that cells still line up with the
// chart's columns.
//
// Cells are grouped as the plain writer groups them: a run of cells with
// the same name, cut into stitches of the stitch's width ("c4f" over eight
// cells is two stitches).
struct WrittenStitch
{
    const Stitch *stitch = nullptr;
    QString text;
    int firstCell = 0;
    int cells = 1;
};

// A repeat within a written row: `length` stitches from `first` on, worked
// `copies` times. Indices are into WrittenRow::stitches.
struct RowRepeat
{
    int first = 0;
    int length = 0;
    int copies = 0;

    bool isValid() const { return length > 0 && copies > 0; }
    int end() const { return first + length * copies; }
};

class WrittenRow
{
public:
    // `cells` run from the leftmost cell to the rightmost; null cells are
    // empty.
    WrittenRow(const QList<Stitch *> &cells, bool wrongSide);

    const QList<WrittenStitch> &stitches() const { return m_stitches; }
    int width() const { return int(m_cells.size()); }

    // The repeat a box over the working-order cells [first, first + width)
    // marks: the box's cells and every copy of them that follows on
    // either side. Invalid where a stitch straddles a copy's edge or the
    // box holds no written stitch.
    RowRepeat repeatOfBox(int first, int width) const;
    // The repeat covering the most stitches, at least half the row and
    // two copies, of at least two different names; the shortest and
    // earliest of equals. Invalid where there is none.
    RowRepeat longestRepeat() const;

private:
    bool sameCells(int a, int b, int width) const;
    // The stitch that starts at working-order cell `cell`; -1 where a
    // stitch straddles it. The row's end is the index after the last.
    int stitchAt(int cell) const;

    QList<const Stitch *> m_cells; // in working order
    QList<WrittenStitch> m_stitches;
};

#endif // WRITTENROW_H
