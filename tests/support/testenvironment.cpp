#include "testenvironment.h"

#include "settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>

TestEnvironment::TestEnvironment()
{
    Q_ASSERT(m_root.isValid());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_root.filePath(QStringLiteral("config")));
    QDir(m_root.path()).mkpath(QStringLiteral("scratch"));
    Settings::instance()->reopen();
}

TestEnvironment::~TestEnvironment()
{
    Settings::instance()->reopen();
}

QString TestEnvironment::userFolder() const
{
    return Settings::instance()->userFolder();
}

QString TestEnvironment::scratchPath(const QString &fileName) const
{
    return m_root.filePath(QStringLiteral("scratch/") + fileName);
}

void TestEnvironment::initApplication()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Velto Software"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("yarnwise.example.org"));
    QCoreApplication::setApplicationName(QStringLiteral("Yarnwise"));
    QStandardPaths::setTestModeEnabled(true);
}
