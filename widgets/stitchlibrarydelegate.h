#ifndef STITCHLIBRARYDELEGATE_H
#define STITCHLIBRARYDELEGATE_H

#include <QItemDelegate>

// Edits and draws the cells of the stitch library's table: line edits for
// names and abbreviations, combo boxes for the wrong-side stitch and the
// category, spin boxes for the stitches worked and made, the stitch's
// images side by side, and the "Selected" check. Built-in stitches keep
// their abbreviation, description, wrong-side stitch and arithmetic.
class StitchLibraryDelegate : public QItemDelegate
{
    Q_OBJECT

public:
    explicit StitchLibraryDelegate(QObject *parent = nullptr);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    // The icon column's picture: the images side by side in 50 x 32 pixels.
    static QPixmap iconStrip(const QStringList &paths, const QColor &background);

Q_SIGNALS:
    void openStitchCreator();
    void oppositeChanged(const QString &newValue);
    void categoryChanged(const QString &newValue);
    // An edited abbreviation belongs to the stitch of another row, named
    // by `usedBy`; both are empty when the abbreviations were emptied.
    void abbrivRefused(const QString &abbriv, const QString &usedBy);

protected:
    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &index) override;

private:
    static QWidget *createCountBox(QWidget *parent);
    QWidget *createComboBox(QWidget *parent, const QStringList &entries, void (StitchLibraryDelegate::*changed)(const QString &)) const;
    bool activates(QEvent *event, const QModelIndex &index) const;
    bool refusesAbbrivs(const QString &text, const QModelIndex &index) const;
    static bool isBuiltin(const QModelIndex &index);
};

#endif // STITCHLIBRARYDELEGATE_H
