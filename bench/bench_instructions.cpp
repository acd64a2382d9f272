// Written instructions: writing every line of a garment-size chart, and a
// typed line of 1000 stitches read back and applied to a 1000-wide row,
// which must fit within one frame. With an argument, saves a picture of a
// small chart's text pane to that PNG file.

#include "chartgrid.h"
#include "chartinstructions.h"
#include "instructionparser.h"
#include "instructionwriter.h"
#include "knittextedit.h"
#include "stitch.h"
#include "stitchset.h"
#include "testenvironment.h"
#include "benchsupport.h"
#include "textengine.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QUndoStack>
#include <QRandomGenerator>
#include <QTextBlock>
#include <QTextStream>
#include <QtTest>

namespace {

QTextStream &out = bench::out();

// A mixed row: runs of knit, purl, yarn overs, decreases and cables.
QList<Stitch *> mixedRow(int width, QRandomGenerator &random)
{
    const char *ids[] = {"k", "p", "yo", "k2tog", "ssk", "22rc", "k1 tbl"};
    QList<Stitch *> row;
    while (row.size() < width) {
        Stitch *stitch = StitchSet::instance()->findStitch(QString::fromLatin1(ids[random.bounded(7)]));
        const int cells = stitch->cellsPerStitch() * random.bounded(1, 4);
        for (int i = 0; i < cells && row.size() < width; ++i)
            row.append(stitch);
    }
    return row;
}

void writeGarment()
{
    ChartGrid grid(300, 400, StitchSet::instance()->defaultStitch());
    QRandomGenerator random(7);
    for (int y = 0; y < 400; ++y) {
        const QList<Stitch *> row = mixedRow(300, random);
        for (int x = 0; x < 300; ++x)
            grid.setStitch(x, y, row.at(x), 0);
    }
    QUndoStack stack;
    KnitTextEdit editor(&grid, &stack);

    QElapsedTimer timer;
    timer.start();
    QString lines;
    for (int row = 0; row < 400; ++row)
        lines += editor.rowInstructionsText(row, true);
    const qint64 generated = timer.restart();
    editor.updateAllText();
    const qint64 rewritten = timer.restart();
    TextEngine engine(editor.document());
    const qint64 highlighted = timer.restart();
    ChartInstructions::text(QStringLiteral("Sweater"), grid);
    const qint64 whole = timer.elapsed();
    out << QStringLiteral("300 x 400 chart: lines %1 ms, text pane %2 ms, highlighting %3 ms, whole-chart text %4 ms\n")
               .arg(generated).arg(rewritten).arg(highlighted).arg(whole);
}

// The published text of a chart of `columns` x `rows` whose rows repeat 8
// lace stitches across, once with a repeat box over them and once with
// every row searched for its repeat. The floor is the plain text of the
// same chart: the same walk over the model, every row written in full.
void writePublished(int columns, int rows)
{
    const char *ids[] = {"k", "yo", "ssk", "k", "p", "k2tog", "yo", "k"};
    ChartGrid grid(columns, rows, StitchSet::instance()->defaultStitch());
    for (int y = 0; y < rows; ++y) {
        const int shift = y % 8;
        for (int x = 0; x < columns; ++x)
            grid.setStitch(x, y, StitchSet::instance()->findStitch(QString::fromLatin1(ids[(x + shift) % 8])), 0);
    }
    QElapsedTimer timer;
    timer.start();
    const QString plain = ChartInstructions::text(QStringLiteral("Shawl"), grid, WrittenStyle::Plain);
    const double floor = timer.nsecsElapsed() / 1e6;

    WrittenOptions written;
    written.style = WrittenStyle::Published;
    grid.setWrittenOptions(written);
    grid.setRepeats({RepeatBox{QRect(3, 0, 8, rows), Qt::red}});
    timer.restart();
    const QString boxed = ChartInstructions::text(QStringLiteral("Shawl"), grid);
    const double withBox = timer.nsecsElapsed() / 1e6;

    grid.setRepeats({});
    written.findRepeats = true;
    grid.setWrittenOptions(written);
    timer.restart();
    const QString found = ChartInstructions::text(QStringLiteral("Shawl"), grid);
    const double searched = timer.nsecsElapsed() / 1e6;
    out << QStringLiteral("%1 x %2 published: with a box %3 ms, repeats searched %4 ms; plain text (floor) %5 ms; "
                          "ratios %6 and %7\n")
               .arg(columns).arg(rows).arg(withBox, 0, 'f', 1).arg(searched, 0, 'f', 1).arg(floor, 0, 'f', 1)
               .arg(withBox / floor, 0, 'f', 1).arg(searched / floor, 0, 'f', 1);
    if (plain.isEmpty() || boxed.size() >= plain.size() || found.size() >= plain.size())
        out << "the published text is not shorter than the plain one\n";
}

// Types `line` over the first line of a 1000-wide chart and moves the
// cursor away, which reads the line back, applies it to the row and writes
// the line again. The floor does the same work on plain values: the line
// read, its stitches put into an array, the line written from them.
void typeWideRow(const QString &what, const QString &line)
{
    ChartGrid grid(1000, 4, StitchSet::instance()->defaultStitch());
    QUndoStack stack;
    KnitTextEdit editor(&grid, &stack);
    TextEngine engine(editor.document());
    editor.setKeyWords(engine.keyWords());
    QCoreApplication::processEvents();

    QTextCursor cursor(editor.document()->firstBlock());
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    editor.setTextCursor(cursor);
    editor.insertPlainText(line);

    QElapsedTimer timer;
    timer.start();
    const QStringList cells = editor.generateRowFromText(0);
    const double parsed = timer.nsecsElapsed() / 1e6;
    timer.restart();
    QTest::keyClick(&editor, Qt::Key_Down);
    const double applied = timer.nsecsElapsed() / 1e6;

    const InstructionParser parser(engine.keyWords());
    std::vector<Stitch *> plain(1000);
    timer.restart();
    const QList<Stitch *> row = InstructionParser::row(parser.cells(line, 1000), 1000, false);
    std::copy(row.begin(), row.end(), plain.begin());
    const QString written = InstructionWriter::writeRow(QList<Stitch *>(plain.begin(), plain.end()), false, true);
    const double floor = timer.nsecsElapsed() / 1e6;
    out << QStringLiteral("%1 (%2 cells): parse %3 ms, parse + apply + rewrite %4 ms, floor %5 ms, ratio %6\n")
               .arg(what).arg(cells.size()).arg(parsed, 0, 'f', 2).arg(applied, 0, 'f', 2).arg(floor, 0, 'f', 2)
               .arg(applied / floor, 0, 'f', 1);
    if (written.isEmpty())
        out << "nothing written\n";
}

// A look at the text pane of a small mixed chart, gutter included.
void grabPane(const QString &path)
{
    ChartGrid grid(20, 15, StitchSet::instance()->defaultStitch());
    QUndoStack stack;
    KnitTextEdit editor(&grid, &stack);
    TextEngine engine(editor.document());
    QRandomGenerator random(3);
    for (int y = 0; y < 15; ++y) {
        const QList<Stitch *> row = mixedRow(20, random);
        for (int x = 0; x < 20; ++x)
            grid.setStitch(x, y, row.at(x), 0);
    }
    editor.flushChangedRows();
    editor.resize(640, 420);
    editor.show();
    if (!QTest::qWaitForWindowExposed(&editor))
        out << "the window did not show\n";
    QCoreApplication::processEvents();
    editor.grab().save(path);
    out << "wrote " << path << "\n";
}

} // namespace

int main(int argc, char *argv[])
{
    const auto run = bench::start(argc, argv);
    if (argc > 1) {
        grabPane(QString::fromLocal8Bit(argv[1]));
        return 0;
    }
    writeGarment();
    writePublished(300, 400);
    writePublished(1000, 1000);

    QStringList single;
    for (int i = 0; i < 500; ++i)
        single << QStringLiteral("k1") << QStringLiteral("p1");
    typeWideRow(QStringLiteral("1000 single stitches"), single.join(QLatin1String(", ")));
    QRandomGenerator random(11);
    const QString mixed = InstructionWriter::writeRow(mixedRow(1000, random), false, true);
    typeWideRow(QStringLiteral("%1 mixed items").arg(mixed.count(QLatin1Char(',')) + 1), mixed);
    return 0;
}
