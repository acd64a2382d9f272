#ifndef RECORDSTREAM_H
#define RECORDSTREAM_H

#include <QByteArray>
#include <QDataStream>
#include <QString>
#include <QStringList>

// Careful reading of the tagged data-stream records of pattern files. A
// damaged or hostile file must not make a reader allocate more than the
// file could hold.
class RecordStream
{
public:
    // Reads one QString. Fails, marking the stream corrupt, when the
    // announced length exceeds `maxBytes` or what is left to read.
    static bool readString(QDataStream &in, QString &text, quint32 maxBytes = 1u << 20);
    // Reads one QByteArray under the same rules.
    static bool readBytes(QDataStream &in, QByteArray &bytes, quint32 maxBytes = 1u << 20);

    // Reads one QStringList: its count, then every string under the rules
    // of readString(). The count is checked against what is left to read
    // before anything is allocated for it.
    static bool readStringList(QDataStream &in, QStringList &list, quint32 maxBytes = 1u << 20);

    // Reads a count of items that each take at least `itemBytes` in the
    // stream. Fails, marking the stream corrupt, when the count is negative
    // or the items could not fit in what is left to read.
    static bool readCount(QDataStream &in, qint32 &count, int itemBytes);

    // Bytes left to read, or -1 when the device cannot tell.
    static qint64 remainingBytes(const QDataStream &in);

    // The size of `text` as the stream writes it.
    static qint64 encodedSize(const QString &text);

private:
    // Whether the length that heads the next string or byte array is
    // readable; marks the stream when not.
    static bool nextLengthFits(QDataStream &in, quint32 maxBytes);
};

#endif // RECORDSTREAM_H
