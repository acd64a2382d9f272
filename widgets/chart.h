#ifndef CHART_H
#define CHART_H

#include "knitscene.h"
#include "page.h"

#include <QByteArray>
#include <QColor>
#include <QMainWindow>
#include <QPointer>
#include <QToolBar>
#include <QSize>

class ChartGrid;
struct ChartValues;
class KnitTextEdit;
class QAction;
class QActionGroup;
class QCheckBox;
class QComboBox;
class QDataStream;
class QGraphicsView;
class QMenu;
class QPagedPaintDevice;
class QPainter;
class QProgressDialog;
class QRadioButton;
class QSpinBox;
class QSplitter;
class QUndoStack;
class TextEngine;

// One chart tab of a pattern: its model drawn in a view with the options
// row above it (numbering starts, knitting style, side) and the written
// instructions below, plus the "&Chart" menu and the "Chart Tools" tool
// bar. The chart owns its model and its undo stack; user commands become
// edits of the model, which the view and the instructions follow.
class Chart : public QMainWindow, public Page
{
    Q_OBJECT

public:
    // The highest first stitch or row number a chart's numbering can have.
    static constexpr int largestNumberStart = ChartOptions::largestNumberStart;

    // A new chart filled with `defaultStitch` (the preference when empty),
    // with the preferred knitting style, side and cell size.
    Chart(int width, int height, const QString &defaultStitch, QWidget *parent = nullptr);
    // A chart read from a pattern file; it takes the values' model.
    explicit Chart(ChartValues &&values, QWidget *parent = nullptr);
    ~Chart() override;

    // The chart record of the pattern file (after "<Chart>").
    bool save(QDataStream &out) const;

    ChartGrid *grid() const { return m_grid; }
    QUndoStack *undoStack() const override { return m_undoStack; }
    bool isModified() const override;
    void markSaved() override;
    QString pageTitle() const override { return title; }
    // The view, the written instructions, the menu and the tool bar are
    // built when the chart is first shown or asked for: a pattern of many
    // charts opens with models only.
    KnitScene *knitScene() const;
    KnitTextEdit *instructions() const;
    QToolBar *toolBar() const override;
    QString chartTitle() const { return title; }
    void setTitle(const QString &newTitle);

    // Writes the chart as a picture; the suffix of the name chooses SVG or
    // a raster format.
    // `cells` of the chart (all of it when null).
    bool exportImage(const QString &fileName, const QSize &size, int resolution, const QRect &cells = QRect());
    // The part of the scene a picture shows.
    QRectF imageSourceRect() const;

    void setScale(int width, int height);
    void turnOffHighlight();
    void clearSelection();
    // Selects `cells` (grid units) and scrolls them into sight; an empty
    // rectangle clears the selection.
    void showCells(const QRect &cells);

    float scale = 1.0f;
    QByteArray hash;
    // The size in inches of the chart's picture on the Directions page.
    QSizeF imgSize = QSizeF(-1, -1);
    // The part the picture shows, as ChartPicture::keptPart counts it;
    // null for the whole chart.
    QRect imgPart;
    QColor dialogColor = Qt::white;
    QColor paintColor = Qt::white;
    QColor borderColor = Qt::black;

    // The chart as its picture on the Directions page shows it, drawn into
    // `target` as lines and shapes.
    void printPicture(QPainter *painter, const QRectF &target);
    // The chart on paper: on one page, or split over as many as it needs.
    int printPages(QPainter *painter, QPagedPaintDevice *device);

public Q_SLOTS:
    void print(QPainter *painter);
    void copy() override;
    void cut() override;
    void paste() override;
    void undo();
    void redo();
    QMenu *menu() const override;
    void insertRowAbove();
    void insertRowBelow();
    void insertColumnRight();
    void insertColumnLeft();
    void setBorderLeft();
    void setBorderRight();
    void setBorderTop();
    void setBorderBottom();
    void removeColumn();
    void removeRow();
    void setCurStitch(Stitch *stitch);
    int cellWidth() const;
    int cellHeight() const;
    int sceneWidthPx() const;
    int sceneHeightPx() const;
    QSize cellSize() const;
    void setCellSize(int width, int height);
    void setCurColor(const QColor &color);
    void setEditMode(KnitScene::Mode mode);
    void setMode(bool checked);
    void colorDialog();
    void setCellSizeDialog();
    void setChartTitle();
    void menuAboutToShow();
    void saveImage();
    void setKnitStyleFlat();
    void setKnitStyleRound();
    void setKnitStyleLace();
    void setSide(Side side);
    void setHash(const QByteArray &newHash) { hash = newHash; }
    void setImgSize(const QSizeF &size) { imgSize = size; }
    // The picture shows `cells` (grid units; null for the whole chart).
    void setPictureCells(const QRect &cells);
    // The part of the chart its picture shows: the cells asked for that
    // the chart still has, else the whole chart.
    QRect pictureCells() const;
    // The part as a file keeps it: null once it is the whole chart.
    QRect keptPicturePart() const;
    // The picture of the part, as large as fits `width` by `height`
    // device pixels without growing beyond the chart's own size.
    QImage partPicture(int width, int height) const;
    void showChartInstructions(bool on);
    void vFlipSelection();
    void hFlipSelection();
    void vMirrorSelection();
    void hMirrorSelection();
    void borderAroundSelection();
    void removeBordersOfSelection();
    // The rows of the selection marked as shaping, or the mark taken off.
    void markShapingRows();
    void unmarkShapingRows();
    // A repeat box over the selection, in the colour of the chart's boxes;
    // removing takes every box that shares a cell with the selection.
    void markRepeat();
    void removeRepeat();
    void repeatColorDialog();
    QString generateInstructions() const;
    void updateKeyWords();
    void settingsUpdateChart();
    void stitchReplacer();
    // The view's zoom in percent; no edit of the chart.
    int zoom() const;
    void setZoom(int percent);
    void zoomIn();
    void zoomOut();
    void zoomToFit();
    void actualSize();
    // The painting mode in words, for the status bar.
    QString modeText() const;
    void updateColumnNumbers(int start);
    void updateRowNumbers(int start);
    void skipRowNumbers(bool skip);

Q_SIGNALS:
    void curColorChanged(const QColor &color);
    void stitchChanged(int x, int y, Stitch *stitch, Stitch *oldStitch);
    void colorChanged(int x, int y, const QColor &color, const QColor &oldColor);
    void titleChanged(const QString &newTitle);
    void currentPos(const QPointF &pos);
    void chartModified(bool modified);
    // The zoom or the painting mode changed.
    void statusChanged();

protected:
    void setVisible(bool visible) override;
    void showEvent(QShowEvent *event) override;

private:
    void setupChart();
    void buildViews();
    QWidget *createOptionsRow();
    void showOptions();
    void showNumbersChoice();
    void showNumbersAtBottom(bool shown);
    void writtenStyleDialog();
    void setupToolbar();
    QAction *addAction(const QString &text, const QKeySequence &shortcut, const QString &icon, bool inToolBar,
                       void (Chart::*slot)());
    void drawColorIcon(const QColor &color);
    void zoomBy(int steps);
    void scrollToStart();
    void applyKnitStyle(KnitStyle style);
    // The selected cells, a rectangle in grid units.
    QRect selectionBox() const;
    QList<QPoint> selectedPositions() const;

    QString title;
    ChartGrid *m_grid = nullptr;
    QUndoStack *m_undoStack = nullptr;
    KnitScene *m_scene = nullptr;
    KnitTextEdit *m_textEdit = nullptr;
    // The stitch to paint with, kept until the view is built.
    Stitch *m_curStitch = nullptr;
    TextEngine *textEngine = nullptr;
    QGraphicsView *view = nullptr;
    int m_zoom = 100;
    bool m_shownOnce = false;
    QSplitter *splitter = nullptr;

    QRadioButton *m_flat = nullptr;
    QRadioButton *m_round = nullptr;
    QRadioButton *m_lace = nullptr;
    QComboBox *m_side = nullptr;
    QCheckBox *m_skip = nullptr;
    QSpinBox *m_columnStart = nullptr;
    QSpinBox *m_rowStart = nullptr;

    QMenu *m_menu = nullptr;
    // Lives in the main window while the chart is the current tab, and
    // goes with the chart all the same.
    QPointer<QToolBar> m_toolBar;
    QActionGroup *m_modes = nullptr;
    QAction *m_stitchMode = nullptr;
    QAction *m_colorMode = nullptr;
    QAction *m_borderMode = nullptr;
    QAction *m_lassoMode = nullptr;
    QAction *m_colorAction = nullptr;
    QAction *m_insertRowAbove = nullptr;
    QAction *m_insertRowBelow = nullptr;
    QAction *m_insertColumnLeft = nullptr;
    QAction *m_insertColumnRight = nullptr;
    QAction *m_removeRows = nullptr;
    QAction *m_removeColumns = nullptr;
    QAction *m_swapLeaning = nullptr;
    QAction *m_numbersAtBottom = nullptr;
    QAction *m_borderAround = nullptr;
    QAction *m_markRepeat = nullptr;
    QAction *m_removeRepeat = nullptr;
    QAction *m_markShaping = nullptr;
    QAction *m_unmarkShaping = nullptr;
    QAction *m_removeBorders = nullptr;
    QAction *m_flipH = nullptr;
    QAction *m_flipV = nullptr;
    QAction *m_mirrorH = nullptr;
    QAction *m_mirrorV = nullptr;
};

#endif // CHART_H
