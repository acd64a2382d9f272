// Pattern files of garment size: reading one into plain values, opening it
// in the window as far as a usable chart, and saving it, each paired in the
// same run with its floor: a plain decoder of the same bytes into an array,
// and writing the same bytes from memory.
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_patternfile
//   QT_QPA_PLATFORM=offscreen build/bench/bench_patternfile --write DIR
//
// With --write it only writes the sample patterns (300 x 400 and
// 1000 x 1000) into DIR, for bench/bench_batch.sh.

#include "chartgrid.h"
#include "document.h"
#include "patternfile.h"
#include "stitch.h"
#include "stitchset.h"
#include "testenvironment.h"
#include "benchsupport.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QSaveFile>
#include <QTextStream>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

namespace {

using bench::best;

void report(const QString &what, double ms, double floorMs)
{
    bench::report(what, ms, floorMs, 1);
}

QTextStream &out = bench::out();

// A pattern with a Directions page and one chart of mixed stitches, runs of
// colour and a few borders.
QByteArray samplePattern(int width, int height)
{
    PatternValues pattern;
    PatternTab page;
    page.directions = std::make_unique<DirectionsValues>();
    QImage swatch(120, 80, QImage::Format_ARGB32);
    swatch.fill(QColor(200, 120, 90));
    page.directions->pictures.append(DirectionsPicture::fromImage(swatch));
    page.directions->html = QStringLiteral("<h1>Sweater</h1><p>Cast on %1 stitches.</p><img src=\"%2\"/>")
                                .arg(width)
                                .arg(DirectionsRecord::imageName(page.directions->pictures.first().hash));
    pattern.tabs.push_back(std::move(page));

    PatternTab chart;
    chart.chart = std::make_unique<ChartValues>();
    chart.chart->title = QStringLiteral("Body");
    chart.chart->grid = std::make_unique<ChartGrid>(width, height, StitchSet::instance()->defaultStitch());
    ChartGrid &grid = *chart.chart->grid;
    const char *ids[] = {"k", "p", "yo", "k2tog", "ssk", "k", "p", "x"};
    Stitch *stitches[8];
    for (int i = 0; i < 8; ++i)
        stitches[i] = StitchSet::instance()->findStitch(QString::fromLatin1(ids[i]));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            grid.setStitch(x, y, stitches[(x / 3 + y) % 8], 0);
            if ((x / 10 + y / 10) % 3 == 0)
                grid.setColor(x, y, QColor(250, 214, 165));
            if (y % 50 == 0)
                grid.setBorder(x, y, ChartCell::Top, true, Qt::darkRed);
        }
    }
    pattern.tabs.push_back(std::move(chart));

    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    PatternFile::write(stream, pattern);
    return bytes;
}

// The floor of reading: the cell groups' values straight into a plain
// array, trusting the bytes, the way the simplest decoder would.
struct PlainCell
{
    quint32 abbreviation;
    qint32 imgPos;
    char color[11];
    bool borders[4];
    char borderColors[4][11];
};

// Reads the file at `path` through in pieces of a megabyte, as the quickest
// reading of it does: what its bytes cost to get.
qint64 readThrough(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    QByteArray piece(1 << 20, Qt::Uninitialized);
    qint64 total = 0;
    for (qint64 read; (read = file.read(piece.data(), piece.size())) > 0;)
        total += read;
    return total;
}

// Decodes the cell groups of a `width` x `height` chart from the file's
// bytes, trusting every one of them.
std::vector<PlainCell> plainDecode(const QByteArray &bytes, int width, int height)
{
    QByteArray cellsTag;
    QDataStream tag(&cellsTag, QIODevice::WriteOnly);
    tag << QStringLiteral("<Cells>");
    const char *at = bytes.constData() + bytes.indexOf(cellsTag) + cellsTag.size();
    // Every tag is a 4-byte length and that many bytes; skip it.
    const auto skipTag = [&at] { at += 4 + qFromBigEndian<quint32>(at); };
    std::vector<PlainCell> cells(size_t(width) * height);
    for (size_t i = 0; i < cells.size(); ++i) {
        PlainCell &cell = cells[i];
        skipTag(); // <Cell>
        skipTag(); // X,Y:
        at += 8;
        skipTag(); // Abbriv:
        cell.abbreviation = qFromBigEndian<quint32>(at + 4);
        at += 4 + qFromBigEndian<quint32>(at);
        skipTag(); // ImgPos:
        cell.imgPos = qFromBigEndian<qint32>(at);
        at += 4;
        skipTag(); // Color:
        std::memcpy(cell.color, at, 11);
        at += 11;
        skipTag(); // Borders:
        for (bool &on : cell.borders)
            on = *at++ != 0;
        skipTag(); // BorderColors:
        std::memcpy(cell.borderColors, at, 44);
        at += 44;
        skipTag(); // </Cell>
    }
    return cells;
}

void reading(int width, int height, const QString &folder)
{
    const QByteArray bytes = samplePattern(width, height);
    const QString path = folder + QStringLiteral("/sample.kit");
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    file.close();
    const QString size = QStringLiteral("%1 x %2").arg(width).arg(height);
    out << QStringLiteral("%1 pattern: %2 MB\n").arg(size).arg(bytes.size() / 1e6, 0, 'f', 1);

    // The floor: getting the bytes, and decoding them from memory into a
    // plain array.
    size_t decoded = 0;
    const double floorRead = best(3, [&] { readThrough(path); });
    const double floorDecode = best(3, [&] { decoded = plainDecode(bytes, width, height).size(); });
    const double floor = floorRead + floorDecode;
    const double values = best(3, [&] {
        PatternFile pattern(path);
        pattern.open();
        PatternValues read;
        PatternFile::read(pattern.stream(), read);
    });
    report(QStringLiteral("reading %1 into plain values").arg(size), values, floor);
    // Opening in the window: the values, then the document's tabs with the
    // chart's view and written instructions, as far as a usable chart.
    const double window = best(3, [&] {
        PatternFile pattern(path);
        pattern.open();
        Document doc(pattern.stream());
        doc.loadDocument(pattern.stream());
        QCoreApplication::processEvents();
    });
    report(QStringLiteral("opening %1 in the window").arg(size), window, floor);
    if (decoded != size_t(width) * height)
        out << "the plain decoder read " << decoded << " cells\n";

    PatternFile pattern(path);
    pattern.open();
    Document doc(pattern.stream());
    doc.loadDocument(pattern.stream());
    const QString target = folder + QStringLiteral("/saved.kit");
    const double save = best(3, [&] {
        PatternFile::save(target, [&doc](QDataStream &stream) { return doc.save(stream); });
    });
    const double saveFloor = best(3, [&] {
        QSaveFile plain(target);
        plain.open(QIODevice::WriteOnly);
        plain.write(bytes);
        plain.commit();
    });
    report(QStringLiteral("saving %1").arg(size), save, saveFloor);
}

} // namespace

int main(int argc, char *argv[])
{
    const auto run = bench::start(argc, argv);

    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 3 && arguments.at(1) == QLatin1String("--write")) {
        for (const QSize &size : {QSize(300, 400), QSize(1000, 1000)}) {
            const QString path = QStringLiteral("%1/pattern-%2x%3.kit")
                                     .arg(arguments.at(2)).arg(size.width()).arg(size.height());
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly) || file.write(samplePattern(size.width(), size.height())) < 0)
                return 1;
            out << "wrote " << path << "\n";
        }
        return 0;
    }
    reading(300, 400, run.scratch(QString()));
    reading(1000, 1000, run.scratch(QString()));
    return 0;
}
