#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include "docvalues.h"
#include "session.h"

#include <QColor>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QToolBar>

#include <memory>

class Document;
class QDataStream;
class ExpHelper;
class QAction;
class QLabel;
class QListWidgetItem;
class QMdiSubWindow;
class QMenu;
class QPrinter;
class QTimer;
class QTreeWidgetItem;
class QUndoView;
#include "stitch.h"
class Ui_MainWindowClass;

// The program's one main window: the open documents as sub-windows, the
// menus and tool bars, the palettes and tallies in docks, and the status
// bar. Commands go to the current document.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Opens a pattern file; `fromTemporaryCopy` marks a restore after a
    // crash. Reports its own failures and says whether the file opened.
    bool openFile(const QString &path, bool fromTemporaryCopy);
    // Opens a pattern the designer chose (from the Open dialog, the recent
    // files or the command line): it joins the recent files and the
    // session. Warns first when another running copy has it open.
    bool openPattern(const QString &fileName);
    // Readies the run to be ended from outside without a word: copies of
    // unsaved work and the session stay for the next start. The caller
    // then leaves the event loop.
    void endSession();

    Document *currentDocument() const;
    QMdiSubWindow *currentSubWindow() const;
    QList<Document *> documents() const;
    Ui_MainWindowClass *form() const { return ui.get(); }
    Session *currentSession() const { return session; }

    QColor curColor = Qt::white;
    Stitch *curStitch = nullptr;

public Q_SLOTS:
    void newDoc();
    void openSamplePattern();
    // Opens the sample pattern when Yarnwise starts for the first time
    // and nothing else was opened.
    void showSampleOnFirstStart();
    void loadFile();
    bool save();
    bool saveAs();
    void print();
    void exportPdf();
    void closeDoc();
    void closeAllDoc();
    void undo();
    void redo();
    void cut();
    void copy();
    void paste();
    void documentProperties();
    void showStitchPalette(bool on);
    void showChartInformation(bool on);
    void showColorsUsed(bool on);
    void showUndoHistory(bool on);
    void showChartInstructions(bool on);
    void fullScreen(bool on);
    void addNewChart();
    void addWrittenChart();
    void removeChart();
    void exportDocKey();
    void openStitchLibrary();
    void checkForUpdates();
    void settingsGui();
    void helpDoc();
    void about();

    void setStitch(QListWidgetItem *stitchItem);
    void setStitch(const QString &stitch);
    void setColor(QListWidgetItem *item);
    void setColor(const QColor &color);
    void updateStitchList(const QList<Stitch *> &stitchList);
    void updateColorList(const QList<QColor> &colorList);
    // Shows under each colour of the list the name the key gives it.
    void updateColourNames();
    // Asks the designer for the name `colour` has in the key.
    void nameColour(const QColor &colour);
    void setCurrentPos(const QPointF &pos);
    void setPageStatus(const QString &mode, int zoom);
    void updateUndoStack();
    void updateStatusBarStitch(Stitch *stitch);
    void updateStatusBarColor(const QColor &color);
    void updateStitchPalette();
    void filterStitchPalette(const QString &text);
    void setCurrentStitch(Stitch *current);
    void showDocument();
    void updateWindowMenuItem(Document *doc, const QString &newName);
    void generateTabMenu(QMenu *menu);
    void generateToolBar(QToolBar *toolbar);
    void clearStatusBar();
    DocValues newDocPrompt(bool chartOnly);
    void addRecentFile(const QString &fileName);
    void generateRecentFilesList();
    void openRecentFile();
    void autoSave();
    bool savedState();
    void restoreSavedState();

Q_SIGNALS:
    void showChartInstructionsChanged(bool on);
    void updateUsedStitches();
    void settingsChanged();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private Q_SLOTS:
    void mdiChildChanged(QMdiSubWindow *subWindow);
    void updateViewMenu();
    void docCloseEvent(bool deleteTemp);

private:
    void menuSetup();
    void setupStitchList();
    void setupColourNaming();
    void setupUndoHistory();
    void docConnections(Document *doc);
    void postDocInitSetup(Document *doc);
    void addDocument(Document *doc);
    void addDocToWindowMenu(Document *doc);
    void redrawStitchPreview();
    void enableDocumentActions(bool on);
    void offerRecovery(const QList<Session::Entry> &crashed);
    bool recoverDocument(const QString &fileName, const QString &copy);
    // A placeholder name no open document and no session entry has.
    QString freePlaceholderName() const;
    QString freeName(const QString &base) const;
    void fillRecentStitches();
    void rememberRecentStitch(const QString &stitchId);
    void showSaveResult(Document *doc, bool written);
    // Writes the document to `fileName` whole or not at all.
    bool writeDocument(Document *doc, const QString &fileName);
    bool confirmOverwrite(Document *doc);
    QString startFolder() const;
    QStringList askPrintSelection(Document *doc, QPrinter *printer);

    std::unique_ptr<Ui_MainWindowClass> ui;
    QLabel *statusPos = nullptr;
    QLabel *statusStitch = nullptr;
    QLabel *statusZoom = nullptr;
    // The palette's "Recent" group; none while it is empty.
    QTreeWidgetItem *m_recentItem = nullptr;
    // How the current page is being edited.
    QLabel *statusText = nullptr;
    QTimer *autoSaveTimer = nullptr;
    Session *session = nullptr;
    QList<QAction *> recentFileActions;
    bool keepSession = false;
    bool autoSaving = false;
    bool m_updateCheckStarted = false;
    QUndoView *undoView = nullptr;
    ExpHelper *expHelper = nullptr;
    // Belongs to a tab, which may go first.
    QPointer<QToolBar> m_shownToolBar;
};

#endif // MAINWINDOW_H
