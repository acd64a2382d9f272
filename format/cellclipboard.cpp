#include "cellclipboard.h"

#include "recordbytes.h"
#include "recordstream.h"

#include <QDataStream>
#include <QIODevice>
#include <QMimeData>

namespace {

void prepare(QDataStream &stream)
{
    stream.setVersion(QDataStream::Qt_6_4);
    stream.setByteOrder(QDataStream::BigEndian);
}

// An abbreviation longer than this is not one of ours.
const quint32 longestAbbreviationBytes = 4096;

} // namespace

QString CellClipboard::mimeType()
{
    return QStringLiteral("data/yarnwise-cell-1.0");
}

QByteArray CellClipboard::write(const QList<Record> &records)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    prepare(out);
    for (const Record &record : records)
        out << record.offset << record.abbreviation << record.imgPos << record.color;
    return bytes;
}

QList<CellClipboard::Record> CellClipboard::read(const QByteArray &bytes)
{
    QList<Record> records;
    QDataStream in(bytes);
    prepare(in);
    while (!in.atEnd()) {
        Record record;
        in >> record.offset;
        if (!RecordStream::readString(in, record.abbreviation, longestAbbreviationBytes))
            break;
        in >> record.imgPos;
        if (!readStreamColor(in, record.color) || in.status() != QDataStream::Ok)
            break;
        records.append(record);
    }
    return records;
}

QMimeData *CellClipboard::toMimeData(const QList<Record> &records)
{
    auto *data = new QMimeData;
    data->setData(mimeType(), write(records));
    return data;
}

QList<CellClipboard::Record> CellClipboard::fromMimeData(const QMimeData *data)
{
    if (!data || !data->hasFormat(mimeType()))
        return {};
    return read(data->data(mimeType()));
}
