#include "chartrenderer.h"
#include "chartscene.h"
#include "imagefixtures.h"
#include "knitscene.h"
#include "settings.h"
#include "stitch.h"
#include "stitchset.h"
#include "testenvironment.h"

#include <QApplication>
#include <QPainter>
#include <QSignalSpy>
#include <QUndoStack>
#include <QSet>
#include <QtTest>

// The scene as a view of the chart's model: where it lays the cells out,
// how it follows the model and what it paints.
class TestKnitScene : public TestSuite
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { StitchSet::instance()->load(); }

    void newChartGeometry();
    void followsTheModel();
    void paintsCells();
    void symbolsKeepProportions();
    void symbolsTakeCellColour();
    void heavyLinesEveryTen();
    void repeatsOutlined();
    void paintsNumbersWhereRowsStart();
    void paintsSimplifiedFromAfar();
};

// The scene drawn at `scale` into a white picture.
static QImage render(KnitScene &scene, qreal scale = 1.0)
{
    const QSizeF size = scene.sceneRect().size() * scale;
    QImage image(size.toSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    scene.render(&painter, QRectF(image.rect()), scene.sceneRect());
    painter.end();
    return image;
}

// The pixel at fraction (fx, fy) of cell (x, y) of an unscaled picture.
static QColor pixelIn(const QImage &image, const KnitScene &scene, int x, int y, qreal fx = 0.15, qreal fy = 0.15)
{
    const QRect cell = scene.cellRect(x, y);
    return image.pixelColor(cell.left() + int(fx * cell.width()), cell.top() + int(fy * cell.height()));
}

void TestKnitScene::newChartGeometry()
{
    ChartScene chart(3, 2);
    KnitScene &scene = chart.scene;
    QCOMPARE(scene.topHeaderSize(), QSize(24, 17));
    QCOMPARE(scene.bottomHeaderSize(), QSize(24, 17));
    QCOMPARE(scene.leftHeaderSize(), QSize(24, 22));
    // The bottom numbers count even while hidden.
    QCOMPARE(scene.sceneRect(), QRectF(0, 0, 121, 79));
    QCOMPARE(scene.cellRect(1, 1), QRect(48, 39, 24, 22));
    // Points off the grid fall in the nearest cell.
    QCOMPARE(scene.targetCell(QPointF(0, 0)), QPoint(0, 0));
    QCOMPARE(scene.targetCell(QPointF(5000, 5000)), QPoint(2, 1));
    QCOMPARE(scene.targetCell(QPointF(24 + 24 + 3, 17 + 22 + 3)), QPoint(1, 1));
}

void TestKnitScene::followsTheModel()
{
    ChartScene chart(10, 10);
    chart.grid.setCellSize(QSize(30, 30));
    QCOMPARE(chart.scene.sceneRect(), QRectF(0, 0, 361, 349));
    QCOMPARE(chart.scene.cellRect(9, 9), QRect(30 + 270, 24 + 270, 30, 30));

    chart.grid.insertColumn(0, stitchById("p"));
    QCOMPARE(chart.scene.sceneRect().width(), 30.0 + 330 + 30 + 1);
    chart.scene.setSelected(QRectF(0, 2, 10, 0), KnitScene::SelectRows);
    chart.grid.removeRow(2);
    QVERIFY(!chart.scene.hasSelection());
    QCOMPARE(chart.scene.sceneRect().height(), 24.0 + 270 + 24 + 1);
}

void TestKnitScene::paintsCells()
{
    ChartScene chart(4, 1);
    chart.grid.setStitch(0, 0, stitchById("x"), 0);
    chart.grid.setColor(1, 0, QColor(0, 200, 0));
    chart.grid.setBorder(1, 0, ChartCell::Right, true, Qt::red);
    chart.scene.setSelected(QPoint(3, 0));
    const QImage image = render(chart.scene);

    QCOMPARE(pixelIn(image, chart.scene, 0, 0), ChartRenderer::noStitchGray());
    QCOMPARE(pixelIn(image, chart.scene, 1, 0), QColor(0, 200, 0));
    // The selected cell is marked, never a flat tint that reads as a cell
    // colour: hatched across, outlined along its edge.
    const QRect selected = chart.scene.cellRect(3, 0);
    QSet<QRgb> across;
    for (int x = selected.left() + 4; x < selected.right() - 3; ++x)
        across.insert(image.pixel(x, selected.top() + 5));
    QVERIFY(across.size() >= 2);
    QVERIFY(image.pixelColor(selected.left() + 1, selected.center().y()) != QColor(Qt::white));
    QCOMPARE(pixelIn(image, chart.scene, 2, 0), QColor(Qt::white));
    // The 3-pixel red border is centred on the cell's last column.
    const QRect second = chart.scene.cellRect(1, 0);
    QCOMPARE(image.pixelColor(second.right() - 1, second.center().y()), QColor(Qt::red));
    QCOMPARE(image.pixelColor(second.right(), second.center().y()), QColor(Qt::red));
    // A number cell without its number still draws its background.
    QVERIFY(image.pixelColor(2, 17 + 11) != QColor(Qt::white));

    // A cable: its four images join across the cells into one symbol, so
    // its strokes cross the edges the cells share (in the middle one strand
    // passes behind the other).
    ChartScene cable(4, 1);
    for (int i = 0; i < 4; ++i)
        cable.grid.setStitch(i, 0, stitchById("c4f"), i);
    const QImage cabled = render(cable.scene);
    for (int x : {1, 3}) {
        const QRect edge = cable.scene.cellRect(x, 0).adjusted(1, 3, 0, -3);
        QVERIFY2(pixelsWhere(cabled, darkerThan(100), QRect(edge.left(), edge.top(), 1, edge.height())).count > 0, qPrintable(QStringLiteral("no stroke at the left edge of cell %1").arg(x)));
    }

    // A changed preference reaches the chart as the Options dialog sends it.
    Settings::instance()->setValue(QStringLiteral("GrayNoStitch"), false);
    chart.scene.updateHeaders();
    QCOMPARE(pixelIn(render(chart.scene), chart.scene, 0, 0), QColor(Qt::white));
}

// In a cell twice as wide as high a yarn over stays a circle, not an
// ellipse: the symbol keeps its proportions, centred in the cell.
void TestKnitScene::symbolsKeepProportions()
{
    ChartScene chart(1, 2);
    chart.grid.setStitch(0, 1, stitchById("yo"), 0);
    chart.grid.setCellSize(QSize(60, 30));
    const QImage image = render(chart.scene);
    const QRect cell = chart.scene.cellRect(0, 1).adjusted(2, 2, -2, -2);
    const QRect symbol = pixelsWhere(image, inked, cell).box;
    QVERIFY(!symbol.isEmpty());
    QVERIFY2(qAbs(symbol.width() - symbol.height()) <= 2, qPrintable(QStringLiteral("%1 x %2").arg(symbol.width()).arg(symbol.height())));
    QVERIFY(qAbs(symbol.center().x() - cell.center().x()) <= 2);
}

// A cable's strands are white inside, to hide the strand behind; on a
// coloured cell they take the cell's colour instead of punching white
// holes into it.
void TestKnitScene::symbolsTakeCellColour()
{
    ChartScene chart(4, 1);
    for (int i = 0; i < 4; ++i) {
        chart.grid.setStitch(i, 0, stitchById("c4f"), i);
        chart.grid.setColor(i, 0, QColor(200, 40, 40));
    }
    // On screen from pictures; in print and PDF from the artwork.
    QImage fromArtwork(render(chart.scene).size(), QImage::Format_RGB32);
    fromArtwork.fill(Qt::white);
    ChartStyle print;
    print.vectorSymbols = true;
    QPainter painter(&fromArtwork);
    ChartRenderer(chart.grid, print).paint(&painter, QRectF(fromArtwork.rect()));
    painter.end();
    for (const QImage &image : {render(chart.scene), fromArtwork}) {
        int white = 0;
        int dark = 0;
        for (int i = 0; i < 4; ++i) {
            const QRect cell = chart.scene.cellRect(i, 0).adjusted(2, 2, -2, -2);
            white += pixelsWhere(image, [](const QColor &c) { return c.lightness() > 230; }, cell).count;
            dark += pixelsWhere(image, darkerThan(60), cell).count;
        }
        QCOMPARE(white, 0);
        QVERIFY(dark > 20); // the strands are still drawn
    }
}

// The heavier lines fall after stitch 10 and row 10 by the chart's own
// numbers: counted from the right and from the bottom.
void TestKnitScene::heavyLinesEveryTen()
{
    ChartScene chart(12, 12);
    QImage image(render(chart.scene).size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    ChartStyle style;
    style.heavyLinesEvery = 10;
    QPainter painter(&image);
    ChartRenderer(chart.grid, style).paint(&painter, QRectF(image.rect()));
    painter.end();
    const auto darkness = [&image](int x, int y) { return 255 - qGray(image.pixel(x, y)); };
    const int middleY = chart.scene.cellRect(5, 5).center().y();
    const int tenth = chart.scene.cellRect(2, 5).left(); // left of stitch 10
    const int ninth = chart.scene.cellRect(3, 5).left();
    QVERIFY(darkness(tenth, middleY) > 150);
    QVERIFY(darkness(ninth, middleY) < 150);
    const int middleX = chart.scene.cellRect(5, 5).center().x();
    QVERIFY(darkness(middleX, chart.scene.cellRect(5, 2).top()) > 150); // above row 10
    QVERIFY(darkness(middleX, chart.scene.cellRect(5, 3).top()) < 150);
}

// A repeat box is outlined in its colour on the grid lines around it, and
// nowhere else.
void TestKnitScene::repeatsOutlined()
{
    ChartScene chart(6, 4);
    chart.scene.editor().markRepeat(QRect(1, 1, 3, 2), QColor(0, 0, 255));
    const QImage image = render(chart.scene);
    const auto blue = [&image](const QPoint &at) {
        const QColor c = image.pixelColor(at);
        return c.blue() > 200 && c.red() < 60 && c.green() < 60;
    };
    const QRect first = chart.scene.cellRect(1, 1), last = chart.scene.cellRect(3, 2);
    QVERIFY(blue(QPoint(first.left(), first.center().y())));
    QVERIFY(blue(QPoint(last.center().x(), last.bottom() + 1)));
    QVERIFY(blue(QPoint(last.right() + 1, last.center().y())));
    QVERIFY(!blue(first.center()));
    const QRect outside = chart.scene.cellRect(5, 1);
    QVERIFY(!blue(QPoint(outside.left(), outside.center().y())));
}

void TestKnitScene::paintsNumbersWhereRowsStart()
{
    // Flat from the right side: row 1 (the bottom) is numbered at the
    // right, row 2 at the left.
    ChartScene chart(3, 2);
    const QImage image = render(chart.scene);
    const auto numbered = [&image](const QRect &area) {
        return pixelsWhere(image, darkerThan(60), area.adjusted(2, 2, -2, -2)).count > 0;
    };
    const ChartLayout layout = chart.scene.layout();
    QVERIFY(numbered(layout.rightHeaderRect(1)));
    QVERIFY(!numbered(layout.leftHeaderRect(1)));
    QVERIFY(numbered(layout.leftHeaderRect(0)));
    QVERIFY(!numbered(layout.rightHeaderRect(0)));
    QVERIFY(numbered(layout.topHeaderRect(0)));

    chart.grid.setKnitStyle(KnitStyle::Round);
    const QImage round = render(chart.scene);
    QVERIFY(round != image);
}

void TestKnitScene::paintsSimplifiedFromAfar()
{
    ChartScene chart(200, 150);
    chart.grid.setColor(10, 10, Qt::red);
    chart.grid.setStitch(20, 20, stitchById("x"), 0);
    chart.grid.setBorder(30, 30, ChartCell::Top, true, Qt::blue);
    chart.scene.setSelected(QRectF(100, 100, 20, 20), KnitScene::SelectLasso);
    // A tenth of the size: cells of about two pixels.
    const qreal scale = 0.1;
    const QImage image = render(chart.scene, scale);
    auto at = [&](int x, int y) {
        const QRect cell = chart.scene.cellRect(x, y);
        return image.pixelColor(int((cell.left() + cell.width() / 2) * scale), int((cell.top() + cell.height() / 2) * scale));
    };
    QCOMPARE(at(10, 10), QColor(Qt::red));
    QCOMPARE(at(20, 20), ChartRenderer::noStitchGray());
    QCOMPARE(at(50, 50), QColor(Qt::white));
    QVERIFY(at(110, 110) != QColor(Qt::white));

    // The picture follows edits made after it was first drawn.
    chart.grid.setColor(50, 50, Qt::green);
    QCOMPARE(render(chart.scene, scale).pixelColor(int((chart.scene.cellRect(50, 50).center().x()) * scale),
                                                   int((chart.scene.cellRect(50, 50).center().y()) * scale)),
             QColor(Qt::green));
}

YARNWISE_TEST_MAIN(TestKnitScene)
#include "tst_knitscene.moc"
