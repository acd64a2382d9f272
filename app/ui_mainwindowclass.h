#ifndef UI_MAINWINDOWCLASS_H
#define UI_MAINWINDOWCLASS_H

class QAction;
class PatternCheckPanel;
class QDockWidget;
class QLineEdit;
class QListWidget;
class QMainWindow;
class QMdiArea;
class QMenu;
class QMenuBar;
class QStatusBar;
class QToolBar;
class QTreeWidget;
class QWidget;

// The main window's form: every action, menu, tool bar and dock, built in
// code. The window wires them; the form only lays them out and names them.
class Ui_MainWindowClass
{
public:
    void setupUi(QMainWindow *window);
    void retranslateUi(QMainWindow *window);

    QAction *actionAbout;
    QAction *actionOpenSample;
    QAction *actionDocumentation;
    QAction *actionOpen;
    QAction *actionNew;
    QAction *actionSave_As;
    QAction *actionClose;
    QAction *actionClose_All;
    QAction *actionQuit;
    QAction *actionSave;
    QAction *actionUndo;
    QAction *actionRedo;
    QAction *actionCopy;
    QAction *actionCut;
    QAction *actionPaste;
    QAction *actionOptions;
    QAction *actionPrint;
    QAction *actionShow_Stitch_Palette;
    QAction *actionShowStitchesUsed;
    QAction *actionAdd_Chart;
    QAction *actionAddWrittenChart;
    QAction *actionRemove_Chart;
    QAction *actionShow_Undo_History;
    QAction *actionExport_PDF;
    QAction *actionCheckForUpdates;
    QAction *actionShowColorsUsed;
    QAction *actionShowChartInstructions;
    QAction *actionFullScreen;
    QAction *actionStitchLibrary;
    QAction *actionExportDocKey;
    QAction *actionShowPatternCheck;
    QAction *actionDocumentProperties;

    QWidget *centralWidget;
    QMdiArea *mdiArea;
    QMenuBar *menuBar;
    QMenu *menuFile;
    QMenu *menuEdit;
    QMenu *menuView;
    QMenu *menuDocument;
    QMenu *menuTabMenu;
    QMenu *menuTools;
    QMenu *menuWindow;
    QMenu *menuHelp;
    QToolBar *defaultToolbar;
    QToolBar *docTools;
    QStatusBar *statusBar;

    QDockWidget *chartInfo;
    QListWidget *stitchesUsed;
    QDockWidget *colorDock;
    QListWidget *colorsUsed;
    QDockWidget *stitchPalette;
    QTreeWidget *stitchTree;
    QLineEdit *stitchFilter;
    QDockWidget *undoDock;
    QDockWidget *checkDock;
    PatternCheckPanel *patternCheck;
    QWidget *undoDockContents;
};

#endif // UI_MAINWINDOWCLASS_H
