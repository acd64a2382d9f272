#include "preferences.h"
#include "settings.h"
#include "testenvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QtTest>

// The preferences: each read through its typed accessor, under the key the
// store has always used. (Their defaults are the Options dialog's test.)
class TestPreferences : public TestSuite
{
    Q_OBJECT

private Q_SLOTS:
    void valuesRoundTripUnderTheirKeys();
    void storedTextReadAsItsType();
    void changesAreAnnounced();
    void fileFolderExists();
};

void TestPreferences::valuesRoundTripUnderTheirKeys()
{
    Preferences::outputResolution.set(300);
    Preferences::headersBottom.set(true);
    Preferences::windowState.set(QByteArray("\x01\x02", 2));
    QCOMPARE(Settings::instance()->value(QStringLiteral("outputRes"), 0).toInt(), 300);
    QCOMPARE(Settings::instance()->value(QStringLiteral("HeadersBottom"), false).toBool(), true);
    Settings::instance()->sync();
    Settings::instance()->reopen();
    QCOMPARE(Preferences::outputResolution.value(), 300);
    QVERIFY(Preferences::headersBottom.value());
    QCOMPARE(Preferences::windowState.value(), QByteArray("\x01\x02", 2));
}

// A store written by hand, or by an older program, holds words.
void TestPreferences::storedTextReadAsItsType()
{
    const QString file = Settings::instance()->fileName();
    Settings::instance()->sync();
    QDir().mkpath(QFileInfo(file).absolutePath());
    QFile ini(file);
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[General]\nGrayNoStitch=false\nAutoSave=7\ncellWidth=thirty\n");
    ini.close();
    Settings::instance()->reopen();
    QVERIFY(!Preferences::grayNoStitch.value());
    QCOMPARE(Preferences::autoSaveMinutes.value(), 7);
    QCOMPARE(Preferences::cellWidth.value(), 0);
}

void TestPreferences::changesAreAnnounced()
{
    QSignalSpy changed(Preferences::instance(), &Preferences::changed);
    Preferences::defaultStitch.set(QStringLiteral("p"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.first().first().toString(), QStringLiteral("defaultStitch"));
    QCOMPARE(Preferences::defaultStitch.value(), QStringLiteral("p"));
}

// File dialogs start in a folder that exists: one started in a missing
// folder offers the folder's name as the file's.
void TestPreferences::fileFolderExists()
{
    const QString chosen = m_env->scratchPath(QStringLiteral("patterns"));
    Preferences::defaultFileLocation.set(chosen);
    QVERIFY(Preferences::fileFolder() != chosen);
    QVERIFY(QDir(Preferences::fileFolder()).exists());
    QVERIFY(QDir().mkpath(chosen));
    QCOMPARE(Preferences::fileFolder(), chosen);
}

YARNWISE_CORE_TEST_MAIN(TestPreferences)
#include "tst_preferences.moc"
