#include "backgroundcheck.h"
#include "chartfixtures.h"
#include "chartgrid.h"
#include "patterncheck.h"
#include "stitch.h"
#include "stitchrecord.h"
#include "stitchset.h"
#include "testenvironment.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QtTest>

// Each check with a small chart that trips it and a near-identical one
// that does not; where the findings point; and what scripts read.
class TestPatternCheck : public TestSuite
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { StitchSet::instance()->load(); }

    void findings_data();
    void findings();
    void floatAcrossTheRound();
    void stitchesWithoutWorking();
    void locatedAfterInsertedRows();
    void json();
    void backgroundReportsTheLatest();
};

namespace {

struct Checked
{
    std::unique_ptr<ChartGrid> grid;
    QList<PatternCheck::Finding> findings;
};

// What a chart of the table has besides its stitches.
struct Extras
{
    QList<QRect> boxes;
    // Rows marked as shaping, as the chart numbers them.
    QList<int> shaping;
    // A letter a cell, bottom row first: 'r' red, anything else white.
    QStringList colours;
    double gauge = 0;
};

// The findings of one chart `title` of `lines`, bottom first.
Checked checked(const QString &title, int width, const QStringList &lines, const Extras &extras,
                const QString &directions)
{
    Checked result;
    result.grid = chartFromLines(width, lines);
    ChartGrid &grid = *result.grid;
    QList<RepeatBox> repeats;
    for (const QRect &box : extras.boxes)
        repeats.append(RepeatBox{box, Qt::red});
    grid.setRepeats(repeats);
    QList<int> shaping;
    for (int number : extras.shaping)
        shaping.append(grid.rowCount() - number);
    grid.setShapingRows(shaping);
    for (int i = 0; i < extras.colours.size(); ++i) {
        for (int x = 0; x < extras.colours.at(i).size(); ++x)
            grid.setColor(x, grid.rowCount() - 1 - i, extras.colours.at(i).at(x) == QLatin1Char('r') ? Qt::red : Qt::white);
    }
    PatternCheck::Input input;
    input.charts = {PatternCheck::Chart{title, result.grid.get(), {}}};
    input.directions = directions;
    input.gauge = Gauge{extras.gauge, 0};
    input.key = PatternCheck::keyFor(input.charts);
    result.findings = PatternCheck::check(input);
    return result;
}

QStringList messages(const QList<PatternCheck::Finding> &findings)
{
    QStringList lines;
    for (const PatternCheck::Finding &finding : findings)
        lines.append(PatternCheck::severityName(finding.severity) + QLatin1String(": ") + finding.message);
    return lines;
}

} // namespace

Q_DECLARE_METATYPE(Extras)

void TestPatternCheck::findings_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("width");
    QTest::addColumn<QStringList>("rows"); // plain lines, bottom first, each on its side
    QTest::addColumn<Extras>("extras");
    QTest::addColumn<QStringList>("expected");

    const QString lace = QStringLiteral("Lace");
    QTest::newRow("clean lace") << lace << 5 << QStringList{"k1, yo, sk2p, yo, k1", "p5"} << Extras()
                                << QStringList();
    QTest::newRow("counts that do not carry")
        << lace << 5 << QStringList{"k1, yo, sk2p, yo, k1", "p4, x1"} << Extras()
        << QStringList{"error: Lace: row 1: 5 stitches made, row 2 works 4"};
    const QString unbalanced = QStringLiteral(": its yarn overs and decreases do not balance; if this is shaping, "
                                              "mark the row as shaping");
    QTest::newRow("unbalanced lace") << lace << 5 << QStringList{"k1, yo, k2tog, yo, k1", "p5"} << Extras()
                                     << QStringList{"warning: Lace: row 1 makes 5 from 4" + unbalanced};
    QTest::newRow("unbalanced row marked as shaping")
        << lace << 5 << QStringList{"k1, yo, k2tog, yo, k1", "p5"} << Extras{{}, {1}, {}, 0} << QStringList();
    QTest::newRow("shaping the next row carries")
        << lace << 5 << QStringList{"x1, k1, yo, k1, x1", "p3, x2"} << Extras()
        << QStringList{"warning: Lace: row 1 makes 3 from 2" + unbalanced};
    QTest::newRow("box cutting a cable")
        << lace << 6 << QStringList{"k1, c4f, k1", "p6"} << Extras{{QRect(0, 0, 3, 2)}, {}, {}, 0}
        << QStringList{"warning: Lace: row 1: the repeat box cuts a stitch in two"};
    QTest::newRow("repeats that do not carry")
        << lace << 4 << QStringList{"k1, k2tog, k1, yo", "p2tog, p2, x1"} << Extras{{QRect(0, 0, 2, 2)}, {2}, {}, 0}
        << QStringList{"warning: Lace: row 1: each repeat makes 2 stitches, the next row works 3 in each"};
    QTest::newRow("box round whole stitches")
        << lace << 6 << QStringList{"k1, c4f, k1", "p6"} << Extras{{QRect(1, 0, 4, 2)}, {}, {}, 0} << QStringList();
    // At 22 stitches in 10 cm, 5 stitches are 2.3 cm and 6 are 2.7 cm.
    QTest::newRow("float too long")
        << lace << 10 << QStringList{"k10", "p10"} << Extras{{}, {}, {"rwwwwwwwwr", "rrrrrwwwww"}, 22}
        << QStringList{"warning: Lace: row 1: a float of 8 stitches (3.6 cm), longer than 2.5 cm; catch it or "
                       "break up the colour"};
    // At 23.7 stitches in 10 cm, 6 stitches are 2.53 cm: 2.5 cm as written.
    QTest::newRow("float at the limit as written")
        << lace << 10 << QStringList{"k10", "p10"} << Extras{{}, {}, {"rwwwwwwrww"}, 23.7} << QStringList();
    QTest::newRow("floats short enough")
        << lace << 10 << QStringList{"k10", "p10"} << Extras{{}, {}, {"rwwwwwrwwr", "rwwwwrwwwr"}, 22}
        << QStringList();
    QTest::newRow("no float past No Stitch")
        << lace << 10 << QStringList{"k1, x3, k6", "p1, x3, p6"} << Extras{{}, {}, {"rwwwwwwrww"}, 22} << QStringList();
    QTest::newRow("colourwork without a gauge")
        << lace << 4 << QStringList{"k4"} << Extras{{}, {}, {"rwwr"}, 0}
        << QStringList{"note: Lace: its rows use more than one colour, and the pattern has no gauge to measure "
                       "their floats by; give it in Document > Properties"};
    QTest::newRow("no title") << "" << 2 << QStringList{"k2"} << Extras() << QStringList{"warning: Chart 1 has no title"};
    QTest::newRow("not named by the Directions page")
        << "Cable Panel" << 2 << QStringList{"k2"} << Extras()
        << QStringList{"note: The Directions page never names the chart Cable Panel"};
}

void TestPatternCheck::findings()
{
    QFETCH(QString, title);
    QFETCH(int, width);
    QFETCH(QStringList, rows);
    QFETCH(Extras, extras);
    QFETCH(QStringList, expected);
    const Checked result = checked(title, width, rows, extras, QStringLiteral("Work the Lace chart."));
    QCOMPARE(messages(result.findings), expected);
}

// In the round the yarn goes on into the next round, so a float reaches
// across the end of the round, and the whole round is shown; flat, the yarn
// waits at the edge.
void TestPatternCheck::floatAcrossTheRound()
{
    Checked result = checked(QStringLiteral("Yoke"), 10, {"k10"}, Extras{{}, {}, {"wwwrrrwwww"}, 22}, QStringLiteral("Yoke"));
    QCOMPARE(messages(result.findings), QStringList());
    result.grid->setKnitStyle(KnitStyle::Round);
    PatternCheck::Input input;
    input.charts = {PatternCheck::Chart{QStringLiteral("Yoke"), result.grid.get(), {}}};
    input.directions = QStringLiteral("Yoke");
    input.gauge = Gauge{22, 30};
    input.key = PatternCheck::keyFor(input.charts);
    const QList<PatternCheck::Finding> round = PatternCheck::check(input);
    QCOMPARE(messages(round), QStringList{"warning: Yoke: row 1: a float of 7 stitches (3.2 cm), longer than 2.5 cm; "
                                          "catch it or break up the colour"});
    QCOMPARE(round.first().cells, QRect(0, 0, 10, 1));
}

// A stitch the key cannot describe, and one used on a wrong-side row that
// has no wrong-side working; their near twins, described, pass.
void TestPatternCheck::stitchesWithoutWorking()
{
    StitchSet *set = StitchSet::instance();
    StitchRecord bare;
    bare.name = QStringLiteral("Bare");
    bare.abbrivs = QStringList{QStringLiteral("bare")};
    bare.opposite = QStringLiteral("bare");
    set->mergeStitch(bare, false);
    StitchRecord oneSided = bare;
    oneSided.name = QStringLiteral("One Sided");
    oneSided.abbrivs = QStringList{QStringLiteral("onesided")};
    oneSided.description = QStringLiteral("knit in a special way");
    oneSided.opposite = QStringLiteral("nothing-like-it");
    set->mergeStitch(oneSided, false);

    std::unique_ptr<ChartGrid> grid = chartFromLines(3, {"k3", "p3"});
    grid->setStitch(1, 1, set->findStitch(QStringLiteral("bare")), 0);     // row 1, right side
    grid->setStitch(1, 0, set->findStitch(QStringLiteral("onesided")), 0); // row 2, wrong side
    QCOMPARE(messages(PatternCheck::check({PatternCheck::Chart{QStringLiteral("Lace"), grid.get(), {}}},
                                          QStringLiteral("Lace"))),
             (QStringList{"warning: Lace: row 2: onesided is worked on a wrong-side row, and the key does not say "
                          "how to work it from the wrong side",
                          "warning: The key: bare (Bare) has no description"}));

    // On the right side the one-sided stitch needs nothing more.
    grid->setStitch(1, 0, set->findStitch(QStringLiteral("p")), 0);
    grid->setStitch(1, 1, set->findStitch(QStringLiteral("onesided")), 0);
    QCOMPARE(messages(PatternCheck::check({PatternCheck::Chart{QStringLiteral("Lace"), grid.get(), {}}},
                                          QStringLiteral("Lace"))),
             QStringList());
}

// A finding names the rows as the chart numbers them and points at their
// cells, also after rows are inserted below and columns beside.
void TestPatternCheck::locatedAfterInsertedRows()
{
    Checked result = checked(QStringLiteral("Lace"), 5, {"k1, yo, sk2p, yo, k1", "p4, x1"}, Extras(), QStringLiteral("Lace"));
    QCOMPARE(result.findings.size(), 1);
    QCOMPARE(result.findings.first().cells, QRect(0, 0, 5, 2));
    QCOMPARE(result.findings.first().firstRow, 1);
    QCOMPARE(result.findings.first().lastRow, 2);

    result.grid->insertRow(2, StitchSet::instance()->findStitch(QStringLiteral("k")));
    result.grid->insertRow(3, StitchSet::instance()->findStitch(QStringLiteral("k")));
    const QList<PatternCheck::Finding> moved =
        PatternCheck::check({PatternCheck::Chart{QStringLiteral("Lace"), result.grid.get(), {}}}, QStringLiteral("Lace"));
    QCOMPARE(messages(moved), QStringList{"error: Lace: row 3: 5 stitches made, row 4 works 4"});
    QCOMPARE(moved.first().cells, QRect(0, 0, 5, 2));
    QCOMPARE(moved.first().firstRow, 3);

    // A column at the right is stitch 1 now; the box of the finding widens.
    result.grid->insertColumn(5, StitchSet::instance()->findStitch(QStringLiteral("x")));
    const QList<PatternCheck::Finding> wider =
        PatternCheck::check({PatternCheck::Chart{QStringLiteral("Lace"), result.grid.get(), {}}}, QStringLiteral("Lace"));
    QCOMPARE(messages(wider), QStringList{"error: Lace: row 3: 5 stitches made, row 4 works 4"});
    QCOMPARE(wider.first().cells, QRect(0, 0, 6, 2));
    QCOMPARE(wider.first().lastStitch, 6);
}

void TestPatternCheck::json()
{
    const Checked result = checked(QStringLiteral("Lace"), 5, {"k1, yo, sk2p, yo, k1", "p4, x1"}, Extras(), QString());
    const QStringList dismissed{result.findings.at(1).message};
    const QJsonArray array = QJsonDocument::fromJson(PatternCheck::json(result.findings, dismissed)).array();
    QCOMPARE(array.size(), 2);
    const QJsonObject first = array.at(0).toObject();
    QCOMPARE(first.value(QStringLiteral("severity")).toString(), QStringLiteral("error"));
    QCOMPARE(first.value(QStringLiteral("place")).toString(), QStringLiteral("chart"));
    QCOMPARE(first.value(QStringLiteral("chart")).toString(), QStringLiteral("Lace"));
    QCOMPARE(first.value(QStringLiteral("rows")).toArray(), (QJsonArray{1, 2}));
    QCOMPARE(first.value(QStringLiteral("stitches")).toArray(), (QJsonArray{1, 5}));
    const QJsonObject second = array.at(1).toObject();
    QCOMPARE(second.value(QStringLiteral("place")).toString(), QStringLiteral("directions"));
    QVERIFY(!second.contains(QStringLiteral("rows")));
    QVERIFY(!first.contains(QStringLiteral("dismissed")));
    QVERIFY(second.value(QStringLiteral("dismissed")).toBool());
    QVERIFY(PatternCheck::hasErrors(result.findings));
    QCOMPARE(PatternCheck::withoutDismissed(result.findings, dismissed).size(), 1);
}

// Inputs handed over while a check runs: only the findings of the last one
// are told, once, on this thread.
void TestPatternCheck::backgroundReportsTheLatest()
{
    BackgroundCheck background;
    QSignalSpy finished(&background, &BackgroundCheck::finished);
    const QList<QStringList> charts{{"k1, yo, sk2p, yo, k1", "p4, x1"}, {"k5", "p5"}, {"k1, yo, k2tog, yo, k1", "p5"}};
    for (const QStringList &lines : charts) {
        const std::unique_ptr<ChartGrid> grid = chartFromLines(5, lines);
        PatternCheck::Input input;
        input.charts = {PatternCheck::copyOf(QStringLiteral("Lace"), *grid)};
        input.directions = QStringLiteral("Lace");
        input.key = PatternCheck::keyFor(input.charts);
        background.run(input);
    }
    QVERIFY(finished.wait(10000));
    QTRY_VERIFY(!background.isRunning());
    QCOMPARE(finished.size(), 1);
    const auto findings = finished.first().first().value<QList<PatternCheck::Finding>>();
    QCOMPARE(findings.size(), 1);
    QVERIFY(findings.first().message.startsWith(QLatin1String("Lace: row 1 makes 5 from 4")));
}

YARNWISE_CORE_TEST_MAIN(TestPatternCheck)
#include "tst_patterncheck.moc"
