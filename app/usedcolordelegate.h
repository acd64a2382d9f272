#ifndef USEDCOLORDELEGATE_H
#define USEDCOLORDELEGATE_H

#include <QStyledItemDelegate>

class QListWidget;

// Draws each colour in use as a framed swatch.
class UsedColorDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit UsedColorDelegate(QListWidget *list);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

#endif // USEDCOLORDELEGATE_H
