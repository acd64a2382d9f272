#include "chartfixtures.h"
#include "charteditor.h"
#include "chartinstructions.h"
#include "imagefixtures.h"
#include "knittextedit.h"
#include "linenumberarea.h"
#include "settings.h"
#include "stitch.h"
#include "stitchset.h"
#include "testenvironment.h"
#include "textengine.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLabel>
#include <QMimeData>
#include <QTextBlock>
#include <QUndoStack>
#include <QtTest>

// A chart's model with its written instructions, wired the way the chart
// tab wires them.
struct WiredChart
{
    WiredChart(int width, int height, KnitStyle style = KnitStyle::Flat)
        : grid(width, height, stitchById("k"))
        , editor(&grid, &stack)
        , engine(editor.document())
    {
        grid.setKnitStyle(style);
        editor.setKeyWords(engine.keyWords());
    }

    QStringList lines() const { return editor.toPlainText().split(QLatin1Char('\n')); }
    // Row `y` of the grid (0 = top), leftmost cell first.
    QString sceneRow(int y) const { return rowIds(grid, y); }
    void moveTo(int block)
    {
        QTextCursor cursor(editor.document()->findBlockByNumber(block));
        editor.setTextCursor(cursor);
    }
    // Replaces line `block` by typing.
    void type(int block, const QString &text)
    {
        moveTo(block);
        QTextCursor cursor = editor.textCursor();
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        editor.setTextCursor(cursor);
        QTest::keyClicks(&editor, text);
    }

    ChartGrid grid;
    QUndoStack stack;
    KnitTextEdit editor;
    TextEngine engine;
};

// The message under the text; "" when none shows.
static QString message(const KnitTextEdit &editor)
{
    const auto *label = editor.findChild<QLabel *>(QStringLiteral("lineMessage"));
    return label && !label->isHidden() ? label->text() : QString();
}

class TestKnitTextEdit : public TestSuite
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { StitchSet::instance()->load(); }

    void newChartLines();
    void gutterLabels();
    void typedLineUpdatesRow();
    void typedPatternLines_data();
    void typedPatternLines();
    void unknownWordRefused();
    void noStepWithoutAChange();
    void cellChangesRewriteOnce();
    void chartText();
    void settersRewrite();
    void keysKeepTheLines_data();
    void keysKeepTheLines();
    void pasteRows_data();
    void pasteRows();
    void pasteIntoSelection();
    void insertAndRemoveColumns();
    void insertAndRemoveRows_data();
    void insertAndRemoveRows();
    void styleAndSideReadBack_data();
    void styleAndSideReadBack();
    void pastedBreaksNeverAddLines_data();
    void pastedBreaksNeverAddLines();
    void textUndoAfterApplying();
    void pendingChangeBeforeShapeChange();
    void typingKeptOverNewRow_data();
    void typingKeptOverNewRow();
    void oneRowChart();
    void highlighting_data();
    void highlighting();
};

void TestKnitTextEdit::newChartLines()
{
    WiredChart chart(10, 5);
    QCOMPARE(chart.editor.toPlainText(), QStringLiteral("k10\np10\nk10\np10\nk10"));
    QCOMPARE(chart.editor.chartWidth(), 10);
    QCOMPARE(chart.editor.chartHeight(), 5);
    QVERIFY(!chart.editor.document()->isUndoAvailable());

    WiredChart empty(0, 3);
    QCOMPARE(empty.editor.toPlainText(), QStringLiteral("\n\n"));
}

void TestKnitTextEdit::gutterLabels()
{
    WiredChart chart(4, 3);
    KnitTextEdit &editor = chart.editor;
    editor.resize(400, 200);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    QVERIFY(editor.viewport()->geometry().left() >= editor.lineNumberAreaWidth());

    auto *area = editor.findChild<LineNumberArea *>();
    QVERIFY(area);
    QCOMPARE(area->width(), editor.lineNumberAreaWidth());
    const QImage image = area->grab().toImage();
    QCOMPARE(image.pixelColor(2, image.height() - 2), QColor(Qt::gray));
    // The labels are drawn in black at the right of the strip.
    const QRect label(image.width() / 2, 0, image.width() / 2, editor.fontMetrics().height());
    QVERIFY(pixelsWhere(image, darkerThan(60), label).count > 0);
}

void TestKnitTextEdit::typedLineUpdatesRow()
{
    WiredChart chart(6, 2);
    chart.type(0, QStringLiteral("K 2, P2,k2"));
    QCOMPARE(chart.sceneRow(1), QStringLiteral("k k k k k k")); // not yet: still on the line
    QTest::keyClick(&chart.editor, Qt::Key_Down);

    QCOMPARE(chart.sceneRow(1), QStringLiteral("k k p p k k"));
    QCOMPARE(chart.stack.count(), 1);
    QCOMPARE(chart.stack.undoText(), QStringLiteral("Update row 1 from instructions"));
    QCOMPARE(chart.lines().first(), QStringLiteral("k2, p2, k2"));

    chart.stack.undo();
    QCoreApplication::processEvents();
    QCOMPARE(chart.sceneRow(1), QStringLiteral("k k k k k k"));
    QCOMPARE(chart.lines().first(), QStringLiteral("k6"));

    // Row 2 is worked from the wrong side: the typed purls are knit cells.
    // A line short of the row waits for Return to fill the rest with No
    // Stitch, at the end of the row.
    chart.type(1, QStringLiteral("p4"));
    QTest::keyClick(&chart.editor, Qt::Key_Up);
    QCOMPARE(chart.editor.textCursor().blockNumber(), 1);
    QCOMPARE(chart.sceneRow(0), QStringLiteral("k k k k k k"));
    QCOMPARE(message(chart.editor), QStringLiteral("Row 2: the line covers 4 of 6 cells. Press Return to fill the rest "
                                                   "with No Stitch, or Escape to put the row back."));
    QTest::keyClick(&chart.editor, Qt::Key_Return);
    QCOMPARE(chart.sceneRow(0), QStringLiteral("k k k k x x"));
    QCOMPARE(chart.lines().at(1), QStringLiteral("p4, x2"));
    QCOMPARE(message(chart.editor), QString());
    QCOMPARE(chart.stack.count(), 1);
}

// Lines as designers type them into a 40-stitch row: each is applied as
// the row it describes, or waits with a message and the chart untouched.
void TestKnitTextEdit::typedPatternLines_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("outcome"); // the line written back, or the message's start
    QTest::newRow("k to end") << "k2, p2, yo, k2tog, k to end" << "k2, p2, yo, k2tog, k34";
    QTest::newRow("two typos") << "k2, pp2, yo, k2tgo, k34" << "Row 1: 'pp2' and 'k2tgo' are not stitches.";
    QTest::newRow("star repeat") << "*k2, p2; rep from * to end" << "k2, p2, k2, p2, k2, p2, k2, p2, k2, p2, k2, p2, "
                                                                     "k2, p2, k2, p2, k2, p2, k2, p2";
    QTest::newRow("blanks, capitals") << "K2 P2 K2 P2" << "Row 1: the line covers 8 of 40 cells.";
    QTest::newRow("trailing blank") << "k2, p2 " << "Row 1: the line covers 4 of 40 cells.";
    QTest::newRow("full stop") << "k3." << "Row 1: the line covers 3 of 40 cells.";
    QTest::newRow("blank before a comma") << "k3 , p3" << "Row 1: the line covers 6 of 40 cells.";
    QTest::newRow("too long") << "k30, p20" << "Row 1: the line covers more than the 40 cells of the row.";
}

void TestKnitTextEdit::typedPatternLines()
{
    QFETCH(QString, typed);
    QFETCH(QString, outcome);
    WiredChart chart(40, 2);
    chart.type(0, typed);
    QTest::keyClick(&chart.editor, Qt::Key_Down);
    if (outcome.startsWith(QLatin1String("Row 1:"))) {
        QVERIFY2(message(chart.editor).startsWith(outcome), qPrintable(message(chart.editor)));
        QCOMPARE(chart.stack.count(), 0);
        QCOMPARE(chart.lines().first(), typed);
        QCOMPARE(chart.editor.textCursor().blockNumber(), 0);
        // Escape puts the chart's line back.
        QTest::keyClick(&chart.editor, Qt::Key_Escape);
        QCOMPARE(chart.lines().first(), QStringLiteral("k40"));
        QCOMPARE(message(chart.editor), QString());
    } else {
        QCOMPARE(chart.lines().first(), outcome);
        QCOMPARE(chart.stack.count(), 1);
        QCOMPARE(message(chart.editor), QString());
    }
}

// A line with a word that is not a stitch is never applied, not even by
// Return; the word is underlined.
void TestKnitTextEdit::unknownWordRefused()
{
    WiredChart chart(6, 2);
    chart.type(0, QStringLiteral("k2, pp2, k2"));
    for (int key : {Qt::Key_Down, Qt::Key_Return, Qt::Key_Return}) {
        QTest::keyClick(&chart.editor, Qt::Key(key));
        QCOMPARE(chart.stack.count(), 0);
        QCOMPARE(chart.editor.textCursor().blockNumber(), 0);
    }
    QCOMPARE(message(chart.editor),
             QStringLiteral("Row 1: 'pp2' is not a stitch. Correct it, or press Escape to put the row back."));
    const QList<QTextLayout::FormatRange> formats = chart.editor.document()->firstBlock().layout()->formats();
    QVERIFY(std::any_of(formats.cbegin(), formats.cend(), [](const QTextLayout::FormatRange &range) {
        return range.start == 4 && range.length == 3 && range.format.underlineStyle() == QTextCharFormat::WaveUnderline;
    }));
    // Corrected, it goes in.
    for (int i = 0; i < 7; ++i)
        QTest::keyClick(&chart.editor, Qt::Key_Backspace);
    QTest::keyClicks(&chart.editor, QStringLiteral("p2, k2"));
    QTest::keyClick(&chart.editor, Qt::Key_Down);
    QCOMPARE(chart.sceneRow(1), QStringLiteral("k k p p k k"));
    QCOMPARE(message(chart.editor), QString());
}

// Passing over lines, or typing and taking it back, changes no row.
void TestKnitTextEdit::noStepWithoutAChange()
{
    WiredChart chart(4, 6);
    chart.moveTo(2);
    chart.moveTo(4);
    QTest::keyClick(&chart.editor, Qt::Key_End);
    QTest::keyClicks(&chart.editor, QStringLiteral("x"));
    QTest::keyClick(&chart.editor, Qt::Key_Backspace);
    QTest::keyClick(&chart.editor, Qt::Key_Down);
    QCOMPARE(chart.stack.count(), 0);
}

void TestKnitTextEdit::cellChangesRewriteOnce()
{
    WiredChart chart(1000, 2);
    QList<Stitch *> purls(1000, StitchSet::instance()->findStitch(QStringLiteral("p")));
    int rewrites = 0;
    connect(chart.editor.document(), &QTextDocument::contentsChange, this, [&] { ++rewrites; });
    ChartEditor(&chart.grid, &chart.stack).updateRow(0, purls);
    QCoreApplication::processEvents();
    QCOMPARE(chart.lines().first(), QStringLiteral("p1000"));
    QCOMPARE(rewrites, 1);
}

void TestKnitTextEdit::chartText()
{
    WiredChart chart(6, 2);
    const char *bottom[] = {"k", "k", "p", "p", "p", "yo"};
    const char *top[] = {"k", "k", "k", "k", "x", "x"};
    for (int x = 0; x < 6; ++x) {
        chart.grid.setStitch(x, 1, stitchById(bottom[x]), 0);
        chart.grid.setStitch(x, 0, stitchById(top[x]), 0);
    }
    QCoreApplication::processEvents();
    QCOMPARE(chart.lines(), (QStringList{"yo, p3, k2", "p4, x2"}));
    // The yarn over works no stitch of the cast-on.
    QCOMPARE(ChartInstructions::text(QStringLiteral("T"), chart.grid),
             QStringLiteral("\nT\nCast on 5 stitches\nRow 1  (rs): yo, p3, k2\nRow 2 (ws): p4\n"));

    // Lace that charts every second row: all rows face the same way.
    chart.grid.setKnitStyle(KnitStyle::Lace);
    chart.grid.setSkipRows(true);
    QCOMPARE(ChartInstructions::text(QStringLiteral("T"), chart.grid),
             QStringLiteral("\nT\nCast on 5 stitches\nRow 1: yo, p3, k2\nRow 3: k4\n"));
}

void TestKnitTextEdit::settersRewrite()
{
    WiredChart chart(3, 2);
    KnitTextEdit &editor = chart.editor;
    QCOMPARE(editor.toPlainText(), QStringLiteral("k3\np3"));
    chart.grid.setSide(Side::WrongSide);
    QCOMPARE(editor.toPlainText(), QStringLiteral("p3\nk3"));
    chart.grid.setKnitStyle(KnitStyle::Round);
    QCOMPARE(editor.toPlainText(), QStringLiteral("p3\np3"));
    QCOMPARE(editor.rowHeaderText(2), QStringLiteral("Round 2"));
    chart.grid.setRowNumberOffset(10);
    QCOMPARE(editor.toPlainText(), QStringLiteral("p3\np3"));
    QCOMPARE(editor.rowHeaderText(1), QStringLiteral("Round 11"));
}

void TestKnitTextEdit::keysKeepTheLines_data()
{
    QTest::addColumn<int>("block"); // the caret starts after the first letter of this line
    QTest::addColumn<bool>("across"); // with a selection from there into the next line
    // Keys: r Return, R Shift+Return, e Ctrl+Enter, < Backspace, [ Ctrl+Backspace,
    // > Delete, $ End, ^ Home, x Ctrl+X, v Down, i a word from an input method,
    // a letter itself.
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("endBlock");

    QTest::newRow("Return moves down, Shift+Return up") << 1 << false << "rRe" << 2;
    QTest::newRow("Backspace at the start, Delete at the end") << 2 << false << "^<[$>" << 2;
    QTest::newRow("typing over lines") << 1 << true << "aA<>xv" << 3;
    QTest::newRow("input method over lines") << 1 << true << "i" << 2;
}

// No key joins lines or splits them: the text has a line for every row.
void TestKnitTextEdit::keysKeepTheLines()
{
    QFETCH(int, block);
    QFETCH(bool, across);
    QFETCH(QString, keys);
    QFETCH(int, endBlock);
    WiredChart chart(10, 5);
    KnitTextEdit *editor = &chart.editor;
    const QString before = editor->toPlainText();
    chart.moveTo(block);
    QTextCursor cursor = editor->textCursor();
    cursor.movePosition(QTextCursor::Right);
    if (across) {
        cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
        cursor.movePosition(QTextCursor::Right, QTextCursor::KeepAnchor);
    }
    editor->setTextCursor(cursor);
    QInputMethodEvent composed;
    composed.setCommitString(QStringLiteral("e"));
    for (const QChar key : keys) {
        switch (key.unicode()) {
        case 'r': QTest::keyClick(editor, Qt::Key_Return); break;
        case 'R': QTest::keyClick(editor, Qt::Key_Return, Qt::ShiftModifier); break;
        case 'e': QTest::keyClick(editor, Qt::Key_Enter, Qt::ControlModifier); break;
        case '<': QTest::keyClick(editor, Qt::Key_Backspace); break;
        case '[': QTest::keyClick(editor, Qt::Key_Backspace, Qt::ControlModifier); break;
        case '>': QTest::keyClick(editor, Qt::Key_Delete); break;
        case '$': QTest::keyClick(editor, Qt::Key_End); break;
        case '^': QTest::keyClick(editor, Qt::Key_Home); break;
        case 'x': QTest::keyClick(editor, Qt::Key_X, Qt::ControlModifier); break;
        case 'v': QTest::keyClick(editor, Qt::Key_Down); break;
        case 'i': QCoreApplication::sendEvent(editor, &composed); break;
        default: QTest::keyClicks(editor, QString(key));
        }
    }
    QCOMPARE(editor->toPlainText(), before);
    QCOMPARE(editor->textCursor().blockNumber(), endBlock);
}

void TestKnitTextEdit::pasteRows_data()
{
    QTest::addColumn<int>("cursorBlock");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("three lines on the second-to-last line")
        << 3 << "p10\nyo, k9\nk2\n" << QStringList{"k10", "p10", "k10", "p10", "yo, k9"};
    QTest::newRow("one line replaces the whole line") << 2 << "k2, p2, k6" << QStringList{"k10", "p10", "k2, p2, k6", "p10", "k10"};
    QTest::newRow("blank lines and carriage returns") << 0 << "\r\n\r\np10\r\n" << QStringList{"p10", "p10", "k10", "p10", "k10"};
}

void TestKnitTextEdit::pasteRows()
{
    QFETCH(int, cursorBlock);
    QFETCH(QString, clipboard);
    QFETCH(QStringList, lines);

    WiredChart chart(10, 5);
    chart.moveTo(cursorBlock);
    QTextCursor cursor = chart.editor.textCursor();
    cursor.movePosition(QTextCursor::Right);
    chart.editor.setTextCursor(cursor);
    QApplication::clipboard()->setText(clipboard);
    chart.editor.paste();
    QCoreApplication::processEvents();
    QCOMPARE(chart.lines(), lines);
    QCOMPARE(chart.editor.document()->blockCount(), 5);
}

void TestKnitTextEdit::pasteIntoSelection()
{
    WiredChart chart(10, 5);
    chart.moveTo(0);
    QTextCursor cursor = chart.editor.textCursor();
    cursor.movePosition(QTextCursor::Right, QTextCursor::KeepAnchor); // "k" of "k10"
    chart.editor.setTextCursor(cursor);
    QApplication::clipboard()->setText(QStringLiteral("p"));
    chart.editor.paste();
    QCOMPARE(chart.lines().first(), QStringLiteral("p10"));
    QCOMPARE(chart.sceneRow(4), QStringLiteral("k k k k k k k k k k"));
    chart.moveTo(3);
    QCOMPARE(chart.sceneRow(4), QStringLiteral("p p p p p p p p p p"));
}

void TestKnitTextEdit::insertAndRemoveColumns()
{
    WiredChart chart(4, 2);
    Settings::instance()->setValue(QStringLiteral("defaultStitch"), QStringLiteral("yo"));
    chart.grid.insertColumn(1, StitchSet::instance()->defaultStitch());
    QCOMPARE(chart.lines(), (QStringList{"k3, yo, k1", "p1, yo, p3"}));
    QCOMPARE(chart.editor.chartWidth(), 5);
    QCOMPARE(chart.editor.generateRowFromText(0).size(), 5);
    chart.grid.removeColumn(0);
    QCOMPARE(chart.lines(), (QStringList{"k3, yo", "yo, p3"}));
    chart.grid.removeColumn(10);
    QCOMPARE(chart.editor.chartWidth(), 4);
}

void TestKnitTextEdit::insertAndRemoveRows_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("lines");

    // Before: the middle row holds a yarn over; lines bottom row first.
    QTest::newRow("flat, new top row") << 0 << 0 << QStringList{"k3", "p1, yo, p1", "k3", "p3"};
    QTest::newRow("flat, new bottom row") << 0 << 3 << QStringList{"k3", "p3", "k1, yo, k1", "p3"};
    QTest::newRow("round, new top row") << 1 << 0 << QStringList{"k3", "k1, yo, k1", "k3", "k3"};
    QTest::newRow("round, new bottom row") << 1 << 3 << QStringList{"k3", "k3", "k1, yo, k1", "k3"};
    QTest::newRow("round, new middle row") << 1 << 1 << QStringList{"k3", "k1, yo, k1", "k3", "k3"};
}

void TestKnitTextEdit::insertAndRemoveRows()
{
    QFETCH(int, style);
    QFETCH(int, row);
    QFETCH(QStringList, lines);

    WiredChart chart(3, 3, KnitStyle(style));
    KnitTextEdit &editor = chart.editor;
    chart.grid.setStitch(1, 1, stitchById("yo"), 0);
    editor.flushChangedRows();
    const QString before = editor.toPlainText();

    chart.grid.insertRow(row, stitchById("k"));
    QCOMPARE(editor.chartHeight(), 4);
    QCOMPARE(editor.toPlainText().split(QLatin1Char('\n')), lines);

    chart.grid.removeRow(row);
    QCOMPARE(editor.chartHeight(), 3);
    QCOMPARE(editor.toPlainText(), before);
    chart.grid.removeRow(-1);
    QCOMPARE(editor.toPlainText(), before);
}

void TestKnitTextEdit::styleAndSideReadBack_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("side");
    QTest::addColumn<int>("block");
    QTest::addColumn<QString>("row"); // the row of that line, leftmost cell first

    QTest::newRow("round") << 1 << "Right Side" << 1 << "x x p p p p";
    QTest::newRow("round from the wrong side") << 1 << "Wrong Side" << 1 << "k k k k x x";
    QTest::newRow("lace, second row") << 2 << "Right Side" << 1 << "k k k k x x";
    QTest::newRow("flat from the wrong side, first row") << 0 << "Wrong Side" << 0 << "k k k k x x";
}

// Typing a line gives the row that writes that line again.
void TestKnitTextEdit::styleAndSideReadBack()
{
    QFETCH(int, style);
    QFETCH(QString, side);
    QFETCH(int, block);
    QFETCH(QString, row);
    WiredChart chart(6, 3, KnitStyle(style));
    chart.grid.setSide(ChartOptions::sideFromName(side));
    chart.type(block, QStringLiteral("p4"));
    QTest::keyClick(&chart.editor, Qt::Key_Return); // told that the line is short
    QTest::keyClick(&chart.editor, Qt::Key_Return); // applied
    QCOMPARE(chart.sceneRow(2 - block), row);
    QCOMPARE(chart.lines().at(block), chart.editor.rowInstructionsText(2 - block, true));
    QVERIFY(chart.lines().at(block).startsWith(QLatin1String("p4")) || chart.lines().at(block).endsWith(QLatin1String("p4")));
}

void TestKnitTextEdit::pastedBreaksNeverAddLines_data()
{
    QTest::addColumn<QString>("clipboard");
    QTest::newRow("carriage return") << "k2\rp2";
    QTest::newRow("paragraph separator") << QString("k2") + QChar(0x2029) + "p2";
    QTest::newRow("line separator") << QString("k2") + QChar(0x2028) + "p2";
    QTest::newRow("frame marks") << QString("k2") + QChar(0xfdd0) + QChar(0xfdd1);
}

void TestKnitTextEdit::pastedBreaksNeverAddLines()
{
    QFETCH(QString, clipboard);
    WiredChart chart(10, 5);
    QApplication::clipboard()->setText(clipboard);
    for (bool selection : {false, true}) {
        chart.moveTo(1);
        if (selection) {
            QTextCursor cursor = chart.editor.textCursor();
            cursor.movePosition(QTextCursor::Right, QTextCursor::KeepAnchor);
            chart.editor.setTextCursor(cursor);
        }
        chart.editor.paste();
        QCOMPARE(chart.editor.document()->blockCount(), 5);
    }
}

void TestKnitTextEdit::textUndoAfterApplying()
{
    WiredChart chart(10, 3);
    chart.type(0, QStringLiteral("p10"));
    QTest::keyClick(&chart.editor, Qt::Key_Down);
    QCOMPARE(chart.sceneRow(2), QStringLiteral("p p p p p p p p p p"));
    // The text cannot undo what the chart now holds; Ctrl+Z there undoes
    // the chart's change, and Ctrl+Y redoes it.
    QVERIFY(!chart.editor.document()->isUndoAvailable());
    QTest::keyClick(&chart.editor, Qt::Key_Z, Qt::ControlModifier);
    QCoreApplication::processEvents();
    QCOMPARE(chart.sceneRow(2), QStringLiteral("k k k k k k k k k k"));
    QCOMPARE(chart.lines().first(), QStringLiteral("k10"));
    QTest::keyClick(&chart.editor, Qt::Key_Y, Qt::ControlModifier);
    QCoreApplication::processEvents();
    QCOMPARE(chart.lines().first(), QStringLiteral("p10"));

    // While a line is being edited, Ctrl+Z takes back its typing only.
    chart.type(1, QStringLiteral("k5"));
    QTest::keyClick(&chart.editor, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(chart.stack.index(), 1);
    QVERIFY(chart.lines().at(1) != QLatin1String("k5"));
}

void TestKnitTextEdit::pendingChangeBeforeShapeChange()
{
    WiredChart chart(3, 5, KnitStyle::Round);
    chart.grid.setStitch(1, 2, stitchById("yo"), 0);
    chart.grid.insertRow(1, stitchById("k"));
    QCOMPARE(chart.editor.toPlainText().split(QLatin1Char('\n')).at(2), QStringLiteral("k1, yo, k1"));
}

void TestKnitTextEdit::typingKeptOverNewRow_data()
{
    QTest::addColumn<int>("newRow");
    QTest::newRow("new row above the typed one") << 0;
    QTest::newRow("new row below it") << 3;
}

// A row inserted (from the chart's menu, say) while a line is typed but not
// yet applied: the typing stays on its line, the caret with it, and is
// applied to its row once the caret leaves.
void TestKnitTextEdit::typingKeptOverNewRow()
{
    QFETCH(int, newRow);
    WiredChart chart(3, 3, KnitStyle::Round); // no row changes side
    chart.type(2, QStringLiteral("p3")); // the top row
    chart.grid.insertRow(newRow, stitchById("k"));
    const int typedBlock = newRow == 0 ? 2 : 3;
    QCOMPARE(chart.lines().at(typedBlock), QStringLiteral("p3"));
    QCOMPARE(chart.editor.textCursor().blockNumber(), typedBlock);
    QCOMPARE(chart.stack.count(), 0);
    QTest::keyClick(&chart.editor, Qt::Key_Up);
    QCOMPARE(chart.sceneRow(newRow == 0 ? 1 : 0), QStringLiteral("p p p"));
}

void TestKnitTextEdit::oneRowChart()
{
    WiredChart chart(4, 1);
    chart.type(0, QStringLiteral("p4"));
    QTest::keyClick(&chart.editor, Qt::Key_Return);
    QCOMPARE(chart.sceneRow(0), QStringLiteral("p p p p"));

    QApplication::clipboard()->setText(QStringLiteral("k2, p2"));
    chart.editor.paste();
    QCOMPARE(chart.sceneRow(0), QStringLiteral("p p p p")); // short of the row: waits
    QTest::keyClick(&chart.editor, Qt::Key_Return);
    QCOMPARE(chart.sceneRow(0), QStringLiteral("p p k k"));
}

void TestKnitTextEdit::highlighting_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("bold"); // '#' where the text is highlighted

    QTest::newRow("whole keyword") << "k2tog" << "#####";
    QTest::newRow("not inside a longer word") << "kwise" << "-----";
    QTest::newRow("any case, as it is read") << "K2TOG" << "#####";
    QTest::newRow("literal abbreviation") << "m1+" << "###";
    QTest::newRow("the count is no abbreviation") << "yo, k12" << "##--#--";
    QTest::newRow("blanks separate items") << "k3 , p3" << "#----#-";
    QTest::newRow("what is not a stitch is not coloured") << "k2tgo, p3" << "-------#-";
}

void TestKnitTextEdit::highlighting()
{
    QFETCH(QString, text);
    QFETCH(QString, bold);
    Stitch *plus = StitchSet::instance()->findOrAdd(QStringLiteral("m1+"));
    if (plus->abbrivs().isEmpty())
        plus->addAbbriv(QStringLiteral("m1+"));
    QTextDocument document;
    TextEngine engine(&document);
    document.setPlainText(text);
    engine.rehighlight();
    const QTextLayout *layout = document.firstBlock().layout();
    QString actual(text.size(), QLatin1Char('-'));
    for (const QTextLayout::FormatRange &range : layout->formats()) {
        if (range.format.fontWeight() == QFont::Bold && range.format.foreground().color() == QColor(Qt::darkMagenta))
            actual.replace(range.start, range.length, QString(range.length, QLatin1Char('#')));
    }
    QCOMPARE(actual, bold);
}

YARNWISE_TEST_MAIN(TestKnitTextEdit)
#include "tst_knittextedit.moc"
