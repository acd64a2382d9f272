#include "cellclipboard.h"
#include "chart.h"
#include "chartfixtures.h"
#include "chartrecord.h"
#include "knitscene.h"
#include "knittextedit.h"
#include "preferences.h"
#include "chartpicture.h"
#include "chartrangebox.h"
#include "saveoptionsdialog.h"
#include "settings.h"
#include "stitch.h"
#include "stitchreplacerdialog.h"
#include "stitchset.h"
#include "modaldialog.h"
#include "testenvironment.h"
#include "widgetfixtures.h"
#include "writtenstyledialog.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDomDocument>
#include <QGraphicsView>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QUndoStack>
#include <QtTest>

class TestChart : public TestSuite
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { StitchSet::instance()->load(); }

    void toolBarAndMenu();
    void lassoColourInOneStep();
    void stitchOnLassoSelection();
    void removeSelectedRows();
    void insertRowsAndColumns();
    void zoomSteps();
    void opensAtRowOne();
    void styleControls();
    void numberingStart();
    void numbersAtBottomPerChart();
    void optionsFitNarrowWindows();
    void clipboardRecordBytes();
    void pasteClipsAtEdges();
    void cutAndUndo();
    void foreignClipboardDoesNothing();
    void fuzzedClipboard_data();
    void fuzzedClipboard();
    void mirrors();
    void replacer();
    void writtenStyleChosen();
    void builtFromRecord();
    void exportImage();
    void saveImageThroughDialogs();
    void saveOptionsKeepRatio();
    void rangeCountsAsKnittersDo();
};

static QString row(const Chart &chart, int y)
{
    return rowIds(*chart.grid(), y);
}

static QAction *action(Chart &chart, const QString &text)
{
    return findAction(chart.menu(), text);
}

void TestChart::toolBarAndMenu()
{
    Chart chart(10, 5, QString());
    QVERIFY(action(chart, "Stitch Painting Mode")->isChecked());
    QVERIFY(!action(chart, "Insert Row Above")->isEnabled());
    QVERIFY(!action(chart, "Flip Selection Horizontally")->isEnabled());

    // A row selection enables the row commands and the transforms.
    chart.knitScene()->setSelected(QRectF(0, 1, 9, 0), KnitScene::SelectRows);
    QVERIFY(action(chart, "Insert Row Above")->isEnabled());
    QVERIFY(action(chart, "Remove Row(s)")->isEnabled());
    QVERIFY(!action(chart, "Remove Column(s)")->isEnabled());
    QVERIFY(action(chart, "Mirror Selection Vertically")->isEnabled());

    action(chart, "Border Mode")->trigger();
    QCOMPARE(chart.knitScene()->editMode, KnitScene::EditBorder);
    QCOMPARE(chart.knitScene()->curColor, QColor(Qt::black));
    QVERIFY(!chart.knitScene()->hasSelection());
    action(chart, "Color Painting Mode")->trigger();
    QCOMPARE(chart.knitScene()->editMode, KnitScene::EditColor);
    QCOMPARE(chart.knitScene()->curColor, QColor(Qt::white));
}

void TestChart::lassoColourInOneStep()
{
    Chart chart(6, 4, QString());
    KnitScene *scene = chart.knitScene();
    ChartGrid *grid = chart.grid();
    action(chart, "Lasso Mode")->trigger();
    scene->setSelected(QRectF(1, 1, 2, 0), KnitScene::SelectLasso);
    chart.setCurColor(Qt::red);
    QCOMPARE(chart.undoStack()->count(), 1);
    QCOMPARE(chart.undoStack()->undoText(), QStringLiteral("Set color on lasso"));
    for (int x = 1; x <= 3; ++x)
        QCOMPARE(grid->color(x, 1), QColor(Qt::red));

    action(chart, "Stitch Painting Mode")->trigger();
    scene->setSelected(QPoint(0, 0));
    chart.setCurColor(Qt::blue);
    QCOMPARE(chart.undoStack()->count(), 1);
    QCOMPARE(scene->curColor, QColor(Qt::blue));
    QCOMPARE(chart.paintColor, QColor(Qt::blue));
}

void TestChart::stitchOnLassoSelection()
{
    Chart chart(6, 4, QString());
    KnitScene *scene = chart.knitScene();
    ChartGrid *grid = chart.grid();
    action(chart, "Lasso Mode")->trigger();
    scene->setSelected(QRectF(1, 2, 4, 0), KnitScene::SelectLasso);
    Stitch *cable = stitchById("22rc");
    chart.setCurStitch(cable);
    // The second cable is cut off at the edge of the chart.
    QCOMPARE(row(chart, 2), QStringLiteral("k 22rc 22rc 22rc 22rc 22rc"));
    QCOMPARE(grid->imgPos(4, 2), 3);
    QCOMPARE(grid->imgPos(5, 2), 0);
    QCOMPARE(chart.undoStack()->count(), 1);
    QCOMPARE(chart.undoStack()->undoText(), QStringLiteral("Set stitch on lasso"));

    // Without a selection to fill, a stitch just becomes the one to paint.
    scene->clearSelection();
    chart.setCurStitch(stitchById("yo"));
    QCOMPARE(scene->curStitch, stitchById("yo"));
    QCOMPARE(scene->editMode, KnitScene::EditStitch);
}

void TestChart::removeSelectedRows()
{
    Chart chart(4, 6, QString());
    KnitScene *scene = chart.knitScene();
    scene->setSelected(QRectF(0, 2, 3, 2), KnitScene::SelectRows);
    action(chart, "Remove Row(s)")->trigger();
    QCOMPARE(scene->rowCount(), 3);
    QCOMPARE(chart.instructions()->chartHeight(), 3);
    QCOMPARE(chart.undoStack()->count(), 1);
    QCOMPARE(chart.undoStack()->undoText(), QStringLiteral("Remove row(s)"));
    chart.undo();
    QCOMPARE(scene->rowCount(), 6);
}

void TestChart::insertRowsAndColumns()
{
    Chart chart(4, 3, QString());
    KnitScene *scene = chart.knitScene();
    scene->setSelected(QRectF(0, 1, 3, 0), KnitScene::SelectRows);
    chart.insertRowBelow();
    QCOMPARE(scene->rowCount(), 4);
    QCOMPARE(chart.undoStack()->undoText(), QStringLiteral("Insert row at 2"));
    scene->setSelected(QRectF(3, 0, 0, 3), KnitScene::SelectColumns);
    chart.insertColumnRight();
    QCOMPARE(scene->columnCount(), 5);
    QCOMPARE(chart.instructions()->chartWidth(), 5);
    QCOMPARE(chart.undoStack()->undoText(), QStringLiteral("Insert column at 4"));
}

// Zooming moves through steps of a percentage, stops at its ends, fits the
// chart to the window, and is no edit: no undo step, nothing to save, the
// cell size as it was.
void TestChart::zoomSteps()
{
    Chart chart(40, 30, QString());
    chart.resize(800, 600);
    chart.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chart));
    const QSize cell = chart.cellSize();
    QSignalSpy status(&chart, &Chart::statusChanged);
    QCOMPARE(chart.zoom(), 100);
    chart.zoomIn();
    QCOMPARE(chart.zoom(), 110);
    chart.zoomOut();
    chart.zoomOut();
    QCOMPARE(chart.zoom(), 90);
    QCOMPARE(status.count(), 3);
    for (int i = 0; i < 30; ++i)
        chart.zoomIn();
    QCOMPARE(chart.zoom(), 400);
    for (int i = 0; i < 30; ++i)
        chart.zoomOut();
    QCOMPARE(chart.zoom(), 10);

    chart.zoomToFit();
    QGraphicsView *view = chart.findChild<QGraphicsView *>();
    QVERIFY(view);
    QVERIFY(chart.zoom() > 10 && chart.zoom() < 100);
    QCOMPARE(view->transform().m11(), chart.zoom() / 100.0);
    const QRectF shown = view->mapToScene(view->viewport()->rect()).boundingRect();
    QVERIFY(shown.contains(chart.imageSourceRect().adjusted(1, 1, -1, -1)));
    // Zoom In from a fitted zoom goes to the next step.
    const int fitted = chart.zoom();
    chart.zoomIn();
    QVERIFY(chart.zoom() > fitted);

    QCOMPARE(chart.cellSize(), cell);
    QCOMPARE(chart.undoStack()->count(), 0);
    QVERIFY(!chart.isModified());
}

// A chart is read from row 1, stitch 1: the bottom right corner.
void TestChart::opensAtRowOne()
{
    Chart chart(200, 150, QString());
    chart.resize(600, 400);
    chart.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chart));
    QGraphicsView *view = chart.findChild<QGraphicsView *>();
    QTRY_VERIFY(view->verticalScrollBar()->maximum() > 0);
    QTRY_COMPARE(view->verticalScrollBar()->value(), view->verticalScrollBar()->maximum());
    QCOMPARE(view->horizontalScrollBar()->value(), view->horizontalScrollBar()->maximum());
}

void TestChart::styleControls()
{
    Chart chart(3, 3, QString());
    chart.show();
    QList<QRadioButton *> radios = chart.findChildren<QRadioButton *>();
    QCOMPARE(radios.size(), 3);
    QRadioButton *round = radios.at(0);
    QRadioButton *lace = radios.at(2);
    auto *side = chart.findChild<QComboBox *>();
    auto *skip = chart.findChild<QCheckBox *>();
    QVERIFY(radios.at(1)->isChecked());
    QVERIFY(side->isEnabled());
    QVERIFY(!skip->isEnabled());

    lace->click();
    QCOMPARE(chart.grid()->options().knitStyle, KnitStyle::Lace);
    QVERIFY(side->isEnabled());
    QVERIFY(skip->isEnabled());
    skip->click();
    QVERIFY(chart.grid()->options().skipRows);
    QCOMPARE(chart.instructions()->rowHeaderText(2), QStringLiteral("Row 3"));

    round->click();
    QCOMPARE(chart.grid()->options().knitStyle, KnitStyle::Round);
    QVERIFY(!side->isEnabled());
    QVERIFY(!skip->isEnabled());
    QVERIFY(!skip->isChecked());
    QVERIFY(!chart.grid()->options().skipRows);
    QCOMPARE(chart.instructions()->rowHeaderText(1), QStringLiteral("Round 1"));
}

void TestChart::numberingStart()
{
    Chart chart(4, 3, QString());
    const QString lines = chart.instructions()->toPlainText();
    QList<QSpinBox *> boxes = chart.findChildren<QSpinBox *>();
    QSpinBox *rowStart = boxes.at(1);
    rowStart->setValue(5);
    QCOMPARE(chart.grid()->options().shownRowNumber(1), 5);
    QVERIFY(chart.grid()->options().numberOnRight(1));
    QCOMPARE(chart.instructions()->rowHeaderText(1), QStringLiteral("Row 5  (rs)"));
    QCOMPARE(chart.instructions()->toPlainText(), lines);
    boxes.at(0)->setValue(3);
    QCOMPARE(chart.grid()->options().columnNumberOffset, 2);
}

// A chart follows the preference until the designer chooses for it; then
// it keeps its choice whatever the preference says.
void TestChart::numbersAtBottomPerChart()
{
    Chart chart(3, 3, QString());
    QAction *bottom = action(chart, "Show Stitch Numbers at the Bottom");
    QVERIFY(bottom->isCheckable());
    QVERIFY(!bottom->isChecked());
    QVERIFY(!chart.knitScene()->style().headersBottom);

    Preferences::headersBottom.set(true);
    chart.settingsUpdateChart();
    QVERIFY(bottom->isChecked());
    QVERIFY(chart.knitScene()->style().headersBottom);
    QVERIFY(!chart.grid()->options().numbersAtBottom);

    QSignalSpy modified(&chart, &Chart::chartModified);
    bottom->trigger();
    QCOMPARE(chart.grid()->options().numbersAtBottom, std::optional<bool>(false));
    QVERIFY(!chart.knitScene()->style().headersBottom);
    QCOMPARE(modified.size(), 1);
    Preferences::headersBottom.set(false);
    chart.settingsUpdateChart();
    Preferences::headersBottom.set(true);
    chart.settingsUpdateChart();
    QVERIFY(!bottom->isChecked());
    QVERIFY(!chart.knitScene()->style().headersBottom);
}

// The options row wraps instead of cutting its last controls off.
void TestChart::optionsFitNarrowWindows()
{
    Chart chart(3, 3, QString());
    chart.resize(520, 500);
    chart.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chart));
    QCOMPARE(chart.width(), 520);
    auto *side = chart.findChild<QComboBox *>();
    const QRect shown(side->mapTo(&chart, QPoint(0, 0)), side->size());
    QVERIFY2(chart.rect().contains(shown), qPrintable(QStringLiteral("%1 %2").arg(shown.right()).arg(chart.width())));
    auto *view = chart.findChild<QGraphicsView *>();
    QVERIFY(view->mapTo(&chart, QPoint(0, 0)).y() > shown.bottom());
}

void TestChart::clipboardRecordBytes()
{
    Chart chart(4, 3, QString());
    KnitScene *scene = chart.knitScene();
    ChartGrid *grid = chart.grid();
    grid->setStitch(1, 0, stitchById("22rc"), 2);
    grid->setColor(1, 0, QColor(10, 20, 30));
    scene->setSelected(QRectF(1, 0, 1, 0), KnitScene::SelectLasso);
    chart.copy();

    QByteArray expected;
    QDataStream out(&expected, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_4);
    out << QPoint(0, 0) << QStringLiteral("22rc") << qint32(2) << QColor(10, 20, 30);
    out << QPoint(1, 0) << QStringLiteral("k") << qint32(0) << QColor(Qt::white);
    const QMimeData *data = QApplication::clipboard()->mimeData();
    QVERIFY(data->hasFormat(QStringLiteral("data/yarnwise-cell-1.0")));
    QCOMPARE(data->data(QStringLiteral("data/yarnwise-cell-1.0")), expected);
    QVERIFY(!data->hasText());

    // Damaged bytes end the list instead of reading nonsense.
    QByteArray damaged = expected;
    damaged.replace(8, 4, QByteArray::fromHex("7ffffff0"));
    QCOMPARE(CellClipboard::read(damaged).size(), 0);
    QCOMPARE(CellClipboard::read(expected.left(expected.size() - 3)).size(), 1);
    // A colour whose first byte names no colour model is no colour.
    QByteArray badColour = expected;
    badColour[8 + 12 + 4] = char(9); // after the offset, "22rc" and the image index

    QCOMPARE(CellClipboard::read(badColour).size(), 0);
}

void TestChart::pasteClipsAtEdges()
{
    Chart chart(5, 4, QString());
    KnitScene *scene = chart.knitScene();
    ChartGrid *grid = chart.grid();
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 2; ++x)
            grid->setStitch(x, y, stitchById("p"), 0);
    }
    scene->setSelected(QRectF(0, 0, 1, 1), KnitScene::SelectLasso);
    chart.copy();
    scene->setSelected(QPoint(4, 2));
    chart.paste();
    QCOMPARE(chart.undoStack()->undoText(), QStringLiteral("Paste stitches"));
    QCOMPARE(row(chart, 2), QStringLiteral("k k k k p"));
    QCOMPARE(row(chart, 3), QStringLiteral("k k k k p"));
    QCOMPARE(row(chart, 1), QStringLiteral("p p k k k"));
}

void TestChart::cutAndUndo()
{
    Chart chart(4, 2, QString());
    KnitScene *scene = chart.knitScene();
    ChartGrid *grid = chart.grid();
    grid->setStitch(1, 1, stitchById("yo"), 0);
    grid->setColor(1, 1, Qt::green);
    scene->setSelected(QRectF(0, 1, 3, 0), KnitScene::SelectRows);
    chart.cut();
    QCOMPARE(chart.undoStack()->count(), 1);
    QCOMPARE(chart.undoStack()->undoText(), QStringLiteral("Cut stitches"));
    QCOMPARE(row(chart, 1), QStringLiteral("k k k k"));
    QCOMPARE(grid->color(1, 1), QColor(Qt::white));
    chart.undo();
    QCOMPARE(grid->stitch(1, 1), stitchById("yo"));
    QCOMPARE(grid->color(1, 1), QColor(Qt::green));
    QVERIFY(QApplication::clipboard()->mimeData()->hasFormat(CellClipboard::mimeType()));
}

// Clipboard data that once upset the paste: cells that cannot land are
// dropped, the others still arrive.
void TestChart::fuzzedClipboard_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("pastedRow");
    QTest::newRow("offsets at the ends of the integers") << "offset-overflow.cells" << "k k p k";
}

void TestChart::fuzzedClipboard()
{
    QFETCH(QString, file);
    QFETCH(QString, pastedRow);
    QFile data(QFINDTESTDATA(QStringLiteral("data/fuzz/") + file));
    QVERIFY(data.open(QIODevice::ReadOnly));
    auto *mime = new QMimeData;
    mime->setData(CellClipboard::mimeType(), data.readAll());
    QApplication::clipboard()->setMimeData(mime);

    Chart chart(4, 3, QString());
    KnitScene *scene = chart.knitScene();
    scene->setSelected(QPoint(2, 1));
    chart.paste();
    QCOMPARE(row(chart, 1), pastedRow);
    QCOMPARE(row(chart, 0), QStringLiteral("k k k k"));
    QCOMPARE(row(chart, 2), QStringLiteral("k k k k"));
}

void TestChart::foreignClipboardDoesNothing()
{
    Chart chart(4, 2, QString());
    QApplication::clipboard()->setText(QStringLiteral("k2, p2"));
    chart.knitScene()->setSelected(QPoint(0, 0));
    chart.paste();
    QCOMPARE(chart.undoStack()->count(), 0);
}

void TestChart::mirrors()
{
    Chart chart(10, 4, QString());
    KnitScene *scene = chart.knitScene();
    ChartGrid *grid = chart.grid();
    const char *ids[] = {"p", "yo", "ssk"};
    for (int i = 0; i < 3; ++i)
        grid->setStitch(2 + i, 0, stitchById(ids[i]), 0);
    scene->setSelected(QRectF(2, 0, 2, 0), KnitScene::SelectLasso);
    chart.hMirrorSelection();
    QCOMPARE(row(chart, 0), QStringLiteral("k k p yo ssk ssk yo p k k"));
    QCOMPARE(chart.undoStack()->undoText(), QStringLiteral("Mirror selection horizontally"));
}

void TestChart::replacer()
{
    Chart chart(4, 3, QString());
    ChartGrid *grid = chart.grid();
    grid->setStitch(0, 0, stitchById("yo"), 0);
    whenModal<QWidget>([](QWidget *dialog) {
        auto *replacer = qobject_cast<StitchReplacerDialog *>(dialog);
        QVERIFY(replacer);
        QList<QComboBox *> boxes = replacer->findChildren<QComboBox *>();
        // The chart's stitches first, the most used first, each with its
        // name and, on hover, its description.
        for (QComboBox *box : boxes) {
            QCOMPARE(box->itemData(0).toString(), QStringLiteral("k"));
            QCOMPARE(box->itemText(0), QStringLiteral("k \u2013 Knit"));
            QVERIFY(!box->itemData(0, Qt::ToolTipRole).toString().isEmpty());
            QCOMPARE(box->itemData(1).toString(), QStringLiteral("yo"));
            QVERIFY(box->itemText(2).isEmpty()); // the separator
            QVERIFY(box->findData(QStringLiteral("p")) > 2);
        }
        boxes.at(0)->setCurrentIndex(boxes.at(0)->findData(QStringLiteral("k")));
        boxes.at(1)->setCurrentIndex(boxes.at(1)->findData(QStringLiteral("p")));
        replacer->accept();
    });
    chart.stitchReplacer();
    QCOMPARE(row(chart, 0), QStringLiteral("yo p p p"));
    QCOMPARE(row(chart, 2), QStringLiteral("p p p p"));
    QCOMPARE(chart.undoStack()->count(), 1);
    QCOMPARE(chart.undoStack()->undoText(), QStringLiteral("Replace Stitch"));
}

// The dialog shows the chart's text as each choice is made; Cancel puts the
// chart's choices back, OK keeps them and marks the chart changed.
void TestChart::writtenStyleChosen()
{
    Chart chart(4, 2, QString());
    QSignalSpy modified(&chart, &Chart::chartModified);
    for (bool accept : {false, true}) {
        whenModal<QWidget>([accept](QWidget *dialog) {
            auto *written = qobject_cast<WrittenStyleDialog *>(dialog);
            QVERIFY(written);
            auto *text = written->findChild<QPlainTextEdit *>();
            QVERIFY(text->toPlainText().contains(QStringLiteral("Row 1  (rs): k4")));
            QComboBox *style = written->findChildren<QComboBox *>().first();
            style->setCurrentIndex(style->findData(int(WrittenStyle::Published)));
            QVERIFY(text->toPlainText().contains(QStringLiteral("Row 1 (RS): Knit.")));
            if (accept)
                written->accept();
            else
                written->reject();
        });
        QAction *open = action(chart, QStringLiteral("Written Instructions..."));
        QVERIFY(open);
        open->trigger();
        QCOMPARE(chart.grid()->options().written.style, accept ? WrittenStyle::Published : WrittenStyle::Plain);
        QCOMPARE(modified.size(), accept ? 1 : 0);
    }
}

void TestChart::builtFromRecord()
{
    ChartValues values;
    values.title = QStringLiteral("Yoke");
    values.hash = "abc";
    values.grid = std::make_unique<ChartGrid>(5, 3, stitchById("k"));
    ChartOptions options = unusualOptions();
    options.cellSize = values.grid->options().cellSize;
    values.grid->setOptions(options);
    values.grid->setStitch(2, 1, stitchById("c4f"), 1);
    Chart chart(std::move(values));
    QCOMPARE(chart.chartTitle(), QStringLiteral("Yoke"));
    QCOMPARE(chart.hash, QByteArray("abc"));
    // Until it is shown the chart is its model: no view, no text, no menu.
    QVERIFY(!chart.findChild<QGraphicsView *>());
    QVERIFY(!chart.findChild<QCheckBox *>());
    QCOMPARE(chart.sceneWidthPx(), ChartLayout(*chart.grid()).width());

    chart.show();
    QVERIFY(chart.findChild<QGraphicsView *>()->isVisible());
    QVERIFY(chart.findChild<QCheckBox *>()->isChecked());
    QCOMPARE(chart.findChild<QComboBox *>()->currentIndex(), 1);
    QCOMPARE(chart.findChildren<QSpinBox *>().at(0)->value(), 3);
    QCOMPARE(chart.findChildren<QSpinBox *>().at(1)->value(), 5);
    QVERIFY(chart.findChildren<QRadioButton *>().at(2)->isChecked());
    QCOMPARE(chart.instructions()->rowHeaderText(1), QStringLiteral("Row 5"));
    QCOMPARE(chart.instructions()->toPlainText().count(QLatin1Char('\n')), 2);
    QVERIFY(chart.menu());
    QVERIFY(chart.undoStack()->isClean());
    QVERIFY(!chart.isModified());
}

// Pictures at the size and resolution asked for, without the screen's
// marks of shaping rows; SVG with the chart's title and its whole width.
void TestChart::exportImage()
{
    Chart chart(6, 4, QString());
    chart.setTitle(QStringLiteral("Cuff"));
    const QString png = m_env->scratchPath(QStringLiteral("chart.png"));
    QVERIFY(chart.exportImage(png, QSize(600, 300), 96));
    const QImage image(png);
    QCOMPARE(image.size(), QSize(600, 300));
    QCOMPARE(image.dotsPerMeterX(), 3780);
    QCOMPARE(chart.imageSourceRect().left(), 0.0);
    chart.knitScene()->editor().markShapingRows(QRect(0, 1, 6, 2), true);
    QVERIFY(chart.exportImage(png, QSize(600, 300), 96));
    QCOMPARE(QImage(png), image);

    const QString svg = m_env->scratchPath(QStringLiteral("chart.svg"));
    QVERIFY(chart.exportImage(svg, QSize(400, 300), 96));
    QDomDocument dom;
    QVERIFY(dom.setContent(TestEnvironment::readFile(svg)));
    const QDomElement root = dom.documentElement();
    QCOMPARE(root.tagName(), QStringLiteral("svg"));
    QCOMPARE(root.attribute(QStringLiteral("viewBox")).split(QLatin1Char(' ')).at(2).toDouble(),
             double(chart.sceneWidthPx()));
    QCOMPARE(root.firstChildElement(QStringLiteral("title")).text(), QStringLiteral("Cuff"));

    // Part of the chart: its own cells framed by their numbers.
    const QRect part(1, 1, 2, 2);
    QVERIFY(chart.exportImage(svg, QSize(400, 300), 96, part));
    QVERIFY(dom.setContent(TestEnvironment::readFile(svg)));
    QCOMPARE(dom.documentElement().attribute(QStringLiteral("viewBox")).split(QLatin1Char(' ')).at(2).toDouble(),
             ChartPicture::partSize(*chart.grid(), chart.knitScene()->style(), part).width());
}

void TestChart::saveImageThroughDialogs()
{
    Chart chart(6, 4, QString());
    const QString base = m_env->scratchPath(QStringLiteral("picture"));
    whenModal<QWidget>([base](QWidget *options) {
        QVERIFY(qobject_cast<SaveOptionsDialog *>(options));
        whenModal<QWidget>([base](QWidget *files) {
            auto *dialog = qobject_cast<QFileDialog *>(files);
            QVERIFY(dialog);
            acceptFile(dialog, base);
        });
        static_cast<QDialog *>(options)->accept();
    });
    chart.saveImage();
    QVERIFY(QFile::exists(base + QStringLiteral(".jpg")));
    // The chart's size on screen, at 300 pixels an inch to print sharp.
    QCOMPARE(QImage(base + QStringLiteral(".jpg")).width(), qRound(chart.imageSourceRect().width() * 300 / 96));
}

void TestChart::saveOptionsKeepRatio()
{
    SaveOptionsDialog dialog(QSize(300, 150), 96);
    QList<QSpinBox *> boxes = dialog.findChildren<QSpinBox *>();
    boxes.at(0)->setValue(600);
    QCOMPARE(dialog.imageSize(), QSize(600, 300));
    boxes.at(1)->setValue(100);
    QCOMPARE(dialog.imageSize(), QSize(200, 100));
    QCOMPARE(dialog.resolution(), 96);

    // The size starts in the inches the screen shows and keeps them.
    SaveOptionsDialog print(QSize(96, 48), 300);
    QCOMPARE(print.imageSize(), QSize(300, 150));
    print.findChildren<QSpinBox *>().at(2)->setValue(150);
    QCOMPARE(print.imageSize(), QSize(150, 75));

    // A part of the chart takes its own size and shape.
    const auto sizeOf = [](const QRect &cells) {
        return cells.isNull() ? QSizeF(96, 48) : QSizeF(cells.width() * 24, cells.height() * 24);
    };
    const ChartGrid grid(10, 20, stitchById("k"));
    print.offerPart(grid, QRect(0, 0, 4, 8), sizeOf);
    QCOMPARE(print.cells(), QRect(0, 0, 4, 8));
    QCOMPARE(print.imageSize(), QSize(150, 300));
    print.offerPart(grid, QRect(), sizeOf);
    QCOMPARE(print.cells(), QRect());
    QCOMPARE(print.imageSize(), QSize(150, 75));

    // A chart too tall for the largest picture keeps its shape, says the
    // inches it prints at, and has its own inches again at a lower
    // resolution.
    SaveOptionsDialog tall(QSize(960, 4800), 300);
    QCOMPARE(tall.imageSize(), QSize(2000, 10000));
    const auto inches = [&tall] {
        for (const QLabel *label : tall.findChildren<QLabel *>())
            if (label->text().endsWith(QLatin1String("inches")))
                return label->text();
        return QString();
    };
    QCOMPARE(inches(), QStringLiteral("6.67 × 33.33 inches"));
    tall.findChildren<QSpinBox *>().at(2)->setValue(150);
    QCOMPARE(tall.imageSize(), QSize(1500, 7500));
    QCOMPARE(inches(), QStringLiteral("10.00 × 50.00 inches"));
}

// Rows from the bottom, stitches from the right, by the chart's own
// numbers; the whole chart is no part.
void TestChart::rangeCountsAsKnittersDo()
{
    ChartGrid grid(10, 20, stitchById("k"));
    ChartRangeBox box;
    box.setChart(grid, QRect(2, 5, 3, 4));
    QVERIFY(box.isChecked());
    const QList<QSpinBox *> spins = box.findChildren<QSpinBox *>();
    const auto values = [&spins] {
        QList<int> values;
        for (const QSpinBox *spin : spins)
            values << spin->value();
        return values;
    };
    QCOMPARE(values(), (QList<int>{12, 15, 6, 8}));
    QCOMPARE(box.cells(), QRect(2, 5, 3, 4));
    spins.at(1)->setValue(11);
    QCOMPARE(spins.at(1)->value(), 12);
    box.setChart(grid);
    QVERIFY(!box.isChecked());
    QCOMPARE(box.cells(), QRect());
    box.setChecked(true);
    QCOMPARE(box.cells(), QRect());
    spins.at(0)->setValue(2);
    QCOMPARE(box.cells(), QRect(0, 0, 10, 19));

    // Numbers from 5 and 101, every second row charted: rows 5, 7 ... 43.
    ChartOptions numbering;
    numbering.rowNumberOffset = 4;
    numbering.columnNumberOffset = 100;
    numbering.skipRows = true;
    grid.setOptions(numbering);
    box.setChart(grid, QRect(2, 5, 3, 4));
    QCOMPARE(values(), (QList<int>{27, 33, 106, 108}));
    QCOMPARE(spins.at(0)->minimum(), 5);
    QCOMPARE(spins.at(0)->maximum(), 43);
    QCOMPARE(box.cells(), QRect(2, 5, 3, 4));
    // An uncharted row's number stands for the row after it.
    spins.at(1)->setValue(30);
    Q_EMIT spins.at(1)->editingFinished();
    QCOMPARE(spins.at(1)->value(), 31);
    QCOMPARE(box.cells(), QRect(2, 6, 3, 3));
}

YARNWISE_TEST_MAIN(TestChart)
#include "tst_chart.moc"
