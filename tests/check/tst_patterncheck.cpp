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
    void stitchesWithoutWorking();
    void locatedAfterInsertedRows();
    void json();
};

namespace {

struct Checked
{
    std::unique_ptr<ChartGrid> grid;
    QList<PatternCheck::Finding> findings;
};

// The findings of one chart `title` of `lines`, bottom first, with an own
// stitch "nodesc" without a description and "noopp" without an opposite.
Checked checked(const QString &title, int width, const QStringList &lines, const QList<QRect> &boxes,
                const QString &directions)
{
    Checked result;
    result.grid = chartFromLines(width, lines);
    QList<RepeatBox> repeats;
    for (const QRect &box : boxes)
        repeats.append(RepeatBox{box, Qt::red});
    result.grid->setRepeats(repeats);
    result.findings = PatternCheck::check({PatternCheck::Chart{title, result.grid.get()}}, directions);
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

void TestPatternCheck::findings_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("width");
    QTest::addColumn<QStringList>("rows"); // plain lines, bottom first, each on its side
    QTest::addColumn<QList<QRect>>("boxes");
    QTest::addColumn<QStringList>("expected");

    const QString lace = QStringLiteral("Lace");
    QTest::newRow("clean lace") << lace << 5 << QStringList{"k1, yo, sk2p, yo, k1", "p5"} << QList<QRect>()
                                << QStringList();
    QTest::newRow("counts that do not carry")
        << lace << 5 << QStringList{"k1, yo, sk2p, yo, k1", "p4, x1"} << QList<QRect>()
        << QStringList{"error: Lace: row 1: 5 stitches made, row 2 works 4"};
    const QString unbalanced = QStringLiteral(": its yarn overs and decreases do not balance; if this is shaping, "
                                              "the pattern must say so");
    QTest::newRow("unbalanced lace") << lace << 5 << QStringList{"k1, yo, k2tog, yo, k1", "p5"} << QList<QRect>()
                                     << QStringList{"warning: Lace: row 1 makes 5 from 4" + unbalanced};
    QTest::newRow("shaping the next row carries")
        << lace << 5 << QStringList{"x1, k1, yo, k1, x1", "p3, x2"} << QList<QRect>()
        << QStringList{"warning: Lace: row 1 makes 3 from 2" + unbalanced};
    QTest::newRow("box cutting a cable")
        << lace << 6 << QStringList{"k1, c4f, k1", "p6"} << QList<QRect>{QRect(0, 0, 3, 2)}
        << QStringList{"warning: Lace: row 1: the repeat box cuts a stitch in two"};
    QTest::newRow("box round whole stitches")
        << lace << 6 << QStringList{"k1, c4f, k1", "p6"} << QList<QRect>{QRect(1, 0, 4, 2)} << QStringList();
    QTest::newRow("no title") << "" << 2 << QStringList{"k2"} << QList<QRect>() << QStringList{"warning: Chart 1 has no title"};
    QTest::newRow("not named by the Directions page")
        << "Cable Panel" << 2 << QStringList{"k2"} << QList<QRect>()
        << QStringList{"note: The Directions page never names the chart Cable Panel"};
}

void TestPatternCheck::findings()
{
    QFETCH(QString, title);
    QFETCH(int, width);
    QFETCH(QStringList, rows);
    QFETCH(QList<QRect>, boxes);
    QFETCH(QStringList, expected);
    const Checked result = checked(title, width, rows, boxes, QStringLiteral("Work the Lace chart."));
    QCOMPARE(messages(result.findings), expected);
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
    QCOMPARE(messages(PatternCheck::check({PatternCheck::Chart{QStringLiteral("Lace"), grid.get()}},
                                          QStringLiteral("Lace"))),
             (QStringList{"warning: Lace: row 2: onesided is worked on a wrong-side row, and the key does not say "
                          "how to work it from the wrong side",
                          "warning: The key: bare (Bare) has no description"}));

    // On the right side the one-sided stitch needs nothing more.
    grid->setStitch(1, 0, set->findStitch(QStringLiteral("p")), 0);
    grid->setStitch(1, 1, set->findStitch(QStringLiteral("onesided")), 0);
    QCOMPARE(messages(PatternCheck::check({PatternCheck::Chart{QStringLiteral("Lace"), grid.get()}},
                                          QStringLiteral("Lace"))),
             QStringList());
}

// A finding names the rows as the chart numbers them and points at their
// cells, also after rows are inserted below.
void TestPatternCheck::locatedAfterInsertedRows()
{
    Checked result = checked(QStringLiteral("Lace"), 5, {"k1, yo, sk2p, yo, k1", "p4, x1"}, {}, QStringLiteral("Lace"));
    QCOMPARE(result.findings.size(), 1);
    QCOMPARE(result.findings.first().cells, QRect(0, 0, 5, 2));
    QCOMPARE(result.findings.first().firstRow, 1);
    QCOMPARE(result.findings.first().lastRow, 2);

    result.grid->insertRow(2, StitchSet::instance()->findStitch(QStringLiteral("k")));
    result.grid->insertRow(3, StitchSet::instance()->findStitch(QStringLiteral("k")));
    const QList<PatternCheck::Finding> moved =
        PatternCheck::check({PatternCheck::Chart{QStringLiteral("Lace"), result.grid.get()}}, QStringLiteral("Lace"));
    QCOMPARE(messages(moved), QStringList{"error: Lace: row 3: 5 stitches made, row 4 works 4"});
    QCOMPARE(moved.first().cells, QRect(0, 0, 5, 2));
    QCOMPARE(moved.first().firstRow, 3);
}

void TestPatternCheck::json()
{
    const Checked result = checked(QStringLiteral("Lace"), 5, {"k1, yo, sk2p, yo, k1", "p4, x1"}, {}, QString());
    const QJsonArray array = QJsonDocument::fromJson(PatternCheck::json(result.findings)).array();
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
    QVERIFY(PatternCheck::hasErrors(result.findings));
}

YARNWISE_CORE_TEST_MAIN(TestPatternCheck)
#include "tst_patterncheck.moc"
