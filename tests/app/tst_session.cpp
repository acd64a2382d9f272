#include "chart.h"
#include "document.h"
#include "knitscene.h"
#include "mainwindow.h"
#include "modaldialog.h"
#include "patternfixtures.h"
#include "session.h"
#include "settings.h"
#include "stitch.h"
#include "stitchset.h"
#include "testenvironment.h"
#include "ui_mainwindowclass.h"

#include <QMenu>
#include <QProcess>
#include <QStatusBar>
#include <QtTest>

#include <csignal>

class TestSession : public TestSuite
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { StitchSet::instance()->load(); }

    void recentFiles_data();
    void recentFiles();
    void recentMenu();
    void autosaveCopies();
    void cancelKeepsSession();
    void recoversAfterCrash();
    void secondRunLeavesFirstAlone();
    void logoutIsNoCrash();

private:
    QString startProgramOn(QProcess &program, const QString &name);
};

// Starts the program, on the test's preferences, offscreen and with no
// update check, on a pattern of that name it opens; the pattern's path once
// the program has it open.
QString TestSession::startProgramOn(QProcess &program, const QString &name)
{
    const QString pattern = writePattern(m_env->scratchPath(name));
    Settings::instance()->setValue(QStringLiteral("checkForUpdates"), false);
    Settings::instance()->sync();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("HOME"), m_env->rootPath());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_env->rootPath() + QStringLiteral("/config"));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(YARNWISE_PROGRAM), {pattern});
    if (!program.waitForStarted())
        return QString();
    Session probe;
    return QTest::qWaitFor([&] { return probe.openElsewhere(pattern); }, 30000) ? pattern : QString();
}

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

    const QString real = m_env->writeScratch(QStringLiteral("Shawl.kit"), QByteArray());
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

// Only documents with unsaved changes get a copy; saving, Save As and
// closing each end it.
void TestSession::autosaveCopies()
{
    MainWindow window;
    Document *doc = newPattern(window);
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
    newPattern(window);
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
        newPattern(*crashed)->curChart()->knitScene()->setStitch(
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
        answerNextBox(QMessageBox::Yes, &asked);
        window.restoreSavedState();
        QCOMPARE(asked.section(QLatin1Char('|'), 2), QStringLiteral("unknown.kit"));
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
    QProcess first;
    const QString pattern = startProgramOn(first, QStringLiteral("Shawl.kit"));
    QVERIFY(!pattern.isEmpty());

    MainWindow second;
    QVERIFY(!second.savedState());
    QString warned;
    answerNextBox(QMessageBox::Cancel, &warned);
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
        newPattern(ending)->curChart()->knitScene()->setStitch(
            QPoint(1, 1), StitchSet::instance()->findStitch(QStringLiteral("yo")), 0);
        ending.endSession();
    }
    {
        MainWindow next;
        QVERIFY(next.savedState());
        QString asked;
        answerNextBox(QMessageBox::Cancel, &asked);
        next.restoreSavedState();
        QVERIFY(asked.isEmpty());
        cancelModalHandlers();
        QCOMPARE(next.documents().size(), 1);
        QVERIFY(next.currentDocument()->isModified());
        QCOMPARE(next.currentDocument()->curChart()->grid()->stitch(1, 1)->stitchID(), QStringLiteral("yo"));
        answerNextBox(QMessageBox::Discard);
        QVERIFY(next.close());
    }

    // The signal itself, sent to a running program.
    QProcess running;
    const QString pattern = startProgramOn(running, QStringLiteral("Cowl.kit"));
    QVERIFY(!pattern.isEmpty());
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
