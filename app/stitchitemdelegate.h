#ifndef STITCHITEMDELEGATE_H
#define STITCHITEMDELEGATE_H

#include <QStyledItemDelegate>

class QTreeWidget;
class Stitch;

// Draws the stitch palette: category rows as shaded bands with an open or
// close box, stitch rows with their symbol, drawn as the row shows, and
// abbreviation.
class StitchItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit StitchItemDelegate(QTreeWidget *tree);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    // The stitch as a chart cell: its symbol on white (No Stitch on grey)
    // in a thin frame, so that blank symbols such as knit show too.
    static QIcon cellIcon(Stitch *stitch);

    // Whether the row is the last stitch of its category.
    bool isLast(const QModelIndex &index) const;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    void paintCategory(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const;

    QTreeWidget *m_tree;
};

#endif // STITCHITEMDELEGATE_H
