#ifndef STITCHCREATOR_H
#define STITCHCREATOR_H

#include <QDialog>
#include <QStringList>

class QTableWidget;
class StitchCreatorDelegate;

// Decides how many chart cells a stitch covers and which icon each cell
// shows. Icons come from the built-in set and the user's "stitches/"
// folder, into which the dialog can copy new image files.
class StitchCreator : public QDialog
{
    Q_OBJECT

public:
    StitchCreator(const QString &stitch, const QStringList &paths, QWidget *parent = nullptr);

    // The cells' icon paths, left to right; an empty path for a cell never
    // given an icon.
    QStringList iconList() const;

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
    QString addIconFile(const QString &source, const QString &folder);
    void appendCell(const QString &path);

    QTableWidget *m_icons;
    StitchCreatorDelegate *m_delegate;
};

#endif // STITCHCREATOR_H
