// Saving and opening pattern files.

#include "mainwindow.h"

#include "document.h"
#include "patternfile.h"
#include "preferences.h"
#include "settings.h"
#include "ui_mainwindowclass.h"

#include <QApplication>
#include <QDataStream>
#include <QDir>
#include <QDebug>
#include <QFileDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QStatusBar>
#include <QTimer>

namespace {

const QString patternFilter = QStringLiteral("Yarnwise (*.kit);;All Files (*.*)");

} // namespace

QString MainWindow::startFolder() const
{
    return Preferences::fileFolder();
}

void MainWindow::showSaveResult(Document *doc, bool written)
{
    statusBar()->showMessage(written ? tr("Saved %1").arg(doc->fileName()) : tr("Failed to Save File"));
    QTimer::singleShot(2000, this, &MainWindow::clearStatusBar);
}

bool MainWindow::writeDocument(Document *doc, const QString &fileName)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString error;
    const bool written = PatternFile::save(fileName, [doc](QDataStream &out) { return doc->save(out); }, &error);
    showSaveResult(doc, written);
    QApplication::restoreOverrideCursor();
    if (!written)
        QMessageBox::warning(this, tr("Save File"),
                             tr("Could not save %1: %2").arg(QDir::toNativeSeparators(fileName), error));
    return written;
}

bool MainWindow::save()
{
    Document *doc = currentDocument();
    if (!doc)
        return false;
    if (!doc->isSaved())
        return saveAs();
    if (doc->changedOnDisk() && !confirmOverwrite(doc))
        return false;
    if (!writeDocument(doc, doc->fileName()))
        return false;
    doc->markSaved();
    doc->rememberFileOnDisk();
    session->saved(doc->fileName());
    return true;
}

// Something else changed the pattern's file since it was read or written
// here; saving would throw those changes away.
bool MainWindow::confirmOverwrite(Document *doc)
{
    QMessageBox box(QMessageBox::Warning, tr("Save File"),
                    tr("%1 has been changed by another program since it was opened or saved here.")
                        .arg(QDir::toNativeSeparators(doc->fileName())),
                    QMessageBox::Save | QMessageBox::Cancel, this);
    box.setInformativeText(tr("Saving replaces those changes with this pattern. Use Save As to keep both."));
    box.setDefaultButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Save;
}

bool MainWindow::saveAs()
{
    Document *doc = currentDocument();
    if (!doc)
        return false;
    // A pattern saved before goes back to its folder; a new one starts in
    // the usual folder, under its proposed name.
    const QFileInfo current(doc->fileName());
    const QString folder = current.isAbsolute() && current.dir().exists() ? current.absolutePath() : startFolder();
    QString fileName = QFileDialog::getSaveFileName(this, tr("Save File"),
                                                    folder + QLatin1Char('/') + current.fileName(), patternFilter);
    if (fileName.isEmpty())
        return false;
    if (!fileName.toLower().endsWith(QLatin1String(".kit")))
        fileName += QStringLiteral(".kit");
    if (!writeDocument(doc, fileName))
        return false;

    // The session follows the new name; the autosave copy is done with.
    session->renamed(doc->fileName(), fileName);
    updateWindowMenuItem(doc, fileName);
    addRecentFile(fileName);
    doc->setFileName(fileName);
    doc->setSaved(true);
    doc->markSaved();
    doc->rememberFileOnDisk();
    return true;
}

void MainWindow::loadFile()
{
    const QString fileName = QFileDialog::getOpenFileName(this, tr("Open File"), startFolder(), patternFilter);
    if (!fileName.isEmpty())
        openPattern(fileName);
}

bool MainWindow::openFile(const QString &fileName, bool silent)
{
    for (QMdiSubWindow *window : ui->mdiArea->subWindowList()) {
        const auto *doc = qobject_cast<Document *>(window->widget());
        if (doc && doc->fileName() == fileName) {
            ui->mdiArea->setActiveSubWindow(window);
            return true;
        }
    }

    PatternFile file(fileName);
    const PatternFile::Status status = file.open();
    if (status != PatternFile::Ok) {
        if (!silent) {
            QMessageBox box(status == PatternFile::TooNew ? QMessageBox::Warning : QMessageBox::Critical,
                            tr("Open File"), file.errorString(), QMessageBox::Ok, this);
            if (status == PatternFile::TooNew)
                box.setDetailedText(tr("The listed version is: %1").arg(file.version()));
            box.exec();
        }
        return false;
    }

    QApplication::setOverrideCursor(Qt::WaitCursor);
    QDataStream &in = file.stream();
    auto *doc = new Document(in, this);
    QMdiSubWindow *window = ui->mdiArea->addSubWindow(doc);
    window->setWindowIcon(QIcon(QStringLiteral(":/images/icon.png")));
    doc->setFileName(fileName);
    docConnections(doc);
    const bool loaded = doc->loadDocument(in);
    if (!loaded || !doc->loadErrors.isEmpty()) {
        if (!silent) {
            QApplication::restoreOverrideCursor();
            const QString text = doc->loadErrors.isEmpty()
                ? tr("Error loading file %1.").arg(fileName)
                : doc->loadErrors.join(QLatin1Char('\n')) + QLatin1Char('\n');
            QMessageBox::critical(this, tr("Open File"), text);
            doc->loadErrors.clear();
            QApplication::setOverrideCursor(Qt::WaitCursor);
        }
        qDebug() << "load file error";
    }
    doc->rememberFileOnDisk();
    postDocInitSetup(doc);
    window->showMaximized();
    mdiChildChanged(window);
    QApplication::restoreOverrideCursor();
    return true;
}
