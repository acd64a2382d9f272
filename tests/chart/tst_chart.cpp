#include "cellclipboard.h"
#include "chart.h"
#include "headercell.h"
#include "knitcell.h"
#include "knitscene.h"
#include "knittextedit.h"
#include "saveoptionsdialog.h"
#include "settings.h"
#include "stitch.h"
#include "stitchreplacerdialog.h"
#include "stitchset.h"
#include "modaldialog.h"
#include "testenvironment.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDomDocument>
#include <QFileDialog>
#include <QMenu>
#include <QMimeData>
#include <QRadioButton>
#include <QSpinBox>
#include <QTextBlock>
#include <QToolBar>
#include <QUndoStack>
#include <QtTest>

#include <functional>

class TestChart : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { StitchSet::instance()->load(); }
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void toolBarAndMenu();
    void lassoColourInOneStep();
    void stitchOnLassoSelection();
    void removeSelectedRows();
    void insertRowsAndColumns();
    void zoomLimits();
    void styleControls();
    void numberingStart();
    void clipboardRecordBytes();
    void pasteClipsAtEdges();
    void cutAndUndo();
    void foreignClipboardDoesNothing();
    void fuzzedClipboard_data();
    void fuzzedClipboard();
    void flips_data();
    void flips();
    void mirrors();
    void replacer();
    void recordRoundTrip();
    void recordTolerantHeader_data();
    void recordTolerantHeader();
    void recordRejectsDamage_data();
    void recordRejectsDamage();
    void exportRaster();
    void exportSvg();
    void saveImageThroughDialogs();
    void saveOptionsKeepRatio();

private:
    std::unique_ptr<TestEnvironment> m_env;
};

static Stitch *find(const char *id)
{
    return StitchSet::instance()->findStitch(QString::fromLatin1(id));
}

static QString row(const KnitScene *scene, int y)
{
    QStringList ids;
    for (int x = 0; x < scene->columnCount(); ++x)
        ids.append(scene->stitch(x, y)->stitchID());
    return ids.join(QLatin1Char(' '));
}

static QAction *action(Chart &chart, const QString &text)
{
    for (QAction *candidate : chart.menu()->actions()) {
        if (candidate->text() == text)
            return candidate;
    }
    return nullptr;
}

// Runs `handle` on the next modal dialog that opens.
static void whenModal(const std::function<void(QWidget *)> &handle)
{
    QTimer::singleShot(0, [handle] {
        QWidget *dialog = QApplication::activeModalWidget();
        if (dialog)
            handle(dialog);
    });
}

void TestChart::toolBarAndMenu()
{
    Chart chart(10, 5, QString());
    QStringList texts;
    for (QAction *candidate : chart.menu()->actions()) {
        if (!candidate->isSeparator())
            texts << candidate->text();
    }
    QCOMPARE(texts.size(), 21);
    QCOMPARE(texts.first(), QStringLiteral("Set Stitch Size"));
    QCOMPARE(texts.last(), QStringLiteral("Zoom Out"));
    QCOMPARE(chart.menu()->title(), QStringLiteral("&Chart"));
    QCOMPARE(chart.toolBar()->windowTitle(), QStringLiteral("Chart Tools"));
    QVERIFY(!chart.toolBar()->isMovable());

    QVERIFY(action(chart, "Stitch Painting Mode")->isChecked());
    QCOMPARE(action(chart, "Lasso Mode")->shortcut(), QKeySequence(QStringLiteral("Ctrl+Alt+L")));
    QCOMPARE(action(chart, "Zoom In")->shortcuts().size(), 2);
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
    QVERIFY(chart.knitScene()->selectedCells.isEmpty());
    action(chart, "Color Painting Mode")->trigger();
    QCOMPARE(chart.knitScene()->editMode, KnitScene::EditColor);
    QCOMPARE(chart.knitScene()->curColor, QColor(Qt::white));
}

void TestChart::lassoColourInOneStep()
{
    Chart chart(6, 4, QString());
    KnitScene *scene = chart.knitScene();
    action(chart, "Lasso Mode")->trigger();
    scene->setSelected(QRectF(1, 1, 2, 0), KnitScene::SelectLasso);
    chart.setCurColor(Qt::red);
    QCOMPARE(chart.undoStack()->count(), 1);
    QCOMPARE(chart.undoStack()->undoText(), QStringLiteral("Set color on lasso"));
    for (int x = 1; x <= 3; ++x)
        QCOMPARE(scene->color(x, 1), QColor(Qt::red));

    action(chart, "Stitch Painting Mode")->trigger();
    scene->setSelected(scene->at(0, 0));
    chart.setCurColor(Qt::blue);
    QCOMPARE(chart.undoStack()->count(), 1);
    QCOMPARE(scene->curColor, QColor(Qt::blue));
    QCOMPARE(chart.paintColor, QColor(Qt::blue));
}

void TestChart::stitchOnLassoSelection()
{
    Chart chart(6, 4, QString());
    KnitScene *scene = chart.knitScene();
    action(chart, "Lasso Mode")->trigger();
    scene->clearSelection();
    for (KnitCell *cell : {scene->at(0, 2), scene->at(5, 2)}) {
        scene->selectedCells.append(cell);
        cell->setSelected(true);
    }
    Stitch *cable = find("22rc");
    chart.setCurStitch(cable);
    QCOMPARE(row(scene, 2), QStringLiteral("22rc 22rc 22rc 22rc k 22rc"));
    QCOMPARE(scene->at(3, 2)->imgPos(), 3);
    QCOMPARE(scene->at(5, 2)->imgPos(), 0);
    QCOMPARE(chart.undoStack()->count(), 1);
    QCOMPARE(chart.undoStack()->undoText(), QStringLiteral("Set stitch on lasso"));

    // Without a selection to fill, a stitch just becomes the one to paint.
    scene->clearSelection();
    chart.setCurStitch(find("yo"));
    QCOMPARE(scene->curStitch, find("yo"));
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

    Chart single(4, 1, QString());
    single.knitScene()->setSelected(QRectF(0, 0, 3, 0), KnitScene::SelectRows);
    single.removeRow();
    QCOMPARE(single.knitScene()->rowCount(), 1);
    QCOMPARE(single.undoStack()->count(), 0);

    // Every row selected: one is kept.
    scene->setSelected(QRectF(0, 0, 3, 5), KnitScene::SelectRows);
    chart.removeRow();
    QCOMPARE(scene->rowCount(), 1);
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

void TestChart::zoomLimits()
{
    Chart chart(3, 3, QString());
    chart.setCellSize(100, 100);
    chart.stitchSizeInc();
    QCOMPARE(chart.cellSize(), QSize(101, 101));
    chart.stitchSizeInc();
    QCOMPARE(chart.cellSize(), QSize(101, 101));
    chart.setCellSize(10, 10);
    chart.stitchSizeDec();
    QCOMPARE(chart.cellSize(), QSize(9, 9));
    chart.stitchSizeDec();
    QCOMPARE(chart.cellSize(), QSize(9, 9));
    chart.undo();
    QCOMPARE(chart.cellSize(), QSize(10, 10));
}

void TestChart::styleControls()
{
    Chart chart(3, 3, QString());
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
    QCOMPARE(chart.knitStyle, 2);
    QVERIFY(side->isEnabled());
    QVERIFY(skip->isEnabled());
    skip->click();
    QVERIFY(chart.knitScene()->skipRows);
    QVERIFY(chart.instructions()->skipRows());

    round->click();
    QCOMPARE(chart.knitStyle, 1);
    QVERIFY(!side->isEnabled());
    QVERIFY(!skip->isEnabled());
    QVERIFY(!skip->isChecked());
    QVERIFY(!chart.knitScene()->skipRows);
    QCOMPARE(chart.instructions()->rowHeaderText(1), QStringLiteral("Round 1"));
}

void TestChart::numberingStart()
{
    Chart chart(4, 3, QString());
    const QString lines = chart.instructions()->toPlainText();
    QList<QSpinBox *> boxes = chart.findChildren<QSpinBox *>();
    QSpinBox *rowStart = boxes.at(1);
    rowStart->setValue(5);
    QCOMPARE(chart.knitScene()->rightHeaders.last()->objectName(), QStringLiteral("5"));
    QVERIFY(chart.knitScene()->rightHeaders.last()->showText);
    QCOMPARE(chart.instructions()->rowHeaderText(1), QStringLiteral("Row 5  (rs)"));
    QCOMPARE(chart.instructions()->toPlainText(), lines);
    boxes.at(0)->setValue(3);
    QCOMPARE(chart.knitScene()->topHeaders.last()->objectName(), QStringLiteral("3"));
}

void TestChart::clipboardRecordBytes()
{
    Chart chart(4, 3, QString());
    KnitScene *scene = chart.knitScene();
    scene->at(1, 0)->setStitch(find("22rc"), 2);
    scene->at(1, 0)->setColor(QColor(10, 20, 30));
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
}

void TestChart::pasteClipsAtEdges()
{
    Chart chart(5, 4, QString());
    KnitScene *scene = chart.knitScene();
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 2; ++x)
            scene->at(x, y)->setStitch(find("p"));
    }
    scene->setSelected(QRectF(0, 0, 1, 1), KnitScene::SelectLasso);
    chart.copy();
    scene->setSelected(scene->at(4, 2));
    chart.paste();
    QCOMPARE(chart.undoStack()->undoText(), QStringLiteral("Paste stitches"));
    QCOMPARE(row(scene, 2), QStringLiteral("k k k k p"));
    QCOMPARE(row(scene, 3), QStringLiteral("k k k k p"));
    QCOMPARE(row(scene, 1), QStringLiteral("p p k k k"));
}

void TestChart::cutAndUndo()
{
    Chart chart(4, 2, QString());
    KnitScene *scene = chart.knitScene();
    scene->at(1, 1)->setStitch(find("yo"));
    scene->at(1, 1)->setColor(Qt::green);
    scene->setSelected(QRectF(0, 1, 3, 0), KnitScene::SelectRows);
    chart.cut();
    QCOMPARE(chart.undoStack()->count(), 1);
    QCOMPARE(chart.undoStack()->undoText(), QStringLiteral("Cut stitches"));
    QCOMPARE(row(scene, 1), QStringLiteral("k k k k"));
    QCOMPARE(scene->color(1, 1), QColor(Qt::white));
    chart.undo();
    QCOMPARE(scene->stitch(1, 1), find("yo"));
    QCOMPARE(scene->color(1, 1), QColor(Qt::green));
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
    scene->setSelected(scene->at(2, 1));
    chart.paste();
    QCOMPARE(row(scene, 1), pastedRow);
    QCOMPARE(row(scene, 0), QStringLiteral("k k k k"));
    QCOMPARE(row(scene, 2), QStringLiteral("k k k k"));
}

void TestChart::foreignClipboardDoesNothing()
{
    Chart chart(4, 2, QString());
    QApplication::clipboard()->setText(QStringLiteral("k2, p2"));
    chart.knitScene()->setSelected(chart.knitScene()->at(0, 0));
    chart.paste();
    QCOMPARE(chart.undoStack()->count(), 0);
}

void TestChart::flips_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("after");
    QTest::newRow("odd width") << 3 << "ssk yo k2tog x";
    QTest::newRow("even width") << 4 << "x ssk yo k2tog";
}

void TestChart::flips()
{
    QFETCH(int, width);
    QFETCH(QString, after);
    Chart chart(4, 2, QString());
    KnitScene *scene = chart.knitScene();
    const char *ids[] = {"k2tog", "yo", "ssk", "x"};
    for (int x = 0; x < 4; ++x)
        scene->at(x, 0)->setStitch(find(ids[x]));
    scene->setSelected(QRectF(0, 0, width - 1, 0), KnitScene::SelectLasso);
    chart.hFlipSelection();
    QCOMPARE(row(scene, 0), after);
    QCOMPARE(chart.undoStack()->undoText(), QStringLiteral("Flip selection horizontally"));
    QCOMPARE(chart.instructions()->grid().at(0).at(0)->stitchID(), after.section(QLatin1Char(' '), 0, 0));

    chart.undo();
    QCOMPARE(row(scene, 0), QStringLiteral("k2tog yo ssk x"));
    scene->setSelected(QRectF(0, 0, 0, 1), KnitScene::SelectLasso);
    chart.vFlipSelection();
    QCOMPARE(row(scene, 1).section(QLatin1Char(' '), 0, 0), QStringLiteral("k2tog"));
    QCOMPARE(chart.undoStack()->undoText(), QStringLiteral("Flip selection vertically"));
}

void TestChart::mirrors()
{
    Chart chart(10, 4, QString());
    KnitScene *scene = chart.knitScene();
    const char *ids[] = {"p", "yo", "ssk"};
    for (int i = 0; i < 3; ++i)
        scene->at(2 + i, 0)->setStitch(find(ids[i]));
    scene->setSelected(QRectF(2, 0, 2, 0), KnitScene::SelectLasso);
    chart.hMirrorSelection();
    QCOMPARE(row(scene, 0), QStringLiteral("k k p yo ssk ssk yo p k k"));
    QCOMPARE(chart.undoStack()->undoText(), QStringLiteral("Mirror selection horizontally"));
    QCoreApplication::processEvents();
    QCOMPARE(chart.instructions()->document()->lastBlock().text(),
             chart.instructions()->rowInstructionsText(0, true));

    // No room to the right: an empty step.
    scene->setSelected(QRectF(7, 0, 2, 0), KnitScene::SelectLasso);
    const int steps = chart.undoStack()->count();
    chart.hMirrorSelection();
    QCOMPARE(chart.undoStack()->count(), steps + 1);
    QCOMPARE(row(scene, 0), QStringLiteral("k k p yo ssk ssk yo p k k"));

    scene->setSelected(QRectF(2, 0, 2, 1), KnitScene::SelectLasso);
    chart.vMirrorSelection();
    // The box, upside down, in the rows below it.
    QCOMPARE(row(scene, 3), QStringLiteral("k k p yo ssk k k k k k"));
    QCOMPARE(chart.undoStack()->undoText(), QStringLiteral("Mirror selection vertically"));
}

void TestChart::replacer()
{
    Chart chart(4, 3, QString());
    KnitScene *scene = chart.knitScene();
    scene->at(0, 0)->setStitch(find("yo"));
    whenModal([](QWidget *dialog) {
        auto *replacer = qobject_cast<StitchReplacerDialog *>(dialog);
        QVERIFY(replacer);
        QList<QComboBox *> boxes = replacer->findChildren<QComboBox *>();
        boxes.at(0)->setCurrentText(QStringLiteral("k"));
        boxes.at(1)->setCurrentText(QStringLiteral("p"));
        replacer->accept();
    });
    chart.stitchReplacer();
    QCOMPARE(row(scene, 0), QStringLiteral("yo p p p"));
    QCOMPARE(row(scene, 2), QStringLiteral("p p p p"));
    QCOMPARE(chart.undoStack()->count(), 1);
    QCOMPARE(chart.undoStack()->undoText(), QStringLiteral("Replace Stitch"));
}

static QByteArray recordOf(const Chart &chart)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_4_5);
    out << QStringLiteral("<Chart>");
    chart.save(out);
    return bytes;
}

static std::unique_ptr<Chart> readChart(const QByteArray &bytes, bool *ok)
{
    QDataStream in(bytes);
    in.setVersion(QDataStream::Qt_4_5);
    QString tag;
    in >> tag;
    auto chart = std::make_unique<Chart>(in);
    *ok = chart->loadChart(in, nullptr);
    return chart;
}

void TestChart::recordRoundTrip()
{
    Chart chart(5, 3, QString());
    chart.setTitle(QStringLiteral("Yoke"));
    chart.setHash(QByteArray("abc"));
    chart.setImgSize(QSize(120, 80));
    chart.setKnitStyleLace();
    chart.findChild<QCheckBox *>()->click();
    chart.findChild<QComboBox *>()->setCurrentIndex(1);
    QList<QSpinBox *> boxes = chart.findChildren<QSpinBox *>();
    boxes.at(0)->setValue(3);
    boxes.at(1)->setValue(5);
    chart.knitScene()->at(2, 1)->setStitch(find("c4f"), 1);
    chart.knitScene()->at(2, 1)->setTopBorder(true, Qt::red);

    bool ok = false;
    auto copy = readChart(recordOf(chart), &ok);
    QVERIFY(ok);
    QCOMPARE(copy->chartTitle(), QStringLiteral("Yoke"));
    QCOMPARE(copy->hash, QByteArray("abc"));
    QCOMPARE(copy->imgSize, QSize(120, 80));
    QCOMPARE(copy->knitStyle, 2);
    QCOMPARE(copy->sideSelection, QStringLiteral("Wrong Side"));
    QCOMPARE(copy->knitScene()->columnNumberOffset, 2);
    QCOMPARE(copy->knitScene()->rowNumberOffset, 4);
    QVERIFY(copy->knitScene()->skipRows);
    QVERIFY(copy->findChild<QCheckBox *>()->isChecked());
    QCOMPARE(copy->findChild<QComboBox *>()->currentIndex(), 1);
    QCOMPARE(copy->findChildren<QSpinBox *>().at(0)->value(), 3);
    QCOMPARE(copy->findChildren<QSpinBox *>().at(1)->value(), 5);
    QVERIFY(copy->findChildren<QRadioButton *>().at(2)->isChecked());
    QCOMPARE(copy->knitScene()->stitch(2, 1), find("c4f"));
    QVERIFY(copy->knitScene()->at(2, 1)->topBorder());
    QCOMPARE(copy->instructions()->toPlainText(), chart.instructions()->toPlainText());
    QCOMPARE(copy->instructions()->rowHeaderText(1), chart.instructions()->rowHeaderText(1));
    QCOMPARE(recordOf(*copy), recordOf(chart));
    QVERIFY(copy->menu());
    QVERIFY(copy->undoStack()->isClean());
}

// A header written by hand: `tags` lists the header tags to write, in order.
static QByteArray handWritten(const QStringList &tags, int width = 2, int height = 2)
{
    Chart source(width, height, QString());
    QByteArray scene;
    {
        QDataStream out(&scene, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_4_5);
        source.knitScene()->save(out);
    }
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_4_5);
    out << QStringLiteral("<Chart>");
    for (const QString &tag : tags) {
        out << tag;
        if (tag == QLatin1String("Name:"))
            out << QStringLiteral("Sleeve");
        else if (tag == QLatin1String("Width:"))
            out << qint32(width);
        else if (tag == QLatin1String("Height:"))
            out << qint32(height);
        else if (tag == QLatin1String("KnitStyle:"))
            out << qint32(1);
        else if (tag == QLatin1String("Hash:"))
            out << QByteArray("h");
        else if (tag == QLatin1String("ImgSize:"))
            out << QSize(3, 4);
    }
    out.writeRawData(scene.constData(), int(scene.size()));
    out << QStringLiteral("</Chart>");
    return bytes;
}

void TestChart::recordTolerantHeader_data()
{
    QTest::addColumn<QStringList>("tags");
    QTest::newRow("reordered") << QStringList{"KnitStyle:", "Height:", "ImgSize:", "Name:", "Hash:", "Width:"};
    QTest::newRow("no hash or image size") << QStringList{"Width:", "Name:", "Height:", "KnitStyle:"};
}

void TestChart::recordTolerantHeader()
{
    QFETCH(QStringList, tags);
    bool ok = false;
    auto chart = readChart(handWritten(tags), &ok);
    QVERIFY(ok);
    QCOMPARE(chart->chartTitle(), QStringLiteral("Sleeve"));
    QCOMPARE(chart->knitStyle, 1);
    QCOMPARE(chart->knitScene()->columnCount(), 2);
    QCOMPARE(chart->imgSize, tags.contains("ImgSize:") ? QSize(3, 4) : QSize(-1, -1));
    QCOMPARE(chart->hash, tags.contains("Hash:") ? QByteArray("h") : QByteArray());
}

void TestChart::recordRejectsDamage_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QStringList tags{"Name:", "Width:", "Height:"};
    QTest::newRow("unknown tag") << handWritten({"Name:", "Colour:"});
    QByteArray huge = handWritten(tags);
    // "Width:" is followed by 2; make it two thousand million.
    const QByteArray widthTag = QByteArray::fromHex("0000000c00570069006400740068003a00000002");
    huge.replace(widthTag, QByteArray::fromHex("0000000c00570069006400740068003a77359400"));
    QTest::newRow("size larger than the record") << huge;
    QByteArray zero = handWritten(tags);
    zero.replace(widthTag, QByteArray::fromHex("0000000c00570069006400740068003a00000000"));
    QTest::newRow("zero width") << zero;
    QByteArray negative = handWritten(tags);
    negative.replace(widthTag, QByteArray::fromHex("0000000c00570069006400740068003affffffff"));
    QTest::newRow("negative width") << negative;
    QTest::newRow("cut off") << handWritten(tags).left(200);
}

void TestChart::recordRejectsDamage()
{
    QFETCH(QByteArray, bytes);
    bool ok = true;
    auto chart = readChart(bytes, &ok);
    QVERIFY(!ok);
    // What was built is whole: it can be shown and saved.
    QVERIFY(chart->knitScene());
    QVERIFY(chart->instructions());
    QVERIFY(chart->menu());
    QVERIFY(chart->knitScene()->rowCount() < 1000);
    QVERIFY(!recordOf(*chart).isEmpty());
}

void TestChart::exportRaster()
{
    Chart chart(6, 4, QString());
    const QString path = m_env->scratchPath(QStringLiteral("chart.png"));
    const QRectF source = chart.imageSourceRect();
    QVERIFY(chart.exportImage(path, QSize(600, 300), 96));
    QImage image(path);
    QCOMPARE(image.size(), QSize(600, 300));
    QCOMPARE(image.dotsPerMeterX(), 3780);
    QCOMPARE(source.left(), 0.0);
    QCOMPARE(source.width(), double(chart.sceneWidthPx()));
}

void TestChart::exportSvg()
{
    Chart chart(6, 4, QString());
    chart.setTitle(QStringLiteral("Cuff"));
    const QString path = m_env->scratchPath(QStringLiteral("chart.svg"));
    QVERIFY(chart.exportImage(path, QSize(400, 300), 96));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QDomDocument svg;
    QVERIFY(svg.setContent(&file));
    const QDomElement root = svg.documentElement();
    QCOMPARE(root.tagName(), QStringLiteral("svg"));
    const QRectF source = chart.imageSourceRect();
    QCOMPARE(root.attribute(QStringLiteral("viewBox")).split(QLatin1Char(' ')).at(2).toDouble(), source.width());
    QCOMPARE(root.firstChildElement(QStringLiteral("title")).text(), QStringLiteral("Cuff"));
}

void TestChart::saveImageThroughDialogs()
{
    Chart chart(6, 4, QString());
    const QString base = m_env->scratchPath(QStringLiteral("picture"));
    whenModal([base](QWidget *options) {
        QVERIFY(qobject_cast<SaveOptionsDialog *>(options));
        whenModal([base](QWidget *files) {
            auto *dialog = qobject_cast<QFileDialog *>(files);
            QVERIFY(dialog);
            acceptFile(dialog, base);
        });
        static_cast<QDialog *>(options)->accept();
    });
    chart.saveImage();
    QVERIFY(QFile::exists(base + QStringLiteral(".jpg")));
    QCOMPARE(QImage(base + QStringLiteral(".jpg")).width(), chart.sceneWidthPx());
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
}

YARNWISE_TEST_MAIN(TestChart)
#include "tst_chart.moc"
