#ifndef STITCHCREATORDELEGATE_H
#define STITCHCREATORDELEGATE_H

#include <QIcon>
#include <QItemDelegate>
#include <QStringList>

// Edits and draws the cells of the stitch creator. Each cell holds the path
// of one icon; its editor offers every built-in icon and every icon file in
// the user's "stitches/" folder, sorted by file name.
class StitchCreatorDelegate : public QItemDelegate
{
    Q_OBJECT

public:
    explicit StitchCreatorDelegate(QObject *parent = nullptr);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    // Offers a newly copied icon file; known paths are not added twice.
    void addIcon(const QString &path);
    QStringList iconPaths() const { return m_paths; }

public Q_SLOTS:
    // Maps a chosen file name to its full path and announces that path.
    void getEditRole(const QString &newItem);

Q_SIGNALS:
    void currentIndexChanged(const QString &item);

private:
    void addFolder(const QString &folder);
    static QIcon loadIcon(const QString &path);

    QStringList m_paths;
    QList<QIcon> m_icons;
};

#endif // STITCHCREATORDELEGATE_H
