#include "chart.h"
#include "document.h"
#include "knitscene.h"
#include "mainwindow.h"
#include "sessionentries.h"
#include "settings.h"
#include "stitch.h"
#include "stitchset.h"
#include "tempfiles.h"
#include "modaldialog.h"
#include "testenvironment.h"
#include "ui_mainwindowclass.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QTemporaryFile>
#include <QtTest>

#include <functional>

class TestSession : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { StitchSet::instance()->load(); }
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup()
    {
        cancelModalHandlers();
        m_env.reset();
    }

    void recentFiles_data();
    void recentFiles();
    void recentMenu();
    void sessionEntriesKeepPaths();
    void autosaveCopies();
    void cancelKeepsSession();
    void recoversAfterCrash();

private:
    std::unique_ptr<TestEnvironment> m_env;
};

static QStringList recent()
{
    QStringList files;
    for (int i = 1; i <= 5; ++i)
        files << Settings::instance()->value(QStringLiteral("fileList/%1").arg(i), QString()).toString();
    return files;
}

void TestSession::recentFiles_data()
{
    QTest::addColumn<QString>("added");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("known file moves up") << "C" << QStringList{"C", "A", "B", "D", "E"};
    QTest::newRow("new file pushes down") << "F" << QStringList{"F", "A", "B", "C", "D"};
}

void TestSession::recentFiles()
{
    QFETCH(QString, added);
    QFETCH(QStringList, after);
    const QStringList start{"A", "B", "C", "D", "E"};
    for (int i = 0; i < 5; ++i)
        Settings::instance()->setValue(QStringLiteral("fileList/%1").arg(i + 1), start.at(i));
    MainWindow window;
    window.addRecentFile(added);
    QCOMPARE(recent(), after);
}

void TestSession::recentMenu()
{
    MainWindow window;
    QMenu *file = window.form()->menuFile;
    const int plain = int(file->actions().size());
    window.generateRecentFilesList();
    int visible = 0;
    for (QAction *action : file->actions())
        visible += action->isVisible() ? 1 : 0;
    QCOMPARE(visible, plain); // nothing opened yet: no entries, no empty lines

    const QString real = m_env->scratchPath(QStringLiteral("Shawl.kit"));
    QFile(real).open(QIODevice::WriteOnly);
    window.addRecentFile(m_env->scratchPath(QStringLiteral("gone.kit")));
    window.addRecentFile(real);
    window.generateRecentFilesList();
    QStringList shown;
    for (QAction *action : file->actions()) {
        if (action->isVisible() && action->data().isValid())
            shown << action->text();
    }
    QCOMPARE(shown, QStringList{"&1 Shawl.kit"});
}

void TestSession::sessionEntriesKeepPaths()
{
    SessionEntries::set(QStringLiteral("/home/knitter/Shawl.kit"), QStringLiteral("/tmp/yarnwise-a.kit"));
    SessionEntries::set(QStringLiteral("unknown.kit"), QString());
    const QMap<QString, QString> all = SessionEntries::all();
    QCOMPARE(all.value(QStringLiteral("/home/knitter/Shawl.kit")), QStringLiteral("/tmp/yarnwise-a.kit"));
    QVERIFY(all.contains(QStringLiteral("unknown.kit")));
    SessionEntries::remove(QStringLiteral("unknown.kit"));
    QCOMPARE(SessionEntries::all().size(), 1);
}

void TestSession::autosaveCopies()
{
    MainWindow window;
    acceptNextDialog();
    window.newDoc();
    Document *doc = window.currentDocument();
    doc->addNewChart(40, 40, QStringLiteral("Big"), QStringLiteral("k"));
    window.autoSave();
    const QString copy = SessionEntries::copyOf(doc->fileName());
    QVERIFY(QFileInfo::exists(copy));
    const qint64 large = QFileInfo(copy).size();

    // A smaller document: the copy shrinks with it.
    doc->tabWidget()->setCurrentIndex(2);
    QTimer::singleShot(0, [] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
            box->button(QMessageBox::Yes)->click();
    });
    doc->removeChart();
    window.autoSave();
    QCOMPARE(SessionEntries::copyOf(doc->fileName()), copy);
    QVERIFY(QFileInfo(copy).size() < large);
    QVERIFY(!doc->windowTitle().isEmpty());
    QVERIFY(doc->isModified()); // autosave leaves the document's state alone

    // Discarding the document's changes deletes its copy and its entry.
    answerNextBox(QMessageBox::Discard);
    window.closeDoc();
    QVERIFY(!QFileInfo::exists(copy));
    QVERIFY(SessionEntries::all().isEmpty());
}

void TestSession::cancelKeepsSession()
{
    Settings::instance()->setValue(QStringLiteral("savedStatePrompt"), true);
    MainWindow window;
    acceptNextDialog();
    window.newDoc();
    answerNextBox(QMessageBox::Cancel);
    QVERIFY(!window.close());
    QCOMPARE(window.documents().size(), 1);
}

void TestSession::recoversAfterCrash()
{
    QString copy;
    {
        MainWindow crashed;
        acceptNextDialog();
        crashed.newDoc();
        Document *doc = crashed.currentDocument();
        doc->curChart()->knitScene()->setStitch(QPoint(2, 2), StitchSet::instance()->findStitch(QStringLiteral("yo")),
                                                 0);
        crashed.autoSave();
        // The program dies: its copy stays on disk and the entry in the
        // preferences.
        const QString made = SessionEntries::copyOf(QStringLiteral("unknown.kit"));
        copy = m_env->scratchPath(QStringLiteral("left-behind.kit"));
        QVERIFY(QFile::copy(made, copy));
    }
    SessionEntries::set(QStringLiteral("unknown.kit"), copy);

    MainWindow window;
    QVERIFY(window.savedState());
    answerNextBox(QMessageBox::Yes);
    window.restoreSavedState();
    QCOMPARE(window.documents().size(), 1);
    Document *doc = window.currentDocument();
    QCOMPARE(doc->fileName(), QStringLiteral("unknown.kit"));
    QVERIFY(doc->isModified());
    QVERIFY(!doc->isSaved());
    QCOMPARE(doc->curChart()->grid()->stitch(2, 2)->stitchID(), QStringLiteral("yo"));
    QVERIFY(window.form()->menuWindow->actions().first()->text() == QStringLiteral("unknown.kit"));
    // Before the recovered work is saved, the group is cleared.
    QVERIFY(!SessionEntries::contains(copy));
}

YARNWISE_TEST_MAIN(TestSession)
#include "tst_session.moc"
