#ifndef DOCUMENT_H
#define DOCUMENT_H

#include "colournames.h"
#include "knitscene.h"
#include "patternfile.h"
#include "pagedocument.h"
#include "stitchkey.h"

#include <QByteArray>
#include <QColor>
#include <QDateTime>
#include <QList>
#include <QStringList>
#include <QWidget>

class Chart;
struct ChartValues;
class Directions;
class Page;
struct PatternValues;
class QCloseEvent;
class QImage;
class QMenu;
class QPainter;
class QPrinter;
class QTabWidget;
class QToolBar;
class QUndoGroup;
class QUndoStack;
#include "stitch.h"

// One open pattern: its Directions page and its charts as tabs. It passes
// the main window's editing commands to the current tab (Undo and Redo
// through one undo group of all its tabs' stacks), keeps the tallies of the
// stitches and colours in use, knows whether anything is unsaved (its
// window title carries the mark) and asks to save when it closes.
class Document : public QWidget
{
    Q_OBJECT

public:
    Document(int width, int height, const QString &fileName, const QString &chartName, const QString &defaultStitch,
             QWidget *parent = nullptr);
    // An empty document; the pattern file reader fills it.
    Document(QDataStream &in, QWidget *parent = nullptr);
    ~Document() override;

    Chart *curChart() const;
    Directions *curDirections() const;
    Page *curPage() const;
    QList<Page *> pages() const;
    int tabCount() const;
    QStringList chartList() const;
    QList<Chart *> charts() const;
    QList<Directions *> directions() const;
    QMenu *curMenu();
    QToolBar *curToolBar();
    QUndoStack *undoHistory();
    QUndoGroup *undoGroup() const { return m_undoGroup; }
    QTabWidget *tabWidget() const { return tabs; }

    QString fileName() const { return m_fileName; }
    void setFileName(const QString &fileName);
    bool isModified() const { return modified; }
    bool isSaved() const { return saved; }
    void setSaved(bool isSaved) { saved = isSaved; }
    // The pattern's file as it was when last read or written here, so that
    // a change by something else shows before it is overwritten.
    void rememberFileOnDisk();
    bool changedOnDisk() const;
    void setDocumentTitle();
    void refreshUi();
    void activated();
    void setPageSize(int size);
    // After a save: nothing is unsaved.
    void markSaved();

    // How the pattern's fabric knits up, for the pattern check's floats.
    const Gauge &gauge() const { return m_gauge; }
    void setGauge(const Gauge &gauge);
    // The pattern check's findings the designer dismissed, by their text;
    // kept with the pattern.
    const QStringList &dismissedFindings() const { return m_dismissed; }
    void setDismissedFindings(const QStringList &dismissed);
    // The names the designer gave yarn colours for the key, kept with the
    // pattern.
    const ColourNames::Given &colourNames() const { return m_colourNames; }
    // Names `colour` in the key (ColourNames::cleaned); an empty name takes
    // the designer's name back, so the colour has its default again.
    void setColourName(const QColor &colour, const QString &name);
    // Every colour in use with its name in the key, given or default.
    const QList<ColourNames::Named> &namedColours() const { return m_namedColours; }

    // The stitch key (legend) of the stitches in use.
    QRect paintKey(QPainter *painter) const;
    static QStringList textLines(const QString &text, int width);
    QImage generateKeyImage() const;
    bool generateKeySvg(const QString &fileName) const;
    // Writes the key as SVG or, by the suffix (".jpg" when none), a picture.
    bool saveKeyImage(QString fileName) const;

    // Prints the Directions ("[Document]"), the key ("[Key]") or the named
    // charts, one per page.
    void print(QPrinter *printer, const QStringList &selection);
    // The page set-up every print and PDF starts from.
    // A PDF names `title` as its title and Yarnwise as its creator.
    static void setupPrinter(QPrinter *printer, const QString &title = QString());
    // The pattern's title: the first line of its Directions page, else
    // its file's name.
    QString patternTitle() const;
    // A chart's picture, as large as fits `width` by `height` inches.
    QImage generateChart(Chart *chart, double width, double height);
    // Places at the Directions page's cursor the picture of a chart, as
    // large as fits `inches` and showing `cells` of it (null for all),
    // or the key's picture; both are kept up to date from then on.
    void placeChartPicture(Chart *chart, const QSizeF &inches, const QRect &cells = QRect());
    void placeKeyPicture();
    // Replaces the pictures of charts and the key that changed.
    void updateDirImage();

    // The pattern file, from the head on when saving and from the document
    // record on when loading.
    bool save(QDataStream &out);
    bool loadDocument(QDataStream &in);

    // Adds a chart tab already built (read from a file, say) and wires it.
    void addChart(Chart *chart);
    // A chart built elsewhere (from a written pattern, say) as a new tab.
    void addBuiltChart(ChartValues &&values);
    // Paragraphs at the end of the Directions page, under `heading`.
    void appendToDirections(const QString &heading, const QStringList &paragraphs);
    void addDirections(Directions *page, const QString &title);

    QColor curColor = Qt::white;
    Stitch *curStitch = nullptr;
    bool showWS = true;
    QByteArray docKeyHash;
    QList<Stitch *> stitchesUsed;
    QList<qint32> stitchCounts;
    QList<QColor> colorsUsed;
    QList<qint32> colorCounts;
    int pageSize = 0;
    QStringList loadErrors;

public Q_SLOTS:
    void undo();
    void redo();
    void cut();
    void copy();
    void paste();
    void addNewChart(int width, int height, const QString &name, const QString &defaultStitch);
    void removeChart();
    void setCurStitch(Stitch *stitch);
    void setCurColor(const QColor &color);
    void setCurChartCurStitch(Stitch *stitch);
    void setEditMode(KnitScene::Mode mode);
    void showChartInstructions(bool on);
    void updateChartTitle(const QString &title);
    void docClean();
    void setModified(bool isModified);
    // A change that is not an undo step (a title, a style, a removed chart).
    void markChanged();
    void updateStitchList(int x, int y, Stitch *stitch, Stitch *oldStitch);
    void updateColorList(int x, int y, const QColor &color, const QColor &oldColor);
    void updateStitchesUsed();
    void turnOffHighlight();
    void menuAboutToShow();
    void onTabChange();
    // Tells the status bar how the current page is being edited.
    void announcePageStatus();
    void getChartImage();
    void exportDocKey();

Q_SIGNALS:
    void curStitchChanged(Stitch *stitch);
    void curColorChanged(const QColor &color);
    void changeCurColor(const QColor &color);
    void currentPos(const QPointF &pos);
    // The current page's editing mode and zoom (0 where it has none).
    void pageStatus(const QString &mode, int zoom);
    void canUndoChanged(bool undo);
    void canRedoChanged(bool redo);
    void currentStitchesUsed(const QList<Stitch *> &stitchList);
    void currentColorsUsed(const QList<QColor> &colorList);
    void showChartInstructionsChanged(bool on);
    void chartImage(const QImage &image);
    void chartInstructions(const QString &text);
    void undoHistoryChanged();
    void saveMe();
    void docClosed(bool deleteTemp);
    void menu(QMenu *menu);
    void toolbar(QToolBar *toolbar);
    void updateChartStitches();
    void documentHasStitches();
    void settingsChanged();
    void hasCurrentStitch(Stitch *stitch);
    // Anything the pattern check reads changed: cells, rows, options,
    // boxes, titles, the Directions text, the charts themselves, the gauge.
    void patternChanged();
    void dismissedFindingsChanged();
    // A colour in use has another name in the key: the designer named it,
    // or its default moved with the colours' tally.
    void colourNamesChanged();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    StitchKey stitchKey() const;
    // The charts' and the key's pictures on the Directions page, drawn
    // anew for print.
    PictureArtworks pictureArtworks() const;
    void printKey(QPainter *painter, QPrinter *printer) const;
    void setupDocument();
    void build(PatternValues &&values);
    void chartConnect(Chart *chart);
    void addPageStack(Page *page);
    void dirConnections(Directions *page);
    void tallyCells(const Chart *chart, int sign);
    void showNewChart(Chart *chart);
    ColourNames::Tally colorTally() const;
    // Names the colours in use anew, announcing it when a name changed.
    void renameColours();

    QTabWidget *tabs = nullptr;
    QString m_fileName;
    bool modified = false;
    bool saved = false;
    QDateTime m_diskTime;
    qint64 m_diskSize = -1;
    bool m_otherChanges = false;
    // Menus and tool bars handed out when the current tab has none.
    QMenu *m_emptyMenu = nullptr;
    QToolBar *m_emptyToolBar = nullptr;
    QUndoStack *m_emptyHistory = nullptr;
    QUndoGroup *m_undoGroup = nullptr;
    Gauge m_gauge;
    QStringList m_dismissed;
    ColourNames::Given m_colourNames;
    QList<ColourNames::Named> m_namedColours;
};

#endif // DOCUMENT_H
