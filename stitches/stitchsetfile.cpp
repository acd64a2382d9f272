#include "stitchsetfile.h"

#include "stitch.h"
#include "stitchset.h"

#include <QDebug>
#include <QDomDocument>
#include <QFile>
#include <QSaveFile>
#include <QXmlStreamWriter>

namespace {

QStringList childTexts(const QDomElement &list)
{
    QStringList texts;
    for (QDomElement child = list.firstChildElement(); !child.isNull(); child = child.nextSiblingElement())
        texts.append(child.text());
    return texts;
}

} // namespace

bool StitchSetFile::read(const QString &path, StitchSet &set)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;

    QDomDocument document;
    QString error;
    int line = 0;
    if (!document.setContent(&file, &error, &line)) {
        qWarning() << "stitch set" << path << "is not well-formed XML, line" << line << ":" << error;
        return false;
    }
    file.close();

    const QDomElement root = document.documentElement();
    for (QDomElement child = root.firstChildElement(); !child.isNull(); child = child.nextSiblingElement()) {
        const QString tag = child.tagName();
        if (tag == QLatin1String("set_name"))
            set.name = child.text();
        else if (tag == QLatin1String("set_description"))
            set.description = child.text();
        else if (tag == QLatin1String("set_author"))
            set.author = child.text();
        else if (tag == QLatin1String("set_location"))
            set.location = child.text();
        else if (tag == QLatin1String("stitch"))
            set.loadStitch(child);
    }
    return true;
}

StitchRecord StitchSetFile::readStitch(const QDomElement &element, bool *builtin)
{
    StitchRecord record;
    *builtin = false;
    for (QDomElement child = element.firstChildElement(); !child.isNull(); child = child.nextSiblingElement()) {
        const QString tag = child.tagName();
        if (tag == QLatin1String("name"))
            record.name = child.text();
        else if (tag == QLatin1String("category"))
            record.category = child.text();
        else if (tag == QLatin1String("description"))
            record.description = child.text();
        else if (tag == QLatin1String("opposite"))
            record.opposite = child.text();
        else if (tag == QLatin1String("builtin"))
            *builtin = child.text().toInt() == 1;
        else if (tag == QLatin1String("abbrivs"))
            record.abbrivs += childTexts(child);
        else if (tag == QLatin1String("images"))
            record.paths += childTexts(child);
    }
    return record;
}

void StitchSetFile::writeStitch(QXmlStreamWriter &xml, const StitchRecord &record, bool builtin)
{
    xml.writeStartElement(QStringLiteral("stitch"));
    xml.writeTextElement(QStringLiteral("name"), record.name);
    xml.writeTextElement(QStringLiteral("category"), record.category);
    xml.writeTextElement(QStringLiteral("description"), record.description);

    xml.writeStartElement(QStringLiteral("abbrivs"));
    for (const QString &abbriv : record.abbrivs)
        xml.writeTextElement(QStringLiteral("abbriv"), abbriv);
    xml.writeEndElement();

    xml.writeStartElement(QStringLiteral("images"));
    const QStringList paths = record.paths.isEmpty() ? QStringList{Stitch::placeholderPath()} : record.paths;
    for (const QString &path : paths)
        xml.writeTextElement(QStringLiteral("image"), path);
    xml.writeEndElement();

    xml.writeTextElement(QStringLiteral("opposite"), record.opposite);
    xml.writeTextElement(QStringLiteral("builtin"), builtin ? QStringLiteral("1") : QStringLiteral("0"));
    xml.writeEndElement();
}

bool StitchSetFile::write(const QString &path, const Header &header, const QList<Stitch *> &stitches)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;

    QXmlStreamWriter xml(&file);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("stitch_set"));
    xml.writeTextElement(QStringLiteral("set_name"), header.name);
    xml.writeTextElement(QStringLiteral("set_description"), header.description);
    xml.writeTextElement(QStringLiteral("set_author"), header.author);
    xml.writeTextElement(QStringLiteral("set_location"), header.location);
    for (const Stitch *stitch : stitches)
        stitch->saveToXML(xml);
    xml.writeEndElement();
    xml.writeEndDocument();

    if (xml.hasError()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
