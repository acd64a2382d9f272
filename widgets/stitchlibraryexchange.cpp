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
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QSaveFile>

namespace {

const QString setSuffix = QStringLiteral(".set");

QString stitchCount(int count)
{
    return count == 1 ? StitchLibrary::tr("1 stitch") : StitchLibrary::tr("%1 stitches").arg(count);
}

} // namespace

QString StitchLibrary::fileDialogFolder() const
{
    return Preferences::fileFolder();
}

void StitchLibrary::exportSet()
{
    if (!hasSelection())
        return;
    const QString fileName = QFileDialog::getSaveFileName(this, tr("Export Stitch Set"), fileDialogFolder(),
                                                          tr("Stitch Set (*.set)"));
    if (fileName.isEmpty())
        return;
    // Import lists only files of this suffix.
    if (fileName.endsWith(setSuffix, Qt::CaseInsensitive))
        writeSetFile(fileName);
    else if (mayReplace(fileName + setSuffix))
        writeSetFile(fileName + setSuffix);
}

// The file dialog asked about the name as typed, not about the one with
// the suffix added.
bool StitchLibrary::mayReplace(const QString &fileName)
{
    if (!QFileInfo::exists(fileName))
        return true;
    return QMessageBox::question(this, tr("Export Stitch Set"),
                                 tr("%1 already exists. Do you want to replace it?")
                                     .arg(QDir::toNativeSeparators(fileName)),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
           == QMessageBox::Yes;
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

    QList<StitchRecord> records;
    for (int row = 0; row < m_model->rowCount(); ++row) {
        if (m_model->isSelected(row))
            records.append(m_model->record(row));
    }
    StitchSetExchange::Status status = StitchSetExchange::Ok;
    QString unreadable;
    {
        WaitCursor wait;
        StitchSetExchange exchange(&file);
        status = exchange.writeSet(records, &unreadable);
        if (status == StitchSetExchange::Ok && !file.commit())
            status = StitchSetExchange::WriteFailed;
    }

    if (status == StitchSetExchange::UnreadableIcon)
        QMessageBox::warning(this, tr("Export Stitch Set"),
                             tr("Could not read the image %1. The stitch set was not exported.").arg(unreadable));
    else if (status != StitchSetExchange::Ok)
        QMessageBox::warning(this, tr("Export Stitch Set"), tr("Could not write to %1.").arg(fileName));
    else
        QMessageBox::information(this, tr("Export Stitch Set"),
                                 tr("Exported %1 to %2.").arg(stitchCount(records.size()), QFileInfo(fileName).fileName()));
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
    const int rows = m_model->rowCount();
    {
        WaitCursor wait;
        StitchSetExchange exchange(&file);
        status = importStitches(exchange, skipped);
    }
    const QString summary =
        tr("Imported %1 from %2.").arg(stitchCount(m_model->rowCount() - rows), QFileInfo(fileName).fileName());
    reportImport(status, summary, skipped);
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

// One message tells the designer what came in: the trouble first, if any,
// then how many stitches were imported and which were left out.
void StitchLibrary::reportImport(StitchSetExchange::Status status, const QString &summary,
                                 const QStringList &skipped)
{
    if (status == StitchSetExchange::NotAStitchSet) {
        QMessageBox::critical(this, tr("Error: Not a Stitch Set"), tr("This is not a Stitch Set file."));
        return;
    }
    if (status == StitchSetExchange::NewerVersion) {
        QMessageBox::warning(this, tr("Cannot Read File"),
                             tr("This Stitch Set comes from a newer version of %1.This version cannot read the file.")
                                 .arg(QApplication::applicationName()));
        return;
    }

    QStringList lines{summary};
    if (!skipped.isEmpty())
        lines.append(tr("The following stitches were not imported because they are already in your "
                        "stitch library: %1")
                         .arg(skipped.join(QStringLiteral(", "))));
    const QString trouble = importTrouble(status);
    QMessageBox box(trouble.isEmpty() ? QMessageBox::Information : QMessageBox::Warning, tr("Import Stitch Set"),
                    trouble.isEmpty() ? lines.takeFirst() : trouble, QMessageBox::Ok, this);
    box.setInformativeText(lines.join(QLatin1Char('\n')));
    box.exec();
}

QString StitchLibrary::importTrouble(StitchSetExchange::Status status) const
{
    switch (status) {
    case StitchSetExchange::Damaged:
        return tr("The stitch set is damaged. Only the stitches before the damage were read.");
    case StitchSetExchange::WriteFailed:
    case StitchSetExchange::UnreadableIcon:
        return tr("Could not save the stitch images in %1. The import stopped.").arg(StitchSet::userIconFolder());
    case StitchSetExchange::Ok:
    case StitchSetExchange::NotAStitchSet:
    case StitchSetExchange::NewerVersion:
        break;
    }
    return QString();
}
