#include "usedcolordelegate.h"

#include <QListWidget>
#include <QPainter>

namespace {

const int side = 34;
// A name wider than this is cut short; the row's tooltip has it whole.
const int widestName = 80;

} // namespace

UsedColorDelegate::UsedColorDelegate(QListWidget *list)
    : QStyledItemDelegate(list)
{
}

// A swatch, and a line below it for the name, as wide as the name needs.
QSize UsedColorDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const int name = option.fontMetrics.horizontalAdvance(index.data(nameRole).toString()) + 6;
    return QSize(qBound(side, name, widestName), side + option.fontMetrics.height());
}

void UsedColorDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    painter->save();
    const int width = sizeHint(option, index).width();
    const QRect cell(option.rect.left() + (width - side) / 2, option.rect.top(), side, side);
    const bool selected = option.state & QStyle::State_Selected;
    painter->fillRect(cell, selected ? option.palette.color(QPalette::Highlight) : QColor(Qt::white));
    const QRect swatch = cell.adjusted(3, 3, -3, -3);
    painter->fillRect(swatch, index.data(Qt::UserRole).value<QColor>());
    painter->setPen(Qt::black);
    painter->drawRect(swatch.adjusted(0, 0, -1, -1));
    const QRect line(option.rect.left(), cell.bottom() + 1, width, option.fontMetrics.height());
    const QString name = option.fontMetrics.elidedText(index.data(nameRole).toString(), Qt::ElideRight, width);
    painter->setPen(option.palette.color(QPalette::Text));
    painter->drawText(line, Qt::AlignCenter, name);
    painter->restore();
}
