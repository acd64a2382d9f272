// What every benchmark needs: the set-up its main starts with, the best of
// several timings, a report line that pairs a figure with its floor, and a
// way to keep the compiler from leaving out work nobody reads.

#ifndef BENCHSUPPORT_H
#define BENCHSUPPORT_H

#include "stitchset.h"
#include "testenvironment.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QIODevice>
#include <QString>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <malloc.h>
#include <memory>

namespace bench {

// A benchmark's run: the application, named as the program, in a fresh
// preferences store and user folder of its own (never the user's), with
// the stitch catalogue loaded. The run's files go into its scratch folder.
struct Run
{
    Run(int &argc, char **argv)
        : app(argc, argv)
    {
        TestEnvironment::initApplication();
        env = std::make_unique<TestEnvironment>();
        StitchSet::instance()->load();
    }

    QString scratch(const QString &name = QString()) const { return env->scratchPath(name); }

    QApplication app;
    std::unique_ptr<TestEnvironment> env;
};

// Starts a benchmark's main: `const auto run = bench::start(argc, argv);`.
inline Run start(int &argc, char **argv)
{
    return Run(argc, argv);
}

inline QTextStream &out()
{
    static QTextStream stream(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered);
    return stream;
}

// The best of `runs` timings of `work`, in milliseconds: on a shared
// machine the fastest run is the one least disturbed.
inline double best(int runs, const std::function<void()> &work)
{
    double fastest = 1e12;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        fastest = std::min(fastest, timer.nsecsElapsed() / 1e6);
    }
    return fastest;
}

// One line: the figure, its floor and their ratio.
inline void report(const QString &what, double ms, double floorMs, int decimals = 2)
{
    out() << QStringLiteral("%1: %2 ms, floor %3 ms, ratio %4\n")
                 .arg(what, -48)
                 .arg(ms, 0, 'f', decimals)
                 .arg(floorMs, 0, 'f', decimals)
                 .arg(ms / floorMs, 0, 'f', 2);
}

// Keeps the compiler from leaving out work whose result nobody reads.
inline void escape(const void *data)
{
    asm volatile("" : : "r"(data) : "memory");
}

// Bytes the program has taken from the heap and not yet given back, large
// blocks (which the allocator maps on their own) included.
inline size_t heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

} // namespace bench

#endif // BENCHSUPPORT_H
