#include "sessionentries.h"

#include "settings.h"

#include <QSettings>
#include <QUrl>

namespace {

const QString group = QStringLiteral("temp");

} // namespace

QString SessionEntries::key(const QString &fileName)
{
    return group + QLatin1Char('/') + QString::fromLatin1(QUrl::toPercentEncoding(fileName));
}

void SessionEntries::set(const QString &fileName, const QString &copy)
{
    Settings::instance()->setValue(key(fileName), copy);
}

void SessionEntries::remove(const QString &fileName)
{
    Settings::instance()->remove(key(fileName));
}

bool SessionEntries::contains(const QString &fileName)
{
    return Settings::instance()->contains(key(fileName));
}

QString SessionEntries::copyOf(const QString &fileName)
{
    return Settings::instance()->value(key(fileName), QString()).toString();
}

QMap<QString, QString> SessionEntries::all()
{
    QMap<QString, QString> entries;
    QSettings *store = Settings::instance()->settings;
    store->beginGroup(group);
    const QStringList keys = store->allKeys();
    for (const QString &encoded : keys)
        entries.insert(QUrl::fromPercentEncoding(encoded.toLatin1()), store->value(encoded).toString());
    store->endGroup();
    return entries;
}

void SessionEntries::clear()
{
    Settings::instance()->remove(group);
}
