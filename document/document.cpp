#include "document.h"

#include "chart.h"
#include "directions.h"
#include "stitch.h"
#include "stitchset.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QTabWidget>
#include <QToolBar>
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
    for (Chart *chart : charts()) {
        disconnect(chart, nullptr, this, nullptr);
        disconnect(chart->undoStack(), nullptr, this, nullptr);
    }
    for (Directions *page : directions())
        disconnect(page, nullptr, this, nullptr);
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
    showWS = true;
    m_emptyMenu = new QMenu(this);
    m_emptyToolBar = new QToolBar(this);
    m_emptyToolBar->hide();
    m_emptyHistory = new QUndoStack(this);
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
    if (Chart *chart = curChart())
        return chart->menu();
    if (Directions *page = curDirections())
        return page->menu();
    return m_emptyMenu;
}

QToolBar *Document::curToolBar()
{
    if (Chart *chart = curChart())
        return chart->toolBar();
    if (Directions *page = curDirections())
        return page->toolBar();
    return m_emptyToolBar;
}

QUndoStack *Document::undoHistory()
{
    if (Chart *chart = curChart())
        return chart->undoStack();
    return m_emptyHistory;
}

void Document::undo()
{
    if (Chart *chart = curChart())
        chart->undo();
    else if (Directions *page = curDirections())
        page->undo();
}

void Document::redo()
{
    if (Chart *chart = curChart())
        chart->redo();
    else if (Directions *page = curDirections())
        page->redo();
}

void Document::cut()
{
    if (Chart *chart = curChart())
        chart->cut();
    else if (Directions *page = curDirections())
        page->cut();
}

void Document::copy()
{
    if (Chart *chart = curChart())
        chart->copy();
    else if (Directions *page = curDirections())
        page->copy();
}

void Document::paste()
{
    if (Chart *chart = curChart())
        chart->paste();
    else if (Directions *page = curDirections())
        page->paste();
}

void Document::addDirections(Directions *page, const QString &title)
{
    dirConnections(page);
    tabs->addTab(page, QIcon(QStringLiteral(":/images/text.svg")), title);
}

void Document::addChart(Chart *chart)
{
    chart->setParent(this);
    tabs->addTab(chart, QIcon(QStringLiteral(":/images/grid.svg")), chart->chartTitle());
}

void Document::addNewChart(int width, int height, const QString &name, const QString &defaultStitch)
{
    auto *chart = new Chart(width, height, defaultStitch, this);
    chart->setTitle(name);
    chartConnect(chart);
    chartUndoConnect(chart);
    addChart(chart);
    if (curStitch)
        chart->setCurStitch(curStitch);
    chart->setCurColor(curColor);
    tabs->setCurrentWidget(chart);

    // The new cells, all of one stitch on white.
    tally(StitchSet::instance()->findStitch(defaultStitch), width * height);
    tally(QColor(Qt::white), width * height);
    markChanged();
}

void Document::tally(Stitch *stitch, int count)
{
    const int at = int(stitchesUsed.indexOf(stitch));
    if (at >= 0) {
        stitchCounts[at] += count;
        return;
    }
    stitchesUsed.append(stitch);
    stitchCounts.append(count);
    Q_EMIT currentStitchesUsed(stitchesUsed);
}

void Document::tally(const QColor &color, int count)
{
    const int at = int(colorsUsed.indexOf(color));
    if (at >= 0) {
        colorCounts[at] += count;
        return;
    }
    colorsUsed.append(color);
    colorCounts.append(count);
    Q_EMIT currentColorsUsed(colorsUsed);
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
    chart->removeChart();
    delete chart;
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
    for (Chart *chart : charts())
        clean = clean && chart->undoStack()->isClean();
    for (Directions *page : directions())
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
    for (Chart *chart : charts())
        chart->undoStack()->setClean();
    for (Directions *page : directions())
        page->setModified(false);
    setModified(false);
}

void Document::setModified(bool isModified)
{
    // Every cell change reports here; the title changes only with the state.
    if (isModified == modified)
        return;
    modified = isModified;
    setDocumentTitle();
}

void Document::setFileName(const QString &fileName)
{
    m_fileName = fileName;
    setDocumentTitle();
}

void Document::setDocumentTitle()
{
    const QString path = QDir::toNativeSeparators(m_fileName);
    setWindowTitle(modified ? tr("%1*").arg(path) : tr("%1").arg(path));
}

void Document::updateStitchList(int, int, Stitch *stitch, Stitch *oldStitch)
{
    bool changed = false;
    if (stitch) {
        const int at = int(stitchesUsed.indexOf(stitch));
        if (at >= 0) {
            ++stitchCounts[at];
        } else {
            stitchesUsed.append(stitch);
            stitchCounts.append(1);
            changed = true;
        }
    }
    if (oldStitch) {
        const int at = int(stitchesUsed.indexOf(oldStitch));
        if (at >= 0 && --stitchCounts[at] <= 0) {
            stitchesUsed.removeAt(at);
            stitchCounts.removeAt(at);
            changed = true;
        }
    }
    if (changed)
        Q_EMIT currentStitchesUsed(stitchesUsed);
}

void Document::updateColorList(int, int, const QColor &color, const QColor &oldColor)
{
    bool changed = false;
    if (color.isValid()) {
        const int at = int(colorsUsed.indexOf(color));
        if (at >= 0) {
            ++colorCounts[at];
        } else {
            colorsUsed.append(color);
            colorCounts.append(1);
            changed = true;
        }
    }
    if (oldColor.isValid()) {
        const int at = int(colorsUsed.indexOf(oldColor));
        if (at >= 0 && --colorCounts[at] <= 0) {
            colorsUsed.removeAt(at);
            colorCounts.removeAt(at);
            changed = true;
        }
    }
    if (changed)
        Q_EMIT currentColorsUsed(colorsUsed);
}

void Document::updateStitchesUsed()
{
    Q_EMIT currentStitchesUsed(stitchesUsed);
}

void Document::refreshUi()
{
    Q_EMIT currentStitchesUsed(stitchesUsed);
    Q_EMIT currentColorsUsed(colorsUsed);
}

void Document::activated()
{
    if (Chart *chart = curChart()) {
        Q_EMIT canRedoChanged(chart->undoStack()->canRedo());
        Q_EMIT canUndoChanged(chart->undoStack()->canUndo());
    } else if (Directions *page = curDirections()) {
        Q_EMIT canRedoChanged(page->isRedoAvailable());
        Q_EMIT canUndoChanged(page->isUndoAvailable());
    }
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
    if (Chart *chart = curChart()) {
        Q_EMIT canRedoChanged(chart->undoStack()->canRedo());
        Q_EMIT canUndoChanged(chart->undoStack()->canUndo());
        Q_EMIT menu(chart->menu());
        Q_EMIT toolbar(chart->toolBar());
        chart->clearSelection();
    } else if (Directions *page = curDirections()) {
        Q_EMIT canRedoChanged(page->isRedoAvailable());
        Q_EMIT canUndoChanged(page->isUndoAvailable());
        Q_EMIT menu(page->menu());
        Q_EMIT toolbar(page->toolBar());
        updateDirImage();
    }
    Q_EMIT undoHistoryChanged();
}

void Document::chartConnect(Chart *chart)
{
    connect(this, &Document::curStitchChanged, this, &Document::setCurChartCurStitch, Qt::UniqueConnection);
    connect(this, &Document::showChartInstructionsChanged, chart, &Chart::showChartInstructions);
    connect(chart, &Chart::stitchChanged, this, &Document::updateStitchList);
    connect(chart, &Chart::colorChanged, this, &Document::updateColorList);
    connect(chart, &Chart::titleChanged, this, &Document::updateChartTitle);
    connect(chart, &Chart::stitchChanged, this, &Document::docClean);
    connect(chart, &Chart::colorChanged, this, &Document::docClean);
    // Titles, styles and numbering are not undo steps; they count as
    // changes until the next save.
    connect(chart, &Chart::titleChanged, this, &Document::markChanged);
    connect(chart, &Chart::currentPos, this, &Document::currentPos);
    connect(this, &Document::curColorChanged, chart, &Chart::setCurColor);
    connect(chart, &Chart::curColorChanged, this, &Document::changeCurColor);
    connect(this, &Document::updateChartStitches, chart, &Chart::updateKeyWords);
    connect(chart, &Chart::chartModified, this, &Document::markChanged);
    connect(this, &Document::settingsChanged, chart, &Chart::settingsUpdateChart);
}

void Document::chartUndoConnect(Chart *chart)
{
    QUndoStack *stack = chart->undoStack();
    connect(stack, &QUndoStack::canUndoChanged, this, &Document::canUndoChanged);
    connect(stack, &QUndoStack::canRedoChanged, this, &Document::canRedoChanged);
    connect(stack, &QUndoStack::cleanChanged, this, &Document::docClean);
}

void Document::dirConnections(Directions *page)
{
    connect(page, &Directions::redoAvailable, this, &Document::canRedoChanged);
    connect(page, &Directions::undoAvailable, this, &Document::canUndoChanged);
    connect(page, &Directions::textChanged, this, &Document::docClean);
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
