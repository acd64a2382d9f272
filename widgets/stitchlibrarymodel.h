#ifndef STITCHLIBRARYMODEL_H
#define STITCHLIBRARYMODEL_H

#include "stitchrecord.h"

#include <QStandardItemModel>

// The stitch library's table: one row per stitch with its name, images,
// abbreviations, description, wrong-side stitch, category, the stitches it
// works and makes, and a "Selected" check. The table is edited apart from
// the catalogue, which takes the rows over only when the library is
// accepted.
class StitchLibraryModel : public QStandardItemModel
{
    Q_OBJECT

public:
    enum Column {
        NameColumn,
        IconColumn,
        AbbrivColumn,
        DescriptionColumn,
        OppositeColumn,
        CategoryColumn,
        WorkedColumn,
        MadeColumn,
        SelectedColumn,
        ColumnCount
    };

    // The icon column shows its paths joined with commas; the list itself
    // is kept in this role, so that no path is ever split wrongly.
    static constexpr int PathsRole = Qt::UserRole + 1;

    explicit StitchLibraryModel(QObject *parent = nullptr);

    Qt::ItemFlags flags(const QModelIndex &index) const override;

    void setHeaderLabels();
    void appendRecord(const StitchRecord &record);
    void setRecord(int row, const StitchRecord &record);

    // A row read back: its abbreviations split at the commas, its images
    // never empty (the placeholder stands in).
    StitchRecord record(int row) const;
    QString stitchID(int row) const;
    QStringList abbrivs(int row) const;
    QStringList paths(int row) const;
    void setPaths(int row, const QStringList &paths);
    // The stitches the row's stitch works and makes, 0 to
    // StitchRecord::mostStitches.
    int worked(int row) const;
    int made(int row) const;
    void setCounts(int row, int worked, int made);
    bool isSelected(int row) const;
    QStringList firstAbbrivs() const;

    // The first row other than `exceptRow` that has `abbriv`, ignoring
    // case; -1 when there is none.
    int rowWithAbbriv(const QString &abbriv, int exceptRow = -1) const;
    // A stitch as the library names it to the user: by its name, else its
    // description, else its first abbreviation.
    static QString stitchTitle(const StitchRecord &record);

    // The abbreviation column's text as a list: split at commas, one blank
    // dropped on either side of each part, empty parts left out.
    static QStringList splitAbbrivs(const QString &text);
    static QString joinAbbrivs(const QStringList &abbrivs);
    static QString displayPaths(const QStringList &paths);

private:
    QString text(int row, int column) const;
    int number(int row, int column) const;
};

#endif // STITCHLIBRARYMODEL_H
