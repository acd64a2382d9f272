#ifndef USEDCOLORDELEGATE_H
#define USEDCOLORDELEGATE_H

#include <QStyledItemDelegate>

class QListWidget;

// Draws each colour in use as a framed swatch, with the name the key gives
// it underneath.
class UsedColorDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    // The row's name in the key, a QString; the colour is Qt::UserRole.
    static constexpr int nameRole = Qt::UserRole + 1;

    explicit UsedColorDelegate(QListWidget *list);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

#endif // USEDCOLORDELEGATE_H
