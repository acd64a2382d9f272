#ifndef PATTERNFILE_H
#define PATTERNFILE_H

#include <QBuffer>
#include <QByteArray>
#include <QCoreApplication>
#include <QDataStream>
#include <QString>

class Document;

// A pattern file on disk: a magic number, then the document record with its
// format version. The window and the command line read and write patterns
// through this class, so both accept and refuse the same files.
class PatternFile
{
    Q_DECLARE_TR_FUNCTIONS(PatternFile)

public:
    static constexpr qint32 magicNumber = 0x2AC9863F;
    static constexpr qint32 newestVersion = 201002;

    enum Status { Ok, Unreadable, NotAPattern, TooNew };

    explicit PatternFile(const QString &fileName);

    // Reads the whole file and checks its head. On Ok, stream() stands at
    // the document record.
    Status open();
    QDataStream &stream() { return m_in; }
    qint32 version() const { return m_version; }
    // What went wrong, in words for the designer.
    QString errorString() const { return m_error; }

    // The magic number and the document; false when anything failed.
    static bool write(QDataStream &out, Document *doc);
    // Replaces the file only when the whole document was written, so a
    // failed save never leaves a half-written pattern behind.
    static bool save(Document *doc, const QString &fileName, QString *error = nullptr);

private:
    Status fail(Status status, const QString &error);

    QString m_fileName;
    QByteArray m_bytes;
    QBuffer m_buffer;
    QDataStream m_in;
    qint32 m_version = 0;
    QString m_error;
};

#endif // PATTERNFILE_H
