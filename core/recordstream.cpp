#include "recordstream.h"

#include <QIODevice>
#include <QtEndian>

#include <algorithm>

bool RecordStream::readString(QDataStream &in, QString &text, quint32 maxBytes)
{
    text.clear();
    if (!nextLengthFits(in, maxBytes))
        return false;
    in >> text;
    return in.status() == QDataStream::Ok;
}

bool RecordStream::readBytes(QDataStream &in, QByteArray &bytes, quint32 maxBytes)
{
    bytes.clear();
    if (!nextLengthFits(in, maxBytes))
        return false;
    in >> bytes;
    return in.status() == QDataStream::Ok;
}

bool RecordStream::readStringList(QDataStream &in, QStringList &list, quint32 maxBytes)
{
    list.clear();
    qint32 count = 0;
    // A string takes at least its four-byte length.
    if (!readCount(in, count, 4))
        return false;
    for (qint32 i = 0; i < count; ++i) {
        QString text;
        if (!readString(in, text, maxBytes)) {
            list.clear();
            return false;
        }
        list.append(text);
    }
    return true;
}

bool RecordStream::readCount(QDataStream &in, qint32 &count, int itemBytes)
{
    count = 0;
    if (in.status() != QDataStream::Ok)
        return false;
    in >> count;
    if (in.status() != QDataStream::Ok)
        return false;
    const qint64 left = remainingBytes(in);
    if (count < 0 || (left >= 0 && qint64(count) * itemBytes > left)) {
        count = 0;
        in.setStatus(QDataStream::ReadCorruptData);
        return false;
    }
    return true;
}

bool RecordStream::nextLengthFits(QDataStream &in, quint32 maxBytes)
{
    if (in.status() != QDataStream::Ok)
        return false;
    QIODevice *device = in.device();
    if (!device)
        return true;
    char head[4];
    if (device->peek(head, sizeof head) < qint64(sizeof head)) {
        in.setStatus(QDataStream::ReadPastEnd);
        return false;
    }
    const quint32 length = in.byteOrder() == QDataStream::BigEndian ? qFromBigEndian<quint32>(head)
                                                                    : qFromLittleEndian<quint32>(head);
    const qint64 left = remainingBytes(in);
    const bool isNull = length == 0xffffffffu;
    if (!isNull && (length > maxBytes || (left >= 0 && qint64(length) > left - 4))) {
        in.setStatus(QDataStream::ReadCorruptData);
        return false;
    }
    return true;
}

bool RecordStream::readTags(QDataStream &in, const std::vector<Tag> &tags, QString &last)
{
    while (true) {
        if (in.status() == QDataStream::Ok && in.atEnd()) {
            last.clear();
            return true;
        }
        if (!readString(in, last))
            return false;
        const auto known = std::find_if(tags.begin(), tags.end(), [&last](const Tag &tag) { return tag.tag == last; });
        if (known == tags.end())
            return true;
        if (!known->readValue() || in.status() != QDataStream::Ok)
            return false;
    }
}

qint64 RecordStream::remainingBytes(const QDataStream &in)
{
    const QIODevice *device = in.device();
    if (!device || device->isSequential())
        return -1;
    return device->bytesAvailable();
}

qint64 RecordStream::encodedSize(const QString &text)
{
    return 4 + 2 * qint64(text.size());
}
