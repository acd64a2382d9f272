#include "chart.h"
#include "chartfixtures.h"
#include "directions.h"
#include "document.h"
#include "knitscene.h"
#include "modaldialog.h"
#include "patternfixtures.h"
#include "stitchset.h"
#include "testenvironment.h"
#include "textedit.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPrinter>
#include <QTabWidget>
#include <QUndoStack>
#include <QtTest>

class TestDocument : public TestSuite
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { StitchSet::instance()->load(); }

    void newDocumentTabs();
    void talliesFollowPainting();
    void newChartTallies();
    void changesOutsideUndoCount();
    void lookingChangesNothing();
    void forwardsToCurrentTab();
    void removeChart_data();
    void removeChart();
    void closePrompt_data();
    void closePrompt();
};

static Stitch *find(const char *id)
{
    return stitchById(id);
}

void TestDocument::newDocumentTabs()
{
    Document doc(4, 3, QStringLiteral("/tmp/a.kit"), QStringLiteral("Body"), QStringLiteral("k"));
    QCOMPARE(doc.tabCount(), 2);
    QVERIFY(doc.curChart());
    QCOMPARE(doc.chartList(), QStringList{"Body"});
    QVERIFY(!doc.isModified());
    QVERIFY(!doc.isSaved());
    QCOMPARE(doc.undoHistory(), doc.curChart()->undoStack());
    doc.tabWidget()->setCurrentIndex(0);
    QVERIFY(doc.curDirections());
    QVERIFY(!doc.curChart());
    QVERIFY(doc.undoHistory());
    QVERIFY(doc.undoHistory()->count() == 0);
}

void TestDocument::talliesFollowPainting()
{
    Document doc(2, 1, QStringLiteral("a.kit"), QStringLiteral("Chart"), QStringLiteral("k"));
    QSignalSpy stitches(&doc, &Document::currentStitchesUsed);
    QSignalSpy colors(&doc, &Document::currentColorsUsed);
    KnitScene *scene = doc.curChart()->knitScene();

    scene->setStitch(QPoint(0, 0), find("p"), 0);
    QCOMPARE(stitches.count(), 1);
    QCOMPARE(doc.stitchesUsed, (QList<Stitch *>{find("k"), find("p")}));
    QCOMPARE(doc.stitchCounts, (QList<qint32>{1, 1}));
    scene->setStitch(QPoint(1, 0), find("p"), 0); // k leaves the list
    QCOMPARE(stitches.count(), 2);
    QCOMPARE(doc.stitchesUsed, QList<Stitch *>{find("p")});
    QCOMPARE(doc.stitchCounts, QList<qint32>{2});
    scene->setStitch(QPoint(1, 0), find("p"), 0); // nothing new
    QCOMPARE(stitches.count(), 2);

    scene->setColor(QPoint(0, 0), Qt::red);
    QCOMPARE(colors.count(), 1);
    QCOMPARE(doc.colorsUsed, (QList<QColor>{Qt::white, Qt::red}));
    scene->undoStack()->undo();
    QCOMPARE(doc.colorsUsed, QList<QColor>{Qt::white});
    QCOMPARE(doc.colorCounts, QList<qint32>{2});
}

void TestDocument::newChartTallies()
{
    Document doc(2, 2, QStringLiteral("a.kit"), QStringLiteral("Chart"), QStringLiteral("k"));
    doc.addNewChart(10, 20, QStringLiteral("Sleeve"), QStringLiteral("k"));
    QCOMPARE(doc.stitchCounts, QList<qint32>{204});
    QCOMPARE(doc.colorCounts, QList<qint32>{204});
    doc.addNewChart(3, 1, QStringLiteral("Edge"), QStringLiteral("x"));
    QCOMPARE(doc.stitchesUsed, (QList<Stitch *>{find("k"), find("x")}));
    QCOMPARE(doc.curChart()->grid()->stitch(0, 0), find("x"));
    QCOMPARE(doc.chartList(), (QStringList{"Chart", "Sleeve", "Edge"}));

    // Cells a file left without a colour give the pattern no colour.
    PatternValues values;
    PatternTab tab;
    tab.chart = std::make_unique<ChartValues>();
    tab.chart->grid = std::make_unique<ChartGrid>(2, 1, find("k"), QColor());
    values.tabs.push_back(std::move(tab));
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    PatternFile::write(out, values);
    bool ok = false;
    const std::unique_ptr<Document> read = readPattern(bytes, &ok);
    QVERIFY(ok);
    QCOMPARE(read->stitchCounts, QList<qint32>{2});
    QCOMPARE(read->colorsUsed, QList<QColor>());
}

// The title as the window shows it: the mark of unsaved changes stands in
// place of "[*]".
static QString shownTitle(const QWidget &window)
{
    QString title = window.windowTitle();
    return title.replace(QStringLiteral("[*]"), window.isWindowModified() ? QStringLiteral("*") : QString());
}

// Painting undone back to clean is nothing to save, and the title says so;
// but a chart title or knitting style is no undo step, and undoing
// painting must not forget it.
void TestDocument::changesOutsideUndoCount()
{
    Document doc(2, 2, QStringLiteral("/tmp/dir/a.kit"), QStringLiteral("Chart"), QStringLiteral("k"));
    const QString path = QDir::toNativeSeparators(QStringLiteral("/tmp/dir/a.kit"));
    QCOMPARE(shownTitle(doc), path);
    doc.curChart()->knitScene()->setStitch(QPoint(0, 0), find("p"), 0);
    QCOMPARE(shownTitle(doc), path + QLatin1Char('*'));
    doc.curChart()->undo();
    QCOMPARE(shownTitle(doc), path);
    QVERIFY(!doc.isModified());

    doc.curChart()->setTitle(QStringLiteral("Yoke"));
    QVERIFY(doc.isModified());
    QCOMPARE(doc.tabWidget()->tabText(1), QStringLiteral("Yoke"));
    doc.curChart()->knitScene()->setStitch(QPoint(0, 0), find("p"), 0);
    doc.curChart()->undo();
    QVERIFY(doc.isModified());
    doc.markSaved();
    QVERIFY(!doc.isModified());
    doc.curChart()->setKnitStyleRound();
    QVERIFY(doc.isModified());
}

// Moving between the pages, or reading the pattern out, is no change to
// save: a pattern opened and looked at closes without a question.
void TestDocument::lookingChangesNothing()
{
    const QString path = m_env->rootPath() + QStringLiteral("/look.kit");
    {
        Document doc(6, 4, path, QStringLiteral("Front"), QStringLiteral("k"));
        Chart *chart = doc.charts().first();
        Directions *page = doc.directions().first();
        const QImage picture = doc.generateChart(chart, 6.5, 9.0);
        chart->setHash(Directions::imageHash(picture));
        page->insertChartImage(picture);
        QVERIFY(savePattern(doc, path));
    }
    PatternFile file(path);
    QCOMPARE(file.open(), PatternFile::Ok);
    Document doc(file.stream());
    QVERIFY(doc.loadDocument(file.stream()));
    doc.show();
    QVERIFY(!doc.isModified());
    doc.tabWidget()->setCurrentWidget(doc.directions().first());
    QVERIFY(!doc.isModified());
    doc.tabWidget()->setCurrentWidget(doc.charts().first());
    QVERIFY(!doc.isModified());
    doc.tabWidget()->setCurrentWidget(doc.directions().first());
    QVERIFY(!doc.isModified());
    for (const QString &what : {QStringLiteral("[Document]"), QStringLiteral("[Key]"), QStringLiteral("Front")}) {
        doc.print(pdfPrinter(m_env->scratchPath(QStringLiteral("look.pdf"))).get(), {what});
        QVERIFY2(!doc.isModified(), qPrintable(what));
    }
}

void TestDocument::forwardsToCurrentTab()
{
    Document doc(2, 2, QStringLiteral("a.kit"), QStringLiteral("Chart"), QStringLiteral("k"));
    QSignalSpy undo(&doc, &Document::canUndoChanged);
    doc.curChart()->knitScene()->setStitch(QPoint(0, 0), find("p"), 0);
    QVERIFY(!undo.isEmpty());
    QVERIFY(undo.last().first().toBool());
    doc.undo();
    QCOMPARE(doc.curChart()->grid()->stitch(0, 0), find("k"));
    doc.redo();
    QCOMPARE(doc.curChart()->grid()->stitch(0, 0), find("p"));

    QMenu *shown = nullptr;
    connect(&doc, &Document::menu, this, [&shown](QMenu *menu) { shown = menu; });
    QSignalSpy history(&doc, &Document::undoHistoryChanged);
    doc.tabWidget()->setCurrentIndex(0);
    QCOMPARE(shown, doc.curDirections()->menu());
    QCOMPARE(history.count(), 1);
    doc.undo(); // goes to the page, not the chart
    QCOMPARE(doc.charts().first()->grid()->stitch(0, 0), find("p"));

    // Typing on the Directions page is one history with the menu's Undo:
    // the document, the stack it shows and the text's own Ctrl+Z agree.
    Directions *page = doc.curDirections();
    auto *text = page->textEdit();
    QTest::keyClicks(text, QStringLiteral("abc"));
    QCOMPARE(doc.undoHistory(), page->undoStack());
    QVERIFY(page->undoStack()->canUndo());
    QVERIFY(doc.isModified());
    doc.undo();
    QCOMPARE(text->toPlainText(), QString());
    QVERIFY(page->undoStack()->canRedo());
    doc.redo();
    QCOMPARE(text->toPlainText(), QStringLiteral("abc"));
    const int steps = page->undoStack()->index();
    QTest::keyClick(text, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(text->toPlainText(), QString());
    QCOMPARE(page->undoStack()->index(), steps - 1);
}

void TestDocument::removeChart_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("tabsAfter");
    QTest::newRow("yes") << int(QMessageBox::Yes) << 2;
    QTest::newRow("no") << int(QMessageBox::No) << 3;
    QTest::newRow("cancel") << int(QMessageBox::Cancel) << 3;
}

void TestDocument::removeChart()
{
    QFETCH(int, answer);
    QFETCH(int, tabsAfter);
    Document doc(2, 2, QStringLiteral("a.kit"), QStringLiteral("Chart"), QStringLiteral("k"));
    doc.addNewChart(3, 3, QStringLiteral("Two"), QStringLiteral("p"));
    QCOMPARE(doc.stitchesUsed.size(), 2);
    ::answerNextBox(QMessageBox::StandardButton(answer));
    doc.removeChart();
    QCOMPARE(doc.tabCount(), tabsAfter);
    if (tabsAfter == 2) {
        // Its cells left the tallies.
        QCOMPARE(doc.stitchesUsed, QList<Stitch *>{find("k")});
        QCOMPARE(doc.colorCounts, QList<qint32>{4});
        QVERIFY(doc.isModified());
    }
}

void TestDocument::closePrompt_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("saves"); // whether the save the prompt asks for succeeds
    QTest::addColumn<bool>("closes");
    QTest::addColumn<QString>("closedSignal");

    QTest::newRow("save") << int(QMessageBox::Save) << true << true << "false";
    QTest::newRow("save that does not happen") << int(QMessageBox::Save) << false << false << "";
    QTest::newRow("discard") << int(QMessageBox::Discard) << false << true << "true";
    QTest::newRow("cancel") << int(QMessageBox::Cancel) << false << false << "";
}

void TestDocument::closePrompt()
{
    QFETCH(int, answer);
    QFETCH(bool, saves);
    QFETCH(bool, closes);
    QFETCH(QString, closedSignal);

    QMdiArea area;
    auto *doc = new Document(2, 2, QStringLiteral("a.kit"), QStringLiteral("Chart"), QStringLiteral("k"));
    QMdiSubWindow *window = area.addSubWindow(doc);
    window->show();
    QPointer<Document> alive(doc);
    doc->curChart()->knitScene()->setStitch(QPoint(0, 0), find("p"), 0);
    connect(doc, &Document::saveMe, doc, [doc, saves] {
        if (saves)
            doc->markSaved();
    });
    QSignalSpy closed(doc, &Document::docClosed);

    ::answerNextBox(QMessageBox::StandardButton(answer));
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(alive.isNull(), closes);
    if (!closes) {
        QVERIFY(doc->isModified());
        QCOMPARE(closed.count(), 0);
    } else {
        QCOMPARE(closed.count(), 1);
        QCOMPARE(closed.first().first().toBool() ? QStringLiteral("true") : QStringLiteral("false"), closedSignal);
    }
}

YARNWISE_TEST_MAIN(TestDocument)
#include "tst_document.moc"
