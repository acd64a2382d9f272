#include "chartrenderer.h"

#include "chartgrid.h"
#include "stitch.h"

#include <QDebug>
#include <QFile>
#include <QFontMetrics>
#include <QHash>
#include <QLinearGradient>
#include <QPaintEngine>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QVarLengthArray>

#include <cmath>
#include <memory>

namespace {

// The device pixels one unit of the chart covers under the painter's
// transformation.
qreal deviceScale(const QPainter *painter)
{
    const QTransform t = painter->worldTransform();
    return std::sqrt(std::abs(t.m11() * t.m22() - t.m12() * t.m21()));
}

// Numbers smaller than this many device pixels are not drawn in a
// simplified picture: nobody can read them.
const qreal smallestReadableText = 5.0;

// The visible range [first, last] of `count` slots of `size` pixels that
// start at `origin`, for the span [from, to]; first > last when none.
QPair<int, int> visibleSlots(qreal from, qreal to, int origin, int size, int count)
{
    const int first = qMax(0, int(std::floor((from - origin) / size)));
    const int last = qMin(count - 1, int(std::floor((to - origin) / size)));
    return {first, last};
}

} // namespace

ChartRenderer::ChartRenderer(const ChartGrid &grid, const ChartStyle &style)
    : m_grid(grid)
    , m_style(style)
    , m_layout(grid)
{
}

const QColor &ChartRenderer::noStitchGray()
{
    static const QColor gray(76, 76, 76);
    return gray;
}

bool ChartRenderer::isNoStitch(const Stitch *stitch)
{
    return stitch && stitch->stitchID() == QLatin1String("x");
}

bool ChartRenderer::anyNumberOnLeft(const ChartGrid &grid)
{
    for (int p = 1; p <= grid.rowCount() && p <= 2; ++p) {
        if (!grid.options().numberOnRight(p))
            return true;
    }
    return false;
}

bool ChartRenderer::simplifies(const QPainter *painter) const
{
    const QSize cell = m_layout.cellSize();
    return m_style.simplifyBelow > 0 && deviceScale(painter) * qMin(cell.width(), cell.height()) < m_style.simplifyBelow;
}

void ChartRenderer::paint(QPainter *painter, const QRectF &area, const QRect &selection, const QImage *colours) const
{
    m_painted.clear();
    const qreal scale = deviceScale(painter);
    const bool simplified = simplifies(painter);
    // Borders reach a pixel and a half over a cell's edge.
    const QRect cells = m_layout.cellsIn(area, 2);
    if (!cells.isEmpty()) {
        painter->save();
        if (simplified)
            paintSimplified(painter, cells, colours, scale);
        else
            paintCells(painter, cells);
        paintHeavyLines(painter, cells, scale);
        paintRepeats(painter, cells);
        paintSelection(painter, selection, scale);
        painter->restore();
    }
    paintHeaders(painter, area, scale);
}

void ChartRenderer::paintCells(QPainter *painter, const QRect &cells) const
{
    // Whether each stitch in sight is No Stitch, asked once per stitch.
    QHash<const Stitch *, bool> noStitch;
    auto isNoStitchCell = [&](int x, int y) {
        Stitch *stitch = m_grid.stitch(x, y);
        auto known = noStitch.constFind(stitch);
        if (known == noStitch.constEnd()) {
            known = noStitch.insert(stitch, isNoStitch(stitch));
            m_painted.append(stitch);
        }
        return known.value();
    };
    for (int pass = 0; pass < 2; ++pass) {
        const bool wantNoStitch = pass == 0;
        for (int y = cells.top(); y <= cells.bottom(); ++y) {
            for (int x = cells.left(); x <= cells.right(); ++x) {
                if (isNoStitchCell(x, y) == wantNoStitch)
                    paintCell(painter, x, y);
            }
        }
    }
}

void ChartRenderer::paintCell(QPainter *painter, int x, int y) const
{
    const QRect area = m_layout.cellRect(x, y);
    Stitch *stitch = m_grid.stitch(x, y);
    const bool noStitch = isNoStitch(stitch);
    const QColor noStitchColor = m_style.grayNoStitch ? noStitchGray() : QColor(Qt::white);

    const QColor fill = noStitch ? noStitchColor : m_grid.color(x, y);
    painter->setPen(QPen(noStitch ? noStitchColor : QColor(Qt::gray), 0));
    painter->fillRect(area, fill);
    if (!(noStitch && !m_style.grayNoStitch))
        paintSymbol(painter, stitch, m_grid.imgPos(x, y), area, noStitch ? QColor(Qt::white) : fill);
    painter->drawRect(area);
    paintBorders(painter, x, y);
}

// A symbol keeps its proportions in a cell of other proportions (a yarn
// over stays round), centred in the cell. A stitch over several cells,
// whose pieces join across them, and No Stitch, which fills its cell,
// stretch to the cell.
QRect ChartRenderer::symbolArea(Stitch *stitch, int imgPos, const QRect &cell) const
{
    if (cell.width() == cell.height() || stitch->cellsPerStitch() > 1 || isNoStitch(stitch))
        return cell;
    QSizeF art(1, 1);
    if (stitch->path(imgPos).endsWith(QLatin1String(".svg"))) {
        const QSvgRenderer *renderer = stitch->svg(imgPos);
        if (renderer && renderer->isValid() && !renderer->defaultSize().isEmpty())
            art = renderer->defaultSize();
    }
    QRect fitted(QPoint(0, 0), art.scaled(cell.size(), Qt::KeepAspectRatio).toSize());
    fitted.moveCenter(cell.center());
    return fitted;
}

// The white inside a symbol (the strands of a cable, which hide the strand
// behind) takes the colour of its cell. Drawn from artwork, the artwork's
// white is that colour; drawn from a picture, the picture is multiplied
// onto the cell, where white gives the cell's colour and dark lines stay
// dark (a device that cannot blend draws it as it is).
void ChartRenderer::paintSymbol(QPainter *painter, Stitch *stitch, int imgPos, const QRect &cell,
                                const QColor &fill) const
{
    if (!stitch)
        return;
    const QRect area = symbolArea(stitch, imgPos, cell);
    const bool white = !fill.isValid() || fill == QColor(Qt::white);
    if (m_style.vectorSymbols && stitch->path(imgPos).endsWith(QLatin1String(".svg"))) {
        QSvgRenderer *renderer = white ? nullptr : tintedArtwork(stitch->path(imgPos), fill);
        if (!renderer)
            renderer = stitch->svg(imgPos);
        if (!renderer) {
            qDebug() << "Error ChartRenderer::paintSymbol(): SVG image pointer is null";
            return;
        }
        if (renderer->isValid())
            renderer->render(painter, QRectF(area));
        return;
    }
    const QPixmap *image = stitch->image(area.width(), area.height(), imgPos);
    if (!image) {
        qDebug() << "Error ChartRenderer::paintSymbol(): PixMap image pointer is null";
        return;
    }
    const bool blend = !white && painter->paintEngine() && painter->paintEngine()->hasFeature(QPaintEngine::BlendModes);
    if (blend)
        painter->setCompositionMode(QPainter::CompositionMode_Multiply);
    painter->drawPixmap(area, *image);
    if (blend)
        painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

// The artwork at `path` with its white fills in `fill`, kept for the next
// cell of that stitch and colour. Null when the artwork has no white fill.
QSvgRenderer *ChartRenderer::tintedArtwork(const QString &path, const QColor &fill)
{
    // Never destroyed: renderers must not outlive the libraries they use
    // at exit.
    static auto &kept = *new QHash<QString, std::shared_ptr<QSvgRenderer>>;
    const QString key = path + QLatin1Char('|') + fill.name(QColor::HexArgb);
    auto found = kept.constFind(key);
    if (found != kept.constEnd())
        return found.value().get();
    // A chart of many colours must not keep artwork without bound.
    if (kept.size() >= 512)
        kept.clear();
    std::shared_ptr<QSvgRenderer> renderer;
    QFile file(path);
    if (file.size() <= (1 << 20) && file.open(QIODevice::ReadOnly)) {
        QString svg = QString::fromUtf8(file.readAll());
        static const QRegularExpression whiteFill(
            QStringLiteral("(fill\\s*[:=]\\s*\"?)\\s*(#fff(fff)?|white)\\b"), QRegularExpression::CaseInsensitiveOption);
        if (svg.contains(whiteFill)) {
            svg.replace(whiteFill, QStringLiteral("\\1") + fill.name());
            renderer = std::make_shared<QSvgRenderer>(svg.toUtf8());
        }
    }
    kept.insert(key, renderer);
    return renderer.get();
}

void ChartRenderer::paintBorders(QPainter *painter, int x, int y) const
{
    const ChartCell cell = m_grid.cell(x, y);
    if (!cell.hasBorders())
        return;
    const QRect area = m_layout.cellRect(x, y);
    const QLine lines[4] = {QLine(area.topLeft(), area.bottomLeft()), QLine(area.topRight(), area.bottomRight()),
                            QLine(area.topLeft(), area.topRight()), QLine(area.bottomLeft(), area.bottomRight())};
    QPen pen(Qt::black, 3, Qt::SolidLine, Qt::RoundCap);
    for (int side = ChartCell::Left; side <= ChartCell::Bottom; ++side) {
        if (!cell.borders[side])
            continue;
        pen.setColor(cell.borderColors[side]);
        painter->setPen(pen);
        painter->drawLine(lines[side]);
    }
}

QImage ChartRenderer::colourImage(const ChartGrid &grid, bool grayNoStitch)
{
    QImage image(qMax(1, grid.columnCount()), qMax(1, grid.rowCount()), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    updateColourImage(image, grid, QRect(0, 0, grid.columnCount(), grid.rowCount()), grayNoStitch);
    return image;
}

void ChartRenderer::updateColourImage(QImage &image, const ChartGrid &grid, const QRect &cells, bool grayNoStitch)
{
    const QRgb noStitch = grayNoStitch ? noStitchGray().rgb() : qRgb(255, 255, 255);
    const QRect inside = cells & image.rect() & QRect(0, 0, grid.columnCount(), grid.rowCount());
    QHash<const Stitch *, bool> noStitchStitches;
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const Stitch *stitch = grid.stitch(x, y);
            auto known = noStitchStitches.constFind(stitch);
            if (known == noStitchStitches.constEnd())
                known = noStitchStitches.insert(stitch, isNoStitch(stitch));
            line[x] = known.value() ? noStitch : qPremultiply(grid.color(x, y).rgba());
        }
    }
}

void ChartRenderer::paintSimplified(QPainter *painter, const QRect &cells, const QImage *colours,
                                    qreal scale) const
{
    const QSize cell = m_layout.cellSize();
    const QRect covered(m_layout.cellRect(cells.left(), cells.top()).topLeft(),
                        QSize(cells.width() * cell.width(), cells.height() * cell.height()));
    if (colours) {
        painter->drawImage(covered, *colours, cells);
    } else {
        painter->drawImage(covered, colourImage(m_grid, m_style.grayNoStitch), cells);
    }

    // Grid lines once per row and column, while they stay apart.
    if (scale * qMin(cell.width(), cell.height()) >= 3) {
        QVarLengthArray<QLine, 512> lines;
        for (int x = cells.left(); x <= cells.right() + 1; ++x) {
            const int left = m_layout.gridLeft() + x * cell.width();
            lines.append(QLine(left, covered.top(), left, covered.bottom() + 1));
        }
        for (int y = cells.top(); y <= cells.bottom() + 1; ++y) {
            const int top = m_layout.gridTop() + y * cell.height();
            lines.append(QLine(covered.left(), top, covered.right() + 1, top));
        }
        painter->setRenderHint(QPainter::Antialiasing, false);
        painter->setPen(QPen(Qt::gray, 0));
        painter->drawLines(lines.constData(), int(lines.size()));
        painter->setRenderHint(QPainter::Antialiasing, true);
    }

    for (int y = cells.top(); y <= cells.bottom(); ++y) {
        for (int x = cells.left(); x <= cells.right(); ++x)
            paintBorders(painter, x, y);
    }
}

// Lines that make counting easy: after every tenth stitch and row (or as
// many as the style says), by the numbers the chart shows, so that they
// fall after stitch 10, 20, ... and row 10, 20, ... wherever numbering
// starts.
void ChartRenderer::paintHeavyLines(QPainter *painter, const QRect &cells, qreal scale) const
{
    const int every = m_style.heavyLinesEvery;
    if (every <= 0)
        return;
    const QSize cell = m_layout.cellSize();
    const int columns = m_grid.columnCount();
    const int rows = m_grid.rowCount();
    const ChartOptions &options = m_grid.options();
    const int top = m_layout.gridTop() + cells.top() * cell.height();
    const int bottom = m_layout.gridTop() + (cells.bottom() + 1) * cell.height();
    const int left = m_layout.gridLeft() + cells.left() * cell.width();
    const int right = m_layout.gridLeft() + (cells.right() + 1) * cell.width();
    QVarLengthArray<QLine, 64> lines;
    // The edge left of column x ends stitch number columns - x.
    for (int x = qMax(1, cells.left()); x <= qMin(columns - 1, cells.right() + 1); ++x) {
        if ((columns - x + options.columnNumberOffset) % every == 0) {
            const int at = m_layout.gridLeft() + x * cell.width();
            lines.append(QLine(at, top, at, bottom));
        }
    }
    // The edge above row y ends row number rows - y.
    for (int y = qMax(1, cells.top()); y <= qMin(rows - 1, cells.bottom() + 1); ++y) {
        if ((rows - y + options.rowNumberOffset) % every == 0) {
            const int at = m_layout.gridTop() + y * cell.height();
            lines.append(QLine(left, at, right, at));
        }
    }
    if (lines.isEmpty())
        return;
    painter->setPen(QPen(QColor(70, 70, 70), 2 / qMax(scale, 0.01)));
    painter->drawLines(lines.constData(), int(lines.size()));
}

// Each repeat box outlined on the grid lines around it, three units wide
// like a heavy border, so that it reads in print as on screen.
void ChartRenderer::paintRepeats(QPainter *painter, const QRect &cells) const
{
    const QSize cell = m_layout.cellSize();
    painter->setBrush(Qt::NoBrush);
    for (const RepeatBox &box : m_grid.repeats()) {
        if (!box.cells.intersects(cells.adjusted(-1, -1, 1, 1)))
            continue;
        const QRectF outline(m_layout.cellRect(box.cells.left(), box.cells.top()).topLeft(),
                             QSizeF(box.cells.width() * cell.width(), box.cells.height() * cell.height()));
        painter->setPen(QPen(box.color, 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter->drawRect(outline);
    }
}

// A selection must not look like a cell colour: it is hatched and
// outlined by a dashed line on white, which reads on any colour. The line
// lies within the selection, where the scene repaints when it goes.
void ChartRenderer::paintSelection(QPainter *painter, const QRect &selection, qreal scale) const
{
    if (selection.isEmpty())
        return;
    const QSize cell = m_layout.cellSize();
    const QRectF area(m_layout.cellRect(selection.left(), selection.top()).topLeft(),
                      QSizeF(selection.width() * cell.width(), selection.height() * cell.height()));
    QColor colour = m_style.selectionTint;
    colour.setAlpha(40);
    painter->fillRect(area, colour);
    colour.setAlpha(140);
    painter->fillRect(area, QBrush(colour, Qt::BDiagPattern));

    const qreal inset = qMin(1.0 / qMax(scale, 0.01), qMin(area.width(), area.height()) / 2);
    const QRectF line = area.adjusted(inset, inset, -inset, -inset);
    painter->setBrush(Qt::NoBrush);
    painter->setPen(QPen(Qt::white, 2 / qMax(scale, 0.01)));
    painter->drawRect(line);
    colour.setAlpha(255);
    QPen dashes(colour, 2 / qMax(scale, 0.01), Qt::DashLine);
    painter->setPen(dashes);
    painter->drawRect(line);
}

void ChartRenderer::paintHeaders(QPainter *painter, const QRectF &area, qreal scale) const
{
    const int columns = m_layout.columns();
    const int rows = m_layout.rows();
    if (columns == 0 || rows == 0)
        return;
    const QSize cell = m_layout.cellSize();
    const bool tiny = m_style.simplifyBelow > 0 && scale * qMin(cell.width(), cell.height()) < m_style.simplifyBelow;
    const bool readable = !tiny || scale * qMax(1, cell.width() / 2) >= smallestReadableText;
    const ChartOptions &options = m_grid.options();

    painter->save();
    QFont font = painter->font();
    font.setPixelSize(qMax(1, cell.width() / 2));
    painter->setFont(font);

    auto visible = [&](const QRect &rect) { return QRectF(rect).adjusted(-1, -1, 1, 1).intersects(area); };
    if (m_style.headersTop) {
        for (const QRect &corner : {m_layout.topLeftCorner(), m_layout.topRightCorner()}) {
            if (visible(corner))
                paintHeader(painter, corner, corner.x() == 0 ? Qt::AlignTop | Qt::AlignLeft : Qt::AlignTop | Qt::AlignRight,
                            QString());
        }
    }
    if (m_style.headersBottom) {
        for (const QRect &corner : {m_layout.bottomLeftCorner(), m_layout.bottomRightCorner()}) {
            if (visible(corner))
                paintHeader(painter, corner,
                            corner.x() == 0 ? Qt::AlignBottom | Qt::AlignLeft : Qt::AlignBottom | Qt::AlignRight,
                            QString());
        }
    }

    const QPair<int, int> xs = visibleSlots(area.left() - 1, area.right() + 1, m_layout.gridLeft(), cell.width(), columns);
    const QPair<int, int> ys = visibleSlots(area.top() - 1, area.bottom() + 1, m_layout.gridTop(), cell.height(), rows);

    // Column numbers, above and below.
    for (const bool above : {true, false}) {
        if (!(above ? m_style.headersTop : m_style.headersBottom) || xs.first > xs.second)
            continue;
        const QRect first = above ? m_layout.topHeaderRect(xs.first) : m_layout.bottomHeaderRect(xs.first);
        if (!visible(QRect(first.topLeft(), QSize((xs.second - xs.first + 1) * cell.width(), first.height()))))
            continue;
        if (tiny)
            paintHeaderStrip(painter, QRect(first.topLeft(), QSize((xs.second - xs.first + 1) * cell.width(), first.height())));
        for (int x = xs.first; x <= xs.second && (!tiny || readable); ++x) {
            const QRect rect = above ? m_layout.topHeaderRect(x) : m_layout.bottomHeaderRect(x);
            const QString number = QString::number(columns - x + options.columnNumberOffset);
            if (tiny)
                paintHeader(painter, rect, -1, number);
            else
                paintHeader(painter, rect, above ? Qt::AlignTop : Qt::AlignBottom, number);
        }
    }

    // Row numbers, at the side where each row starts.
    for (const bool left : {true, false}) {
        if (ys.first > ys.second)
            continue;
        const QRect first = left ? m_layout.leftHeaderRect(ys.first) : m_layout.rightHeaderRect(ys.first);
        const QRect strip(first.topLeft(), QSize(first.width(), (ys.second - ys.first + 1) * cell.height()));
        if (!visible(strip))
            continue;
        if (tiny)
            paintHeaderStrip(painter, strip);
        for (int y = ys.first; y <= ys.second && (!tiny || readable); ++y) {
            const int rowNumber = rows - y;
            const bool shows = options.numberOnRight(rowNumber) != left;
            const QString number = shows ? QString::number(options.shownRowNumber(rowNumber)) : QString();
            const QRect rect = left ? m_layout.leftHeaderRect(y) : m_layout.rightHeaderRect(y);
            if (tiny)
                paintHeader(painter, rect, -1, number);
            else
                paintHeader(painter, rect, left ? Qt::AlignLeft : Qt::AlignRight, number);
            if (m_style.markShapingRows && m_grid.isShapingRow(y)) {
                const int bar = qMax(3, cell.width() / 5);
                painter->fillRect(left ? QRect(rect.right() + 1 - bar, rect.top() + 1, bar, rect.height() - 1)
                                       : QRect(rect.left() + 1, rect.top() + 1, bar, rect.height() - 1),
                                  shapingMark());
            }
        }
    }
    painter->restore();
}

const QColor &ChartRenderer::shapingMark()
{
    static const QColor amber(224, 140, 20);
    return amber;
}

// One number cell as the grid's frame shows it. An alignment of -1 draws
// the number only, over a strip already painted.
void ChartRenderer::paintHeader(QPainter *painter, const QRect &area, int alignment, const QString &text) const
{
    if (alignment >= 0) {
        if (m_style.headerBackground) {
            const int middle = (area.right() + 1 - area.left()) / 2;
            QLinearGradient gradient(middle, area.top(), middle, area.bottom());
            gradient.setColorAt(0, QColor(QStringLiteral("gainsboro")));
            gradient.setColorAt(1, QColor(QStringLiteral("silver")));
            painter->fillRect(area, gradient);
            painter->drawRect(area);
        } else {
            // Keep the grid's outer edge line visible.
            QRect blank = area;
            if (alignment & Qt::AlignRight)
                blank.setLeft(blank.left() + 1);
            if (alignment & Qt::AlignBottom)
                blank.setTop(blank.top() + 1);
            painter->fillRect(blank, Qt::white);
        }
    }
    if (text.isEmpty())
        return;
    const QPen pen = painter->pen();
    painter->setPen(Qt::black);
    const QFontMetrics metrics = painter->fontMetrics();
    const int x = area.left() + (area.width() - metrics.horizontalAdvance(text)) / 2;
    const int baseline = area.top() + area.height() - 1 - (area.height() - metrics.height()) / 2;
    painter->drawText(x, baseline, text);
    painter->setPen(pen);
}

void ChartRenderer::paintHeaderStrip(QPainter *painter, const QRect &area) const
{
    painter->fillRect(area, m_style.headerBackground ? QColor(QStringLiteral("#cdcdcd")) : QColor(Qt::white));
}
