#include "headercell.h"
#include "knitcell.h"
#include "knitscene.h"
#include "settings.h"
#include "stitch.h"
#include "stitchset.h"
#include "testenvironment.h"

#include <QApplication>
#include <QBuffer>
#include <QPainter>
#include <QProgressDialog>
#include <QSignalSpy>
#include <QUndoStack>
#include <QtTest>

class TestKnitScene : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { StitchSet::instance()->load(); }
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void newChartGeometry();
    void rowNumbers_data();
    void rowNumbers();
    void targetCellClamps();
    void queriesOffTheGrid();
    void insertRowAbove();
    void insertColumnLeft();
    void removeRowSignals();
    void removeLastColumn();
    void setCellSize();
    void updateRowNumbersImages();
    void stitchAndColorCommands();
    void recordBytes();
    void recordRoundTrip();
    void recordAliasAndUnknown();
    void damagedRecords_data();
    void damagedRecords();
    void cancelledLoad();
    void loadReportsEveryCell();
    void paintsNoStitchGrey();

private:
    static QStringList rowTexts(const KnitScene &scene, bool right);
    std::unique_ptr<TestEnvironment> m_env;
};

static Stitch *find(const char *id)
{
    return StitchSet::instance()->findStitch(QString::fromLatin1(id));
}

QStringList TestKnitScene::rowTexts(const KnitScene &scene, bool right)
{
    QStringList texts;
    for (HeaderCell *header : right ? scene.rightHeaders : scene.leftHeaders)
        texts.append(header->showText ? header->objectName() : QStringLiteral("-"));
    return texts;
}

void TestKnitScene::newChartGeometry()
{
    KnitScene scene(3, 2, QString());
    QCOMPARE(scene.cellWidth, 24);
    QCOMPARE(scene.cellHeight, 22);
    QCOMPARE(scene.topHeaderSize(), QSize(24, 17));
    QCOMPARE(scene.sceneRect(), QRectF(0, 0, 121, 79));
    QCOMPARE(scene.at(1, 1)->rect(), QRectF(48, 39, 24, 22));
    QCOMPARE(scene.stitch(2, 1)->stitchID(), QStringLiteral("k"));
    QCOMPARE(scene.color(0, 0), QColor(Qt::white));
    QStringList columns;
    for (HeaderCell *header : std::as_const(scene.topHeaders))
        columns.append(header->objectName());
    QCOMPARE(columns, (QStringList{"3", "2", "1"}));
    QVERIFY(!scene.bottomHeaders.first()->isVisible());
}

void TestKnitScene::rowNumbers_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("side");
    QTest::addColumn<int>("offset");
    QTest::addColumn<bool>("skip");
    QTest::addColumn<QStringList>("left");
    QTest::addColumn<QStringList>("right");

    QTest::newRow("flat right side") << 3 << 0 << "Right Side" << 0 << false
                                     << QStringList{"-", "2", "-"} << QStringList{"3", "-", "1"};
    QTest::newRow("flat wrong side") << 3 << 0 << "Wrong Side" << 0 << false
                                     << QStringList{"3", "-", "1"} << QStringList{"-", "2", "-"};
    QTest::newRow("round") << 3 << 1 << "Right Side" << 0 << false
                           << QStringList{"-", "-", "-"} << QStringList{"3", "2", "1"};
    QTest::newRow("offset") << 2 << 1 << "Right Side" << 4 << false
                            << QStringList{"-", "-"} << QStringList{"6", "5"};
    QTest::newRow("skip rows") << 3 << 1 << "Right Side" << 0 << true
                               << QStringList{"-", "-", "-"} << QStringList{"5", "3", "1"};
    QTest::newRow("lace skipping") << 2 << 2 << "Right Side" << 0 << true
                                   << QStringList{"-", "-"} << QStringList{"3", "1"};
}

void TestKnitScene::rowNumbers()
{
    QFETCH(int, rows);
    QFETCH(int, style);
    QFETCH(QString, side);
    QFETCH(int, offset);
    QFETCH(bool, skip);
    QFETCH(QStringList, left);
    QFETCH(QStringList, right);

    KnitScene scene(2, rows, QString());
    scene.knitStyle = style;
    scene.sideSelection = side;
    scene.rowNumberOffset = offset;
    scene.skipRows = skip;
    scene.updateHeaders();
    QCOMPARE(rowTexts(scene, false), left);
    QCOMPARE(rowTexts(scene, true), right);
}

void TestKnitScene::targetCellClamps()
{
    KnitScene scene(3, 2, QString());
    QCOMPARE(scene.targetCell(QPointF(0, 0)), QPointF(0, 0));
    QCOMPARE(scene.targetCell(QPointF(5000, 5000)), QPointF(2, 1));
    QCOMPARE(scene.targetCell(QPointF(24 + 24 + 3, 17 + 22 + 3)), QPointF(1, 1));
    QCOMPARE(scene.findChartPos(scene.at(2, 1)), QPoint(2, 1));
    QCOMPARE(scene.findChartPos(nullptr), QPoint(0, 0));
}

void TestKnitScene::queriesOffTheGrid()
{
    KnitScene scene(3, 2, QString());
    QVERIFY(!scene.at(-1, 0));
    QVERIFY(!scene.at(0, 2));
    QVERIFY(!scene.at(3, 0));
    QVERIFY(!scene.stitch(3, 0));
    QCOMPARE(scene.color(0, 2), QColor(Qt::red));

    // Positions on the edge push no command at all.
    scene.setStitch(QPoint(3, 0), find("p"), 0);
    scene.setColor(QPoint(0, 2), Qt::blue);
    QCOMPARE(scene.undoStack()->count(), 0);
}

void TestKnitScene::insertRowAbove()
{
    KnitScene scene(2, 4, QStringLiteral("p"));
    KnitCell *oldTop = scene.at(0, 0);
    QSignalSpy stitches(&scene, &KnitScene::stitchChanged);
    QSignalSpy colors(&scene, &KnitScene::colorChanged);
    scene.insertRowAbove(0);

    QCOMPARE(scene.rowCount(), 5);
    QCOMPARE(scene.at(0, 1), oldTop);
    QCOMPARE(scene.stitch(0, 0)->stitchID(), QStringLiteral("k"));
    QCOMPARE(scene.color(1, 0), QColor(Qt::white));
    QCOMPARE(stitches.count(), 2);
    QCOMPARE(stitches.at(1).at(0).toInt(), 1);
    QCOMPARE(stitches.at(1).at(1).toInt(), 0);
    QCOMPARE(colors.count(), 2);
    QCOMPARE(rowTexts(scene, true), (QStringList{"5", "-", "3", "-", "1"}));
    QCOMPARE(oldTop->rect().top(), 17.0 + 22);

    // Appending at the bottom reports the new row's own index.
    stitches.clear();
    scene.insertRowAbove(5);
    QCOMPARE(stitches.first().at(1).toInt(), 5);
}

void TestKnitScene::insertColumnLeft()
{
    KnitScene scene(2, 2, QStringLiteral("p"));
    scene.insertColumnLeft(0);
    QCOMPARE(scene.columnCount(), 3);
    QCOMPARE(scene.stitch(0, 1)->stitchID(), QStringLiteral("k"));
    QCOMPARE(scene.stitch(1, 1)->stitchID(), QStringLiteral("p"));
    QCOMPARE(scene.topHeaders.first()->objectName(), QStringLiteral("3"));
    QCOMPARE(scene.topHeaders.last()->objectName(), QStringLiteral("1"));
    QCOMPARE(scene.sceneRect().width(), 24.0 + 72 + 24 + 1);
}

void TestKnitScene::removeRowSignals()
{
    KnitScene scene(2, 3, QString());
    QStringList order;
    connect(&scene, &KnitScene::stitchChanged, this, [&](int x, int y, Stitch *s, Stitch *) {
        order.append(QStringLiteral("s%1%2%3").arg(x).arg(y).arg(s ? "+" : "0"));
    });
    connect(&scene, &KnitScene::colorChanged, this, [&](int x, int y, const QColor &c, const QColor &) {
        order.append(QStringLiteral("c%1%2%3").arg(x).arg(y).arg(c.isValid() ? "+" : "0"));
    });
    scene.at(0, 1)->setSelected(true);
    scene.selectedCells.append(scene.at(0, 1));
    scene.removeRow(1);
    QCOMPARE(order, (QStringList{"c010", "s010", "c110", "s110"}));
    QCOMPARE(scene.rowCount(), 2);
    QVERIFY(scene.selectedCells.isEmpty());

    order.clear();
    scene.removeColumn(0);
    QCOMPARE(order, (QStringList{"s000", "c000", "s010", "c010"}));
    scene.removeRow(7);
    QCOMPARE(scene.rowCount(), 2);
}

void TestKnitScene::removeLastColumn()
{
    KnitScene scene(1, 2, QString());
    scene.removeColumn(0);
    QCOMPARE(scene.columnCount(), 0);
    QCOMPARE(scene.width(), 0);
    scene.updateHeaders();
}

void TestKnitScene::setCellSize()
{
    KnitScene scene(10, 10, QString());
    scene.setCellSize(QSize(30, 30));
    QCOMPARE(scene.sceneRect(), QRectF(0, 0, 361, 349));
    QCOMPARE(scene.at(9, 9)->rect(), QRectF(30 + 270, 24 + 270, 30, 30));
    scene.setCellSize(QSize(0, -4));
    QVERIFY(scene.cellWidth >= 1 && scene.cellHeight >= 1);
}

void TestKnitScene::updateRowNumbersImages()
{
    KnitScene scene(5, 2, QString());
    Stitch *cable = find("c2f");
    scene.updateRow(0, {cable, cable, cable, cable});
    QCOMPARE(scene.undoStack()->count(), 1);
    QCOMPARE(scene.undoStack()->text(0), QStringLiteral("Update row 1 from instructions"));
    QList<int> indexes;
    for (int x = 0; x < 4; ++x)
        indexes.append(scene.at(x, 1)->imgPos());
    QCOMPARE(indexes, (QList<int>{0, 1, 0, 1}));
    QCOMPARE(scene.stitch(4, 1)->stitchID(), QStringLiteral("k"));

    scene.undoStack()->undo();
    QCOMPARE(scene.stitch(0, 1)->stitchID(), QStringLiteral("k"));
    scene.updateRow(2, {cable});
    QCOMPARE(scene.undoStack()->count(), 1);
}

void TestKnitScene::stitchAndColorCommands()
{
    KnitScene scene(2, 2, QString());
    QSignalSpy stitches(&scene, &KnitScene::stitchChanged);
    scene.setStitch(QPoint(1, 0), find("yo"), 0);
    scene.setColor(QPoint(1, 0), QColor("#ff8800"));
    QCOMPARE(scene.undoStack()->text(0), QStringLiteral("Set stitch to Yarn Over"));
    QCOMPARE(scene.undoStack()->text(1), QStringLiteral("Set stitch Color to #ff8800"));
    QCOMPARE(stitches.count(), 1);
    QCOMPARE(stitches.first().at(0).toInt(), 1);

    scene.undoStack()->undo();
    scene.undoStack()->undo();
    QCOMPARE(scene.stitch(1, 0)->stitchID(), QStringLiteral("k"));
    QCOMPARE(scene.color(1, 0), QColor(Qt::white));

    // The same stitch and image again: no signal.
    stitches.clear();
    scene.at(0, 0)->setStitch(find("k"), 0);
    QCOMPARE(stitches.count(), 0);
    scene.at(0, 0)->setStitch(find("k"), 1);
    QCOMPARE(stitches.count(), 1);
}

static QByteArray recordOf(const KnitScene &scene)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_4_6);
    scene.save(out);
    return bytes;
}

void TestKnitScene::recordBytes()
{
    KnitScene scene(2, 1, QString());
    QByteArray expected;
    QDataStream out(&expected, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_4_6);
    out << QString("<KnitScene>") << QString("CellDim:") << qint32(24) << qint32(22) << QString("<Cells>");
    for (int x = 0; x < 2; ++x) {
        out << QString("<Cell>") << QString("X,Y:") << qint32(x) << qint32(0) << QString("Abbriv:") << QString("k")
            << QString("ImgPos:") << qint32(0) << QString("Color:") << QColor(Qt::white) << QString("Borders:")
            << false << false << false << false << QString("BorderColors:");
        for (int i = 0; i < 4; ++i)
            out << QColor(Qt::transparent);
        out << QString("</Cell>");
    }
    out << QString("</Cells>") << QString("</KnitScene>");
    QCOMPARE(recordOf(scene), expected);
}

static std::unique_ptr<KnitScene> readRecord(const QByteArray &bytes, int width, int height, bool *ok,
                                             QProgressDialog *progress = nullptr)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QDataStream in(&buffer);
    in.setVersion(QDataStream::Qt_4_6);
    QString token;
    in >> token;
    auto scene = std::make_unique<KnitScene>(in, width, height, 0, QStringLiteral("Right Side"), nullptr);
    *ok = scene->loadScene(in, width, height, progress);
    return scene;
}

void TestKnitScene::recordRoundTrip()
{
    KnitScene scene(4, 3, QString());
    scene.setCellSize(QSize(30, 26));
    scene.at(0, 0)->setStitch(find("c4f"), 0);
    scene.at(1, 0)->setStitch(find("c4f"), 1);
    scene.at(2, 2)->setStitch(find("x"), 0);
    scene.at(3, 1)->setColor(QColor(10, 20, 30));
    scene.at(1, 1)->setTopBorder(true, Qt::red);
    scene.at(1, 1)->setRightBorder(true, Qt::blue);

    bool ok = false;
    auto copy = readRecord(recordOf(scene), 4, 3, &ok);
    QVERIFY(ok);
    QCOMPARE(copy->cellWidth, 30);
    QCOMPARE(copy->cellHeight, 26);
    QCOMPARE(copy->stitch(1, 0)->stitchID(), QStringLiteral("c4f"));
    QCOMPARE(copy->at(1, 0)->imgPos(), 1);
    QCOMPARE(copy->stitch(2, 2)->stitchID(), QStringLiteral("x"));
    QCOMPARE(copy->color(3, 1), QColor(10, 20, 30));
    QVERIFY(copy->at(1, 1)->topBorder());
    QCOMPARE(copy->at(1, 1)->rightBorderColor(), QColor(Qt::blue));
    QVERIFY(!copy->at(1, 1)->leftBorder());
    QCOMPARE(recordOf(*copy), recordOf(scene));
    QCOMPARE(copy->sceneRect(), scene.sceneRect());
}

void TestKnitScene::recordAliasAndUnknown()
{
    KnitScene scene(2, 1, QString());
    scene.at(0, 0)->setStitch(find("yo"), 0);
    scene.at(1, 0)->setStitch(find("p"), 0);
    QByteArray bytes = recordOf(scene);
    // Older files spell the tag "Abriv:"; and an unknown stitch reads as knit.
    const QByteArray abbriv = QByteArray::fromHex("0000000e004100620062007200690076003a");
    const QByteArray p = QByteArray::fromHex("000000020070");
    QVERIFY(bytes.contains(abbriv));
    bytes.replace(abbriv, QByteArray::fromHex("0000000c0041006200720069007600 3a").replace(' ', ""));
    bytes.replace(p, QByteArray::fromHex("00000002007a"));
    bool ok = false;
    auto copy = readRecord(bytes, 2, 1, &ok);
    QVERIFY(ok);
    QCOMPARE(copy->stitch(0, 0)->stitchID(), QStringLiteral("yo"));
    QCOMPARE(copy->stitch(1, 0)->stitchID(), QStringLiteral("k"));
}

void TestKnitScene::damagedRecords_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");

    KnitScene scene(2, 2, QString());
    const QByteArray good = recordOf(scene);
    QTest::newRow("claims a huge grid") << good << 100000 << 100000;
    QTest::newRow("more cells than written") << good << 2 << 3;
    QTest::newRow("cut off") << good.left(good.size() / 2) << 2 << 2;

    QByteArray outside = good;
    const QByteArray xy = QByteArray::fromHex("00000008") + QByteArray::fromHex("0058002c0059003a");
    const int at = outside.lastIndexOf(xy);
    outside.replace(at + xy.size(), 8, QByteArray::fromHex("0000000900000000"));
    QTest::newRow("position outside") << outside << 2 << 2;

    QByteArray repeated = good;
    const int second = repeated.indexOf(xy, repeated.indexOf(xy) + 1);
    repeated.replace(second + xy.size(), 8, QByteArray::fromHex("0000000000000000"));
    QTest::newRow("position left empty") << repeated << 2 << 2;

    QByteArray hugeString = good;
    hugeString.replace(4 + 22, 4, QByteArray::fromHex("7ffffff0"));
    QTest::newRow("absurd string length") << hugeString << 2 << 2;
}

void TestKnitScene::damagedRecords()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, width);
    QFETCH(int, height);
    bool ok = true;
    auto scene = readRecord(bytes, width, height, &ok);
    QVERIFY(!ok);
    // Whatever was read, every grid position holds a real cell.
    for (int y = 0; y < scene->rowCount(); ++y) {
        QCOMPARE(scene->cellGrid.at(y).size(), width);
        for (KnitCell *cell : scene->cellGrid.at(y)) {
            QVERIFY(cell);
            QVERIFY(cell->stitch());
            QCOMPARE(cell->scene(), scene.get());
        }
    }
    QVERIFY(scene->rowCount() == 0 || scene->rowCount() == height);
}

void TestKnitScene::cancelledLoad()
{
    KnitScene scene(5, 4, QString());
    for (int x = 0; x < 5; ++x)
        scene.at(x, 3)->setStitch(find("p"), 0);

    // The user presses Cancel while the first row is being read.
    QProgressDialog progress;
    QTimer::singleShot(0, &progress, &QProgressDialog::cancel);
    bool ok = true;
    auto copy = readRecord(recordOf(scene), 5, 4, &ok, &progress);
    QVERIFY(!ok);
    QVERIFY(progress.wasCanceled());
    QCOMPARE(copy->rowCount(), 4);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 5; ++x) {
            QVERIFY(copy->at(x, y));
            QVERIFY(copy->stitch(x, y));
        }
    }

    // Without a cancel the same dialog follows the load to its end.
    QProgressDialog shown;
    shown.setAutoReset(false);
    copy = readRecord(recordOf(scene), 5, 4, &ok, &shown);
    QVERIFY(ok);
    QCOMPARE(copy->stitch(4, 3)->stitchID(), QStringLiteral("p"));
    QCOMPARE(shown.maximum(), 20);
}

void TestKnitScene::loadReportsEveryCell()
{
    KnitScene scene(3, 2, QString());
    scene.at(2, 1)->setColor(Qt::red);
    QBuffer buffer;
    buffer.setData(recordOf(scene));
    buffer.open(QIODevice::ReadOnly);
    QDataStream in(&buffer);
    in.setVersion(QDataStream::Qt_4_6);
    QString token;
    in >> token;

    // Listeners connected before the load (the stitch and colour tallies)
    // hear of every cell that arrives.
    KnitScene copy(in, 3, 2, 0, QStringLiteral("Right Side"), nullptr);
    QSignalSpy stitches(&copy, &KnitScene::stitchChanged);
    QSignalSpy colors(&copy, &KnitScene::colorChanged);
    QVERIFY(copy.loadScene(in, 3, 2, nullptr));
    QCOMPARE(stitches.count(), 6);
    QCOMPARE(colors.count(), 6);
    QCOMPARE(colors.last().at(0).toInt(), 2);
    QCOMPARE(colors.last().at(1).toInt(), 1);
    QCOMPARE(colors.last().at(2).value<QColor>(), QColor(Qt::red));
}

void TestKnitScene::paintsNoStitchGrey()
{
    KnitScene scene(3, 1, QString());
    scene.at(0, 0)->setStitch(find("x"), 0);
    scene.at(1, 0)->setColor(QColor(0, 200, 0));
    scene.at(2, 0)->setSelected(true);
    scene.at(1, 0)->setRightBorder(true, Qt::red);
    scene.at(0, 0)->setRightBorder(false);

    QImage image(scene.sceneRect().size().toSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    scene.render(&painter, QRectF(image.rect()), scene.sceneRect());
    painter.end();

    QCOMPARE(image.pixelColor(24 + 5, 17 + 5), QColor(76, 76, 76));
    QCOMPARE(image.pixelColor(48 + 5, 17 + 5), QColor(0, 200, 0));
    QVERIFY(image.pixelColor(72 + 5, 17 + 5) != QColor(Qt::white));
    // The 3-pixel red border is centred on the cell's last column.
    QCOMPARE(image.pixelColor(71 - 1, 17 + 11), QColor(Qt::red));
    QCOMPARE(image.pixelColor(71, 17 + 11), QColor(Qt::red));
    // A header without its number still draws its background.
    QVERIFY(image.pixelColor(2, 17 + 11) != QColor(Qt::white));

    // A changed preference reaches the chart as the Options dialog sends it.
    Settings::instance()->setValue(QStringLiteral("GrayNoStitch"), false);
    scene.updateHeaders();
    image.fill(Qt::black);
    QPainter again(&image);
    scene.render(&again, QRectF(image.rect()), scene.sceneRect());
    again.end();
    QCOMPARE(image.pixelColor(24 + 5, 17 + 5), QColor(Qt::white));
}

YARNWISE_TEST_MAIN(TestKnitScene)
#include "tst_knitscene.moc"
