// The built-in stitch set as compiled into the program: complete, consistent,
// and every symbol a valid SVG image.

#include "stitch.h"
#include "stitchset.h"
#include "stitchsetfile.h"
#include "testenvironment.h"

#include <QApplication>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QSet>
#include <QSvgRenderer>
#include <QtTest>

class TestBuiltinSet : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void categoriesInOrder();
    void cellCounts_data();
    void cellCounts();
    void everyImageIsValidSvg();
    void oppositesArePairs();
    void wrongSideStitch_data();
    void wrongSideStitch();
    void abbreviationsAreUnique();
    void descriptionsPresent();
    void everyResourceIsUsed();
    void programImagesExist_data();
    void programImagesExist();

private:
    StitchSet m_set;
};

void TestBuiltinSet::initTestCase()
{
    QVERIFY(StitchSetFile::read(QStringLiteral(":/stitches_yrn.xml"), m_set));
    QCOMPARE(m_set.stitches().size(), 203);
}

void TestBuiltinSet::categoriesInOrder()
{
    const QStringList expected{"Basic", "Increases", "Decreases", "Advanced", "Cables", "Misc", "Alphanumeric"};
    QCOMPARE(m_set.categories(), expected);
    const QList<int> sizes{18, 24, 34, 5, 80, 6, 36};
    int index = 0;
    for (int i = 0; i < expected.size(); ++i) {
        for (int n = 0; n < sizes.at(i); ++n, ++index)
            QCOMPARE(m_set.stitches().at(index)->category(), expected.at(i));
    }
}

void TestBuiltinSet::cellCounts_data()
{
    QTest::addColumn<QString>("abbriv");
    QTest::addColumn<int>("cells");
    QTest::newRow("k") << "k" << 1;
    QTest::newRow("sp2p") << "sp2p" << 2;
    QTest::newRow("21rpc") << "21rpc" << 3;
    QTest::newRow("22rc") << "22rc" << 4;
    QTest::newRow("212lkc") << "212lkc" << 5;
    QTest::newRow("c6l") << "c6l" << 6;
    QTest::newRow("c8fp") << "c8fp" << 8;
    QTest::newRow("t5bp") << "t5bp" << 5;
    QTest::newRow("2sw") << "2sw" << 2;
    QTest::newRow("3sw") << "3sw" << 3;
}

void TestBuiltinSet::cellCounts()
{
    QFETCH(QString, abbriv);
    QFETCH(int, cells);
    bool found = false;
    QCOMPARE(m_set.findStitch(abbriv, &found)->cellsPerStitch(), cells);
    QVERIFY(found);

    int multiCell = 0;
    int files = 0;
    for (Stitch *stitch : m_set.stitches()) {
        multiCell += stitch->cellsPerStitch() > 1;
        files += stitch->cellsPerStitch();
    }
    QCOMPARE(multiCell, 81);
    QCOMPARE(files, 437);
}

void TestBuiltinSet::everyImageIsValidSvg()
{
    for (Stitch *stitch : m_set.stitches()) {
        QCOMPARE(stitch->paths().size(), stitch->imageTypes().size());
        for (int i = 0; i < stitch->cellsPerStitch(); ++i) {
            const QString context = stitch->stitchID() + QLatin1Char(' ') + stitch->path(i);
            QVERIFY2(stitch->imageTypes().at(i) == QLatin1String("svg"), qPrintable(context));
            QVERIFY2(stitch->path(i).startsWith(QLatin1String(":/stitches/")), qPrintable(context));
            QVERIFY2(stitch->svg(i)->isValid(), qPrintable(context));
            QCOMPARE(stitch->svg(i)->defaultSize(), QSize(64, 64));
        }
    }
}

// A symbol on a wrong-side row is worked as its opposite, so the opposite
// covers as many cells, and its own opposite leads back: worked from the
// other side, each gives what the other does. This also lets a typed
// wrong-side row read back into the chart it was written from.
void TestBuiltinSet::oppositesArePairs()
{
    for (Stitch *stitch : m_set.stitches()) {
        const QString context = stitch->stitchID() + " -> " + stitch->opposite();
        QVERIFY2(m_set.hasStitch(stitch->opposite()), qPrintable(context));
        Stitch *opposite = m_set.findStitch(stitch->opposite());
        QVERIFY2(opposite->cellsPerStitch() == stitch->cellsPerStitch(), qPrintable(context));
        QVERIFY2(opposite->opposite() == stitch->stitchID(), qPrintable(context + " -> " + opposite->opposite()));
    }
}

void TestBuiltinSet::wrongSideStitch_data()
{
    QTest::addColumn<QString>("abbriv");
    QTest::addColumn<QString>("opposite");
    QTest::newRow("knit") << "k" << "p";
    QTest::newRow("left-slanting decrease") << "ssk" << "ssp";
    QTest::newRow("float on the right side") << "slip wyif" << "slip wyib";
    QTest::newRow("elongated twice") << "k1 elongated twice" << "p1 elongated twice";
    // No other stitch of the set works these from the wrong side: each is
    // its own opposite and its description says how.
    QTest::newRow("knit cable") << "c6f" << "c6f";
    QTest::newRow("2/1 purl cross") << "21rpc" << "21rpc";
    QTest::newRow("twist") << "t2lp" << "t2lp";
    QTest::newRow("right increase") << "m1r" << "m1r";
}

// What a symbol means on a wrong-side row: the stitch worked from there
// that looks as the symbol does on the right side.
void TestBuiltinSet::wrongSideStitch()
{
    QFETCH(QString, abbriv);
    QFETCH(QString, opposite);
    QCOMPARE(m_set.findStitch(abbriv)->opposite(), opposite);
}

void TestBuiltinSet::abbreviationsAreUnique()
{
    QSet<QString> seen;
    for (Stitch *stitch : m_set.stitches()) {
        QCOMPARE(stitch->abbrivs().size(), 1);
        const QString id = stitch->stitchID();
        QCOMPARE(id, id.toLower());
        QVERIFY2(!seen.contains(id), qPrintable(id));
        seen.insert(id);
        QVERIFY(stitch->builtin);
    }
}

void TestBuiltinSet::descriptionsPresent()
{
    for (Stitch *stitch : m_set.stitches())
        QVERIFY2(!stitch->description().trimmed().isEmpty(), qPrintable(stitch->stitchID()));
}

void TestBuiltinSet::everyResourceIsUsed()
{
    QSet<QString> used{Stitch::placeholderPath()};
    for (Stitch *stitch : m_set.stitches()) {
        const QStringList paths = stitch->paths();
        for (const QString &path : paths)
            used.insert(path);
    }
    QDirIterator it(QStringLiteral(":/stitches"));
    int count = 0;
    while (it.hasNext()) {
        const QString path = it.next();
        QVERIFY2(used.contains(path), qPrintable(path + " is not used by any stitch"));
        ++count;
    }
    QCOMPARE(count, 438);
}

void TestBuiltinSet::programImagesExist_data()
{
    QTest::addColumn<QString>("name");
    const char *names[] = {
        "banner.png", "icon.png", "filenew.png", "fileopen.png", "filesave.png", "fileprint.png", "exportpdf.png",
        "editundo.png", "editredo.png", "editcut.png", "editcopy.png", "editpaste.png", "close.svg",
        "gridEdit.svg", "colorselector.svg", "borders-none.svg", "lasso.svg", "paintpalette.svg", "flip-h.svg",
        "flip-v.svg", "mirror-h.svg", "mirror-v.svg", "insertImg.svg", "zoomin.png", "zoomout.png",
        "grid.svg", "instructions.svg", "key.svg", "text.svg",
        "textbold.png", "textitalic.png", "textunder.png", "textleft.png", "textcenter.png", "textright.png",
        "textjustify.png", "list-ordered.svg", "list-unordered.svg", "hyperlink.svg", "pagebreak.svg"};
    for (const char *name : names)
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestBuiltinSet::programImagesExist()
{
    QFETCH(QString, name);
    const QString path = QStringLiteral(":/images/") + name;
    QVERIFY2(QFile::exists(path), qPrintable(path));
    if (name.endsWith(QLatin1String(".svg")))
        QVERIFY(QSvgRenderer(path).isValid());
    else
        QVERIFY(!QImage(path).isNull());
}

YARNWISE_TEST_MAIN(TestBuiltinSet)
#include "tst_builtinset.moc"
