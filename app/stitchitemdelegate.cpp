#include "stitchitemdelegate.h"

#include "exphelper.h"
#include "stitch.h"
#include "stitchset.h"

#include <QLinearGradient>
#include <QPainter>
#include <QTreeWidget>

namespace {

const QSize stitchRowSize(100, 30);
const QSize categoryRowSize(100, 24);

} // namespace

QIcon StitchItemDelegate::cellIcon(Stitch *stitch)
{
    const int side = 48;
    QPixmap cell(side, side);
    const bool noStitch = stitch && stitch->stitchID() == QLatin1String("x");
    cell.fill(noStitch ? QColor(76, 76, 76) : QColor(Qt::white));
    QPainter painter(&cell);
    if (stitch && !noStitch) {
        if (const QPixmap *image = stitch->image(side - 8, side - 8, 0))
            painter.drawPixmap(4, 4, *image);
    }
    painter.setPen(Qt::gray);
    painter.drawRect(0, 0, side - 1, side - 1);
    painter.end();
    return QIcon(cell);
}

StitchItemDelegate::StitchItemDelegate(QTreeWidget *tree)
    : QStyledItemDelegate(tree)
    , m_tree(tree)
{
}

QSize StitchItemDelegate::sizeHint(const QStyleOptionViewItem &, const QModelIndex &index) const
{
    return index.parent().isValid() ? stitchRowSize : categoryRowSize;
}

bool StitchItemDelegate::isLast(const QModelIndex &index) const
{
    const QModelIndex parent = index.parent();
    return parent.isValid() && index.row() == index.model()->rowCount(parent) - 1;
}

void StitchItemDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (!index.parent().isValid()) {
        paintCategory(painter, option, index);
        return;
    }
    QStyleOptionViewItem stitchOption = option;
    stitchOption.decorationSize = QSize(24, 24);
    QStyledItemDelegate::paint(painter, stitchOption, index);
}

// The palette holds no pictures: a row's symbol is drawn only when the row
// shows, so a library of thousands of stitches costs nothing to list. The
// stitch keeps its drawn image, and a stitch given new images draws anew.
void StitchItemDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (!index.parent().isValid() || !option->icon.isNull())
        return;
    bool found = false;
    Stitch *stitch = StitchSet::instance()->findStitch(index.data(ExpHelper::stitchIdRole).toString(), &found);
    if (!found)
        return;
    option->icon = cellIcon(stitch);
    option->features |= QStyleOptionViewItem::HasDecoration;
}

void StitchItemDelegate::paintCategory(QPainter *painter, const QStyleOptionViewItem &option,
                                       const QModelIndex &index) const
{
    painter->save();
    // The band spans the whole row, also under the tree's indentation.
    QRect band = option.rect;
    band.setLeft(0);
    QLinearGradient shade(band.topLeft(), band.bottomLeft());
    shade.setColorAt(0, option.palette.color(QPalette::Button));
    shade.setColorAt(1, Qt::gray);
    painter->fillRect(band, shade);

    const QRect box(band.left() + 5, band.top() + 3 + (band.height() - 16) / 2, 10, 10);
    painter->setPen(Qt::darkGray);
    painter->setBrush(Qt::white);
    painter->drawRect(box);
    painter->setPen(Qt::black);
    const int middle = box.top() + box.height() / 2;
    painter->drawLine(box.left() + 2, middle, box.right() - 2, middle);
    if (!m_tree->isExpanded(index))
        painter->drawLine(box.left() + box.width() / 2, box.top() + 2, box.left() + box.width() / 2, box.bottom() - 2);

    QFont font = option.font;
    font.setBold(true);
    painter->setFont(font);
    painter->drawText(band.adjusted(22, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft, index.data().toString());
    painter->restore();
}
