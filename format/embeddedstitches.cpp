#include "embeddedstitches.h"

#include "recordstream.h"
#include "stitch.h"
#include "stitchset.h"

#include <QDataStream>
#include <QDebug>
#include <QFile>

#include <algorithm>

namespace {

const QString stitchEnd = QStringLiteral("</Stitch>");
const QString stitchStart = QStringLiteral("<Stitch>");
const QString unknownImage = QStringLiteral(":/stitches/unknown.svg");
const QString arithmeticTag = QStringLiteral("Arithmetic:");

// A stitch image carried in a file is at most this large.
const quint32 largestImageBytes = 64u << 20;
// A stitch has at most this many images.
const qint32 mostImages = 64;

bool isResource(const QString &path)
{
    return path.startsWith(QLatin1String(":/"));
}

// Only a stitch whose numbers differ from one stitch worked, one made has
// them in its record, so that other records keep their bytes.
bool hasOwnArithmetic(const Stitch *stitch)
{
    return stitch->worked() != 1 || stitch->made() != 1;
}

} // namespace

bool EmbeddedStitches::needsNewerVersion(const QList<Stitch *> &stitches)
{
    return std::any_of(stitches.cbegin(), stitches.cend(),
                       [](const Stitch *stitch) { return stitch && !stitch->builtin && hasOwnArithmetic(stitch); });
}

void EmbeddedStitches::write(QDataStream &out, const QList<Stitch *> &stitches)
{
    for (const Stitch *stitch : stitches) {
        if (!stitch || stitch->builtin)
            continue;
        out << stitchStart << stitch->abbrivs() << stitch->name() << stitch->opposite() << stitch->category()
            << stitch->description();
        const QStringList paths = stitch->paths();
        out << qint32(paths.size());
        for (const QString &path : paths) {
            if (isResource(path)) {
                out << path;
                continue;
            }
            QFile image(path);
            if (!image.open(QIODevice::ReadOnly)) {
                out << unknownImage;
                continue;
            }
            out << path << image.readAll();
        }
        if (hasOwnArithmetic(stitch))
            out << arithmeticTag << qint32(stitch->worked()) << qint32(stitch->made());
        out << stitchEnd;
    }
}

void EmbeddedStitches::read(QDataStream &in)
{
    QStringList abbrivs;
    QString name, opposite, category, description;
    RecordStream::readStringList(in, abbrivs);
    RecordStream::readString(in, name);
    RecordStream::readString(in, opposite);
    RecordStream::readString(in, category);
    RecordStream::readString(in, description);
    if (in.status() != QDataStream::Ok)
        return;
    // A stitch the library already knows keeps its own images; one with no
    // abbreviation cannot be named on the chart. Either way the record is
    // read to its end so the pattern after it still opens.
    StitchSet *catalogue = StitchSet::instance();
    const bool adding = !abbrivs.isEmpty() && !catalogue->hasStitch(abbrivs.first());
    if (abbrivs.isEmpty())
        qDebug() << "Ignoring a stitch with no abbreviation in a pattern file";

    qint32 count = 0;
    in >> count;
    if (count < 0 || count > mostImages) {
        in.setStatus(QDataStream::ReadCorruptData);
        return;
    }
    QStringList paths;
    for (qint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        QString path;
        if (!RecordStream::readString(in, path))
            return;
        if (isResource(path)) {
            paths.append(path);
            continue;
        }
        QByteArray bytes;
        if (!RecordStream::readBytes(in, bytes, largestImageBytes))
            return;
        const QString kept = adding ? StitchSet::storeIncomingImage(path, bytes) : QString();
        if (!kept.isEmpty())
            paths.append(kept);
    }

    // Stitches worked and made, when the record has its own.
    QString tag;
    qint32 worked = 1, made = 1;
    if (RecordStream::readString(in, tag) && tag == arithmeticTag) {
        in >> worked >> made;
        if (in.status() != QDataStream::Ok)
            return;
        const auto sane = [](qint32 count) { return count >= 0 && count <= StitchRecord::mostStitches; };
        if (!sane(worked) || !sane(made)) {
            qWarning("A stitch's numbers %d and %d in a pattern file are out of range; read as 1 and 1", worked, made);
            worked = made = 1;
        }
        RecordStream::readString(in, tag);
    }

    if (adding) {
        Stitch *stitch = catalogue->findOrAdd(abbrivs.first());
        stitch->temporary = true;
        stitch->setAbbrivs(abbrivs);
        stitch->setOpposite(opposite);
        stitch->setDescription(description);
        stitch->setName(name);
        catalogue->addCategory(category);
        stitch->setCategory(category);
        stitch->setPaths(paths);
        stitch->setWorked(worked);
        stitch->setMade(made);
    }

    if (in.status() != QDataStream::Ok || tag != stitchEnd)
        qDebug() << "Unexpected end of stitch while loading stitch from pattern file";
}
