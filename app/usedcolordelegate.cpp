#include "usedcolordelegate.h"

#include <QListWidget>
#include <QPainter>

UsedColorDelegate::UsedColorDelegate(QListWidget *list)
    : QStyledItemDelegate(list)
{
}

QSize UsedColorDelegate::sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const
{
    return QSize(34, 34);
}

void UsedColorDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    painter->save();
    const QRect cell(option.rect.topLeft(), QSize(34, 34));
    const bool selected = option.state & QStyle::State_Selected;
    painter->fillRect(cell, selected ? option.palette.color(QPalette::Highlight) : QColor(Qt::white));
    const QRect swatch = cell.adjusted(3, 3, -3, -3);
    painter->fillRect(swatch, index.data(Qt::UserRole).value<QColor>());
    painter->setPen(Qt::black);
    painter->drawRect(swatch.adjusted(0, 0, -1, -1));
    painter->restore();
}
