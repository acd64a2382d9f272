// What the main window keeps about files across and during runs: recent
// files, autosave copies, the documents of the session and crash recovery.

#include "mainwindow.h"

#include "document.h"
#include "preferences.h"
#include "sessionentries.h"
#include "settings.h"
#include "tempfiles.h"
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
#include <QTemporaryFile>
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
    if (!action)
        return;
    const QString path = action->data().toString();
    openFile(path, false);
    SessionEntries::set(path, QString());
    addRecentFile(path);
}

QTemporaryFile *MainWindow::getTempFile(Document *doc)
{
    const QString name = doc->fileName();
    QTemporaryFile *file = tempFiles->find(name);
    if (tempFiles->contains(name) && QFileInfo::exists(file->fileName())) {
        if (!file->open())
            return nullptr;
    } else {
        const QString earlier = SessionEntries::copyOf(name);
        if (!earlier.isEmpty() && QFileInfo::exists(earlier))
            file->setFileName(earlier);
        else
            file->setFileTemplate(QDir::tempPath() + QStringLiteral("/yarnwise-XXXXXX.kit"));
        if (!file->open()) {
            if (!tempFiles->contains(name))
                delete file;
            return nullptr;
        }
        tempFiles->append(name, file);
    }
    // A copy shorter than the last one must not keep the old tail.
    file->resize(0);
    SessionEntries::set(name, file->fileName());
    return file;
}

void MainWindow::autoSave()
{
    if (autoSaving)
        return;
    autoSaving = true;
    for (QMdiSubWindow *window : ui->mdiArea->subWindowList()) {
        auto *doc = qobject_cast<Document *>(window->widget());
        if (!doc)
            continue;
        QTemporaryFile *copy = getTempFile(doc);
        if (!copy)
            continue;
        QDataStream out(copy);
        saveFile(out, doc);
        copy->close();
    }
    autoSaving = false;
}

bool MainWindow::savedState()
{
    if (!Preferences::savedStateEnabled.value()
        && !Preferences::autoCrashRecovery.value())
        return false;
    return !SessionEntries::all().isEmpty();
}

// The last run left documents behind. Those whose autosave copy is still
// there did not close normally: their work is offered back. Those kept by
// a normal exit are opened again.
void MainWindow::restoreSavedState()
{
    const QMap<QString, QString> entries = SessionEntries::all();
    SessionEntries::clear();

    QMap<QString, QString> crashed;
    QStringList kept;
    for (auto entry = entries.cbegin(); entry != entries.cend(); ++entry) {
        if (!entry.value().isEmpty() && QFileInfo::exists(entry.value()))
            crashed.insert(entry.key(), entry.value());
        else if (QFileInfo::exists(entry.key()))
            kept.append(entry.key());
    }

    if (!crashed.isEmpty() && Preferences::autoCrashRecovery.value()) {
        const QMessageBox::StandardButton answer = QMessageBox::question(
            this, tr("Recover Documents"),
            tr("%1 did not close normally. Recover the unsaved work of %n document(s)?", nullptr, int(crashed.size()))
                .arg(QApplication::applicationName()),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
        if (answer == QMessageBox::Yes) {
            for (auto entry = crashed.cbegin(); entry != crashed.cend(); ++entry)
                recoverDocument(entry.key(), entry.value());
        }
    }
    if (Preferences::savedStateEnabled.value()) {
        for (const QString &fileName : std::as_const(kept)) {
            if (openFile(fileName, false))
                SessionEntries::set(fileName, QString());
        }
    }
}

// Opens an autosave copy as the document it was made from: its own file
// name (or placeholder), unsaved, so that Save writes it where it belongs.
void MainWindow::recoverDocument(const QString &fileName, const QString &copy)
{
    if (!openFile(copy, false))
        return;
    Document *doc = currentDocument();
    if (!doc || doc->fileName() != copy)
        return;
    updateWindowMenuItem(doc, fileName);
    doc->setFileName(fileName);
    doc->setSaved(QFileInfo(fileName).isAbsolute() && QFileInfo::exists(fileName));
    doc->markChanged();
    QFile::remove(copy);
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
    if (!keepSession || deleteTemp) {
        SessionEntries::remove(doc->fileName());
        tempFiles->remove(doc->fileName());
    }
    if (m_shownToolBar && doc->isAncestorOf(m_shownToolBar)) {
        removeToolBar(m_shownToolBar);
        m_shownToolBar = nullptr;
    }
    ui->docTools->hide();
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
