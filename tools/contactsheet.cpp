// Renders every stitch of the built-in set, as the program draws it, into one
// PNG for review: the abbreviation and name, the cells at the default chart
// size of 24 x 22 and at the 64 x 64 icon size.
//
//   yarnwise_contactsheet OUT.png [CATEGORY]

#include "stitch.h"
#include "stitchset.h"
#include "stitchsetfile.h"

#include <QApplication>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QTextStream>

namespace {

const int margin = 10;
const int sheetWidth = 1600;
const int labelHeight = 18;
const QSize smallCell(24, 22);
const int largeCell = 64;

int tileWidth(const Stitch *stitch)
{
    return qMax(170, stitch->cellsPerStitch() * largeCell + 2 * margin);
}

int tileHeight()
{
    return labelHeight + smallCell.height() + largeCell + 3 * margin;
}

void drawCells(QPainter &painter, Stitch *stitch, QPoint origin, QSize cell)
{
    for (int i = 0; i < stitch->cellsPerStitch(); ++i) {
        const QRect box(origin + QPoint(i * cell.width(), 0), cell);
        painter.fillRect(box, Qt::white);
        painter.drawPixmap(box.topLeft(), *stitch->image(cell.width(), cell.height(), i));
        painter.setPen(QColor(160, 160, 160));
        painter.drawRect(box.adjusted(0, 0, -1, -1));
    }
}

void drawTile(QPainter &painter, Stitch *stitch, QPoint origin)
{
    painter.setPen(Qt::black);
    const QString label = QStringLiteral("%1  %2").arg(stitch->stitchID(), stitch->name());
    painter.drawText(QRect(origin, QSize(tileWidth(stitch) - margin, labelHeight)), Qt::AlignLeft | Qt::AlignVCenter,
                     painter.fontMetrics().elidedText(label, Qt::ElideRight, tileWidth(stitch) - margin));
    drawCells(painter, stitch, origin + QPoint(0, labelHeight + margin / 2), smallCell);
    drawCells(painter, stitch, origin + QPoint(0, labelHeight + smallCell.height() + margin), QSize(largeCell, largeCell));
}

QList<QPoint> layOut(const QList<Stitch *> &stitches, int *height)
{
    QList<QPoint> origins;
    QPoint next(margin, margin);
    for (const Stitch *stitch : stitches) {
        if (next.x() + tileWidth(stitch) > sheetWidth) {
            next = QPoint(margin, next.y() + tileHeight());
        }
        origins.append(next);
        next.rx() += tileWidth(stitch);
    }
    *height = next.y() + tileHeight() + margin;
    return origins;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTextStream err(stderr);
    if (argc < 2) {
        err << "usage: yarnwise_contactsheet OUT.png [CATEGORY]\n";
        return 2;
    }
    const QString category = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();

    // The built-in set straight from the resources, whatever the user's
    // own files say.
    StitchSet set;
    if (!StitchSetFile::read(QStringLiteral(":/stitches_yrn.xml"), set)) {
        err << "the built-in stitch set could not be read\n";
        return 1;
    }
    QList<Stitch *> stitches;
    for (Stitch *stitch : set.stitches()) {
        if (category.isEmpty() || stitch->category() == category)
            stitches.append(stitch);
    }

    int height = 0;
    const QList<QPoint> origins = layOut(stitches, &height);
    QImage sheet(sheetWidth, height, QImage::Format_RGB32);
    sheet.fill(QColor(236, 236, 236));
    QPainter painter(&sheet);
    painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 8));
    for (int i = 0; i < stitches.size(); ++i)
        drawTile(painter, stitches.at(i), origins.at(i));
    painter.end();

    if (!sheet.save(QString::fromLocal8Bit(argv[1]))) {
        err << "could not write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
