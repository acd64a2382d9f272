#include "instructionwriter.h"
#include "chartoptions.h"
#include "stitch.h"
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

private:
    std::unique_ptr<TestEnvironment> m_env;
};

// "k k p" → the stitches k, k, p; "22rc*8" → eight cells of 22rc.
static QList<Stitch *> cells(const QString &spec)
{
    QList<Stitch *> row;
    for (const QString &part : spec.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList pieces = part.split(QLatin1Char('*'));
        const QString id = QString(pieces.first()).replace(QLatin1Char('_'), QLatin1Char(' '));
        const int count = pieces.size() > 1 ? pieces.at(1).toInt() : 1;
        for (int i = 0; i < count; ++i)
            row.append(StitchSet::instance()->findStitch(id));
    }
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

YARNWISE_CORE_TEST_MAIN(TestInstructionWriter)
#include "tst_instructionwriter.moc"
