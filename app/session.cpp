#include "session.h"

#include "patternfile.h"
#include "settings.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryFile>
#include <QUrl>

namespace {

const QString sessionGroup = QStringLiteral("session");
// Where runs before locks kept their entries, all in one group.
const QString olderGroup = QStringLiteral("temp");
// The runs ended from outside, by name.
const QString interruptedGroup = QStringLiteral("interrupted");

// File names go into keys encoded, since the store would read their
// slashes as groups and lose the leading one.
QString encoded(const QString &name)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(name));
}

QString groupOf(const QString &run)
{
    return run.isEmpty() ? olderGroup : sessionGroup + QLatin1Char('/') + run;
}

QSettings *store()
{
    return Settings::instance()->settings;
}

} // namespace

Session::Session(QObject *parent)
    : QObject(parent)
    , m_id(QStringLiteral("%1-%2")
               .arg(QCoreApplication::applicationPid())
               .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')))
{
    QDir().mkpath(lockFolder());
    m_lock = std::make_unique<QLockFile>(lockFolder() + QLatin1Char('/') + m_id + QStringLiteral(".lock"));
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0)) {
        qWarning() << "Could not take the lock of this run in" << lockFolder();
        m_lock.reset();
    }
}

// The lock goes with the run; its entries stay for the next start.
Session::~Session() = default;

QString Session::lockFolder()
{
    return Settings::instance()->userFolder() + QStringLiteral("/running");
}

QString Session::copyFolder() const
{
    return Settings::instance()->userFolder() + QStringLiteral("/autosave");
}

QString Session::entryKey(const QString &name) const
{
    return groupOf(m_id) + QLatin1Char('/') + encoded(name);
}

void Session::opened(const QString &name)
{
    if (!contains(name))
        Settings::instance()->setValue(entryKey(name), QString());
    Settings::instance()->sync();
}

void Session::saved(const QString &name)
{
    removeCopy(name);
    Settings::instance()->setValue(entryKey(name), QString());
    Settings::instance()->sync();
}

void Session::renamed(const QString &from, const QString &to)
{
    removeCopy(from);
    Settings::instance()->remove(entryKey(from));
    saved(to);
}

void Session::closed(const QString &name, bool keepEntry)
{
    removeCopy(name);
    if (keepEntry)
        Settings::instance()->setValue(entryKey(name), QString());
    else
        Settings::instance()->remove(entryKey(name));
    Settings::instance()->sync();
}

void Session::discard(const QString &name)
{
    closed(name, false);
}

QString Session::writeCopy(const QString &name, const std::function<bool(QDataStream &)> &write)
{
    QString path = copyOf(name);
    if (path.isEmpty()) {
        // A name of its own in the copy folder; the file is written below.
        QDir().mkpath(copyFolder());
        QTemporaryFile reserve(copyFolder() + QStringLiteral("/XXXXXX.kit"));
        reserve.setAutoRemove(false);
        if (!reserve.open())
            return QString();
        path = reserve.fileName();
    }
    QString error;
    if (!PatternFile::save(path, write, &error)) {
        qWarning() << "Could not write the autosave copy" << path << error;
        return QString();
    }
    Settings::instance()->setValue(entryKey(name), path);
    Settings::instance()->sync();
    return path;
}

QString Session::copyOf(const QString &name) const
{
    return Settings::instance()->value(entryKey(name), QString()).toString();
}

bool Session::contains(const QString &name) const
{
    return Settings::instance()->contains(entryKey(name));
}

void Session::adoptCopy(const QString &name, const QString &copy)
{
    Settings::instance()->setValue(entryKey(name), copy);
    Settings::instance()->sync();
}

void Session::removeCopy(const QString &name)
{
    const QString copy = copyOf(name);
    if (!copy.isEmpty())
        QFile::remove(copy);
}

QStringList Session::runs() const
{
    store()->beginGroup(sessionGroup);
    QStringList found = store()->childGroups();
    store()->endGroup();
    if (store()->childGroups().contains(olderGroup))
        found.append(QString());
    return found;
}

QMap<QString, QString> Session::entriesOf(const QString &run) const
{
    QMap<QString, QString> entries;
    store()->beginGroup(groupOf(run));
    const QStringList keys = store()->childKeys();
    for (const QString &key : keys)
        entries.insert(QUrl::fromPercentEncoding(key.toLatin1()), store()->value(key).toString());
    store()->endGroup();
    return entries;
}

QMap<QString, QString> Session::entries() const
{
    return entriesOf(m_id);
}

bool Session::isRunning(const QString &id) const
{
    if (id.isEmpty())
        return false;
    if (id == m_id)
        return true;
    // A lock whose process has gone is stale, and taking it removes it.
    QLockFile lock(lockFolder() + QLatin1Char('/') + id + QStringLiteral(".lock"));
    lock.setStaleLockTime(0);
    if (lock.tryLock(0)) {
        lock.unlock();
        return false;
    }
    return lock.error() == QLockFile::LockFailedError;
}

void Session::markInterrupted()
{
    Settings::instance()->setValue(interruptedGroup + QLatin1Char('/') + m_id, true);
    Settings::instance()->sync();
}

bool Session::hasLeftovers() const
{
    Settings::instance()->sync();
    const QStringList all = runs();
    for (const QString &run : all) {
        if (run != m_id && !isRunning(run) && !entriesOf(run).isEmpty())
            return true;
    }
    return false;
}

QList<Session::Entry> Session::takeOver()
{
    Settings::instance()->sync();
    QList<Entry> taken;
    const QStringList all = runs();
    for (const QString &run : all) {
        if (run == m_id || isRunning(run))
            continue;
        const QString mark = interruptedGroup + QLatin1Char('/') + run;
        const bool interrupted = !run.isEmpty() && Settings::instance()->value(mark, false).toBool();
        const QMap<QString, QString> left = entriesOf(run);
        for (auto entry = left.cbegin(); entry != left.cend(); ++entry) {
            taken.append(Entry{entry.key(), entry.value(), interrupted});
            Settings::instance()->setValue(entryKey(entry.key()), entry.value());
        }
        Settings::instance()->remove(groupOf(run));
        Settings::instance()->remove(mark);
    }
    Settings::instance()->sync();
    return taken;
}

bool Session::openElsewhere(const QString &fileName) const
{
    Settings::instance()->sync();
    const QStringList all = runs();
    for (const QString &run : all) {
        if (run != m_id && isRunning(run) && entriesOf(run).contains(fileName))
            return true;
    }
    return false;
}
