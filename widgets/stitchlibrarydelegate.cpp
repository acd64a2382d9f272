#include "stitchlibrarydelegate.h"

#include "stitch.h"
#include "stitchlibrarymodel.h"
#include "stitchset.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QSpinBox>

namespace {

const QSize stripSize(50, 32);

const StitchLibraryModel *libraryModel(const QModelIndex &index)
{
    return qobject_cast<const StitchLibraryModel *>(index.model());
}

} // namespace

StitchLibraryDelegate::StitchLibraryDelegate(QObject *parent)
    : QItemDelegate(parent)
{
}

QWidget *StitchLibraryDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                             const QModelIndex &index) const
{
    const bool builtin = isBuiltin(index);
    switch (index.column()) {
    case StitchLibraryModel::NameColumn:
        return new QLineEdit(parent);
    case StitchLibraryModel::AbbrivColumn:
        return builtin ? nullptr : new QLineEdit(parent);
    case StitchLibraryModel::DescriptionColumn:
        return builtin ? nullptr : QItemDelegate::createEditor(parent, option, index);
    case StitchLibraryModel::OppositeColumn:
        if (builtin || !libraryModel(index))
            return nullptr;
        return createComboBox(parent, libraryModel(index)->firstAbbrivs(), &StitchLibraryDelegate::oppositeChanged);
    case StitchLibraryModel::CategoryColumn:
        return createComboBox(parent, StitchSet::instance()->categories(), &StitchLibraryDelegate::categoryChanged);
    case StitchLibraryModel::WorkedColumn:
    case StitchLibraryModel::MadeColumn:
        return builtin ? nullptr : createCountBox(parent);
    default:
        return nullptr;
    }
}

QWidget *StitchLibraryDelegate::createComboBox(QWidget *parent, const QStringList &entries,
                                               void (StitchLibraryDelegate::*changed)(const QString &)) const
{
    auto *box = new QComboBox(parent);
    box->addItems(entries);
    auto *self = const_cast<StitchLibraryDelegate *>(this);
    connect(box, &QComboBox::currentTextChanged, self, changed);
    return box;
}

QWidget *StitchLibraryDelegate::createCountBox(QWidget *parent)
{
    auto *box = new QSpinBox(parent);
    box->setRange(0, StitchRecord::mostStitches);
    return box;
}

void StitchLibraryDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    auto *box = qobject_cast<QComboBox *>(editor);
    if (!box) {
        QItemDelegate::setEditorData(editor, index);
        return;
    }
    // A value the list lacks is offered too, so that opening and closing
    // the editor never loses it.
    const QString current = index.data().toString();
    int found = box->findText(current, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (found < 0) {
        box->insertItem(0, current);
        found = 0;
    }
    box->setCurrentIndex(found);
}

void StitchLibraryDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    const auto *line = qobject_cast<QLineEdit *>(editor);
    if (line && index.column() == StitchLibraryModel::AbbrivColumn && line->text() != index.data().toString()
        && refusesAbbrivs(line->text(), index))
        return;
    QItemDelegate::setModelData(editor, model, index);
}

// Two rows with one abbreviation would overwrite each other's stitch when
// the library is applied.
bool StitchLibraryDelegate::refusesAbbrivs(const QString &text, const QModelIndex &index) const
{
    const StitchLibraryModel *library = libraryModel(index);
    if (!library)
        return false;
    auto *self = const_cast<StitchLibraryDelegate *>(this);
    const QStringList abbrivs = StitchLibraryModel::splitAbbrivs(text);
    if (abbrivs.isEmpty()) {
        Q_EMIT self->abbrivRefused(QString(), QString());
        return true;
    }
    for (const QString &abbriv : abbrivs) {
        const int other = library->rowWithAbbriv(abbriv, index.row());
        if (other >= 0) {
            Q_EMIT self->abbrivRefused(abbriv, StitchLibraryModel::stitchTitle(library->record(other)));
            return true;
        }
    }
    return false;
}

void StitchLibraryDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                  const QModelIndex &index) const
{
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorGroup group = option.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
    const QColor highlight = option.palette.color(group, QPalette::Highlight);

    if (index.column() == StitchLibraryModel::IconColumn) {
        const QStringList paths = index.data(StitchLibraryModel::PathsRole).toStringList();
        painter->drawPixmap(option.rect.topLeft(), iconStrip(paths, selected ? highlight : QColor(Qt::white)));
    } else if (index.column() == StitchLibraryModel::SelectedColumn) {
        if (selected)
            painter->fillRect(option.rect, highlight);
        const QWidget *widget = option.widget;
        const QStyle *style = widget ? widget->style() : QApplication::style();
        QRect box(0, 0, style->pixelMetric(QStyle::PM_IndicatorWidth, &option, widget),
                  style->pixelMetric(QStyle::PM_IndicatorHeight, &option, widget));
        box.moveCenter(option.rect.center());
        drawCheck(painter, option, box, index.data().toBool() ? Qt::Checked : Qt::Unchecked);
    } else {
        QItemDelegate::paint(painter, option, index);
    }
}

QPixmap StitchLibraryDelegate::iconStrip(const QStringList &paths, const QColor &background)
{
    QPixmap strip(stripSize);
    strip.fill(background);
    const QStringList shown = paths.isEmpty() ? QStringList{Stitch::placeholderPath()} : paths;
    const int slotWidth = shown.size() == 1 ? stripSize.height() : stripSize.width() / shown.size();
    if (slotWidth < 1)
        return strip;

    QPainter painter(&strip);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (int i = 0; i < shown.size(); ++i) {
        const QRect slot(i * slotWidth, 0, slotWidth, stripSize.height());
        QPixmap image = Stitch::filePixmap(shown.at(i), slot.size());
        if (image.isNull())
            image = Stitch::filePixmap(Stitch::placeholderPath(), slot.size());
        painter.drawPixmap(slot, image);
    }
    return strip;
}

QSize StitchLibraryDelegate::sizeHint(const QStyleOptionViewItem &, const QModelIndex &index) const
{
    static const int widths[StitchLibraryModel::ColumnCount] = {150, 50, 100, 250, 100, 100, 60, 60, 50};
    const int column = qBound(0, index.column(), StitchLibraryModel::ColumnCount - 1);
    return QSize(widths[column], 32);
}

bool StitchLibraryDelegate::editorEvent(QEvent *event, QAbstractItemModel *model,
                                        const QStyleOptionViewItem &option, const QModelIndex &index)
{
    if (activates(event, index)) {
        if (index.column() == StitchLibraryModel::IconColumn)
            Q_EMIT openStitchCreator();
        else
            model->setData(index, !index.data().toBool());
        return true;
    }
    return QItemDelegate::editorEvent(event, model, option, index);
}

// A left click released on the icon or "Selected" cell, or the space key
// there, opens the creator or toggles the check.
bool StitchLibraryDelegate::activates(QEvent *event, const QModelIndex &index) const
{
    if (index.column() != StitchLibraryModel::IconColumn && index.column() != StitchLibraryModel::SelectedColumn)
        return false;
    if (event->type() == QEvent::MouseButtonRelease)
        return static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton;
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        return key == Qt::Key_Space || key == Qt::Key_Select;
    }
    return false;
}

bool StitchLibraryDelegate::isBuiltin(const QModelIndex &index)
{
    const StitchLibraryModel *library = libraryModel(index);
    if (!library)
        return false;
    bool found = false;
    const Stitch *stitch = StitchSet::instance()->findStitch(library->stitchID(index.row()), &found);
    return found && stitch->builtin;
}
