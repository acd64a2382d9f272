#include "document.h"

#include "chart.h"
#include "chartgrid.h"
#include "directions.h"
#include "stitch.h"
#include "stitchset.h"
#include "textedit.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTextCursor>
#include <QToolBar>
#include <QUndoGroup>
#include <QUndoStack>
#include <QVBoxLayout>

Document::Document(int width, int height, const QString &fileName, const QString &chartName,
                   const QString &defaultStitch, QWidget *parent)
    : QWidget(parent)
{
    setFileName(fileName);
    modified = false;
    saved = false;
    setupDocument();
    addDirections(new Directions(this), tr("Document"));
    addNewChart(width, height, chartName, defaultStitch);
    // A new document starts unchanged.
    m_otherChanges = false;
    setModified(false);
}

Document::Document(QDataStream &, QWidget *parent)
    : QWidget(parent)
{
    setupDocument();
}

Document::~Document()
{
    // Tabs report their cells and undo stacks as they go; nobody is left
    // to hear it.
    for (Page *page : pages())
        disconnect(page->undoStack(), nullptr, this, nullptr);
    for (Chart *chart : charts())
        disconnect(chart, nullptr, this, nullptr);
    for (Directions *page : directions())
        disconnect(page, nullptr, this, nullptr);
    disconnect(m_undoGroup, nullptr, this, nullptr);
    disconnect(tabs, nullptr, this, nullptr);
}

void Document::setupDocument()
{
    setAttribute(Qt::WA_DeleteOnClose);
    curColor = Qt::white;
    tabs = new QTabWidget(this);
    tabs->setMovable(true);
    tabs->setDocumentMode(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tabs);
    connect(tabs, &QTabWidget::currentChanged, this, &Document::onTabChange);
    // The check numbers charts by their places.
    connect(tabs->tabBar(), &QTabBar::tabMoved, this, &Document::patternChanged);
    showWS = true;
    m_emptyMenu = new QMenu(this);
    m_emptyToolBar = new QToolBar(this);
    m_emptyToolBar->hide();
    m_emptyHistory = new QUndoStack(this);
    m_undoGroup = new QUndoGroup(this);
    connect(m_undoGroup, &QUndoGroup::canUndoChanged, this, &Document::canUndoChanged);
    connect(m_undoGroup, &QUndoGroup::canRedoChanged, this, &Document::canRedoChanged);
}

Page *Document::curPage() const
{
    return tabs ? dynamic_cast<Page *>(tabs->currentWidget()) : nullptr;
}

QList<Page *> Document::pages() const
{
    QList<Page *> list;
    for (int i = 0; i < tabCount(); ++i) {
        if (auto *page = dynamic_cast<Page *>(tabs->widget(i)))
            list.append(page);
    }
    return list;
}

Chart *Document::curChart() const
{
    return tabs ? qobject_cast<Chart *>(tabs->currentWidget()) : nullptr;
}

Directions *Document::curDirections() const
{
    return tabs ? qobject_cast<Directions *>(tabs->currentWidget()) : nullptr;
}

int Document::tabCount() const
{
    return tabs ? tabs->count() : 0;
}

QList<Chart *> Document::charts() const
{
    QList<Chart *> list;
    for (int i = 0; i < tabCount(); ++i) {
        if (auto *chart = qobject_cast<Chart *>(tabs->widget(i)))
            list.append(chart);
    }
    return list;
}

QList<Directions *> Document::directions() const
{
    QList<Directions *> list;
    for (int i = 0; i < tabCount(); ++i) {
        if (auto *page = qobject_cast<Directions *>(tabs->widget(i)))
            list.append(page);
    }
    return list;
}

QStringList Document::chartList() const
{
    QStringList names;
    for (int i = 0; i < tabCount(); ++i) {
        if (qobject_cast<Chart *>(tabs->widget(i)))
            names.append(tabs->tabText(i));
    }
    return names;
}

QMenu *Document::curMenu()
{
    Page *page = curPage();
    return page ? page->menu() : m_emptyMenu;
}

QToolBar *Document::curToolBar()
{
    Page *page = curPage();
    return page ? page->toolBar() : m_emptyToolBar;
}

QUndoStack *Document::undoHistory()
{
    Page *page = curPage();
    return page ? page->undoStack() : m_emptyHistory;
}

void Document::undo()
{
    m_undoGroup->undo();
}

void Document::redo()
{
    m_undoGroup->redo();
}

void Document::cut()
{
    if (Page *page = curPage())
        page->cut();
}

void Document::copy()
{
    if (Page *page = curPage())
        page->copy();
}

void Document::paste()
{
    if (Page *page = curPage())
        page->paste();
}

void Document::addPageStack(Page *page)
{
    // Every step done or undone may change what is unsaved.
    connect(page->undoStack(), &QUndoStack::indexChanged, this, &Document::docClean);
    m_undoGroup->addStack(page->undoStack());
    if (page == curPage())
        m_undoGroup->setActiveStack(page->undoStack());
}

void Document::addDirections(Directions *page, const QString &title)
{
    dirConnections(page);
    tabs->addTab(page, QIcon(QStringLiteral(":/images/text.svg")), title);
    addPageStack(page);
    Q_EMIT patternChanged();
}

void Document::addChart(Chart *chart)
{
    chart->setParent(this);
    tabs->addTab(chart, QIcon(QStringLiteral(":/images/grid.svg")), chart->chartTitle());
    addPageStack(chart);
    Q_EMIT patternChanged();
}

void Document::addNewChart(int width, int height, const QString &name, const QString &defaultStitch)
{
    auto *chart = new Chart(width, height, defaultStitch, this);
    chart->setTitle(name);
    showNewChart(chart);
}

void Document::addBuiltChart(ChartValues &&values)
{
    showNewChart(new Chart(std::move(values), this));
}

void Document::appendToDirections(const QString &heading, const QStringList &paragraphs)
{
    const QList<Directions *> pages = directions();
    if (pages.isEmpty() || paragraphs.isEmpty())
        return;
    QTextCursor cursor(pages.first()->textEdit()->document());
    cursor.movePosition(QTextCursor::End);
    cursor.beginEditBlock();
    cursor.insertBlock();
    cursor.insertText(heading);
    for (const QString &paragraph : paragraphs) {
        cursor.insertBlock();
        cursor.insertText(paragraph);
    }
    cursor.endEditBlock();
    markChanged();
}

void Document::showNewChart(Chart *chart)
{
    chartConnect(chart);
    addChart(chart);
    if (curStitch)
        chart->setCurStitch(curStitch);
    chart->setCurColor(curColor);
    tabs->setCurrentWidget(chart);
    tallyCells(chart, 1);
    markChanged();
}

namespace {

// Adds `delta` to the count of `item`: a new item joins the end of the
// list, one whose count falls to nothing leaves it. Whether the list
// changed.
template<typename T>
bool addToTally(QList<T> &items, QList<int> &counts, const T &item, int delta)
{
    const int at = int(items.indexOf(item));
    if (at < 0) {
        if (delta <= 0)
            return false;
        items.append(item);
        counts.append(delta);
        return true;
    }
    counts[at] += delta;
    if (counts.at(at) > 0)
        return false;
    items.removeAt(at);
    counts.removeAt(at);
    return true;
}

} // namespace

// A chart that arrives whole (`sign` 1) or leaves (-1): its stitches and
// colours, in the order its cells show them.
void Document::tallyCells(const Chart *chart, int sign)
{
    bool stitches = false;
    for (const auto &used : chart->grid()->stitchTally()) {
        if (used.first)
            stitches |= addToTally(stitchesUsed, stitchCounts, used.first, sign * used.second);
    }
    bool colors = false;
    for (const auto &used : chart->grid()->colorTally()) {
        if (used.first.isValid())
            colors |= addToTally(colorsUsed, colorCounts, used.first, sign * used.second);
    }
    if (stitches)
        Q_EMIT currentStitchesUsed(stitchesUsed);
    if (colors)
        Q_EMIT currentColorsUsed(colorsUsed);
    renameColours();
}

void Document::rememberFileOnDisk()
{
    const QFileInfo file(m_fileName);
    m_diskTime = file.exists() ? file.lastModified() : QDateTime();
    m_diskSize = file.exists() ? file.size() : -1;
}

bool Document::changedOnDisk() const
{
    if (!saved || !m_diskTime.isValid())
        return false;
    const QFileInfo file(m_fileName);
    return file.exists() && (file.lastModified() != m_diskTime || file.size() != m_diskSize);
}

void Document::removeChart()
{
    Chart *chart = curChart();
    if (!chart)
        return;
    QMessageBox box(QMessageBox::Warning, tr("Confirm Deletion"),
                    tr("Are you sure you want to remove this chart from the document?"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
    box.setInformativeText(tr("This will permanently remove this information from the document."));
    if (box.exec() != QMessageBox::Yes)
        return;

    QApplication::setOverrideCursor(Qt::WaitCursor);
    tabs->removeTab(tabs->indexOf(chart));
    tallyCells(chart, -1);
    disconnect(chart->undoStack(), nullptr, this, nullptr);
    delete chart;
    Q_EMIT patternChanged();
    if (tabs->count() == 0) {
        if (auto *window = qobject_cast<QMdiSubWindow *>(parentWidget()))
            window->close();
    }
    markChanged();
    QApplication::restoreOverrideCursor();
}

void Document::setCurStitch(Stitch *stitch)
{
    curStitch = stitch;
    Q_EMIT curStitchChanged(stitch);
}

void Document::setCurColor(const QColor &color)
{
    curColor = color;
    Q_EMIT curColorChanged(color);
}

void Document::setCurChartCurStitch(Stitch *stitch)
{
    if (Chart *chart = curChart())
        chart->setCurStitch(stitch);
}

void Document::setEditMode(KnitScene::Mode mode)
{
    if (Chart *chart = curChart())
        chart->setEditMode(mode);
}

void Document::showChartInstructions(bool on)
{
    Q_EMIT showChartInstructionsChanged(on);
}

void Document::updateChartTitle(const QString &title)
{
    auto *chart = qobject_cast<Chart *>(sender());
    const int index = chart ? tabs->indexOf(chart) : tabs->currentIndex();
    if (index >= 0)
        tabs->setTabText(index, title);
}

void Document::docClean()
{
    if (tabCount() == 0)
        return;
    bool clean = true;
    for (Page *page : pages())
        clean = clean && !page->isModified();
    setModified(!clean || m_otherChanges);
}

void Document::markChanged()
{
    m_otherChanges = true;
    setModified(true);
}

void Document::markSaved()
{
    m_otherChanges = false;
    for (Page *page : pages())
        page->markSaved();
    setModified(false);
}

void Document::setModified(bool isModified)
{
    // Every cell change reports here; the title changes only with the state.
    if (isModified == modified)
        return;
    modified = isModified;
    setWindowModified(modified);
}

void Document::setFileName(const QString &fileName)
{
    m_fileName = fileName;
    setDocumentTitle();
}

void Document::setDocumentTitle()
{
    // The window shows the mark of unsaved changes in place of "[*]".
    setWindowTitle(QDir::toNativeSeparators(m_fileName) + QStringLiteral("[*]"));
    setWindowModified(modified);
}

void Document::updateStitchList(int, int, Stitch *stitch, Stitch *oldStitch)
{
    bool changed = false;
    if (stitch)
        changed |= addToTally(stitchesUsed, stitchCounts, stitch, 1);
    if (oldStitch)
        changed |= addToTally(stitchesUsed, stitchCounts, oldStitch, -1);
    if (changed)
        Q_EMIT currentStitchesUsed(stitchesUsed);
}

void Document::updateColorList(int, int, const QColor &color, const QColor &oldColor)
{
    bool changed = false;
    if (color.isValid())
        changed |= addToTally(colorsUsed, colorCounts, color, 1);
    if (oldColor.isValid())
        changed |= addToTally(colorsUsed, colorCounts, oldColor, -1);
    if (changed)
        Q_EMIT currentColorsUsed(colorsUsed);
    // Counts that change the order change the defaults.
    renameColours();
}

void Document::updateStitchesUsed()
{
    Q_EMIT currentStitchesUsed(stitchesUsed);
}

void Document::refreshUi()
{
    Q_EMIT currentStitchesUsed(stitchesUsed);
    Q_EMIT currentColorsUsed(colorsUsed);
    announcePageStatus();
}

void Document::announcePageStatus()
{
    if (Chart *chart = curChart())
        Q_EMIT pageStatus(chart->modeText(), chart->zoom());
    else if (curDirections())
        Q_EMIT pageStatus(tr("Text Editing"), 0);
}

void Document::activated()
{
    Page *page = curPage();
    m_undoGroup->setActiveStack(page ? page->undoStack() : nullptr);
    Q_EMIT canRedoChanged(m_undoGroup->canRedo());
    Q_EMIT canUndoChanged(m_undoGroup->canUndo());
}

void Document::setPageSize(int size)
{
    pageSize = size;
    for (Directions *page : directions())
        page->updatePageSize();
}

void Document::turnOffHighlight()
{
    for (Chart *chart : charts())
        chart->turnOffHighlight();
}

void Document::menuAboutToShow()
{
    if (Chart *chart = curChart())
        chart->menuAboutToShow();
}

void Document::onTabChange()
{
    activated();
    if (Page *page = curPage()) {
        Q_EMIT menu(page->menu());
        Q_EMIT toolbar(page->toolBar());
    }
    if (Chart *chart = curChart())
        chart->clearSelection();
    else if (curDirections())
        updateDirImage();
    announcePageStatus();
    Q_EMIT undoHistoryChanged();
}

void Document::chartConnect(Chart *chart)
{
    connect(this, &Document::curStitchChanged, this, &Document::setCurChartCurStitch, Qt::UniqueConnection);
    connect(this, &Document::showChartInstructionsChanged, chart, &Chart::showChartInstructions);
    connect(chart, &Chart::stitchChanged, this, &Document::updateStitchList);
    connect(chart, &Chart::colorChanged, this, &Document::updateColorList);
    connect(chart, &Chart::titleChanged, this, &Document::updateChartTitle);
    // Titles, styles and numbering are not undo steps; they count as
    // changes until the next save.
    connect(chart, &Chart::titleChanged, this, &Document::markChanged);
    connect(chart, &Chart::currentPos, this, &Document::currentPos);
    // Only the chart on show speaks to the status bar.
    connect(chart, &Chart::statusChanged, this, [this, chart] {
        if (chart == curChart())
            announcePageStatus();
    });
    connect(this, &Document::curColorChanged, chart, &Chart::setCurColor);
    connect(chart, &Chart::curColorChanged, this, &Document::changeCurColor);
    connect(this, &Document::updateChartStitches, chart, &Chart::updateKeyWords);
    connect(chart, &Chart::chartModified, this, &Document::markChanged);
    connect(this, &Document::settingsChanged, chart, &Chart::settingsUpdateChart);
    connect(chart, &Chart::titleChanged, this, &Document::patternChanged);
    const ChartGrid *grid = chart->grid();
    for (auto signal : {&ChartGrid::repeatsChanged, &ChartGrid::optionsChanged, &ChartGrid::shapingRowsChanged})
        connect(grid, signal, this, &Document::patternChanged);
    connect(grid, &ChartGrid::cellsChanged, this, &Document::patternChanged);
    connect(grid, &ChartGrid::rowsInserted, this, &Document::patternChanged);
    connect(grid, &ChartGrid::rowsRemoved, this, &Document::patternChanged);
    connect(grid, &ChartGrid::columnsInserted, this, &Document::patternChanged);
    connect(grid, &ChartGrid::columnsRemoved, this, &Document::patternChanged);
}

void Document::setGauge(const Gauge &gauge)
{
    if (gauge == m_gauge)
        return;
    m_gauge = gauge;
    markChanged();
    Q_EMIT patternChanged();
}

void Document::setDismissedFindings(const QStringList &dismissed)
{
    if (dismissed == m_dismissed)
        return;
    m_dismissed = dismissed;
    markChanged();
    Q_EMIT dismissedFindingsChanged();
}

void Document::setColourName(const QColor &colour, const QString &name)
{
    if (!colour.isValid())
        return;
    const QString kept = ColourNames::cleaned(name);
    if (kept == m_colourNames.value(colour.rgba()))
        return;
    if (kept.isEmpty())
        m_colourNames.remove(colour.rgba());
    else
        m_colourNames.insert(colour.rgba(), kept);
    markChanged();
    renameColours();
    // The key's picture on the page on show follows at once; other pages
    // when they are shown.
    if (curDirections())
        updateDirImage();
}

ColourNames::Tally Document::colorTally() const
{
    ColourNames::Tally tally;
    for (int i = 0; i < colorsUsed.size() && i < colorCounts.size(); ++i)
        tally.append({colorsUsed.at(i), colorCounts.at(i)});
    return tally;
}

void Document::renameColours()
{
    QList<ColourNames::Named> named = ColourNames::name(colorTally(), m_colourNames);
    if (named == m_namedColours)
        return;
    m_namedColours = std::move(named);
    Q_EMIT colourNamesChanged();
}

void Document::dirConnections(Directions *page)
{
    connect(page, &Directions::textChanged, this, &Document::docClean);
    connect(page, &Directions::textChanged, this, &Document::patternChanged);
    connect(page, &Directions::getChartImage, this, &Document::getChartImage);
    connect(this, &Document::chartImage, page, &Directions::insertChartImage);
    connect(this, &Document::chartInstructions, page, &Directions::insertInstructions);
}

void Document::closeEvent(QCloseEvent *event)
{
    if (!modified) {
        Q_EMIT docClosed(false);
        event->accept();
        return;
    }
    QMessageBox box(QMessageBox::Question, tr("Save Changes?"),
                    tr("Changes to %1 have not been saved. Would you like to save the changes?").arg(m_fileName),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    switch (box.exec()) {
    case QMessageBox::Save:
        Q_EMIT saveMe();
        // A save that did not happen (a cancelled file dialog, a file that
        // cannot be written) must not lose the work.
        if (modified) {
            event->ignore();
            return;
        }
        Q_EMIT docClosed(false);
        break;
    case QMessageBox::Discard:
        Q_EMIT docClosed(true);
        break;
    case QMessageBox::Cancel:
        event->ignore();
        return;
    default:
        Q_EMIT docClosed(false);
        break;
    }
    event->accept();
}
