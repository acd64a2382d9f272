#ifndef RECORDSTREAM_H
#define RECORDSTREAM_H

#include <QByteArray>
#include <QDataStream>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

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

    // A tag of a record, and the reading of the value that follows it; the
    // reading answers false when the value is damaged.
    struct Tag
    {
        QString tag;
        std::function<bool()> readValue;
    };
    // Reads tags and their values for as long as the tags are among
    // `tags`, in any order and any number of times. Stops at the first
    // other tag, left in `last`, answering true; where the stream ends
    // between two tags, with `last` empty, answering true; at a value that
    // is damaged or a stream that fails, answering false.
    static bool readTags(QDataStream &in, const std::vector<Tag> &tags, QString &last);

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
