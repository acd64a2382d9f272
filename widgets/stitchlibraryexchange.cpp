// The stitch library's export and import of stitch set exchange files.

#include "stitchlibrary.h"

#include "preferences.h"
#include "settings.h"
#include "stitch.h"
#include "stitchlibrarymodel.h"
#include "stitchset.h"
#include "waitcursor.h"

#include <QApplication>
#include <QDebug>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QSaveFile>
#include <QStandardPaths>

QString StitchLibrary::fileDialogFolder() const
{
    const QString folder = Preferences::defaultFileLocation.value();
    return folder.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) : folder;
}

void StitchLibrary::exportSet()
{
    if (!hasSelection())
        return;
    const QString fileName = QFileDialog::getSaveFileName(this, tr("Export Stitch Set"), fileDialogFolder(),
                                                          tr("Stitch Set (*.set)"));
    if (!fileName.isEmpty())
        writeSetFile(fileName);
}

// The file is replaced only once every selected stitch is written, so a
// failed export never leaves a damaged set behind.
bool StitchLibrary::writeSetFile(const QString &fileName)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        qDebug() << "Could not write to set file.";
        QMessageBox::warning(this, tr("Export Stitch Set"), tr("Could not write to %1.").arg(fileName));
        return false;
    }

    StitchSetExchange::Status status = StitchSetExchange::Ok;
    QString unreadable;
    {
        WaitCursor wait;
        StitchSetExchange exchange(&file);
        exchange.writeHeader();
        for (int row = 0; row < m_model->rowCount() && status == StitchSetExchange::Ok; ++row) {
            if (m_model->isSelected(row))
                status = exchange.writeStitch(m_model->record(row), &unreadable);
        }
        if (status == StitchSetExchange::Ok && !file.commit())
            status = StitchSetExchange::WriteFailed;
    }

    if (status == StitchSetExchange::UnreadableIcon)
        QMessageBox::warning(this, tr("Export Stitch Set"),
                             tr("Could not read the image %1. The stitch set was not exported.").arg(unreadable));
    else if (status != StitchSetExchange::Ok)
        QMessageBox::warning(this, tr("Export Stitch Set"), tr("Could not write to %1.").arg(fileName));
    return status == StitchSetExchange::Ok;
}

void StitchLibrary::importSet()
{
    const QString fileName = QFileDialog::getOpenFileName(this, tr("Import Stitch Set"), fileDialogFolder(),
                                                          tr("Stitch Set (*.set)"));
    if (!fileName.isEmpty())
        readSetFile(fileName);
}

void StitchLibrary::readSetFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        qDebug() << "Could not read from set file.";
        QMessageBox::warning(this, tr("Import Stitch Set"), tr("Could not read from %1.").arg(fileName));
        return;
    }

    QStringList skipped;
    StitchSetExchange::Status status = StitchSetExchange::Ok;
    {
        WaitCursor wait;
        StitchSetExchange exchange(&file);
        status = importStitches(exchange, skipped);
    }
    reportImport(status, skipped);
}

// Stops at the first damaged record or image that cannot be stored; the
// rows added before stay.
StitchSetExchange::Status StitchLibrary::importStitches(StitchSetExchange &exchange, QStringList &skipped)
{
    StitchSetExchange::Status status = exchange.readHeader();
    while (status == StitchSetExchange::Ok && !exchange.atEnd()) {
        StitchSetExchange::Entry entry;
        status = exchange.readStitch(entry);
        if (status == StitchSetExchange::Ok && !importStitch(entry, skipped))
            status = StitchSetExchange::WriteFailed;
    }
    return status;
}

bool StitchLibrary::importStitch(const StitchSetExchange::Entry &entry, QStringList &skipped)
{
    StitchRecord record = entry.record;
    // The abbreviations as the new row will read them back.
    record.abbrivs = StitchLibraryModel::splitAbbrivs(StitchLibraryModel::joinAbbrivs(record.abbrivs));
    if (record.abbrivs.isEmpty()) {
        qWarning() << "left out a stitch without abbreviation from the stitch set";
        return true;
    }
    if (isAbbrivUsed(record.abbrivs)) {
        skipped.append(record.abbrivs.first());
        return true;
    }

    for (const StitchSetExchange::Icon &icon : entry.icons) {
        const QString path = StitchSet::storeIncomingImage(icon.fileName, icon.data);
        if (path.isEmpty())
            return false;
        record.paths.append(path);
    }
    if (record.paths.isEmpty())
        record.paths.append(Stitch::placeholderPath());
    m_model->appendRecord(record);
    return true;
}

void StitchLibrary::reportImport(StitchSetExchange::Status status, const QStringList &skipped)
{
    switch (status) {
    case StitchSetExchange::NotAStitchSet:
        QMessageBox::critical(this, tr("Error: Not a Stitch Set"), tr("This is not a Stitch Set file."));
        return;
    case StitchSetExchange::NewerVersion:
        QMessageBox::warning(this, tr("Cannot Read File"),
                             tr("This Stitch Set comes from a newer version of %1.This version cannot read the file.")
                                 .arg(QApplication::applicationName()));
        return;
    case StitchSetExchange::Damaged:
        QMessageBox::warning(this, tr("Import Stitch Set"),
                             tr("The stitch set is damaged. Only the stitches before the damage were read."));
        break;
    case StitchSetExchange::WriteFailed:
    case StitchSetExchange::UnreadableIcon:
        QMessageBox::warning(this, tr("Import Stitch Set"),
                             tr("Could not save the stitch images in %1. The import stopped.")
                                 .arg(StitchSet::userIconFolder()));
        break;
    case StitchSetExchange::Ok:
        break;
    }
    if (!skipped.isEmpty())
        QMessageBox::information(this, tr("Import Stitch Set"),
                                 tr("The following stitches were not imported because they are already in your "
                                    "stitch library: %1")
                                     .arg(skipped.join(QStringLiteral(", "))));
}
