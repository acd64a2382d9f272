#ifndef SHUTDOWNSIGNAL_H
#define SHUTDOWNSIGNAL_H

#include <QObject>

class QSocketNotifier;

// Turns the signals a desktop sends when it logs out or shuts down
// (SIGTERM, and SIGHUP when the terminal goes) into a Qt signal delivered
// in the event loop, where the program can end its run in good order. A
// signal handler may do next to nothing itself: it only writes a byte to
// a socket the event loop watches.
class ShutdownSignal : public QObject
{
    Q_OBJECT

public:
    explicit ShutdownSignal(QObject *parent = nullptr);
    ~ShutdownSignal() override;

    // Whether a signal came; one that came before anybody listened is not
    // lost.
    bool wasReceived() const { return m_received; }

Q_SIGNALS:
    void received();

private:
    void readSignal();

    QSocketNotifier *m_notifier = nullptr;
    bool m_received = false;
};

#endif // SHUTDOWNSIGNAL_H
