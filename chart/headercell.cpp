#include "headercell.h"

#include <QFont>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>

HeaderCell::HeaderCell(int x, int y, int w, int h)
    : Cell(x, y, w, h, 0, 0)
{
}

void HeaderCell::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    const QRect area = rect().toRect();
    if (showBackground) {
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

    if (!showText)
        return;
    const QRectF box = rect();
    QFont font = painter->font();
    font.setPixelSize(qMax(1, int(box.width()) / 2));
    painter->setFont(font);
    painter->setPen(Qt::black);
    const QFontMetrics metrics = painter->fontMetrics();
    const QString text = objectName();
    const int x = int(box.left()) + (int(box.width()) - metrics.horizontalAdvance(text)) / 2;
    const int baseline = int(box.top()) + int(box.height()) - 1 - (int(box.height()) - metrics.height()) / 2;
    painter->drawText(x, baseline, text);
}
