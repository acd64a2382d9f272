// Saving and opening pattern files.

#include "mainwindow.h"

#include "document.h"
#include "sessionentries.h"
#include "settings.h"
#include "tempfiles.h"
#include "ui_mainwindowclass.h"

#include <QApplication>
#include <QBuffer>
#include <QDataStream>
#include <QDir>
#include <QDebug>
#include <QFile>
#include <QFileDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>

namespace {

const qint32 patternMagic = 0x2AC9863F;
const qint32 newestFileVersion = 201002;
const QString patternFilter = QStringLiteral("Yarnwise (*.kit);;All Files (*.*)");

} // namespace

QString MainWindow::startFolder() const
{
    const QString folder = Settings::instance()->value(QStringLiteral("defaultFileLocation"), QString()).toString();
    return folder.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) : folder;
}

bool MainWindow::saveFile(QDataStream &out, Document *doc)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    out.setByteOrder(QDataStream::BigEndian);
    out << patternMagic;
    const bool written = doc->save(out);
    statusBar()->showMessage(written ? tr("Saved %1").arg(doc->fileName()) : tr("Failed to Save File"));
    QTimer::singleShot(2000, this, &MainWindow::clearStatusBar);
    QApplication::restoreOverrideCursor();
    return written;
}

// The file on disk is replaced only when the whole document was written, so
// a failed save never leaves a half-written pattern behind.
bool MainWindow::writeDocument(Document *doc, const QString &fileName)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        QMessageBox::warning(this, tr("Save File"),
                             tr("Could not save %1: %2").arg(QDir::toNativeSeparators(fileName), file.errorString()));
        return false;
    }
    QDataStream out(&file);
    if (!saveFile(out, doc) || !file.commit()) {
        file.cancelWriting();
        QMessageBox::warning(this, tr("Save File"),
                             tr("Could not save %1: %2").arg(QDir::toNativeSeparators(fileName), file.errorString()));
        return false;
    }
    return true;
}

bool MainWindow::save()
{
    Document *doc = currentDocument();
    if (!doc)
        return false;
    if (!doc->isSaved())
        return saveAs();
    if (!writeDocument(doc, doc->fileName()))
        return false;
    doc->markSaved();
    return true;
}

bool MainWindow::saveAs()
{
    Document *doc = currentDocument();
    if (!doc)
        return false;
    QString fileName = QFileDialog::getSaveFileName(this, tr("Save File"), startFolder(), patternFilter);
    if (fileName.isEmpty())
        return false;
    if (!fileName.toLower().endsWith(QLatin1String(".kit")))
        fileName += QStringLiteral(".kit");
    if (!writeDocument(doc, fileName))
        return false;

    const QString oldName = doc->fileName();
    if (doc->isSaved() && SessionEntries::contains(oldName)) {
        const QString copy = SessionEntries::copyOf(oldName);
        if (!copy.isEmpty())
            SessionEntries::set(fileName, copy);
        if (oldName != fileName)
            SessionEntries::remove(oldName);
        tempFiles->remove(oldName);
    }
    updateWindowMenuItem(doc, fileName);
    addRecentFile(fileName);
    doc->setFileName(fileName);
    doc->setSaved(true);
    doc->markSaved();
    return true;
}

void MainWindow::loadFile()
{
    const QString fileName = QFileDialog::getOpenFileName(this, tr("Open File"), startFolder(), patternFilter);
    if (fileName.isEmpty())
        return;
    if (openFile(fileName, false)) {
        addRecentFile(fileName);
        SessionEntries::set(fileName, QString());
    }
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

    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QByteArray bytes = file.readAll();
    file.close();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QDataStream in(&buffer);
    in.setByteOrder(QDataStream::BigEndian);

    qint32 magic = 0;
    in >> magic;
    if (magic != patternMagic) {
        QApplication::restoreOverrideCursor();
        if (!silent)
            QMessageBox::critical(this, tr("Open File"),
                                  tr("This file is not recognized by %1.").arg(QApplication::applicationName()));
        return false;
    }
    qint32 version = 0;
    in >> version;
    if (version > newestFileVersion) {
        QApplication::restoreOverrideCursor();
        if (!silent) {
            QMessageBox box(QMessageBox::Warning, tr("Open File"),
                            tr("This appears to be a saved file from a more recent version of the software, and "
                               "cannot be opened with this version."),
                            QMessageBox::Ok, this);
            box.setDetailedText(tr("The listed version is: %1").arg(version));
            box.exec();
        }
        return false;
    }

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
        SessionEntries::remove(fileName);
        qDebug() << "load file error";
    }
    postDocInitSetup(doc);
    window->showMaximized();
    mdiChildChanged(window);
    QApplication::restoreOverrideCursor();
    return true;
}
