#ifndef BACKGROUNDCHECK_H
#define BACKGROUNDCHECK_H

#include "patterncheck.h"

#include <QObject>
#include <QThreadPool>

#include <optional>

// Runs the pattern check on a thread of its own, so that a window never
// waits for it. The window hands over an input made of copies (see
// PatternCheck::copyOf) and hears finished() back on its own thread.
//
// One check runs at a time. An input handed over while one runs waits,
// and only the latest waits: the findings of an input that has since
// been replaced are never reported. The input of a run is let go here,
// on this object's thread, before idle() is told, so that its copies can
// be used again. Destroying the object waits for the run in progress.
class BackgroundCheck : public QObject
{
    Q_OBJECT

public:
    explicit BackgroundCheck(QObject *parent = nullptr);
    ~BackgroundCheck() override;

    void run(PatternCheck::Input input);
    // Forgets the waiting input and drops the findings of the one running.
    void cancel();
    bool isRunning() const { return m_running; }
    // Blocks until the run in progress is over; its findings are still
    // told, once this thread's events are handled.
    void wait() { m_pool.waitForDone(); }

Q_SIGNALS:
    void finished(const QList<PatternCheck::Finding> &findings);
    // Nothing runs or waits any more.
    void idle();

private:
    void start(PatternCheck::Input input);
    void done(quint64 generation, const QList<PatternCheck::Finding> &findings);

    QThreadPool m_pool;
    bool m_running = false;
    // Counts inputs handed over; findings of any but the latest are stale.
    quint64 m_generation = 0;
    std::optional<PatternCheck::Input> m_waiting;
};

#endif // BACKGROUNDCHECK_H
