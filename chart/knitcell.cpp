#include "knitcell.h"

#include "knitscene.h"
#include "stitch.h"

#include <QDebug>
#include <QPainter>
#include <QStyleOptionGraphicsItem>
#include <QSvgRenderer>

namespace {

const QColor noStitchGray(76, 76, 76);
const qreal noStitchLayer = -5.0;

bool isNoStitch(const Stitch *stitch)
{
    return stitch && stitch->stitchID() == QLatin1String("x");
}

} // namespace

KnitCell::KnitCell(int x, int y, int w, int h, int headerWidth, int headerHeight)
    : Cell(x, y, w, h, headerWidth, headerHeight)
{
    // Wide enough a bounding box for the 3-pixel borders. One pen shared by
    // every cell keeps a large chart from holding a pen per cell.
    static const QPen borderRoom(Qt::NoBrush, 3);
    setPen(borderRoom);
}

void KnitCell::setStitch(Stitch *stitch, int imgPos)
{
    if (m_stitch && stitch == m_stitch && imgPos == m_imgPos)
        return;

    Stitch *oldStitch = m_stitch;
    if (oldStitch != stitch && m_owner)
        m_owner->watchStitch(stitch);
    m_stitch = stitch;
    m_imgPos = imgPos;
    m_isSvg = stitch && stitch->path(imgPos).endsWith(QLatin1String(".svg"));
    applyStackingOrder();

    const QPointF corner = rect().topLeft();
    Q_EMIT stitchChanged(int(corner.x()), int(corner.y()), stitch, oldStitch);
    if (m_owner)
        m_owner->cellStitchChanged(this, stitch, oldStitch);
    updateImage();
}

void KnitCell::colorWasChanged(const QColor &color, const QColor &oldColor)
{
    if (m_owner)
        m_owner->cellColorChanged(this, color, oldColor);
}

void KnitCell::setStackingOrder(int z)
{
    m_baseZ = z;
    applyStackingOrder();
}

void KnitCell::applyStackingOrder()
{
    const qreal z = isNoStitch(m_stitch) ? noStitchLayer : m_baseZ;
    if (z != zValue())
        setZValue(z);
}

void KnitCell::setSelected(bool selected)
{
    Cell::setSelected(selected);
    update();
}

void KnitCell::setBorder(Side side, bool on, const QColor &color)
{
    m_borders[side].on = on;
    m_borders[side].color = color;
    update();
}

void KnitCell::setLeftBorder(bool border, const QColor &color)
{
    setBorder(Left, border, color);
}

void KnitCell::setRightBorder(bool border, const QColor &color)
{
    setBorder(Right, border, color);
}

void KnitCell::setTopBorder(bool border, const QColor &color)
{
    setBorder(Top, border, color);
}

void KnitCell::setBottomBorder(bool border, const QColor &color)
{
    setBorder(Bottom, border, color);
}

void KnitCell::setRowAndCol(int row, int col)
{
    m_row = row;
    m_col = col;
}

void KnitCell::updateImage()
{
    const QRectF area = rect();
    m_image = m_stitch ? m_stitch->image(int(area.width()), int(area.height()), m_imgPos) : nullptr;
    update();
}

void KnitCell::setRect(const QRectF &rect)
{
    const QSizeF oldSize = this->rect().size();
    Cell::setRect(rect);
    if (this->rect().size() != oldSize || !m_image)
        updateImage();
}

void KnitCell::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *)
{
    const QRect area = rect().toRect();
    const bool grayNoStitch = !m_owner || m_owner->grayNoStitch;
    const bool noStitch = isNoStitch(m_stitch);
    const QColor noStitchColor = grayNoStitch ? noStitchGray : QColor(Qt::white);

    const QColor penColor = noStitch ? noStitchColor : QColor(Qt::gray);
    const QColor fill = noStitch ? noStitchColor : m_color;
    painter->setPen(QPen(penColor, 0));
    painter->fillRect(area, fill);

    if (m_selected) {
        QColor tint = option->palette.color(QPalette::Current, QPalette::Highlight);
        tint.setAlpha(100);
        painter->fillRect(area, QBrush(tint, Qt::SolidPattern));
    }

    if (!(noStitch && !grayNoStitch))
        drawStitchImage(painter, area);

    painter->drawRect(area);
    drawBorders(painter, option);
}

void KnitCell::drawStitchImage(QPainter *painter, const QRect &area)
{
    if (!m_stitch)
        return;
    if (m_svgAllowed && m_isSvg) {
        QSvgRenderer *renderer = m_stitch->svg(m_imgPos);
        if (!renderer) {
            qDebug() << "Error KnitCell::paint(): SVG image pointer is null";
            return;
        }
        if (renderer->isValid())
            renderer->render(painter, QRectF(area));
        return;
    }

    if (!m_image)
        m_image = m_stitch->image(area.width(), area.height(), m_imgPos);
    if (!m_image) {
        qDebug() << "Error KnitCell::paint(): PixMap image pointer is null";
        return;
    }
    painter->drawPixmap(area, *m_image);
}

bool KnitCell::drawBorders(QPainter *painter, const QStyleOptionGraphicsItem *)
{
    const QRect area = rect().toRect();
    const QPoint topLeft = area.topLeft();
    const QPoint topRight = area.topRight();
    const QPoint bottomLeft = area.bottomLeft();
    const QPoint bottomRight = area.bottomRight();
    const QLine lines[4] = {QLine(topLeft, bottomLeft), QLine(topRight, bottomRight),
                            QLine(topLeft, topRight), QLine(bottomLeft, bottomRight)};

    bool drawn = false;
    QPen pen(Qt::black, 3, Qt::SolidLine, Qt::RoundCap);
    for (int side = Left; side <= Bottom; ++side) {
        if (!m_borders[side].on)
            continue;
        pen.setColor(m_borders[side].color);
        painter->setPen(pen);
        painter->drawLine(lines[side]);
        drawn = true;
    }
    return drawn;
}
