#ifndef APPLICATIONUPDATE_H
#define APPLICATIONUPDATE_H

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QUrl>

#include <memory>

class QFile;
class QNetworkAccessManager;
class QNetworkReply;
class QProgressBar;
class QProgressDialog;

// One check with the update server, from the question "is there a newer
// version?" to the downloaded installer. The server is the "updateServer"
// preference. The program never runs what it downloads: on macOS it opens
// the disk image, which only mounts it; elsewhere it opens the folder that
// holds the installer and leaves the rest to the user. The object deletes
// itself when the check ends.
class ApplicationUpdate : public QObject
{
    Q_OBJECT

public:
    enum Status { Querying, Current, Declined, Downloading, Opened, Failed };
    Q_ENUM(Status)

    // Starts the check at once. A silent check (the one at start-up) says
    // nothing when the program is current or the server cannot be reached.
    explicit ApplicationUpdate(bool silent, QObject *parent = nullptr);
    ~ApplicationUpdate() override;

    Status status() const { return m_status; }

    static QString defaultServer();

    // What the server's reply offers.
    struct Offer
    {
        QString version;
        QUrl file;
        QString message;
        QString description;
    };

    // Reads the server's XML reply; a relative file address is resolved
    // against `base`. False, with the reason in `problem`, when the reply
    // offers no usable version and installer address.
    static bool readOffer(const QByteArray &xml, const QUrl &base, Offer *offer, QString *problem);

public Q_SLOTS:
    void httpRequestFinished();
    void readResponseHeader();
    void update();
    void setProgress(qint64 done, qint64 total);
    void finishUpdate();
    void abortPrompt();
    void closeApp();

Q_SIGNALS:
    void downloadAborted();

private:
    void downloadFile();
    void readReply();
    void writeInstaller();
    void startDownload();
    bool openInstallerFile();
    bool offerAccepted() const;
    void closeDownload();
    void connectionFailed(const QString &problem);
    void end(Status status);
    QWidget *window() const;

    bool m_silent;
    Status m_status = Querying;
    QNetworkAccessManager *m_network;
    QPointer<QNetworkReply> m_reply;
    QByteArray m_replyData;
    bool m_replyTooLarge = false;
    bool m_writeFailed = false;
    Offer m_offer;
    std::unique_ptr<QFile> m_file;
    QPointer<QProgressDialog> m_progress;
    QPointer<QProgressBar> m_bar;
};

#endif // APPLICATIONUPDATE_H
