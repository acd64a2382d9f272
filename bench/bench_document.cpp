// Opening a pattern of many small charts in the window: the time to a
// usable document and the heap it holds, paired with the floor of reading
// the same file into plain values.
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_document [CHARTS]

#include "benchsupport.h"
#include "chartgrid.h"
#include "document.h"
#include "patternfile.h"
#include "stitchset.h"
#include "testenvironment.h"

#include <QApplication>
#include <QDataStream>
#include <QFile>

namespace {

using bench::best;
using bench::heapInUse;
using bench::report;

QTextStream &out = bench::out();

// `charts` charts of 20 x 20 knit stitches with a purl row and a colour.
QByteArray manyCharts(int charts)
{
    PatternValues pattern;
    Stitch *purl = StitchSet::instance()->findStitch(QStringLiteral("p"));
    for (int i = 0; i < charts; ++i) {
        PatternTab tab;
        tab.chart = std::make_unique<ChartValues>();
        tab.chart->title = QStringLiteral("Motif %1").arg(i + 1);
        tab.chart->grid = std::make_unique<ChartGrid>(20, 20, StitchSet::instance()->defaultStitch());
        for (int x = 0; x < 20; ++x) {
            tab.chart->grid->setStitch(x, i % 20, purl, 0);
            tab.chart->grid->setColor(x, (i + 5) % 20, QColor(250, 214, 165));
        }
        pattern.tabs.push_back(std::move(tab));
    }
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    PatternFile::write(stream, pattern);
    return bytes;
}

void opening(int charts, const QString &path)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(manyCharts(charts));
    file.close();

    const double floor = best(3, [&] {
        PatternFile pattern(path);
        pattern.open();
        PatternValues read;
        PatternFile::read(pattern.stream(), read);
    });
    const double window = best(3, [&] {
        PatternFile pattern(path);
        pattern.open();
        Document doc(pattern.stream());
        doc.loadDocument(pattern.stream());
        doc.show();
        QCoreApplication::processEvents();
    });
    report(QStringLiteral("opening %1 charts of 20 x 20 in the window").arg(charts), window, floor);

    const size_t before = heapInUse();
    {
        PatternFile pattern(path);
        pattern.open();
        PatternValues read;
        PatternFile::read(pattern.stream(), read);
        const size_t plain = heapInUse() - before;
        Document doc(pattern.stream());
        PatternFile again(path);
        again.open();
        Document shown(again.stream());
        shown.loadDocument(again.stream());
        shown.show();
        QCoreApplication::processEvents();
        const size_t held = heapInUse() - before - plain;
        out << QStringLiteral("heap of the document: %1 MB, %2 KB a chart; plain values %3 KB a chart\n")
                   .arg(held / 1e6, 0, 'f', 1)
                   .arg(held / 1e3 / charts, 0, 'f', 0)
                   .arg(plain / 1e3 / charts, 0, 'f', 0);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    const auto run = bench::start(argc, argv);
    const int charts = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 300;
    opening(charts, run.scratch(QStringLiteral("many.kit")));
    return 0;
}
