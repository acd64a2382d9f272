#ifndef RECORDBYTES_H
#define RECORDBYTES_H

#include <QByteArray>
#include <QByteArrayView>
#include <QColor>
#include <QString>

class QDataStream;
class QIODevice;

// The values of Qt's data stream as pattern files hold them (big-endian,
// the stream version pattern files are written with), read straight from
// memory and written into one buffer, for the records that repeat a value
// group per cell a million times over. Byte for byte what QDataStream
// reads and writes.
//
// ByteReader never reads past its end: a value that does not fit what is
// left, a string longer than its limit or an odd string length fails, and
// every later read fails too. Reading from a device, it holds only a piece
// of it at a time, so a file of hundreds of megabytes is never in memory
// whole; the device is read ahead of position().
class ByteReader
{
public:
    ByteReader(const char *data, qint64 size);
    explicit ByteReader(QIODevice *device);

    bool ok() const { return m_ok; }
    // Bytes taken since the start.
    qint64 position() const { return m_consumed + m_pos; }

    // Takes `encoded` (a string as the stream writes it, see ByteWriter)
    // when the data goes on with exactly these bytes.
    bool takeTag(const QByteArray &encoded);
    bool readInt32(qint32 &value);
    bool readBool(bool &value);
    // The string's bytes as stored, length included: for callers that look
    // up what they have seen before rather than decode every time.
    bool readStringBytes(QByteArray &bytes, quint32 maxBytes = 1u << 20);
    // The same without a copy: the bytes stay valid until the next read.
    bool readStringView(QByteArrayView &bytes, quint32 maxBytes = 1u << 20);
    bool readColor(QColor &color);

    static QString decodeString(const QByteArray &bytes);

private:
    bool fail();
    bool has(qint64 bytes);
    bool refill(qint64 bytes);

    const char *m_data;
    qint64 m_size;
    qint64 m_pos = 0;
    bool m_ok = true;
    QIODevice *m_device = nullptr;
    QByteArray m_buffer;
    // Bytes of the device dropped from the front of the buffer.
    qint64 m_consumed = 0;
    qint64 m_piece = 16 * 1024;
    // The colours met most recently, newest first, by their stored bytes:
    // a chart has few, and a cell's colour and its border colours take
    // turns.
    struct KnownColor
    {
        char bytes[11];
        QColor color;
    };
    KnownColor m_known[16];
    int m_knownCount = 0;
};

class ByteWriter
{
public:
    explicit ByteWriter(QByteArray &buffer);

    // A string as the stream stores it; worth keeping for tags written
    // again and again.
    static QByteArray encodeString(const QString &text);

    void writeRaw(const QByteArray &bytes) { m_out.append(bytes); }
    void writeInt32(qint32 value);
    void writeBool(bool value);
    void writeString(const QString &text);
    void writeColor(const QColor &color);

private:
    QByteArray &m_out;
    // The colours written most recently, newest first, with their bytes.
    struct KnownColor
    {
        QColor color;
        QByteArray bytes;
    };
    KnownColor m_known[16];
    int m_knownCount = 0;
};

// The stream settings of pattern files, for the scratch streams that
// encode or decode a value the way the file's own stream does.
void preparePatternStream(QDataStream &stream);

// Reads a colour as the stream holds it, refusing one whose first byte
// names no colour model Qt knows: the stream is then marked damaged.
bool readStreamColor(QDataStream &stream, QColor &color);

#endif // RECORDBYTES_H
