#include "patternfile.h"

#include "document.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

PatternFile::PatternFile(const QString &fileName)
    : m_fileName(fileName)
{
}

PatternFile::Status PatternFile::fail(Status status, const QString &error)
{
    m_error = error;
    return status;
}

PatternFile::Status PatternFile::open()
{
    QFile file(m_fileName);
    if (!file.open(QIODevice::ReadOnly))
        return fail(Unreadable, tr("Could not read %1: %2").arg(QDir::toNativeSeparators(m_fileName), file.errorString()));
    m_bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fail(Unreadable, tr("Could not read %1: %2").arg(QDir::toNativeSeparators(m_fileName), file.errorString()));

    m_buffer.setBuffer(&m_bytes);
    m_buffer.open(QIODevice::ReadOnly);
    m_in.setDevice(&m_buffer);
    m_in.setByteOrder(QDataStream::BigEndian);

    qint32 magic = 0;
    m_in >> magic;
    if (magic != magicNumber)
        return fail(NotAPattern, tr("This file is not recognized by %1.").arg(QCoreApplication::applicationName()));
    m_in >> m_version;
    if (m_version > newestVersion)
        return fail(TooNew, tr("This appears to be a saved file from a more recent version of the software, and "
                               "cannot be opened with this version."));
    return Ok;
}

bool PatternFile::write(QDataStream &out, Document *doc)
{
    out.setByteOrder(QDataStream::BigEndian);
    out << magicNumber;
    return doc->save(out);
}

bool PatternFile::save(Document *doc, const QString &fileName, QString *error)
{
    QSaveFile file(fileName);
    bool written = file.open(QIODevice::WriteOnly);
    if (written) {
        QDataStream out(&file);
        written = write(out, doc) && file.commit();
    }
    if (!written) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
    }
    return written;
}
