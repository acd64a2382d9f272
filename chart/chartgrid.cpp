#include "chartgrid.h"

#include "stitch.h"

#include <QHash>

namespace {

bool sameBorders(const bool (&on)[4], const QColor (&colors)[4], const bool (&otherOn)[4],
                 const QColor (&otherColors)[4])
{
    for (int side = 0; side < 4; ++side) {
        if (on[side] != otherOn[side] || colors[side] != otherColors[side])
            return false;
    }
    return true;
}

const ChartCell untouchedCell;

} // namespace

bool ChartCell::hasBorders() const
{
    return !sameBorders(borders, borderColors, untouchedCell.borders, untouchedCell.borderColors);
}

bool ChartCell::operator==(const ChartCell &other) const
{
    return stitch == other.stitch && imgPos == other.imgPos && color == other.color
        && sameBorders(borders, borderColors, other.borders, other.borderColors);
}

ChartGrid::ChartGrid(int columns, int rows, Stitch *fill, const QColor &color, QObject *parent)
    : QObject(parent)
    , m_columns(qMax(0, columns))
    , m_rows(qMax(0, rows))
{
    Cell blank;
    blank.stitch = fill;
    blank.color = color;
    m_cells.assign(size_t(m_columns) * size_t(m_rows), blank);
}

ChartGrid::~ChartGrid() = default;

Stitch *ChartGrid::stitch(int x, int y) const
{
    return contains(x, y) ? at(x, y).stitch : nullptr;
}

std::unique_ptr<ChartGrid> ChartGrid::copy() const
{
    auto grid = std::make_unique<ChartGrid>(0, 0, nullptr);
    copyInto(*grid);
    return grid;
}

void ChartGrid::copyInto(ChartGrid &target) const
{
    target.m_columns = m_columns;
    target.m_rows = m_rows;
    target.m_cells = m_cells;
    target.m_borders = m_borders;
    target.m_freeBorders = m_freeBorders;
    target.m_options = m_options;
    target.m_repeats = m_repeats;
    target.m_shapingRows = m_shapingRows;
}

int ChartGrid::imgPos(int x, int y) const
{
    return contains(x, y) ? at(x, y).imgPos : 0;
}

QColor ChartGrid::color(int x, int y) const
{
    return contains(x, y) ? at(x, y).color : QColor();
}

bool ChartGrid::hasBorder(int x, int y, ChartCell::Edge edge) const
{
    if (!contains(x, y))
        return false;
    const Borders *borders = bordersOf(at(x, y));
    return borders && borders->on[edge];
}

QColor ChartGrid::borderColor(int x, int y, ChartCell::Edge edge) const
{
    if (!contains(x, y))
        return QColor();
    const Borders *borders = bordersOf(at(x, y));
    return borders ? borders->colors[edge] : QColor(Qt::transparent);
}

ChartCell ChartGrid::cell(int x, int y) const
{
    ChartCell value;
    if (!contains(x, y)) {
        value.color = QColor();
        return value;
    }
    const Cell &stored = at(x, y);
    value.stitch = stored.stitch;
    value.imgPos = stored.imgPos;
    value.color = stored.color;
    if (const Borders *borders = bordersOf(stored)) {
        for (int side = 0; side < 4; ++side) {
            value.borders[side] = borders->on[side];
            value.borderColors[side] = borders->colors[side];
        }
    }
    return value;
}

QList<Stitch *> ChartGrid::rowStitches(int y) const
{
    QList<Stitch *> stitches;
    if (y < 0 || y >= m_rows)
        return stitches;
    stitches.reserve(m_columns);
    for (int x = 0; x < m_columns; ++x)
        stitches.append(at(x, y).stitch);
    return stitches;
}

QList<ChartCell> ChartGrid::rowCells(int y) const
{
    QList<ChartCell> cells;
    if (y < 0 || y >= m_rows)
        return cells;
    cells.reserve(m_columns);
    for (int x = 0; x < m_columns; ++x)
        cells.append(cell(x, y));
    return cells;
}

QList<ChartCell> ChartGrid::columnCells(int x) const
{
    QList<ChartCell> cells;
    if (x < 0 || x >= columnCount())
        return cells;
    cells.reserve(m_rows);
    for (int y = 0; y < m_rows; ++y)
        cells.append(cell(x, y));
    return cells;
}

const ChartGrid::Borders *ChartGrid::bordersOf(const Cell &cell) const
{
    return cell.borders ? &m_borders[cell.borders - 1] : nullptr;
}

ChartGrid::Borders &ChartGrid::ownBorders(Cell &cell)
{
    if (!cell.borders) {
        if (m_freeBorders.empty()) {
            m_borders.emplace_back();
            cell.borders = quint32(m_borders.size());
        } else {
            cell.borders = m_freeBorders.back() + 1;
            m_freeBorders.pop_back();
            m_borders[cell.borders - 1] = Borders();
        }
    }
    return m_borders[cell.borders - 1];
}

void ChartGrid::releaseBorders(Cell &cell)
{
    if (!cell.borders)
        return;
    m_freeBorders.push_back(cell.borders - 1);
    cell.borders = 0;
}

void ChartGrid::setStitch(int x, int y, Stitch *stitch, int imgPos)
{
    if (!contains(x, y))
        return;
    Cell &cell = at(x, y);
    if (cell.stitch && cell.stitch == stitch && cell.imgPos == imgPos)
        return;
    Stitch *old = cell.stitch;
    cell.stitch = stitch;
    cell.imgPos = imgPos;
    Q_EMIT stitchChanged(x, y, stitch, old);
    announce(x, y);
}

void ChartGrid::setColor(int x, int y, const QColor &color)
{
    if (!contains(x, y))
        return;
    Cell &cell = at(x, y);
    if (cell.color == color)
        return;
    const QColor old = cell.color;
    cell.color = color;
    Q_EMIT colorChanged(x, y, color, old);
    announce(x, y);
}

void ChartGrid::setBorder(int x, int y, ChartCell::Edge edge, bool on, const QColor &color)
{
    if (!contains(x, y))
        return;
    Cell &cell = at(x, y);
    Borders &borders = ownBorders(cell);
    borders.on[edge] = on;
    borders.colors[edge] = color;
    if (sameBorders(borders.on, borders.colors, untouchedCell.borders, untouchedCell.borderColors))
        releaseBorders(cell);
    announce(x, y);
}

void ChartGrid::setCell(int x, int y, const ChartCell &value)
{
    if (!contains(x, y))
        return;
    setStitch(x, y, value.stitch, value.imgPos);
    setColor(x, y, value.color);
    for (int side = ChartCell::Left; side <= ChartCell::Bottom; ++side)
        setBorder(x, y, ChartCell::Edge(side), value.borders[side], value.borderColors[side]);
}

void ChartGrid::restoreCell(int x, int y, const ChartCell &value)
{
    if (!contains(x, y))
        return;
    Cell &cell = at(x, y);
    cell.stitch = value.stitch;
    cell.imgPos = value.imgPos;
    cell.color = value.color;
    if (!value.hasBorders()) {
        releaseBorders(cell);
        return;
    }
    Borders &borders = ownBorders(cell);
    for (int side = 0; side < 4; ++side) {
        borders.on[side] = value.borders[side];
        borders.colors[side] = value.borderColors[side];
    }
}

void ChartGrid::insertRow(int row, Stitch *fill)
{
    row = qBound(0, row, m_rows);
    Cell blank;
    blank.stitch = fill;
    blank.color = Qt::white;
    m_cells.insert(m_cells.begin() + ptrdiff_t(row) * m_columns, size_t(m_columns), blank);
    ++m_rows;
    changeRepeats(RepeatBoxes::inserted(m_repeats, Qt::Horizontal, row));
    changeShapingRows(shapingRowsMoved(row, 1));
    Q_EMIT rowsInserted(row, 1);
    for (int x = 0; x < m_columns; ++x) {
        Q_EMIT stitchChanged(x, row, fill, nullptr);
        Q_EMIT colorChanged(x, row, Qt::white, Qt::transparent);
    }
}

void ChartGrid::insertColumn(int column, Stitch *fill)
{
    // A grid without rows has no cells to widen.
    if (m_rows == 0)
        return;
    column = qBound(0, column, m_columns);
    Cell blank;
    blank.stitch = fill;
    blank.color = Qt::white;
    std::vector<Cell> cells;
    cells.reserve(size_t(m_columns + 1) * size_t(m_rows));
    for (int y = 0; y < m_rows; ++y) {
        const auto start = m_cells.begin() + ptrdiff_t(y) * m_columns;
        cells.insert(cells.end(), start, start + column);
        cells.push_back(blank);
        cells.insert(cells.end(), start + column, start + m_columns);
    }
    m_cells.swap(cells);
    ++m_columns;
    changeRepeats(RepeatBoxes::inserted(m_repeats, Qt::Vertical, column));
    Q_EMIT columnsInserted(column, 1);
    for (int y = 0; y < m_rows; ++y) {
        Q_EMIT stitchChanged(column, y, fill, nullptr);
        Q_EMIT colorChanged(column, y, Qt::white, Qt::transparent);
    }
}

void ChartGrid::removeRow(int row)
{
    if (row < 0 || row >= m_rows)
        return;
    const auto start = m_cells.begin() + ptrdiff_t(row) * m_columns;
    const std::vector<Cell> gone(start, start + m_columns);
    m_cells.erase(start, start + m_columns);
    --m_rows;
    changeRepeats(RepeatBoxes::removed(m_repeats, Qt::Horizontal, row));
    changeShapingRows(shapingRowsMoved(row, -1));
    for (int x = 0; x < int(gone.size()); ++x) {
        Cell cell = gone[size_t(x)];
        releaseBorders(cell);
        Q_EMIT colorChanged(x, row, QColor(), cell.color);
        Q_EMIT stitchChanged(x, row, nullptr, cell.stitch);
    }
    Q_EMIT rowsRemoved(row, 1);
}

void ChartGrid::removeColumn(int column)
{
    if (column < 0 || column >= columnCount())
        return;
    std::vector<Cell> gone;
    gone.reserve(size_t(m_rows));
    std::vector<Cell> cells;
    cells.reserve(size_t(m_columns - 1) * size_t(m_rows));
    for (int y = 0; y < m_rows; ++y) {
        const auto start = m_cells.begin() + ptrdiff_t(y) * m_columns;
        cells.insert(cells.end(), start, start + column);
        gone.push_back(*(start + column));
        cells.insert(cells.end(), start + column + 1, start + m_columns);
    }
    m_cells.swap(cells);
    --m_columns;
    changeRepeats(RepeatBoxes::removed(m_repeats, Qt::Vertical, column));
    for (int y = 0; y < int(gone.size()); ++y) {
        Cell &cell = gone[size_t(y)];
        releaseBorders(cell);
        Q_EMIT stitchChanged(column, y, nullptr, cell.stitch);
        Q_EMIT colorChanged(column, y, QColor(), cell.color);
    }
    Q_EMIT columnsRemoved(column, 1);
}

void ChartGrid::swapCells(const QPoint &a, const QPoint &b)
{
    if (!contains(a) || !contains(b))
        return;
    const Cell first = at(a.x(), a.y());
    const Cell &second = at(b.x(), b.y());
    setStitch(a.x(), a.y(), second.stitch, second.imgPos);
    setColor(a.x(), a.y(), second.color);
    setStitch(b.x(), b.y(), first.stitch, first.imgPos);
    setColor(b.x(), b.y(), first.color);
}

void ChartGrid::copyCell(const QPoint &from, const QPoint &to)
{
    if (!contains(from) || !contains(to))
        return;
    const Cell source = at(from.x(), from.y());
    setStitch(to.x(), to.y(), source.stitch, source.imgPos);
    setColor(to.x(), to.y(), source.color);
}

QList<QPoint> ChartGrid::cellsWithStitch(const QString &stitchId) const
{
    QList<QPoint> positions;
    // Compare each stitch once, not each cell's.
    QHash<const Stitch *, bool> matches;
    for (int y = 0; y < m_rows; ++y) {
        for (int x = 0; x < m_columns; ++x) {
            const Stitch *stitch = at(x, y).stitch;
            if (!stitch)
                continue;
            auto known = matches.constFind(stitch);
            if (known == matches.constEnd())
                known = matches.insert(stitch, stitch->stitchID() == stitchId);
            if (known.value())
                positions.append(QPoint(x, y));
        }
    }
    return positions;
}

QList<QPair<Stitch *, int>> ChartGrid::stitchTally() const
{
    QList<QPair<Stitch *, int>> tally;
    QHash<Stitch *, int> place;
    for (const Cell &cell : m_cells) {
        auto found = place.constFind(cell.stitch);
        if (found == place.constEnd()) {
            place.insert(cell.stitch, int(tally.size()));
            tally.append({cell.stitch, 1});
        } else {
            ++tally[found.value()].second;
        }
    }
    return tally;
}

QList<QPair<QColor, int>> ChartGrid::colorTally() const
{
    // Few colours in a chart, and the same one cell after cell: the last
    // colour found is tried first.
    QList<QPair<QColor, int>> tally;
    int last = -1;
    for (const Cell &cell : m_cells) {
        if (last < 0 || tally.at(last).first != cell.color) {
            last = -1;
            for (int i = 0; i < tally.size(); ++i) {
                if (tally.at(i).first == cell.color) {
                    last = i;
                    break;
                }
            }
            if (last < 0) {
                tally.append({cell.color, 0});
                last = int(tally.size()) - 1;
            }
        }
        ++tally[last].second;
    }
    return tally;
}

void ChartGrid::changeOptions(const ChartOptions &options)
{
    if (options == m_options)
        return;
    m_options = options;
    Q_EMIT optionsChanged();
}

void ChartGrid::changeRepeats(const QList<RepeatBox> &boxes)
{
    if (boxes == m_repeats)
        return;
    m_repeats = boxes;
    Q_EMIT repeatsChanged();
}

void ChartGrid::setRepeats(const QList<RepeatBox> &boxes)
{
    changeRepeats(RepeatBoxes::within(boxes, columnCount(), m_rows));
}

void ChartGrid::changeShapingRows(const QList<int> &rows)
{
    if (rows == m_shapingRows)
        return;
    m_shapingRows = rows;
    Q_EMIT shapingRowsChanged();
}

QList<int> ChartGrid::shapingRowsMoved(int row, int step) const
{
    QList<int> moved;
    for (int y : m_shapingRows) {
        if (y < row)
            moved.append(y);
        else if (step > 0)
            moved.append(y + 1);
        else if (y > row)
            moved.append(y - 1);
    }
    return moved;
}

void ChartGrid::setShapingRows(const QList<int> &rows)
{
    QList<int> sane;
    for (int y : rows) {
        if (y >= 0 && y < m_rows)
            sane.append(y);
    }
    std::sort(sane.begin(), sane.end());
    sane.erase(std::unique(sane.begin(), sane.end()), sane.end());
    changeShapingRows(sane);
}

void ChartGrid::setOptions(const ChartOptions &options)
{
    ChartOptions sane = options;
    sane.cellSize = ChartOptions::saneCellSize(options.cellSize);
    changeOptions(sane);
}

void ChartGrid::setKnitStyle(KnitStyle style)
{
    ChartOptions options = m_options;
    options.knitStyle = style;
    changeOptions(options);
}

void ChartGrid::setSide(Side side)
{
    ChartOptions options = m_options;
    options.side = side;
    changeOptions(options);
}

void ChartGrid::setColumnNumberOffset(int offset)
{
    ChartOptions options = m_options;
    options.columnNumberOffset = offset;
    changeOptions(options);
}

void ChartGrid::setRowNumberOffset(int offset)
{
    ChartOptions options = m_options;
    options.rowNumberOffset = offset;
    changeOptions(options);
}

void ChartGrid::setSkipRows(bool skip)
{
    ChartOptions options = m_options;
    options.skipRows = skip;
    changeOptions(options);
}

void ChartGrid::setNumbersAtBottom(std::optional<bool> shown)
{
    ChartOptions options = m_options;
    options.numbersAtBottom = shown;
    changeOptions(options);
}

void ChartGrid::setRow(int y, const QList<Stitch *> &row)
{
    const QList<int> images = imageIndexes(row);
    for (int x = 0; x < qMin(columnCount(), int(row.size())); ++x) {
        if (row.at(x))
            setStitch(x, y, row.at(x), images.at(x));
    }
}

QList<int> ChartGrid::imageIndexes(const QList<Stitch *> &row)
{
    QList<int> images;
    images.reserve(row.size());
    int imageIndex = 0;
    const Stitch *previous = nullptr;
    for (const Stitch *stitch : row) {
        const bool continues = stitch && stitch == previous && stitch->cellsPerStitch() >= 2
            && imageIndex < stitch->cellsPerStitch() - 1;
        imageIndex = continues ? imageIndex + 1 : 0;
        images.append(imageIndex);
        previous = stitch;
    }
    return images;
}

void ChartGrid::setWrittenOptions(const WrittenOptions &written)
{
    ChartOptions options = m_options;
    options.written = written;
    changeOptions(options);
}

void ChartGrid::setCellSize(const QSize &size)
{
    ChartOptions options = m_options;
    options.cellSize = ChartOptions::saneCellSize(size);
    changeOptions(options);
}
