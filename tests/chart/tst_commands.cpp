#include "copyknitcell.h"
#include "insertcolumn.h"
#include "insertrow.h"
#include "knitcell.h"
#include "knitscene.h"
#include "knittextedit.h"
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
#include "textengine.h"

#include <QApplication>
#include <QUndoStack>
#include <QtTest>

#include <functional>

using CommandFactory = std::function<QUndoCommand *(KnitScene *, KnitTextEdit *)>;
Q_DECLARE_METATYPE(CommandFactory)

class TestCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { StitchSet::instance()->load(); }
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void undoRedoRestoreEverything_data();
    void undoRedoRestoreEverything();
    void commandTexts_data();
    void commandTexts();
    void bordersMirrorOnNeighbours();
    void swapAndCopyTellTheEditor();
    void commandsOffTheGridDoNothing();

private:
    std::unique_ptr<TestEnvironment> m_env;
};

static Stitch *find(const char *id)
{
    return StitchSet::instance()->findStitch(QString::fromLatin1(id));
}

namespace {

// A 5 x 4 chart of mixed stitches, colours and borders, with its written
// instructions wired as the chart tab wires them. Kept local: the program's
// own Chart class must not be confused with it at link time.
struct Chart
{
    Chart()
        : scene(5, 4, QString())
        , editor(5, 4, QString(), 0)
    {
        TextEngine engine(editor.document());
        editor.setKeyWords(engine.keyWords());
        QObject::connect(&scene, &KnitScene::stitchChanged, &editor, &KnitTextEdit::updateText);
        QObject::connect(&editor, &KnitTextEdit::rowChanged, &scene, &KnitScene::updateRow);
        const char *ids[] = {"k", "p", "yo", "k2tog", "ssk"};
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 5; ++x) {
                KnitCell *cell = scene.at(x, y);
                cell->setStitch(find(ids[(x + y) % 5]));
                cell->setColor(QColor::fromHsv((x * 40 + y * 90) % 360, 120, 230));
            }
        }
        Stitch *cable = find("c4f");
        for (int i = 0; i < 4; ++i)
            scene.at(1 + i, 2)->setStitch(cable, i);
        scene.at(2, 1)->setTopBorder(true, Qt::red);
        scene.at(2, 0)->setBottomBorder(true, Qt::red);
        scene.at(0, 0)->setLeftBorder(true, Qt::blue);
        scene.at(4, 3)->setRightBorder(true, Qt::green);
        scene.at(3, 2)->setBottomBorder(true, Qt::darkMagenta);
        scene.at(3, 3)->setTopBorder(true, Qt::darkMagenta);
        QCoreApplication::processEvents();
    }

    // Every cell's stitch, image, colour and borders, then the text.
    QStringList snapshot()
    {
        QCoreApplication::processEvents();
        QStringList lines;
        lines << QStringLiteral("size %1x%2").arg(scene.cellWidth).arg(scene.cellHeight);
        for (int y = 0; y < scene.rowCount(); ++y) {
            for (int x = 0; x < scene.columnCount(); ++x) {
                const KnitCell *cell = scene.at(x, y);
                QString line = QStringLiteral("%1,%2 %3/%4 %5").arg(x).arg(y).arg(cell->stitch()->stitchID())
                                   .arg(cell->imgPos()).arg(cell->color().name());
                for (KnitCell::Side side : {KnitCell::Left, KnitCell::Right, KnitCell::Top, KnitCell::Bottom}) {
                    line += cell->hasBorder(side) ? QStringLiteral(" |%1").arg(cell->borderColor(side).name())
                                                  : QStringLiteral(" -");
                }
                lines << line;
            }
        }
        lines << editor.toPlainText().split(QLatin1Char('\n'));
        return lines;
    }

    KnitScene scene;
    KnitTextEdit editor;
};

} // namespace

void TestCommands::undoRedoRestoreEverything_data()
{
    QTest::addColumn<CommandFactory>("make");
    QTest::newRow("stitch") << CommandFactory([](KnitScene *s, KnitTextEdit *) {
        return new SetCellStitch(QPoint(3, 1), s, find("yo"), 0);
    });
    QTest::newRow("colour") << CommandFactory([](KnitScene *s, KnitTextEdit *) {
        return new SetCellColor(QPoint(0, 3), s, Qt::red);
    });
    QTest::newRow("cell size") << CommandFactory([](KnitScene *s, KnitTextEdit *) {
        return new SetCellSize(QSize(30, 28), s);
    });
    QTest::newRow("insert top row") << CommandFactory([](KnitScene *s, KnitTextEdit *e) {
        return new InsertRow(0, s, e);
    });
    QTest::newRow("insert bottom row") << CommandFactory([](KnitScene *s, KnitTextEdit *e) {
        return new InsertRow(4, s, e);
    });
    QTest::newRow("insert column") << CommandFactory([](KnitScene *s, KnitTextEdit *e) {
        return new InsertColumn(2, s, e);
    });
    QTest::newRow("remove top row with borders") << CommandFactory([](KnitScene *s, KnitTextEdit *e) {
        return new RemoveRow(0, s, e);
    });
    QTest::newRow("remove cable row") << CommandFactory([](KnitScene *s, KnitTextEdit *e) {
        return new RemoveRow(2, s, e);
    });
    QTest::newRow("remove column with borders") << CommandFactory([](KnitScene *s, KnitTextEdit *e) {
        return new RemoveColumn(2, s, e);
    });
    QTest::newRow("remove last column") << CommandFactory([](KnitScene *s, KnitTextEdit *e) {
        return new RemoveColumn(4, s, e);
    });
    QTest::newRow("swap") << CommandFactory([](KnitScene *s, KnitTextEdit *e) {
        return new SwapKnitCells(QPointF(0, 0), QPointF(4, 3), s, e);
    });
    QTest::newRow("copy") << CommandFactory([](KnitScene *s, KnitTextEdit *e) {
        return new CopyKnitCell(QPointF(2, 2), QPointF(0, 1), s, e);
    });
    QTest::newRow("border top") << CommandFactory([](KnitScene *s, KnitTextEdit *) {
        return new SetBorderTop(QPoint(1, 3), true, Qt::red, s);
    });
    QTest::newRow("border bottom off") << CommandFactory([](KnitScene *s, KnitTextEdit *) {
        return new SetBorderBottom(QPoint(2, 0), false, Qt::black, s);
    });
    QTest::newRow("border left") << CommandFactory([](KnitScene *s, KnitTextEdit *) {
        return new SetBorderLeft(QPoint(3, 1), true, Qt::blue, s);
    });
    QTest::newRow("border right at the edge") << CommandFactory([](KnitScene *s, KnitTextEdit *) {
        return new SetBorderRight(QPoint(4, 0), true, Qt::blue, s);
    });
    QTest::newRow("row from instructions") << CommandFactory([](KnitScene *s, KnitTextEdit *) {
        s->updateRow(1, QList<Stitch *>(5, find("p")));
        return nullptr;
    });
}

void TestCommands::undoRedoRestoreEverything()
{
    QFETCH(CommandFactory, make);
    Chart chart;
    const QStringList before = chart.snapshot();
    if (QUndoCommand *command = make(&chart.scene, &chart.editor))
        chart.scene.undoStack()->push(command);
    const QStringList after = chart.snapshot();
    QVERIFY(after != before);

    chart.scene.undoStack()->undo();
    QCOMPARE(chart.snapshot(), before);
    chart.scene.undoStack()->redo();
    QCOMPARE(chart.snapshot(), after);
    chart.scene.undoStack()->undo();
    QCOMPARE(chart.snapshot(), before);
}

void TestCommands::commandTexts_data()
{
    QTest::addColumn<CommandFactory>("make");
    QTest::addColumn<QString>("text");
    QTest::newRow("stitch") << CommandFactory([](KnitScene *s, KnitTextEdit *) {
        return new SetCellStitch(QPoint(0, 0), s, find("yo"), 0);
    }) << "Set stitch to " + find("yo")->name();
    QTest::newRow("colour") << CommandFactory([](KnitScene *s, KnitTextEdit *) {
        return new SetCellColor(QPoint(0, 0), s, Qt::red);
    }) << "Set stitch Color to #ff0000";
    QTest::newRow("size") << CommandFactory([](KnitScene *s, KnitTextEdit *) {
        return new SetCellSize(QSize(30, 28), s);
    }) << "Set stitch size - 30x28";
    QTest::newRow("insert row") << CommandFactory([](KnitScene *s, KnitTextEdit *e) {
        return new InsertRow(2, s, e);
    }) << "Insert row at 2";
    QTest::newRow("insert column") << CommandFactory([](KnitScene *s, KnitTextEdit *e) {
        return new InsertColumn(0, s, e);
    }) << "Insert column at 0";
    QTest::newRow("remove row") << CommandFactory([](KnitScene *s, KnitTextEdit *e) {
        return new RemoveRow(3, s, e);
    }) << "Remove row at 3";
    QTest::newRow("remove column") << CommandFactory([](KnitScene *s, KnitTextEdit *e) {
        return new RemoveColumn(1, s, e);
    }) << "Remove column at 1";
    QTest::newRow("swap") << CommandFactory([](KnitScene *s, KnitTextEdit *e) {
        return new SwapKnitCells(QPointF(0, 0), QPointF(1, 0), s, e);
    }) << "Swap stitches";
    QTest::newRow("copy") << CommandFactory([](KnitScene *s, KnitTextEdit *e) {
        return new CopyKnitCell(QPointF(0, 0), QPointF(1, 0), s, e);
    }) << "Copy Stitch";
    QTest::newRow("border on") << CommandFactory([](KnitScene *s, KnitTextEdit *) {
        return new SetBorderTop(QPoint(0, 0), true, Qt::black, s);
    }) << "Set border On";
    QTest::newRow("border off") << CommandFactory([](KnitScene *s, KnitTextEdit *) {
        return new SetBorderLeft(QPoint(0, 0), false, Qt::black, s);
    }) << "Set border Off";
}

void TestCommands::commandTexts()
{
    QFETCH(CommandFactory, make);
    QFETCH(QString, text);
    Chart chart;
    std::unique_ptr<QUndoCommand> command(make(&chart.scene, &chart.editor));
    QCOMPARE(command->text(), text);
}

void TestCommands::bordersMirrorOnNeighbours()
{
    Chart chart;
    QUndoStack *stack = chart.scene.undoStack();
    stack->push(new SetBorderTop(QPoint(1, 3), true, Qt::red, &chart.scene));
    QVERIFY(chart.scene.at(1, 3)->topBorder());
    QCOMPARE(chart.scene.at(1, 2)->bottomBorderColor(), QColor(Qt::red));
    QVERIFY(chart.scene.at(1, 2)->bottomBorder());

    stack->push(new SetBorderLeft(QPoint(0, 1), true, Qt::red, &chart.scene));
    QVERIFY(chart.scene.at(0, 1)->leftBorder()); // the outer edge: one cell only
    stack->undo();
    QVERIFY(!chart.scene.at(0, 1)->leftBorder());
}

// Swap and copy tell the instructions themselves, besides the cells' own
// reports: here the scene is not connected to the editor at all.
void TestCommands::swapAndCopyTellTheEditor()
{
    KnitScene scene(3, 1, QString());
    KnitTextEdit editor(3, 1, QString(), 0);
    scene.at(1, 0)->setStitch(find("p"));
    editor.updateText(1, 0, find("p"), nullptr);

    SwapKnitCells swap(QPointF(0, 0), QPointF(1, 0), &scene, &editor);
    swap.redo();
    QCOMPARE(editor.grid().at(0), (QList<Stitch *>{find("p"), find("k"), find("k")}));
    swap.undo();
    QCOMPARE(editor.grid().at(0), (QList<Stitch *>{find("k"), find("p"), find("k")}));

    CopyKnitCell copy(QPointF(1, 0), QPointF(2, 0), &scene, &editor);
    copy.redo();
    QCOMPARE(editor.grid().at(0).at(2), find("p"));
    copy.undo();
    QCOMPARE(editor.grid().at(0).at(2), find("k"));
}

void TestCommands::commandsOffTheGridDoNothing()
{
    Chart chart;
    const QStringList before = chart.snapshot();
    QUndoStack *stack = chart.scene.undoStack();
    stack->push(new SetCellStitch(QPoint(5, 0), &chart.scene, find("yo"), 0));
    stack->push(new SetBorderTop(QPoint(0, 4), true, Qt::red, &chart.scene));
    stack->push(new RemoveRow(9, &chart.scene, &chart.editor));
    stack->push(new SwapKnitCells(QPointF(0, 0), QPointF(-1, 0), &chart.scene, &chart.editor));
    stack->push(new CopyKnitCell(QPointF(7, 0), QPointF(0, 0), &chart.scene, &chart.editor));
    QCOMPARE(chart.snapshot(), before);
    while (stack->canUndo())
        stack->undo();
    QCOMPARE(chart.snapshot(), before);
}

YARNWISE_TEST_MAIN(TestCommands)
#include "tst_commands.moc"
