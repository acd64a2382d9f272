#include "stitchcreator.h"

#include "preferences.h"
#include "settings.h"
#include "stitch.h"
#include "stitchcreatordelegate.h"
#include "stitchset.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QPushButton *addButton(QLayout *layout, const QString &name, const QString &text)
{
    auto *button = new QPushButton(text);
    button->setObjectName(name);
    layout->addWidget(button);
    return button;
}

// Replaces `target` only once the copy is complete, so that a failed copy
// leaves the old file as it was.
bool copyReplacing(const QString &source, const QString &target)
{
    const QString partial = target + QStringLiteral(".new");
    QFile::remove(partial);
    if (!QFile::copy(source, partial)) {
        QFile::remove(partial);
        return false;
    }
    // Copies of read-only files and resources must stay replaceable.
    QFile::setPermissions(partial, QFile::permissions(partial) | QFile::ReadOwner | QFile::WriteOwner);
    QFile::remove(target);
    if (!QFile::rename(partial, target)) {
        QFile::remove(partial);
        return false;
    }
    return true;
}

} // namespace

StitchCreator::StitchCreator(const QString &stitch, const QStringList &paths, QWidget *parent)
    : QDialog(parent)
    , m_icons(new QTableWidget(1, 0))
    , m_delegate(new StitchCreatorDelegate(this))
    , m_worked(new QSpinBox)
    , m_made(new QSpinBox)
{
    setWindowTitle(tr("Stitch Creator"));
    resize(550, 160);

    auto *heading = new QLabel(tr("The current stitch is %1").arg(QStringLiteral("<b>%1</b>").arg(stitch.toHtmlEscaped())));
    heading->setObjectName(QStringLiteral("lblCurStitch"));
    m_icons->setObjectName(QStringLiteral("stitchIcons"));
    m_icons->setSelectionMode(QAbstractItemView::SingleSelection);
    m_icons->setShowGrid(true);
    m_icons->setEditTriggers(QAbstractItemView::AllEditTriggers);
    m_icons->setItemDelegate(m_delegate);

    auto *cellButtons = new QHBoxLayout;
    QPushButton *addCellButton = addButton(cellButtons, QStringLiteral("addCell"), tr("Add Cell"));
    QPushButton *removeCellButton = addButton(cellButtons, QStringLiteral("removeCell"), tr("Remove Cell"));
    QPushButton *addIconButton = addButton(cellButtons, QStringLiteral("addIcon"), tr("Add Icon"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->setObjectName(QStringLiteral("buttonBox"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(m_icons);
    layout->addLayout(cellButtons);
    layout->addLayout(countsLayout());
    layout->addWidget(buttons);

    for (const QString &path : paths.isEmpty() ? QStringList{Stitch::placeholderPath()} : paths)
        appendCell(path);
    m_icons->setCurrentCell(0, m_icons->columnCount() - 1);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(addCellButton, &QPushButton::clicked, this, &StitchCreator::addCell);
    connect(removeCellButton, &QPushButton::clicked, this, &StitchCreator::removeCell);
    connect(addIconButton, &QPushButton::clicked, this, &StitchCreator::addIconDialog);
    connect(m_delegate, &StitchCreatorDelegate::currentIndexChanged, this, &StitchCreator::itemChanged);
}

// Two numbers of the whole stitch, however many cells it covers.
QLayout *StitchCreator::countsLayout()
{
    auto *form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    for (QSpinBox *box : {m_worked, m_made}) {
        box->setRange(0, StitchRecord::mostStitches);
        box->setValue(1);
    }
    m_worked->setObjectName(QStringLiteral("worked"));
    m_made->setObjectName(QStringLiteral("made"));
    m_worked->setToolTip(tr("2 for k2tog, 0 for a yarn over, 4 for a cable over four stitches"));
    m_made->setToolTip(tr("1 for k2tog, 1 for a yarn over, 4 for a cable over four stitches"));
    form->addRow(tr("Stitches worked from the left needle:"), m_worked);
    form->addRow(tr("Stitches left on the right needle:"), m_made);
    return form;
}

void StitchCreator::setCounts(int worked, int made, bool editable)
{
    m_worked->setValue(worked);
    m_made->setValue(made);
    m_worked->setEnabled(editable);
    m_made->setEnabled(editable);
}

int StitchCreator::worked() const
{
    return m_worked->value();
}

int StitchCreator::made() const
{
    return m_made->value();
}

QStringList StitchCreator::iconList() const
{
    QStringList paths;
    for (int column = 0; column < m_icons->columnCount(); ++column) {
        const QTableWidgetItem *item = m_icons->item(0, column);
        paths.append(item ? item->text() : QString());
    }
    return paths;
}

void StitchCreator::appendCell(const QString &path)
{
    const int column = m_icons->columnCount();
    m_icons->setColumnCount(column + 1);
    auto *item = new QTableWidgetItem(path);
    if (!path.isEmpty())
        item->setIcon(QIcon(path));
    m_icons->setItem(0, column, item);
    fitIcons();
}

// The row of icons is shown whole, with room for the scroll bar that many
// cells bring; the dialog grows to keep it so.
void StitchCreator::fitIcons()
{
    m_icons->resizeColumnsToContents();
    m_icons->resizeRowsToContents();
    m_icons->setMinimumHeight(m_icons->horizontalHeader()->sizeHint().height() + m_icons->rowHeight(0)
                              + m_icons->horizontalScrollBar()->sizeHint().height() + 2 * m_icons->frameWidth());
}

void StitchCreator::addCell()
{
    appendCell(QString());
}

void StitchCreator::removeCell()
{
    if (m_icons->columnCount() > 1)
        m_icons->setColumnCount(m_icons->columnCount() - 1);
}

void StitchCreator::itemChanged(const QString &newItem)
{
    QTableWidgetItem *item = m_icons->currentItem();
    if (!item)
        return;
    item->setData(Qt::EditRole, newItem);
    item->setIcon(QIcon(newItem));
}

void StitchCreator::addIconDialog()
{
    const QStringList files = QFileDialog::getOpenFileNames(this, tr("Add New Icon"), Preferences::fileFolder(),
                                                            tr("Image Files (*.svg *.svgz *.png *.gif *.jpg)"));
    if (!files.isEmpty())
        addIconFiles(files);
}

void StitchCreator::addIconFiles(const QStringList &files)
{
    const QString folder = StitchSet::userIconFolder();
    if (!QDir().mkpath(folder)) {
        QMessageBox::warning(this, tr("Add New Icon"), tr("Could not create the folder %1.").arg(folder));
        return;
    }
    QString first;
    for (const QString &source : files) {
        const QString added = addIconFile(source, folder);
        if (first.isEmpty())
            first = added;
    }
    // The user added the icon for the cell at hand.
    if (!first.isEmpty())
        itemChanged(first);
}

// The icon's path in the folder, or an empty string when the user kept
// the file that was there or the copy failed.
QString StitchCreator::addIconFile(const QString &source, const QString &folder)
{
    const QString target = folder + QLatin1Char('/') + QFileInfo(source).fileName();
    // A file that is already in the folder is simply offered.
    const QString canonical = QFileInfo(source).canonicalFilePath();
    if (!canonical.isEmpty() && canonical == QFileInfo(target).canonicalFilePath()) {
        m_delegate->addIcon(target);
        return target;
    }
    if (QFileInfo::exists(target)) {
        const QMessageBox::StandardButton answer =
            QMessageBox::question(this, tr("Add New Icon"),
                                  tr("Replace the existing file %1 ?").arg(QFileInfo(target).fileName()),
                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        if (answer != QMessageBox::Yes)
            return QString();
    }
    if (!copyReplacing(source, target)) {
        QMessageBox::warning(this, tr("Add New Icon"), tr("Could not copy %1 to %2.").arg(source, folder));
        return QString();
    }
    m_delegate->addIcon(target);
    return target;
}
