#include "settings.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>

void Settings::nameApplication()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Velto Software"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("yarnwise.example.org"));
    QCoreApplication::setApplicationName(QStringLiteral("Yarnwise"));
}

Settings *Settings::instance()
{
    // Never destroyed: preferences are read until the very end of the run.
    static Settings *settings = new Settings;
    return settings;
}

Settings::Settings()
    : settings(nullptr)
{
    reopen();
}

Settings::~Settings()
{
    delete settings;
}

void Settings::reopen()
{
    delete settings;
    settings = new QSettings(QSettings::IniFormat, QSettings::UserScope,
                             QCoreApplication::organizationName(),
                             QCoreApplication::applicationName(), this);
}

QVariant Settings::value(const QString &key, const QVariant &defaultValue) const
{
    return settings->value(key, defaultValue);
}

void Settings::setValue(const QString &key, const QVariant &value)
{
    settings->setValue(key, value);
}

bool Settings::contains(const QString &key) const
{
    return settings->contains(key);
}

void Settings::remove(const QString &key)
{
    settings->remove(key);
}

QStringList Settings::allKeys() const
{
    return settings->allKeys();
}

void Settings::sync()
{
    settings->sync();
}

QString Settings::fileName() const
{
    return settings->fileName();
}

QString Settings::userFolder() const
{
    return QFileInfo(settings->fileName()).absolutePath();
}
