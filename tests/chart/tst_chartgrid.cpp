#include "chartfixtures.h"
#include "chartgrid.h"
#include "chartpages.h"
#include "chartpicture.h"
#include "colournames.h"
#include "stitch.h"
#include "stitchset.h"
#include "testenvironment.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QtTest>

class TestChartGrid : public TestSuite
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { StitchSet::instance()->load(); }

    void newGridAndQueriesOffIt();
    void settersAnnounceOnlyChanges();
    void insertAndRemoveAnnounceEachCell();
    void gridWithoutRows();
    void talliesInReadingOrder();
    void colourNames_data();
    void colourNames();
    void cellsWithStitch();
    void sideAndNumbering_data();
    void sideAndNumbering();
    void optionsAnnounceChanges();
    void editsMatchAPlainModel_data();
    void editsMatchAPlainModel();
    void pagesCoverTheChart();
};

void TestChartGrid::newGridAndQueriesOffIt()
{
    ChartGrid grid(3, 2, stitchById("p"));
    QCOMPARE(grid.columnCount(), 3);
    QCOMPARE(grid.rowCount(), 2);
    QCOMPARE(rowIds(grid, 1), QStringLiteral("p p p"));
    QCOMPARE(grid.color(2, 1), QColor(Qt::white));
    QVERIFY(!grid.hasBorder(0, 0, ChartCell::Top));
    QCOMPARE(grid.borderColor(0, 0, ChartCell::Top), QColor(Qt::transparent));
    QVERIFY(!grid.cell(0, 0).hasBorders());

    for (const QPoint &off : {QPoint(-1, 0), QPoint(0, 2), QPoint(3, 0)}) {
        QVERIFY(!grid.contains(off));
        QVERIFY(!grid.stitch(off.x(), off.y()));
        QVERIFY(!grid.color(off.x(), off.y()).isValid());
        QCOMPARE(grid.imgPos(off.x(), off.y()), 0);
        QVERIFY(grid.rowStitches(off.y() == 2 ? 2 : -1).isEmpty());
    }
}

void TestChartGrid::settersAnnounceOnlyChanges()
{
    ChartGrid grid(2, 2, stitchById("k"));
    QSignalSpy cells(&grid, &ChartGrid::cellsChanged);
    QSignalSpy stitches(&grid, &ChartGrid::stitchChanged);
    QSignalSpy colors(&grid, &ChartGrid::colorChanged);

    grid.setStitch(0, 0, stitchById("k"), 0);
    grid.setColor(0, 0, Qt::white);
    grid.setStitch(5, 0, stitchById("p"), 0);
    QCOMPARE(cells.count() + stitches.count() + colors.count(), 0);

    // Another image of the same stitch is a change.
    grid.setStitch(1, 0, stitchById("k"), 1);
    QCOMPARE(stitches.count(), 1);
    QCOMPARE(stitches.first().at(2).value<Stitch *>(), stitchById("k"));
    QCOMPARE(stitches.first().at(3).value<Stitch *>(), stitchById("k"));

    grid.setColor(1, 1, Qt::red);
    QCOMPARE(colors.count(), 1);
    QCOMPARE(colors.first().at(3).value<QColor>(), QColor(Qt::white));

    // Borders change the picture, not the tallies.
    grid.setBorder(0, 1, ChartCell::Left, true, Qt::blue);
    QCOMPARE(cells.count(), 3);
    QCOMPARE(cells.last().at(0).toRect(), QRect(0, 1, 1, 1));
    QCOMPARE(stitches.count() + colors.count(), 2);
}

void TestChartGrid::insertAndRemoveAnnounceEachCell()
{
    ChartGrid grid(2, 3, stitchById("p"));
    QStringList order;
    connect(&grid, &ChartGrid::stitchChanged, this, [&](int x, int y, Stitch *s, Stitch *) {
        order << QStringLiteral("s%1%2%3").arg(x).arg(y).arg(s ? "+" : "0");
    });
    connect(&grid, &ChartGrid::colorChanged, this, [&](int x, int y, const QColor &c, const QColor &) {
        order << QStringLiteral("c%1%2%3").arg(x).arg(y).arg(c.isValid() ? "+" : "0");
    });
    connect(&grid, &ChartGrid::rowsInserted, this, [&](int row) { order << QStringLiteral("R+%1").arg(row); });
    connect(&grid, &ChartGrid::rowsRemoved, this, [&](int row) { order << QStringLiteral("R-%1").arg(row); });
    connect(&grid, &ChartGrid::columnsRemoved, this, [&](int c) { order << QStringLiteral("C-%1").arg(c); });

    grid.insertRow(0, stitchById("k"));
    QCOMPARE(order, (QStringList{"R+0", "s00+", "c00+", "s10+", "c10+"}));
    QCOMPARE(rowIds(grid, 0), QStringLiteral("k k"));
    QCOMPARE(rowIds(grid, 1), QStringLiteral("p p"));

    order.clear();
    grid.removeRow(1);
    QCOMPARE(order, (QStringList{"c010", "s010", "c110", "s110", "R-1"}));
    order.clear();
    grid.removeColumn(0);
    QCOMPARE(order, (QStringList{"s000", "c000", "s010", "c010", "s020", "c020", "C-0"}));

    // Insertions far off the grid land at its end; removals there do
    // nothing.
    order.clear();
    grid.insertRow(99, stitchById("yo"));
    QCOMPARE(order.first(), QStringLiteral("R+3"));
    QCOMPARE(rowIds(grid, 3), QStringLiteral("yo"));
    order.clear();
    grid.removeRow(7);
    grid.removeColumn(-1);
    QVERIFY(order.isEmpty());
}

void TestChartGrid::gridWithoutRows()
{
    ChartGrid grid(3, 1, stitchById("k"));
    grid.removeRow(0);
    QCOMPARE(grid.rowCount(), 0);
    QCOMPARE(grid.columnCount(), 0);
    // Nothing to widen, but the next row has the width the chart had.
    grid.insertColumn(0, stitchById("p"));
    QCOMPARE(grid.columnCount(), 0);
    grid.insertRow(0, stitchById("p"));
    QCOMPARE(rowIds(grid, 0), QStringLiteral("p p p"));

    ChartGrid narrow(1, 2, stitchById("k"));
    narrow.removeColumn(0);
    QCOMPARE(narrow.columnCount(), 0);
    QCOMPARE(narrow.rowCount(), 2);
}

void TestChartGrid::talliesInReadingOrder()
{
    ChartGrid grid(3, 2, stitchById("k"));
    grid.setStitch(1, 0, stitchById("yo"), 0);
    grid.setStitch(0, 1, stitchById("p"), 0);
    grid.setStitch(2, 1, stitchById("yo"), 0);
    grid.setColor(2, 0, Qt::red);
    const QList<QPair<Stitch *, int>> stitches = grid.stitchTally();
    QCOMPARE(stitches.size(), 3);
    QCOMPARE(stitches.at(0), qMakePair(stitchById("k"), 3));
    QCOMPARE(stitches.at(1), qMakePair(stitchById("yo"), 2));
    QCOMPARE(stitches.at(2), qMakePair(stitchById("p"), 1));
    const QList<QPair<QColor, int>> colors = grid.colorTally();
    QCOMPARE(colors.size(), 2);
    QCOMPARE(colors.at(0), qMakePair(QColor(Qt::white), 5));
    QCOMPARE(colors.at(1), qMakePair(QColor(Qt::red), 1));
}

void TestChartGrid::colourNames_data()
{
    QTest::addColumn<QStringList>("used");  // "#rrggbb cells", as the tallies of the charts list them
    QTest::addColumn<QStringList>("given"); // "#rrggbb name"
    QTest::addColumn<QStringList>("named"); // "#rrggbb name", in the key's order
    QTest::addColumn<bool>("inKey");
    QTest::newRow("one colour") << QStringList{"#ffffff 12"} << QStringList() << QStringList{"#ffffff MC"} << false;
    QTest::newRow("most cells first") << QStringList{"#ff0000 3", "#ffffff 9", "#0000ff 5"} << QStringList()
                                      << QStringList{"#ffffff MC", "#0000ff CC1", "#ff0000 CC2"} << true;
    QTest::newRow("ties by the colour's name") << QStringList{"#ff0000 4", "#0000ff 4"} << QStringList()
                                               << QStringList{"#0000ff MC", "#ff0000 CC1"} << true;
    QTest::newRow("several charts add up") << QStringList{"#ffffff 4", "#ff0000 5", "#ffffff 3"} << QStringList()
                                           << QStringList{"#ffffff MC", "#ff0000 CC1"} << true;
    QTest::newRow("given names are passed over")
        << QStringList{"#ffffff 9", "#0000ff 5", "#ff0000 3"} << QStringList{"#ff0000 mc", "#00ff00 CC1"}
        << QStringList{"#ffffff CC1", "#0000ff CC2", "#ff0000 mc"} << true;
    QTest::newRow("a name that starts with a default")
        << QStringList{"#ffffff 9", "#ff0000 3"} << QStringList{"#ff0000 MC: Coral"}
        << QStringList{"#ffffff CC1", "#ff0000 MC: Coral"} << true;
    QTest::newRow("a name for a colour not in use") << QStringList{"#ffffff 9"} << QStringList{"#00ff00 MC"}
                                                    << QStringList{"#ffffff MC"} << false;
    QTest::newRow("one colour named") << QStringList{"#ffffff 9"} << QStringList{"#ffffff Oatmeal heather"}
                                      << QStringList{"#ffffff Oatmeal heather"} << true;
}

// The defaults follow the cells, never where they lie, and never repeat a
// name the designer gave; a chart of one colour has none in its key
// unless the designer named it.
void TestChartGrid::colourNames()
{
    QFETCH(QStringList, used);
    QFETCH(QStringList, given);
    QFETCH(QStringList, named);
    QFETCH(bool, inKey);
    ColourNames::Tally tally;
    for (const QString &entry : std::as_const(used))
        tally.append({QColor(entry.section(QLatin1Char(' '), 0, 0)), entry.section(QLatin1Char(' '), 1).toInt()});
    ColourNames::Given names;
    for (const QString &entry : std::as_const(given))
        names.insert(QColor(entry.section(QLatin1Char(' '), 0, 0)).rgba(), entry.section(QLatin1Char(' '), 1));
    QStringList result;
    for (const ColourNames::Named &colour : ColourNames::name(tally, names)) {
        result << colour.colour.name() + QLatin1Char(' ') + colour.name;
        QCOMPARE(colour.given, names.contains(colour.colour.rgba()));
    }
    QCOMPARE(result, named);
    QCOMPARE(ColourNames::forKey(tally, names).size(), inKey ? named.size() : 0);
}

void TestChartGrid::cellsWithStitch()
{
    const std::unique_ptr<ChartGrid> grid = sampleGrid();
    QCOMPARE(grid->cellsWithStitch(QStringLiteral("c4f")),
             (QList<QPoint>{QPoint(1, 2), QPoint(2, 2), QPoint(3, 2), QPoint(4, 2)}));
    QVERIFY(grid->cellsWithStitch(QStringLiteral("nothing")).isEmpty());
}

void TestChartGrid::sideAndNumbering_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("side");
    QTest::addColumn<int>("offset");
    QTest::addColumn<bool>("skip");
    // Rows 1 to 4 from the bottom: where each number stands (R or L) and
    // which rows are wrong-side rows (W or -), then the numbers shown.
    QTest::addColumn<QString>("numbers");
    QTest::addColumn<QString>("sides");
    QTest::addColumn<QList<int>>("shown");

    QTest::newRow("flat right side") << 0 << 0 << 0 << false << "RLRL" << "-W-W" << QList<int>{1, 2, 3, 4};
    QTest::newRow("flat wrong side") << 0 << 1 << 0 << false << "LRLR" << "W-W-" << QList<int>{1, 2, 3, 4};
    QTest::newRow("round") << 1 << 0 << 0 << false << "RRRR" << "----" << QList<int>{1, 2, 3, 4};
    QTest::newRow("round from the wrong side") << 1 << 1 << 0 << false << "RRRR" << "WWWW" << QList<int>{1, 2, 3, 4};
    QTest::newRow("offset") << 1 << 0 << 4 << false << "RRRR" << "----" << QList<int>{5, 6, 7, 8};
    QTest::newRow("lace every row") << 2 << 0 << 0 << false << "RLRL" << "-W-W" << QList<int>{1, 2, 3, 4};
    QTest::newRow("lace skipping") << 2 << 0 << 0 << true << "RRRR" << "----" << QList<int>{1, 3, 5, 7};
}

void TestChartGrid::sideAndNumbering()
{
    QFETCH(int, style);
    QFETCH(int, side);
    QFETCH(int, offset);
    QFETCH(bool, skip);
    QFETCH(QString, numbers);
    QFETCH(QString, sides);
    QFETCH(QList<int>, shown);

    ChartOptions options;
    options.knitStyle = KnitStyle(style);
    options.side = Side(side);
    options.rowNumberOffset = offset;
    options.skipRows = skip;
    QString whereNumbers, whichSides;
    QList<int> numbersShown;
    for (int row = 1; row <= 4; ++row) {
        whereNumbers += options.numberOnRight(row) ? QLatin1Char('R') : QLatin1Char('L');
        whichSides += options.isWrongSide(row) ? QLatin1Char('W') : QLatin1Char('-');
        numbersShown << options.shownRowNumber(row);
    }
    QCOMPARE(whereNumbers, numbers);
    QCOMPARE(whichSides, sides);
    QCOMPARE(numbersShown, shown);
}

void TestChartGrid::optionsAnnounceChanges()
{
    ChartGrid grid(2, 2, stitchById("k"));
    QSignalSpy changed(&grid, &ChartGrid::optionsChanged);
    grid.setKnitStyle(KnitStyle::Flat);
    grid.setSide(Side::RightSide);
    QCOMPARE(changed.count(), 0);
    grid.setSkipRows(true);
    grid.setRowNumberOffset(9);
    QCOMPARE(changed.count(), 2);
    grid.setCellSize(QSize(0, 5000));
    QCOMPARE(grid.options().cellSize, QSize(1, 1000));

    QCOMPARE(ChartOptions::sideFromName(QStringLiteral("Wrong Side")), Side::WrongSide);
    QCOMPARE(ChartOptions::sideFromName(QStringLiteral("something")), Side::RightSide);
    bool known = true;
    QCOMPARE(ChartOptions::knitStyleFromValue(1000, &known), KnitStyle::Flat);
    QVERIFY(!known);
}

void TestChartGrid::editsMatchAPlainModel_data()
{
    QTest::addColumn<unsigned>("seed");
    for (unsigned seed = 1; seed <= 12; ++seed)
        QTest::newRow(qPrintable(QString::number(seed))) << seed;
}

// Repeat boxes as the plain model holds them: which rows and which
// columns each box takes in. A row inserted between two of a box's rows
// joins it; one inserted at its edge does not.
struct PlainBoxes
{
    QList<QList<bool>> rows, columns;

    static void insert(QList<QList<bool>> &flags, int at)
    {
        for (QList<bool> &f : flags)
            f.insert(at, at > 0 && at < f.size() && f[at - 1] && f[at]);
    }
    static QPair<int, int> span(const QList<bool> &f)
    {
        const int first = int(f.indexOf(true));
        return {first, first < 0 ? -1 : int(f.lastIndexOf(true))};
    }
    QList<QRect> rects() const
    {
        QList<QRect> result;
        for (int i = 0; i < rows.size(); ++i) {
            const auto r = span(rows[i]), c = span(columns[i]);
            if (r.first >= 0 && c.first >= 0)
                result.append(QRect(QPoint(c.first, r.first), QPoint(c.second, r.second)));
        }
        return result;
    }
};

// Random edits of every kind, done to the grid and to a plain list of
// rows of cells: after each, both hold the same chart and repeat boxes.
void TestChartGrid::editsMatchAPlainModel()
{
    QFETCH(unsigned, seed);
    QRandomGenerator random(seed);
    const std::unique_ptr<ChartGrid> grid = randomGrid(1 + random.bounded(6), 1 + random.bounded(6), seed);
    QList<QList<ChartCell>> plain;
    for (int y = 0; y < grid->rowCount(); ++y)
        plain.append(grid->rowCells(y));
    int width = grid->columnCount();
    PlainBoxes boxes;
    QList<RepeatBox> marked;
    for (int i = random.bounded(3); i > 0; --i) {
        const QRect cells(QPoint(random.bounded(width), random.bounded(int(plain.size()))),
                          QPoint(random.bounded(width), random.bounded(int(plain.size()))));
        marked.append(RepeatBox{cells.normalized(), Qt::red});
        QList<bool> r(plain.size(), false), c(width, false);
        for (int y = marked.last().cells.top(); y <= marked.last().cells.bottom(); ++y)
            r[y] = true;
        for (int x = marked.last().cells.left(); x <= marked.last().cells.right(); ++x)
            c[x] = true;
        boxes.rows.append(r);
        boxes.columns.append(c);
    }
    grid->setRepeats(marked);
    // Two boxes over the same cells are one.
    if (marked.size() == 2 && marked[0] == marked[1]) {
        boxes.rows.removeLast();
        boxes.columns.removeLast();
    }

    Stitch *fill = stitchById("p");
    ChartCell blank;
    blank.stitch = fill;
    for (int step = 0; step < 300; ++step) {
        const int rows = int(plain.size());
        const QPoint a(random.bounded(width + 1), random.bounded(rows + 1));
        const QPoint b(random.bounded(width + 1), random.bounded(rows + 1));
        const bool inA = a.x() < width && a.y() < rows;
        const bool inB = b.x() < width && b.y() < rows;
        switch (random.bounded(7)) {
        case 0: {
            const std::unique_ptr<ChartGrid> source = randomGrid(1, 1, random.generate());
            const ChartCell cell = source->cell(0, 0);
            grid->setCell(a.x(), a.y(), cell);
            if (inA)
                plain[a.y()][a.x()] = cell;
            break;
        }
        case 1:
            grid->insertRow(a.y(), fill);
            plain.insert(a.y(), QList<ChartCell>(width, blank));
            PlainBoxes::insert(boxes.rows, a.y());
            break;
        case 2:
            grid->insertColumn(a.x(), fill);
            if (rows > 0) {
                for (QList<ChartCell> &row : plain)
                    row.insert(a.x(), blank);
                ++width;
                PlainBoxes::insert(boxes.columns, a.x());
            }
            break;
        case 3:
            if (rows > 1) {
                grid->removeRow(a.y());
                if (a.y() < rows) {
                    plain.removeAt(a.y());
                    for (QList<bool> &f : boxes.rows)
                        f.removeAt(a.y());
                }
            }
            break;
        case 4:
            if (width > 1) {
                grid->removeColumn(a.x());
                if (a.x() < width) {
                    for (QList<ChartCell> &row : plain)
                        row.removeAt(a.x());
                    --width;
                    for (QList<bool> &f : boxes.columns)
                        f.removeAt(a.x());
                }
            }
            break;
        case 5:
            grid->swapCells(a, b);
            if (inA && inB) {
                ChartCell &first = plain[a.y()][a.x()];
                ChartCell &second = plain[b.y()][b.x()];
                std::swap(first.stitch, second.stitch);
                std::swap(first.imgPos, second.imgPos);
                std::swap(first.color, second.color);
            }
            break;
        case 6:
            grid->copyCell(a, b);
            if (inA && inB) {
                const ChartCell source = plain[a.y()][a.x()];
                ChartCell &target = plain[b.y()][b.x()];
                target.stitch = source.stitch;
                target.imgPos = source.imgPos;
                target.color = source.color;
            }
            break;
        }
        QCOMPARE(grid->rowCount(), int(plain.size()));
        QCOMPARE(grid->columnCount(), width);
        for (int y = 0; y < grid->rowCount(); ++y) {
            for (int x = 0; x < width; ++x)
                QVERIFY2(grid->cell(x, y) == plain[y][x], qPrintable(QStringLiteral("step %1 cell %2,%3")
                                                                        .arg(step).arg(x).arg(y)));
        }
        QList<QRect> held;
        for (const RepeatBox &box : grid->repeats())
            held.append(box.cells);
        QCOMPARE(held, boxes.rects());
    }
}

// Over random charts and pages: a chart that fits with readable cells
// takes one page; a larger one is split into pages that cover every cell,
// in bands of even size from row 1 and stitch 1, each band repeating the
// asked rows and stitches of the band before, each page within the paper.
void TestChartGrid::pagesCoverTheChart()
{
    QRandomGenerator random(20261207);
    const qreal dpi = 1200;
    const QSizeF letter(7.5 * dpi, 10 * dpi);
    for (int run = 0; run < 200; ++run) {
        ChartGrid grid(1 + random.bounded(300), 1 + random.bounded(400), stitchById("k"));
        // Now and then cells far from square, as a file may give them.
        if (run % 10 == 0)
            grid.setCellSize(run % 20 == 0 ? QSize(1000, 1) : QSize(1, 1000));
        const int overlap = random.bounded(4);
        ChartStyle style;
        style.headersBottom = random.bounded(2);
        const ChartPages pages(grid, style, letter, dpi, overlap);
        const QRect whole(0, 0, grid.columnCount(), grid.rowCount());
        const ChartLayout layout(grid);
        const bool fits = qMin(letter.width() / layout.width(), letter.height() / layout.height())
                * qMin(layout.cellSize().width(), layout.cellSize().height())
            >= ChartPages::smallestCell * dpi;
        QVERIFY(!fits || !pages.isSplit());
        QVERIFY(pages.count() <= ChartPages::mostPages);
        if (!pages.isSplit()) {
            QCOMPARE(pages.count(), 1);
            QCOMPARE(pages.cells(0), whole);
            continue;
        }
        QSet<QPair<int, int>> covered;
        QSet<int> heights, widths;
        for (int i = 0; i < pages.count(); ++i) {
            const QRect part = pages.cells(i);
            QVERIFY(whole.contains(part));
            const QSizeF onPaper = ChartPicture::partSize(grid, style, part) * pages.scale();
            QVERIFY(onPaper.width() <= letter.width() + 1);
            QVERIFY(onPaper.height() <= letter.height() - pages.captionHeight() + 1);
            heights.insert(part.height());
            widths.insert(part.width());
            for (int y = part.top(); y <= part.bottom(); ++y) {
                for (int x = part.left(); x <= part.right(); ++x)
                    covered.insert({x, y});
            }
        }
        QCOMPARE(covered.size(), grid.columnCount() * grid.rowCount());
        // Row 1 first: the first page ends at the bottom right.
        QCOMPARE(pages.cells(0).bottom(), whole.bottom());
        QCOMPARE(pages.cells(0).right(), whole.right());
        // Even bands: the last may be smaller, never by more than the band count.
        QVERIFY(heights.size() <= 2 && widths.size() <= 2);
        if (pages.count() > 1 && pages.cells(1).left() == pages.cells(0).left()) {
            QCOMPARE(pages.cells(0).top() - pages.cells(1).bottom(), 1 - qMin(overlap, pages.cells(1).height() - 1));
        }
    }
}

YARNWISE_CORE_TEST_MAIN(TestChartGrid)
#include "tst_chartgrid.moc"
