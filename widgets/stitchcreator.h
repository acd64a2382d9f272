#ifndef STITCHCREATOR_H
#define STITCHCREATOR_H

#include <QDialog>
#include <QStringList>

class QLayout;
class QSpinBox;
class QTableWidget;
class StitchCreatorDelegate;

// Decides how many chart cells a stitch covers, which icon each cell
// shows, and how many stitches the whole stitch works from the left needle
// and leaves on the right one. Icons come from the built-in set and the
// user's "stitches/" folder, into which the dialog can copy new image
// files.
class StitchCreator : public QDialog
{
    Q_OBJECT

public:
    StitchCreator(const QString &stitch, const QStringList &paths, QWidget *parent = nullptr);

    // The cells' icon paths, left to right; an empty path for a cell never
    // given an icon.
    QStringList iconList() const;

    // The stitch's arithmetic, 1 and 1 unless set; shown but not to be
    // changed unless `editable`.
    void setCounts(int worked, int made, bool editable);
    int worked() const;
    int made() const;

    // Copies image files into the user's "stitches/" folder, asking before
    // a file there is replaced, and offers them in the cells' lists. The
    // current cell takes the first one added.
    void addIconFiles(const QStringList &files);

public Q_SLOTS:
    void addCell();
    void removeCell();
    void addIconDialog();
    void itemChanged(const QString &newItem);

private:
    QLayout *countsLayout();
    void fitIcons();
    QString addIconFile(const QString &source, const QString &folder);
    void appendCell(const QString &path);

    QTableWidget *m_icons;
    StitchCreatorDelegate *m_delegate;
    QSpinBox *m_worked;
    QSpinBox *m_made;
};

#endif // STITCHCREATOR_H
