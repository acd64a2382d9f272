#include "stitchlibrarymodel.h"

#include "stitch.h"

namespace {

QString dropOneBlank(QString part)
{
    if (part.startsWith(QLatin1Char(' ')))
        part.remove(0, 1);
    if (part.endsWith(QLatin1Char(' ')))
        part.chop(1);
    return part;
}

} // namespace

StitchLibraryModel::StitchLibraryModel(QObject *parent)
    : QStandardItemModel(0, ColumnCount, parent)
{
    setHeaderLabels();
}

Qt::ItemFlags StitchLibraryModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return QStandardItemModel::flags(index);
    Qt::ItemFlags result = QStandardItemModel::flags(index) | Qt::ItemIsEditable;
    if (index.column() == SelectedColumn)
        result |= Qt::ItemIsUserCheckable;
    return result;
}

void StitchLibraryModel::setHeaderLabels()
{
    setHorizontalHeaderLabels({tr("Stitch"), tr("Icon"), tr("Abbreviation"), tr("Description"),
                               tr("Wrong Side Stitch"), tr("Category"), tr("Stitches\nWorked"), tr("Stitches\nMade"),
                               tr("Selected")});
    setHeaderData(WorkedColumn, Qt::Horizontal, tr("Stitches the stitch works from the left needle"), Qt::ToolTipRole);
    setHeaderData(MadeColumn, Qt::Horizontal, tr("Stitches the stitch leaves on the right needle"), Qt::ToolTipRole);
}

void StitchLibraryModel::appendRecord(const StitchRecord &record)
{
    setRowCount(rowCount() + 1);
    setRecord(rowCount() - 1, record);
}

void StitchLibraryModel::setRecord(int row, const StitchRecord &record)
{
    setItem(row, NameColumn, new QStandardItem(record.name));
    setItem(row, IconColumn, new QStandardItem);
    setPaths(row, record.paths);
    setItem(row, AbbrivColumn, new QStandardItem(joinAbbrivs(record.abbrivs)));
    setItem(row, DescriptionColumn, new QStandardItem(record.description));
    setItem(row, OppositeColumn, new QStandardItem(record.opposite));
    setItem(row, CategoryColumn, new QStandardItem(record.category));
    for (const int column : {WorkedColumn, MadeColumn}) {
        auto *count = new QStandardItem;
        count->setTextAlignment(Qt::AlignCenter);
        setItem(row, column, count);
    }
    setCounts(row, record.worked, record.made);
    auto *selected = new QStandardItem;
    selected->setData(false, Qt::DisplayRole);
    setItem(row, SelectedColumn, selected);
}

StitchRecord StitchLibraryModel::record(int row) const
{
    StitchRecord record;
    record.name = text(row, NameColumn);
    record.abbrivs = abbrivs(row);
    record.paths = paths(row);
    record.description = text(row, DescriptionColumn);
    record.opposite = text(row, OppositeColumn);
    record.category = text(row, CategoryColumn);
    record.worked = worked(row);
    record.made = made(row);
    return record;
}

QString StitchLibraryModel::stitchID(int row) const
{
    const QStringList list = abbrivs(row);
    return list.isEmpty() ? QString() : list.first();
}

QStringList StitchLibraryModel::abbrivs(int row) const
{
    return splitAbbrivs(text(row, AbbrivColumn));
}

QStringList StitchLibraryModel::paths(int row) const
{
    QStringList list = data(index(row, IconColumn), PathsRole).toStringList();
    if (list.isEmpty())
        list.append(QString());
    // A cell never given an image shows the placeholder.
    for (QString &path : list) {
        if (path.isEmpty())
            path = Stitch::placeholderPath();
    }
    return list;
}

void StitchLibraryModel::setPaths(int row, const QStringList &paths)
{
    const QModelIndex cell = index(row, IconColumn);
    setData(cell, displayPaths(paths), Qt::DisplayRole);
    setData(cell, paths, PathsRole);
}

int StitchLibraryModel::worked(int row) const
{
    return number(row, WorkedColumn);
}

int StitchLibraryModel::made(int row) const
{
    return number(row, MadeColumn);
}

void StitchLibraryModel::setCounts(int row, int worked, int made)
{
    setData(index(row, WorkedColumn), qBound(0, worked, StitchRecord::mostStitches));
    setData(index(row, MadeColumn), qBound(0, made, StitchRecord::mostStitches));
}

bool StitchLibraryModel::isSelected(int row) const
{
    return data(index(row, SelectedColumn)).toBool();
}

QStringList StitchLibraryModel::firstAbbrivs() const
{
    QStringList ids;
    for (int row = 0; row < rowCount(); ++row)
        ids.append(stitchID(row));
    return ids;
}

int StitchLibraryModel::rowWithAbbriv(const QString &abbriv, int exceptRow) const
{
    for (int row = 0; row < rowCount(); ++row) {
        if (row != exceptRow && abbrivs(row).contains(abbriv, Qt::CaseInsensitive))
            return row;
    }
    return -1;
}

QString StitchLibraryModel::stitchTitle(const StitchRecord &record)
{
    if (!record.name.isEmpty())
        return record.name;
    return record.description.isEmpty() ? record.abbrivs.value(0) : record.description;
}

QStringList StitchLibraryModel::splitAbbrivs(const QString &text)
{
    QStringList abbrivs;
    const QStringList parts = text.split(QLatin1Char(','));
    for (const QString &part : parts) {
        const QString abbriv = dropOneBlank(part);
        if (!abbriv.isEmpty())
            abbrivs.append(abbriv);
    }
    return abbrivs;
}

QString StitchLibraryModel::joinAbbrivs(const QStringList &abbrivs)
{
    return abbrivs.join(QStringLiteral(", "));
}

QString StitchLibraryModel::displayPaths(const QStringList &paths)
{
    return paths.join(QLatin1Char(','));
}

QString StitchLibraryModel::text(int row, int column) const
{
    return data(index(row, column)).toString();
}

// A cell never given a number reads as 1, like a file that says none.
int StitchLibraryModel::number(int row, int column) const
{
    bool isNumber = false;
    const int value = data(index(row, column)).toInt(&isNumber);
    return isNumber ? qBound(0, value, StitchRecord::mostStitches) : 1;
}
