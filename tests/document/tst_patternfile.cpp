#include "chart.h"
#include "chartfixtures.h"
#include "directions.h"
#include "document.h"
#include "knitscene.h"
#include "mainwindow.h"
#include "modaldialog.h"
#include "patternfixtures.h"
#include "stitch.h"
#include "stitchset.h"
#include "testenvironment.h"
#include "ui_mainwindowclass.h"

#include <QMenu>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QtTest>

class TestPatternFile : public TestSuite
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { StitchSet::instance()->load(); }

    void roundTrip();
    void newerFileRefused();
    void openTwiceActivates();
    void userStitchTravelsWithItsImage();
    void saveAsNames_data();
    void saveAsNames();
    void failedSaveKeepsWork();
    void closeWithCancelledSaveStaysOpen();
    void closedDocumentsTakeTheirToolBars();
};

static Stitch *find(const char *id)
{
    return stitchById(id);
}

// `text` as the pattern file's stream writes it.
static QByteArray encoded(const QString &text)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_4_5);
    out << text;
    return bytes;
}

void TestPatternFile::roundTrip()
{
    Document doc(4, 3, QStringLiteral("a.kit"), QStringLiteral("Front"), QStringLiteral("k"));
    doc.curChart()->knitScene()->setStitch(QPoint(1, 1), find("yo"), 0);
    doc.curChart()->knitScene()->setColor(QPoint(2, 2), Qt::red);
    doc.addNewChart(2, 2, QStringLiteral("Back"), QStringLiteral("p"));
    doc.showWS = false;
    doc.docKeyHash = QByteArray("key");
    doc.pageSize = 3;
    // The directions tab moved after the first chart.
    doc.tabWidget()->tabBar()->moveTab(0, 1);

    // Built-in stitches only: the version older programs open, and no
    // stitch records.
    const QByteArray bytes = patternBytes(doc);
    QDataStream head(bytes);
    qint32 magic = 0, version = 0;
    head >> magic >> version;
    QCOMPARE(version, qint32(201002));
    QVERIFY(!bytes.contains(encoded(QStringLiteral("<Stitch>"))));

    bool ok = false;
    auto copy = readPattern(bytes, &ok);
    QVERIFY(ok);
    QCOMPARE(copy->loadErrors, QStringList());
    QCOMPARE(copy->tabCount(), 3);
    QVERIFY(qobject_cast<Chart *>(copy->tabWidget()->widget(0)));
    QVERIFY(qobject_cast<Directions *>(copy->tabWidget()->widget(1)));
    QCOMPARE(copy->chartList(), (QStringList{"Front", "Back"}));
    QCOMPARE(copy->tabWidget()->currentIndex(), 0);
    QCOMPARE(copy->curChart()->grid()->stitch(1, 1), find("yo"));
    QCOMPARE(copy->curChart()->grid()->color(2, 2), QColor(Qt::red));
    QVERIFY(!copy->showWS);
    QCOMPARE(copy->docKeyHash, QByteArray("key"));
    QCOMPARE(copy->pageSize, 3);
    // The tallies were built while the charts loaded.
    QCOMPARE(copy->stitchCounts.size(), 3);
    QVERIFY(copy->isSaved());
    QVERIFY(!copy->isModified());
    QCOMPARE(patternBytes(*copy), bytes);
}

// Which versions and files the reader refuses is the format's to test; the
// window opens nothing for one it refuses.
void TestPatternFile::newerFileRefused()
{
    Document doc(2, 2, QStringLiteral("a.kit"), QStringLiteral("Chart"), QStringLiteral("k"));
    QByteArray bytes = patternBytes(doc);
    QDataStream patch(&bytes, QIODevice::ReadWrite);
    patch.device()->seek(4);
    patch << qint32(PatternFile::newestVersion + 1);
    MainWindow window;
    QVERIFY(!window.openFile(m_env->writeScratch(QStringLiteral("v.kit"), bytes), true));
    QVERIFY(window.documents().isEmpty());
}

void TestPatternFile::openTwiceActivates()
{
    const QString path = writePattern(m_env->scratchPath(QStringLiteral("twice.kit")));
    MainWindow window;
    QVERIFY(window.openFile(path, true));
    QFile::remove(path); // not read again
    QVERIFY(window.openFile(path, true));
    QCOMPARE(window.documents().size(), 1);
}

void TestPatternFile::userStitchTravelsWithItsImage()
{
    // A stitch of the designer's own, drawn in a PNG outside the resources.
    const QString imagePath = m_env->scratchPath(QStringLiteral("bobble3.png"));
    QImage art(32, 32, QImage::Format_ARGB32);
    art.fill(Qt::darkGreen);
    QVERIFY(art.save(imagePath));
    Stitch *own = StitchSet::instance()->findOrAdd(QStringLiteral("bob3"));
    own->setAbbrivs({QStringLiteral("bob3")});
    own->setName(QStringLiteral("Bobble of three"));
    own->setCategory(QStringLiteral("Mine"));
    own->setPaths({imagePath});

    Document doc(2, 1, QStringLiteral("a.kit"), QStringLiteral("Chart"), QStringLiteral("k"));
    doc.curChart()->knitScene()->setStitch(QPoint(0, 0), own, 0);
    const QByteArray bytes = patternBytes(doc);
    QVERIFY(bytes.contains(encoded(QStringLiteral("<Stitch>"))));
    QVERIFY(bytes.contains(encoded(imagePath)));

    // Another machine: the stitch is unknown there and a different picture
    // of the same name already lives in the user's stitch folder.
    TestEnvironment elsewhere;
    own->setAbbrivs({QStringLiteral("gone")});
    const QString folder = StitchSet::userFolder() + QStringLiteral("/stitches/");
    QDir().mkpath(folder);
    QImage theirs(8, 8, QImage::Format_ARGB32);
    theirs.fill(Qt::blue);
    QVERIFY(theirs.save(folder + QStringLiteral("bobble3.png")));

    bool ok = false;
    auto copy = readPattern(bytes, &ok);
    QVERIFY(ok);
    bool found = false;
    Stitch *arrived = StitchSet::instance()->findStitch(QStringLiteral("bob3"), &found);
    QVERIFY(found);
    QVERIFY(arrived->temporary);
    QCOMPARE(arrived->name(), QStringLiteral("Bobble of three"));
    QCOMPARE(arrived->paths().size(), 1);
    QVERIFY(arrived->paths().first().startsWith(folder));
    QCOMPARE(QImage(arrived->paths().first()).pixelColor(1, 1), QColor(Qt::darkGreen));
    // The picture that was there before is untouched.
    QCOMPARE(QImage(folder + QStringLiteral("bobble3.png")).pixelColor(1, 1), QColor(Qt::blue));
    QCOMPARE(copy->curChart()->grid()->stitch(0, 0), arrived);

    // A stitch whose abbreviation the catalogue knows keeps the catalogue's.
    arrived->setName(QStringLiteral("Renamed here"));
    bool again = false;
    auto second = readPattern(bytes, &again);
    QCOMPARE(arrived->name(), QStringLiteral("Renamed here"));
    QCOMPARE(StitchSet::instance()->findStitch(QStringLiteral("bob3")), arrived);
}

void TestPatternFile::saveAsNames_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::newRow("suffix in capitals stays") << "Pattern.Kit" << "Pattern.Kit";
    QTest::newRow("suffix added") << "Pattern" << "Pattern.kit";
}

void TestPatternFile::saveAsNames()
{
    QFETCH(QString, typed);
    QFETCH(QString, written);
    MainWindow window;
    Document *doc = newPattern(window);
    doc->curChart()->knitScene()->setStitch(QPoint(0, 0), find("p"), 0);
    chooseNextFile(m_env->scratchPath(typed));
    QVERIFY(window.saveAs());
    QVERIFY(QFile::exists(m_env->scratchPath(written)));
    QCOMPARE(doc->fileName(), m_env->scratchPath(written));
    QVERIFY(doc->isSaved());
    QVERIFY(!doc->isModified());
    QCOMPARE(window.form()->menuWindow->actions().first()->text(), m_env->scratchPath(written));

    // Saving again writes the same place without asking.
    doc->curChart()->knitScene()->setStitch(QPoint(1, 0), find("p"), 0);
    QVERIFY(window.save());
    QVERIFY(!doc->isModified());
}

void TestPatternFile::failedSaveKeepsWork()
{
    MainWindow window;
    Document *doc = newPattern(window);
    doc->curChart()->knitScene()->setStitch(QPoint(0, 0), find("p"), 0);
    // A folder stands where the file should go.
    const QString blocked = m_env->scratchPath(QStringLiteral("blocked.kit"));
    QDir().mkpath(blocked);
    doc->setFileName(blocked);
    doc->setSaved(true);
    QString warning;
    answerNextBox(QMessageBox::Ok, &warning);
    QVERIFY(!window.save());
    QVERIFY2(warning.section(QLatin1Char('|'), 1).startsWith(QLatin1String("Could not save")), qPrintable(warning));
    QVERIFY(doc->isModified());
}

void TestPatternFile::closeWithCancelledSaveStaysOpen()
{
    MainWindow window;
    newPattern(window)->curChart()->knitScene()->setStitch(QPoint(0, 0), find("p"), 0);
    chooseNextFile(QString()); // the save dialog is cancelled
    answerNextBox(QMessageBox::Save);
    window.closeDoc();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(window.documents().size(), 1);
    QVERIFY(window.currentDocument()->isModified());
}

// Every tab's tool bar is shown in the main window in its turn; closing the
// document must not leave them behind there.
void TestPatternFile::closedDocumentsTakeTheirToolBars()
{
    MainWindow window;
    const qsizetype before = window.findChildren<QToolBar *>().size();
    for (int i = 0; i < 3; ++i) {
        Document *doc = newPattern(window);
        QVERIFY(doc);
        for (int tab = 0; tab < doc->tabCount(); ++tab)
            doc->tabWidget()->setCurrentIndex(tab);
        window.closeDoc();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(window.documents().size(), 0);
    }
    QCOMPARE(window.findChildren<QToolBar *>().size(), before);
}

YARNWISE_TEST_MAIN(TestPatternFile)
#include "tst_patternfile.moc"
