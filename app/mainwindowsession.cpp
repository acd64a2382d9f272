// What the main window keeps about files across and during runs: recent
// files, autosave copies, the documents of the session and recovery.

#include "mainwindow.h"

#include "document.h"
#include "preferences.h"
#include "session.h"
#include "settings.h"
#include "ui_mainwindowclass.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

namespace {

int recentFileCount()
{
    return Preferences::recentFileCount.value();
}

QString recentKey(int i)
{
    return QStringLiteral("fileList/%1").arg(i);
}

} // namespace

void MainWindow::addRecentFile(const QString &fileName)
{
    Settings *settings = Settings::instance();
    const int count = recentFileCount();
    int start = count;
    for (int i = 1; i <= count; ++i) {
        if (settings->value(recentKey(i), QString()).toString() == fileName) {
            start = i;
            break;
        }
    }
    for (int i = start; i >= 2; --i)
        settings->setValue(recentKey(i), settings->value(recentKey(i - 1), QString()));
    settings->setValue(recentKey(1), fileName);
}

void MainWindow::generateRecentFilesList()
{
    for (QAction *action : std::as_const(recentFileActions)) {
        ui->menuFile->removeAction(action);
        action->deleteLater();
    }
    recentFileActions.clear();

    int shown = 0;
    for (int i = 1; i <= recentFileCount(); ++i) {
        const QString path = Settings::instance()->value(recentKey(i), QString()).toString();
        auto *action = new QAction(this);
        const bool exists = !path.isEmpty() && QFileInfo::exists(path);
        action->setVisible(exists);
        if (exists) {
            action->setText(tr("&%1 %2").arg(++shown).arg(QFileInfo(path).fileName()));
            action->setData(path);
            connect(action, &QAction::triggered, this, &MainWindow::openRecentFile);
        }
        recentFileActions.append(action);
    }
    ui->menuFile->insertActions(ui->actionQuit, recentFileActions);
}

void MainWindow::openRecentFile()
{
    const auto *action = qobject_cast<QAction *>(sender());
    if (action)
        openPattern(action->data().toString());
}

bool MainWindow::openPattern(const QString &fileName)
{
    if (session->openElsewhere(fileName)) {
        const auto answer = QMessageBox::warning(
            this, tr("Open File"),
            tr("%1 is open in another running copy of %2. If both save it, one will overwrite the other's "
               "changes.\n\nOpen it here as well?")
                .arg(QDir::toNativeSeparators(fileName), QApplication::applicationName()),
            QMessageBox::Open | QMessageBox::Cancel, QMessageBox::Cancel);
        if (answer != QMessageBox::Open)
            return false;
    }
    if (!openFile(fileName, false))
        return false;
    addRecentFile(fileName);
    session->opened(fileName);
    return true;
}

// Writes a copy of every document with unsaved changes where the session
// keeps it; the documents themselves stay as they are.
void MainWindow::autoSave()
{
    if (autoSaving)
        return;
    autoSaving = true;
    for (Document *doc : documents()) {
        if (!doc->isModified())
            continue;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const QString copy = session->writeCopy(doc->fileName(), [doc](QDataStream &out) { return doc->save(out); });
        QApplication::restoreOverrideCursor();
        statusBar()->showMessage(copy.isEmpty() ? tr("Failed to Save File") : tr("Autosaved %1").arg(doc->fileName()));
        QTimer::singleShot(2000, this, &MainWindow::clearStatusBar);
    }
    autoSaving = false;
}

bool MainWindow::savedState()
{
    if (!Preferences::savedStateEnabled.value() && !Preferences::autoCrashRecovery.value())
        return false;
    return session->hasLeftovers();
}

// Runs that have ended left documents behind. Those whose autosave copy is
// still there did not close normally: their work is offered back. Those
// kept by a normal exit are opened again. Documents of copies of the
// program still running are theirs and left alone.
void MainWindow::restoreSavedState()
{
    QList<Session::Entry> crashed;
    QStringList kept;
    const QList<Session::Entry> left = session->takeOver();
    for (const Session::Entry &entry : left) {
        if (!entry.copy.isEmpty() && QFileInfo::exists(entry.copy))
            crashed.append(entry);
        else if (Preferences::savedStateEnabled.value() && QFileInfo::exists(entry.name))
            kept.append(entry.name);
        else
            session->discard(entry.name);
    }
    QList<Session::Entry> interrupted;
    for (const Session::Entry &entry : std::as_const(crashed)) {
        if (entry.interrupted)
            interrupted.append(entry);
    }
    crashed.removeIf([](const Session::Entry &entry) { return entry.interrupted; });
    // Work the desktop's logout or shutdown interrupted comes back as it
    // was left, unasked.
    for (const Session::Entry &entry : std::as_const(interrupted)) {
        if (!recoverDocument(entry.name, entry.copy))
            session->discard(entry.name);
    }
    if (!crashed.isEmpty())
        offerRecovery(crashed);
    for (const QString &fileName : std::as_const(kept)) {
        if (!openFile(fileName, false))
            session->discard(fileName);
    }
}

void MainWindow::offerRecovery(const QList<Session::Entry> &crashed)
{
    QStringList names;
    for (const Session::Entry &entry : crashed)
        names.append(QDir::toNativeSeparators(entry.name));
    bool recover = false;
    if (Preferences::autoCrashRecovery.value()) {
        QMessageBox box(QMessageBox::Question, tr("Recover Documents"),
                        tr("%1 did not close normally. Recover the unsaved work of %n document(s)?", nullptr,
                           int(crashed.size()))
                            .arg(QApplication::applicationName()),
                        QMessageBox::Yes | QMessageBox::No, this);
        box.setDefaultButton(QMessageBox::Yes);
        box.setInformativeText(names.join(QLatin1Char('\n')));
        recover = box.exec() == QMessageBox::Yes;
    }
    for (const Session::Entry &entry : crashed) {
        if (!recover || !recoverDocument(entry.name, entry.copy))
            session->discard(entry.name);
    }
}

// Opens an autosave copy as the document it was made from: its own file
// name (or placeholder), unsaved, so that Save writes it where it belongs.
// The copy stays this document's until it is saved, autosaved or closed.
bool MainWindow::recoverDocument(const QString &fileName, const QString &copy)
{
    if (!openFile(copy, false))
        return false;
    Document *doc = currentDocument();
    if (!doc || doc->fileName() != copy)
        return false;
    updateWindowMenuItem(doc, fileName);
    doc->setFileName(fileName);
    doc->setSaved(QFileInfo(fileName).isAbsolute() && QFileInfo::exists(fileName));
    doc->rememberFileOnDisk();
    doc->markChanged();
    session->adoptCopy(fileName, copy);
    return true;
}

void MainWindow::docCloseEvent(bool deleteTemp)
{
    auto *doc = qobject_cast<Document *>(sender());
    if (!doc)
        return;
    for (QAction *action : ui->menuWindow->actions()) {
        if (action->data().toString() == doc->fileName()) {
            ui->menuWindow->removeAction(action);
            action->deleteLater();
        }
    }
    ui->menuTabMenu->clear();
    session->closed(doc->fileName(), keepSession && !deleteTemp);
    if (m_shownToolBar && doc->isAncestorOf(m_shownToolBar)) {
        removeToolBar(m_shownToolBar);
        m_shownToolBar = nullptr;
    }
    ui->docTools->hide();
}

// The desktop is logging out or shutting down: the run ends as Quit would
// end it, asking nothing. Unsaved work stays in autosave copies, which the
// next start brings back without calling it a crash.
void MainWindow::endSession()
{
    autoSave();
    session->markInterrupted();
    Preferences::windowState.set(saveState(0));
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    const bool keepEnabled = Preferences::savedStateEnabled.value();
    const bool prompt = Preferences::savedStatePrompt.value();
    if (!ui->mdiArea->subWindowList().isEmpty() && keepEnabled) {
        if (prompt) {
            const auto answer = QMessageBox::question(
                this, QApplication::applicationName(),
                tr("Would you %1 like to save this session?").arg(QApplication::applicationName()),
                QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
            if (answer == QMessageBox::Cancel) {
                event->ignore();
                return;
            }
            keepSession = answer == QMessageBox::Save;
        } else {
            keepSession = true;
        }
    }
    bool allClosed = true;
    for (QMdiSubWindow *window : ui->mdiArea->subWindowList())
        allClosed = window->close() && allClosed;
    if (!allClosed) {
        keepSession = false;
        event->ignore();
        return;
    }
    Preferences::windowState.set(saveState(0));
    event->accept();
}
