#include "shutdownsignal.h"

#include <QDebug>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The two ends of the socket: the handler writes, the event loop reads.
int signalSockets[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    // Nothing to do when the write fails: a byte is already waiting.
    [[maybe_unused]] const ssize_t written = ::write(signalSockets[0], &byte, 1);
}

} // namespace

ShutdownSignal::ShutdownSignal(QObject *parent)
    : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalSockets) != 0) {
        qWarning() << "Cannot watch for the end of the desktop session";
        return;
    }
    m_notifier = new QSocketNotifier(signalSockets[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &ShutdownSignal::readSignal);

    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

ShutdownSignal::~ShutdownSignal()
{
    if (!m_notifier)
        return;
    signal(SIGTERM, SIG_DFL);
    signal(SIGHUP, SIG_DFL);
    ::close(signalSockets[0]);
    ::close(signalSockets[1]);
    signalSockets[0] = signalSockets[1] = -1;
}

void ShutdownSignal::readSignal()
{
    m_notifier->setEnabled(false);
    char byte = 0;
    [[maybe_unused]] const ssize_t read = ::read(signalSockets[1], &byte, 1);
    m_received = true;
    Q_EMIT received();
    m_notifier->setEnabled(true);
}
