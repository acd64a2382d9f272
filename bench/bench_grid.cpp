// The chart model and its view: building charts of garment size, the heap a
// cell costs, and painting a 1400 x 900 view at full size, from afar and
// while scrolling. Every figure is paired, in the same run, with its floor:
// the same cells as a plain array, drawn with bare QPainter calls. With an
// argument, also renders a small mixed chart to that PNG file for a look.
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_grid [chart.png]

#include "chartgrid.h"
#include "knitscene.h"
#include "stitch.h"
#include "stitchset.h"
#include "testenvironment.h"
#include "benchsupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGraphicsView>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTextStream>
#include <QUndoStack>
#include <QtTest>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace {

using bench::best;
using bench::escape;
using bench::heapInUse;
using bench::report;

QTextStream &out = bench::out();

const QSize viewSize(1400, 900);

// What a new cell holds, as plainly as it can be held: its stitch, image
// index and colour, the colour as files keep it (a QColor, whatever its
// kind).
struct PlainCell
{
    Stitch *stitch;
    int imgPos;
    QColor color;
};

// A chart of mixed stitches and colours.
void fillMixed(ChartGrid &grid)
{
    const char *ids[] = {"k", "p", "yo", "k2tog", "ssk", "k", "p", "x"};
    Stitch *stitches[8];
    for (int i = 0; i < 8; ++i)
        stitches[i] = StitchSet::instance()->findStitch(QString::fromLatin1(ids[i]));
    for (int y = 0; y < grid.rowCount(); ++y) {
        for (int x = 0; x < grid.columnCount(); ++x) {
            grid.setStitch(x, y, stitches[(x + 3 * y) % 8], 0);
            if ((x / 10 + y / 10) % 3 == 0)
                grid.setColor(x, y, QColor(250, 214, 165));
        }
    }
}

void building(int width, int height)
{
    Stitch *knit = StitchSet::instance()->findStitch(QStringLiteral("k"));
    // The model and its scene, as a chart tab builds them, and a view.
    const double chart = best(3, [&] {
        ChartGrid grid(width, height, knit);
        QUndoStack stack;
        KnitScene scene(&grid, &stack);
        QGraphicsView view(&scene);
    });
    const double floor = best(3, [&] {
        std::vector<PlainCell> cells(size_t(width) * height, PlainCell{knit, 0, QColor(Qt::white)});
        escape(cells.data());
        QGraphicsScene scene;
        QGraphicsView view(&scene);
    });
    report(QStringLiteral("building %1 x %2").arg(width).arg(height), chart, floor);
}

void memory(int width, int height)
{
    Stitch *knit = StitchSet::instance()->findStitch(QStringLiteral("k"));
    const size_t before = heapInUse();
    auto grid = std::make_unique<ChartGrid>(width, height, knit);
    QUndoStack stack;
    auto scene = std::make_unique<KnitScene>(grid.get(), &stack);
    const double perCell = double(heapInUse() - before) / (double(width) * height);
    out << QStringLiteral("%1: %2 bytes a cell, floor %3 bytes (a plain array)\n")
               .arg(QStringLiteral("heap of a %1 x %2 chart").arg(width).arg(height), -48)
               .arg(perCell, 0, 'f', 1)
               .arg(sizeof(PlainCell));
}

// The cells a view shows at `scale`, drawn from a plain array: a fill and
// an outline each, as the simplest chart picture is made.
void paintFloor(QPainter &painter, const std::vector<PlainCell> &cells, int width, const QRect &visible,
                qreal scale)
{
    painter.scale(scale, scale);
    painter.setPen(QPen(Qt::gray, 0));
    for (int y = visible.top(); y <= visible.bottom(); ++y) {
        for (int x = visible.left(); x <= visible.right(); ++x) {
            const QRect cell(24 + x * 24, 17 + y * 22, 24, 22);
            painter.fillRect(cell, cells[size_t(y) * width + x].color);
            painter.drawRect(cell);
        }
    }
}

void painting()
{
    const int width = 1000, height = 1000;
    ChartGrid grid(width, height, StitchSet::instance()->findStitch(QStringLiteral("k")));
    fillMixed(grid);
    QUndoStack stack;
    KnitScene scene(&grid, &stack);
    QGraphicsView view(&scene);
    view.setRenderHint(QPainter::Antialiasing);
    view.resize(viewSize);
    view.show();
    if (!QTest::qWaitForWindowExposed(&view))
        out << "the view did not show\n";
    QWidget *viewport = view.viewport();

    std::vector<PlainCell> cells(size_t(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            cells[size_t(y) * width + x] = {grid.stitch(x, y), 0, grid.color(x, y)};
    }
    QImage target(viewport->size(), QImage::Format_ARGB32_Premultiplied);
    auto floorFrame = [&](qreal scale) {
        const QRectF shown(view.mapToScene(QPoint(0, 0)), QSizeF(viewport->size()) / scale);
        const QRect visible = scene.layout().cellsIn(shown);
        return best(5, [&] {
            QPainter painter(&target);
            painter.setRenderHint(QPainter::Antialiasing);
            paintFloor(painter, cells, width, visible, scale);
        });
    };
    auto frame = [&] { return best(5, [&] { viewport->repaint(); }); };

    // Full size, where row 1 starts.
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
    view.horizontalScrollBar()->setValue(view.horizontalScrollBar()->maximum());
    report(QStringLiteral("a frame at 100 %"), frame(), floorFrame(1.0));
    // A wheel step scrolls three lines; the view moves its pixels and paints
    // the strip that comes in.
    const int step = view.verticalScrollBar()->singleStep() * 3;
    QCoreApplication::processEvents();
    const double scroll = best(5, [&] {
        QScrollBar *bar = view.verticalScrollBar();
        bar->setValue(bar->value() == bar->maximum() ? bar->value() - step : bar->maximum());
        QCoreApplication::processEvents();
    });
    const double scrollFloor = best(5, [&] {
        QPainter painter(&target);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setClipRect(0, 0, viewSize.width(), step);
        paintFloor(painter, cells, width, QRect(0, 0, 1400 / 24 + 1, step / 22 + 1), 1.0);
    });
    report(QStringLiteral("a scroll step at 100 %"), scroll, scrollFloor);

    view.setTransform(QTransform::fromScale(0.25, 0.25));
    report(QStringLiteral("a frame at 25 %"), frame(), floorFrame(0.25));

    view.fitInView(scene.sceneRect(), Qt::KeepAspectRatio);
    report(QStringLiteral("a frame with the whole chart in view"), frame(), floorFrame(view.transform().m11()));
}

// A small mixed chart with cables, a coloured row and borders, for a look.
void renderSample(const QString &path)
{
    ChartGrid grid(20, 15, StitchSet::instance()->findStitch(QStringLiteral("k")));
    fillMixed(grid);
    Stitch *cable = StitchSet::instance()->findStitch(QStringLiteral("c6f"));
    for (int y = 1; y < 15; y += 4) {
        for (int i = 0; i < 6; ++i)
            grid.setStitch(7 + i, y, cable, i);
    }
    for (int x = 0; x < 20; ++x) {
        grid.setColor(x, 7, QColor(250, 214, 165));
        grid.setBorder(x, 7, ChartCell::Top, true, Qt::darkRed);
        grid.setBorder(x, 6, ChartCell::Bottom, true, Qt::darkRed);
    }
    QUndoStack stack;
    KnitScene scene(&grid, &stack);
    QImage image(scene.sceneRect().size().toSize() * 2, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    scene.render(&painter);
    painter.end();
    image.save(path);
    out << "wrote " << path << "\n";
}

} // namespace

int main(int argc, char *argv[])
{
    const auto run = bench::start(argc, argv);

    if (argc > 1) {
        renderSample(QString::fromLocal8Bit(argv[1]));
        return 0;
    }
    memory(1000, 1000);
    building(300, 400);
    building(1000, 1000);
    painting();
    return 0;
}
