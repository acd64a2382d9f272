#ifndef KNITTEXTEDIT_H
#define KNITTEXTEDIT_H

#include "instructionparser.h"
#include "stitch.h"

#include <QList>
#include <QPlainTextEdit>
#include <QSet>
#include <QStringList>

class LineNumberArea;

// The written instructions under a chart: one line per chart row, bottom
// row first, each labelled in the gutter. The editor keeps its own copy of
// the chart's stitches (the instruction grid), rewrites a row's line when
// the chart changes, and parses a line the user typed back into its row
// when the cursor leaves it. Editing is kept within single lines, so that
// the text always has exactly one line per chart row.
class KnitTextEdit : public QPlainTextEdit
{
    Q_OBJECT

public:
    KnitTextEdit(int width, int height, const QString &defaultStitch, int knitStyle, QWidget *parent = nullptr);
    ~KnitTextEdit() override;

    // The instruction grid: row 0 is the top chart row, column 0 the
    // leftmost cell.
    const QList<QList<Stitch *>> &grid() const { return m_grid; }
    int chartWidth() const;
    int chartHeight() const { return int(m_grid.size()); }

    // The line of grid row `row`; "" off the chart.
    QString rowInstructionsText(int row, bool includeNoStitch) const;
    // The label of the row counted `rowNumber` from the bottom.
    QString rowHeaderText(int rowNumber) const;
    // Rewrites the line of grid row `row` from the instruction grid.
    void generateRowFromChart(int row);
    // Whether the row counted `rowNumber` from the bottom is worked from
    // the wrong side.
    bool isWrongSideRow(int rowNumber) const;

    int knitStyle() const { return m_knitStyle; }
    QString sideSelection() const { return m_sideSelection; }
    int rowNumberOffset() const { return m_rowNumberOffset; }
    bool skipRows() const { return m_skipRows; }
    void setKnitStyle(int style);
    void setSideSelection(const QString &side);
    void setRowNumberOffset(int offset);
    void setSkipRows(bool skip);

    // The abbreviations typed lines are read with, in catalogue order.
    QStringList keyWords() const { return m_parser.keyWords(); }
    void setKeyWords(const QStringList &keyWords);

    // The cell abbreviations the text of line `block` describes.
    QStringList generateRowFromText(int block) const;
    // Those cells as the chart row of line `block`, leftmost cell first.
    QList<Stitch *> translateRow(const QStringList &cells, int block) const;

    // The chart's shape changes; `row` is a grid index (0 = top row).
    void insertRow(int row);
    void removeRow(int row);
    void insertColumn(int column);
    void removeColumn(int column);

    int lineNumberAreaWidth() const;
    void lineNumberAreaPaintEvent(QPaintEvent *event);

    // When false, chart changes update the grid but not the text (set while
    // a chart loads; `updateAll` then writes everything once).
    bool updateTextOnChange = true;

public Q_SLOTS:
    void updateText(int x, int y, Stitch *stitch, Stitch *oldStitch);
    void updateAllText();
    void updateAll();
    // Writes the lines of rows the chart changed since the last pass of the
    // event loop. Changes are collected so that a command touching a
    // thousand cells of a row rewrites its line once.
    void flushChangedRows();

Q_SIGNALS:
    // `row` counts lines: 0 is the bottom chart row.
    void rowChanged(int row, const QList<Stitch *> &stitches);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;
    void resizeEvent(QResizeEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;

private Q_SLOTS:
    void updateLineNumberAreaWidth();
    void updateLineNumberArea(const QRect &rect, int dy);
    void setCurBlockModified();
    void checkLineChange();

private:
    bool selectionSpansLines() const;
    bool keyAllowedOverLines(const QKeyEvent *event) const;
    void pasteOverRows(const QStringList &lines);
    static QStringList pastedLines(QString text);
    void commitLine();
    void moveToBlock(int block);
    void rebuildDocument();
    void rememberCurrentLine();
    void rewriteRows(int from, int to);

    LineNumberArea *m_lineNumberArea;
    QList<QList<Stitch *>> m_grid;
    int m_knitStyle = 0;
    QString m_sideSelection;
    int m_rowNumberOffset = 0;
    bool m_skipRows = false;
    InstructionParser m_parser;
    int m_curBlock = 0;
    bool m_curBlockModified = false;
    // The text of the line being edited when the cursor came to it.
    QString m_curBlockText;
    QSet<int> m_changedRows;
    bool m_flushScheduled = false;
};

#endif // KNITTEXTEDIT_H
