#include "knittextedit.h"

#include "chartgrid.h"
#include "chartinstructions.h"
#include "linenumberarea.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QRegularExpression>
#include <QScopedValueRollback>
#include <QTextBlock>
#include <QUndoStack>

namespace {

// Changes the text without the editor reporting it as typing, and without
// the change entering the text's own undo history: undoing there must
// never bring back a line the chart has since rewritten or removed.
class ProgrammaticEdit
{
public:
    explicit ProgrammaticEdit(QPlainTextEdit *editor)
        : m_blocker(editor)
        , m_document(editor->document())
        , m_undoWasEnabled(m_document->isUndoRedoEnabled())
    {
        m_document->setUndoRedoEnabled(false);
    }
    ~ProgrammaticEdit() { m_document->setUndoRedoEnabled(m_undoWasEnabled); }

    ProgrammaticEdit(const ProgrammaticEdit &) = delete;
    ProgrammaticEdit &operator=(const ProgrammaticEdit &) = delete;

private:
    QSignalBlocker m_blocker;
    QTextDocument *m_document;
    bool m_undoWasEnabled;
};

bool isArrowKey(int key)
{
    return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Right;
}

} // namespace

KnitTextEdit::KnitTextEdit(ChartGrid *grid, QUndoStack *undoStack, QWidget *parent)
    : QPlainTextEdit(parent)
    , m_grid(grid)
    , m_undoStack(undoStack)
    , m_editor(grid, undoStack)
    , m_message(new QLabel(this))
    , m_lineNumberArea(new LineNumberArea(this))
    , m_written(grid->options())
{
    setAcceptDrops(false);
    m_message->setObjectName(QStringLiteral("lineMessage"));
    m_message->setWordWrap(true);
    m_message->setContentsMargins(6, 3, 6, 3);
    m_message->setAutoFillBackground(true);
    QPalette warning = m_message->palette();
    warning.setColor(QPalette::Window, QColor(255, 243, 205));
    warning.setColor(QPalette::WindowText, Qt::black);
    m_message->setPalette(warning);
    m_message->hide();
    connect(this, &QPlainTextEdit::updateRequest, this, &KnitTextEdit::updateLineNumberArea);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &KnitTextEdit::checkLineChange);
    connect(this, &QPlainTextEdit::textChanged, this, &KnitTextEdit::setCurBlockModified);
    updateLineNumberAreaWidth();

    connect(grid, &ChartGrid::stitchChanged, this, &KnitTextEdit::stitchChanged);
    connect(grid, &ChartGrid::rowsInserted, this, &KnitTextEdit::rowsInserted);
    connect(grid, &ChartGrid::rowsRemoved, this, &KnitTextEdit::rebuildDocument);
    connect(grid, &ChartGrid::columnsInserted, this, &KnitTextEdit::updateAllText);
    connect(grid, &ChartGrid::columnsRemoved, this, &KnitTextEdit::updateAllText);
    connect(grid, &ChartGrid::optionsChanged, this, &KnitTextEdit::optionsChanged);

    document()->setUndoRedoEnabled(false);
    rebuildDocument();
}

KnitTextEdit::~KnitTextEdit() = default;

int KnitTextEdit::chartWidth() const
{
    return m_grid->columnCount();
}

int KnitTextEdit::chartHeight() const
{
    return m_grid->rowCount();
}

QString KnitTextEdit::rowInstructionsText(int row, bool includeNoStitch) const
{
    return ChartInstructions::rowText(*m_grid, row, includeNoStitch);
}

QString KnitTextEdit::rowHeaderText(int rowNumber) const
{
    return ChartInstructions::rowLabel(*m_grid, rowNumber);
}

void KnitTextEdit::generateRowFromChart(int row)
{
    if (row < 0 || row >= chartHeight())
        return;
    const QTextBlock block = document()->findBlockByNumber(chartHeight() - row - 1);
    if (!block.isValid()) {
        qWarning("KnitTextEdit: no line for chart row %d", row);
        return;
    }
    const QString line = rowInstructionsText(row, true);
    if (block.text() == line)
        return;

    ProgrammaticEdit edit(this);
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.insertText(line);
    if (block.blockNumber() == m_curBlock)
        rememberCurrentLine();
}

void KnitTextEdit::rewriteRows(int from, int to)
{
    // One edit block for all the lines; its end reports the change, so it
    // too must not count as typing.
    ProgrammaticEdit edit(this);
    QTextCursor batch(document());
    batch.beginEditBlock();
    // A line typed and not yet applied keeps its typing; it is read as
    // the row it now stands for when the caret leaves it.
    const int pending = m_curBlockModified ? chartHeight() - 1 - m_curBlock : -1;
    for (int row = qMax(0, from); row <= to && row < chartHeight(); ++row) {
        if (row != pending)
            generateRowFromChart(row);
    }
    batch.endEditBlock();
}

void KnitTextEdit::stitchChanged(int, int y)
{
    m_changedRows.insert(y);
    if (!m_flushScheduled) {
        m_flushScheduled = true;
        QMetaObject::invokeMethod(this, &KnitTextEdit::flushChangedRows, Qt::QueuedConnection);
    }
}

void KnitTextEdit::flushChangedRows()
{
    m_flushScheduled = false;
    const QSet<int> rows = std::exchange(m_changedRows, {});
    for (int row : rows)
        generateRowFromChart(row);
}

void KnitTextEdit::updateAllText()
{
    m_changedRows.clear();
    rewriteRows(0, chartHeight() - 1);
}

void KnitTextEdit::updateAll()
{
    updateAllText();
    m_lineNumberArea->update();
}

// The lines follow the knitting style, the side and the skipped rows; the
// gutter the numbering too. A new cell size changes neither.
void KnitTextEdit::optionsChanged()
{
    const ChartOptions &now = m_grid->options();
    const bool lines = now.knitStyle != m_written.knitStyle || now.side != m_written.side
        || now.skipRows != m_written.skipRows;
    const bool labels = lines || now.rowNumberOffset != m_written.rowNumberOffset;
    const bool style = now.knitStyle != m_written.knitStyle;
    m_written = now;
    if (lines)
        updateAllText();
    if (style)
        updateLineNumberAreaWidth();
    if (labels)
        m_lineNumberArea->update();
}

void KnitTextEdit::setKeyWords(const QStringList &keyWords)
{
    m_parser = InstructionParser(keyWords);
}

QStringList KnitTextEdit::generateRowFromText(int block) const
{
    const QTextBlock textBlock = document()->findBlockByNumber(block);
    if (!textBlock.isValid())
        return QStringList();
    return m_parser.cells(textBlock.text(), chartWidth());
}

QList<Stitch *> KnitTextEdit::translateRow(const QStringList &cells, int block) const
{
    // Lines are read the way they are written, so that a generated line
    // typed back in gives the same row.
    return InstructionParser::row(cells, chartWidth(), m_grid->options().isWrongSide(block + 1));
}

void KnitTextEdit::setCurBlockModified()
{
    // Re-highlighting reports a change as well; only a change of the text
    // of the line being edited counts.
    const QTextBlock block = document()->findBlockByNumber(m_curBlock);
    if (!block.isValid() || block.text() != m_curBlockText)
        m_curBlockModified = true;
}

void KnitTextEdit::rememberCurrentLine()
{
    m_curBlockText = document()->findBlockByNumber(m_curBlock).text();
}

void KnitTextEdit::checkLineChange()
{
    if (m_caretHeld)
        return;
    const int block = textCursor().blockNumber();
    if (block == m_curBlock)
        return;
    if (!commitLine()) {
        // The line waits: the caret stays with it.
        const QScopedValueRollback<bool> still(m_caretHeld, true);
        moveToBlock(m_curBlock);
        QTextCursor cursor = textCursor();
        cursor.movePosition(QTextCursor::EndOfBlock);
        setTextCursor(cursor);
        return;
    }
    // Follow the cursor, so that the line typed into next is the one read
    // back.
    m_curBlock = block;
    rememberCurrentLine();
}

// Reads the line being edited back into its row, when its text changed
// and the line is understood.
bool KnitTextEdit::commitLine(bool confirmed)
{
    if (!m_curBlockModified)
        return true;
    const int edited = m_curBlock;
    const QTextBlock block = document()->findBlockByNumber(edited);
    if (!block.isValid() || block.text() == m_curBlockText) {
        m_curBlockModified = false;
        showMessage(QString());
        return true;
    }
    const QString text = block.text();
    const int width = chartWidth();
    const InstructionParser::Reading reading = m_parser.read(text, width, width + 1);
    const bool fits = reading.unknown.isEmpty() && reading.cells.size() == width;
    if (!fits && !(confirmed && reading.unknown.isEmpty() && text == m_toldText)) {
        if (reading.unknown.isEmpty())
            m_toldText = text;
        showMessage(lineProblem(reading, text));
        return false;
    }
    m_curBlockModified = false;
    showMessage(QString());
    m_editor.updateRow(edited, translateRow(reading.cells.mid(0, width), edited));
    // Show the row in its written form at once.
    flushChangedRows();
    rememberCurrentLine();
    // Undoing typing in the text would now show a line the chart does not
    // hold; the chart's own undo takes the row back.
    document()->clearUndoRedoStacks();
    return true;
}

void KnitTextEdit::restoreLine()
{
    m_curBlockModified = false;
    showMessage(QString());
    generateRowFromChart(chartHeight() - 1 - m_curBlock);
    rememberCurrentLine();
    document()->clearUndoRedoStacks();
}

// Why the line waits: "Row 5: 'k2tgo' is not a stitch", "Row 7: the line
// covers 9 of 40 cells".
QString KnitTextEdit::lineProblem(const InstructionParser::Reading &reading, const QString &text) const
{
    const ChartOptions &options = m_grid->options();
    const int number = options.shownRowNumber(m_curBlock + 1);
    const QString row = options.knitStyle == KnitStyle::Round ? tr("Round %1").arg(number) : tr("Row %1").arg(number);
    if (!reading.unknown.isEmpty()) {
        QStringList words;
        for (const InstructionParser::Span &span : reading.unknown)
            words.append(QLatin1Char('\'') + text.mid(span.start, span.length) + QLatin1Char('\''));
        const QString last = words.takeLast();
        const QString named = words.isEmpty() ? tr("%1: %2 is not a stitch").arg(row, last)
                                              : tr("%1: %2 and %3 are not stitches")
                                                    .arg(row, words.join(QLatin1String(", ")), last);
        return named + QLatin1String(". ") + tr("Correct it, or press Escape to put the row back.");
    }
    const int width = chartWidth();
    if (reading.cells.size() > width)
        return tr("%1: the line covers more than the %2 cells of the row. Press Return to drop the rest, or Escape "
                  "to put the row back.")
            .arg(row)
            .arg(width);
    return tr("%1: the line covers %2 of %3 cells. Press Return to fill the rest with No Stitch, or Escape to put "
              "the row back.")
        .arg(row)
        .arg(reading.cells.size())
        .arg(width);
}

// The message shows under the text, which makes room for it; an empty one
// hides it.
void KnitTextEdit::showMessage(const QString &message)
{
    if (message.isEmpty())
        m_toldText.clear();
    if (message == m_message->text() && m_message->isVisible() == !message.isEmpty())
        return;
    m_message->setText(message);
    m_message->setVisible(!message.isEmpty());
    m_message->raise();
    updateLineNumberAreaWidth();
    const QRect contents = contentsRect();
    const int height = message.isEmpty() ? 0 : m_message->heightForWidth(contents.width());
    m_message->setGeometry(contents.left(), contents.bottom() + 1 - height, contents.width(), height);
}

void KnitTextEdit::focusOutEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusOutEvent(event);
    // Leaving the pane (for the chart, say) applies what was typed; a menu
    // popping up does not. A line that waits stays as typed, with its
    // message, for the designer to come back to.
    if (event->reason() != Qt::PopupFocusReason)
        commitLine();
}

void KnitTextEdit::inputMethodEvent(QInputMethodEvent *event)
{
    static const QRegularExpression lineBreak(QStringLiteral("[\\r\\n\\x{2028}\\x{2029}\\x{fdd0}\\x{fdd1}]"));
    if (selectionSpansLines() || event->commitString().contains(lineBreak))
        return;
    QPlainTextEdit::inputMethodEvent(event);
}

// One empty line per chart row, then every line written from the grid.
void KnitTextEdit::rebuildDocument()
{
    {
        ProgrammaticEdit edit(this);
        setPlainText(QString(qMax(0, chartHeight() - 1), QLatin1Char('\n')));
    }
    m_changedRows.clear();
    // Whatever was being typed is gone with the old text.
    m_curBlockModified = false;
    rewriteRows(0, chartHeight() - 1);
    m_curBlock = textCursor().blockNumber();
    rememberCurrentLine();
    m_lineNumberArea->update();
}

// A new row's line goes in; the rows above it have new numbers and may
// have changed sides.
void KnitTextEdit::rowsInserted(int row)
{
    // Changes still waiting to be written name rows as they were counted.
    QSet<int> waiting;
    for (int changed : std::as_const(m_changedRows))
        waiting.insert(changed >= row ? changed + 1 : changed);
    m_changedRows = waiting;

    const int block = chartHeight() - 1 - row;
    if (chartHeight() > 1) {
        ProgrammaticEdit edit(this);
        // The caret stays on its line, and typing there not yet applied
        // stays pending for the row it now stands for.
        const QTextCursor caret = textCursor();
        const int caretBlock = caret.blockNumber() + (caret.blockNumber() >= block ? 1 : 0);
        const int caretColumn = caret.positionInBlock();
        if (m_curBlock >= block)
            ++m_curBlock;
        QTextCursor cursor(document());
        const QTextBlock below = document()->findBlockByNumber(block);
        if (below.isValid())
            cursor.setPosition(below.position());
        else
            cursor.movePosition(QTextCursor::End);
        const QScopedValueRollback<bool> still(m_caretHeld, true);
        cursor.insertBlock();
        const QTextBlock line = document()->findBlockByNumber(caretBlock);
        QTextCursor kept(line);
        kept.setPosition(line.position() + qMin(caretColumn, line.length() - 1));
        setTextCursor(kept);
    }
    rewriteRows(0, row);
    flushChangedRows();
    m_lineNumberArea->update();
}

bool KnitTextEdit::selectionSpansLines() const
{
    const QTextCursor cursor = textCursor();
    if (!cursor.hasSelection())
        return false;
    return document()->findBlock(cursor.selectionStart()) != document()->findBlock(cursor.selectionEnd());
}

// Over a selection of several lines only keys that leave the text alone
// work; anything else would merge lines and break the one-line-per-row
// layout. Pasting replaces whole lines and is handled on its own.
bool KnitTextEdit::keyAllowedOverLines(const QKeyEvent *event) const
{
    if (isArrowKey(event->key()))
        return true;
    if (event->modifiers() == Qt::NoModifier)
        return false;
    const int key = event->key();
    const bool navigation = key == Qt::Key_Home || key == Qt::Key_End || key == Qt::Key_PageUp
        || key == Qt::Key_PageDown;
    return navigation || event->matches(QKeySequence::Copy) || event->matches(QKeySequence::SelectAll)
        || event->matches(QKeySequence::Paste);
}

void KnitTextEdit::keyPressEvent(QKeyEvent *event)
{
    document()->setUndoRedoEnabled(true);
    const int key = event->key();
    QTextCursor cursor = textCursor();

    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        // Return applies the line, confirming one that does not cover its
        // row, and moves between lines; it never splits one.
        if (!commitLine(true))
            return;
        cursor.clearSelection();
        cursor.movePosition(event->modifiers() == Qt::ShiftModifier ? QTextCursor::PreviousBlock
                                                                     : QTextCursor::NextBlock);
        setTextCursor(cursor);
        return;
    }
    if (key == Qt::Key_Escape && (m_curBlockModified || m_message->isVisible())) {
        restoreLine();
        return;
    }
    if (undoRedo(event))
        return;
    if (selectionSpansLines() && !keyAllowedOverLines(event))
        return;
    if (key == Qt::Key_Backspace) {
        if (!cursor.hasSelection() && cursor.atBlockStart())
            return;
        m_curBlockModified = true;
    } else if (key == Qt::Key_Delete) {
        if (!cursor.hasSelection() && cursor.atBlockEnd())
            return;
        m_curBlockModified = true;
    }
    QPlainTextEdit::keyPressEvent(event);
}

// Ctrl+Y redoes here too; the text would otherwise leave it to the window.
bool KnitTextEdit::event(QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo)
            || QKeySequence(key->keyCombination()) == QKeySequence(tr("Ctrl+Y"))) {
            event->accept();
            return true;
        }
    }
    return QPlainTextEdit::event(event);
}

// While a line is being edited, undo and redo work on its typing; once it
// is applied, on the chart, where the typing did its work.
bool KnitTextEdit::undoRedo(QKeyEvent *event)
{
    const bool undo = event->matches(QKeySequence::Undo);
    const bool redo = event->matches(QKeySequence::Redo)
        || QKeySequence(event->keyCombination()) == QKeySequence(tr("Ctrl+Y"));
    if (!undo && !redo)
        return false;
    if (m_curBlockModified) {
        if (undo)
            QPlainTextEdit::undo();
        else
            QPlainTextEdit::redo();
    } else if (m_undoStack) {
        if (undo)
            m_undoStack->undo();
        else
            m_undoStack->redo();
    }
    return true;
}

void KnitTextEdit::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createStandardContextMenu(event->pos());
    if (selectionSpansLines()) {
        // Cutting or deleting across lines would merge them.
        for (QAction *action : menu->actions()) {
            if (action->objectName() == QLatin1String("edit-cut")
                || action->objectName() == QLatin1String("edit-delete"))
                action->setEnabled(false);
        }
    }
    menu->exec(event->globalPos());
    delete menu;
}

bool KnitTextEdit::canInsertFromMimeData(const QMimeData *source) const
{
    return source->hasText();
}

void KnitTextEdit::insertFromMimeData(const QMimeData *source)
{
    if (!source->hasText())
        return;
    const QStringList lines = pastedLines(source->text());
    if (lines.isEmpty())
        return;

    QTextCursor cursor = textCursor();
    if (cursor.hasSelection() && !selectionSpansLines() && lines.size() == 1) {
        if (m_curBlock != cursor.blockNumber()) {
            m_curBlock = cursor.blockNumber();
            rememberCurrentLine();
        }
        m_curBlockModified = true;
        cursor.insertText(lines.first());
        setTextCursor(cursor);
        return;
    }
    pasteOverRows(lines);
}

// Each pasted line replaces one whole line, from the line where the
// selection (or the cursor) starts; lines beyond the last row are dropped.
// Each replaced line is read into its row as the cursor leaves it.
void KnitTextEdit::pasteOverRows(const QStringList &pasted)
{
    QTextCursor cursor = textCursor();
    const int first = document()->findBlock(cursor.selectionStart()).blockNumber();
    const int available = document()->blockCount() - first;
    const QStringList lines = pasted.mid(0, available);

    moveToBlock(first);
    for (const QString &line : lines) {
        cursor = textCursor();
        cursor.movePosition(QTextCursor::StartOfBlock);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        m_curBlock = cursor.blockNumber();
        rememberCurrentLine();
        m_curBlockModified = true;
        cursor.insertText(line);
        setTextCursor(cursor);
        const bool last = cursor.blockNumber() == document()->blockCount() - 1;
        moveToBlock(last ? cursor.blockNumber() - 1 : cursor.blockNumber() + 1);
        // A line that is not understood stops the paste there, with its
        // message; the rows after it keep their lines.
        if (m_curBlockModified)
            return;
    }
    // A chart of one row has no other line to move to.
    commitLine();
}

// The lines of pasted text, without empty ones. Every kind of line break
// splits, so that no pasted text can add a line to the pane.
QStringList KnitTextEdit::pastedLines(QString text)
{
    const int zero = int(text.indexOf(QChar(0)));
    if (zero >= 0)
        text.truncate(zero);
    text.remove(QChar(0xfdd0));
    text.remove(QChar(0xfdd1));
    static const QRegularExpression lineBreak(QStringLiteral("\\r\\n|[\\r\\n\\x{2028}\\x{2029}]"));
    QStringList lines = text.split(lineBreak, Qt::SkipEmptyParts);
    return lines;
}

void KnitTextEdit::moveToBlock(int block)
{
    const QTextBlock target = document()->findBlockByNumber(block);
    if (!target.isValid())
        return;
    QTextCursor cursor = textCursor();
    cursor.setPosition(target.position());
    setTextCursor(cursor);
}

int KnitTextEdit::lineNumberAreaWidth() const
{
    return 12 * fontMetrics().horizontalAdvance(QLatin1Char('9')) + 5;
}

void KnitTextEdit::updateLineNumberAreaWidth()
{
    const int message = m_message->isVisible() ? m_message->heightForWidth(contentsRect().width()) : 0;
    setViewportMargins(lineNumberAreaWidth(), 0, 0, message);
}

void KnitTextEdit::updateLineNumberArea(const QRect &rect, int dy)
{
    if (dy != 0)
        m_lineNumberArea->scroll(0, dy);
    else
        m_lineNumberArea->update(0, rect.y(), m_lineNumberArea->width(), rect.height());
    if (rect.contains(viewport()->rect()))
        updateLineNumberAreaWidth();
}

void KnitTextEdit::resizeEvent(QResizeEvent *event)
{
    QPlainTextEdit::resizeEvent(event);
    const QRect contents = contentsRect();
    m_lineNumberArea->setGeometry(QRect(contents.left(), contents.top(), lineNumberAreaWidth(), contents.height()));
    if (m_message->isVisible()) {
        const int height = m_message->heightForWidth(contents.width());
        m_message->setGeometry(contents.left(), contents.bottom() + 1 - height, contents.width(), height);
        updateLineNumberAreaWidth();
    }
}

void KnitTextEdit::lineNumberAreaPaintEvent(QPaintEvent *event)
{
    QPainter painter(m_lineNumberArea);
    painter.fillRect(event->rect(), Qt::gray);
    painter.setPen(Qt::black);

    QTextBlock block = firstVisibleBlock();
    int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
    int bottom = top + qRound(blockBoundingRect(block).height());
    while (block.isValid() && top <= event->rect().bottom()) {
        if (block.isVisible() && bottom >= event->rect().top()) {
            painter.drawText(0, top, m_lineNumberArea->width(), fontMetrics().height(), Qt::AlignRight,
                             rowHeaderText(block.blockNumber() + 1) + QLatin1Char(' '));
        }
        block = block.next();
        top = bottom;
        bottom = top + qRound(blockBoundingRect(block).height());
    }
}
