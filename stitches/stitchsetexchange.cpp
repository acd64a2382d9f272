#include "stitchsetexchange.h"

#include "recordstream.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

const QString startTag = QStringLiteral("<Stitch>");
const QString endTag = QStringLiteral("</Stitch>");
const QString nameTag = QStringLiteral("Name:");
const QString abbrivsTag = QStringLiteral("Abbrivs:");
const QString iconsTag = QStringLiteral("Icons:");
const QString descriptionTag = QStringLiteral("Description:");
const QString oppositeTag = QStringLiteral("Opposite:");
const QString categoryTag = QStringLiteral("Category:");
// Only in sets of formatVersion and later, and only for stitches that do
// not work 1 and make 1.
const QString workedTag = QStringLiteral("Worked:");
const QString madeTag = QStringLiteral("Made:");

// No stitch image comes near this; a larger size means a damaged file.
const quint32 largestIcon = 64u << 20;

// Smallest stream sizes of a string and of a (string, bytes) pair.
const int stringBytes = 4;
const int iconBytes = 8;

} // namespace

StitchSetExchange::StitchSetExchange(QIODevice *device)
    : m_stream(device)
{
    m_stream.setVersion(QDataStream::Qt_4_5);
    m_stream.setByteOrder(QDataStream::BigEndian);
}

qint32 StitchSetExchange::versionFor(const QList<StitchRecord> &records)
{
    const bool plain = std::all_of(records.cbegin(), records.cend(),
                                   [](const StitchRecord &record) { return record.plainCounts(); });
    return plain ? plainVersion : formatVersion;
}

StitchSetExchange::Status StitchSetExchange::writeSet(const QList<StitchRecord> &records, QString *unreadable)
{
    m_version = versionFor(records);
    m_stream << magicNumber << m_version;
    for (const StitchRecord &record : records) {
        const Status status = writeStitch(record, unreadable);
        if (status != Ok)
            return status;
    }
    return m_stream.status() == QDataStream::Ok ? Ok : WriteFailed;
}

StitchSetExchange::Status StitchSetExchange::writeStitch(const StitchRecord &record, QString *unreadable)
{
    // Every image is read before anything is written, so that a record is
    // never left half written.
    QList<Icon> icons;
    for (const QString &path : record.paths) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            qDebug() << "could not open icon for reading..." << path;
            if (unreadable)
                *unreadable = path;
            return UnreadableIcon;
        }
        icons.append({QFileInfo(path).fileName(), file.readAll()});
    }

    m_stream << startTag << nameTag << record.name;
    m_stream << abbrivsTag << qint32(record.abbrivs.size());
    for (const QString &abbriv : record.abbrivs)
        m_stream << abbriv;
    m_stream << iconsTag << qint32(icons.size());
    for (const Icon &icon : std::as_const(icons))
        m_stream << icon.fileName << icon.data;
    m_stream << descriptionTag << record.description;
    m_stream << oppositeTag << record.opposite;
    m_stream << categoryTag << record.category;
    if (!record.plainCounts())
        m_stream << workedTag << qint32(record.worked) << madeTag << qint32(record.made);
    m_stream << endTag;
    return m_stream.status() == QDataStream::Ok ? Ok : WriteFailed;
}

StitchSetExchange::Status StitchSetExchange::readHeader()
{
    qint32 magic = 0;
    m_stream >> magic;
    if (m_stream.status() != QDataStream::Ok || magic != magicNumber)
        return NotAStitchSet;
    m_stream >> m_version;
    if (m_stream.status() != QDataStream::Ok)
        return Damaged;
    return m_version > formatVersion ? NewerVersion : Ok;
}

bool StitchSetExchange::atEnd() const
{
    return m_stream.atEnd();
}

StitchSetExchange::Status StitchSetExchange::readStitch(Entry &entry)
{
    entry = Entry();
    StitchRecord &record = entry.record;
    const auto text = [this](QString &target) {
        return [this, &target] { return RecordStream::readString(m_stream, target); };
    };
    const std::vector<RecordStream::Tag> tags = {
        {nameTag, text(record.name)},
        {abbrivsTag, [&] { return readAbbrivs(record.abbrivs); }},
        {iconsTag, [&] { return readIcons(entry.icons); }},
        {descriptionTag, text(record.description)},
        {oppositeTag, text(record.opposite)},
        {categoryTag, text(record.category)},
        {workedTag, [&] { return readCount(record.worked); }},
        {madeTag, [&] { return readCount(record.made); }},
    };
    // "<Stitch>" and tokens of later versions carry nothing we use. A
    // record that the end of the file cuts off between two tokens is taken
    // as far as it goes.
    QString token;
    while (RecordStream::readTags(m_stream, tags, token)) {
        if (token.isEmpty() || token == endTag)
            return Ok;
    }
    return Damaged;
}

bool StitchSetExchange::readAbbrivs(QStringList &abbrivs)
{
    abbrivs.clear();
    qint32 count = 0;
    if (!RecordStream::readCount(m_stream, count, stringBytes))
        return false;
    for (qint32 i = 0; i < count; ++i) {
        QString abbriv;
        if (!RecordStream::readString(m_stream, abbriv))
            return false;
        abbrivs.append(abbriv);
    }
    return true;
}

// A number of stitches out of 0 to StitchRecord::mostStitches is damage.
bool StitchSetExchange::readCount(int &count)
{
    qint32 value = 0;
    m_stream >> value;
    if (m_stream.status() != QDataStream::Ok)
        return false;
    if (value < 0 || value > StitchRecord::mostStitches) {
        m_stream.setStatus(QDataStream::ReadCorruptData);
        return false;
    }
    count = value;
    return true;
}

bool StitchSetExchange::readIcons(QList<Icon> &icons)
{
    icons.clear();
    qint32 count = 0;
    if (!RecordStream::readCount(m_stream, count, iconBytes))
        return false;
    for (qint32 i = 0; i < count; ++i) {
        Icon icon;
        if (!RecordStream::readString(m_stream, icon.fileName)
            || !RecordStream::readBytes(m_stream, icon.data, largestIcon))
            return false;
        icons.append(icon);
    }
    return true;
}
