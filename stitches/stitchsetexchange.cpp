#include "stitchsetexchange.h"

#include "recordstream.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString startTag = QStringLiteral("<Stitch>");
const QString endTag = QStringLiteral("</Stitch>");
const QString nameTag = QStringLiteral("Name:");
const QString abbrivsTag = QStringLiteral("Abbrivs:");
const QString iconsTag = QStringLiteral("Icons:");
const QString descriptionTag = QStringLiteral("Description:");
const QString oppositeTag = QStringLiteral("Opposite:");
const QString categoryTag = QStringLiteral("Category:");

// No stitch image comes near this; a larger size means a damaged file.
const quint32 largestIcon = 64u << 20;

// Smallest stream sizes of a string and of a (string, bytes) pair.
const int stringBytes = 4;
const int iconBytes = 8;

QString safeFileName(const QString &carried)
{
    const QString name = QFileInfo(carried).fileName();
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return QStringLiteral("icon");
    return name;
}

QString numberedName(const QString &name, int number)
{
    if (number == 1)
        return name;
    const QFileInfo info(name);
    const QString numbered = info.completeBaseName() + QLatin1Char('_') + QString::number(number);
    return info.suffix().isEmpty() ? numbered : numbered + QLatin1Char('.') + info.suffix();
}

bool holds(const QString &path, const QByteArray &data)
{
    QFile file(path);
    return file.size() == data.size() && file.open(QIODevice::ReadOnly) && file.readAll() == data;
}

bool writeFile(const QString &path, const QByteArray &data)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size()) {
        file.remove();
        return false;
    }
    return true;
}

} // namespace

StitchSetExchange::StitchSetExchange(QIODevice *device)
    : m_stream(device)
{
    m_stream.setVersion(QDataStream::Qt_4_5);
    m_stream.setByteOrder(QDataStream::BigEndian);
}

void StitchSetExchange::writeHeader()
{
    m_stream << magicNumber << formatVersion;
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
    m_stream << endTag;
    return m_stream.status() == QDataStream::Ok ? Ok : WriteFailed;
}

StitchSetExchange::Status StitchSetExchange::readHeader()
{
    qint32 magic = 0;
    m_stream >> magic;
    if (m_stream.status() != QDataStream::Ok || magic != magicNumber)
        return NotAStitchSet;
    qint32 version = 0;
    m_stream >> version;
    if (m_stream.status() != QDataStream::Ok)
        return Damaged;
    return version > formatVersion ? NewerVersion : Ok;
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

QString StitchSetExchange::storeIcon(const Icon &icon, const QString &folder)
{
    if (!QDir().mkpath(folder))
        return QString();
    const QString name = safeFileName(icon.fileName);
    // Ends at the first free name at the latest.
    for (int number = 1;; ++number) {
        const QString path = folder + QLatin1Char('/') + numberedName(name, number);
        if (!QFileInfo::exists(path))
            return writeFile(path, icon.data) ? path : QString();
        if (holds(path, icon.data))
            return path;
    }
}
