#include "chartscene.h"
#include "knitscene.h"
#include "stitch.h"
#include "stitchset.h"
#include "testenvironment.h"

#include <QApplication>
#include <QGraphicsSceneWheelEvent>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QUndoStack>
#include <QtTest>

class TestKnitSceneInput : public TestSuite
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { StitchSet::instance()->load(); }

    void clickPaintsStitchClippedAtEdge();
    void dragPaintsOneStep();
    void fastDragPaintsEveryCellCrossed();
    void rightClickErasesOthersDoNothing();
    void dragEndingOutsideClosesItsStep();
    void borderStrokes_data();
    void borderStrokes();
    void fastBorderStrokeDrawsEveryEdge();
    void findQuadrants();
    void gesturesSelect_data();
    void gesturesSelect();
    void arrowsMoveNumberSelection();
    void selectionFollowsInserts_data();
    void selectionFollowsInserts();
    void ctrlWheelZooms();
    void deleteKeyAsksToDelete();
};

using namespace Mouse;

static void key(KnitScene &scene, int code)
{
    QKeyEvent event(QEvent::KeyPress, code, Qt::NoModifier);
    QCoreApplication::sendEvent(&scene, &event);
}

static QSize cellSize(const KnitScene &scene)
{
    return scene.grid()->options().cellSize;
}

void TestKnitSceneInput::clickPaintsStitchClippedAtEdge()
{
    ChartScene chart(10, 3);
    KnitScene &scene = chart.scene;
    scene.curStitch = stitchById("21rpc");
    QCOMPARE(scene.curStitch->cellsPerStitch(), 3);
    press(scene, at(scene, 8, 1));
    release(scene, at(scene, 8, 1));

    QCOMPARE(chart.grid.stitch(8, 1), scene.curStitch);
    QCOMPARE(chart.grid.imgPos(8, 1), 0);
    QCOMPARE(chart.grid.stitch(9, 1), scene.curStitch);
    QCOMPARE(chart.grid.imgPos(9, 1), 1);
    QCOMPARE(chart.grid.stitch(7, 1)->stitchID(), QStringLiteral("k"));
    QCOMPARE(scene.undoStack()->count(), 1);
    QCOMPARE(scene.undoStack()->undoText(), QStringLiteral("Set stitch"));
    QCOMPARE(scene.selectedPositions(), QList<QPoint>{QPoint(8, 1)});
}

void TestKnitSceneInput::dragPaintsOneStep()
{
    ChartScene chart(8, 3);
    KnitScene &scene = chart.scene;
    scene.curStitch = stitchById("p");
    press(scene, at(scene, 1, 1, 0.3));
    move(scene, at(scene, 1, 1, 0.6)); // still in the pressed cell
    for (int x = 2; x <= 5; ++x)
        move(scene, at(scene, x, 1));
    release(scene, at(scene, 5, 1));

    for (int x = 0; x < 8; ++x)
        QCOMPARE(chart.grid.stitch(x, 1)->stitchID(), x >= 1 && x <= 5 ? QStringLiteral("p") : QStringLiteral("k"));
    QCOMPARE(scene.undoStack()->count(), 1);
    QCOMPARE(scene.undoStack()->undoText(), QStringLiteral("Set stitches"));
    QVERIFY(!scene.macroOpen);
    scene.undoStack()->undo();
    QCOMPARE(chart.grid.stitch(3, 1)->stitchID(), QStringLiteral("k"));

    // The next drag starts where this one ended and still paints that cell.
    scene.curStitch = stitchById("yo");
    press(scene, at(scene, 5, 1, 0.3));
    move(scene, at(scene, 5, 1, 0.7));
    release(scene, at(scene, 5, 1, 0.7));
    QCOMPARE(chart.grid.stitch(5, 1)->stitchID(), QStringLiteral("yo"));
}

void TestKnitSceneInput::rightClickErasesOthersDoNothing()
{
    ChartScene chart(4, 2);
    KnitScene &scene = chart.scene;
    chart.grid.setColor(2, 0, Qt::red);
    chart.grid.setStitch(2, 0, stitchById("yo"), 0);
    scene.editMode = KnitScene::EditColor;
    press(scene, at(scene, 2, 0), Qt::RightButton);
    release(scene, at(scene, 2, 0));
    QCOMPARE(chart.grid.color(2, 0), QColor(Qt::white));

    scene.editMode = KnitScene::EditStitch;
    scene.curColor = Qt::yellow;
    press(scene, at(scene, 2, 0), Qt::RightButton);
    release(scene, at(scene, 2, 0));
    QCOMPARE(chart.grid.stitch(2, 0)->stitchID(), QStringLiteral("k"));
    QCOMPARE(chart.grid.color(2, 0), QColor(Qt::yellow));

    const int steps = scene.undoStack()->count();
    scene.curStitch = stitchById("p");
    press(scene, at(scene, 1, 1), Qt::MiddleButton);
    release(scene, at(scene, 1, 1));
    QCOMPARE(scene.undoStack()->count(), steps);
    QCOMPARE(chart.grid.stitch(1, 1)->stitchID(), QStringLiteral("k"));
}

void TestKnitSceneInput::dragEndingOutsideClosesItsStep()
{
    ChartScene chart(4, 2);
    KnitScene &scene = chart.scene;
    scene.curStitch = stitchById("p");
    press(scene, at(scene, 0, 0, 0.2));
    move(scene, at(scene, 0, 0, 0.8));
    move(scene, at(scene, 1, 0));
    release(scene, QPointF(-50, -50));
    QVERIFY(!scene.macroOpen);
    QCOMPARE(scene.undoStack()->count(), 1);
    scene.setStitch(QPoint(3, 1), stitchById("yo"), 0);
    QCOMPARE(scene.undoStack()->count(), 2);
}

// A quick drag whose first move already lies cells away: the pressed cell
// and every cell on the way are painted, as one undo step.
void TestKnitSceneInput::fastDragPaintsEveryCellCrossed()
{
    ChartScene chart(8, 5);
    KnitScene &scene = chart.scene;
    scene.curStitch = stitchById("p");
    press(scene, at(scene, 0, 0));
    move(scene, at(scene, 4, 2));
    move(scene, at(scene, 7, 2));
    release(scene, at(scene, 7, 2));

    QStringList painted;
    for (int y = 0; y < 5; ++y)
        painted << rowIds(chart.grid, y);
    QCOMPARE(painted, (QStringList{"p k k k k k k k", "k p p k k k k k", "k k k p p p p p", "k k k k k k k k",
                                   "k k k k k k k k"}));
    QCOMPARE(scene.undoStack()->count(), 1);
}

void TestKnitSceneInput::borderStrokes_data()
{
    QTest::addColumn<QPointF>("from"); // fractions of the cell
    QTest::addColumn<QPointF>("to");
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("borders"); // left, right, top, bottom of cell (2, 2)

    const QPointF topRight(0.8, 0.2), topLeft(0.2, 0.2), bottomLeft(0.2, 0.8), bottomRight(0.8, 0.8);
    QTest::newRow("top") << topRight << topLeft << int(Qt::LeftButton) << 0 << "--#-";
    QTest::newRow("left") << topLeft << bottomLeft << int(Qt::LeftButton) << 0 << "#---";
    QTest::newRow("bottom") << bottomLeft << bottomRight << int(Qt::LeftButton) << 0 << "---#";
    QTest::newRow("right") << bottomRight << topRight << int(Qt::LeftButton) << 0 << "-#--";
    QTest::newRow("diagonal draws nothing") << topLeft << bottomRight << int(Qt::LeftButton) << 0 << "----";
    QTest::newRow("right button erases") << topRight << topLeft << int(Qt::RightButton) << 0 << "----";
    QTest::newRow("meta erases") << topRight << topLeft << int(Qt::LeftButton) << int(Qt::MetaModifier) << "----";
}

void TestKnitSceneInput::borderStrokes()
{
    QFETCH(QPointF, from);
    QFETCH(QPointF, to);
    QFETCH(int, button);
    QFETCH(int, modifiers);
    QFETCH(QString, borders);

    ChartScene chart(5, 5);
    KnitScene &scene = chart.scene;
    scene.editMode = KnitScene::EditBorder;
    scene.curColor = Qt::darkGreen;
    if (button != Qt::LeftButton || modifiers) {
        // Something to erase: every border of the cell drawn first.
        scene.setSelected(QPoint(2, 2));
        scene.setBorderTop(true);
        scene.setBorderBottom(true);
        scene.setBorderLeft(true);
        scene.setBorderRight(true);
        borders = QStringLiteral("##-#"); // only the top is erased
    }
    const auto mods = Qt::KeyboardModifiers(modifiers);
    press(scene, at(scene, 2, 2, from.x(), from.y()), Qt::MouseButton(button), mods);
    move(scene, at(scene, 2, 2, to.x(), to.y()), Qt::MouseButton(button), mods);
    release(scene, at(scene, 2, 2, to.x(), to.y()));

    QString actual;
    for (ChartCell::Edge edge : {ChartCell::Left, ChartCell::Right, ChartCell::Top, ChartCell::Bottom})
        actual += chart.grid.hasBorder(2, 2, edge) ? QLatin1Char('#') : QLatin1Char('-');
    QCOMPARE(actual, borders);
    if (borders == QLatin1String("--#-")) {
        QVERIFY(chart.grid.hasBorder(2, 1, ChartCell::Bottom));
        QCOMPARE(chart.grid.borderColor(2, 1, ChartCell::Bottom), QColor(Qt::darkGreen));
        QCOMPARE(scene.undoStack()->undoText(), QStringLiteral("Set border On"));
    }
}

// One quick move along the top of a row of cells draws the top of each.
void TestKnitSceneInput::fastBorderStrokeDrawsEveryEdge()
{
    ChartScene chart(6, 3);
    KnitScene &scene = chart.scene;
    scene.editMode = KnitScene::EditBorder;
    press(scene, at(scene, 0, 1, 0.1, 0.2));
    move(scene, at(scene, 5, 1, 0.9, 0.2));
    release(scene, at(scene, 5, 1, 0.9, 0.2));
    for (int x = 0; x < 6; ++x)
        QVERIFY2(chart.grid.hasBorder(x, 1, ChartCell::Top), qPrintable(QString::number(x)));
    QVERIFY(!chart.grid.hasBorder(2, 1, ChartCell::Left));
    QVERIFY(!chart.grid.hasBorder(2, 1, ChartCell::Bottom));
}

void TestKnitSceneInput::findQuadrants()
{
    ChartScene chart(2, 2);
    KnitScene &scene = chart.scene;
    QCOMPARE(scene.findQuad(at(scene, 1, 0, 0.9, 0.1)), 1);
    QCOMPARE(scene.findQuad(at(scene, 1, 0, 0.1, 0.1)), 2);
    QCOMPARE(scene.findQuad(at(scene, 1, 0, 0.1, 0.9)), 3);
    QCOMPARE(scene.findQuad(at(scene, 1, 0, 0.5, 0.5)), 4); // the centre counts right and bottom
    ChartScene empty(0, 0);
    QCOMPARE(empty.scene.findQuad(QPointF(5, 5)), 0);
}

void TestKnitSceneInput::gesturesSelect_data()
{
    QTest::addColumn<bool>("lasso");
    QTest::addColumn<QPoint>("from"); // cells of the grid; -1 stands for the numbers left of it or above it
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<int>("type");
    QTest::addColumn<QRect>("selected");
    const int rows = KnitScene::SelectRows;
    QTest::newRow("a row's number") << false << QPoint(-1, 2) << QPoint(-1, 2) << rows << QRect(0, 2, 6, 1);
    QTest::newRow("along the row numbers") << false << QPoint(-1, 2) << QPoint(-1, 5) << rows << QRect(0, 2, 6, 4);
    QTest::newRow("from the numbers into the grid") << false << QPoint(-1, 1) << QPoint(2, 2) << rows
                                                    << QRect(0, 1, 6, 2);
    QTest::newRow("a column's number") << false << QPoint(4, -1) << QPoint(4, -1) << int(KnitScene::SelectColumns)
                                       << QRect(4, 0, 1, 6);
    QTest::newRow("the corner") << false << QPoint(-1, -1) << QPoint(-1, -1) << int(KnitScene::SelectAll)
                                << QRect(0, 0, 6, 6);
    QTest::newRow("a lasso") << true << QPoint(4, 1) << QPoint(2, 3) << int(KnitScene::SelectLasso) << QRect(2, 1, 3, 3);
}

// Pressing on the numbers, or dragging a lasso, selects and paints nothing.
void TestKnitSceneInput::gesturesSelect()
{
    QFETCH(bool, lasso);
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(int, type);
    QFETCH(QRect, selected);
    ChartScene chart(6, 6);
    KnitScene &scene = chart.scene;
    scene.editMode = lasso ? KnitScene::EditLasso : KnitScene::EditStitch;
    scene.curStitch = stitchById("p");
    const auto point = [&scene](const QPoint &cell) {
        return QPointF(cell.x() < 0 ? scene.leftHeaderSize().width() / 2.0 : at(scene, cell.x(), 0).x(),
                       cell.y() < 0 ? scene.topHeaderSize().height() / 2.0 : at(scene, 0, cell.y()).y());
    };
    press(scene, point(from));
    if (to != from)
        move(scene, point(to));
    release(scene, point(to));
    QCOMPARE(int(scene.selectionType), type);
    QCOMPARE(scene.selection(), selected);
    QCOMPARE(scene.undoStack()->count(), 0);
}

// The arrow keys move a selection of rows or columns by one, as far as the
// edge.
void TestKnitSceneInput::arrowsMoveNumberSelection()
{
    ChartScene chart(6, 8);
    KnitScene &scene = chart.scene;
    scene.setSelected(QRectF(0, 2, 5, 3), KnitScene::SelectRows);
    key(scene, Qt::Key_Up);
    QCOMPARE(scene.selection(), QRect(0, 1, 6, 1));
    key(scene, Qt::Key_Up);
    key(scene, Qt::Key_Up); // already at the top
    QCOMPARE(scene.selection(), QRect(0, 0, 6, 1));
    key(scene, Qt::Key_Down);
    QCOMPARE(scene.selection(), QRect(0, 1, 6, 1));

    scene.setSelected(QRectF(4, 0, 0, 7), KnitScene::SelectColumns);
    key(scene, Qt::Key_Right);
    key(scene, Qt::Key_Right); // the last column
    QCOMPARE(scene.selection(), QRect(5, 0, 1, 8));
    key(scene, Qt::Key_Left);
    QCOMPARE(scene.selection(), QRect(4, 0, 1, 8));
}

void TestKnitSceneInput::selectionFollowsInserts_data()
{
    QTest::addColumn<QRect>("selected");
    QTest::addColumn<bool>("rows"); // rows inserted, else columns
    QTest::addColumn<int>("at");
    QTest::addColumn<QRect>("after");
    // A 6 x 5 chart; two rows or columns go in.
    const QRect block(1, 1, 2, 2);
    QTest::newRow("rows above") << block << true << 0 << QRect(1, 3, 2, 2);
    QTest::newRow("rows within") << block << true << 2 << QRect(1, 1, 2, 4);
    QTest::newRow("rows below") << block << true << 3 << block;
    QTest::newRow("columns left") << block << false << 1 << QRect(3, 1, 2, 2);
    QTest::newRow("columns within") << block << false << 2 << QRect(1, 1, 4, 2);
    QTest::newRow("columns right") << block << false << 3 << block;
    QTest::newRow("whole rows, new columns") << QRect(0, 2, 6, 1) << false << 6 << QRect(0, 2, 8, 1);
    QTest::newRow("whole columns, new rows") << QRect(4, 0, 1, 5) << true << 0 << QRect(4, 0, 1, 7);
    QTest::newRow("all, new rows at the end") << QRect(0, 0, 6, 5) << true << 5 << QRect(0, 0, 6, 7);
}

// Cells that were selected stay selected as rows or columns make room,
// and new ones among them, or across a selection spanning the chart, join.
void TestKnitSceneInput::selectionFollowsInserts()
{
    QFETCH(QRect, selected);
    QFETCH(bool, rows);
    QFETCH(int, at);
    QFETCH(QRect, after);
    ChartScene chart(6, 5);
    chart.scene.setSelected(QRectF(selected.topLeft(), selected.bottomRight()), KnitScene::SelectLasso);
    QCOMPARE(chart.scene.selection(), selected);
    for (int i = 0; i < 2; ++i) {
        if (rows)
            chart.grid.insertRow(at, stitchById("p"));
        else
            chart.grid.insertColumn(at, stitchById("p"));
    }
    QCOMPARE(chart.scene.selection(), after);
}

// Ctrl + wheel asks the view to zoom, whole steps at a time; it edits
// nothing.
void TestKnitSceneInput::ctrlWheelZooms()
{
    ChartScene chart(3, 3);
    KnitScene &scene = chart.scene;
    QSignalSpy zoom(&scene, &KnitScene::zoomRequested);
    auto wheel = [&](int delta, Qt::KeyboardModifiers modifiers) {
        QGraphicsSceneWheelEvent event(QEvent::GraphicsSceneWheel);
        event.setDelta(delta);
        event.setModifiers(modifiers);
        QCoreApplication::sendEvent(&scene, &event);
    };
    const QSize cell = cellSize(scene);
    wheel(240, Qt::ControlModifier);
    wheel(240, Qt::NoModifier);
    wheel(-60, Qt::ControlModifier); // half a step, kept
    wheel(-60, Qt::ControlModifier);
    QCOMPARE(zoom.count(), 2);
    QCOMPARE(zoom.at(0).at(0).toInt(), 2);
    QCOMPARE(zoom.at(1).at(0).toInt(), -1);
    QCOMPARE(cellSize(scene), cell);
    QCOMPARE(scene.undoStack()->count(), 0);
}

void TestKnitSceneInput::deleteKeyAsksToDelete()
{
    ChartScene chart(4, 5);
    KnitScene &scene = chart.scene;
    QSignalSpy rowsToDelete(&scene, &KnitScene::deleteRow);
    QSignalSpy columnsToDelete(&scene, &KnitScene::deleteColumn);
    scene.setSelected(QRectF(0, 3, 3, 0), KnitScene::SelectRows);
    key(scene, Qt::Key_Delete);
    QCOMPARE(rowsToDelete.count(), 1);
    QCOMPARE(rowsToDelete.first().first().toInt(), 3);
    QCOMPARE(scene.rowCount(), 5);

    scene.setSelected(QRectF(1, 0, 0, 4), KnitScene::SelectColumns);
    key(scene, Qt::Key_Delete);
    QCOMPARE(columnsToDelete.first().first().toInt(), 1);

    scene.setSelected(QPoint(0, 0));
    key(scene, Qt::Key_Delete);
    QCOMPARE(rowsToDelete.count() + columnsToDelete.count(), 2);
}

YARNWISE_TEST_MAIN(TestKnitSceneInput)
#include "tst_knitsceneinput.moc"
