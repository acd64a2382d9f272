#include "applicationupdate.h"

#include "preferences.h"
#include "settings.h"
#include "version.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProgressBar>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QSysInfo>
#include <QUrlQuery>

#include <limits>

namespace {

// The version reply is a few lines of XML; anything much larger is not one.
constexpr qsizetype MaxReplySize = 64 * 1024;
// A stalled connection ends the check instead of keeping it open forever.
constexpr int TransferTimeout = 30 * 1000;

QString supportContact()
{
    return QObject::tr("If the problem continues, contact support@yarnwise.example.org.");
}

QString platformName()
{
#if defined(Q_OS_MACOS)
    return QStringLiteral("mac");
#elif defined(Q_OS_WIN)
    return QStringLiteral("windows");
#else
    return QSysInfo::kernelType();
#endif
}

bool isWebUrl(const QUrl &url)
{
    return url.isValid() && !url.host().isEmpty()
        && (url.scheme() == QLatin1String("https") || url.scheme() == QLatin1String("http"));
}

QUrl queryUrl(const QUrl &server)
{
    const Version *running = Version::instance();
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("major"), QString::number(running->majorVersion));
    query.addQueryItem(QStringLiteral("minor"), QString::number(running->minorVersion));
    query.addQueryItem(QStringLiteral("rev"), QString::number(running->revision));
    query.addQueryItem(QStringLiteral("os"), platformName());
    QUrl url = server.resolved(QUrl(QStringLiteral("software/current.php")));
    url.setQuery(query);
    return url;
}

// The name of the downloaded installer in the temporary folder. The version
// is already known to be digits and points, so no part of the name comes
// from the server unchecked.
QString installerPath(const QString &version, const QUrl &file)
{
#if defined(Q_OS_MACOS)
    Q_UNUSED(file);
    const QString suffix = QStringLiteral(".dmg");
#else
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9]{1,16}$"));
    const QString serverSuffix = QFileInfo(file.path()).suffix();
    const QString suffix = plain.match(serverSuffix).hasMatch() ? QLatin1Char('.') + serverSuffix : QString();
#endif
    return QDir::tempPath() + QStringLiteral("/yarnwise-%1").arg(version) + suffix;
}

int httpStatus(const QNetworkReply *reply)
{
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

bool hasUsefulStatus(const QNetworkReply *reply)
{
    const int status = httpStatus(reply);
    return status == 0 || status == 200 || (status >= 300 && status <= 399);
}

bool succeeded(const QNetworkReply *reply)
{
    return reply->error() == QNetworkReply::NoError && httpStatus(reply) == 200;
}

QString describe(const QNetworkReply *reply)
{
    const int status = httpStatus(reply);
    return status != 0 && status != 200 ? QStringLiteral("HTTP status %1").arg(status) : reply->errorString();
}

} // namespace

ApplicationUpdate::ApplicationUpdate(bool silent, QObject *parent)
    : QObject(parent)
    , m_silent(silent)
    , m_network(new QNetworkAccessManager(this))
{
    downloadFile();
}

ApplicationUpdate::~ApplicationUpdate()
{
    delete m_progress;
}

QString ApplicationUpdate::defaultServer()
{
    return Preferences::updateServer.fallback();
}

QWidget *ApplicationUpdate::window() const
{
    return qobject_cast<QWidget *>(parent());
}

void ApplicationUpdate::downloadFile()
{
    const QUrl server(Preferences::updateServer.value());
    if (!isWebUrl(server)) {
        // Reported once the constructor is done, like any other failure.
        QMetaObject::invokeMethod(
            this, [this] { connectionFailed(QStringLiteral("the update server address is not a web address")); },
            Qt::QueuedConnection);
        return;
    }
    QNetworkRequest request(queryUrl(server));
    request.setTransferTimeout(TransferTimeout);
    m_reply = m_network->get(request);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, &ApplicationUpdate::readResponseHeader);
    connect(m_reply, &QNetworkReply::readyRead, this, &ApplicationUpdate::readReply);
    // Queued: the boxes that follow run event loops of their own, which must
    // not start inside the reply's signal.
    connect(m_reply, &QNetworkReply::finished, this, &ApplicationUpdate::httpRequestFinished, Qt::QueuedConnection);
}

void ApplicationUpdate::readResponseHeader()
{
    // Redirects are followed; any other answer but 200 is not worth reading.
    // The reply cannot be aborted from inside its own header signal.
    if (!hasUsefulStatus(m_reply))
        QMetaObject::invokeMethod(m_reply, &QNetworkReply::abort, Qt::QueuedConnection);
}

void ApplicationUpdate::readReply()
{
    if (!hasUsefulStatus(m_reply))
        return;
    m_replyData += m_reply->read(MaxReplySize + 1 - m_replyData.size());
    if (m_replyData.size() > MaxReplySize) {
        m_replyTooLarge = true;
        if (m_reply->isRunning())
            m_reply->abort();
    }
}

void ApplicationUpdate::httpRequestFinished()
{
    m_reply->deleteLater();
    if (succeeded(m_reply))
        readReply();
    if (m_replyTooLarge) {
        qWarning("Ignoring the update server's reply: larger than %lld bytes", qlonglong(MaxReplySize));
        end(Failed);
    } else if (!succeeded(m_reply)) {
        connectionFailed(describe(m_reply));
    } else {
        update();
    }
}

void ApplicationUpdate::connectionFailed(const QString &problem)
{
    qWarning("The update check failed: %s", qPrintable(problem));
    if (!m_silent) {
        QMessageBox::information(window(), tr("Software Update"),
                                 tr("%1 was unable to connect to the update server.")
                                     .arg(QCoreApplication::applicationName()));
    }
    end(Failed);
}

bool ApplicationUpdate::readOffer(const QByteArray &xml, const QUrl &base, Offer *offer, QString *problem)
{
    QDomDocument document(QStringLiteral("version"));
    if (!document.setContent(xml, problem))
        return false;
    const QDomElement root = document.documentElement();
    const auto text = [&root](const char *tag) {
        return root.firstChildElement(QLatin1String(tag)).text().trimmed();
    };
    offer->version = text("version");
    // A relative address is on the update server; none at all is no offer.
    const QString file = text("file");
    offer->file = file.isEmpty() ? QUrl() : base.resolved(QUrl(file));
    offer->message = text("message");
    offer->description = text("description");

    static const QRegularExpression number(QStringLiteral("^[0-9]{1,6}\\.[0-9]{1,6}\\.[0-9]{1,6}$"));
    if (!number.match(offer->version).hasMatch()) {
        *problem = QStringLiteral("no version of the form 1.2.3");
        return false;
    }
    if (!isWebUrl(offer->file)) {
        *problem = QStringLiteral("no web address for the installer");
        return false;
    }
    return true;
}

void ApplicationUpdate::update()
{
    QString problem;
    if (!readOffer(m_replyData, m_reply ? m_reply->url() : QUrl(), &m_offer, &problem)) {
        qWarning("Ignoring the update server's reply: %s", qPrintable(problem));
        end(Failed);
        return;
    }
    if (m_offer.version == Version::instance()->numberText()) {
        if (!m_silent) {
            QMessageBox::information(window(), tr("Application Is Current"),
                                     tr("You are running the current version of %1")
                                         .arg(QCoreApplication::applicationName()));
        }
        end(Current);
        return;
    }
    if (!m_offer.message.isEmpty()) {
        QMessageBox box(QMessageBox::Information, tr("Information"), m_offer.message, QMessageBox::Ok, window());
        box.setTextFormat(Qt::PlainText);
        box.exec();
    }
    if (offerAccepted())
        startDownload();
    else
        end(Declined);
}

bool ApplicationUpdate::offerAccepted() const
{
    QMessageBox box(QMessageBox::Question, tr("Software Update"),
                    tr("Version %1 is available for download. Would you like to download it now?")
                        .arg(m_offer.version),
                    QMessageBox::Yes | QMessageBox::No, window());
    box.setTextFormat(Qt::PlainText);
    box.setDetailedText(m_offer.description);
    return box.exec() == QMessageBox::Yes;
}

bool ApplicationUpdate::openInstallerFile()
{
    // A file left at this name (ours from an earlier try, or a link someone
    // planted in the shared folder) is replaced, never written through.
    const QString path = installerPath(m_offer.version, m_offer.file);
    QFile::remove(path);
    m_file = std::make_unique<QFile>(path);
    if (m_file->open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return true;
    qWarning("Cannot write the update to %s: %s", qPrintable(path), qPrintable(m_file->errorString()));
    return false;
}

void ApplicationUpdate::startDownload()
{
    m_status = Downloading;
    m_progress = new QProgressDialog(tr("Please wait while the new version is downloaded..."), tr("Cancel"), 0, 0,
                                     window());
    m_progress->setWindowTitle(tr("Downloading Version %1").arg(m_offer.version));
    m_progress->setWindowModality(Qt::ApplicationModal);
    m_progress->setAutoReset(false);
    m_progress->setAutoClose(false);
    m_progress->setMinimumDuration(0);
    // A modal progress dialog handles events inside setValue(); its bar is
    // set directly so that nothing else runs in the middle of a progress step.
    m_bar = new QProgressBar;
    m_progress->setBar(m_bar);
    connect(this, &ApplicationUpdate::downloadAborted, this, &ApplicationUpdate::abortPrompt);
    if (!openInstallerFile()) {
        emit downloadAborted();
        return;
    }

    QNetworkRequest request(m_offer.file);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/octet-stream"));
    request.setTransferTimeout(TransferTimeout);
    m_reply = m_network->get(request);
    connect(m_reply, &QNetworkReply::downloadProgress, this, &ApplicationUpdate::setProgress);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, &ApplicationUpdate::readResponseHeader);
    connect(m_reply, &QNetworkReply::readyRead, this, &ApplicationUpdate::writeInstaller);
    connect(m_reply, &QNetworkReply::finished, this, &ApplicationUpdate::finishUpdate, Qt::QueuedConnection);
    connect(m_progress, &QProgressDialog::canceled, m_reply, &QNetworkReply::abort);
    m_progress->show();
}

void ApplicationUpdate::setProgress(qint64 done, qint64 total)
{
    if (!m_bar)
        return;
    if (total <= 0) {
        m_bar->setRange(0, 0);
        return;
    }
    // The bar counts in int; beyond that it counts kilobytes.
    const qint64 unit = total > std::numeric_limits<int>::max() ? 1024 : 1;
    m_bar->setRange(0, int(total / unit));
    m_bar->setValue(int(qBound<qint64>(0, done, total) / unit));
}

void ApplicationUpdate::writeInstaller()
{
    if (m_writeFailed || !hasUsefulStatus(m_reply))
        return;
    const QByteArray data = m_reply->readAll();
    if (m_file->write(data) != data.size()) {
        qWarning("Cannot write the update to %s: %s", qPrintable(m_file->fileName()),
                 qPrintable(m_file->errorString()));
        m_writeFailed = true;
        m_reply->abort();
    }
}

void ApplicationUpdate::finishUpdate()
{
    m_reply->deleteLater();
    if (!m_writeFailed && m_reply->error() == QNetworkReply::NoError) {
        writeInstaller();
        m_writeFailed = m_writeFailed || !m_file->flush();
    }
    if (m_writeFailed || !succeeded(m_reply)) {
        qWarning("The update download failed: %s", qPrintable(describe(m_reply)));
        emit downloadAborted();
        return;
    }
    closeDownload();

    // The disk image only mounts when opened; any other installer would
    // run, so the user is shown where it is instead.
#if defined(Q_OS_MACOS)
    const QString target = m_file->fileName();
#else
    const QString target = QFileInfo(m_file->fileName()).absolutePath();
#endif
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(target))) {
        end(Opened);
        closeApp();
        return;
    }
    QMessageBox::warning(window(), tr("Error"),
                         tr("There was an error trying to start the installer at %1. "
                            "Please run the update again.")
                                 .arg(QDir::toNativeSeparators(m_file->fileName()))
                             + QLatin1Char('\n') + supportContact());
    end(Failed);
}

void ApplicationUpdate::closeDownload()
{
    if (m_file)
        m_file->close();
    if (m_progress)
        m_progress->deleteLater();
}

void ApplicationUpdate::abortPrompt()
{
    closeDownload();
    QMessageBox box(QMessageBox::Warning, tr("Error"), tr("There was an error downloading the update."),
                    QMessageBox::Ok, window());
    box.setInformativeText(tr("Please try again later.") + QLatin1Char('\n') + supportContact());
    box.exec();
    end(Failed);
}

void ApplicationUpdate::closeApp()
{
    // Every window is asked to close first, so unsaved work is offered for
    // saving and may stop the quit.
    QCoreApplication::quit();
}

void ApplicationUpdate::end(Status status)
{
    m_status = status;
    deleteLater();
}
