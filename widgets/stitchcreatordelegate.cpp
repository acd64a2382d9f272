#include "stitchcreatordelegate.h"

#include "combobox.h"
#include "stitch.h"
#include "stitchset.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

namespace {

const QSize iconTileSize(64, 64);

} // namespace

StitchCreatorDelegate::StitchCreatorDelegate(QObject *parent)
    : QItemDelegate(parent)
{
    addFolder(QStringLiteral(":/stitches/"));
    addFolder(StitchSet::userIconFolder());
}

// Paths keep their case: on most file systems a lower-cased path names
// another file, or none.
void StitchCreatorDelegate::addFolder(const QString &folder)
{
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files | QDir::Readable, QDir::Name);
    for (const QFileInfo &entry : entries) {
        m_paths.append(entry.absoluteFilePath());
        m_icons.append(loadIcon(entry.absoluteFilePath()));
    }
}

void StitchCreatorDelegate::addIcon(const QString &path)
{
    if (m_paths.contains(path))
        return;
    m_paths.append(path);
    m_icons.append(loadIcon(path));
}

QIcon StitchCreatorDelegate::loadIcon(const QString &path)
{
    if (!QFileInfo::exists(path)) {
        qDebug() << "icon file does not exist:" << path;
        return QIcon();
    }
    return QIcon(path);
}

QWidget *StitchCreatorDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                             const QModelIndex &) const
{
    auto *box = new ComboBox(parent);
    box->setInsertPolicy(QComboBox::InsertAlphabetically);
    box->setIconSize(QSize(32, 32));
    for (int i = 0; i < m_paths.size(); ++i)
        box->addItem(m_icons.at(i), QFileInfo(m_paths.at(i)).fileName(), m_paths.at(i));
    box->model()->sort(0);

    // The chosen item's own path goes on, so that a user's icon named like
    // a built-in one is told apart from it.
    auto *self = const_cast<StitchCreatorDelegate *>(this);
    connect(box, &QComboBox::currentIndexChanged, self, [self, box](int index) {
        if (index >= 0)
            Q_EMIT self->currentIndexChanged(box->itemData(index).toString());
    });
    return box;
}

void StitchCreatorDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    auto *box = qobject_cast<QComboBox *>(editor);
    if (!box)
        return;
    const QString path = index.data(Qt::EditRole).toString();
    int found = box->findData(path);
    if (found < 0 && !path.isEmpty()) {
        box->addItem(loadIcon(path), QFileInfo(path).fileName(), path);
        found = box->count() - 1;
    }
    box->setCurrentIndex(found);
}

void StitchCreatorDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    const auto *box = qobject_cast<QComboBox *>(editor);
    if (box && box->currentIndex() >= 0)
        model->setData(index, box->currentData().toString(), Qt::EditRole);
}

void StitchCreatorDelegate::getEditRole(const QString &newItem)
{
    QStringList matches;
    for (const QString &path : std::as_const(m_paths)) {
        if (path.contains(newItem))
            matches.append(path);
    }
    if (matches.size() == 1) {
        Q_EMIT currentIndexChanged(matches.first());
        return;
    }
    for (const QString &path : std::as_const(m_paths)) {
        if (QFileInfo(path).fileName() == newItem) {
            Q_EMIT currentIndexChanged(path);
            return;
        }
    }
}

void StitchCreatorDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                  const QModelIndex &index) const
{
    drawBackground(painter, option, index);
    const QPixmap image = Stitch::filePixmap(index.data(Qt::EditRole).toString(), option.rect.size());
    if (!image.isNull())
        painter->drawPixmap(option.rect, image);
    drawFocus(painter, option, option.rect);
}

QSize StitchCreatorDelegate::sizeHint(const QStyleOptionViewItem &, const QModelIndex &index) const
{
    const QString path = index.data(Qt::EditRole).toString();
    const QSize size = path.isEmpty() ? QSize() : QImageReader(path).size();
    return size.isValid() ? size.boundedTo(QSize(512, 512)) : iconTileSize;
}
