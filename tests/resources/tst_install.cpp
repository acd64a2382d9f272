// What `cmake --install` puts on a desktop: the program, its menu entry and
// icon, the pattern file type that makes a double click open Yarnwise, and
// the manual where Help finds it.
#include "samplepattern.h"
#include "stitchset.h"
#include "testenvironment.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class TestInstall : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void installedFiles_data();
    void installedFiles();
    void desktopEntryIsValid();
    void patternsAreRecognised_data();
    void patternsAreRecognised();

private:
    QString installed(const QString &path) const { return m_prefix.filePath(path); }

    QTemporaryDir m_prefix;
};

void TestInstall::initTestCase()
{
    QVERIFY(m_prefix.isValid());
    QProcess install;
    install.start(QStringLiteral(CMAKE_COMMAND),
                  {QStringLiteral("--install"), QStringLiteral(BUILD_DIR), QStringLiteral("--prefix"), m_prefix.path()});
    QVERIFY(install.waitForFinished(120000));
    QVERIFY2(install.exitCode() == 0, install.readAllStandardError().constData());

    // The file type database of the installed tree only; set before the
    // first use of QMimeDatabase, which reads it once.
    qputenv("XDG_DATA_DIRS", QFile::encodeName(installed(QStringLiteral("share"))));
    StitchSet::instance()->load();
}

void TestInstall::installedFiles_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("head");

    QTest::newRow("program") << "bin/yarnwise" << QByteArray("\x7f" "ELF");
    QTest::newRow("menu entry") << "share/applications/yarnwise.desktop" << QByteArray("[Desktop Entry]");
    QTest::newRow("file type") << "share/mime/packages/yarnwise.xml" << QByteArray("<?xml");
    QTest::newRow("icon") << "share/icons/hicolor/256x256/apps/yarnwise.png" << QByteArray("\x89PNG");
}

void TestInstall::installedFiles()
{
    QFETCH(QString, path);
    QFETCH(QByteArray, head);
    QFile file(installed(path));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
    QCOMPARE(file.read(head.size()), head);
    if (path.startsWith(QLatin1String("bin/")))
        QVERIFY(QFileInfo(file).isExecutable());
    if (path.endsWith(QLatin1String(".png")))
        QCOMPARE(QImage(file.fileName()).size(), QSize(256, 256));
}

void TestInstall::desktopEntryIsValid()
{
    const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (validator.isEmpty())
        QSKIP("desktop-file-validate is not installed");
    QProcess validate;
    validate.start(validator, {installed(QStringLiteral("share/applications/yarnwise.desktop"))});
    QVERIFY(validate.waitForFinished(30000));
    QVERIFY2(validate.exitCode() == 0, validate.readAllStandardOutput().constData());
}

// By name, and by content when a pattern was saved under another name.
void TestInstall::patternsAreRecognised_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("byContent");

    QTest::newRow("pattern.kit") << "pattern.kit" << false;
    QTest::newRow("renamed pattern") << "pattern-from-email.bin" << true;
}

void TestInstall::patternsAreRecognised()
{
    QFETCH(QString, fileName);
    QFETCH(bool, byContent);

    QTemporaryDir folder;
    const QString path = folder.filePath(fileName);
    QVERIFY(SamplePattern::write(path));
    const QMimeDatabase types;
    const QMimeType type = byContent ? types.mimeTypeForFile(path, QMimeDatabase::MatchContent)
                                     : types.mimeTypeForFile(path, QMimeDatabase::MatchExtension);
    QCOMPARE(type.name(), QStringLiteral("application/x-yarnwise-pattern"));
}

YARNWISE_TEST_MAIN(TestInstall)
#include "tst_install.moc"
