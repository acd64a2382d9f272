#include "recordbytes.h"

#include <QDataStream>
#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

// A colour is stored as its spec byte and five 16-bit values.
const qint64 colorBytes = 11;
// A device is read in pieces of about this size.
const qint64 readPiece = 1 << 20;
const quint8 highestColorSpec = quint8(QColor::ExtendedRgb);

} // namespace

void preparePatternStream(QDataStream &stream)
{
    stream.setVersion(QDataStream::Qt_4_5);
    stream.setByteOrder(QDataStream::BigEndian);
}

bool readStreamColor(QDataStream &stream, QColor &color)
{
    char bytes[colorBytes];
    if (stream.readRawData(bytes, int(colorBytes)) != int(colorBytes) || quint8(bytes[0]) > highestColorSpec) {
        stream.setStatus(QDataStream::ReadCorruptData);
        return false;
    }
    QDataStream in(QByteArray::fromRawData(bytes, int(colorBytes)));
    in.setVersion(stream.version());
    in.setByteOrder(stream.byteOrder());
    in >> color;
    return in.status() == QDataStream::Ok;
}

ByteReader::ByteReader(const char *data, qint64 size)
    : m_data(data)
    , m_size(qMax<qint64>(0, size))
{
}

ByteReader::ByteReader(QIODevice *device)
    : m_data(nullptr)
    , m_size(0)
    , m_device(device)
{
}

bool ByteReader::has(qint64 bytes)
{
    if (!m_ok)
        return false;
    return m_size - m_pos >= bytes || refill(bytes);
}

// Keeps what is not yet taken and reads on until `bytes` are at hand or
// the device ends.
bool ByteReader::refill(qint64 bytes)
{
    if (!m_device)
        return false;
    m_buffer.remove(0, m_pos);
    m_consumed += m_pos;
    m_pos = 0;
    while (m_buffer.size() < bytes) {
        // Small records are read in small pieces, since what is read ahead
        // is read again after the record; big ones in ever larger pieces.
        const qint64 wanted = qMax(m_piece, bytes - m_buffer.size());
        m_piece = qMin(m_piece * 2, readPiece);
        const qsizetype had = m_buffer.size();
        m_buffer.resize(had + wanted);
        const qint64 read = m_device->read(m_buffer.data() + had, wanted);
        m_buffer.resize(had + qMax<qint64>(0, read));
        if (read <= 0)
            break;
    }
    m_data = m_buffer.constData();
    m_size = m_buffer.size();
    return m_size >= bytes;
}

bool ByteReader::fail()
{
    m_ok = false;
    return false;
}

bool ByteReader::takeTag(const QByteArray &encoded)
{
    if (!has(encoded.size()) || std::memcmp(m_data + m_pos, encoded.constData(), size_t(encoded.size())) != 0)
        return false;
    m_pos += encoded.size();
    return true;
}

bool ByteReader::readInt32(qint32 &value)
{
    if (!has(4))
        return fail();
    value = qFromBigEndian<qint32>(m_data + m_pos);
    m_pos += 4;
    return true;
}

bool ByteReader::readBool(bool &value)
{
    if (!has(1))
        return fail();
    value = m_data[m_pos] != 0;
    m_pos += 1;
    return true;
}

bool ByteReader::readStringBytes(QByteArray &bytes, quint32 maxBytes)
{
    QByteArrayView view;
    if (!readStringView(view, maxBytes))
        return false;
    bytes = view.toByteArray();
    return true;
}

bool ByteReader::readStringView(QByteArrayView &bytes, quint32 maxBytes)
{
    if (!has(4))
        return fail();
    const quint32 length = qFromBigEndian<quint32>(m_data + m_pos);
    // The stream writes a null string as an all-ones length.
    const quint32 stored = length == 0xffffffffu ? 0 : length;
    if ((length != 0xffffffffu && (length > maxBytes || length % 2 != 0)) || !has(4 + qint64(stored)))
        return fail();
    bytes = QByteArrayView(m_data + m_pos, 4 + stored);
    m_pos += 4 + stored;
    return true;
}

QString ByteReader::decodeString(const QByteArray &bytes)
{
    if (bytes.size() < 4)
        return QString();
    const quint32 length = qFromBigEndian<quint32>(bytes.constData());
    if (length == 0xffffffffu)
        return QString();
    const int units = qMin(int(length / 2), int((bytes.size() - 4) / 2));
    QString text(units, Qt::Uninitialized);
    QChar *out = text.data();
    for (int i = 0; i < units; ++i)
        out[i] = QChar(qFromBigEndian<quint16>(bytes.constData() + 4 + 2 * i));
    return text;
}

bool ByteReader::readColor(QColor &color)
{
    if (!has(colorBytes))
        return fail();
    const char *at = m_data + m_pos;
    if (quint8(at[0]) > highestColorSpec)
        return fail();
    m_pos += colorBytes;
    int found = 0;
    while (found < m_knownCount && std::memcmp(m_known[found].bytes, at, colorBytes) != 0)
        ++found;
    if (found == m_knownCount) {
        // A colour not met lately: Qt's own reading keeps every value
        // exactly as stored.
        found = qMin(m_knownCount, int(std::size(m_known)) - 1);
        m_knownCount = found + 1;
        std::memcpy(m_known[found].bytes, at, colorBytes);
        QDataStream in(QByteArray::fromRawData(at, colorBytes));
        preparePatternStream(in);
        in >> m_known[found].color;
    }
    std::rotate(m_known, m_known + found, m_known + found + 1);
    color = m_known[0].color;
    return true;
}

ByteWriter::ByteWriter(QByteArray &buffer)
    : m_out(buffer)
{
}

QByteArray ByteWriter::encodeString(const QString &text)
{
    QByteArray bytes;
    ByteWriter writer(bytes);
    writer.writeString(text);
    return bytes;
}

void ByteWriter::writeInt32(qint32 value)
{
    char bytes[4];
    qToBigEndian(value, bytes);
    m_out.append(bytes, 4);
}

void ByteWriter::writeBool(bool value)
{
    m_out.append(char(value ? 1 : 0));
}

void ByteWriter::writeString(const QString &text)
{
    if (text.isNull()) {
        writeInt32(qint32(0xffffffffu));
        return;
    }
    writeInt32(qint32(text.size() * 2));
    const qsizetype start = m_out.size();
    m_out.resize(start + text.size() * 2);
    char *out = m_out.data() + start;
    for (qsizetype i = 0; i < text.size(); ++i)
        qToBigEndian(text.at(i).unicode(), out + 2 * i);
}

void ByteWriter::writeColor(const QColor &color)
{
    // Equal colours may still be stored differently (a hue of 0 or 360,
    // extended values compared loosely), so only plain colours are reused.
    const bool reusable = color.spec() == QColor::Rgb || color.spec() == QColor::Invalid;
    int found = 0;
    while (reusable && found < m_knownCount
           && (m_known[found].color.spec() != color.spec() || m_known[found].color != color))
        ++found;
    if (!reusable || found == m_knownCount) {
        QByteArray bytes;
        QDataStream out(&bytes, QIODevice::WriteOnly);
        preparePatternStream(out);
        out << color;
        if (!reusable) {
            m_out.append(bytes);
            return;
        }
        found = qMin(m_knownCount, int(std::size(m_known)) - 1);
        m_knownCount = found + 1;
        m_known[found] = {color, bytes};
    }
    std::rotate(m_known, m_known + found, m_known + found + 1);
    m_out.append(m_known[0].bytes);
}
