#include "stitchlibrary.h"

#include "stitch.h"
#include "stitchcreator.h"
#include "stitchlibrarydelegate.h"
#include "stitchlibrarymodel.h"
#include "stitchset.h"
#include "waitcursor.h"

#include <QDebug>
#include <QDialogButtonBox>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QPushButton *addButton(QBoxLayout *layout, const QString &name, const QString &text)
{
    auto *button = new QPushButton(text);
    button->setObjectName(name);
    layout->addWidget(button);
    return button;
}

} // namespace

StitchLibrary::StitchLibrary(QWidget *parent)
    : QDialog(parent)
    , m_view(new QTableView)
    , m_model(new StitchLibraryModel(this))
    , m_delegate(new StitchLibraryDelegate(this))
{
    WaitCursor wait;
    buildUserInterface();
    loadStitchLibrary();
    fitTable();
}

StitchLibrary::~StitchLibrary() = default;

void StitchLibrary::buildUserInterface()
{
    setWindowTitle(tr("Stitch Library"));
    resize(945, 446);

    m_view->setObjectName(QStringLiteral("stitchList"));
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    QPalette palette = m_view->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Highlight, QColor(192, 192, 192));
        palette.setColor(group, QPalette::HighlightedText, QColor(85, 0, 255));
    }
    m_view->setPalette(palette);
    m_view->setModel(m_model);
    m_view->setItemDelegate(m_delegate);
    m_view->setEditTriggers(QAbstractItemView::AllEditTriggers);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Vertical);
    buttons->setObjectName(QStringLiteral("acceptButtons"));
    auto *column = new QVBoxLayout;
    column->addWidget(buttons);
    QPushButton *addStitchButton = addButton(column, QStringLiteral("addStitch"), tr("Add &Stitch"));
    QPushButton *addCategoryButton = addButton(column, QStringLiteral("addCategory"), tr("Add &Category"));
    column->addStretch();
    QPushButton *importButton = addButton(column, QStringLiteral("importSet"), tr("&Import Set"));
    QPushButton *exportButton = addButton(column, QStringLiteral("exportSet"), tr("E&xport Set"));
    column->addStretch();
    QPushButton *deleteButton = addButton(column, QStringLiteral("deleteStitch"), tr("&Delete Selected"));
    QPushButton *resetButton = addButton(column, QStringLiteral("reset"), tr("&Reset Library"));

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_view);
    layout->addLayout(column);

    // Return finishes editing a cell; it must not close the library.
    for (QPushButton *button : findChildren<QPushButton *>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(addStitchButton, &QPushButton::clicked, this, &StitchLibrary::addStitchDialog);
    connect(addCategoryButton, &QPushButton::clicked, this, &StitchLibrary::addCategory);
    connect(importButton, &QPushButton::clicked, this, &StitchLibrary::importSet);
    connect(exportButton, &QPushButton::clicked, this, &StitchLibrary::exportSet);
    connect(deleteButton, &QPushButton::clicked, this, &StitchLibrary::deleteStitch);
    connect(resetButton, &QPushButton::clicked, this, &StitchLibrary::resetStitches);
    connect(m_delegate, &StitchLibraryDelegate::openStitchCreator, this, &StitchLibrary::openStitchCreator);
    connect(m_delegate, &StitchLibraryDelegate::oppositeChanged, this, &StitchLibrary::changeOpposite);
    connect(m_delegate, &StitchLibraryDelegate::categoryChanged, this, &StitchLibrary::changeCategory);
    // Told once the refused edit has closed its editor.
    connect(m_delegate, &StitchLibraryDelegate::abbrivRefused, this, &StitchLibrary::showAbbrivUsed,
            Qt::QueuedConnection);
}

void StitchLibrary::fitTable()
{
    m_view->resizeColumnsToContents();
    m_view->resizeRowsToContents();
    int width = m_view->verticalHeader()->sizeHint().width() + 2 * m_view->frameWidth();
    for (int column = 0; column < m_model->columnCount(); ++column)
        width += m_view->columnWidth(column);
    m_view->setMinimumWidth(width + 19);
}

void StitchLibrary::loadStitchLibrary()
{
    const QList<Stitch *> stitches = StitchSet::instance()->stitches();
    m_model->setRowCount(stitches.size());
    for (int row = 0; row < stitches.size(); ++row)
        m_model->setRecord(row, stitches.at(row)->record());
}

QList<Stitch *> StitchLibrary::loadStitches()
{
    m_stitches.clear();
    QList<Stitch *> stitches;
    for (int row = 0; row < m_model->rowCount(); ++row) {
        m_stitches.push_back(getStitch(row));
        stitches.append(m_stitches.back().get());
    }
    return stitches;
}

std::unique_ptr<Stitch> StitchLibrary::getStitch(int row) const
{
    const StitchRecord record = m_model->record(row);
    auto stitch = std::make_unique<Stitch>();
    stitch->setName(record.name);
    stitch->setDescription(record.description);
    stitch->setOpposite(record.opposite);
    stitch->setCategory(record.category);
    stitch->setWorked(record.worked);
    stitch->setMade(record.made);
    stitch->setAbbrivs(record.abbrivs);
    stitch->setPaths(record.paths);

    bool found = false;
    const Stitch *known = StitchSet::instance()->findStitch(stitch->stitchID(), &found);
    if (found) {
        stitch->builtin = known->builtin;
        stitch->temporary = known->temporary;
    }
    return stitch;
}

QString StitchLibrary::getStitchID(int row) const
{
    return m_model->stitchID(row);
}

QStringList StitchLibrary::getStitchAbbrivs(int row) const
{
    return m_model->abbrivs(row);
}

QStringList StitchLibrary::getImgPaths(int row) const
{
    return m_model->paths(row);
}

QString StitchLibrary::getDisplayPaths(const QStringList &paths)
{
    return StitchLibraryModel::displayPaths(paths);
}

void StitchLibrary::saveLibrary()
{
    bool keepTemporary = false;
    if (hasTemporaryStitches()) {
        keepTemporary = QMessageBox::question(this, windowTitle(),
                                              tr("Some stitches have been loaded as part of a chart. ")
                                                  + tr("Do you want to save them in your stitch library?"),
                                              QMessageBox::Yes | QMessageBox::No)
                        == QMessageBox::Yes;
    }

    std::vector<std::unique_ptr<Stitch>> rows;
    QList<Stitch *> written;
    QList<Stitch *> keptFromCharts;
    for (int row = 0; row < m_model->rowCount(); ++row) {
        rows.push_back(getStitch(row));
        written.append(rows.back().get());
        if (keepTemporary && rows.back()->temporary && !rows.back()->builtin)
            keptFromCharts.append(StitchSet::instance()->findStitch(rows.back()->stitchID()));
    }

    if (!StitchSet::instance()->saveUserStitches(written, keepTemporary)) {
        QMessageBox::critical(this, windowTitle(), QStringLiteral("Could not save the stitch set."));
        return;
    }
    for (Stitch *stitch : std::as_const(keptFromCharts))
        stitch->temporary = false;
}

bool StitchLibrary::hasTemporaryStitches()
{
    for (int row = 0; row < m_model->rowCount(); ++row) {
        bool found = false;
        const Stitch *stitch = StitchSet::instance()->findStitch(getStitchID(row), &found);
        if (found && stitch->temporary)
            return true;
    }
    return false;
}

void StitchLibrary::addStitch(const QString &abbriv)
{
    StitchRecord record;
    record.abbrivs = QStringList{abbriv};
    record.paths = QStringList{Stitch::placeholderPath()};
    record.opposite = abbriv;
    m_model->appendRecord(record);
    m_view->scrollToBottom();
}

void StitchLibrary::addStitchDialog()
{
    bool accepted = false;
    const QString text = QInputDialog::getText(this, tr("Add New Stitch"), tr("New Stitch's Abbreviation:"),
                                               QLineEdit::Normal, QString(), &accepted);
    const QStringList abbrivs = StitchLibraryModel::splitAbbrivs(text);
    if (!accepted || abbrivs.isEmpty())
        return;
    for (const QString &abbriv : abbrivs) {
        if (const std::optional<QString> usedBy = stitchUsing(abbriv)) {
            showAbbrivUsed(abbriv, *usedBy);
            return;
        }
    }
    addStitch(text);
}

// The stitch of a row or of the catalogue that has `abbriv`, named as the
// table shows it: two rows with one abbreviation would overwrite each
// other's stitch when applied. A row comes first, since it may have been
// renamed since the catalogue was read.
std::optional<QString> StitchLibrary::stitchUsing(const QString &abbriv) const
{
    const int row = m_model->rowWithAbbriv(abbriv);
    if (row >= 0)
        return StitchLibraryModel::stitchTitle(m_model->record(row));
    bool found = false;
    const Stitch *stitch = StitchSet::instance()->findStitch(abbriv, &found);
    if (found)
        return StitchLibraryModel::stitchTitle(stitch->record());
    return std::nullopt;
}

bool StitchLibrary::isAbbrivUsed(const QStringList &abbrivs) const
{
    return std::any_of(abbrivs.cbegin(), abbrivs.cend(),
                       [this](const QString &abbriv) { return stitchUsing(abbriv).has_value(); });
}

void StitchLibrary::showAbbrivUsed(const QString &abbriv, const QString &usedBy)
{
    if (abbriv.isEmpty()) {
        QMessageBox::information(this, tr("No Abbreviation"), tr("Every stitch needs an abbreviation."));
        return;
    }
    QMessageBox::information(this, tr("Stitch Abbrivation Used"),
                             tr("The abbreviation \"%1\" is already being used by \"%2\".").arg(abbriv, usedBy));
}

void StitchLibrary::addCategory()
{
    bool accepted = false;
    const QString category = QInputDialog::getText(this, tr("Add Category"), tr("New Category:"),
                                                   QLineEdit::Normal, QString(), &accepted);
    if (accepted)
        StitchSet::instance()->addCategory(category);
}

bool StitchLibrary::hasSelection()
{
    for (int row = 0; row < m_model->rowCount(); ++row) {
        if (m_model->isSelected(row))
            return true;
    }
    QMessageBox::information(this, tr("No Stitches Selected"),
                             tr("Please select at least one stitch before continuing."), QMessageBox::Ok);
    return false;
}

void StitchLibrary::deleteStitch()
{
    if (!hasSelection())
        return;
    for (int row = m_model->rowCount() - 1; row >= 0; --row) {
        if (m_model->isSelected(row))
            m_model->removeRow(row);
    }
}

void StitchLibrary::resetStitches()
{
    QMessageBox question(QMessageBox::Warning, windowTitle(),
                         tr("Are you sure you want to reset your stitch library?"),
                         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
    question.setInformativeText(tr("By resetting your stitch library you will lose any changes you have made to it."));
    if (question.exec() != QMessageBox::Yes)
        return;

    // Without a file of the user's there is nothing to remove, but the
    // table and the catalogue are still brought back to the files.
    const QString userFile = StitchSet::userStitchesFile();
    if (QFile::exists(userFile) && !QFile::remove(userFile)) {
        qDebug() << "Could not remove the user's stitchset file.";
        return;
    }

    WaitCursor wait;
    StitchSet::instance()->load();
    m_model->setRowCount(0);
    loadStitchLibrary();
    m_model->setHeaderLabels();
    m_view->resizeColumnsToContents();
    m_view->resizeRowsToContents();
}

void StitchLibrary::openStitchCreator()
{
    const int row = m_view->currentIndex().row();
    if (row < 0)
        return;
    const QString id = getStitchID(row);
    StitchCreator creator(id, getImgPaths(row), this);
    bool found = false;
    Stitch *stitch = StitchSet::instance()->findStitch(id, &found);
    // Built-in stitches keep their arithmetic, as they keep their
    // abbreviation; it is shown all the same.
    const bool ownCounts = !found || !stitch->builtin;
    creator.setCounts(m_model->worked(row), m_model->made(row), ownCounts);
    if (creator.exec() != QDialog::Accepted)
        return;

    WaitCursor wait;
    const QStringList paths = creator.iconList();
    m_model->setPaths(row, paths);
    if (ownCounts)
        m_model->setCounts(row, creator.worked(), creator.made());
    if (found) {
        // Edited images make a built-in stitch the user's own, so that it
        // is written to the user's file from now on.
        stitch->setPaths(paths);
        stitch->builtin = false;
    }
}

void StitchLibrary::changeOpposite(const QString &newValue)
{
    setCurrentCell(StitchLibraryModel::OppositeColumn, newValue);
}

void StitchLibrary::changeCategory(const QString &newValue)
{
    setCurrentCell(StitchLibraryModel::CategoryColumn, newValue);
}

void StitchLibrary::setCurrentCell(int column, const QString &value)
{
    const QModelIndex current = m_view->currentIndex();
    if (current.isValid() && current.column() == column)
        m_model->setData(current, value);
}
