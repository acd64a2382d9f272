#ifndef CHARTGRID_H
#define CHARTGRID_H

#include "chartoptions.h"
#include "repeatbox.h"
#include "stitch.h"

#include <QColor>
#include <QList>
#include <QObject>
#include <QPair>
#include <QPoint>
#include <QRect>

#include <algorithm>
#include <memory>
#include <vector>

// Everything one cell of a chart holds: a stitch (or one cell of a
// multi-cell stitch, `imgPos` telling which), a background colour and four
// borders, each on or off with its colour.
struct ChartCell
{
    enum Edge { Left = 0, Right = 1, Top = 2, Bottom = 3 };

    Stitch *stitch = nullptr;
    int imgPos = 0;
    QColor color = Qt::white;
    bool borders[4] = {false, false, false, false};
    // An untouched border has no colour of its own: transparent.
    QColor borderColors[4] = {Qt::transparent, Qt::transparent, Qt::transparent, Qt::transparent};

    bool hasBorders() const;
    bool operator==(const ChartCell &other) const;
    bool operator!=(const ChartCell &other) const { return !(*this == other); }
};

// The cells of one chart and its options, as plain values: the one place
// that knows a chart's grid. Views (the scene that draws it, the written
// instructions) and everything else read it here and hear of its changes
// in grid coordinates; they never hold a copy.
//
// Coordinates: column x counts from the left, row y from the top, both
// from 0. The knitter's row numbers run the other way: the row at index y
// is row rowCount() - y, the bottom row is row 1.
//
// Contract:
// - Positions off the grid are ignored by every setter and answered with
//   null, 0, an invalid colour or an empty cell by every getter.
// - Every change is announced: cellsChanged() with the rectangle of cells
//   that may look different, and for each cell whose stitch or colour
//   changed stitchChanged() or colorChanged() with the old and new values
//   (the tallies of what is in use follow those). Setting a value a cell
//   already has announces nothing.
// - A grid without rows has no columns either; it keeps its width for the
//   next row inserted.
// - Stitches belong to the catalogue; the grid keeps plain pointers.
//
// Storage is one flat array of 32-byte cells; borders, which few cells
// have, live in a side table.
class ChartGrid : public QObject
{
    Q_OBJECT

public:
    // A chart of `columns` x `rows` cells of `fill` on `color`.
    ChartGrid(int columns, int rows, Stitch *fill, const QColor &color = Qt::white, QObject *parent = nullptr);
    ~ChartGrid() override;
    // A grid of the same cells, options, boxes and marks that nothing
    // watches: a snapshot for work on another thread.
    std::unique_ptr<ChartGrid> copy() const;
    // Makes `target`, a grid nothing watches, such a copy of this one,
    // reusing the memory it has: a copy of the same size allocates nothing.
    void copyInto(ChartGrid &target) const;

    int columnCount() const { return m_rows > 0 ? m_columns : 0; }
    int rowCount() const { return m_rows; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < columnCount() && y < m_rows; }
    bool contains(const QPoint &pos) const { return contains(pos.x(), pos.y()); }

    Stitch *stitch(int x, int y) const;
    int imgPos(int x, int y) const;
    QColor color(int x, int y) const;
    bool hasBorder(int x, int y, ChartCell::Edge edge) const;
    QColor borderColor(int x, int y, ChartCell::Edge edge) const;
    ChartCell cell(int x, int y) const;
    ChartCell cell(const QPoint &pos) const { return cell(pos.x(), pos.y()); }
    // Row y's stitches, leftmost first.
    QList<Stitch *> rowStitches(int y) const;
    // The cells of row y, leftmost first, or of column x, top first.
    QList<ChartCell> rowCells(int y) const;
    QList<ChartCell> columnCells(int x) const;

    void setStitch(int x, int y, Stitch *stitch, int imgPos);
    // Row `y` from `row`, leftmost cell first, as far as both reach; null
    // entries leave their cells alone.
    void setRow(int y, const QList<Stitch *> &row);
    // The image each cell of `row` shows: a stitch over several cells
    // repeated along the row shows its images in turn, one placement after
    // the other.
    static QList<int> imageIndexes(const QList<Stitch *> &row);
    void setColor(int x, int y, const QColor &color);
    // Sets one border of one cell only; the neighbour across the edge is
    // the caller's business.
    void setBorder(int x, int y, ChartCell::Edge edge, bool on, const QColor &color);
    // The stitch, then the colour, then the borders.
    void setCell(int x, int y, const ChartCell &cell);
    // Sets a cell without announcing it: only for a reader filling a grid
    // that nobody watches yet.
    void restoreCell(int x, int y, const ChartCell &cell);

    // Structural edits. A new row or column is `fill` on white without
    // borders; it is announced, then each of its cells as it arrived. A
    // removed one announces each of its cells going (null stitch, invalid
    // colour), then its removal. Indexes out of range are brought into it
    // for insertions and ignored for removals.
    void insertRow(int row, Stitch *fill);
    void insertColumn(int column, Stitch *fill);
    void removeRow(int row);
    void removeColumn(int column);

    // Exchange the stitches and colours of two cells, or give one cell the
    // stitch and colour of another. Borders stay where they are. Nothing
    // happens when either cell is off the grid.
    void swapCells(const QPoint &a, const QPoint &b);
    void copyCell(const QPoint &from, const QPoint &to);

    // The positions of the cells that show the stitch with ID `stitchId`,
    // row by row.
    QList<QPoint> cellsWithStitch(const QString &stitchId) const;

    // What is in use, in the order the cells first show it row by row,
    // with the number of cells each.
    QList<QPair<Stitch *, int>> stitchTally() const;
    QList<QPair<QColor, int>> colorTally() const;

    // The pattern repeats marked on the chart. The structural edits move,
    // grow and shrink them (see RepeatBoxes); setRepeats() brings them
    // within the grid and announces repeatsChanged() when they change.
    const QList<RepeatBox> &repeats() const { return m_repeats; }
    void setRepeats(const QList<RepeatBox> &boxes);

    // The rows the designer marked as shaping, whose stitch count changes
    // on purpose (grid rows, ascending). Inserting and removing rows moves
    // the marks with their rows; setShapingRows() keeps those within the
    // grid and announces shapingRowsChanged() when they change.
    const QList<int> &shapingRows() const { return m_shapingRows; }
    bool isShapingRow(int y) const { return std::binary_search(m_shapingRows.cbegin(), m_shapingRows.cend(), y); }
    void setShapingRows(const QList<int> &rows);

    const ChartOptions &options() const { return m_options; }
    // Each announces optionsChanged() when it changes anything.
    void setOptions(const ChartOptions &options);
    void setKnitStyle(KnitStyle style);
    void setSide(Side side);
    void setColumnNumberOffset(int offset);
    void setRowNumberOffset(int offset);
    void setSkipRows(bool skip);
    void setNumbersAtBottom(std::optional<bool> shown);
    void setWrittenOptions(const WrittenOptions &written);
    // Brought into the range ChartOptions allows.
    void setCellSize(const QSize &size);

Q_SIGNALS:
    void cellsChanged(const QRect &cells);
    void stitchChanged(int x, int y, Stitch *stitch, Stitch *oldStitch);
    void colorChanged(int x, int y, const QColor &color, const QColor &oldColor);
    void rowsInserted(int row, int count);
    void rowsRemoved(int row, int count);
    void columnsInserted(int column, int count);
    void columnsRemoved(int column, int count);
    void optionsChanged();
    void repeatsChanged();
    void shapingRowsChanged();

private:
    struct Cell
    {
        Stitch *stitch = nullptr;
        QColor color;
        qint32 imgPos = 0;
        // 1 + the index of the cell's borders in m_borders; 0 for none.
        quint32 borders = 0;
    };
    struct Borders
    {
        bool on[4] = {false, false, false, false};
        QColor colors[4] = {Qt::transparent, Qt::transparent, Qt::transparent, Qt::transparent};
    };

    Cell &at(int x, int y) { return m_cells[size_t(y) * size_t(m_columns) + size_t(x)]; }
    const Cell &at(int x, int y) const { return m_cells[size_t(y) * size_t(m_columns) + size_t(x)]; }
    const Borders *bordersOf(const Cell &cell) const;
    Borders &ownBorders(Cell &cell);
    void releaseBorders(Cell &cell);
    void announce(int x, int y) { Q_EMIT cellsChanged(QRect(x, y, 1, 1)); }
    void changeOptions(const ChartOptions &options);
    void changeRepeats(const QList<RepeatBox> &boxes);
    void changeShapingRows(const QList<int> &rows);
    // The marks after row `row` came (+1) or went (-1).
    QList<int> shapingRowsMoved(int row, int step) const;

    int m_columns = 0;
    int m_rows = 0;
    std::vector<Cell> m_cells;
    std::vector<Borders> m_borders;
    std::vector<quint32> m_freeBorders;
    ChartOptions m_options;
    QList<RepeatBox> m_repeats;
    QList<int> m_shapingRows;
};

#endif // CHARTGRID_H
