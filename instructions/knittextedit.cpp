#include "knittextedit.h"

#include "instructionwriter.h"
#include "linenumberarea.h"
#include "settings.h"
#include "siderule.h"
#include "stitchset.h"

#include <QCoreApplication>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QTextBlock>

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

KnitTextEdit::KnitTextEdit(int width, int height, const QString &defaultStitch, int knitStyle, QWidget *parent)
    : QPlainTextEdit(parent)
    , m_lineNumberArea(new LineNumberArea(this))
    , m_knitStyle(knitStyle)
{
    setAcceptDrops(false);
    connect(this, &QPlainTextEdit::updateRequest, this, &KnitTextEdit::updateLineNumberArea);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &KnitTextEdit::checkLineChange);
    connect(this, &QPlainTextEdit::textChanged, this, &KnitTextEdit::setCurBlockModified);
    updateLineNumberAreaWidth();

    Settings *settings = Settings::instance();
    Stitch *fill = StitchSet::instance()->findStitch(defaultStitch.isEmpty() ? StitchSet::defaultStitchID()
                                                                             : defaultStitch);
    width = qMax(0, width);
    height = qMax(0, height);
    m_grid = QList<QList<Stitch *>>(height, QList<Stitch *>(width, fill));
    m_sideSelection = settings->value(QStringLiteral("defaultSideSelection"), tr("Right Side")).toString();

    document()->setUndoRedoEnabled(false);
    rebuildDocument();
}

KnitTextEdit::~KnitTextEdit() = default;

int KnitTextEdit::chartWidth() const
{
    return m_grid.isEmpty() ? 0 : int(m_grid.first().size());
}

bool KnitTextEdit::isWrongSideRow(int rowNumber) const
{
    return SideRule::isWrongSide(m_knitStyle, m_sideSelection, m_skipRows, rowNumber);
}

QString KnitTextEdit::rowInstructionsText(int row, bool includeNoStitch) const
{
    if (row < 0 || row >= chartHeight() || chartWidth() == 0)
        return QString();
    return InstructionWriter::writeRow(m_grid.at(row), isWrongSideRow(chartHeight() - row), includeNoStitch);
}

QString KnitTextEdit::rowHeaderText(int rowNumber) const
{
    return InstructionWriter::rowLabel(rowNumber, m_knitStyle, m_sideSelection, m_rowNumberOffset, m_skipRows);
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
    for (int row = qMax(0, from); row <= to && row < chartHeight(); ++row)
        generateRowFromChart(row);
    batch.endEditBlock();
}

void KnitTextEdit::updateText(int x, int y, Stitch *stitch, Stitch *)
{
    if (!stitch || y < 0 || y >= chartHeight() || x < 0 || x >= m_grid.at(y).size())
        return;
    m_grid[y][x] = stitch;
    if (!updateTextOnChange)
        return;
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

void KnitTextEdit::setSideSelection(const QString &side)
{
    if (side == m_sideSelection)
        return;
    m_sideSelection = side;
    updateAllText();
    m_lineNumberArea->update();
}

void KnitTextEdit::setKnitStyle(int style)
{
    if (style == m_knitStyle)
        return;
    m_knitStyle = style;
    updateAllText();
    updateLineNumberAreaWidth();
    m_lineNumberArea->update();
}

void KnitTextEdit::setRowNumberOffset(int offset)
{
    m_rowNumberOffset = offset;
    m_lineNumberArea->update();
}

void KnitTextEdit::setSkipRows(bool skip)
{
    if (skip == m_skipRows)
        return;
    m_skipRows = skip;
    updateAllText();
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
    return InstructionParser::row(cells, chartWidth(), isWrongSideRow(block + 1));
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
    const int block = textCursor().blockNumber();
    if (block == m_curBlock)
        return;
    commitLine();
    // Follow the cursor, so that the line typed into next is the one read
    // back.
    m_curBlock = block;
    rememberCurrentLine();
}

// Reads the line being edited back into its row, when its text changed.
void KnitTextEdit::commitLine()
{
    if (!m_curBlockModified)
        return;
    m_curBlockModified = false;
    const int edited = m_curBlock;
    const QTextBlock block = document()->findBlockByNumber(edited);
    if (!block.isValid() || block.text() == m_curBlockText)
        return;
    const QList<Stitch *> stitches = translateRow(generateRowFromText(edited), edited);
    Q_EMIT rowChanged(edited, stitches);
    // Show the row in its written form at once.
    flushChangedRows();
    rememberCurrentLine();
    // Undoing typing in the text would now show a line the chart does not
    // hold; the chart's own undo takes the row back.
    document()->clearUndoRedoStacks();
}

void KnitTextEdit::focusOutEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusOutEvent(event);
    // Leaving the pane (for the chart, say) applies what was typed; a menu
    // popping up does not.
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
    rewriteRows(0, chartHeight() - 1);
    // Whatever was being typed is gone with the old text.
    m_curBlock = textCursor().blockNumber();
    m_curBlockModified = false;
    rememberCurrentLine();
    m_lineNumberArea->update();
}

void KnitTextEdit::insertRow(int row)
{
    // Changes still waiting to be written name rows by their old index.
    flushChangedRows();
    row = qBound(0, row, chartHeight());
    m_grid.insert(row, QList<Stitch *>(chartWidth(), StitchSet::instance()->defaultStitch()));

    const int block = chartHeight() - 1 - row;
    if (chartHeight() > 1) {
        ProgrammaticEdit edit(this);
        QTextCursor cursor(document());
        const QTextBlock below = document()->findBlockByNumber(block);
        if (below.isValid())
            cursor.setPosition(below.position());
        else
            cursor.movePosition(QTextCursor::End);
        cursor.insertBlock();
        if (m_curBlock >= block)
            ++m_curBlock;
        rememberCurrentLine();
    }
    // The rows above the new one have new numbers, and may have changed
    // sides.
    rewriteRows(0, row);
    m_lineNumberArea->update();
}

void KnitTextEdit::removeRow(int row)
{
    flushChangedRows();
    if (row < 0 || row >= chartHeight()) {
        updateAll();
        return;
    }
    m_grid.removeAt(row);
    rebuildDocument();
}

void KnitTextEdit::insertColumn(int column)
{
    flushChangedRows();
    Stitch *fill = StitchSet::instance()->defaultStitch();
    for (QList<Stitch *> &cells : m_grid)
        cells.insert(qBound(0, column, int(cells.size())), fill);
    updateAllText();
}

void KnitTextEdit::removeColumn(int column)
{
    flushChangedRows();
    for (QList<Stitch *> &cells : m_grid) {
        if (column >= 0 && column < cells.size())
            cells.removeAt(column);
    }
    updateAllText();
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
        // Return moves between lines; it never splits one. Where there is
        // no line to move to, it applies the line.
        cursor.clearSelection();
        const bool moved = cursor.movePosition(event->modifiers() == Qt::ShiftModifier ? QTextCursor::PreviousBlock
                                                                                        : QTextCursor::NextBlock);
        setTextCursor(cursor);
        if (!moved)
            commitLine();
        return;
    }
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
    setViewportMargins(lineNumberAreaWidth(), 0, 0, 0);
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
            const int b = block.blockNumber();
            const int rowNumber = m_skipRows ? 2 * b + 1 : b + 1;
            painter.drawText(0, top, m_lineNumberArea->width(), fontMetrics().height(), Qt::AlignRight,
                             rowHeaderText(rowNumber) + QLatin1Char(' '));
        }
        block = block.next();
        top = bottom;
        bottom = top + qRound(blockBoundingRect(block).height());
    }
}
