#include "exphelper.h"

#include <QTreeWidget>

ExpHelper::ExpHelper(QTreeWidget *tree)
    : QObject(tree)
{
    connect(tree, &QTreeWidget::itemClicked, this, &ExpHelper::onItemClicked);
}

void ExpHelper::onItemClicked(QTreeWidgetItem *item)
{
    if (!item)
        return;
    if (!item->parent()) {
        item->setExpanded(!item->isExpanded());
        return;
    }
    const QString id = item->data(0, stitchIdRole).toString();
    if (!id.isEmpty())
        Q_EMIT itemClicked(id);
}
