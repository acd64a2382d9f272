#ifndef KNITTEXTEDIT_H
#define KNITTEXTEDIT_H

#include "charteditor.h"
#include "chartoptions.h"
#include "instructionparser.h"

#include <QList>
#include <QPlainTextEdit>
#include <QSet>
#include <QStringList>

class ChartGrid;
class LineNumberArea;
class QLabel;
class QUndoStack;
class Stitch;

// The written instructions under a chart: one line per chart row, bottom
// row first, each labelled in the gutter. The lines are written from the
// chart's model whenever it announces a change; a line the user typed is
// read back and pushed as one edit of its row when the cursor leaves it.
// Editing is kept within single lines, so that the text always has exactly
// one line per chart row.
//
// A typed line never changes the chart unless it is understood: a line
// with a word that is not a stitch is not applied, and one that covers
// fewer or more cells than the row only when Return confirms it. Until
// then the caret stays on the line and a message under the text says why;
// Escape puts the chart's line back. Ctrl+Z undoes typing while a line is
// being edited and the chart's last change otherwise; Ctrl+Y (and the
// platform's redo key) redoes.
class KnitTextEdit : public QPlainTextEdit
{
    Q_OBJECT

public:
    KnitTextEdit(ChartGrid *grid, QUndoStack *undoStack, QWidget *parent = nullptr);
    ~KnitTextEdit() override;

    ChartGrid *grid() const { return m_grid; }
    int chartWidth() const;
    int chartHeight() const;

    // The line of grid row `row` (0 = the top row); "" off the chart.
    QString rowInstructionsText(int row, bool includeNoStitch) const;
    // The label of the row counted `rowNumber` from the bottom.
    QString rowHeaderText(int rowNumber) const;
    // Rewrites the line of grid row `row` from the chart.
    void generateRowFromChart(int row);

    // The abbreviations typed lines are read with, in catalogue order.
    QStringList keyWords() const { return m_parser.keyWords(); }
    void setKeyWords(const QStringList &keyWords);

    // The cell abbreviations the text of line `block` describes.
    QStringList generateRowFromText(int block) const;
    // Those cells as the chart row of line `block`, leftmost cell first.
    QList<Stitch *> translateRow(const QStringList &cells, int block) const;

    int lineNumberAreaWidth() const;
    void lineNumberAreaPaintEvent(QPaintEvent *event);

public Q_SLOTS:
    void updateAllText();
    void updateAll();
    // Writes the lines of rows the chart changed since the last pass of the
    // event loop. Changes are collected so that a command touching a
    // thousand cells of a row rewrites its line once.
    void flushChangedRows();

protected:
    bool event(QEvent *event) override;
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
    // What the model announces.
    void stitchChanged(int x, int y);
    void rowsInserted(int row);
    void optionsChanged();

    bool selectionSpansLines() const;
    bool keyAllowedOverLines(const QKeyEvent *event) const;
    void pasteOverRows(const QStringList &lines);
    static QStringList pastedLines(QString text);
    // Applies the line being edited; false, with the reason shown, where it
    // waits. `confirmed`: Return was pressed on it.
    bool commitLine(bool confirmed = false);
    // The chart's line back over what was typed.
    void restoreLine();
    QString lineProblem(const InstructionParser::Reading &reading, const QString &text) const;
    void showMessage(const QString &message);
    bool undoRedo(QKeyEvent *event);
    void moveToBlock(int block);
    void rebuildDocument();
    void rememberCurrentLine();
    void rewriteRows(int from, int to);

    ChartGrid *m_grid;
    QUndoStack *m_undoStack;
    ChartEditor m_editor;
    QLabel *m_message;
    // The text of a line that does not cover its row, told once: Return on
    // it again applies it.
    QString m_toldText;
    LineNumberArea *m_lineNumberArea;
    // The options the text was last written with.
    ChartOptions m_written;
    InstructionParser m_parser;
    // Set while a new line goes in: the caret is put back on its own line.
    bool m_caretHeld = false;
    int m_curBlock = 0;
    bool m_curBlockModified = false;
    // The text of the line being edited when the cursor came to it.
    QString m_curBlockText;
    QSet<int> m_changedRows;
    bool m_flushScheduled = false;
};

#endif // KNITTEXTEDIT_H
