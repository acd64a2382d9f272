#include "chart.h"
#include "document.h"
#include "knitscene.h"
#include "mainwindow.h"
#include "session.h"
#include "settings.h"
#include "stitch.h"
#include "stitchset.h"
#include "modaldialog.h"
#include "testenvironment.h"
#include "ui_mainwindowclass.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMenu>
#include <QMessageBox>
#include <QDataStream>
#include <QFileDialog>
#include <QProcess>
#include <QStatusBar>
#include <QtTest>

#include <csignal>
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
    void secondRunLeavesFirstAlone();
    void logoutIsNoCrash();

private:
    // Starts the program on the test's preferences, offscreen, with no
    // update check.
    void startProgram(QProcess &program, const QStringList &arguments)
    {
        Settings::instance()->setValue(QStringLiteral("checkForUpdates"), false);
        Settings::instance()->sync();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("HOME"), m_env->rootPath());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_env->rootPath() + QStringLiteral("/config"));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(YARNWISE_PROGRAM), arguments);
        QVERIFY(program.waitForStarted());
    }

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
    Session session;
    session.opened(QStringLiteral("/home/knitter/Shawl.kit"));
    session.adoptCopy(QStringLiteral("/home/knitter/Shawl.kit"), QStringLiteral("/tmp/yarnwise-a.kit"));
    session.opened(QStringLiteral("unknown.kit"));
    const QMap<QString, QString> all = session.entries();
    QCOMPARE(all.value(QStringLiteral("/home/knitter/Shawl.kit")), QStringLiteral("/tmp/yarnwise-a.kit"));
    QVERIFY(all.contains(QStringLiteral("unknown.kit")));
    session.closed(QStringLiteral("unknown.kit"), false);
    QCOMPARE(session.entries().size(), 1);
}

// Only documents with unsaved changes get a copy; saving, Save As and
// closing each end it.
void TestSession::autosaveCopies()
{
    MainWindow window;
    acceptNextDialog();
    window.newDoc();
    Document *doc = window.currentDocument();
    Session *session = window.currentSession();
    window.autoSave();
    QVERIFY(session->copyOf(doc->fileName()).isEmpty()); // nothing to keep yet

    doc->addNewChart(40, 40, QStringLiteral("Big"), QStringLiteral("k"));
    window.autoSave();
    const QString copy = session->copyOf(doc->fileName());
    QVERIFY(QFileInfo::exists(copy));
    QVERIFY(doc->isModified()); // autosave leaves the document's state alone
    QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("Autosaved unknown.kit"));

    // Save As: the entry follows the new name and the copy is done with.
    const QString saved = m_env->scratchPath(QStringLiteral("Big.kit"));
    whenModal<QFileDialog>([saved](QFileDialog *dialog) { acceptFile(dialog, saved); });
    QVERIFY(window.saveAs());
    QVERIFY(!QFileInfo::exists(copy));
    QCOMPARE(session->entries().keys(), QStringList{saved});
    QVERIFY(session->copyOf(saved).isEmpty());

    // Closing deletes the copy and forgets the document.
    doc->markChanged();
    window.autoSave();
    const QString again = session->copyOf(saved);
    QVERIFY(QFileInfo::exists(again));
    answerNextBox(QMessageBox::Discard);
    window.closeDoc();
    QVERIFY(!QFileInfo::exists(again));
    QVERIFY(session->entries().isEmpty());
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

// A run that dies leaves its copy and its entry; the next run offers the
// work back, naming it, and keeps the copy until the work is saved again,
// so that a second crash before the next autosave loses nothing.
void TestSession::recoversAfterCrash()
{
    {
        auto *crashed = new MainWindow;
        acceptNextDialog();
        crashed->newDoc();
        crashed->currentDocument()->curChart()->knitScene()->setStitch(
            QPoint(2, 2), StitchSet::instance()->findStitch(QStringLiteral("yo")), 0);
        crashed->autoSave();
        // The window goes without closing its documents, as in a crash:
        // the lock goes, the copy and the entry stay.
        delete crashed;
    }
    for (int run = 0; run < 2; ++run) {
        MainWindow window;
        QVERIFY(window.savedState());
        QString asked;
        whenModal<QMessageBox>([&asked](QMessageBox *box) {
            asked = box->informativeText();
            box->button(QMessageBox::Yes)->click();
        });
        window.restoreSavedState();
        QCOMPARE(asked, QStringLiteral("unknown.kit"));
        QCOMPARE(window.documents().size(), 1);
        Document *doc = window.currentDocument();
        QCOMPARE(doc->fileName(), QStringLiteral("unknown.kit"));
        QVERIFY(doc->isModified());
        QVERIFY(!doc->isSaved());
        QCOMPARE(doc->curChart()->grid()->stitch(2, 2)->stitchID(), QStringLiteral("yo"));
        QCOMPARE(window.form()->menuWindow->actions().first()->text(), QStringLiteral("unknown.kit"));
        // The copy is this run's now, and still on disk.
        QVERIFY(QFileInfo::exists(window.currentSession()->copyOf(QStringLiteral("unknown.kit"))));
    }
}

// A second running copy of the program neither offers the first one's
// documents as lost work nor opens one without a warning; once the first
// has gone, its documents are the next run's.
void TestSession::secondRunLeavesFirstAlone()
{
    const QString pattern = m_env->scratchPath(QStringLiteral("Shawl.kit"));
    {
        Document doc(4, 4, pattern, QStringLiteral("Shawl"), QStringLiteral("k"));
        QFile file(pattern);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QDataStream out(&file);
        QVERIFY(doc.save(out));
    }

    QProcess first;
    startProgram(first, {pattern});
    Session probe;
    QTRY_VERIFY_WITH_TIMEOUT(probe.openElsewhere(pattern), 30000);

    MainWindow second;
    QVERIFY(!second.savedState());
    QString warned;
    whenModal<QMessageBox>([&warned](QMessageBox *box) {
        warned = box->text();
        box->button(QMessageBox::Cancel)->click();
    });
    QVERIFY(!second.openPattern(pattern));
    QVERIFY2(warned.contains(QStringLiteral("is open in another running copy")), qPrintable(warned));
    QVERIFY(second.documents().isEmpty());

    first.kill();
    QVERIFY(first.waitForFinished());
    QVERIFY(second.savedState());
    second.restoreSavedState();
    QCOMPARE(second.documents().size(), 1);
    QCOMPARE(second.currentDocument()->fileName(), pattern);
}

// The desktop logging out ends the run in good order: the program exits
// normally, keeps unsaved work in copies, and the next start brings it
// back without asking about a crash.
void TestSession::logoutIsNoCrash()
{
    {
        MainWindow ending;
        acceptNextDialog();
        ending.newDoc();
        ending.currentDocument()->curChart()->knitScene()->setStitch(
            QPoint(1, 1), StitchSet::instance()->findStitch(QStringLiteral("yo")), 0);
        ending.endSession();
    }
    {
        MainWindow next;
        QVERIFY(next.savedState());
        bool asked = false;
        whenModal<QMessageBox>([&asked](QMessageBox *box) {
            asked = true;
            box->reject();
        });
        next.restoreSavedState();
        QVERIFY(!asked);
        QCOMPARE(next.documents().size(), 1);
        QVERIFY(next.currentDocument()->isModified());
        QCOMPARE(next.currentDocument()->curChart()->grid()->stitch(1, 1)->stitchID(), QStringLiteral("yo"));
        answerNextBox(QMessageBox::Discard);
        QVERIFY(next.close());
    }

    // The signal itself, sent to a running program.
    const QString pattern = m_env->writeScratch(QStringLiteral("Cowl.kit"), QByteArray());
    {
        Document doc(3, 3, pattern, QStringLiteral("Cowl"), QStringLiteral("k"));
        QFile file(pattern);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QDataStream out(&file);
        QVERIFY(doc.save(out));
    }
    QProcess running;
    startProgram(running, {pattern});
    Session probe;
    QTRY_VERIFY_WITH_TIMEOUT(probe.openElsewhere(pattern), 30000);
    ::kill(pid_t(running.processId()), SIGTERM);
    QVERIFY(running.waitForFinished(30000));
    QCOMPARE(running.exitStatus(), QProcess::NormalExit);
    QCOMPARE(running.exitCode(), 0);
    MainWindow after;
    QVERIFY(after.savedState());
    after.restoreSavedState();
    QCOMPARE(after.documents().size(), 1);
    QCOMPARE(after.currentDocument()->fileName(), pattern);
}

YARNWISE_TEST_MAIN(TestSession)
#include "tst_session.moc"
