#include "mainwindow.h"

#include "applicationupdate.h"
#include "chart.h"
#include "chartgrid.h"
#include "chartrecord.h"
#include "document.h"
#include "documentpropertiesdialog.h"
#include "exphelper.h"
#include "newchartdialog.h"
#include "patterncheckpanel.h"
#include "pdfdialog.h"
#include "preferences.h"
#include "printdialog.h"
#include "samplepattern.h"
#include "settingsui.h"
#include "stitch.h"
#include "stitchitemdelegate.h"
#include "stitchlibrary.h"
#include "stitchset.h"
#include "ui_mainwindowclass.h"
#include "usedcolordelegate.h"
#include "version.h"
#include "writtenpatterndialog.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUndoGroup>
#include <QTreeWidget>
#include <QUndoStack>
#include <QUndoView>
#include <QUrl>
#include <QVBoxLayout>

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui_MainWindowClass>())
{
    ui->setupUi(this);
    ui->actionUndo->setShortcut(QKeySequence::Undo);
    // Ctrl+Y as well as the platform's own key (Ctrl+Shift+Z here).
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    if (!redoKeys.contains(QKeySequence(tr("Ctrl+Y"))))
        redoKeys.append(QKeySequence(tr("Ctrl+Y")));
    ui->actionRedo->setShortcuts(redoKeys);
    ui->undoDock->hide();
    restoreState(Preferences::windowState.value());
    setWindowState(Qt::WindowMaximized);
    menuSetup();
    connect(ui->stitchesUsed, &QListWidget::itemClicked, this, qOverload<QListWidgetItem *>(&MainWindow::setStitch));
    connect(ui->colorsUsed, &QListWidget::itemClicked, this, qOverload<QListWidgetItem *>(&MainWindow::setColor));
    autoSaveTimer = new QTimer(this);
    connect(autoSaveTimer, &QTimer::timeout, this, &MainWindow::autoSave);
    autoSaveTimer->start(Preferences::autoSaveMinutes.value() * 60000);
    session = new Session(this);
    connect(ui->menuFile, &QMenu::aboutToShow, this, &MainWindow::generateRecentFilesList);
    if (savedState())
        QTimer::singleShot(1000, this, &MainWindow::restoreSavedState);

    setupStitchList();
    ui->stitchTree->setItemDelegate(new StitchItemDelegate(ui->stitchTree));
    expHelper = new ExpHelper(ui->stitchTree);
    connect(ui->stitchFilter, &QLineEdit::textChanged, this, &MainWindow::filterStitchPalette);
    connect(expHelper, &ExpHelper::itemClicked, this, qOverload<const QString &>(&MainWindow::setStitch));
    ui->colorsUsed->setItemDelegate(new UsedColorDelegate(ui->colorsUsed));
    ui->colorsUsed->setViewMode(QListView::IconMode);
    ui->colorsUsed->setResizeMode(QListView::Adjust);
    ui->colorsUsed->setMovement(QListView::Static);
    setupColourNaming();
    ui->stitchesUsed->setIconSize(QSize(24, 24));

    statusPos = new QLabel(tr("Row: 0, Stitch: 0"));
    statusStitch = new QLabel;
    statusZoom = new QLabel;
    statusText = new QLabel;
    statusBar()->addPermanentWidget(statusPos);
    statusBar()->addPermanentWidget(statusStitch);
    statusBar()->addPermanentWidget(statusZoom);
    statusBar()->addPermanentWidget(statusText);
    curColor = Qt::white;
    setupUndoHistory();
    ui->docTools->clear();
    ui->docTools->hide();
    ui->menuTabMenu->menuAction()->setVisible(false);
}

MainWindow::~MainWindow()
{
    // Closing the window's children below QMainWindow's destructor still
    // emits their signals (the area announces a new active subwindow as
    // each one goes); by then this is no longer a MainWindow to call.
    const QList<QObject *> children = findChildren<QObject *>();
    for (QObject *child : children)
        disconnect(child, nullptr, this, nullptr);
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // The quiet update check starts once the window is up, and only once.
    if (!m_updateCheckStarted && Preferences::checkForUpdates.value()) {
        m_updateCheckStarted = true;
        new ApplicationUpdate(true, this);
    }
}

void MainWindow::menuSetup()
{
    connect(ui->actionNew, &QAction::triggered, this, &MainWindow::newDoc);
    connect(ui->actionOpen, &QAction::triggered, this, &MainWindow::loadFile);
    connect(ui->actionSave, &QAction::triggered, this, &MainWindow::save);
    connect(ui->actionSave_As, &QAction::triggered, this, &MainWindow::saveAs);
    connect(ui->actionPrint, &QAction::triggered, this, &MainWindow::print);
    connect(ui->actionExport_PDF, &QAction::triggered, this, &MainWindow::exportPdf);
    connect(ui->actionClose, &QAction::triggered, this, &MainWindow::closeDoc);
    connect(ui->actionClose_All, &QAction::triggered, this, &MainWindow::closeAllDoc);
    connect(ui->actionQuit, &QAction::triggered, this, &QWidget::close);
    connect(ui->actionUndo, &QAction::triggered, this, &MainWindow::undo);
    connect(ui->actionRedo, &QAction::triggered, this, &MainWindow::redo);
    connect(ui->actionCut, &QAction::triggered, this, &MainWindow::cut);
    connect(ui->actionCopy, &QAction::triggered, this, &MainWindow::copy);
    connect(ui->actionPaste, &QAction::triggered, this, &MainWindow::paste);
    connect(ui->actionShow_Stitch_Palette, &QAction::toggled, this, &MainWindow::showStitchPalette);
    connect(ui->actionShowStitchesUsed, &QAction::toggled, this, &MainWindow::showChartInformation);
    connect(ui->actionShowColorsUsed, &QAction::toggled, this, &MainWindow::showColorsUsed);
    connect(ui->actionShow_Undo_History, &QAction::toggled, this, &MainWindow::showUndoHistory);
    connect(ui->actionShowChartInstructions, &QAction::toggled, this, &MainWindow::showChartInstructions);
    connect(ui->actionFullScreen, &QAction::toggled, this, &MainWindow::fullScreen);
    connect(ui->actionAdd_Chart, &QAction::triggered, this, &MainWindow::addNewChart);
    connect(ui->actionAddWrittenChart, &QAction::triggered, this, &MainWindow::addWrittenChart);
    connect(ui->actionRemove_Chart, &QAction::triggered, this, &MainWindow::removeChart);
    connect(ui->actionExportDocKey, &QAction::triggered, this, &MainWindow::exportDocKey);
    connect(ui->actionStitchLibrary, &QAction::triggered, this, &MainWindow::openStitchLibrary);
    connect(ui->actionCheckForUpdates, &QAction::triggered, this, &MainWindow::checkForUpdates);
    connect(ui->actionOptions, &QAction::triggered, this, &MainWindow::settingsGui);
    connect(ui->actionDocumentation, &QAction::triggered, this, &MainWindow::helpDoc);
    connect(ui->actionAbout, &QAction::triggered, this, &MainWindow::about);
    connect(ui->actionOpenSample, &QAction::triggered, this, &MainWindow::openSamplePattern);
    connect(ui->actionShowPatternCheck, &QAction::toggled, ui->checkDock, &QDockWidget::setVisible);
    connect(ui->actionDocumentProperties, &QAction::triggered, this, &MainWindow::documentProperties);
    connect(ui->menuView, &QMenu::aboutToShow, this, &MainWindow::updateViewMenu);
    connect(ui->mdiArea, &QMdiArea::subWindowActivated, this, &MainWindow::mdiChildChanged);
    for (QAction *action : {ui->actionUndo, ui->actionRedo})
        action->setEnabled(false);
    enableDocumentActions(false);
}

void MainWindow::enableDocumentActions(bool on)
{
    for (QAction *action : {ui->actionSave, ui->actionSave_As, ui->actionClose, ui->actionClose_All, ui->actionPrint,
                            ui->actionExport_PDF, ui->actionAdd_Chart, ui->actionAddWrittenChart,
                            ui->actionRemove_Chart, ui->actionDocumentProperties,
                            ui->actionExportDocKey, ui->actionCut, ui->actionCopy, ui->actionPaste})
        action->setEnabled(on);
}

void MainWindow::setupUndoHistory()
{
    auto *layout = new QVBoxLayout(ui->undoDockContents);
    layout->setContentsMargins(0, 0, 0, 0);
    undoView = new QUndoView(ui->undoDockContents);
    layout->addWidget(undoView);
}

// The document being worked on, also while a dock or dialog has the focus.
QMdiSubWindow *MainWindow::currentSubWindow() const
{
    if (QMdiSubWindow *window = ui->mdiArea->currentSubWindow())
        return window;
    const QList<QMdiSubWindow *> windows = ui->mdiArea->subWindowList(QMdiArea::ActivationHistoryOrder);
    return windows.isEmpty() ? nullptr : windows.last();
}

Document *MainWindow::currentDocument() const
{
    QMdiSubWindow *window = currentSubWindow();
    return window ? qobject_cast<Document *>(window->widget()) : nullptr;
}

QList<Document *> MainWindow::documents() const
{
    QList<Document *> list;
    for (QMdiSubWindow *window : ui->mdiArea->subWindowList()) {
        if (auto *doc = qobject_cast<Document *>(window->widget()))
            list.append(doc);
    }
    return list;
}

DocValues MainWindow::newDocPrompt(bool chartOnly)
{
    QString title = QStringLiteral("Chart");
    if (chartOnly) {
        const int tabs = currentDocument() ? currentDocument()->tabCount() : 0;
        title = QStringLiteral("Chart%1").arg(tabs > 0 ? QString::number(tabs) : QString());
    }
    NewChartDialog dialog(chartOnly, title, this);
    dialog.exec();
    return dialog.values();
}

void MainWindow::newDoc()
{
    const DocValues values = newDocPrompt(false);
    if (values.width == 0)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QString name = freePlaceholderName();
    auto *doc = new Document(values.width, values.height, name, values.title, values.defaultStitch, this);
    addDocument(doc);
    QString stitchId = Preferences::defaultStitch.value();
    if (stitchId.isEmpty())
        stitchId = QStringLiteral("k");
    setStitch(stitchId);
    QApplication::restoreOverrideCursor();
}

QString MainWindow::freePlaceholderName() const
{
    return freeName(QStringLiteral("unknown"));
}

// `base`.kit, or `base`N.kit with the first N no open or recovered
// pattern has.
QString MainWindow::freeName(const QString &base) const
{
    QStringList taken;
    for (const Document *doc : documents())
        taken.append(doc->fileName());
    for (int n = 0;; ++n) {
        const QString name = base + (n > 0 ? QString::number(n) : QString()) + QStringLiteral(".kit");
        if (!taken.contains(name) && !session->contains(name))
            return name;
    }
}

// A finished pattern to look at: its charts, its written rows and its
// Directions page. It is a new pattern: saving asks for a name.
void MainWindow::openSamplePattern()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Document *doc = SamplePattern::create(this).release();
    doc->setFileName(freeName(QStringLiteral("harbour-cowl")));
    // Drawing the sample is no history of the designer's to undo; it opens
    // on its first chart.
    for (Page *page : doc->pages())
        page->undoStack()->clear();
    doc->tabWidget()->setCurrentIndex(1);
    addDocument(doc);
    doc->markSaved();
    QApplication::restoreOverrideCursor();
}

// On the very first start the window is not left empty: the sample shows
// what a pattern looks like.
void MainWindow::showSampleOnFirstStart()
{
    if (Preferences::sampleShown.value())
        return;
    Preferences::sampleShown.set(true);
    if (documents().isEmpty())
        openSamplePattern();
}

void MainWindow::addDocument(Document *doc)
{
    QMdiSubWindow *window = ui->mdiArea->addSubWindow(doc);
    window->setWindowIcon(QIcon(QStringLiteral(":/images/icon.png")));
    window->showMaximized();
    docConnections(doc);
    postDocInitSetup(doc);
    mdiChildChanged(window);
}

void MainWindow::docConnections(Document *doc)
{
    connect(doc, &Document::canRedoChanged, ui->actionRedo, &QAction::setEnabled);
    connect(doc, &Document::canUndoChanged, ui->actionUndo, &QAction::setEnabled);
    connect(doc, &Document::undoHistoryChanged, this, &MainWindow::updateUndoStack);
    connect(doc, &Document::saveMe, this, &MainWindow::save);
    connect(doc, &Document::currentStitchesUsed, this, &MainWindow::updateStitchList);
    connect(doc, &Document::currentColorsUsed, this, &MainWindow::updateColorList);
    connect(doc, &Document::colourNamesChanged, this, &MainWindow::updateColourNames);
    doc->refreshUi();
    connect(doc, &Document::docClosed, this, &MainWindow::docCloseEvent);
    connect(doc, &Document::menu, this, &MainWindow::generateTabMenu);
    connect(doc, &Document::toolbar, this, &MainWindow::generateToolBar);
    connect(doc, &Document::curStitchChanged, this, &MainWindow::updateStatusBarStitch);
    connect(doc, &Document::curColorChanged, this, &MainWindow::updateStatusBarColor);
    connect(doc, &Document::changeCurColor, this, &MainWindow::updateStatusBarColor);
    connect(ui->menuTabMenu, &QMenu::aboutToShow, doc, &Document::menuAboutToShow);
    connect(this, &MainWindow::showChartInstructionsChanged, doc, &Document::showChartInstructions);
    connect(this, &MainWindow::updateUsedStitches, doc, &Document::updateStitchesUsed);
    connect(this, &MainWindow::updateUsedStitches, doc, &Document::updateChartStitches);
    connect(this, &MainWindow::settingsChanged, doc, &Document::settingsChanged);
    connect(doc, &Document::currentPos, this, &MainWindow::setCurrentPos);
    connect(doc, &Document::pageStatus, this, &MainWindow::setPageStatus);
    connect(doc, &Document::documentHasStitches, this, &MainWindow::updateStitchPalette);
    connect(doc, &Document::hasCurrentStitch, this, &MainWindow::setCurrentStitch);
}

void MainWindow::postDocInitSetup(Document *doc)
{
    generateTabMenu(doc->curMenu());
    generateToolBar(doc->curToolBar());
    addDocToWindowMenu(doc);
}

void MainWindow::addDocToWindowMenu(Document *doc)
{
    QAction *action = ui->menuWindow->addAction(doc->fileName());
    action->setData(doc->fileName());
    connect(action, &QAction::triggered, this, &MainWindow::showDocument);
}

void MainWindow::showDocument()
{
    const auto *action = qobject_cast<QAction *>(sender());
    if (!action)
        return;
    for (QMdiSubWindow *window : ui->mdiArea->subWindowList()) {
        const auto *doc = qobject_cast<Document *>(window->widget());
        if (doc && doc->fileName() == action->data().toString()) {
            ui->mdiArea->setActiveSubWindow(window);
            return;
        }
    }
}

void MainWindow::updateWindowMenuItem(Document *doc, const QString &newName)
{
    for (QAction *action : ui->menuWindow->actions()) {
        if (action->text() == doc->fileName()) {
            action->setText(newName);
            action->setData(newName);
        }
    }
}

void MainWindow::mdiChildChanged(QMdiSubWindow *subWindow)
{
    if (!subWindow) {
        // Focus may move to a dock; only the last window closing counts.
        if (ui->mdiArea->subWindowList().isEmpty()) {
            enableDocumentActions(false);
            ui->actionUndo->setEnabled(false);
            ui->actionRedo->setEnabled(false);
            generateTabMenu(nullptr);
            generateToolBar(nullptr);
            updateStitchList({});
            updateColorList({});
            setPageStatus(QString(), 0);
            updateUndoStack();
            ui->patternCheck->setDocument(nullptr);
        }
        return;
    }
    auto *doc = qobject_cast<Document *>(subWindow->widget());
    if (!doc)
        return;
    ui->patternCheck->setDocument(doc);
    enableDocumentActions(true);
    doc->activated();
    doc->refreshUi();
    updateUndoStack();
    generateTabMenu(doc->curMenu());
    generateToolBar(doc->curToolBar());
}

void MainWindow::generateTabMenu(QMenu *menu)
{
    if (!menu || !currentDocument()) {
        ui->menuTabMenu->menuAction()->setVisible(false);
        return;
    }
    ui->menuTabMenu->clear();
    ui->menuTabMenu->setTitle(menu->title());
    ui->menuTabMenu->addActions(menu->actions());
    ui->menuTabMenu->menuAction()->setVisible(!menu->actions().isEmpty());
}

void MainWindow::generateToolBar(QToolBar *toolbar)
{
    if (m_shownToolBar && m_shownToolBar != toolbar) {
        m_shownToolBar->hide();
        removeToolBar(m_shownToolBar);
    }
    m_shownToolBar = nullptr;
    if (!toolbar || !currentDocument() || toolbar->actions().isEmpty()) {
        ui->docTools->hide();
        return;
    }
    ui->docTools->hide();
    addToolBar(Qt::TopToolBarArea, toolbar);
    toolbar->show();
    m_shownToolBar = toolbar;
}

void MainWindow::updateViewMenu()
{
    ui->actionShow_Stitch_Palette->setChecked(ui->stitchPalette->isVisible());
    ui->actionShowStitchesUsed->setChecked(ui->chartInfo->isVisible());
    ui->actionShowColorsUsed->setChecked(ui->colorDock->isVisible());
    ui->actionShow_Undo_History->setChecked(ui->undoDock->isVisible());
    ui->actionShowPatternCheck->setChecked(ui->checkDock->isVisible());
    ui->actionFullScreen->setChecked(windowState() & Qt::WindowFullScreen);
    ui->actionShowChartInstructions->setChecked(
        Preferences::showChartInstructions.value());
}

void MainWindow::closeDoc()
{
    if (QMdiSubWindow *window = currentSubWindow())
        window->close();
}

void MainWindow::closeAllDoc()
{
    for (QMdiSubWindow *window : ui->mdiArea->subWindowList()) {
        if (!window->close())
            return;
    }
}

void MainWindow::undo()
{
    if (Document *doc = currentDocument())
        doc->undo();
}

void MainWindow::redo()
{
    if (Document *doc = currentDocument())
        doc->redo();
}

void MainWindow::cut()
{
    if (Document *doc = currentDocument())
        doc->cut();
}

void MainWindow::copy()
{
    if (Document *doc = currentDocument())
        doc->copy();
}

void MainWindow::paste()
{
    if (Document *doc = currentDocument())
        doc->paste();
}

// The pattern's gauge, which the pattern check measures floats by.
void MainWindow::documentProperties()
{
    Document *doc = currentDocument();
    if (!doc)
        return;
    DocumentPropertiesDialog dialog(doc->gauge(), this);
    if (dialog.exec() == QDialog::Accepted)
        doc->setGauge(dialog.gauge());
}

void MainWindow::showStitchPalette(bool on)
{
    ui->stitchPalette->setVisible(on);
}

void MainWindow::showChartInformation(bool on)
{
    ui->chartInfo->setVisible(on);
}

void MainWindow::showColorsUsed(bool on)
{
    ui->colorDock->setVisible(on);
}

void MainWindow::showUndoHistory(bool on)
{
    updateUndoStack();
    ui->undoDock->setVisible(on);
}

void MainWindow::showChartInstructions(bool on)
{
    if (on == Preferences::showChartInstructions.value())
        return;
    Preferences::showChartInstructions.set(on);
    Q_EMIT showChartInstructionsChanged(on);
}

void MainWindow::fullScreen(bool on)
{
    setWindowState(on ? Qt::WindowFullScreen : Qt::WindowMaximized);
}

void MainWindow::addNewChart()
{
    Document *doc = currentDocument();
    if (!doc)
        return;
    const DocValues values = newDocPrompt(true);
    if (values.width == 0)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    doc->addNewChart(values.width, values.height, values.title, values.defaultStitch);
    QApplication::restoreOverrideCursor();
}

// The chart is built only when the designer has seen what was not read;
// those lines go to the Directions page, so that nothing is lost.
void MainWindow::addWrittenChart()
{
    Document *doc = currentDocument();
    if (!doc)
        return;
    WrittenPatternDialog dialog(this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const WrittenPattern &pattern = dialog.pattern();
    if (!pattern.hasRows() || pattern.width <= 0)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ChartValues values;
    values.title = pattern.title.isEmpty() ? tr("Written Chart") : pattern.title;
    values.grid = pattern.chart(dialog.parser());
    ChartOptions options = values.grid->options();
    options.cellSize = QSize(Preferences::cellWidth.value(), Preferences::cellHeight.value());
    values.grid->setOptions(options);
    doc->addBuiltChart(std::move(values));
    doc->appendToDirections(tr("Not read from the written pattern of %1:").arg(pattern.title.isEmpty()
                                                                                    ? tr("the new chart")
                                                                                    : pattern.title),
                            pattern.problems + pattern.notes);
    QApplication::restoreOverrideCursor();
}

void MainWindow::removeChart()
{
    if (Document *doc = currentDocument())
        doc->removeChart();
}

void MainWindow::updateUndoStack()
{
    // The history of the current tab, whichever it is.
    Document *doc = currentDocument();
    undoView->setGroup(doc ? doc->undoGroup() : nullptr);
}

void MainWindow::setStitch(const QString &stitch)
{
    if (Document *doc = currentDocument())
        doc->setCurStitch(StitchSet::instance()->findStitch(stitch));
    ui->stitchesUsed->clearSelection();
    rememberRecentStitch(stitch);
}

void MainWindow::setStitch(QListWidgetItem *stitchItem)
{
    if (!stitchItem)
        return;
    if (Document *doc = currentDocument())
        doc->setCurStitch(StitchSet::instance()->findStitch(stitchItem->text()));
    ui->stitchTree->clearSelection();
}

void MainWindow::setCurrentStitch(Stitch *current)
{
    if (!current)
        return;
    const QList<QTreeWidgetItem *> items = ui->stitchTree->findItems(current->stitchID(),
                                                                     Qt::MatchExactly | Qt::MatchRecursive);
    if (!items.isEmpty())
        ui->stitchTree->setCurrentItem(items.first());
    setStitch(current->stitchID());
}

void MainWindow::setColor(QListWidgetItem *item)
{
    if (item)
        setColor(item->data(Qt::UserRole).value<QColor>());
}

void MainWindow::setColor(const QColor &color)
{
    if (Document *doc = currentDocument())
        doc->setCurColor(color);
}

void MainWindow::updateStitchList(const QList<Stitch *> &stitchList)
{
    QList<Stitch *> sorted = stitchList;
    std::sort(sorted.begin(), sorted.end(),
              [](const Stitch *a, const Stitch *b) { return a->stitchID() < b->stitchID(); });
    ui->stitchesUsed->clear();
    for (Stitch *stitch : std::as_const(sorted)) {
        if (stitch)
            new QListWidgetItem(StitchItemDelegate::cellIcon(stitch), stitch->stitchID(), ui->stitchesUsed);
    }
}

void MainWindow::updateColorList(const QList<QColor> &colorList)
{
    ui->colorsUsed->clear();
    for (const QColor &color : colorList) {
        auto *item = new QListWidgetItem(QString(), ui->colorsUsed);
        item->setData(Qt::UserRole, color);
        item->setToolTip(color.name());
    }
    updateColourNames();
}

void MainWindow::setCurrentPos(const QPointF &pos)
{
    statusPos->setText(tr("Row: %1, Stitch: %2").arg(pos.y(), 0, 'g').arg(pos.x(), 0, 'g'));
}

void MainWindow::setPageStatus(const QString &mode, int zoom)
{
    statusText->setText(mode);
    statusZoom->setText(zoom > 0 ? tr("Zoom: %1%").arg(zoom) : QString());
    statusZoom->setVisible(zoom > 0);
}

void MainWindow::updateStatusBarStitch(Stitch *stitch)
{
    curStitch = stitch;
    redrawStitchPreview();
}

void MainWindow::updateStatusBarColor(const QColor &color)
{
    curColor = color;
    redrawStitchPreview();
}

void MainWindow::redrawStitchPreview()
{
    QPixmap preview(16, 16);
    preview.fill(Qt::transparent);
    QPainter painter(&preview);
    painter.fillRect(QRect(QPoint(0, 0), QPoint(15, 15)), curColor);
    if (curStitch) {
        if (const QPixmap *image = curStitch->image(16, 16, 0))
            painter.drawPixmap(0, 0, *image);
    }
    painter.end();
    statusStitch->setPixmap(preview);
}

void MainWindow::clearStatusBar()
{
    statusBar()->clearMessage();
    QPalette palette = statusBar()->palette();
    palette.setColor(QPalette::Window, Qt::transparent);
    statusBar()->setPalette(palette);
}

// The manual sits next to the program in the build, and in the
// documentation folder of an installed copy.
void MainWindow::helpDoc()
{
    const QString manual = QStringLiteral("YarnwiseUserManual.pdf");
    const QDir programFolder(QCoreApplication::applicationDirPath());
    const QStringList candidates = {programFolder.filePath(manual),
                                    programFolder.filePath(QStringLiteral("../share/doc/yarnwise/") + manual)};
    for (const QString &path : candidates) {
        if (QFileInfo::exists(path)) {
            if (!QDesktopServices::openUrl(QUrl::fromLocalFile(QDir::cleanPath(path))))
                QMessageBox::warning(this, tr("Help Documentation"),
                                     tr("No program to show %1 was found.").arg(QDir::toNativeSeparators(path)));
            return;
        }
    }
    QMessageBox::information(this, tr("Missing Help File"),
                             tr("The help documentation file %1 is missing from the application folder.")
                                 .arg(manual),
                             QMessageBox::Ok);
}

void MainWindow::about()
{
    const QString text = QStringLiteral("<h2>%1</h2><p>%2</p><p><i>%3</i></p>")
                             .arg(QApplication::applicationName().isEmpty() ? QStringLiteral("Yarnwise")
                                                                            : QApplication::applicationName(),
                                  tr("Version %1").arg(Version::instance()->fullText()),
                                  tr("Pattern design software for the fiber artist."));
    QMessageBox::about(this, tr("About Yarnwise"), text);
}

// Printing, the stitch key, the library and the preferences are wired
// here; their work lives in the classes that own it.
// What to print: the Directions, the key or some charts. Empty when the
// choice was cancelled or no printer can be used.
QStringList MainWindow::askPrintSelection(Document *doc, QPrinter *printer)
{
    PrintDialog selection(doc->chartList(), this);
    if (selection.exec() != QDialog::Accepted)
        return {};
    if (!printer->isValid()) {
        qWarning("Invalid Printer");
        return {};
    }
    return selection.selected();
}

void MainWindow::print()
{
    Document *doc = currentDocument();
    if (!doc)
        return;
    QPrinter printer(QPrinter::HighResolution);
    Document::setupPrinter(&printer, doc->patternTitle());
    const QStringList selection = askPrintSelection(doc, &printer);
    if (selection.isEmpty())
        return;
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    doc->print(&printer, selection);
    QApplication::restoreOverrideCursor();
}

void MainWindow::exportPdf()
{
    Document *doc = currentDocument();
    if (!doc)
        return;
    QPrinter printer(QPrinter::HighResolution);
    Document::setupPrinter(&printer, doc->patternTitle());
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QStringList selection = askPrintSelection(doc, &printer);
    if (selection.isEmpty())
        return;
    PdfDialog dialog(&printer, this);
    dialog.setFileName(doc->fileName());
    if (dialog.exec() != QDialog::Accepted)
        return;
    printer.setOutputFileName(dialog.fileName());
    QApplication::setOverrideCursor(Qt::WaitCursor);
    doc->print(&printer, selection);
    QApplication::restoreOverrideCursor();

    if (printer.outputFormat() == QPrinter::PdfFormat
        && Preferences::openFolderAfterPdf.value()) {
        const QString folder = QFileInfo(dialog.fileName()).absolutePath();
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(folder)))
            qWarning("Unable to open PDF file");
    }
}

void MainWindow::exportDocKey()
{
    if (Document *doc = currentDocument())
        doc->exportDocKey();
}

void MainWindow::openStitchLibrary()
{
    // The pattern check reads the stitches the library changes.
    ui->patternCheck->finishCheck();
    StitchLibrary library(this);
    if (library.exec() != QDialog::Accepted)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    StitchSet *catalogue = StitchSet::instance();
    for (Stitch *edited : library.loadStitches()) {
        catalogue->findOrAdd(edited->stitchID())->updateStitch(edited);
        catalogue->addCategory(edited->category());
    }
    updateStitchPalette();
    Q_EMIT updateUsedStitches();
    library.saveLibrary();
    QApplication::restoreOverrideCursor();
}

void MainWindow::checkForUpdates()
{
    // The check deletes itself when it ends.
    (new ApplicationUpdate(false, this))->status();
}

void MainWindow::settingsGui()
{
    SettingsUi dialog(this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const int interval = Preferences::autoSaveMinutes.value() * 60000;
    if (interval != autoSaveTimer->interval())
        autoSaveTimer->setInterval(interval);
    Q_EMIT settingsChanged();
}
