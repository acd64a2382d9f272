// Loading the stitch catalogue with a large user library, refusing a stitch
// set nested far too deep, and showing the palette of a large library,
// each paired in the same run with its floor: QXmlStreamReader reading the
// same files into plain structs, and a plain tree of the same rows.
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_stitchlibrary

#include "mainwindow.h"
#include "stitch.h"
#include "stitchfixtures.h"
#include "stitchset.h"
#include "testenvironment.h"
#include "ui_mainwindowclass.h"
#include "benchsupport.h"

#include <QApplication>
#include <QFile>
#include <QTreeWidget>
#include <QXmlStreamReader>
#include <QtTest>

#include <vector>

namespace {

struct PlainStitch
{
    QString name;
    QString category;
    QString description;
    QString opposite;
    QStringList abbrivs;
    QStringList images;
    bool builtin = false;
};

QStringList plainList(QXmlStreamReader &xml)
{
    QStringList texts;
    while (xml.readNextStartElement())
        texts.append(xml.readElementText(QXmlStreamReader::IncludeChildElements));
    return texts;
}

PlainStitch plainStitch(QXmlStreamReader &xml)
{
    PlainStitch stitch;
    while (xml.readNextStartElement()) {
        const QStringView tag = xml.name();
        if (tag == QLatin1String("abbrivs"))
            stitch.abbrivs += plainList(xml);
        else if (tag == QLatin1String("images"))
            stitch.images += plainList(xml);
        else {
            const QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            if (tag == QLatin1String("name"))
                stitch.name = text;
            else if (tag == QLatin1String("category"))
                stitch.category = text;
            else if (tag == QLatin1String("description"))
                stitch.description = text;
            else if (tag == QLatin1String("opposite"))
                stitch.opposite = text;
            else if (tag == QLatin1String("builtin"))
                stitch.builtin = text == QLatin1String("1");
        }
    }
    return stitch;
}

// The floor: every stitch of the file into a plain struct, nothing checked.
std::vector<PlainStitch> readPlain(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    QXmlStreamReader xml(&file);
    std::vector<PlainStitch> stitches;
    if (!xml.readNextStartElement())
        return stitches;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("stitch"))
            stitches.push_back(plainStitch(xml));
        else
            xml.skipCurrentElement();
    }
    return stitches;
}

// The floor of the refused file: reading it through to the end.
qint64 readThrough(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    QXmlStreamReader xml(&file);
    qint64 elements = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement)
            ++elements;
    }
    return elements;
}

} // namespace

class BenchStitchLibrary : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void loadLibrary_data();
    void loadLibrary();
    void refuseDeepNesting();
    void showPalette();
};

void BenchStitchLibrary::loadLibrary_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("runs");
    QTest::newRow("4000") << 4000 << 5;
    QTest::newRow("50000") << 50000 << 3;
}

void BenchStitchLibrary::loadLibrary()
{
    QFETCH(int, count);
    QFETCH(int, runs);
    TestEnvironment env;
    {
        StitchSet first; // makes the user's copy of the built-in set
        first.load();
    }
    const QString images = StitchSet::userIconFolder();
    QVERIFY(StitchFixtures::write(StitchSet::userStitchesFile(), StitchFixtures::library(count, 40, images)));

    qsizetype loaded = 0;
    const double ms = bench::best(runs, [&] {
        StitchSet set;
        set.load();
        loaded = set.stitches().size();
    });
    QCOMPARE(loaded, qsizetype(203 + count));
    const double floorMs = bench::best(runs, [&] {
        const auto builtin = readPlain(StitchSet::userFilePath(QStringLiteral("stitches_yrn.xml")));
        const auto own = readPlain(StitchSet::userStitchesFile());
        bench::escape(&builtin);
        bench::escape(&own);
    });
    bench::report(QStringLiteral("loading 203 + %1 stitches").arg(count), ms, floorMs);
}

void BenchStitchLibrary::refuseDeepNesting()
{
    TestEnvironment env;
    {
        StitchSet first;
        first.load();
    }
    QVERIFY(StitchFixtures::write(StitchSet::userStitchesFile(), StitchFixtures::nested(200000)));
    qsizetype loaded = 0;
    const double ms = bench::best(3, [&] {
        StitchSet set;
        set.load();
        loaded = set.stitches().size();
    });
    QCOMPARE(loaded, qsizetype(203));
    qint64 elements = 0;
    const double floorMs = bench::best(3, [&] { elements = readThrough(StitchSet::userStitchesFile()); });
    QCOMPARE(elements, qint64(200000 + 8));
    bench::report(QStringLiteral("refusing a file nested 200,000 deep"), ms, floorMs);
}

// The palette as the main window builds it at start-up, until its first
// rows are drawn; once, since a second run would find the symbols drawn.
// The floor is a plain tree of the same rows without symbols.
void BenchStitchLibrary::showPalette()
{
    TestEnvironment env;
    StitchSet *catalogue = StitchSet::instance();
    catalogue->load();
    QVERIFY(StitchFixtures::write(StitchSet::userStitchesFile(),
                                  StitchFixtures::library(4000, 40, StitchSet::userIconFolder())));
    catalogue->load();
    QCOMPARE(catalogue->stitches().size(), qsizetype(4203));
    MainWindow window;
    window.resize(1200, 800);
    QTreeWidget *tree = window.form()->stitchTree;

    const double ms = bench::best(1, [&] {
        window.updateStitchPalette();
        bench::escape(tree->grab().cacheKey() ? tree : nullptr);
    });
    QTreeWidget plain;
    plain.resize(tree->size());
    const double floorMs = bench::best(1, [&] {
        QList<QTreeWidgetItem *> categories;
        QHash<QString, QTreeWidgetItem *> byCategory;
        for (const QString &category : catalogue->categories()) {
            categories.append(new QTreeWidgetItem(QStringList(category)));
            byCategory.insert(category, categories.last());
        }
        for (const Stitch *stitch : catalogue->stitches())
            new QTreeWidgetItem(byCategory.value(stitch->category()), QStringList(stitch->stitchID()));
        plain.addTopLevelItems(categories);
        plain.expandAll();
        bench::escape(plain.grab().cacheKey() ? &plain : nullptr);
    });
    bench::report(QStringLiteral("palette of 203 + 4000 stitches, to first paint"), ms, floorMs);
}

YARNWISE_TEST_MAIN(BenchStitchLibrary)
#include "bench_stitchlibrary.moc"
