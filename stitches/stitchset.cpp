#include "stitchset.h"

#include "preferences.h"
#include "settings.h"
#include "stitch.h"
#include "stitchsetfile.h"

#include <QCryptographicHash>
#include <QDebug>
#include <QDir>
#include <QDomElement>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

const QString defaultSetFile = QStringLiteral("stitches_yrn.xml");
const QString customSetFile = QStringLiteral("stitches_custom.xml");
const QString builtinSetResource = QStringLiteral(":/stitches_yrn.xml");

const QFile::Permissions userFilePermissions =
    QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup | QFile::WriteGroup;

QString folded(const QString &abbriv)
{
    return abbriv.toCaseFolded();
}

} // namespace

StitchSet *StitchSet::instance()
{
    // Never destroyed: cells and commands keep pointers to its stitches.
    static StitchSet *set = new StitchSet;
    return set;
}

StitchSet::StitchSet() = default;

StitchSet::~StitchSet()
{
    qDeleteAll(m_stitches);
}

QString StitchSet::userFolder()
{
    return Settings::instance()->userFolder();
}

QString StitchSet::userFilePath(const QString &fileName)
{
    return userFolder() + QLatin1Char('/') + fileName;
}

QString StitchSet::userStitchesFile()
{
    return userFilePath(customSetFile);
}

QString StitchSet::storeIncomingImage(const QString &storedPath, const QByteArray &bytes)
{
    const QString name = QFileInfo(storedPath).fileName();
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return QString();
    const QString folder = userFolder() + QStringLiteral("/stitches/");
    if (!QDir().mkpath(folder))
        return QString();

    const auto hash = [](const QByteArray &data) { return QCryptographicHash::hash(data, QCryptographicHash::Sha1); };
    const QFileInfo info(name);
    QString path = folder + name;
    for (int n = 1; QFileInfo::exists(path); ++n) {
        QFile existing(path);
        if (existing.open(QIODevice::ReadOnly) && hash(existing.readAll()) == hash(bytes))
            return path; // the very same image
        path = folder + info.completeBaseName() + QStringLiteral("-%1").arg(n)
            + (info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix());
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return QString();
    return path;
}

QString StitchSet::userIconFolder()
{
    return userFilePath(QStringLiteral("stitches"));
}

void StitchSet::load()
{
    ensureDefaultCopy();

    const QString defaultCopy = userFilePath(defaultSetFile);
    bool loaded = loadStitchFile(defaultSetFile);
    if (m_stitches.isEmpty()) {
        QFile::setPermissions(defaultCopy, userFilePermissions);
        loaded = loadStitchFile(defaultSetFile);
    }
    if (!loaded || m_stitches.isEmpty()) {
        qDebug() << "unable to load default stitch data";
        // Without the user's copy the program would have no stitches at
        // all; the built-in set is always there to fall back on.
        if (m_stitches.isEmpty())
            StitchSetFile::read(builtinSetResource, *this);
    }

    loadStitchFile(customSetFile);
}

void StitchSet::ensureDefaultCopy()
{
    const QString defaultCopy = userFilePath(defaultSetFile);
    if (QFile::exists(defaultCopy))
        return;

    // Files of older versions, read only before the first copy is made.
    loadStitchFile(QStringLiteral("stitches.conf"));
    loadStitchFile(QStringLiteral("yrn_stitches.xml"));

    QDir().mkpath(userFolder());
    if (!QFile::copy(builtinSetResource, defaultCopy))
        qWarning() << "could not copy the default stitch set to" << defaultCopy;
    QFile::setPermissions(defaultCopy, userFilePermissions);
}

bool StitchSet::loadStitchFile(const QString &fileName)
{
    return StitchSetFile::read(userFilePath(fileName), *this);
}

void StitchSet::loadStitch(const QDomElement &element)
{
    bool builtin = false;
    const StitchRecord record = StitchSetFile::readStitch(element, &builtin);
    const QString key = record.abbrivs.isEmpty() ? QStringLiteral("?") : record.abbrivs.first();

    Stitch *stitch = findOrAdd(key);
    stitch->setName(record.name);
    stitch->setDescription(record.description);
    stitch->setCategory(record.category);
    stitch->setOpposite(record.opposite);
    stitch->builtin = builtin;
    for (const QString &abbriv : record.abbrivs)
        stitch->addAbbriv(abbriv);
    stitch->setPaths(record.paths);

    addCategory(record.category);
}

Stitch *StitchSet::findStitch(const QString &abbriv, bool *found)
{
    if (Stitch *stitch = lookUp(abbriv)) {
        if (found)
            *found = true;
        return stitch;
    }

    if (found)
        *found = false;
    if (Stitch *stitch = lookUp(defaultStitchID()))
        return stitch;
    return unknownStitch();
}

QString StitchSet::defaultStitchID()
{
    return Preferences::defaultStitch.value();
}

Stitch *StitchSet::defaultStitch()
{
    return findStitch(defaultStitchID());
}

Stitch *StitchSet::findOrAdd(const QString &abbriv)
{
    bool found = false;
    Stitch *stitch = findStitch(abbriv, &found);
    if (found)
        return stitch;

    stitch = new Stitch;
    stitch->setName(abbriv);
    connect(stitch, &Stitch::abbrivsChanged, this, [this] { m_indexDirty = true; });
    m_stitches.append(stitch);
    return stitch;
}

bool StitchSet::hasStitch(const QString &abbriv) const
{
    return lookUp(abbriv) != nullptr;
}

Stitch *StitchSet::unknownStitch()
{
    // One placeholder serves every unknown abbreviation, so that a file full
    // of strange stitches cannot make us allocate one stitch per cell.
    if (!m_unknownStitch) {
        m_unknownStitch = std::make_unique<Stitch>();
        m_unknownStitch->setName(QStringLiteral("unknown"));
        m_unknownStitch->setPaths({Stitch::placeholderPath()});
        m_unknownStitch->addAbbriv(QStringLiteral("?"));
        m_unknownStitch->setOpposite(QStringLiteral("?"));
        m_unknownStitch->setDescription(tr("unknown or missing stitch"));
    }
    return m_unknownStitch.get();
}

void StitchSet::addCategory(const QString &category)
{
    if (!m_categories.contains(category))
        m_categories.append(category);
}

void StitchSet::forgetAddedSince(qsizetype stitchCount, qsizetype categoryCount)
{
    if (stitchCount < m_stitches.size()) {
        qDeleteAll(m_stitches.begin() + stitchCount, m_stitches.end());
        m_stitches.resize(stitchCount);
        m_indexDirty = true;
    }
    if (categoryCount < m_categories.size())
        m_categories.resize(categoryCount);
}

bool StitchSet::saveUserStitches(const QList<Stitch *> &stitches, bool keepTemporary)
{
    QList<Stitch *> written;
    for (Stitch *stitch : stitches) {
        if (stitch->builtin || (stitch->temporary && !keepTemporary))
            continue;
        written.append(stitch);
    }

    QDir().mkpath(userFolder());
    const StitchSetFile::Header header{name, description, author, location};
    if (!StitchSetFile::write(userStitchesFile(), header, written))
        return false;

    for (Stitch *stitch : written)
        stitch->temporary = false;
    return true;
}

Stitch *StitchSet::lookUp(const QString &abbriv) const
{
    if (m_indexDirty)
        rebuildIndex();
    return m_index.value(folded(abbriv), nullptr);
}

void StitchSet::rebuildIndex() const
{
    m_index.clear();
    for (Stitch *stitch : m_stitches) {
        const QStringList abbrivs = stitch->abbrivs();
        for (const QString &abbriv : abbrivs) {
            const QString key = folded(abbriv);
            if (!m_index.contains(key))
                m_index.insert(key, stitch);
        }
    }
    m_indexDirty = false;
}
