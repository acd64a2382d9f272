#ifndef EXPHELPER_H
#define EXPHELPER_H

#include <QObject>

class QTreeWidget;
class QTreeWidgetItem;

// Clicks in the stitch palette: a category row opens or closes, a stitch
// row names its stitch.
class ExpHelper : public QObject
{
    Q_OBJECT

public:
    // The item data role that holds a palette row's stitch ID.
    static const int stitchIdRole = 1033;

    explicit ExpHelper(QTreeWidget *tree);

Q_SIGNALS:
    void itemClicked(const QString &stitchId);

private Q_SLOTS:
    void onItemClicked(QTreeWidgetItem *item);
};

#endif // EXPHELPER_H
