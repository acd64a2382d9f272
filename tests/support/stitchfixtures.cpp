#include "stitchfixtures.h"

#include "stitchset.h"
#include "stitchsetfile.h"

#include <QBuffer>
#include <QDataStream>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QXmlStreamWriter>

#include <functional>

namespace StitchFixtures {

namespace {

QString ownImage(const QString &folder, int number)
{
    const QString path = folder + QStringLiteral("/own%1.svg").arg(number);
    const QString svg = QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"64\">"
                                       "<circle cx=\"32\" cy=\"32\" r=\"%1\"/></svg>")
                            .arg(4 + number % 28);
    return write(path, svg.toUtf8()) ? path : QString();
}

} // namespace

QByteArray streamed(const std::function<void(QDataStream &)> &write)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_4_5);
    write(out);
    return bytes;
}

QByteArray library(int count, int categories, const QString &imageFolder)
{
    if (!imageFolder.isEmpty())
        QDir().mkpath(imageFolder);
    const QStringList shared{QStringLiteral(":/stitches/k.svg"), QStringLiteral(":/stitches/p.svg")};
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QXmlStreamWriter xml(&buffer);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("stitch_set"));
    xml.writeTextElement(QStringLiteral("set_name"), QStringLiteral("Own stitches"));
    for (int i = 1; i <= count; ++i) {
        StitchRecord record;
        record.name = QStringLiteral("Own stitch %1").arg(i);
        record.abbrivs = {QStringLiteral("own%1").arg(i)};
        record.category = QStringLiteral("Category %1").arg(i % categories);
        record.description = QStringLiteral("Drawn for a test");
        record.opposite = record.abbrivs.first();
        record.paths = {imageFolder.isEmpty() ? shared.at(i % 2) : ownImage(imageFolder, i)};
        StitchSetFile::writeStitch(xml, record, false);
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return buffer.data();
}

QByteArray nested(int depth)
{
    QByteArray bytes("<stitch_set><stitch><abbrivs><abbriv>deep</abbriv></abbrivs><name>");
    bytes.reserve(bytes.size() + depth * 7 + 200);
    for (int i = 0; i < depth; ++i)
        bytes.append("<a>");
    for (int i = 0; i < depth; ++i)
        bytes.append("</a>");
    bytes.append("</name></stitch>"
                 "<stitch><abbrivs><abbriv>after</abbriv></abbrivs></stitch></stitch_set>\n");
    return bytes;
}

bool write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString counts(int worked, int made)
{
    return QStringLiteral("%1/%2").arg(worked).arg(made);
}

QByteArray embeddedStitch(const QString &abbriv, const QString &carriedName, const QByteArray &image)
{
    return streamed([&](QDataStream &out) {
        out << QStringLiteral("<Stitch>") << QStringList{abbriv} << QStringLiteral("Carried") << abbriv << QString()
            << QString() << qint32(1) << carriedName << image << QStringLiteral("</Stitch>");
    });
}

QByteArray exchangeSet(const QString &abbriv, const QString &carriedName, const QByteArray &image)
{
    return streamed([&](QDataStream &out) {
        out << qint32(0x2AC9863E) << qint32(200910) << QStringLiteral("<Stitch>") << QStringLiteral("Name:")
            << QStringLiteral("Carried") << QStringLiteral("Abbrivs:") << qint32(1) << abbriv
            << QStringLiteral("Icons:") << qint32(1) << carriedName << image << QStringLiteral("</Stitch>");
    });
}

bool plantLink(const QString &name, const QString &target)
{
    const QString folder = StitchSet::userIconFolder();
    return QDir().mkpath(folder) && QFile::link(target, folder + QLatin1Char('/') + name);
}

QMap<QString, QByteArray> snapshot(const QString &folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        files.insert(path, file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)"));
    }
    return files;
}

void ImageTrap::addRows(const QString &folder)
{
    QTest::addColumn<QString>("carried");
    QTest::addColumn<QString>("link"); // to this file outside, planted under the image's name
    QTest::newRow("dangling link") << folder + QStringLiteral("bud.svg") << "absent.svg";
    QTest::newRow("link to a file outside") << folder + QStringLiteral("bud.svg") << "theirs.svg";
    QTest::newRow("folders in the name") << "../../outside/theirs.svg" << "";
}

ImageTrap::ImageTrap(const QString &outside, const QString &carried, const QString &link)
    : m_outside(outside)
    , m_name(carried.section(QLatin1Char('/'), -1))
{
    m_set = QDir().mkpath(outside) && write(outside + QStringLiteral("/theirs.svg"), "theirs")
         && (link.isEmpty() || plantLink(m_name, outside + QLatin1Char('/') + link));
    m_before = snapshot(outside);
}

QString ImageTrap::sprung(const QString &kept, const QByteArray &bytes) const
{
    if (snapshot(m_outside) != m_before)
        return QStringLiteral("files outside changed");
    if (QFileInfo(kept).absolutePath() != StitchSet::userIconFolder() || QFileInfo(kept).isSymLink())
        return QStringLiteral("kept as ") + kept;
    QFile file(kept);
    if (!file.open(QIODevice::ReadOnly) || file.readAll() != bytes)
        return QStringLiteral("other bytes in ") + kept;
    return QString();
}

} // namespace StitchFixtures
