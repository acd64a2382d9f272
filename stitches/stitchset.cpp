#include "stitchset.h"

#include "preferences.h"
#include "settings.h"
#include "stitch.h"
#include "stitchsetfile.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

const QString customSetFile = QStringLiteral("stitches_custom.xml");

// A user file that could not be read is kept under the first free one of
// these names before anything is written over it.
const int mostKeptCopies = 100;

QString folded(const QString &abbriv)
{
    return abbriv.toCaseFolded();
}

} // namespace

bool StitchSet::isTaken(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

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

QString StitchSet::userIconFolder()
{
    return userFilePath(QStringLiteral("stitches"));
}

bool StitchSet::loadStitchFile(const QString &fileName)
{
    return StitchSetFile::read(userFilePath(fileName), *this);
}

void StitchSet::mergeStitch(const StitchRecord &record, bool builtin)
{
    const QString key = record.abbrivs.isEmpty() ? QStringLiteral("?") : record.abbrivs.first();
    Stitch *stitch = findOrAdd(key);
    stitch->setName(record.name);
    stitch->setDescription(record.description);
    stitch->setCategory(record.category);
    stitch->setOpposite(record.opposite);
    stitch->setWorked(record.worked);
    stitch->setMade(record.made);
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
    if (Stitch *stitch = lookUp(abbriv))
        return stitch;
    Stitch *stitch = append();
    stitch->setName(abbriv);
    return stitch;
}

Stitch *StitchSet::append()
{
    auto *stitch = new Stitch;
    m_places.insert(stitch, m_stitches.size());
    m_stitches.append(stitch);
    connect(stitch, &Stitch::abbrivsChanged, this,
            [this, stitch](const QStringList &dropped, const QStringList &added) { reindex(stitch, dropped, added); });
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
    if (m_knownCategories.contains(category))
        return;
    m_knownCategories.insert(category);
    m_categories.append(category);
}

void StitchSet::forgetAddedSince(qsizetype stitchCount, qsizetype categoryCount)
{
    while (m_stitches.size() > stitchCount)
        forget(m_stitches.takeLast());
    while (m_categories.size() > categoryCount)
        m_knownCategories.remove(m_categories.takeLast());
}

void StitchSet::noteCountedBuiltins()
{
    m_countedBuiltins.clear();
    for (const Stitch *stitch : std::as_const(m_stitches)) {
        if (!stitch->builtin || (stitch->worked() == 1 && stitch->made() == 1))
            continue;
        for (const QString &abbriv : stitch->abbrivs())
            m_countedBuiltins.insert(folded(abbriv));
    }
}

void StitchSet::forget(Stitch *stitch)
{
    for (const QString &abbriv : stitch->abbrivs())
        release(folded(abbriv), stitch);
    m_places.remove(stitch);
    delete stitch;
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
    if (m_userFileUnread && !keepUnreadUserFile())
        return false;
    const StitchSetFile::Header header{name, description, author, location};
    // A built-in stitch made the user's own keeps the built-in arithmetic
    // where the file is silent, so 1 and 1 must be said there.
    const auto sayCounts = [this](const Stitch &stitch) {
        return m_countedBuiltins.contains(folded(stitch.stitchID()));
    };
    if (!StitchSetFile::write(userStitchesFile(), header, written, sayCounts))
        return false;

    for (Stitch *stitch : written)
        stitch->temporary = false;
    return true;
}

// Copies the file aside rather than moving it, so that it stays where it
// was should the save fail.
bool StitchSet::keepUnreadUserFile()
{
    const QString path = userStitchesFile();
    for (int copy = 1; copy <= mostKeptCopies; ++copy) {
        const QString kept = path + QStringLiteral(".unread") + (copy > 1 ? QStringLiteral("-%1").arg(copy) : QString());
        if (isTaken(kept))
            continue;
        if (!QFile::copy(path, kept)) {
            qWarning() << "could not keep the unread stitch file" << path << "as" << kept << "; it is not written over";
            return false;
        }
        qWarning() << "the stitch file" << path << "that could not be read is kept as" << kept;
        m_keptUnreadFile = kept;
        m_userFileUnread = false;
        return true;
    }
    qWarning() << "no free name to keep the unread stitch file" << path << "; it is not written over";
    return false;
}

Stitch *StitchSet::lookUp(const QString &abbriv) const
{
    const auto holders = m_holders.constFind(folded(abbriv));
    return holders == m_holders.cend() ? nullptr : holders->first();
}

void StitchSet::reindex(Stitch *stitch, const QStringList &dropped, const QStringList &added)
{
    for (const QString &abbriv : dropped)
        release(folded(abbriv), stitch);
    for (const QString &abbriv : added)
        hold(folded(abbriv), stitch);
}

QList<Stitch *>::iterator StitchSet::placeAmong(QList<Stitch *> &holders, const Stitch *stitch) const
{
    return std::lower_bound(holders.begin(), holders.end(), stitch,
                            [this](const Stitch *a, const Stitch *b) { return placeOf(a) < placeOf(b); });
}

// Two abbreviations of a stitch may fold to one key; it is held once.
void StitchSet::hold(const QString &key, Stitch *stitch)
{
    QList<Stitch *> &holders = m_holders[key];
    // Stitches mostly gain abbreviations while they are the newest.
    if (holders.isEmpty() || placeOf(holders.last()) < placeOf(stitch)) {
        holders.append(stitch);
        return;
    }
    const auto place = placeAmong(holders, stitch);
    if (*place != stitch)
        holders.insert(place, stitch);
}

void StitchSet::release(const QString &key, Stitch *stitch)
{
    const auto found = m_holders.find(key);
    if (found == m_holders.end())
        return;
    const auto place = placeAmong(*found, stitch);
    if (place != found->end() && *place == stitch)
        found->erase(place);
    if (found->isEmpty())
        m_holders.erase(found);
}

QStringList StitchSet::keyWords() const
{
    QStringList words;
    for (const Stitch *stitch : m_stitches)
        words += stitch->abbrivs();
    return words;
}

namespace {

// A stitch that is its own opposite but is worked differently from the
// wrong side tells how after this in its description, as the built-in
// set does: "(k1, yo, k1) in the next st; on a WS row, (p1, yo, p1) in the
// next st".
const QLatin1String wrongSideMark("; on a WS row, ");

// What the description of `stitch` says to do from the right side, or
// from the wrong side when it tells so apart.
QString working(const Stitch *stitch, bool wrongSide)
{
    const QString text = stitch->description();
    const qsizetype mark = text.indexOf(wrongSideMark);
    if (mark < 0)
        return text;
    return wrongSide ? text.mid(mark + wrongSideMark.size()) : text.left(mark);
}

} // namespace

QString StitchSet::workedAs(const Stitch *stitch, bool wrongSide) const
{
    if (!stitch)
        return QString();
    if (!wrongSide)
        return working(stitch, false);
    // An opposite that is not in the set has no working to show; the
    // default stitch that findStitch() falls back on would mislead.
    // Another stitch as the opposite is worked from the wrong side as it
    // is from the right.
    const Stitch *opposite = lookUp(stitch->opposite());
    return opposite ? working(opposite, opposite->stitchID() == stitch->stitchID()) : QString();
}
