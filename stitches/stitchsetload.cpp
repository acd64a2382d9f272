// Filling the catalogue at start-up: the built-in set, the user's copy of
// it and the user's own stitches.

#include "stitchset.h"

#include "preferences.h"
#include "stitchsetfile.h"

#include <QCryptographicHash>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <optional>

namespace {

const QString defaultSetFile = QStringLiteral("stitches_yrn.xml");
const QString builtinSetResource = QStringLiteral(":/stitches_yrn.xml");

const QFile::Permissions userFilePermissions =
    QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup | QFile::WriteGroup;

// The built-in sets of the versions that copied theirs into the user
// folder without noting it. Later versions note what they copy
// (Preferences::builtinSetCopy), so this list never grows.
const char *const earlierBuiltinSets[] = {
    "3bab7d21504a8d19b959a564d10d5548413fa8d3",
    "d6e00740fe7d73a8e19919ecf288402acbbc30e2",
    "99b7d4b77d47c1ccf9c520923a23e8c5e96705a3",
};

QByteArray builtinSet()
{
    QFile file(builtinSetResource);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The user's copy of the built-in set, made readable once should it not
// be; nothing when it is not there or stays unreadable.
std::optional<QByteArray> readCopy(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return std::nullopt;
    if (!file.open(QIODevice::ReadOnly)) {
        QFile::setPermissions(path, userFilePermissions);
        if (!file.open(QIODevice::ReadOnly)) {
            qWarning() << "the copy of the built-in stitch set" << path << "cannot be read:" << file.errorString()
                       << "; the built-in set is used as it is";
            return std::nullopt;
        }
    }
    return file.readAll();
}

} // namespace

void StitchSet::load()
{
    ensureDefaultCopy();
    loadDefaultSet();
    noteCountedBuiltins();

    // Left unread, the user's own stitches must survive the next save.
    const bool read = StitchSetFile::read(userStitchesFile(), *this, StitchSetFile::MissingCounts::KeepKnown);
    m_userFileUnread = !read && isTaken(userStitchesFile());
    if (m_userFileUnread)
        qWarning() << "the user's own stitches in" << userStitchesFile()
                   << "could not be read; the file is kept before the library is next saved";
}

void StitchSet::ensureDefaultCopy()
{
    if (QFile::exists(userFilePath(defaultSetFile)))
        return;

    // Files of older versions, read only before the first copy is made.
    loadStitchFile(QStringLiteral("stitches.conf"));
    loadStitchFile(QStringLiteral("yrn_stitches.xml"));

    QDir().mkpath(userFolder());
    writeDefaultCopy(builtinSet());
}

// The built-in set always comes from the program. The user's copy is read
// on top of it only when the user changed it by hand, and then it leaves
// the arithmetic it does not state as the built-in set has it.
void StitchSet::loadDefaultSet()
{
    const QByteArray builtin = builtinSet();
    if (!StitchSetFile::read(builtinSetResource, *this))
        qDebug() << "unable to load default stitch data";

    const QString path = userFilePath(defaultSetFile);
    const std::optional<QByteArray> copy = readCopy(path);
    if (!copy)
        return;
    if (*copy == builtin) {
        if (Preferences::builtinSetCopy.value() != fingerprint(builtin))
            Preferences::builtinSetCopy.set(fingerprint(builtin));
        return;
    }
    if (isUntouchedCopy(*copy)) {
        if (writeDefaultCopy(builtin))
            qDebug() << "brought the copy of the built-in stitch set" << path << "up to date";
        return;
    }
    if (!StitchSetFile::read(path, *this, StitchSetFile::MissingCounts::KeepKnown))
        qWarning() << "the changes to the copy of the built-in stitch set" << path
                   << "could not be read; the built-in set is used as it is";
}

// Written whole or not at all, and noted, so that a later version knows
// the copy for one nobody changed.
bool StitchSet::writeDefaultCopy(const QByteArray &builtin)
{
    const QString path = userFilePath(defaultSetFile);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(builtin) != builtin.size() || !file.commit()) {
        qWarning() << "could not copy the default stitch set to" << path;
        return false;
    }
    QFile::setPermissions(path, userFilePermissions);
    Preferences::builtinSetCopy.set(fingerprint(builtin));
    return true;
}

QString StitchSet::fingerprint(const QByteArray &bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex());
}

bool StitchSet::isUntouchedCopy(const QByteArray &bytes)
{
    const QString print = fingerprint(bytes);
    if (print == Preferences::builtinSetCopy.value())
        return true;
    for (const char *earlier : earlierBuiltinSets) {
        if (print == QLatin1String(earlier))
            return true;
    }
    return false;
}
