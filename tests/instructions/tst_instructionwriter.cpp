#include "instructionparser.h"
#include "instructionwriter.h"
#include "chartgrid.h"
#include "chartinstructions.h"
#include "chartoptions.h"
#include "rowstitches.h"
#include "stitch.h"
#include "stitchfixtures.h"
#include "stitchset.h"
#include "testenvironment.h"

#include <QCoreApplication>
#include <QtTest>

class TestInstructionWriter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { StitchSet::instance()->load(); }
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void writeRow_data();
    void writeRow();
    void rowLabel_data();
    void rowLabel();
    void rowStitches_data();
    void rowStitches();
    void castOn_data();
    void castOn();
    void stitchWithoutOpposite();

private:
    std::unique_ptr<TestEnvironment> m_env;
};

// A row as the chart holds it, leftmost first: "k k p" → the stitches k,
// k, p; "22rc*8" → eight cells of 22rc, numbered as painting numbers them
// (two whole cables); "c4f@2" → the third cell of c4f alone.
static QList<ChartCell> chartCells(const QString &spec)
{
    QList<ChartCell> row;
    for (const QString &part : spec.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList pieces = part.split(QRegularExpression(QStringLiteral("[*@]")));
        const QString id = QString(pieces.first()).replace(QLatin1Char('_'), QLatin1Char(' '));
        Stitch *stitch = StitchSet::instance()->findStitch(id);
        const bool placed = part.contains(QLatin1Char('@'));
        const int count = pieces.size() > 1 && !placed ? pieces.at(1).toInt() : 1;
        for (int i = 0; i < count; ++i) {
            ChartCell cell;
            cell.stitch = stitch;
            cell.imgPos = placed ? pieces.at(1).toInt() : i % stitch->cellsPerStitch();
            row.append(cell);
        }
    }
    return row;
}

static QList<Stitch *> cells(const QString &spec)
{
    QList<Stitch *> row;
    for (const ChartCell &cell : chartCells(spec))
        row.append(cell.stitch);
    return row;
}

void TestInstructionWriter::writeRow_data()
{
    QTest::addColumn<QString>("row");
    QTest::addColumn<bool>("wrongSide");
    QTest::addColumn<bool>("includeNoStitch");
    QTest::addColumn<QString>("line");

    QTest::newRow("right side reads right to left") << "k k p p p yo" << false << true << "yo, p3, k2";
    QTest::newRow("wrong side uses opposites") << "k k p p p yo" << true << true << "p2, k3, yo";
    QTest::newRow("no stitch kept") << "k k k k x x" << true << true << "p4, x2";
    QTest::newRow("no stitch left out") << "k k k k x x" << true << false << "p4";
    QTest::newRow("single knit and purl counted") << "p k p" << false << true << "p1, k1, p1";
    QTest::newRow("single yarn over not counted") << "yo" << false << true << "yo";
    QTest::newRow("two 4-cell cables") << "22rc*8" << false << true << "22rc2";
    QTest::newRow("a cable keeps its name on the wrong side") << "22rc*8" << true << true << "22rc2";
    QTest::newRow("part of a cable counts one") << "22rc*3" << false << true << "22rc";
    QTest::newRow("abbreviation with a space") << "k1_tbl*3" << false << true << "k1 tbl3";
    QTest::newRow("only no stitch") << "x x x" << false << false << "";
    QTest::newRow("empty row") << "" << false << true << "";
}

void TestInstructionWriter::writeRow()
{
    QFETCH(QString, row);
    QFETCH(bool, wrongSide);
    QFETCH(bool, includeNoStitch);
    QFETCH(QString, line);
    QCOMPARE(InstructionWriter::writeRow(cells(row), wrongSide, includeNoStitch), line);
}

// A stitch without an opposite keeps its own name on a wrong-side row, and
// the row reads back as it was, rather than losing the stitch.
void TestInstructionWriter::stitchWithoutOpposite()
{
    StitchSet *set = StitchSet::instance();
    Stitch *nub = set->findOrAdd(QStringLiteral("nub"));
    nub->temporary = true;
    nub->setAbbrivs({QStringLiteral("nub")});
    const QList<Stitch *> row = cells(QStringLiteral("k nub k"));
    const QString line = InstructionWriter::writeRow(row, true, true);
    QCOMPARE(line, QStringLiteral("p1, nub, p1"));
    const InstructionParser parser(set->keyWords());
    QCOMPARE(InstructionParser::row(parser.cells(line, 3), 3, true), row);
}

void TestInstructionWriter::rowLabel_data()
{
    QTest::addColumn<int>("rowNumber");
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("side");
    QTest::addColumn<int>("offset");
    QTest::addColumn<bool>("skip");
    QTest::addColumn<QString>("label");

    QTest::newRow("right side row") << 1 << 0 << "Right Side" << 0 << false << "Row 1  (rs)";
    QTest::newRow("wrong side row") << 2 << 0 << "Right Side" << 0 << false << "Row 2 (ws)";
    QTest::newRow("row 1 on the wrong side") << 1 << 0 << "Wrong Side" << 0 << false << "Row 1 (ws)";
    QTest::newRow("offset keeps the side mark") << 1 << 0 << "Right Side" << 10 << false << "Row 11  (rs)";
    QTest::newRow("round") << 5 << 1 << "Right Side" << 0 << false << "Round 5";
    QTest::newRow("lace skipping rows") << 3 << 2 << "Right Side" << 0 << true << "Row 3";
    QTest::newRow("lace every row") << 2 << 2 << "Right Side" << 0 << false << "Row 2 (ws)";
}

void TestInstructionWriter::rowLabel()
{
    QFETCH(int, rowNumber);
    QFETCH(int, style);
    QFETCH(QString, side);
    QFETCH(int, offset);
    QFETCH(bool, skip);
    QFETCH(QString, label);
    ChartOptions options;
    options.knitStyle = KnitStyle(style);
    options.side = ChartOptions::sideFromName(side);
    options.rowNumberOffset = offset;
    options.skipRows = skip;
    QCOMPARE(InstructionWriter::rowLabel(rowNumber, options), label);
}

// Rows of the knitting conventions' worked examples and of shaping, as
// the chart holds them.
void TestInstructionWriter::rowStitches_data()
{
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("counts"); // worked/made
    QTest::newRow("lace, paired decreases") << "k yo k2tog k k ssk yo k" << "8/8";
    QTest::newRow("arrow lace row 5") << "k k k yo sk2p yo k k k k k yo sk2p yo k k k" << "17/17";
    QTest::newRow("triangle row 1") << "x x k yo k yo k x x" << "3/5";
    QTest::newRow("only No Stitch") << "x x x" << "0/0";
    QTest::newRow("increases") << "k kfb m1 k inc3" << "4/8";
    QTest::newRow("binding off") << "bind bind bind k k" << "5/2";
    QTest::newRow("cable panel row 3") << "p p c6f*6 p p" << "10/10";
    QTest::newRow("two cables side by side") << "22rc*8" << "8/8";
    QTest::newRow("cable cut short by the edge") << "k k c4f*2" << "6/6";
    QTest::newRow("cable painted over in part") << "c4f@0 c4f@1 k c4f@3" << "9/9";
    QTest::newRow("cable painted over a cable") << "c4f@0 c4f@1 c4f*4" << "8/8";
    QTest::newRow("decrease drawn over two cells") << "k sp2p*2 k" << "5/3";
    QTest::newRow("empty row") << "" << "0/0";
}

void TestInstructionWriter::rowStitches()
{
    QFETCH(QString, row);
    QFETCH(QString, counts);
    const RowStitches stitches = RowStitches::count(chartCells(row));
    QCOMPARE(StitchFixtures::counts(stitches.worked, stitches.made), counts);
}

// The cast-on is what the first row works, No Stitch and yarn overs left
// out; the row above does not matter.
void TestInstructionWriter::castOn_data()
{
    QTest::addColumn<QString>("bottom");
    QTest::addColumn<QString>("line");
    QTest::newRow("No Stitch at both ends") << "x k k x" << "Cast on 2 stitches";
    QTest::newRow("one stitch") << "x yo k x" << "Cast on 1 stitch";
    QTest::newRow("none") << "x x x x" << "Cast on 0 stitches";
    QTest::newRow("decreasing first row") << "k2tog k2tog" << "Cast on 4 stitches";
    QTest::newRow("cable") << "p c4f*4 p" << "Cast on 6 stitches";
}

void TestInstructionWriter::castOn()
{
    QFETCH(QString, bottom);
    QFETCH(QString, line);
    const QList<ChartCell> row = chartCells(bottom);
    ChartGrid grid(row.size(), 2, StitchSet::instance()->findStitch(QStringLiteral("yo")));
    for (int x = 0; x < row.size(); ++x)
        grid.setStitch(x, 1, row.at(x).stitch, row.at(x).imgPos);
    QCOMPARE(ChartInstructions::castOnLine(grid), line);
    QCOMPARE(ChartInstructions::text(QStringLiteral("T"), grid).section(QLatin1Char('\n'), 2, 2), line);
}

YARNWISE_CORE_TEST_MAIN(TestInstructionWriter)
#include "tst_instructionwriter.moc"
