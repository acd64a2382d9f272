// The chart grid: building charts of garment size against a bare baseline of
// plain rectangle items, saving and loading, resizing cells, replacing a
// row, and the memory a cell costs. With an argument, also renders a small
// mixed chart to that PNG file for a look.

#include "knitcell.h"
#include "knitscene.h"
#include "stitch.h"
#include "stitchset.h"
#include "testenvironment.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QImage>
#include <QPainter>
#include <QTextStream>
#include <QUndoStack>

#include <limits>
#include <malloc.h>
#include <memory>

namespace {

QTextStream out(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered);

// Bytes the program has taken from the heap and not yet given back.
size_t heapInUse()
{
    return mallinfo2().uordblks;
}

// Creating and adding the same number of plain rectangle items.
qint64 baseline(int width, int height)
{
    QElapsedTimer timer;
    timer.start();
    QGraphicsScene scene;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            scene.addItem(new QGraphicsRectItem(x * 24, y * 22, 24, 22));
    }
    const qint64 elapsed = timer.elapsed();
    // Let the scene polish its items, or tearing it down takes quadratic time.
    QCoreApplication::sendPostedEvents(&scene, QEvent::MetaCall);
    return elapsed;
}

qint64 chartBuild(int width, int height)
{
    QElapsedTimer timer;
    timer.start();
    KnitScene scene(width, height, QString());
    return timer.elapsed();
}

// Both builds are timed three times in turn and the best of each counts,
// so that neither gains from memory the other has just freed.
void compareBuilds(int width, int height)
{
    qint64 bestBare = std::numeric_limits<qint64>::max();
    qint64 bestChart = bestBare;
    for (int round = 0; round < 3; ++round) {
        bestBare = qMin(bestBare, baseline(width, height));
        bestChart = qMin(bestChart, chartBuild(width, height));
    }
    out << QStringLiteral("build %1 x %2: %3 ms (baseline %4 ms, ratio %5)\n")
               .arg(width).arg(height).arg(bestChart).arg(bestBare)
               .arg(bestBare > 0 ? double(bestChart) / bestBare : 0.0, 0, 'f', 2);
}

void buildChart(int width, int height)
{
    const size_t before = heapInUse();
    QElapsedTimer timer;
    timer.start();
    auto scene = std::make_unique<KnitScene>(width, height, QString());
    const qint64 built = timer.elapsed();
    const size_t after = heapInUse();
    out << QStringLiteral("first build %1 x %2: %3 ms, %4 bytes per cell\n")
               .arg(width).arg(height).arg(built)
               .arg(double(after - before) / (width * height), 0, 'f', 0);

    QByteArray bytes;
    timer.restart();
    {
        QDataStream stream(&bytes, QIODevice::WriteOnly);
        stream.setVersion(QDataStream::Qt_4_6);
        scene->save(stream);
    }
    const qint64 saved = timer.elapsed();
    timer.restart();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QDataStream in(&buffer);
    in.setVersion(QDataStream::Qt_4_6);
    QString token;
    in >> token;
    KnitScene loaded(in, width, height, 0, QStringLiteral("Right Side"), nullptr);
    const bool ok = loaded.loadScene(in, width, height, nullptr);
    out << QStringLiteral("  save %1 ms (%2 MB), load %3 ms (%4)\n")
               .arg(saved).arg(bytes.size() / 1e6, 0, 'f', 1).arg(timer.elapsed()).arg(ok ? "ok" : "FAILED");

    timer.restart();
    scene->setCellSize(QSize(30, 28));
    out << QStringLiteral("  setCellSize %1 ms\n").arg(timer.elapsed());

    timer.restart();
    scene.reset();
    out << QStringLiteral("  closing %1 ms\n").arg(timer.elapsed());
}

void replaceRow()
{
    KnitScene scene(1000, 2, QString());
    const QList<Stitch *> row(1000, StitchSet::instance()->findStitch(QStringLiteral("p")));
    QElapsedTimer timer;
    timer.start();
    scene.updateRow(0, row);
    out << QStringLiteral("updateRow of 1000 cells: %1 ms\n").arg(timer.elapsed());
}

void renderSample(const QString &path)
{
    KnitScene scene(20, 15, QString());
    const char *pattern[] = {"k", "p", "yo", "k2tog", "ssk", "cdd", "x", "bobble", "m1l", "m1r"};
    for (int y = 0; y < 15; ++y) {
        for (int x = 0; x < 20; ++x)
            scene.at(x, y)->setStitch(StitchSet::instance()->findStitch(QString::fromLatin1(pattern[(x + 2 * y) % 10])));
    }
    Stitch *cable = StitchSet::instance()->findStitch(QStringLiteral("c6f"));
    for (int y = 2; y < 15; y += 4) {
        for (int i = 0; i < 6; ++i)
            scene.at(7 + i, y)->setStitch(cable, i);
    }
    for (int x = 0; x < 20; ++x) {
        scene.at(x, 7)->setColor(QColor(250, 214, 165));
        scene.at(x, 7)->setTopBorder(true, Qt::darkRed);
        if (x > 0)
            scene.at(x - 1, 6)->setBottomBorder(true, Qt::darkRed);
    }
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
    QApplication app(argc, argv);
    TestEnvironment::initApplication();
    TestEnvironment env;
    StitchSet::instance()->load();

    if (argc > 1) {
        renderSample(QString::fromLocal8Bit(argv[1]));
        return 0;
    }
    buildChart(300, 400);
    compareBuilds(300, 400);
    if (!qEnvironmentVariableIsSet("GARMENT_ONLY")) {
        buildChart(1000, 1000);
        compareBuilds(1000, 1000);
    }
    replaceRow();

    return 0;
}
