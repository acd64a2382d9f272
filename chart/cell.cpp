#include "cell.h"

Cell::Cell(int x, int y, int w, int h, int headerWidth, int headerHeight)
    : QGraphicsRectItem(x, y, w, h)
    , headerWidth(headerWidth)
    , headerHeight(headerHeight)
{
}

QRectF Cell::boundingRect() const
{
    return QGraphicsRectItem::boundingRect();
}

void Cell::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget)
{
    QGraphicsRectItem::paint(painter, option, widget);
}

void Cell::setRect(int x, int y, int w, int h)
{
    setRect(QRectF(x, y, w, h));
}

void Cell::setRect(const QRectF &rect)
{
    const QRectF whole(int(rect.x()), int(rect.y()), int(rect.width()), int(rect.height()));
    if (whole == QGraphicsRectItem::rect())
        return;
    prepareGeometryChange();
    QGraphicsRectItem::setRect(whole);
}

void Cell::setColor(const QColor &color)
{
    if (color == m_color)
        return;
    const QColor old = m_color;
    m_color = color;
    const QPointF corner = rect().topLeft();
    Q_EMIT colorChanged(int(corner.x()), int(corner.y()), color, old);
    colorWasChanged(color, old);
    update();
}

void Cell::colorWasChanged(const QColor &, const QColor &)
{
}

void Cell::setSelected(bool selected)
{
    m_selected = selected;
    QGraphicsRectItem::setSelected(selected);
}
