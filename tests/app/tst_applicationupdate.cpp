#include "applicationupdate.h"
#include "settings.h"
#include "testenvironment.h"
#include "version.h"
#include "widgetfixtures.h"

#include <QApplication>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrlQuery>
#include <QtTest>

namespace {

// An HTTP server on 127.0.0.1 that answers each path with a canned reply. A
// reply that announces more bytes than it has keeps its connection open, as
// a stalled download does.
class CannedServer : public QObject
{
public:
    struct Reply
    {
        QByteArray status = "200 OK";
        QByteArray body;
        qint64 announced = -1;
        int delay = 0;
    };

    CannedServer()
    {
        connect(&m_server, &QTcpServer::newConnection, this, &CannedServer::accept);
        m_server.listen(QHostAddress::LocalHost);
    }

    QUrl url() const { return QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(m_server.serverPort())); }
    void answer(const QString &path, const Reply &reply) { m_replies.insert(path, reply); }

    QStringList requests;

private:
    void accept()
    {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    }

    void serve(QTcpSocket *socket)
    {
        QByteArray &request = m_pending[socket];
        request += socket->readAll();
        if (!request.contains("\r\n\r\n"))
            return;
        const QString target = QString::fromLatin1(request.split(' ').value(1));
        m_pending.remove(socket);
        requests.append(target);

        const Reply reply = m_replies.value(QUrl(target).path(), Reply{"404 Not Found", "no such page", -1});
        const qint64 length = reply.announced < 0 ? reply.body.size() : reply.announced;
        socket->write("HTTP/1.1 " + reply.status + "\r\nContent-Length: " + QByteArray::number(length)
                      + "\r\nConnection: close\r\n\r\n");
        QTimer::singleShot(reply.delay, socket, [socket, reply, length] {
            socket->write(reply.body);
            if (length == reply.body.size())
                socket->disconnectFromHost();
        });
    }

    QTcpServer m_server;
    QHash<QString, Reply> m_replies;
    QHash<QTcpSocket *, QByteArray> m_pending;
};

// Answers every message box as it opens, Yes to an offer when told to, and
// keeps what each one said.
class BoxDriver : public QObject
{
public:
    explicit BoxDriver(bool acceptOffer)
        : m_acceptOffer(acceptOffer)
    {
        connect(&m_timer, &QTimer::timeout, this, &BoxDriver::answer);
        m_timer.start(5);
    }

    QStringList boxes;
    QStringList details;

private:
    void answer()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        boxes.append(box->windowTitle() + QStringLiteral(": ") + box->text());
        details.append(box->detailedText() + box->informativeText());
        QAbstractButton *button = box->button(m_acceptOffer ? QMessageBox::Yes : QMessageBox::No);
        (button ? button : box->button(QMessageBox::Ok))->click();
    }

    QTimer m_timer;
    bool m_acceptOffer;
};

QByteArray versionReply(const QString &version, const QString &file, const QString &message = QString())
{
    return QStringLiteral("<!DOCTYPE version><version><description>Faster charts</description>"
                          "<version>%1</version><file>%2</file><message>%3</message></version>")
        .arg(version.toHtmlEscaped(), file.toHtmlEscaped(), message.toHtmlEscaped())
        .toUtf8();
}

const QString offerText = QStringLiteral(
    "Software Update: Version 9.0.0 is available for download. Would you like to download it now?");
const QString downloadError = QStringLiteral("Error: There was an error downloading the update.");

} // namespace

class TestApplicationUpdate : public TestSuite
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void currentVersion_data();
    void currentVersion();
    void newerVersionWithMessage_data();
    void newerVersionWithMessage();
    void serverUnreachable_data();
    void serverUnreachable();
    void unusableReply_data();
    void unusableReply();
    void downloadOpensFolder();
    void plantedLinkIsNotFollowed();
    void missingInstaller();
    void cancelledDownload();

private:
    void runCheck(bool silent);
    void serveVersion(const QByteArray &reply) { m_server->answer(QStringLiteral("/software/current.php"), {"200 OK", reply, -1}); }
    QString installerPath() const { return m_env->scratchPath(QStringLiteral("yarnwise-9.0.0.run")); }

    std::unique_ptr<CannedServer> m_server;
    std::unique_ptr<BoxDriver> m_driver;
    std::unique_ptr<DesktopCatcher> m_desktop;
    QByteArray m_oldTemp;
};

void TestApplicationUpdate::init()
{
    TestSuite::init();
    m_server = std::make_unique<CannedServer>();
    Settings::instance()->setValue(QStringLiteral("updateServer"), m_server->url().toString());
    // Downloads land in this test case's own folder.
    m_oldTemp = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(m_env->scratchPath(QString())));
    m_desktop = std::make_unique<DesktopCatcher>();
}

void TestApplicationUpdate::cleanup()
{
    m_desktop.reset();
    qputenv("TMPDIR", m_oldTemp);
    m_driver.reset();
    m_server.reset();
    TestSuite::cleanup();
}

// Starts a check as the main window does and waits for it to end.
void TestApplicationUpdate::runCheck(bool silent)
{
    QPointer<ApplicationUpdate> update = new ApplicationUpdate(silent);
    QCOMPARE(update->status(), ApplicationUpdate::Querying);
    QTRY_VERIFY_WITH_TIMEOUT(update.isNull(), 10000);
}

void TestApplicationUpdate::currentVersion_data()
{
    QTest::addColumn<bool>("silent");
    QTest::addColumn<QStringList>("boxes");
    QTest::newRow("menu") << false << QStringList{"Application Is Current: You are running the current version of Yarnwise"};
    QTest::newRow("start-up") << true << QStringList();
}

void TestApplicationUpdate::currentVersion()
{
    QFETCH(bool, silent);
    QFETCH(QStringList, boxes);
    serveVersion(versionReply(Version::instance()->numberText(), QStringLiteral("/files/setup.run")));
    m_driver = std::make_unique<BoxDriver>(false);

    runCheck(silent);
    QCOMPARE(m_driver->boxes, boxes);

    // The server learns which version asks.
    QCOMPARE(m_server->requests.size(), 1);
    const QUrl asked(m_server->requests.first());
    QCOMPARE(asked.path(), QStringLiteral("/software/current.php"));
    const QUrlQuery query(asked);
    QCOMPARE(query.queryItemValue(QStringLiteral("major")), QStringLiteral("1"));
    QCOMPARE(query.queryItemValue(QStringLiteral("minor")), QStringLiteral("5"));
    QCOMPARE(query.queryItemValue(QStringLiteral("rev")), QStringLiteral("4"));
    QVERIFY(!query.queryItemValue(QStringLiteral("os")).isEmpty());
}

void TestApplicationUpdate::newerVersionWithMessage_data()
{
    QTest::addColumn<bool>("silent");
    QTest::newRow("menu") << false;
    QTest::newRow("start-up") << true;
}

void TestApplicationUpdate::newerVersionWithMessage()
{
    QFETCH(bool, silent);
    serveVersion(versionReply(QStringLiteral("9.0.0"), QStringLiteral("/files/setup.run"),
                              QStringLiteral("<b>Please back up</b> your patterns")));
    m_driver = std::make_unique<BoxDriver>(false);

    runCheck(silent);
    // The server's text is shown as it is, never read as markup.
    QCOMPARE(m_driver->boxes, (QStringList{"Information: <b>Please back up</b> your patterns", offerText}));
    QCOMPARE(m_driver->details.last(), QStringLiteral("Faster charts"));
    QCOMPARE(m_server->requests.size(), 1);
}

void TestApplicationUpdate::serverUnreachable_data()
{
    QTest::addColumn<bool>("silent");
    QTest::addColumn<QString>("server");
    QTest::addColumn<QStringList>("boxes");

    const QStringList failed{"Software Update: Yarnwise was unable to connect to the update server."};
    QTest::newRow("404, menu") << false << QString() << failed;
    QTest::newRow("404, start-up") << true << QString() << QStringList();
    QTest::newRow("no server, menu") << false << "closed" << failed;
    QTest::newRow("no server, start-up") << true << "closed" << QStringList();
    QTest::newRow("not a web address") << false << "file:///etc/" << failed;
}

void TestApplicationUpdate::serverUnreachable()
{
    QFETCH(bool, silent);
    QFETCH(QString, server);
    QFETCH(QStringList, boxes);
    if (server == QLatin1String("closed")) {
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        server = QStringLiteral("http://127.0.0.1:%1/").arg(closed.serverPort());
    }
    if (!server.isEmpty())
        Settings::instance()->setValue(QStringLiteral("updateServer"), server);
    m_driver = std::make_unique<BoxDriver>(false);

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^The update check failed: ")));
    runCheck(silent);
    QCOMPARE(m_driver->boxes, boxes);
}

void TestApplicationUpdate::unusableReply_data()
{
    QTest::addColumn<QByteArray>("reply");

    QTest::newRow("not XML") << QByteArray("<html><body>Maintenance</body>");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("no version") << versionReply(QString(), QStringLiteral("/files/setup.run"));
    QTest::newRow("version with a path") << versionReply(QStringLiteral("9.0.0/../../x"), QStringLiteral("/f.run"));
    QTest::newRow("no installer") << versionReply(QStringLiteral("9.0.0"), QString());
    QTest::newRow("local installer") << versionReply(QStringLiteral("9.0.0"), QStringLiteral("file:///bin/sh"));
    QTest::newRow("too large") << versionReply(QStringLiteral("9.0.0"), QStringLiteral("/f.run"),
                                               QString(70000, QLatin1Char('a')));
    QByteArray bomb = "<!DOCTYPE version [<!ENTITY a \"aaaaaaaaaaaaaaaa\">";
    for (int level = 1; level < 10; ++level) {
        bomb += QStringLiteral("<!ENTITY %1 \"&%2;&%2;&%2;&%2;&%2;&%2;&%2;&%2;&%2;&%2;\">")
                    .arg(QChar(u'a' + level))
                    .arg(QChar(u'a' + level - 1))
                    .toLatin1();
    }
    QTest::newRow("entity bomb") << bomb + "]><version><message>&j;</message></version>";
}

void TestApplicationUpdate::unusableReply()
{
    QFETCH(QByteArray, reply);
    serveVersion(reply);
    m_driver = std::make_unique<BoxDriver>(true);

    // Even the menu check says nothing; the log says why.
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Ignoring the update server's reply: ")));
    runCheck(false);
    QCOMPARE(m_driver->boxes, QStringList());
    QCOMPARE(m_server->requests.size(), 1);
}

void TestApplicationUpdate::downloadOpensFolder()
{
    serveVersion(versionReply(QStringLiteral("9.0.0"), QStringLiteral("/files/setup.run")));
    const QByteArray installer(300000, 'i');
    m_server->answer(QStringLiteral("/files/setup.run"), {"200 OK", installer, -1});
    m_driver = std::make_unique<BoxDriver>(true);

    runCheck(false);
    QCOMPARE(m_driver->boxes, QStringList{offerText});
    QCOMPARE(TestEnvironment::readFile(installerPath()), installer);
    // Downloaded code is never started: the desktop is shown its folder.
    QCOMPARE(m_desktop->opened, QList<QUrl>{QUrl::fromLocalFile(m_env->scratchPath(QString()).chopped(1))});
}

void TestApplicationUpdate::plantedLinkIsNotFollowed()
{
    const QString victim = m_env->rootPath() + QStringLiteral("/victim.txt");
    QVERIFY(TestEnvironment::writeFile(victim, "keep me"));
    QVERIFY(QFile::link(victim, installerPath()));
    serveVersion(versionReply(QStringLiteral("9.0.0"), QStringLiteral("/files/setup.run")));
    m_server->answer(QStringLiteral("/files/setup.run"), {"200 OK", "installer", -1});
    m_driver = std::make_unique<BoxDriver>(true);

    runCheck(false);
    QVERIFY(QFileInfo(installerPath()).isFile() && !QFileInfo(installerPath()).isSymLink());
    QCOMPARE(TestEnvironment::readFile(victim), QByteArray("keep me"));
}

void TestApplicationUpdate::missingInstaller()
{
    serveVersion(versionReply(QStringLiteral("9.0.0"), QStringLiteral("/files/setup.run")));
    m_driver = std::make_unique<BoxDriver>(true);

    QTest::ignoreMessage(QtWarningMsg, "The update download failed: HTTP status 404");
    runCheck(true);
    QCOMPARE(m_driver->boxes, (QStringList{offerText, downloadError}));
    QVERIFY(m_driver->details.last().startsWith(QStringLiteral("Please try again later.\n")));
    QVERIFY(m_desktop->opened.isEmpty());
}

void TestApplicationUpdate::cancelledDownload()
{
    serveVersion(versionReply(QStringLiteral("9.0.0"), QStringLiteral("/files/setup.run")));
    m_server->answer(QStringLiteral("/files/setup.run"), {"200 OK", QByteArray(1000, 'i'), 1000000, 300});
    m_driver = std::make_unique<BoxDriver>(true);

    QPointer<ApplicationUpdate> update = new ApplicationUpdate(false);
    QPointer<QProgressDialog> progress;
    QTRY_VERIFY((progress = qobject_cast<QProgressDialog *>(QApplication::activeModalWidget())));
    QCOMPARE(update->status(), ApplicationUpdate::Downloading);
    QCOMPARE(progress->windowTitle(), QStringLiteral("Downloading Version 9.0.0"));
    QCOMPARE(progress->labelText(), QStringLiteral("Please wait while the new version is downloaded..."));
    QTRY_COMPARE(progress->value(), 1000);
    QCOMPARE(progress->maximum(), 1000000);

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^The update download failed: ")));
    progress->findChild<QPushButton *>()->click();
    QTRY_VERIFY(update.isNull());
    QCOMPARE(m_driver->boxes, (QStringList{offerText, downloadError}));
    // What arrived stays in the temporary folder.
    QCOMPARE(QFileInfo(installerPath()).size(), 1000);
    QVERIFY(m_desktop->opened.isEmpty());
}

YARNWISE_TEST_MAIN(TestApplicationUpdate)
#include "tst_applicationupdate.moc"
