// Keeping the images that stitches bring along from pattern files and
// stitch set exchange files in the user's stitch-image folder.

#include "stitchset.h"

#include <QCryptographicHash>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace {

// The file names that stitch images are kept under are chosen here, from
// names that come from outside: a name is only ever the last part of what
// was carried, and whatever already has a name in the folder stays as it is.
const QString unnamed = QStringLiteral("icon");
const int hashDigits = 16;

// Where the image stands in the folder: its name is free, the very same
// image is there already, or something else is.
enum class Place { Free, Same, Taken };

// The last part of a carried path, whichever separator it was written
// with, so that no name reaches outside the folder.
QString bareName(const QString &carried)
{
    const qsizetype cut = std::max(carried.lastIndexOf(QLatin1Char('/')), carried.lastIndexOf(QLatin1Char('\\')));
    const QString name = carried.mid(cut + 1);
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return unnamed;
    return name;
}

// The name an image takes when its own is taken: named after its content,
// so the same image always finds the same name.
QString contentName(const QString &name, const QByteArray &hash)
{
    const QFileInfo info(name);
    const QString base = info.completeBaseName() + QLatin1Char('-') + QString::fromLatin1(hash.toHex().left(hashDigits));
    return info.suffix().isEmpty() ? base : base + QLatin1Char('.') + info.suffix();
}

// Only a plain file is ever read: a link could lead anywhere, and a pipe
// or a device could block. A link counts as taken even when it leads
// nowhere, since writing would follow it.
Place standingAt(const QString &path, const QByteArray &bytes, const QByteArray &hash)
{
    const QFileInfo info(path);
    if (info.isSymLink())
        return Place::Taken;
    if (!info.exists())
        return Place::Free;
    if (!info.isFile() || info.size() != bytes.size())
        return Place::Taken;
    QFile file(path);
    QCryptographicHash existing(QCryptographicHash::Sha1);
    if (!file.open(QIODevice::ReadOnly) || !existing.addData(&file))
        return Place::Taken;
    return existing.result() == hash ? Place::Same : Place::Taken;
}

// Written beside its final name and moved there whole, so that a file of
// the folder is never half written.
bool writeNew(const QString &path, const QByteArray &bytes, const QString &resolvedFolder)
{
    // The folder that the system resolves the new file's own folder to
    // must be the stitch-image folder itself.
    if (QFileInfo(QFileInfo(path).absolutePath()).canonicalFilePath() != resolvedFolder) {
        qWarning() << "Not keeping a stitch image outside the stitch-image folder:" << path;
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        qWarning() << "Could not keep the stitch image" << path << ":" << file.errorString();
        return false;
    }
    return true;
}

} // namespace

QString StitchSet::storeIncomingImage(const QString &carriedName, const QByteArray &bytes)
{
    const QString folder = userIconFolder();
    if (!QDir().mkpath(folder)) {
        qWarning() << "Could not make the stitch-image folder" << folder;
        return QString();
    }
    const QString resolvedFolder = QFileInfo(folder).canonicalFilePath();
    const QByteArray hash = QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
    const QString name = bareName(carriedName);
    const QString names[] = {name, contentName(name, hash)};
    for (const QString &candidate : names) {
        const QString path = folder + QLatin1Char('/') + candidate;
        switch (standingAt(path, bytes, hash)) {
        case Place::Same:
            return path;
        case Place::Free:
            return writeNew(path, bytes, resolvedFolder) ? path : QString();
        case Place::Taken:
            break;
        }
    }
    qWarning() << "Not keeping the stitch image" << name << ": other files or links hold both" << names[0] << "and"
               << names[1] << "in" << folder;
    return QString();
}
