#include "testenvironment.h"

#include "settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>

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
    return writeFile(path, contents) ? path : QString();
}

bool TestEnvironment::writeFile(const QString &path, const QByteArray &contents)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size();
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

QObject &modalWatchers()
{
    static QObject watchers;
    return watchers;
}

void cancelModalHandlers()
{
    qDeleteAll(modalWatchers().findChildren<QTimer *>(Qt::FindDirectChildrenOnly));
}

namespace Poppler {

// The output of poppler's `tool` run with `arguments`; empty when the tool
// is missing or fails.
static QString run(const QString &tool, const QStringList &arguments)
{
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty())
        return QString();
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

bool installed()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty()
        && !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

QString info(const QString &pdf, const QString &field)
{
    const QString label = field + QLatin1Char(':');
    for (const QString &line : run(QStringLiteral("pdfinfo"), {pdf}).split(QLatin1Char('\n'))) {
        if (line.startsWith(label))
            return line.mid(label.size()).trimmed();
    }
    return QString();
}

int images(const QString &pdf)
{
    // A heading of two lines, then one line an image.
    const QStringList lines = run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf}).split(
        QLatin1Char('\n'), Qt::SkipEmptyParts);
    return lines.size() >= 2 ? int(lines.size()) - 2 : -1;
}

int pages(const QString &pdf)
{
    const QString count = info(pdf, QStringLiteral("Pages"));
    return count.isEmpty() ? -1 : count.toInt();
}

QString text(const QString &pdf, bool layout)
{
    QStringList arguments{pdf, QStringLiteral("-")};
    if (layout)
        arguments.prepend(QStringLiteral("-layout"));
    return run(QStringLiteral("pdftotext"), arguments);
}

} // namespace Poppler
