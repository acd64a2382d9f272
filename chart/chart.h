#ifndef CHART_H
#define CHART_H

#include "knitscene.h"

#include <QByteArray>
#include <QColor>
#include <QMainWindow>
#include <QPointer>
#include <QToolBar>
#include <QSize>

class KnitTextEdit;
class QAction;
class QActionGroup;
class QCheckBox;
class QComboBox;
class QDataStream;
class QGraphicsView;
class QMenu;
class QPainter;
class QProgressDialog;
class QRadioButton;
class QSpinBox;
class QSplitter;
class QUndoStack;
class TextEngine;

// One chart tab of a pattern: the grid in a view with the options row
// above it (numbering starts, knitting style, side) and the written
// instructions below, plus the "&Chart" menu and the "Chart Tools" tool
// bar. User commands become scene operations and undo commands; the
// knitting style and numbering of grid and text are kept in step.
class Chart : public QMainWindow
{
    Q_OBJECT

public:
    // The highest number the first column or row can start at.
    static constexpr int largestNumberStart = 100000;

    // A new chart filled with `defaultStitch` (the preference when empty).
    Chart(int width, int height, const QString &defaultStitch, QWidget *parent = nullptr);
    // An empty chart; loadChart() reads it.
    Chart(QDataStream &in, QWidget *parent = nullptr);
    ~Chart() override;

    // The chart record of the pattern file (the stream stands after
    // "<Chart>" when reading).
    bool save(QDataStream &out) const;
    bool loadChart(QDataStream &in, QProgressDialog *progress);

    QUndoStack *undoStack() const;
    KnitScene *knitScene() const { return scene; }
    KnitTextEdit *instructions() const { return textEdit; }
    QToolBar *toolBar() const { return m_toolBar; }
    QString chartTitle() const { return title; }
    void setTitle(const QString &newTitle);

    // Writes the chart as a picture; the suffix of the name chooses SVG or
    // a raster format.
    bool exportImage(const QString &fileName, const QSize &size, int resolution);
    // The part of the scene a picture shows.
    QRectF imageSourceRect() const;

    void setScale(int width, int height);
    void removeChart();
    void turnOffHighlight();
    void clearSelection();

    float scale = 1.0f;
    int knitStyle = 0;
    QString sideSelection;
    QByteArray hash;
    QSize imgSize = QSize(-1, -1);
    QColor dialogColor = Qt::white;
    QColor paintColor = Qt::white;
    QColor borderColor = Qt::black;

public Q_SLOTS:
    void print(QPainter *painter);
    void copy();
    void cut();
    void paste();
    void undo();
    void redo();
    QMenu *menu() const { return m_menu; }
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
    void setSideSelection(const QString &side);
    void setHash(const QByteArray &newHash) { hash = newHash; }
    void setImgSize(const QSize &size) { imgSize = size; }
    void showChartInstructions(bool on);
    void vFlipSelection();
    void hFlipSelection();
    void vMirrorSelection();
    void hMirrorSelection();
    QString generateInstructions() const;
    void updateKeyWords();
    void settingsUpdateChart();
    void stitchReplacer();
    void stitchSizeInc();
    void stitchSizeDec();
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

private:
    void setupChart();
    QWidget *createOptionsRow();
    void setupToolbar();
    QAction *addAction(const QString &text, const QKeySequence &shortcut, const QString &icon, bool inToolBar,
                       void (Chart::*slot)());
    void drawColorIcon(const QColor &color);
    void applyKnitStyle(int style);
    void showOptions();
    // The smallest and largest column and row of the selected cells.
    QRect selectionBox() const;
    QList<QPoint> selectedPositions() const;
    void removeRowsOrColumns(bool rows);

    QString title;
    KnitScene *scene = nullptr;
    KnitTextEdit *textEdit = nullptr;
    TextEngine *textEngine = nullptr;
    QGraphicsView *view = nullptr;
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
    QAction *m_flipH = nullptr;
    QAction *m_flipV = nullptr;
    QAction *m_mirrorH = nullptr;
    QAction *m_mirrorV = nullptr;
};

#endif // CHART_H
