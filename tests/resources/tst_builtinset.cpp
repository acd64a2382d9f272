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
#include <QMap>
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
    void arithmetic();
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

// Every built-in stitch's arithmetic, for the whole stitch: the stitches it
// works from the left needle and those it leaves on the right one, as the
// knitting conventions count them. A yarn over wrapped several times is one
// loop on the needle; bobbles, nupps and wrap-and-turns change no count.
void TestBuiltinSet::arithmetic()
{
    struct Counts
    {
        const char *abbriv;
        int worked;
        int made;
    };
    static const Counts table[] = {
        // Basic
        {"x", 0, 0}, {"k", 1, 1}, {"p", 1, 1}, {"s", 1, 1}, {"slip wyif", 1, 1}, {"slip wyib", 1, 1},
        {"k in st below", 1, 1}, {"p in st below", 1, 1}, {"k1 elongated", 1, 1}, {"p1 elongated", 1, 1},
        {"k1 elongated twice", 1, 1}, {"p1 elongated twice", 1, 1}, {"k1 tbl", 1, 1}, {"p1 tbl", 1, 1},
        {"tbl", 1, 1}, {"tblp", 1, 1}, {"bind", 1, 0}, {"slv", 1, 1},
        // Increases
        {"inc3", 1, 3}, {"incr3", 1, 3}, {"inc5", 1, 5}, {"inc7", 1, 7}, {"rli", 0, 1}, {"lli", 0, 1},
        {"yo", 0, 1}, {"yo2x", 0, 1}, {"yo3x", 0, 1}, {"yo4x", 0, 1}, {"yo5x", 0, 1}, {"yo6x", 0, 1},
        {"yo7x", 0, 1}, {"yo8x", 0, 1}, {"m1", 0, 1}, {"m1p", 0, 1}, {"m3", 1, 3}, {"m5", 1, 5}, {"m7", 1, 7},
        {"m1r", 0, 1}, {"m1l", 0, 1}, {"kfb", 1, 2}, {"pfb", 1, 2}, {"cdi", 1, 3},
        // Decreases
        {"cdd", 3, 1}, {"ssk", 2, 1}, {"ssp", 2, 1}, {"sssk", 3, 1}, {"sk2p", 3, 1}, {"sssp", 3, 1},
        {"s2pp2", 3, 1}, {"k2tog", 2, 1}, {"k3tog", 3, 1}, {"k4tog", 4, 1}, {"k5tog", 5, 1}, {"k6tog", 6, 1},
        {"k7tog", 7, 1}, {"k2tog tbl", 2, 1}, {"k3tog tbl", 3, 1}, {"sl1 kwise k1 psso", 2, 1},
        {"sl1 pwise p1 psso", 2, 1}, {"sl1 k3tog psso", 4, 1}, {"sl2 k3tog p2sso", 5, 1}, {"p2tog", 2, 1},
        {"p3tog", 3, 1}, {"p4tog", 4, 1}, {"p5tog", 5, 1}, {"p6tog", 6, 1}, {"p7tog", 7, 1},
        {"p2tog tbl", 2, 1}, {"p3tog tbl", 3, 1}, {"dec4r", 4, 1}, {"dec4l", 4, 1}, {"dec4v", 4, 1},
        {"dec5", 5, 1}, {"skp", 2, 1}, {"spp", 2, 1}, {"sp2p", 3, 1},
        // Advanced
        {"bobble", 1, 1}, {"nupp", 1, 1}, {"nupp7", 1, 1}, {"wtl", 1, 1}, {"wtr", 1, 1},
        // Cables
        {"21rpc", 3, 3}, {"21lkc", 3, 3}, {"21lpc", 3, 3}, {"21rkc", 3, 3}, {"22rc", 4, 4}, {"22lp", 4, 4},
        {"22lc", 4, 4}, {"22rp", 4, 4}, {"22rpc", 4, 4}, {"22lpc", 4, 4}, {"212rpc", 5, 5}, {"212lkc", 5, 5},
        {"212lpc", 5, 5}, {"212rkc", 5, 5}, {"11lc", 2, 2}, {"11rp", 2, 2}, {"11rc", 2, 2}, {"11lp", 2, 2},
        {"21lc", 3, 3}, {"21rp", 3, 3}, {"21rc", 3, 3}, {"21lp", 3, 3}, {"c4r", 4, 4}, {"c4lp", 4, 4},
        {"c4l", 4, 4}, {"c4rp", 4, 4}, {"c6r", 6, 6}, {"c6lp", 6, 6}, {"c6l", 6, 6}, {"c6rp", 6, 6},
        {"c2f", 2, 2}, {"c2bp", 2, 2}, {"c2b", 2, 2}, {"c2fp", 2, 2}, {"c4f", 4, 4}, {"c4bp", 4, 4},
        {"c4b", 4, 4}, {"c4fp", 4, 4}, {"c6f", 6, 6}, {"c6bp", 6, 6}, {"c6b", 6, 6}, {"c6fp", 6, 6},
        {"c8f", 8, 8}, {"c8bp", 8, 8}, {"c8b", 8, 8}, {"c8fp", 8, 8}, {"t2r", 2, 2}, {"t2lp", 2, 2},
        {"t2l", 2, 2}, {"t2rp", 2, 2}, {"t3r", 3, 3}, {"t3lp", 3, 3}, {"t3l", 3, 3}, {"t3rp", 3, 3},
        {"t4r", 4, 4}, {"t4lp", 4, 4}, {"t4l", 4, 4}, {"t4rp", 4, 4}, {"t5r", 5, 5}, {"t5lp", 5, 5},
        {"t5l", 5, 5}, {"t5rp", 5, 5}, {"t2b", 2, 2}, {"t2fp", 2, 2}, {"t2f", 2, 2}, {"t2bp", 2, 2},
        {"t3b", 3, 3}, {"t3fp", 3, 3}, {"t3f", 3, 3}, {"t3bp", 3, 3}, {"t4b", 4, 4}, {"t4fp", 4, 4},
        {"t4f", 4, 4}, {"t4bp", 4, 4}, {"t5b", 5, 5}, {"t5fp", 5, 5}, {"t5f", 5, 5}, {"t5bp", 5, 5},
        {"2sw", 2, 2}, {"3sw", 3, 3},
        // Misc
        {"misc1", 1, 1}, {"misc2", 1, 1}, {"misc3", 1, 1}, {"misc4", 1, 1}, {"k1b", 1, 1}, {"p1b", 1, 1},
        // Alphanumeric
        {"la", 1, 1}, {"lb", 1, 1}, {"lc", 1, 1}, {"ld", 1, 1}, {"le", 1, 1}, {"lf", 1, 1}, {"lg", 1, 1},
        {"lh", 1, 1}, {"li", 1, 1}, {"lj", 1, 1}, {"lk", 1, 1}, {"ll", 1, 1}, {"lm", 1, 1}, {"ln", 1, 1},
        {"lo", 1, 1}, {"lp", 1, 1}, {"lq", 1, 1}, {"lr", 1, 1}, {"ls", 1, 1}, {"lt", 1, 1}, {"lu", 1, 1},
        {"lv", 1, 1}, {"lw", 1, 1}, {"lx", 1, 1}, {"ly", 1, 1}, {"lz", 1, 1}, {"n0", 1, 1}, {"n1", 1, 1},
        {"n2", 1, 1}, {"n3", 1, 1}, {"n4", 1, 1}, {"n5", 1, 1}, {"n6", 1, 1}, {"n7", 1, 1}, {"n8", 1, 1},
        {"n9", 1, 1},
    };

    QMap<QString, QPair<int, int>> expected;
    for (const Counts &counts : table)
        expected.insert(QString::fromLatin1(counts.abbriv), {counts.worked, counts.made});
    QCOMPARE(expected.size(), int(std::size(table)));
    QCOMPARE(expected.size(), m_set.stitches().size());
    for (Stitch *stitch : m_set.stitches()) {
        const QString id = stitch->stitchID();
        QVERIFY2(expected.contains(id), qPrintable(id + " is missing from the table"));
        const QPair<int, int> counts{stitch->worked(), stitch->made()};
        QVERIFY2(counts == expected.value(id), qPrintable(QStringLiteral("%1 works %2 and makes %3")
                                                               .arg(id)
                                                               .arg(counts.first)
                                                               .arg(counts.second)));
    }
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
