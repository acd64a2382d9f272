#include "imagefixtures.h"
#include "settings.h"
#include "splashscreen.h"
#include "testenvironment.h"
#include "version.h"

#include <QApplication>
#include <QtTest>

class TestStartup : public TestSuite
{
    Q_OBJECT

private Q_SLOTS:
    void versionText();
    void settingsUseFreshStore();
    void splashPaintsVersionAndMessage();
};

void TestStartup::versionText()
{
    Version *version = Version::instance();
    QCOMPARE(version->numberText(), QStringLiteral("1.5.4"));

    const QString saved = version->buildDateTime;
    version->buildDateTime = QStringLiteral("Feb 11 2013 16:00:45");
    QCOMPARE(version->fullText(), QStringLiteral("1.5.4(Built Feb 11 2013 16:00:45)"));
    version->suffix = QStringLiteral("-beta");
    QCOMPARE(version->fullText(), QStringLiteral("1.5.4-beta(Built Feb 11 2013 16:00:45)"));
    version->buildDateTime.clear();
    QCOMPARE(version->fullText(), QStringLiteral("1.5.4-beta"));
    version->suffix.clear();
    version->buildDateTime = saved;
}

void TestStartup::settingsUseFreshStore()
{
    Settings *settings = Settings::instance();
    QVERIFY(settings->allKeys().isEmpty());
    QCOMPARE(settings->value(QStringLiteral("defaultStitch"), QStringLiteral("k")).toString(), QStringLiteral("k"));

    // The store lives in the temporary folder, under our names.
    QVERIFY(settings->fileName().startsWith(m_env->rootPath()));
    QVERIFY(settings->fileName().endsWith(QStringLiteral("Velto Software/Yarnwise.ini")));
    QCOMPARE(settings->userFolder(), QFileInfo(settings->fileName()).absolutePath());

    settings->setValue(QStringLiteral("chartWidth"), 30);
    settings->sync();
    QVERIFY(QFileInfo::exists(settings->fileName()));

    // The next case must not see this one's values.
    m_env = std::make_unique<TestEnvironment>();
    QVERIFY(!Settings::instance()->contains(QStringLiteral("chartWidth")));
}

static bool hasInk(const QImage &image, const QRect &area)
{
    return pixelsWhere(image, inked, area).count > 0;
}

void TestStartup::splashPaintsVersionAndMessage()
{
    QPixmap white(520, 260);
    white.fill(Qt::white);
    SplashScreen splash(white);
    splash.showMessage(QStringLiteral("Loading Stitches..."));
    splash.showMessage(QStringLiteral("Starting Program..."));
    QCOMPARE(splash.message, QStringLiteral("Starting Program..."));

    const QImage picture = splash.grab().toImage();
    // The message starts at (185, 130), the version line at (130, 170);
    // nothing is drawn above or left of them.
    QVERIFY(hasInk(picture, QRect(185, 130, 120, 20)));
    QVERIFY(hasInk(picture, QRect(130, 170, 120, 20)));
    QVERIFY(!hasInk(picture, QRect(0, 0, 520, 125)));
    QVERIFY(!hasInk(picture, QRect(0, 0, 125, 260)));
}

YARNWISE_TEST_MAIN(TestStartup)
#include "tst_startup.moc"
