#include "testenvironment.h"

#include "settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

namespace {

// Outside a test case (initTestCase, say) the preferences live in a fresh
// folder of the test process, never in one left by an earlier run.
const QTemporaryDir &processRoot()
{
    static const QTemporaryDir root;
    return root;
}

void usePreferencesIn(const QTemporaryDir &root)
{
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, root.filePath(QStringLiteral("config")));
    Settings::instance()->reopen();
}

} // namespace

TestEnvironment::TestEnvironment()
{
    Q_ASSERT(m_root.isValid());
    QDir(m_root.path()).mkpath(QStringLiteral("scratch"));
    usePreferencesIn(m_root);
}

TestEnvironment::~TestEnvironment()
{
    usePreferencesIn(processRoot());
}

QString TestEnvironment::userFolder() const
{
    return Settings::instance()->userFolder();
}

QString TestEnvironment::scratchPath(const QString &fileName) const
{
    return m_root.filePath(QStringLiteral("scratch/") + fileName);
}

QString TestEnvironment::writeScratch(const QString &fileName, const QByteArray &contents) const
{
    const QString path = scratchPath(fileName);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
        return QString();
    return path;
}

QByteArray TestEnvironment::readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestEnvironment::initApplication()
{
    Settings::nameApplication();
    QStandardPaths::setTestModeEnabled(true);
    usePreferencesIn(processRoot());
}
