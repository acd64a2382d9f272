#include "backgroundcheck.h"

#include <QMetaObject>

BackgroundCheck::BackgroundCheck(QObject *parent)
    : QObject(parent)
{
    m_pool.setMaxThreadCount(1);
}

BackgroundCheck::~BackgroundCheck()
{
    // The run holds `this` to report back.
    m_pool.waitForDone();
}

void BackgroundCheck::run(PatternCheck::Input input)
{
    ++m_generation;
    if (m_running)
        m_waiting = std::move(input);
    else
        start(std::move(input));
}

void BackgroundCheck::cancel()
{
    ++m_generation;
    m_waiting.reset();
}

void BackgroundCheck::start(PatternCheck::Input input)
{
    m_running = true;
    const quint64 generation = m_generation;
    m_pool.start([this, generation, input = std::move(input)]() mutable {
        const QList<PatternCheck::Finding> findings = PatternCheck::check(input);
        // The input goes back with the findings, so that its copies are
        // let go on this object's thread, once the run is over.
        QMetaObject::invokeMethod(
            this,
            [this, generation, findings, input = std::move(input)]() mutable {
                input = PatternCheck::Input();
                done(generation, findings);
            },
            Qt::QueuedConnection);
    });
}

void BackgroundCheck::done(quint64 generation, const QList<PatternCheck::Finding> &findings)
{
    m_running = false;
    if (m_waiting) {
        PatternCheck::Input next = std::move(*m_waiting);
        m_waiting.reset();
        start(std::move(next));
        return;
    }
    if (generation == m_generation)
        Q_EMIT finished(findings);
    Q_EMIT idle();
}
