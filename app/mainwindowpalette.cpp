// The stitch palette: every stitch of the library by category, the ones
// picked lately in a "Recent" group on top, and a filter box that keeps
// the stitches whose abbreviation, name or description holds its text.

#include "mainwindow.h"

#include "exphelper.h"
#include "preferences.h"
#include "stitch.h"
#include "stitchset.h"
#include "ui_mainwindowclass.h"

#include <QHash>
#include <QLineEdit>
#include <QTreeWidget>

namespace {

// Stitches the "Recent" group holds.
const int recentCount = 8;

QTreeWidgetItem *stitchItem(const Stitch *stitch, QTreeWidgetItem *parent)
{
    auto *item = new QTreeWidgetItem(parent, QStringList(stitch->stitchID()));
    item->setData(0, ExpHelper::stitchIdRole, stitch->stitchID());
    const QString tip = stitch->description().isEmpty() ? stitch->name()
                                                        : stitch->name() + QStringLiteral(" - ") + stitch->description();
    item->setToolTip(0, tip);
    return item;
}

bool matches(const QString &stitchId, const QString &text)
{
    if (text.isEmpty())
        return true;
    const Stitch *stitch = StitchSet::instance()->findStitch(stitchId);
    if (!stitch)
        return false;
    for (const QString &field : {stitch->stitchID(), stitch->name(), stitch->description()}) {
        if (field.contains(text, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

} // namespace

void MainWindow::setupStitchList()
{
    StitchSet *catalogue = StitchSet::instance();
    for (const Stitch *stitch : catalogue->stitches())
        catalogue->addCategory(stitch->category());
    QTreeWidget *tree = ui->stitchTree;
    tree->clear();
    tree->setIconSize(QSize(24, 24));
    tree->setIndentation(12);
    m_recentItem = nullptr;
    // One pass over the stitches, however many categories there are, with
    // the rows put together before the tree takes them. The delegate draws
    // each symbol when its row first shows.
    QList<QTreeWidgetItem *> categoryItems;
    QHash<QString, QTreeWidgetItem *> byCategory;
    for (const QString &category : catalogue->categories()) {
        categoryItems.append(new QTreeWidgetItem(QStringList(category)));
        byCategory.insert(category, categoryItems.last());
    }
    for (const Stitch *stitch : catalogue->stitches())
        stitchItem(stitch, byCategory.value(stitch->category()));
    tree->addTopLevelItems(categoryItems);
    fillRecentStitches();
    tree->expandAll();
    filterStitchPalette(ui->stitchFilter->text());
}

void MainWindow::updateStitchPalette()
{
    setupStitchList();
}

// The group shows only while it holds a stitch, always as the first row.
void MainWindow::fillRecentStitches()
{
    QList<QTreeWidgetItem *> rows;
    for (const QString &id : Preferences::recentStitches.value()) {
        if (const Stitch *stitch = StitchSet::instance()->findStitch(id))
            rows.append(stitchItem(stitch, nullptr));
    }
    if (rows.isEmpty()) {
        delete m_recentItem;
        m_recentItem = nullptr;
        return;
    }
    if (!m_recentItem) {
        m_recentItem = new QTreeWidgetItem(QStringList(tr("Recent")));
        ui->stitchTree->insertTopLevelItem(0, m_recentItem);
    }
    qDeleteAll(m_recentItem->takeChildren());
    m_recentItem->addChildren(rows);
    m_recentItem->setExpanded(true);
}

void MainWindow::rememberRecentStitch(const QString &stitchId)
{
    if (!StitchSet::instance()->findStitch(stitchId))
        return;
    QStringList recent = Preferences::recentStitches.value();
    if (!recent.isEmpty() && recent.first() == stitchId)
        return;
    recent.removeAll(stitchId);
    recent.prepend(stitchId);
    while (recent.size() > recentCount)
        recent.removeLast();
    Preferences::recentStitches.set(recent);
    // The row clicked may be one of the group's own, still in the tree's
    // hands: the group is filled anew once the click is done.
    QMetaObject::invokeMethod(
        this,
        [this] {
            fillRecentStitches();
            filterStitchPalette(ui->stitchFilter->text());
        },
        Qt::QueuedConnection);
}

void MainWindow::filterStitchPalette(const QString &text)
{
    const QString wanted = text.trimmed();
    QTreeWidget *tree = ui->stitchTree;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem *category = tree->topLevelItem(i);
        bool any = false;
        for (int j = 0; j < category->childCount(); ++j) {
            QTreeWidgetItem *row = category->child(j);
            const bool shown = matches(row->data(0, ExpHelper::stitchIdRole).toString(), wanted);
            row->setHidden(!shown);
            any = any || shown;
        }
        category->setHidden(!any);
    }
}
