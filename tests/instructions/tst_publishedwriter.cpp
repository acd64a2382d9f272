#include "chartfixtures.h"
#include "chartgrid.h"
#include "chartinstructions.h"
#include "instructionparser.h"
#include "instructionwriter.h"
#include "publishedwriter.h"
#include "stitch.h"
#include "stitchset.h"
#include "testenvironment.h"

#include <QRandomGenerator>
#include <QtTest>

// The written instructions of whole charts: the published style against
// text written by hand for the knitting conventions' worked examples, and
// every line of either style read back into its row.
class TestPublishedWriter : public TestSuite
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { StitchSet::instance()->load(); }

    void examples_data();
    void examples();
    void manyBoxes();
    void linesReadBack_data();
    void linesReadBack();

private:
};

namespace {

// The options of a data row: "stars", "brackets", "every", "none",
// "find", "round", "lace-skip" (lace charting every second row), joined
// by blanks.
ChartOptions optionsOf(const QString &words)
{
    ChartOptions options;
    options.written.style = WrittenStyle::Published;
    for (const QString &word : words.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (word == QLatin1String("brackets"))
            options.written.repeats = RepeatForm::Brackets;
        else if (word == QLatin1String("every"))
            options.written.counts = StitchCounts::Every;
        else if (word == QLatin1String("none"))
            options.written.counts = StitchCounts::None;
        else if (word == QLatin1String("find"))
            options.written.findRepeats = true;
        else if (word == QLatin1String("round"))
            options.knitStyle = KnitStyle::Round;
        else if (word == QLatin1String("lace-skip"))
            options.knitStyle = KnitStyle::Lace, options.skipRows = true;
    }
    return options;
}

} // namespace


void TestPublishedWriter::examples_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QList<QRect>>("boxes");
    QTest::addColumn<QString>("options");
    QTest::addColumn<QString>("text");

    const QStringList rib = {"k2, p2, k2, p2, k2, p2, k2, p2, k2, p2, k2",
                             "p2, k2, p2, k2, p2, k2, p2, k2, p2, k2, p2"};
    // Stitches 3-6 of 22, rows 1 and 2.
    const QList<QRect> ribBox = {QRect(16, 0, 4, 2)};
    QTest::newRow("1. rib, multiple of 4 plus 2")
        << 22 << rib << ribBox << ""
        << "\nT\nCast on a multiple of 4 sts plus 2 (22 sts in the chart).\n"
           "Row 1 (RS): K2, *p2, k2; rep from * to end.\n"
           "Row 2 (WS): *P2, k2; rep from * to last 2 sts, p2.\n"
           "Rep Rows 1–2.\n";
    QTest::newRow("rib in brackets")
        << 22 << rib << ribBox << "brackets"
        << "\nT\nCast on a multiple of 4 sts plus 2 (22 sts in the chart).\n"
           "Row 1 (RS): K2, [p2, k2] 5 times.\n"
           "Row 2 (WS): [P2, k2] 5 times, p2.\n"
           "Rep Rows 1–2.\n";
    QTest::newRow("rib without a box, repeats found")
        << 22 << rib << QList<QRect>() << "find"
        << "\nT\nCast on a multiple of 4 sts plus 2 (22 sts in the chart).\n"
           "Row 1 (RS): *K2, p2; rep from * to last 2 sts, k2.\n"
           "Row 2 (WS): *P2, k2; rep from * to last 2 sts, p2.\n";
    QTest::newRow("rib copied upwards, in the round")
        << 22 << QStringList(7, rib.first()) << QList<QRect>{QRect(16, 5, 4, 2)} << "round"
        << "\nT\nCast on a multiple of 4 sts plus 2 (22 sts in the chart). "
           "Join to work in the round, being careful not to twist.\n"
           "Rnd 1: K2, *p2, k2; rep from * to end.\n"
           "Rnd 2: K2, *p2, k2; rep from * to end.\n"
           "Rep Rnds 1–2 twice more.\n"
           "Rnd 7: (K2, p2) 5 times, k2.\n";

    QTest::newRow("2. arrow lace, multiple of 8 plus 1")
        << 17
        << QStringList{"k1, yo, ssk, k3, k2tog, yo, k1, yo, ssk, k3, k2tog, yo, k1", "p17",
                       "k2, yo, ssk, k1, k2tog, yo, k3, yo, ssk, k1, k2tog, yo, k2", "p17",
                       "k3, yo, sk2p, yo, k5, yo, sk2p, yo, k3", "p17", "k17", "p17"}
        << QList<QRect>{QRect(8, 0, 8, 8)} << ""
        << "\nT\nCast on a multiple of 8 sts plus 1 (17 sts in the chart).\n"
           "Row 1 (RS): K1, *yo, ssk, k3, k2tog, yo, k1; rep from * to end.\n"
           "Row 2 and all WS rows: Purl.\n"
           "Row 3: K1, *k1, yo, ssk, k1, k2tog, yo, k2; rep from * to end.\n"
           "Row 5: K1, *k2, yo, sk2p, yo, k3; rep from * to end.\n"
           "Row 7: Knit.\n"
           "Rep Rows 1–8.\n";
    QTest::newRow("lace charting every second row")
        << 17
        << QStringList{"k1, yo, ssk, k3, k2tog, yo, k1, yo, ssk, k3, k2tog, yo, k1",
                       "k2, yo, ssk, k1, k2tog, yo, k3, yo, ssk, k1, k2tog, yo, k2"}
        << QList<QRect>{QRect(8, 0, 8, 2)} << "lace-skip"
        << "\nT\nCast on a multiple of 8 sts plus 1 (17 sts in the chart).\n"
           "Row 1 (RS): K1, *yo, ssk, k3, k2tog, yo, k1; rep from * to end.\n"
           "Row 2 and all WS rows: Purl.\n"
           "Row 3: K1, *k1, yo, ssk, k1, k2tog, yo, k2; rep from * to end.\n"
           "Rep Rows 1–4.\n";

    const QStringList triangle = {"x2, k1, yo, k1, yo, k1, x2", "x2, p5, x2", "x1, k1, yo, k3, yo, k1, x1",
                                  "x1, p7, x1", "k1, yo, k5, yo, k1", "p9"};
    QTest::newRow("3. shaped triangle")
        << 9 << triangle << QList<QRect>() << ""
        << "\nT\nCast on 3 sts.\n"
           "Row 1 (RS): K1, yo, k1, yo, k1. 5 sts\n"
           "Row 2 (WS): Purl.\n"
           "Row 3: K1, yo, k3, yo, k1. 7 sts\n"
           "Row 4: Purl.\n"
           "Row 5: K1, yo, k5, yo, k1. 9 sts\n"
           "Row 6: Purl.\n";
    QTest::newRow("triangle without counts")
        << 9 << triangle.mid(0, 2) << QList<QRect>() << "none"
        << "\nT\nCast on 3 sts.\nRow 1 (RS): K1, yo, k1, yo, k1.\nRow 2 (WS): Purl.\n";

    const QStringList cable = {"p2, k6, p2", "k2, p6, k2", "p2, c6f, p2", "k2, p6, k2"};
    QTest::newRow("4. cable panel")
        << 10 << cable << QList<QRect>() << ""
        << "\nT\nCast on 10 sts.\n"
           "Row 1 (RS): P2, k6, p2.\n"
           "Row 2 (WS): K2, p6, k2.\n"
           "Row 3: P2, C6F, p2.\n"
           "Row 4: K2, p6, k2.\n";
    QTest::newRow("cable panel boxed, every count")
        << 10 << cable << QList<QRect>{QRect(0, 0, 10, 4)} << "every"
        << "\nT\nCast on a multiple of 10 sts (10 sts in the chart).\n"
           "Row 1 (RS): *P2, k6, p2; rep from * to end. 10 sts\n"
           "Row 2 (WS): *K2, p6, k2; rep from * to end. 10 sts\n"
           "Row 3: *P2, C6F, p2; rep from * to end. 10 sts\n"
           "Row 4: *K2, p6, k2; rep from * to end. 10 sts\n"
           "Rep Rows 1–4.\n";
    // The box's edge cuts the cable: the row cannot repeat there.
    QTest::newRow("box cutting a cable")
        << 10 << QStringList{"k1, c6f, k3"} << QList<QRect>{QRect(3, 0, 4, 1)} << ""
        << "\nT\nCast on 10 sts.\nRow 1 (RS): K1, C6F, k3.\n";
    // Repeated upwards, a box one row high would work its row from the
    // other side in flat knitting; in the round it is a repeat.
    QTest::newRow("one-row box, flat") << 4 << QStringList{"k4", "p4", "k4"} << QList<QRect>{QRect(0, 2, 4, 1)}
                                       << "" << "\nT\nCast on 4 sts.\nRow 1 and all RS rows: Knit.\nRow 2 (WS): Purl.\n";
    QTest::newRow("one-row box, round") << 4 << QStringList{"k4", "k4", "k4"} << QList<QRect>{QRect(0, 2, 4, 1)}
                                        << "round"
                                        << "\nT\nCast on 4 sts. Join to work in the round, being careful not to "
                                           "twist.\nRnd 1: Knit.\nRep Rnd 1 twice more.\n";
    // Other stitches than knit and purl repeated are bracketed: "k2tog2"
    // and "yo3" would read as stitches of their own. A repeat that works
    // no stitch is no repeat.
    QTest::newRow("runs of decreases and yarn overs")
        << 5 << QStringList{"k1, yo, yo, yo, k1", "p1, p2tog, p2tog"} << QList<QRect>{QRect(2, 1, 1, 1)} << ""
        << "\nT\nCast on 2 sts.\nRow 1 (RS): K1, (yo) 3 times, k1. 5 sts\nRow 2 (WS): P1, (p2tog) twice. 3 sts\n";
    QTest::newRow("groups and what follows the last repeat")
        << 13 << QStringList{"k1, p1, k1, p1, k1, p1, k2tog, yo, k2tog, yo, k2tog, yo, yo"}
        << QList<QRect>{QRect(5, 0, 2, 1)} << "none"
        << "\nT\nCast on a multiple of 2 sts plus 6 (12 sts in the chart).\n"
           "Row 1 (RS): (K1, p1) 3 times, *k2tog, yo; rep from * to end, yo.\n";
}

void TestPublishedWriter::examples()
{
    QFETCH(int, width);
    QFETCH(QStringList, rows);
    QFETCH(QList<QRect>, boxes);
    QFETCH(QString, options);
    QFETCH(QString, text);
    const std::unique_ptr<ChartGrid> grid = chartFromLines(width, rows, optionsOf(options));
    QList<RepeatBox> repeats;
    for (const QRect &box : std::as_const(boxes))
        repeats.append(RepeatBox{box, Qt::red});
    grid->setRepeats(repeats);
    QCOMPARE(ChartInstructions::text(QStringLiteral("T"), *grid), text);
}

// A damaged or hostile file's thousands of boxes over every row: only the
// first few are tried for a row's repeat, so writing stays quick, and the
// rows read as the first box that fits them says.
void TestPublishedWriter::manyBoxes()
{
    ChartGrid grid(300, 100, StitchSet::instance()->findStitch(QStringLiteral("c4f")));
    ChartOptions options;
    options.written.style = WrittenStyle::Published;
    grid.setOptions(options);
    QList<RepeatBox> boxes;
    for (int i = 0; i < 5000; ++i)
        boxes.append(RepeatBox{QRect(1 + i % 290, 0, 3, 100 - i % 7), QColor(i % 256, 0, 0)});
    boxes.append(RepeatBox{QRect(0, 0, 4, 100), Qt::red});
    grid.setRepeats(boxes);
    const QString text = ChartInstructions::text(QStringLiteral("T"), grid);
    QVERIFY(text.count(QLatin1Char('\n')) >= 3 + 100); // every row written
    QVERIFY(text.contains(QStringLiteral("Row 1 (RS): (C4F) 75 times.")));
}

void TestPublishedWriter::linesReadBack_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("side");
    QTest::addColumn<bool>("skip");
    for (int style = 0; style <= 2; ++style) {
        for (const char *side : {"Right Side", "Wrong Side"}) {
            for (bool skip : {false, true}) {
                if (skip && style != int(KnitStyle::Lace))
                    continue;
                QTest::addRow("%s, %s%s", style == 0 ? "flat" : style == 1 ? "round" : "lace", side,
                              skip ? ", every second row" : "")
                    << style << QString::fromLatin1(side) << skip;
            }
        }
    }
}

// Random charts of whole stitches, with runs, repeats made on purpose and
// boxes over them: every row written plainly reads back to the row, and
// written as published, in every form, to the row without its No Stitch
// cells.
void TestPublishedWriter::linesReadBack()
{
    QFETCH(int, style);
    QFETCH(QString, side);
    QFETCH(bool, skip);

    StitchSet *catalogue = StitchSet::instance();
    // Stitches whose wrong-side abbreviation leads back to them; a stitch
    // left out here is one whose written form no longer reads back.
    QList<Stitch *> pool;
    QStringList excluded;
    for (Stitch *stitch : catalogue->stitches()) {
        const QString id = stitch->stitchID();
        Stitch *opposite = catalogue->findStitch(stitch->opposite());
        if (id == QLatin1String("?") || opposite->opposite().toLower() != id.toLower()
            || opposite->cellsPerStitch() != stitch->cellsPerStitch())
            excluded.append(id);
        else
            pool.append(stitch);
    }
    QCOMPARE(excluded, QStringList());
    Stitch *noStitch = catalogue->findStitch(QStringLiteral("x"));

    const InstructionParser parser(StitchSet::instance()->keyWords());
    QRandomGenerator random(20261207 + style * 10 + skip);
    const auto someStitches = [&](int cells) {
        QList<Stitch *> part;
        while (part.size() < cells) {
            Stitch *stitch = random.bounded(8) == 0 ? noStitch : pool.at(random.bounded(int(pool.size())));
            const int width = stitch->cellsPerStitch();
            for (int run = random.bounded(1, 4); run > 0 && part.size() + width <= cells; --run)
                part.append(QList<Stitch *>(width, stitch));
            if (part.size() + width > cells && width > 1)
                part.append(QList<Stitch *>(cells - part.size(), catalogue->findStitch(QStringLiteral("k"))));
        }
        return part;
    };
    for (int trial = 0; trial < 60; ++trial) {
        const int period = random.bounded(1, 9);
        const int copies = random.bounded(1, 5);
        const int edge = random.bounded(0, 4);
        const int width = edge + period * copies + random.bounded(0, 4);
        const int rows = random.bounded(1, 5);
        ChartOptions options;
        options.knitStyle = KnitStyle(style);
        options.side = ChartOptions::sideFromName(side);
        options.skipRows = skip;
        options.written.findRepeats = random.bounded(2) == 1;
        ChartGrid grid(width, rows, nullptr);
        grid.setOptions(options);
        for (int y = 0; y < rows; ++y) {
            const QList<Stitch *> repeat = someStitches(period);
            QList<Stitch *> row = someStitches(edge);
            for (int i = 0; i < copies; ++i)
                row += repeat;
            row += someStitches(width - int(row.size()));
            grid.setRow(y, row);
        }
        if (random.bounded(3) > 0)
            grid.setRepeats({RepeatBox{QRect(edge, 0, period, rows), Qt::red}});

        for (int y = 0; y < rows; ++y) {
            const QList<Stitch *> row = grid.rowStitches(y);
            const bool wrongSide = options.isWrongSide(rows - y);
            const QString plain = InstructionWriter::writeRow(row, wrongSide, true);
            const QList<Stitch *> plainBack = InstructionParser::row(parser.cells(plain, width), width, wrongSide);
            // Compared as text: comparing two empty lists hands a null
            // pointer to memcmp, which the sanitizers report.
            if (stitchIds(plainBack) != stitchIds(row))
                QFAIL(qPrintable(QStringLiteral("\"%1\" read back as %2 instead of %3")
                                     .arg(plain, stitchIds(plainBack), stitchIds(row))));

            QList<Stitch *> stitched = row;
            stitched.removeAll(noStitch);
            const int cells = int(stitched.size());
            for (RepeatForm form : {RepeatForm::Stars, RepeatForm::Brackets}) {
                options.written.repeats = form;
                grid.setOptions(options);
                const QString line = PublishedWriter::rowText(grid, y);
                const QList<Stitch *> back = InstructionParser::row(parser.cells(line, cells), cells, wrongSide);
                if (stitchIds(back) != stitchIds(stitched))
                    QFAIL(qPrintable(QStringLiteral("\"%1\" read back as %2 instead of %3")
                                         .arg(line, stitchIds(back), stitchIds(stitched))));
            }
        }
    }
}

YARNWISE_CORE_TEST_MAIN(TestPublishedWriter)
#include "tst_publishedwriter.moc"
