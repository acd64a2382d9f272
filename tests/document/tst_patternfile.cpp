#include "chart.h"
#include "directions.h"
#include "document.h"
#include "chartfixtures.h"
#include "chartgrid.h"
#include "knitscene.h"
#include "mainwindow.h"
#include "patternfile.h"
#include "settings.h"
#include "stitch.h"
#include "stitchset.h"
#include "modaldialog.h"
#include "testenvironment.h"
#include "ui_mainwindowclass.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBuffer>
#include <QFileDialog>
#include <QImage>
#include <QMdiArea>
#include <QMenu>
#include <QMessageBox>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QtTest>

#include <functional>

class TestPatternFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { StitchSet::instance()->load(); }
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void builtinStitchesOnly();
    void roundTrip();
    void fileVersions_data();
    void fileVersions();
    void openTwiceActivates();
    void userStitchTravelsWithItsImage();
    void saveAsNames_data();
    void saveAsNames();
    void failedSaveKeepsWork();
    void closeWithCancelledSaveStaysOpen();
    void closedDocumentsTakeTheirToolBars();

private:
    QString writePattern(Document &doc, const QString &name);
    std::unique_ptr<TestEnvironment> m_env;
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

static QByteArray fileBytes(Document &doc)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    doc.save(out);
    return bytes;
}

static std::unique_ptr<Document> readBytes(const QByteArray &bytes, bool *ok)
{
    QDataStream in(bytes);
    qint32 magic = 0, version = 0;
    in >> magic >> version;
    auto doc = std::make_unique<Document>(in);
    *ok = doc->loadDocument(in);
    return doc;
}

QString TestPatternFile::writePattern(Document &doc, const QString &name)
{
    const QString path = m_env->scratchPath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(fileBytes(doc));
    return path;
}

// Answers the next modal dialog with `handle`.
static void whenModal(const std::function<void(QWidget *)> &handle)
{
    QTimer::singleShot(0, [handle] {
        if (QWidget *dialog = QApplication::activeModalWidget())
            handle(dialog);
    });
}

static void chooseFile(const QString &path)
{
    whenModal([path](QWidget *widget) {
        auto *dialog = qobject_cast<QFileDialog *>(widget);
        QVERIFY(dialog);
        if (path.isEmpty()) {
            static_cast<QDialog *>(dialog)->reject();
            return;
        }
        acceptFile(dialog, path);
    });
}

void TestPatternFile::builtinStitchesOnly()
{
    Document doc(3, 2, QStringLiteral("a.kit"), QStringLiteral("Chart"), QStringLiteral("k"));
    const QByteArray bytes = fileBytes(doc);
    QByteArray expected;
    QDataStream out(&expected, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_4_5);
    out << qint32(0x2AC9863F) << qint32(201002) << QStringLiteral("<Document>") << QStringLiteral("PageSize:");
    QVERIFY(bytes.startsWith(expected));
    QVERIFY(!bytes.contains(encoded(QStringLiteral("<Stitch>"))));
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

    bool ok = false;
    auto copy = readBytes(fileBytes(doc), &ok);
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
    QCOMPARE(fileBytes(*copy), fileBytes(doc));
}

void TestPatternFile::fileVersions_data()
{
    QTest::addColumn<qint32>("version");
    QTest::addColumn<bool>("opens");
    QTest::newRow("newer") << qint32(PatternFile::newestVersion + 1) << false;
    QTest::newRow("current") << qint32(PatternFile::newestVersion) << true;
}

void TestPatternFile::fileVersions()
{
    QFETCH(qint32, version);
    QFETCH(bool, opens);
    Document doc(2, 2, QStringLiteral("a.kit"), QStringLiteral("Chart"), QStringLiteral("k"));
    QByteArray bytes = fileBytes(doc);
    QDataStream patch(&bytes, QIODevice::ReadWrite);
    patch.device()->seek(4);
    patch << version;
    const QString path = m_env->scratchPath(QStringLiteral("v.kit"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();

    MainWindow window;
    QCOMPARE(window.openFile(path, true), opens);
    QCOMPARE(window.documents().size(), opens ? 1 : 0);

    // Not a pattern file at all.
    QFile other(m_env->scratchPath(QStringLiteral("notes.kit")));
    QVERIFY(other.open(QIODevice::WriteOnly));
    other.write("Cast on 20 stitches");
    other.close();
    QVERIFY(!window.openFile(other.fileName(), true));
    QVERIFY(!window.openFile(m_env->scratchPath(QStringLiteral("missing.kit")), true));
}

void TestPatternFile::openTwiceActivates()
{
    Document doc(2, 2, QStringLiteral("a.kit"), QStringLiteral("Chart"), QStringLiteral("k"));
    const QString path = writePattern(doc, QStringLiteral("twice.kit"));
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
    const QByteArray bytes = fileBytes(doc);
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
    auto copy = readBytes(bytes, &ok);
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
    auto second = readBytes(bytes, &again);
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
    whenModal([](QWidget *dialog) { static_cast<QDialog *>(dialog)->accept(); });
    window.newDoc();
    Document *doc = window.currentDocument();
    doc->curChart()->knitScene()->setStitch(QPoint(0, 0), find("p"), 0);
    chooseFile(m_env->scratchPath(typed));
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
    whenModal([](QWidget *dialog) { static_cast<QDialog *>(dialog)->accept(); });
    window.newDoc();
    Document *doc = window.currentDocument();
    doc->curChart()->knitScene()->setStitch(QPoint(0, 0), find("p"), 0);
    // A folder stands where the file should go.
    const QString blocked = m_env->scratchPath(QStringLiteral("blocked.kit"));
    QDir().mkpath(blocked);
    doc->setFileName(blocked);
    doc->setSaved(true);
    QString warning;
    whenModal([&warning](QWidget *widget) {
        auto *box = qobject_cast<QMessageBox *>(widget);
        QVERIFY(box);
        warning = box->text();
        box->accept();
    });
    QVERIFY(!window.save());
    QVERIFY(warning.startsWith(QLatin1String("Could not save")));
    QVERIFY(doc->isModified());
}

void TestPatternFile::closeWithCancelledSaveStaysOpen()
{
    MainWindow window;
    whenModal([](QWidget *dialog) { static_cast<QDialog *>(dialog)->accept(); });
    window.newDoc();
    window.currentDocument()->curChart()->knitScene()->setStitch(QPoint(0, 0), find("p"), 0);
    whenModal([](QWidget *widget) {
        auto *box = qobject_cast<QMessageBox *>(widget);
        QVERIFY(box);
        chooseFile(QString()); // the save dialog is cancelled
        box->button(QMessageBox::Save)->click();
    });
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
        whenModal([](QWidget *dialog) { static_cast<QDialog *>(dialog)->accept(); });
        window.newDoc();
        Document *doc = window.currentDocument();
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
