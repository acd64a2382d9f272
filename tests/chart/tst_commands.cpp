#include "chartfixtures.h"
#include "charteditor.h"
#include "copyknitcell.h"
#include "insertcolumn.h"
#include "insertrow.h"
#include "removecolumn.h"
#include "removerow.h"
#include "setborder.h"
#include "setcellcolor.h"
#include "setcellsize.h"
#include "setcellstitch.h"
#include "stitch.h"
#include "stitchset.h"
#include "swapknitcells.h"
#include "testenvironment.h"

#include <QUndoStack>
#include <QtTest>

#include <functional>

using CommandFactory = std::function<QUndoCommand *(ChartGrid *)>;
using EditorAction = std::function<void(ChartEditor &)>;
Q_DECLARE_METATYPE(CommandFactory)
Q_DECLARE_METATYPE(EditorAction)

// The undo commands and the edits made of them: each done, undone and
// redone gives exactly the chart before and after, under its name in the
// Undo menu.
class TestCommands : public TestSuite
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { StitchSet::instance()->load(); }

    void undoRedoRestoreEverything_data();
    void undoRedoRestoreEverything();
    void editsUndoRedo_data();
    void editsUndoRedo();
    void bordersMirrorOnNeighbours();
    void borderAroundAndRemoved();
    void commandsOffTheGridDoNothing();
    void updateRowNumbersImages();
    void flips_data();
    void flips();
    void mirrors();
    void mirrorTurnsStitches_data();
    void mirrorTurnsStitches();
    void removingKeepsOneRowAndColumn();
    void stitchOnSelectionSpreads();
    void replacer();
};

void TestCommands::undoRedoRestoreEverything_data()
{
    QTest::addColumn<CommandFactory>("make");
    QTest::addColumn<QString>("text");
    QTest::newRow("stitch") << CommandFactory([](ChartGrid *g) {
        return new SetCellStitch(QPoint(3, 1), g, stitchById("yo"), 0);
    }) << "Set stitch to " + stitchById("yo")->name();
    QTest::newRow("colour") << CommandFactory([](ChartGrid *g) { return new SetCellColor(QPoint(0, 3), g, Qt::red); })
                            << "Set stitch Color to #ff0000";
    QTest::newRow("cell size") << CommandFactory([](ChartGrid *g) { return new SetCellSize(QSize(30, 28), g); })
                               << "Set stitch size - 30x28";
    QTest::newRow("insert top row") << CommandFactory([](ChartGrid *g) { return new InsertRow(0, g); })
                                    << "Insert row at 0";
    QTest::newRow("insert bottom row") << CommandFactory([](ChartGrid *g) { return new InsertRow(4, g); })
                                       << "Insert row at 4";
    QTest::newRow("insert column") << CommandFactory([](ChartGrid *g) { return new InsertColumn(2, g); })
                                   << "Insert column at 2";
    QTest::newRow("remove top row with borders") << CommandFactory([](ChartGrid *g) { return new RemoveRow(0, g); })
                                                 << "Remove row at 0";
    QTest::newRow("remove cable row") << CommandFactory([](ChartGrid *g) { return new RemoveRow(2, g); })
                                      << "Remove row at 2";
    QTest::newRow("remove column with borders") << CommandFactory([](ChartGrid *g) {
        return new RemoveColumn(2, g);
    }) << "Remove column at 2";
    QTest::newRow("remove last column") << CommandFactory([](ChartGrid *g) { return new RemoveColumn(4, g); })
                                        << "Remove column at 4";
    QTest::newRow("swap") << CommandFactory([](ChartGrid *g) {
        return new SwapKnitCells(QPoint(0, 0), QPoint(4, 3), g);
    }) << "Swap stitches";
    QTest::newRow("copy") << CommandFactory([](ChartGrid *g) {
        return new CopyKnitCell(QPoint(2, 2), QPoint(0, 1), g);
    }) << "Copy Stitch";
    QTest::newRow("border top") << CommandFactory([](ChartGrid *g) {
        return new SetBorderTop(QPoint(1, 3), true, Qt::red, g);
    }) << "Set border On";
    QTest::newRow("border bottom off") << CommandFactory([](ChartGrid *g) {
        return new SetBorderBottom(QPoint(2, 0), false, Qt::black, g);
    }) << "Set border Off";
    QTest::newRow("border left") << CommandFactory([](ChartGrid *g) {
        return new SetBorderLeft(QPoint(3, 1), true, Qt::blue, g);
    }) << "Set border On";
    QTest::newRow("border right at the edge") << CommandFactory([](ChartGrid *g) {
        return new SetBorderRight(QPoint(4, 0), true, Qt::blue, g);
    }) << "Set border On";
}

void TestCommands::undoRedoRestoreEverything()
{
    QFETCH(CommandFactory, make);
    QFETCH(QString, text);
    const std::unique_ptr<ChartGrid> grid = sampleGrid();
    QUndoStack stack;
    const QStringList before = snapshot(*grid);
    stack.push(make(grid.get()));
    QCOMPARE(stack.text(0), text);
    const QStringList after = snapshot(*grid);
    QVERIFY(after != before);

    stack.undo();
    QCOMPARE(snapshot(*grid), before);
    stack.redo();
    QCOMPARE(snapshot(*grid), after);
    stack.undo();
    QCOMPARE(snapshot(*grid), before);
}

void TestCommands::editsUndoRedo_data()
{
    QTest::addColumn<EditorAction>("edit");
    QTest::addColumn<QString>("text");
    QTest::newRow("row from instructions") << EditorAction([](ChartEditor &e) {
        e.updateRow(1, QList<Stitch *>(5, stitchById("p")));
    }) << "Update row 2 from instructions";
    QTest::newRow("colour on selection") << EditorAction([](ChartEditor &e) {
        e.setColorOn({QPoint(0, 0), QPoint(1, 0)}, Qt::cyan);
    }) << "Set color on lasso";
    QTest::newRow("border on selection") << EditorAction([](ChartEditor &e) {
        e.setBorderOn({QPoint(1, 1), QPoint(2, 1)}, ChartCell::Bottom, true, Qt::black);
    }) << "Set border On";
    QTest::newRow("remove rows") << EditorAction([](ChartEditor &e) { e.removeRows(QRect(0, 1, 5, 2)); })
                                 << "Remove row(s)";
    QTest::newRow("remove columns") << EditorAction([](ChartEditor &e) { e.removeColumns(QRect(1, 0, 3, 4)); })
                                    << "Remove column(s)";
    QTest::newRow("flip") << EditorAction([](ChartEditor &e) { e.flipHorizontally(QRect(0, 0, 5, 4)); })
                          << "Flip selection horizontally";
    QTest::newRow("mirror") << EditorAction([](ChartEditor &e) { e.mirrorVertically(QRect(0, 0, 5, 2)); })
                            << "Mirror selection vertically";
    QTest::newRow("replace") << EditorAction([](ChartEditor &e) {
        e.replaceStitch(QStringLiteral("c4f"), stitchById("yo"));
    }) << "Replace Stitch";
    QTest::newRow("mark repeat") << EditorAction([](ChartEditor &e) { e.markRepeat(QRect(0, 0, 2, 9), Qt::red); })
                                 << "Mark repeat";
    QTest::newRow("mark a marked repeat recolours it") << EditorAction([](ChartEditor &e) {
        e.markRepeat(QRect(1, 0, 3, 1), Qt::green);
    }) << "Mark repeat";
    QTest::newRow("remove repeats under the selection") << EditorAction([](ChartEditor &e) {
        e.removeRepeats(QRect(0, 0, 1, 2));
    }) << "Remove repeat";
    QTest::newRow("repeat colour") << EditorAction([](ChartEditor &e) { e.recolorRepeats(Qt::magenta); })
                                   << "Repeat color";
    QTest::newRow("mark shaping rows") << EditorAction([](ChartEditor &e) {
        e.markShapingRows(QRect(0, 0, 5, 3), true);
    }) << "Mark shaping rows";
    QTest::newRow("unmark shaping rows") << EditorAction([](ChartEditor &e) {
        // Nothing to take off the first row: one step for the rest.
        e.markShapingRows(QRect(0, 0, 5, 4), false);
        e.markShapingRows(QRect(0, 0, 5, 1), false);
    }) << "Unmark shaping rows";
}

void TestCommands::editsUndoRedo()
{
    QFETCH(EditorAction, edit);
    QFETCH(QString, text);
    const std::unique_ptr<ChartGrid> grid = sampleGrid();
    QUndoStack stack;
    ChartEditor editor(grid.get(), &stack);
    const QStringList before = snapshot(*grid);
    edit(editor);
    QCOMPARE(stack.count(), 1);
    QCOMPARE(stack.text(0), text);
    const QStringList after = snapshot(*grid);
    QVERIFY(after != before);
    stack.undo();
    QCOMPARE(snapshot(*grid), before);
    stack.redo();
    QCOMPARE(snapshot(*grid), after);
}

void TestCommands::bordersMirrorOnNeighbours()
{
    const std::unique_ptr<ChartGrid> grid = sampleGrid();
    QUndoStack stack;
    stack.push(new SetBorderTop(QPoint(1, 3), true, Qt::red, grid.get()));
    QVERIFY(grid->hasBorder(1, 3, ChartCell::Top));
    QVERIFY(grid->hasBorder(1, 2, ChartCell::Bottom));
    QCOMPARE(grid->borderColor(1, 2, ChartCell::Bottom), QColor(Qt::red));

    stack.push(new SetBorderLeft(QPoint(0, 1), true, Qt::red, grid.get()));
    QVERIFY(grid->hasBorder(0, 1, ChartCell::Left)); // the outer edge: one cell only
    stack.undo();
    QVERIFY(!grid->hasBorder(0, 1, ChartCell::Left));
}

// A selection's outline in one step, and its borders gone in one: the
// cells around it share the outline's edges.
void TestCommands::borderAroundAndRemoved()
{
    const std::unique_ptr<ChartGrid> grid = sampleGrid();
    QUndoStack stack;
    ChartEditor editor(grid.get(), &stack);
    editor.removeBorders(QRect(0, 0, 5, 4));
    stack.clear();
    editor.removeBorders(QRect(0, 0, 5, 4)); // none left
    QCOMPARE(stack.count(), 0);

    editor.borderAround(QRect(1, 1, 3, 2), Qt::blue);
    QCOMPARE(stack.count(), 1);
    QCOMPARE(stack.text(0), QStringLiteral("Border around selection"));
    for (int x = 1; x <= 3; ++x) {
        QVERIFY(grid->hasBorder(x, 1, ChartCell::Top));
        QVERIFY(grid->hasBorder(x, 0, ChartCell::Bottom));
        QVERIFY(grid->hasBorder(x, 2, ChartCell::Bottom));
        QVERIFY(!grid->hasBorder(x, 1, ChartCell::Bottom));
    }
    for (int y = 1; y <= 2; ++y) {
        QVERIFY(grid->hasBorder(1, y, ChartCell::Left));
        QVERIFY(grid->hasBorder(0, y, ChartCell::Right));
        QVERIFY(grid->hasBorder(3, y, ChartCell::Right));
        QVERIFY(!grid->hasBorder(2, y, ChartCell::Left));
    }
    QCOMPARE(grid->borderColor(3, 2, ChartCell::Right), QColor(Qt::blue));

    editor.removeBorders(QRect(2, 1, 1, 1));
    QCOMPARE(stack.count(), 2);
    QCOMPARE(stack.text(1), QStringLiteral("Remove borders"));
    QVERIFY(!grid->hasBorder(2, 1, ChartCell::Top));
    QVERIFY(!grid->hasBorder(2, 0, ChartCell::Bottom));
    QVERIFY(grid->hasBorder(1, 1, ChartCell::Top));
    const QStringList outlined = [&] { stack.undo(); return snapshot(*grid); }();
    editor.removeBorders(QRect(0, 0, 5, 4));
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 5; ++x) {
            for (const ChartCell::Edge edge : {ChartCell::Left, ChartCell::Right, ChartCell::Top, ChartCell::Bottom})
                QVERIFY(!grid->hasBorder(x, y, edge));
        }
    }
    stack.undo();
    QCOMPARE(snapshot(*grid), outlined);
}

void TestCommands::commandsOffTheGridDoNothing()
{
    const std::unique_ptr<ChartGrid> grid = sampleGrid();
    const QStringList before = snapshot(*grid);
    QUndoStack stack;
    stack.push(new SetCellStitch(QPoint(5, 0), grid.get(), stitchById("yo"), 0));
    stack.push(new SetBorderTop(QPoint(0, 4), true, Qt::red, grid.get()));
    stack.push(new RemoveRow(9, grid.get()));
    stack.push(new SwapKnitCells(QPoint(0, 0), QPoint(-1, 0), grid.get()));
    stack.push(new CopyKnitCell(QPoint(7, 0), QPoint(0, 0), grid.get()));
    ChartEditor editor(grid.get(), &stack);
    const int pushed = stack.count();
    editor.setStitch(QPoint(0, 9), stitchById("p"), 0);
    editor.setColor(QPoint(-1, 0), Qt::red);
    editor.markRepeat(QRect(5, 0, 2, 2), Qt::red);
    editor.removeRepeats(QRect(4, 0, 1, 1));
    QCOMPARE(stack.count(), pushed);
    QCOMPARE(snapshot(*grid), before);
    while (stack.canUndo())
        stack.undo();
    QCOMPARE(snapshot(*grid), before);
}

void TestCommands::updateRowNumbersImages()
{
    ChartGrid grid(5, 2, stitchById("k"));
    QUndoStack stack;
    ChartEditor editor(&grid, &stack);
    Stitch *cable = stitchById("c2f");
    editor.updateRow(0, {cable, cable, cable, cable});
    QCOMPARE(stack.text(0), QStringLiteral("Update row 1 from instructions"));
    QCOMPARE((QList<int>{grid.imgPos(0, 1), grid.imgPos(1, 1), grid.imgPos(2, 1), grid.imgPos(3, 1)}),
             (QList<int>{0, 1, 0, 1}));
    QCOMPARE(rowIds(grid, 1), QStringLiteral("c2f c2f c2f c2f k"));

    stack.undo();
    QCOMPARE(rowIds(grid, 1), QStringLiteral("k k k k k"));
    // Rows above the chart are not there to update.
    editor.updateRow(2, {cable});
    QCOMPARE(stack.count(), 1);
}

void TestCommands::flips_data()
{
    QTest::addColumn<bool>("horizontal");
    QTest::addColumn<QString>("top");
    QTest::addColumn<QString>("bottom");
    QTest::newRow("horizontal") << true << "p k ssk k" << "k2tog yo p k";
    QTest::newRow("vertical") << false << "k p yo k2tog" << "k ssk k p";
}

void TestCommands::flips()
{
    QFETCH(bool, horizontal);
    QFETCH(QString, top);
    QFETCH(QString, bottom);
    ChartGrid grid(4, 2, stitchById("k"));
    const char *rows[2][4] = {{"k", "ssk", "k", "p"}, {"k", "p", "yo", "k2tog"}};
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x)
            grid.setStitch(x, y, stitchById(rows[y][x]), 0);
    }
    QUndoStack stack;
    ChartEditor editor(&grid, &stack);
    if (horizontal)
        editor.flipHorizontally(QRect(0, 0, 4, 2));
    else
        editor.flipVertically(QRect(0, 0, 4, 2));
    QCOMPARE(rowIds(grid, 0), top);
    QCOMPARE(rowIds(grid, 1), bottom);

    // A single cell has nothing to flip.
    editor.flipHorizontally(QRect(0, 0, 1, 1));
    QCOMPARE(stack.count(), 1);
}

void TestCommands::mirrors()
{
    ChartGrid grid(5, 3, stitchById("k"));
    grid.setStitch(0, 0, stitchById("yo"), 0);
    grid.setStitch(1, 0, stitchById("p"), 0);
    QUndoStack stack;
    ChartEditor editor(&grid, &stack);
    // Reversed into the columns to the right; what does not fit is dropped.
    editor.mirrorHorizontally(QRect(0, 0, 3, 1));
    QCOMPARE(rowIds(grid, 0), QStringLiteral("yo p k k p"));
    editor.mirrorVertically(QRect(0, 0, 2, 1));
    QCOMPARE(rowIds(grid, 1), QStringLiteral("yo p k k k"));
    QCOMPARE(rowIds(grid, 2), QStringLiteral("k k k k k"));
    // No room to the right: an empty step.
    editor.mirrorHorizontally(QRect(3, 0, 2, 1));
    QCOMPARE(stack.count(), 3);
    QCOMPARE(rowIds(grid, 0), QStringLiteral("yo p k k p"));
}

// Worked in mirror image a cable still reads whole, its pieces numbered
// from the left, and with the option a stitch that leans leans the other
// way.
void TestCommands::mirrorTurnsStitches_data()
{
    QTest::addColumn<bool>("flip");
    QTest::addColumn<bool>("swap");
    QTest::addColumn<QString>("turned");
    QTest::newRow("mirror") << false << false << "k2tog c4f c4f c4f c4f c4f c4f c4f c4f k2tog k";
    QTest::newRow("mirror, swapping") << false << true << "k2tog c4f c4f c4f c4f c4b c4b c4b c4b ssk k";
    QTest::newRow("flip, swapping") << true << true << "k c4b c4b c4b c4b ssk k k k k k";
}

void TestCommands::mirrorTurnsStitches()
{
    QFETCH(bool, flip);
    QFETCH(bool, swap);
    QFETCH(QString, turned);
    ChartGrid grid(11, 1, stitchById("k"));
    grid.setStitch(0, 0, stitchById("k2tog"), 0);
    for (int i = 0; i < 4; ++i)
        grid.setStitch(1 + i, 0, stitchById("c4f"), i);
    QUndoStack stack;
    ChartEditor editor(&grid, &stack);
    if (flip)
        editor.flipHorizontally(QRect(0, 0, 6, 1), swap);
    else
        editor.mirrorHorizontally(QRect(0, 0, 5, 1), swap);
    QCOMPARE(rowIds(grid, 0), turned);
    QCOMPARE(stack.count(), 1);
    const int cable = flip ? 1 : 5;
    for (int i = 0; i < 4; ++i)
        QCOMPARE(grid.imgPos(cable + i, 0), i);
}

void TestCommands::removingKeepsOneRowAndColumn()
{
    ChartGrid grid(3, 2, stitchById("k"));
    QUndoStack stack;
    ChartEditor editor(&grid, &stack);
    editor.removeRows(QRect(0, 0, 3, 2));
    QCOMPARE(grid.rowCount(), 1);
    editor.removeRows(QRect(0, 0, 3, 1));
    QCOMPARE(grid.rowCount(), 1);
    editor.removeColumns(QRect(0, 0, 3, 1));
    QCOMPARE(grid.columnCount(), 1);
    QCOMPARE(stack.count(), 2);
}

void TestCommands::stitchOnSelectionSpreads()
{
    ChartGrid grid(5, 1, stitchById("k"));
    QUndoStack stack;
    ChartEditor editor(&grid, &stack);
    // A 4-cell cable on two neighbouring cells: the second is already taken
    // by the first cable's second image.
    editor.setStitchOn({QPoint(2, 0), QPoint(3, 0)}, stitchById("c4f"));
    QCOMPARE(rowIds(grid, 0), QStringLiteral("k k c4f c4f c4f"));
    QCOMPARE(grid.imgPos(4, 0), 2);
    QCOMPARE(stack.text(0), QStringLiteral("Set stitch on lasso"));
}

void TestCommands::replacer()
{
    const std::unique_ptr<ChartGrid> grid = sampleGrid();
    QUndoStack stack;
    ChartEditor editor(grid.get(), &stack);
    editor.replaceStitch(QStringLiteral("c4f"), stitchById("p"));
    QCOMPARE(rowIds(*grid, 2), QStringLiteral("yo p p p p"));
    QCOMPARE(grid->imgPos(3, 2), 0);
}

YARNWISE_CORE_TEST_MAIN(TestCommands)
#include "tst_commands.moc"
