#include "chartgrid.h"
#include "chartinstructions.h"
#include "instructionparser.h"
#include "stitch.h"
#include "stitchset.h"
#include "testenvironment.h"
#include "writtenpattern.h"

#include <QtTest>

// Written patterns as designers publish them, read into a chart: the
// worked examples of the knitting conventions, the chart each describes,
// and what is said about the lines that are not read.
class TestWrittenPattern : public TestSuite
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void examples_data();
    void examples();
    void publishedTextReadBack();

private:
    std::unique_ptr<InstructionParser> m_parser;
};

void TestWrittenPattern::initTestCase()
{
    StitchSet::instance()->load();
    m_parser = std::make_unique<InstructionParser>(StitchSet::instance()->keyWords());
}

void TestWrittenPattern::examples_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("rows"); // each row's plain line, bottom first, No Stitch shown
    QTest::addColumn<QStringList>("problems");
    QTest::addColumn<QStringList>("notes");

    QTest::newRow("1. rib") << "Rib\n"
                               "Cast on a multiple of 4 sts plus 2 (22 sts in the chart).\n"
                               "Row 1 (RS): K2, *p2, k2; rep from * to end.\n"
                               "Row 2 (WS): *P2, k2; rep from * to last 2 sts, p2.\n"
                            << "Rib"
                            << QStringList{"k2, p2, k2, p2, k2, p2, k2, p2, k2, p2, k2",
                                           "p2, k2, p2, k2, p2, k2, p2, k2, p2, k2, p2"}
                            << QStringList() << QStringList();
    QTest::newRow("2. arrow lace") << "Arrow Lace\n\n"
                                      "Cast on a multiple of 8 sts plus 1.\n"
                                      "Row 1 (RS): K1, *yo, ssk, k3, k2tog, yo, k1; rep from * to end.\n"
                                      "Row 2 and all WS rows: Purl.\n"
                                      "Row 3: K1, *k1, yo, ssk, k1, k2tog, yo, k2; rep from * to end.\n"
                                      "Row 5: K1, *k2, yo, sk2p, yo, k3; rep from * to end.\n"
                                      "Row 7: Knit.\n"
                                      "Rep Rows 1–8.\n"
                                   << "Arrow Lace"
                                   << QStringList{"k1, yo, ssk, k3, k2tog, yo, k1", "p9",
                                                  "k2, yo, ssk, k1, k2tog, yo, k2", "p9",
                                                  "k3, yo, sk2p, yo, k3", "p9", "k9", "p9"}
                                   << QStringList() << QStringList();
    // Each row works what the row below left; the narrower rows end in No
    // Stitch.
    QTest::newRow("3. shaped triangle") << "Cast on 3 sts.\n"
                                           "Row 1 (RS): K1, yo, k1, yo, k1. 5 sts\n"
                                           "Row 2 (WS): Purl.\n"
                                           "Row 3: K1, yo, k3, yo, k1. 7 sts\n"
                                           "Row 4: Purl.\n"
                                           "Row 5: K1, yo, k5, yo, k1. 9 sts\n"
                                           "Row 6: Purl.\n"
                                        << ""
                                        << QStringList{"k1, yo, k1, yo, k1, x4", "p5, x4",
                                                       "k1, yo, k3, yo, k1, x2", "p7, x2", "k1, yo, k5, yo, k1",
                                                       "p9"}
                                        << QStringList() << QStringList();
    QTest::newRow("4. cable panel, repeated") << "Cable Panel\n"
                                                 "Row 1 (RS): P2, k6, p2.\n"
                                                 "Row 2 (WS): K2, p6, k2.\n"
                                                 "Row 3: P2, C6F, p2.\n"
                                                 "Row 4: K2, p6, k2.\n"
                                                 "Rep Rows 1-4 once more.\n"
                                                 "Bind off in pattern.\n"
                                              << "Cable Panel"
                                              << QStringList{"p2, k6, p2", "k2, p6, k2", "p2, c6f, p2",
                                                             "k2, p6, k2", "p2, k6, p2", "k2, p6, k2",
                                                             "p2, c6f, p2", "k2, p6, k2"}
                                              << QStringList() << QStringList{"Bind off in pattern."};
    QTest::newRow("rounds, rows named together") << "Cast on 6 sts. Join to work in the round.\n"
                                                    "Rnds 1, 2 and 3: k1, p1, k1, p1, k1, p1\n"
                                                    "Rnd 4: knit\n"
                                                 << ""
                                                 << QStringList{"k1, p1, k1, p1, k1, p1", "k1, p1, k1, p1, k1, p1",
                                                                "k1, p1, k1, p1, k1, p1", "k6"}
                                                 << QStringList() << QStringList();
    // What is not read is said, the row left as No Stitch.
    QTest::newRow("a typo and a missing row") << "Cast on 4 sts.\n"
                                                 "Row 1 (RS): k2, pp2\n"
                                                 "Row 3: knit\n"
                                              << ""
                                              << QStringList{"x4", "x4", "k4"}
                                              << QStringList{"Line 2: Row 1: 'pp2' is not a stitch",
                                                             "Row 2 is not given"}
                                              << QStringList();
}

void TestWrittenPattern::examples()
{
    QFETCH(QString, text);
    QFETCH(QString, title);
    QFETCH(QStringList, rows);
    QFETCH(QStringList, problems);
    QFETCH(QStringList, notes);
    const WrittenPattern pattern = WrittenPattern::read(text, *m_parser);
    QCOMPARE(pattern.title, title);
    QCOMPARE(pattern.problems, problems);
    QCOMPARE(pattern.notes, notes);
    const std::unique_ptr<ChartGrid> grid = pattern.chart(*m_parser);
    QStringList lines;
    for (int y = grid->rowCount() - 1; y >= 0; --y)
        lines.append(ChartInstructions::rowText(*grid, y, true));
    QCOMPARE(lines, rows);
}

// The published text of a chart, read back, is the chart again.
void TestWrittenPattern::publishedTextReadBack()
{
    const QStringList rib = {"k2, p2, k2, p2, k2, p2, k2, p2, k2, p2, k2",
                             "p2, k2, p2, k2, p2, k2, p2, k2, p2, k2, p2"};
    ChartGrid grid(22, 4, StitchSet::instance()->findStitch(QStringLiteral("k")));
    for (int y = 0; y < 4; ++y)
        grid.setRow(y, InstructionParser::row(m_parser->cells(rib.at(1 - y % 2), 22), 22, y % 2 == 0));
    ChartOptions options;
    options.written.style = WrittenStyle::Published;
    grid.setOptions(options);
    grid.setRepeats({RepeatBox{QRect(16, 2, 4, 2), Qt::red}});
    const QString text = ChartInstructions::text(QStringLiteral("Rib"), grid);
    QVERIFY2(text.contains(QStringLiteral("Rep Rows 1–2 once more.")), qPrintable(text));

    const WrittenPattern pattern = WrittenPattern::read(text, *m_parser);
    QCOMPARE(pattern.problems, QStringList());
    const std::unique_ptr<ChartGrid> read = pattern.chart(*m_parser);
    QCOMPARE(read->columnCount(), 22);
    QCOMPARE(read->rowCount(), 4);
    for (int y = 0; y < 4; ++y)
        QCOMPARE(read->rowStitches(y), grid.rowStitches(y));
}

YARNWISE_CORE_TEST_MAIN(TestWrittenPattern)
#include "tst_writtenpattern.moc"
