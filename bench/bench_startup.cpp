// Start-up work: loading the stitch catalogue in a fresh user folder (which
// includes the first-start copy of the built-in set), and building the
// palette icons.

#include "stitch.h"
#include "stitchset.h"
#include "testenvironment.h"

#include <QApplication>
#include <QListWidgetItem>
#include <QtTest>

class BenchStartup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void loadFreshUserFolder();
    void loadExistingUserFolder();
    void buildIcons();
    void lookUpEveryStitch();
};

void BenchStartup::loadFreshUserFolder()
{
    QBENCHMARK {
        TestEnvironment env;
        StitchSet set;
        set.load();
    }
}

void BenchStartup::loadExistingUserFolder()
{
    TestEnvironment env;
    {
        StitchSet first;
        first.load();
    }
    QBENCHMARK {
        StitchSet set;
        set.load();
    }
}

void BenchStartup::buildIcons()
{
    TestEnvironment env;
    StitchSet set;
    set.load();
    const QList<Stitch *> stitches = set.stitches();
    QBENCHMARK {
        for (Stitch *stitch : stitches)
            stitch->createIcon();
    }
}

void BenchStartup::lookUpEveryStitch()
{
    TestEnvironment env;
    StitchSet set;
    set.load();
    QStringList ids;
    for (Stitch *stitch : set.stitches())
        ids.append(stitch->stitchID().toUpper());
    QBENCHMARK {
        for (const QString &id : std::as_const(ids))
            set.findStitch(id);
    }
}

YARNWISE_TEST_MAIN(BenchStartup)
#include "bench_startup.moc"
