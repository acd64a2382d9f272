#include "chartpicture.h"

#include "chartgrid.h"
#include "preferences.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <QSvgGenerator>

#include <cmath>

ChartStyle ChartPicture::preferredStyle(const ChartGrid &grid)
{
    ChartStyle style;
    style.headerBackground = Preferences::headerBackground.value();
    style.headersTop = Preferences::headersTop.value();
    style.headersBottom = grid.options().showsNumbersAtBottom(Preferences::headersBottom.value());
    style.grayNoStitch = Preferences::grayNoStitch.value();
    style.heavyLinesEvery = Preferences::heavyGridLines.value() ? 10 : 0;
    return style;
}

QRectF ChartPicture::sourceRect(const ChartGrid &grid, const ChartStyle &style)
{
    const ChartLayout layout(grid);
    const int left = ChartRenderer::anyNumberOnLeft(grid) ? 0 : layout.leftHeaderSize().width();
    const int top = style.headersTop ? 0 : layout.topHeaderSize().height();
    const int right = layout.width();
    int bottom = layout.gridBottom() + 1;
    if (style.headersBottom)
        bottom += layout.bottomHeaderSize().height();
    return QRectF(left, top, right - left, bottom - top);
}

void ChartPicture::paint(QPainter *painter, const ChartGrid &grid, ChartStyle style, QRectF target,
                         const QRectF &source)
{
    if (target.isNull() && painter->device()) {
        QPaintDevice *device = painter->device();
        target = device->devType() == QInternal::Picture ? source : QRectF(0, 0, device->width(), device->height());
    }
    if (source.isEmpty() || target.isEmpty())
        return;
    const qreal ratio = qMin(target.width() / source.width(), target.height() / source.height());
    painter->save();
    painter->setClipRect(target, Qt::IntersectClip);
    painter->setWorldTransform(QTransform()
                                   .translate(target.left(), target.top())
                                   .scale(ratio, ratio)
                                   .translate(-source.left(), -source.top()),
                               true);
    style.simplifyBelow = 0;
    ChartRenderer(grid, style).paint(painter, source);
    painter->restore();
}

void ChartPicture::print(QPainter *painter, const ChartGrid &grid, ChartStyle style, const QRectF &target)
{
    style.vectorSymbols = true;
    paint(painter, grid, style, target, ChartLayout(grid).sceneRect());
}

namespace {

// A part's frame as three spans across and three down, each a span of the
// whole chart's drawing: the numbers before, the cells, the numbers after.
// Hidden numbers take no room.
struct PartSpans
{
    QPair<qreal, qreal> across[3];
    QPair<qreal, qreal> down[3];
};

PartSpans partSpans(const ChartGrid &grid, const ChartStyle &style, const QRect &cells)
{
    const ChartLayout layout(grid);
    const QSize cell = layout.cellSize();
    PartSpans spans;
    // No row starts at the left (in the round): no numbers there.
    spans.across[0] = {0, ChartRenderer::anyNumberOnLeft(grid) ? layout.gridLeft() : 0};
    spans.across[1] = {layout.gridLeft() + cells.left() * cell.width(), cells.width() * cell.width()};
    spans.across[2] = {layout.gridRight(), layout.width() - layout.gridRight()};
    spans.down[0] = {0, style.headersTop ? layout.gridTop() : 0};
    spans.down[1] = {layout.gridTop() + cells.top() * cell.height(), cells.height() * cell.height()};
    spans.down[2] = {layout.gridBottom(), style.headersBottom ? layout.height() - layout.gridBottom() : 0};
    return spans;
}

} // namespace

QSize ChartPicture::fittedSize(const QSizeF &source, int width)
{
    const double ratio = source.width() > 0 ? source.height() / source.width() : 1.0;
    double w = qMax(width, smallestSide);
    double h = std::ceil(w * ratio);
    if (w > largestSide || h > largestSide) {
        const double shrink = largestSide / qMax(w, h);
        w = std::floor(w * shrink);
        h = std::floor(h * shrink);
    }
    return QSize(qMax(int(w), smallestSide), qMax(int(h), smallestSide));
}

QSizeF ChartPicture::partSize(const ChartGrid &grid, const ChartStyle &style, const QRect &cells)
{
    const PartSpans spans = partSpans(grid, style, cells);
    QSizeF size;
    for (int i = 0; i < 3; ++i) {
        size.rwidth() += spans.across[i].second;
        size.rheight() += spans.down[i].second;
    }
    return size;
}

void ChartPicture::paintPart(QPainter *painter, const ChartGrid &grid, ChartStyle style, const QRect &cells,
                             const QPointF &topLeft, qreal scale)
{
    const PartSpans spans = partSpans(grid, style, cells);
    style.vectorSymbols = true;
    qreal y = topLeft.y();
    for (const auto &down : spans.down) {
        qreal x = topLeft.x();
        for (const auto &across : spans.across) {
            const QRectF source(across.first, down.first, across.second, down.second);
            if (!source.isEmpty())
                paint(painter, grid, style, QRectF(x, y, source.width() * scale, source.height() * scale), source);
            x += across.second * scale;
        }
        y += down.second * scale;
    }
    // Without numbers below, a line closes the grid as it closes the whole
    // chart.
    if (!style.headersBottom) {
        const qreal left = topLeft.x() + spans.across[0].second * scale;
        const qreal bottom = topLeft.y() + (spans.down[0].second + spans.down[1].second + 0.5) * scale;
        painter->save();
        painter->setPen(QPen(Qt::black, scale));
        painter->drawLine(QPointF(left, bottom), QPointF(left + spans.across[1].second * scale, bottom));
        painter->restore();
    }
}

QRect ChartPicture::keptPart(const ChartGrid &grid, const QRect &cells)
{
    const QRect whole(0, 0, grid.columnCount(), grid.rowCount());
    const QRect part = cells & whole;
    if (part.isEmpty() || part == whole)
        return QRect();
    return QRect(whole.right() - part.right(), whole.bottom() - part.bottom(), part.width(), part.height());
}

QRect ChartPicture::cellsOfPart(const ChartGrid &grid, const QRect &part)
{
    if (part.isNull() || part.width() <= 0 || part.height() <= 0)
        return QRect();
    // In 64 bits: a part read from a file may reach far beyond any chart.
    const qint64 columns = grid.columnCount();
    const qint64 rows = grid.rowCount();
    const qint64 right = columns - 1 - part.x();
    const qint64 bottom = rows - 1 - part.y();
    const qint64 left = qMax<qint64>(0, right - part.width() + 1);
    const qint64 top = qMax<qint64>(0, bottom - part.height() + 1);
    if (right < 0 || bottom < 0 || (left == 0 && top == 0 && right == columns - 1 && bottom == rows - 1))
        return QRect();
    return QRect(int(left), int(top), int(right - left + 1), int(bottom - top + 1));
}

void ChartPicture::printPart(QPainter *painter, const ChartGrid &grid, const ChartStyle &style, const QRect &cells,
                             const QRectF &target)
{
    const QRect whole(0, 0, grid.columnCount(), grid.rowCount());
    const QRect part = cells & whole;
    if (part.isEmpty() || part == whole) {
        print(painter, grid, style, target);
        return;
    }
    const QSizeF size = partSize(grid, style, part);
    const qreal scale = qMin(target.width() / size.width(), target.height() / size.height());
    paintPart(painter, grid, style, part, target.topLeft(), scale);
}

bool ChartPicture::write(const QString &fileName, const ChartGrid &grid, const ChartStyle &style, const QSize &size,
                         int resolution, const QString &title, const QRect &cells)
{
    const QRect whole(0, 0, grid.columnCount(), grid.rowCount());
    const QRect part = cells & whole;
    const bool isPart = !part.isEmpty() && part != whole;
    const QRectF source = isPart ? QRectF(QPointF(0, 0), partSize(grid, style, part)) : sourceRect(grid, style);
    // The picture as large as fits `target`.
    const auto draw = [&](QPainter *painter, const ChartStyle &look, const QRectF &target) {
        if (isPart)
            printPart(painter, grid, look, part, target);
        else
            paint(painter, grid, look, target, source);
    };
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("svg")) {
        QSvgGenerator generator;
        generator.setFileName(fileName);
        generator.setSize(size);
        generator.setViewBox(source);
        generator.setTitle(title);
        generator.setDescription(QCoreApplication::translate("Chart", "SVG image generated by Yarnwise"));
        generator.setResolution(resolution);
        ChartStyle vector = style;
        vector.vectorSymbols = true;
        QPainter painter;
        const bool started = painter.begin(&generator);
        if (started)
            draw(&painter, vector, source);
        painter.end();
        return started && QFileInfo::exists(fileName);
    }

    QImage image(size, QImage::Format_ARGB32);
    if (image.isNull())
        return false;
    const int dotsPerMeter = int(std::ceil(resolution * 39.373333333333335));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(&painter, style, QRectF(image.rect()));
    painter.end();
    QImageWriter writer(fileName);
    // Quality 100 is JPEG's best; for PNG it would mean no compression at
    // all. TIFF is written uncompressed unless asked: LZW is lossless and
    // read by every program that reads TIFF.
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        writer.setQuality(100);
    else if (suffix == QLatin1String("tif") || suffix == QLatin1String("tiff"))
        writer.setCompression(1);
    return writer.write(image);
}
