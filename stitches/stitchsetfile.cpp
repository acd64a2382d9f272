#include "stitchsetfile.h"

#include "stitch.h"
#include "stitchset.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <optional>
#include <vector>

namespace {

// One stitch as a file gives it: the arithmetic stays unset where the
// file leaves it unsaid.
struct FileStitch
{
    StitchRecord record;
    bool builtin = false;
    std::optional<int> worked;
    std::optional<int> made;
};

// What one file holds, gathered before any of it reaches the catalogue.
struct Contents
{
    std::optional<QString> name;
    std::optional<QString> description;
    std::optional<QString> author;
    std::optional<QString> location;
    std::vector<FileStitch> stitches;
};

// Reads the format in one pass with a stream reader: no tree is built and
// nothing recurses, so time and memory follow the size of the file. The
// depth is counted here, as the reader itself would follow any nesting.
class Reader
{
public:
    // `path` names the file in warnings.
    Reader(QIODevice *device, const QString &path);

    bool read(Contents &contents);
    // Why read() failed.
    QString problem() const;

private:
    bool next();
    bool nextChild(int parentDepth);
    bool is(QLatin1String tag) const { return m_xml.qualifiedName() == tag; }
    QString text();
    QStringList childTexts();
    void skip();
    void readTopLevel(Contents &contents);
    void readStitch(FileStitch &stitch);
    std::optional<int> count();

    QXmlStreamReader m_xml;
    QString m_path;
    int m_depth = 0;
};

Reader::Reader(QIODevice *device, const QString &path)
    : m_xml(device)
    , m_path(path)
{
    // Names are taken as written, prefixes and all, as they always were.
    m_xml.setNamespaceProcessing(false);
}

bool Reader::read(Contents &contents)
{
    while (next() && !m_xml.isStartElement()) {
    }
    // The root element's name is not checked.
    if (m_xml.isStartElement())
        readTopLevel(contents);
    // Whatever follows the root must still be well-formed.
    while (next()) {
    }
    return !m_xml.hasError();
}

QString Reader::problem() const
{
    const QString where = QStringLiteral("line %1").arg(m_xml.lineNumber());
    if (m_xml.error() == QXmlStreamReader::CustomError)
        return QStringLiteral("is damaged, %1: %2").arg(where, m_xml.errorString());
    return QStringLiteral("is not well-formed XML, %1: %2").arg(where, m_xml.errorString());
}

// The next token, keeping count of the open elements; false at the end of
// the document or at an error.
bool Reader::next()
{
    if (m_xml.atEnd())
        return false;
    switch (m_xml.readNext()) {
    case QXmlStreamReader::StartElement:
        if (++m_depth > StitchSetFile::deepestNesting)
            m_xml.raiseError(QStringLiteral("elements nested more than %1 deep").arg(StitchSetFile::deepestNesting));
        break;
    case QXmlStreamReader::EndElement:
        --m_depth;
        break;
    case QXmlStreamReader::EndDocument:
        return false;
    default:
        break;
    }
    return !m_xml.hasError();
}

// Moves to the start of the next child of the element open at
// `parentDepth`; false once that element ends.
bool Reader::nextChild(int parentDepth)
{
    while (next()) {
        if (m_xml.isStartElement() && m_depth == parentDepth + 1)
            return true;
        if (m_xml.isEndElement() && m_depth < parentDepth)
            return false;
    }
    return false;
}

// The text of the element just started and all it contains. Pieces of
// nothing but blanks outside CDATA are left out, as the tree reader of
// earlier versions did.
QString Reader::text()
{
    const int depth = m_depth;
    QString text;
    while (next() && m_depth >= depth) {
        if (m_xml.isCharacters() && (m_xml.isCDATA() || !m_xml.text().trimmed().isEmpty()))
            text += m_xml.text();
    }
    return text;
}

QStringList Reader::childTexts()
{
    const int depth = m_depth;
    QStringList texts;
    while (nextChild(depth))
        texts.append(text());
    return texts;
}

void Reader::skip()
{
    const int depth = m_depth;
    while (next() && m_depth >= depth) {
    }
}

void Reader::readTopLevel(Contents &contents)
{
    const int depth = m_depth;
    while (nextChild(depth)) {
        if (is(QLatin1String("stitch"))) {
            contents.stitches.emplace_back();
            readStitch(contents.stitches.back());
        } else if (is(QLatin1String("set_name"))) {
            contents.name = text();
        } else if (is(QLatin1String("set_description"))) {
            contents.description = text();
        } else if (is(QLatin1String("set_author"))) {
            contents.author = text();
        } else if (is(QLatin1String("set_location"))) {
            contents.location = text();
        } else {
            skip();
        }
    }
}

// Absent children give empty values; only the text "1" makes a stitch
// built in.
void Reader::readStitch(FileStitch &stitch)
{
    StitchRecord &record = stitch.record;
    const int depth = m_depth;
    while (nextChild(depth)) {
        if (is(QLatin1String("name")))
            record.name = text();
        else if (is(QLatin1String("category")))
            record.category = text();
        else if (is(QLatin1String("worked")))
            stitch.worked = count();
        else if (is(QLatin1String("made")))
            stitch.made = count();
        else if (is(QLatin1String("description")))
            record.description = text();
        else if (is(QLatin1String("opposite")))
            record.opposite = text();
        else if (is(QLatin1String("builtin")))
            stitch.builtin = text().toInt() == 1;
        else if (is(QLatin1String("abbrivs")))
            record.abbrivs += childTexts();
        else if (is(QLatin1String("images")))
            record.paths += childTexts();
        else
            skip();
    }
}

// A number of stitches, 0 to StitchRecord::mostStitches. Any other text
// is passed over with a warning: one mistyped number must not cost the
// user all the stitches of the file.
std::optional<int> Reader::count()
{
    const qint64 line = m_xml.lineNumber();
    const QString written = text();
    bool isNumber = false;
    const int value = written.trimmed().toInt(&isNumber);
    if (isNumber && value >= 0 && value <= StitchRecord::mostStitches)
        return value;
    qWarning().noquote() << QStringLiteral("stitch set %1, line %2: \"%3\" is not a number of stitches from 0 to %4; "
                                           "it is left unsaid")
                                .arg(m_path)
                                .arg(line)
                                .arg(written.left(40))
                                .arg(StitchRecord::mostStitches);
    return std::nullopt;
}

bool isResource(const QString &path)
{
    return path.startsWith(QLatin1Char(':'));
}

// An image path as read: a relative one names a file under the folder of
// the stitch-set file; an absolute one, as older versions wrote every
// path, is taken as it is.
QString resolvedPath(const QString &stored, const QDir &folder)
{
    if (stored.isEmpty() || isResource(stored) || !QDir::isRelativePath(stored))
        return stored;
    return QDir::cleanPath(folder.absoluteFilePath(stored));
}

// An image inside the folder of the stitch-set file is written relative
// to it, so that the user folder keeps its stitches when it moves to
// another place or machine. Any other path is written as it is.
QString storedPath(const QString &path, const QDir &folder)
{
    if (path.isEmpty() || isResource(path) || QDir::isRelativePath(path))
        return path;
    const QString relative = folder.relativeFilePath(path);
    const bool outside = relative == QLatin1String("..") || relative.startsWith(QLatin1String("../"))
                         || !QDir::isRelativePath(relative);
    return outside ? path : relative;
}

QStringList mapped(QStringList paths, const QDir &folder, QString (*map)(const QString &, const QDir &))
{
    for (QString &path : paths)
        path = map(path, folder);
    return paths;
}

// The stitch that `record` would be merged into, or null for a new one.
const Stitch *knownStitch(const StitchRecord &record, StitchSet &set)
{
    bool found = false;
    const Stitch *stitch = set.findStitch(record.abbrivs.value(0, QStringLiteral("?")), &found);
    return found ? stitch : nullptr;
}

void applyHeader(const Contents &contents, StitchSet &set)
{
    if (contents.name)
        set.name = *contents.name;
    if (contents.description)
        set.description = *contents.description;
    if (contents.author)
        set.author = *contents.author;
    if (contents.location)
        set.location = *contents.location;
}

} // namespace

bool StitchSetFile::read(const QString &path, StitchSet &set, MissingCounts missing)
{
    QFile file(path);
    if (!file.exists())
        return false;
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning() << "stitch set" << path << "cannot be read:" << file.errorString();
        return false;
    }

    Contents contents;
    Reader reader(&file, path);
    if (!reader.read(contents)) {
        qWarning().noquote() << QStringLiteral("stitch set %1 %2; nothing of it was read").arg(path, reader.problem());
        return false;
    }
    applyHeader(contents, set);
    const QDir folder = QFileInfo(path).absoluteDir();
    for (FileStitch &stitch : contents.stitches) {
        StitchRecord &record = stitch.record;
        record.paths = mapped(record.paths, folder, resolvedPath);
        const Stitch *known = missing == MissingCounts::KeepKnown ? knownStitch(record, set) : nullptr;
        record.worked = stitch.worked.value_or(known ? known->worked() : 1);
        record.made = stitch.made.value_or(known ? known->made() : 1);
        set.mergeStitch(record, stitch.builtin);
    }
    return true;
}

void StitchSetFile::writeStitch(QXmlStreamWriter &xml, const StitchRecord &record, bool builtin, bool sayCounts)
{
    xml.writeStartElement(QStringLiteral("stitch"));
    xml.writeTextElement(QStringLiteral("name"), record.name);
    xml.writeTextElement(QStringLiteral("category"), record.category);
    if (sayCounts || !record.plainCounts()) {
        xml.writeTextElement(QStringLiteral("worked"), QString::number(record.worked));
        xml.writeTextElement(QStringLiteral("made"), QString::number(record.made));
    }
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

bool StitchSetFile::write(const QString &path, const Header &header, const QList<Stitch *> &stitches,
                          const std::function<bool(const Stitch &)> &sayCounts)
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
    const QDir folder = QFileInfo(path).absoluteDir();
    for (const Stitch *stitch : stitches) {
        StitchRecord record = stitch->record();
        record.paths = mapped(record.paths, folder, storedPath);
        writeStitch(xml, record, stitch->builtin, sayCounts && sayCounts(*stitch));
    }
    xml.writeEndElement();
    xml.writeEndDocument();

    if (xml.hasError()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
