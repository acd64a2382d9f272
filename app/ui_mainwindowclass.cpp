#include "ui_mainwindowclass.h"

#include "patterncheckpanel.h"

#include <QAction>
#include <QCoreApplication>
#include <QDockWidget>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QAction *newAction(QMainWindow *window, const char *name, const char *icon = nullptr, bool checkable = false,
                   bool checked = false)
{
    auto *action = new QAction(window);
    action->setObjectName(QString::fromLatin1(name));
    if (icon)
        action->setIcon(QIcon(QString::fromLatin1(icon)));
    action->setCheckable(checkable);
    action->setChecked(checked);
    return action;
}

QMenu *newMenu(QMenuBar *bar, const char *name)
{
    auto *menu = new QMenu(bar);
    menu->setObjectName(QString::fromLatin1(name));
    bar->addMenu(menu);
    return menu;
}

QDockWidget *newDock(QMainWindow *window, const char *name, Qt::DockWidgetArea area, QWidget *content)
{
    auto *dock = new QDockWidget(window);
    dock->setObjectName(QString::fromLatin1(name));
    dock->setWidget(content);
    window->addDockWidget(area, dock);
    return dock;
}

} // namespace

void Ui_MainWindowClass::setupUi(QMainWindow *window)
{
    window->setObjectName(QStringLiteral("MainWindowClass"));
    window->setWindowIcon(QIcon(QStringLiteral(":/images/icon.png")));
    window->resize(1200, 800);

    actionAbout = newAction(window, "actionAbout");
    actionDocumentation = newAction(window, "actionDocumentation");
    actionOpenSample = newAction(window, "actionOpenSample");
    actionOpen = newAction(window, "actionOpen", ":/images/fileopen.png");
    actionNew = newAction(window, "actionNew", ":/images/filenew.png");
    actionSave_As = newAction(window, "actionSave_As");
    actionClose = newAction(window, "actionClose", ":/images/close.svg");
    actionClose_All = newAction(window, "actionClose_All");
    actionQuit = newAction(window, "actionQuit");
    actionSave = newAction(window, "actionSave", ":/images/filesave.png");
    actionUndo = newAction(window, "actionUndo", ":/images/editundo.png");
    actionRedo = newAction(window, "actionRedo", ":/images/editredo.png");
    actionCopy = newAction(window, "actionCopy", ":/images/editcopy.png");
    actionCut = newAction(window, "actionCut", ":/images/editcut.png");
    actionPaste = newAction(window, "actionPaste", ":/images/editpaste.png");
    actionOptions = newAction(window, "actionOptions");
    actionPrint = newAction(window, "actionPrint", ":/images/fileprint.png");
    actionShow_Stitch_Palette = newAction(window, "actionShow_Stitch_Palette", nullptr, true, true);
    actionShowStitchesUsed = newAction(window, "actionShowStitchesUsed", nullptr, true, true);
    actionAdd_Chart = newAction(window, "actionAdd_Chart");
    actionAddWrittenChart = newAction(window, "actionAddWrittenChart");
    actionRemove_Chart = newAction(window, "actionRemove_Chart");
    actionShow_Undo_History = newAction(window, "actionShow_Undo_History", nullptr, true, false);
    actionExport_PDF = newAction(window, "actionExport_PDF", ":/images/exportpdf.png");
    actionCheckForUpdates = newAction(window, "actionCheckForUpdates");
    actionShowColorsUsed = newAction(window, "actionShowColorsUsed", nullptr, true, true);
    actionShowChartInstructions = newAction(window, "actionShowChartInstructions", nullptr, true, true);
    actionFullScreen = newAction(window, "actionFullScreen", nullptr, true, false);
    actionStitchLibrary = newAction(window, "actionStitchLibrary");
    actionExportDocKey = newAction(window, "actionExportDocKey");
    actionShowPatternCheck = newAction(window, "actionShowPatternCheck", nullptr, true, true);
    actionDocumentProperties = newAction(window, "actionDocumentProperties");

    centralWidget = new QWidget(window);
    centralWidget->setObjectName(QStringLiteral("centralWidget"));
    auto *layout = new QVBoxLayout(centralWidget);
    layout->setContentsMargins(0, 0, 0, 0);
    mdiArea = new QMdiArea(centralWidget);
    mdiArea->setObjectName(QStringLiteral("mdiArea"));
    layout->addWidget(mdiArea);
    window->setCentralWidget(centralWidget);

    menuBar = new QMenuBar(window);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    window->setMenuBar(menuBar);
    menuFile = newMenu(menuBar, "menuFile");
    menuEdit = newMenu(menuBar, "menuEdit");
    menuView = newMenu(menuBar, "menuView");
    menuDocument = newMenu(menuBar, "menuDocument");
    menuTabMenu = newMenu(menuBar, "menuTabMenu");
    menuTools = newMenu(menuBar, "menuTools");
    menuWindow = newMenu(menuBar, "menuWindow");
    menuHelp = newMenu(menuBar, "menuHelp");

    menuFile->addActions({actionNew, actionOpen, actionSave, actionSave_As});
    menuFile->addSeparator();
    menuFile->addActions({actionPrint, actionExport_PDF});
    menuFile->addSeparator();
    menuFile->addActions({actionClose, actionClose_All});
    menuFile->addSeparator();
    menuFile->addAction(actionQuit);
    menuEdit->addActions({actionUndo, actionRedo});
    menuEdit->addSeparator();
    menuEdit->addActions({actionCopy, actionCut, actionPaste});
    menuView->addActions({actionShow_Stitch_Palette, actionShowStitchesUsed, actionShowColorsUsed,
                          actionShowChartInstructions, actionShow_Undo_History});
    menuView->addAction(actionShowPatternCheck);
    menuView->addSeparator();
    menuView->addAction(actionFullScreen);
    menuDocument->addActions({actionAdd_Chart, actionAddWrittenChart, actionRemove_Chart});
    menuDocument->addSeparator();
    menuDocument->addAction(actionExportDocKey);
    menuDocument->addSeparator();
    menuDocument->addAction(actionDocumentProperties);
    menuTools->addActions({actionStitchLibrary, actionCheckForUpdates, actionOptions});
    menuHelp->addActions({actionDocumentation, actionOpenSample});
    menuHelp->addSeparator();
    menuHelp->addAction(actionAbout);

    defaultToolbar = new QToolBar(window);
    defaultToolbar->setObjectName(QStringLiteral("defaultToolbar"));
    window->addToolBar(Qt::TopToolBarArea, defaultToolbar);
    defaultToolbar->addActions({actionNew, actionOpen, actionSave});
    defaultToolbar->addSeparator();
    defaultToolbar->addActions({actionPrint, actionExport_PDF});
    defaultToolbar->addSeparator();
    defaultToolbar->addActions({actionUndo, actionRedo});
    defaultToolbar->addSeparator();
    defaultToolbar->addActions({actionCut, actionCopy, actionPaste});
    docTools = new QToolBar(window);
    docTools->setObjectName(QStringLiteral("docTools"));
    window->addToolBar(Qt::TopToolBarArea, docTools);

    statusBar = new QStatusBar(window);
    statusBar->setObjectName(QStringLiteral("statusBar"));
    window->setStatusBar(statusBar);

    stitchesUsed = new QListWidget;
    stitchesUsed->setObjectName(QStringLiteral("stitchesUsed"));
    chartInfo = newDock(window, "chartInfo", Qt::LeftDockWidgetArea, stitchesUsed);
    colorsUsed = new QListWidget;
    colorsUsed->setObjectName(QStringLiteral("colorsUsed"));
    colorDock = newDock(window, "colorDock", Qt::LeftDockWidgetArea, colorsUsed);
    stitchTree = new QTreeWidget;
    stitchTree->setObjectName(QStringLiteral("stitchTree"));
    stitchFilter = new QLineEdit;
    stitchFilter->setObjectName(QStringLiteral("stitchFilter"));
    stitchFilter->setClearButtonEnabled(true);
    auto *paletteContents = new QWidget;
    auto *paletteLayout = new QVBoxLayout(paletteContents);
    paletteLayout->setContentsMargins(0, 0, 0, 0);
    paletteLayout->setSpacing(2);
    paletteLayout->addWidget(stitchFilter);
    paletteLayout->addWidget(stitchTree);
    stitchPalette = newDock(window, "stitchPalette", Qt::LeftDockWidgetArea, paletteContents);
    undoDockContents = new QWidget;
    undoDockContents->setObjectName(QStringLiteral("undoDockContents"));
    undoDock = newDock(window, "undoDock", Qt::RightDockWidgetArea, undoDockContents);
    patternCheck = new PatternCheckPanel;
    checkDock = newDock(window, "checkDock", Qt::RightDockWidgetArea, patternCheck);

    retranslateUi(window);
}

void Ui_MainWindowClass::retranslateUi(QMainWindow *window)
{
    auto tr = [](const char *text) { return QCoreApplication::translate("MainWindowClass", text); };
    window->setWindowTitle(tr("Yarnwise"));

    struct ActionText
    {
        QAction *action;
        const char *text;
        const char *shortcut;
    };
    const ActionText texts[] = {
        {actionAbout, "About Yarnwise...", nullptr},
        {actionDocumentation, "Yarnwise Help", nullptr},
        {actionOpenSample, "Open Sample Pattern", nullptr},
        {actionOpen, "&Open...", "Ctrl+O"},
        {actionNew, "&New...", "Ctrl+N"},
        {actionSave_As, "Save &As...", "Ctrl+Shift+S"},
        {actionClose, "&Close", "Ctrl+W"},
        {actionClose_All, "Close All", "Ctrl+Shift+W"},
        {actionQuit, "Quit", "Ctrl+Q"},
        {actionSave, "&Save...", "Ctrl+S"},
        {actionUndo, "Undo", "Ctrl+Z"},
        {actionRedo, "Redo", "Ctrl+Y"},
        {actionCopy, "Copy", "Ctrl+C"},
        {actionCut, "Cut", "Ctrl+X"},
        {actionPaste, "Paste", "Ctrl+V"},
        {actionOptions, "&Options...", nullptr},
        {actionPrint, "&Print...", "Ctrl+P"},
        {actionShow_Stitch_Palette, "Show Stitch Palette", nullptr},
        {actionShowStitchesUsed, "Show Stitches Used", nullptr},
        {actionAdd_Chart, "Add Chart...", "Ctrl+Shift+A"},
        {actionAddWrittenChart, "New Chart from Written Instructions...", nullptr},
        {actionRemove_Chart, "Remove Chart...", nullptr},
        {actionShow_Undo_History, "Show Undo History", nullptr},
        {actionExport_PDF, "Export to PDF", "Ctrl+E"},
        {actionCheckForUpdates, "Check for &Updates...", nullptr},
        {actionShowColorsUsed, "Show Colors Used", nullptr},
        {actionShowChartInstructions, "Show Chart Instructions", nullptr},
        {actionFullScreen, "Full Screen", "F11"},
        {actionStitchLibrary, "Stitch Library...", nullptr},
        {actionExportDocKey, "Save Key as Image", "Ctrl+Shift+I"},
        {actionShowPatternCheck, "Show Pattern Check", nullptr},
        {actionDocumentProperties, "Properties...", nullptr},
    };
    for (const ActionText &entry : texts) {
        entry.action->setText(tr(entry.text));
        if (entry.shortcut)
            entry.action->setShortcut(QKeySequence(tr(entry.shortcut)));
    }
    actionExport_PDF->setToolTip(tr("Create a PDF of this document"));
    actionCheckForUpdates->setToolTip(tr("Check Online for Updates"));

    menuFile->setTitle(tr("&File"));
    menuEdit->setTitle(tr("&Edit"));
    menuView->setTitle(tr("&View"));
    menuDocument->setTitle(tr("&Document"));
    menuTabMenu->setTitle(tr("Chart"));
    menuTools->setTitle(tr("&Tools"));
    menuWindow->setTitle(tr("&Window"));
    menuHelp->setTitle(tr("&Help"));
    defaultToolbar->setWindowTitle(tr("Default Toolbar"));
    docTools->setWindowTitle(tr("Document Tools"));
    chartInfo->setWindowTitle(tr("Stitches Used"));
    colorDock->setWindowTitle(tr("Colors Used"));
    stitchPalette->setWindowTitle(tr("Stitch Palette"));
    undoDock->setWindowTitle(tr("Undo History"));
    checkDock->setWindowTitle(tr("Pattern Check"));
    stitchTree->setHeaderLabel(tr("Stitches"));
    stitchFilter->setPlaceholderText(tr("Filter stitches"));
}
