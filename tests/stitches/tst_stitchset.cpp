#include "preferences.h"
#include "settings.h"
#include "stitch.h"
#include "stitchfixtures.h"
#include "stitchset.h"
#include "testenvironment.h"

#include <QCryptographicHash>
#include <QGuiApplication>
#include <QDir>
#include <QFile>
#include <QtTest>

#include <sys/stat.h>

class TestStitchSet : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void lookup_data();
    void lookup();
    void unknownFallback();
    void mirrorStitches();
    void findOrAddTwice();
    void sharedAbbreviation();
    void categories();
    void forgetAddedSince();
    void firstStartCopiesDefaultSet();
    void defaultSetContents();
    void olderFilesReadOnlyOnFirstStart();
    void copyOfBuiltinSet_data();
    void copyOfBuiltinSet();
    void userFileRedefinesStitch();
    void userStitchesKeepBuiltinCounts();
    void damagedDefaultCopyFallsBack();
    void saveUserStitches();
    void reloadMergesIntoSameStitches();
    void largeLibrary_data();
    void largeLibrary();
    void unreadUserFileIsKept_data();
    void unreadUserFileIsKept();
    void storeIncomingImage_data();
    void storeIncomingImage();

private:
    void writeUserFile(const QString &name, const QString &stitchElements);
    std::unique_ptr<TestEnvironment> m_env;
};

void TestStitchSet::writeUserFile(const QString &name, const QString &stitchElements)
{
    QDir().mkpath(m_env->userFolder());
    QFile file(m_env->userFolder() + QLatin1Char('/') + name);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("<?xml version=\"1.0\"?><stitch_set>%1</stitch_set>").arg(stitchElements).toUtf8());
}

void TestStitchSet::lookup_data()
{
    QTest::addColumn<QString>("abbriv");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("found");
    QTest::newRow("capital K") << "K" << "Knit" << true;
    QTest::newRow("blank inside") << "Slip WYIF" << "Slip With Yarn In Front" << true;
    QTest::newRow("trailing blank") << "k " << "Knit" << false;
    QTest::newRow("unknown") << "zzz" << "Knit" << false;
    QTest::newRow("empty") << "" << "Knit" << false;
}

void TestStitchSet::lookup()
{
    QFETCH(QString, abbriv);
    QFETCH(QString, name);
    QFETCH(bool, found);

    StitchSet set;
    set.load();
    bool wasFound = !found;
    QCOMPARE(set.findStitch(abbriv, &wasFound)->name(), name);
    QCOMPARE(wasFound, found);
    QCOMPARE(set.findStitch(abbriv)->name(), name);
    QCOMPARE(set.hasStitch(abbriv), found);
}

// Every stitch of the built-in set that has a mirror image is paired both
// ways; the rest stay themselves.
void TestStitchSet::mirrorStitches()
{
    StitchSet set;
    set.load();
    const QList<QPair<QString, QString>> pairs = {
        {"k2tog", "ssk"}, {"p3tog", "sssp"}, {"m1l", "m1r"},  {"c4f", "c4b"},
        {"c6lp", "c6rp"}, {"t3fp", "t3bp"},  {"21lpc", "21rpc"}, {"212lkc", "212rkc"},
        {"k", "k"},       {"sk2p", "sk2p"},  {"2sw", "2sw"},  {"yo", "yo"}};
    for (const auto &[one, other] : pairs) {
        QCOMPARE(set.mirrorStitch(set.findStitch(one))->stitchID(), other);
        QCOMPARE(set.mirrorStitch(set.findStitch(other))->stitchID(), one);
    }
    int paired = 0;
    for (Stitch *stitch : set.stitches()) {
        Stitch *mirrored = set.mirrorStitch(stitch);
        QCOMPARE(set.mirrorStitch(mirrored), stitch);
        QCOMPARE(mirrored->cellsPerStitch(), stitch->cellsPerStitch());
        paired += mirrored != stitch ? 1 : 0;
    }
    QVERIFY(paired > 60);
}

void TestStitchSet::unknownFallback()
{
    StitchSet set;
    set.load();
    Settings::instance()->setValue(QStringLiteral("defaultStitch"), QStringLiteral("nothing"));
    const int size = set.stitches().size();

    bool found = true;
    Stitch *unknown = set.findStitch(QStringLiteral("zzz"), &found);
    QVERIFY(!found);
    QCOMPARE(unknown->stitchID(), QStringLiteral("?"));
    QCOMPARE(unknown->name(), QStringLiteral("unknown"));
    QCOMPARE(unknown->paths(), QStringList{QStringLiteral(":/stitches/unknown.svg")});
    QCOMPARE(unknown->opposite(), QStringLiteral("?"));
    QCOMPARE(set.stitches().size(), size);
    // Every unknown abbreviation shares the one placeholder.
    QCOMPARE(set.findStitch(QStringLiteral("yyy")), unknown);

    Settings::instance()->setValue(QStringLiteral("defaultStitch"), QStringLiteral("P"));
    QCOMPARE(set.findStitch(QStringLiteral("zzz"))->name(), QStringLiteral("Purl"));
}

void TestStitchSet::findOrAddTwice()
{
    StitchSet set;
    Stitch *first = set.findOrAdd(QStringLiteral("zzz"));
    QCOMPARE(first->name(), QStringLiteral("zzz"));
    QCOMPARE(first->stitchID(), QStringLiteral("?"));
    Stitch *second = set.findOrAdd(QStringLiteral("zzz"));
    QVERIFY(second != first);
    QCOMPARE(set.stitches().size(), 2);

    // Once it has the abbreviation, it is found.
    first->addAbbriv(QStringLiteral("ZZZ"));
    QCOMPARE(set.findOrAdd(QStringLiteral("zzz")), first);
    QCOMPARE(set.stitches().size(), 2);
}

void TestStitchSet::sharedAbbreviation()
{
    StitchSet set;
    Stitch *earlier = set.findOrAdd(QStringLiteral("a"));
    Stitch *later = set.findOrAdd(QStringLiteral("b"));
    later->addAbbriv(QStringLiteral("same"));
    earlier->addAbbriv(QStringLiteral("Same"));
    QCOMPARE(set.findStitch(QStringLiteral("SAME")), earlier);

    // Renaming takes effect in lookups at once.
    earlier->setAbbrivs({QStringLiteral("other")});
    QCOMPARE(set.findStitch(QStringLiteral("same")), later);
    QCOMPARE(set.findStitch(QStringLiteral("other")), earlier);
}

void TestStitchSet::forgetAddedSince()
{
    StitchSet set;
    Stitch *kept = set.findOrAdd(QStringLiteral("k"));
    kept->addAbbriv(QStringLiteral("k"));
    set.addCategory(QStringLiteral("Basic"));
    Stitch *added = set.findOrAdd(QStringLiteral("mb"));
    added->addAbbriv(QStringLiteral("mb"));
    added->addAbbriv(QStringLiteral("bob"));
    set.addCategory(QStringLiteral("Bobbles"));
    QCOMPARE(set.findStitch(QStringLiteral("bob")), added);

    set.forgetAddedSince(1, 1);
    QCOMPARE(set.stitches(), QList<Stitch *>{kept});
    QCOMPARE(set.categories(), QStringList{QStringLiteral("Basic")});
    QVERIFY(!set.hasStitch(QStringLiteral("bob")));
    QCOMPARE(set.findStitch(QStringLiteral("k")), kept);
    // Counts beyond what the set holds leave it alone.
    set.forgetAddedSince(5, 5);
    QCOMPARE(set.stitches().size(), 1);
}

void TestStitchSet::categories()
{
    StitchSet set;
    set.addCategory(QStringLiteral("Cables"));
    set.addCategory(QStringLiteral("Cables"));
    set.addCategory(QStringLiteral("cables"));
    set.addCategory(QString());
    QCOMPARE(set.categories(), (QStringList{QStringLiteral("Cables"), QStringLiteral("cables"), QString()}));
}

void TestStitchSet::firstStartCopiesDefaultSet()
{
    const QString copy = m_env->userFolder() + QStringLiteral("/stitches_yrn.xml");
    QVERIFY(!QFile::exists(copy));

    StitchSet set;
    set.load();
    QVERIFY(QFile::exists(copy));
    struct stat info;
    QCOMPARE(::stat(QFile::encodeName(copy).constData(), &info), 0);
    QCOMPARE(info.st_mode & 0777, mode_t(0660));
    QVERIFY(StitchSet::isUntouchedCopy(TestEnvironment::readFile(copy)));
    QCOMPARE(set.stitches().size(), 203);
    QCOMPARE(set.name, QStringLiteral("Default Set"));
    QCOMPARE(set.location, QStringLiteral("stitches/"));
}

void TestStitchSet::defaultSetContents()
{
    StitchSet set;
    set.load();
    const QList<Stitch *> stitches = set.stitches();
    QCOMPARE(stitches.size(), 203);
    QCOMPARE(set.categories(), (QStringList{"Basic", "Increases", "Decreases", "Advanced", "Cables", "Misc", "Alphanumeric"}));

    QMap<QString, int> perCategory;
    int multiCell = 0;
    for (Stitch *stitch : stitches) {
        ++perCategory[stitch->category()];
        if (stitch->cellsPerStitch() > 1)
            ++multiCell;
        QVERIFY(stitch->builtin);
        QCOMPARE(stitch->abbrivs().size(), 1);
    }
    QCOMPARE(perCategory.value("Basic"), 18);
    QCOMPARE(perCategory.value("Increases"), 24);
    QCOMPARE(perCategory.value("Decreases"), 34);
    QCOMPARE(perCategory.value("Advanced"), 5);
    QCOMPARE(perCategory.value("Cables"), 80);
    QCOMPARE(perCategory.value("Misc"), 6);
    QCOMPARE(perCategory.value("Alphanumeric"), 36);
    QCOMPARE(multiCell, 81);

    // File order, and a few well-known stitches.
    QCOMPARE(stitches.first()->stitchID(), QStringLiteral("x"));
    QCOMPARE(stitches.at(1)->stitchID(), QStringLiteral("k"));
    QCOMPARE(stitches.last()->stitchID(), QStringLiteral("n9"));
    Stitch *cable = set.findStitch(QStringLiteral("c8f"));
    QCOMPARE(cable->name(), QStringLiteral("Cable 8 Front"));
    QCOMPARE(cable->cellsPerStitch(), 8);
    QCOMPARE(cable->opposite(), QStringLiteral("c8f"));
    QCOMPARE(cable->path(0), QStringLiteral(":/stitches/c8f-1.svg"));
    QCOMPARE(set.findStitch(QStringLiteral("x"))->path(0), QStringLiteral(":/stitches/no_stitch.svg"));
}

void TestStitchSet::olderFilesReadOnlyOnFirstStart()
{
    writeUserFile(QStringLiteral("yrn_stitches.xml"),
                  QStringLiteral("<stitch><name>Old</name><abbrivs><abbriv>oldst</abbriv></abbrivs></stitch>"));
    {
        StitchSet first;
        first.load();
        QVERIFY(first.hasStitch(QStringLiteral("oldst")));
        QCOMPARE(first.stitches().first()->stitchID(), QStringLiteral("oldst"));
    }
    StitchSet second;
    second.load();
    QVERIFY(!second.hasStitch(QStringLiteral("oldst")));
}

// The user's copy of the built-in set as an earlier version left it. One
// that nobody changed is brought up to date; one changed by hand is kept,
// and read over the built-in set, which gives what it leaves unsaid.
void TestStitchSet::copyOfBuiltinSet_data()
{
    QTest::addColumn<QByteArray>("copy");
    QTest::addColumn<bool>("noted");     // as what the program last copied
    QTest::addColumn<bool>("refreshed");
    QTest::addColumn<QString>("knit");   // name
    QTest::addColumn<QString>("k2tog");  // worked/made
    const QByteArray old = TestEnvironment::readFile(QFINDTESTDATA("data/stitches_yrn-1.5.4.xml"));
    QVERIFY(!old.isEmpty() && !old.contains("<worked>"));
    QByteArray edited = old;
    edited.replace("<name>Knit</name>", "<name>Hand Edited Knit</name>");
    QByteArray counted = old;
    counted.replace("<name>Knit 2 Together</name>", "<name>Knit 2 Together</name><worked>3</worked>");
    QTest::newRow("untouched, of 1.5.4") << old << false << true << "Knit" << "2/1";
    QTest::newRow("changed by hand") << edited << false << false << "Hand Edited Knit" << "2/1";
    QTest::newRow("a count changed by hand") << counted << false << false << "Knit" << "3/1";
    QTest::newRow("noted when copied") << edited << true << true << "Knit" << "2/1";
}

void TestStitchSet::copyOfBuiltinSet()
{
    QFETCH(QByteArray, copy);
    QFETCH(bool, noted);
    QFETCH(bool, refreshed);
    QFETCH(QString, knit);
    QFETCH(QString, k2tog);
    const QString path = m_env->userFolder() + QStringLiteral("/stitches_yrn.xml");
    QVERIFY(StitchFixtures::write(path, copy));
    if (noted)
        Preferences::builtinSetCopy.set(StitchSet::fingerprint(copy));

    StitchSet set;
    set.load();
    QCOMPARE(set.stitches().size(), 203);
    QCOMPARE(set.findStitch(QStringLiteral("k"))->name(), knit);
    const Stitch *decrease = set.findStitch(QStringLiteral("k2tog"));
    QCOMPARE(StitchFixtures::counts(decrease->worked(), decrease->made()), k2tog);
    QCOMPARE(set.findStitch(QStringLiteral("x"))->worked(), 0);
    QCOMPARE(set.findStitch(QStringLiteral("yo"))->made(), 1);

    QFile builtin(QStringLiteral(":/stitches_yrn.xml"));
    QVERIFY(builtin.open(QIODevice::ReadOnly));
    const QByteArray now = builtin.readAll();
    QCOMPARE(TestEnvironment::readFile(path), refreshed ? now : copy);
    QCOMPARE(StitchSet::isUntouchedCopy(TestEnvironment::readFile(path)), refreshed);
    struct stat info;
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &info), 0);
    if (refreshed)
        QCOMPARE(info.st_mode & 0777, mode_t(0660));
}

void TestStitchSet::userFileRedefinesStitch()
{
    writeUserFile(QStringLiteral("stitches_custom.xml"),
                  QStringLiteral("<stitch><name>My Knit</name><abbrivs><abbriv>K</abbriv><abbriv>Kn</abbriv></abbrivs></stitch>"
                                 "<stitch><name>Mine</name><abbrivs><abbriv>mine</abbriv></abbrivs></stitch>"));
    StitchSet set;
    set.load();
    QCOMPARE(set.stitches().size(), 204);
    Stitch *knit = set.findStitch(QStringLiteral("k"));
    QCOMPARE(knit, set.stitches().at(1));
    QCOMPARE(knit->name(), QStringLiteral("My Knit"));
    QVERIFY(!knit->builtin);
    QCOMPARE(knit->abbrivs(), (QStringList{QStringLiteral("k"), QStringLiteral("kn")}));
    QCOMPARE(set.findStitch(QStringLiteral("KN")), knit);
    QCOMPARE(set.stitches().last()->name(), QStringLiteral("Mine"));
}

// A built-in stitch that the user made their own keeps the built-in
// arithmetic where their file is silent, as files of earlier versions
// are; the user's own numbers are kept, 1 and 1 included.
void TestStitchSet::userStitchesKeepBuiltinCounts()
{
    writeUserFile(QStringLiteral("stitches_custom.xml"),
                  QStringLiteral("<stitch><name>My k2tog</name><abbrivs><abbriv>k2tog</abbriv></abbrivs></stitch>"
                                 "<stitch><name>Mine</name><abbrivs><abbriv>mine</abbriv></abbrivs></stitch>"));
    StitchSet set;
    set.load();
    Stitch *decrease = set.findStitch(QStringLiteral("k2tog"));
    QCOMPARE(decrease->name(), QStringLiteral("My k2tog"));
    QCOMPARE(decrease->worked(), 2);
    QCOMPARE(decrease->made(), 1);
    QCOMPARE(set.findStitch(QStringLiteral("mine"))->worked(), 1);

    Stitch *yarnOver = set.findStitch(QStringLiteral("yo"));
    yarnOver->builtin = false;
    yarnOver->setWorked(1);
    set.findStitch(QStringLiteral("mine"))->setMade(3);
    QVERIFY(set.saveUserStitches(set.stitches(), false));
    const QByteArray written = TestEnvironment::readFile(StitchSet::userStitchesFile());
    QCOMPARE(written.count("<worked>"), 3);

    StitchSet reread;
    reread.load();
    QCOMPARE(reread.findStitch(QStringLiteral("k2tog"))->worked(), 2);
    QCOMPARE(reread.findStitch(QStringLiteral("yo"))->worked(), 1);
    QCOMPARE(reread.findStitch(QStringLiteral("yo"))->made(), 1);
    QCOMPARE(reread.findStitch(QStringLiteral("mine"))->made(), 3);
}

void TestStitchSet::damagedDefaultCopyFallsBack()
{
    QDir().mkpath(m_env->userFolder());
    QFile copy(m_env->userFolder() + QStringLiteral("/stitches_yrn.xml"));
    QVERIFY(copy.open(QIODevice::WriteOnly));
    copy.write("<stitch_set><stitch>");  // cut off mid-way
    copy.close();

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("not well-formed")));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("the built-in set is used as it is")));
    StitchSet set;
    set.load();
    QCOMPARE(set.stitches().size(), 203);
    // Not the program's to write over.
    QCOMPARE(TestEnvironment::readFile(copy.fileName()), QByteArray("<stitch_set><stitch>"));
}

void TestStitchSet::saveUserStitches()
{
    StitchSet set;
    set.load();
    Stitch *mine = set.findOrAdd(QStringLiteral("mine"));
    mine->addAbbriv(QStringLiteral("mine"));
    mine->setCategory(QStringLiteral("Mine"));
    Stitch *fromPattern = set.findOrAdd(QStringLiteral("pat"));
    fromPattern->addAbbriv(QStringLiteral("pat"));
    fromPattern->temporary = true;

    QVERIFY(set.saveUserStitches(set.stitches(), false));
    QVERIFY(fromPattern->temporary);
    {
        StitchSet reread;
        reread.load();
        QCOMPARE(reread.stitches().size(), 204);
        QCOMPARE(reread.findStitch(QStringLiteral("mine"))->category(), QStringLiteral("Mine"));
        QVERIFY(!reread.hasStitch(QStringLiteral("pat")));
    }

    QVERIFY(set.saveUserStitches(set.stitches(), true));
    QVERIFY(!fromPattern->temporary);
    StitchSet reread;
    reread.load();
    QVERIFY(reread.hasStitch(QStringLiteral("pat")));
}

void TestStitchSet::reloadMergesIntoSameStitches()
{
    StitchSet set;
    set.load();
    Stitch *knit = set.findStitch(QStringLiteral("k"));
    set.load();
    QCOMPARE(set.stitches().size(), 203);
    QCOMPARE(set.findStitch(QStringLiteral("k")), knit);
}

// A library far larger than the built-in set loads whole, with every
// abbreviation found, also when one stitch gathers thousands of them.
void TestStitchSet::largeLibrary_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("added");
    QTest::addColumn<QString>("holder"); // of every "own<n>"; empty for the n-th stitch
    QTest::newRow("5000 own stitches") << StitchFixtures::library(5000, 40) << 5000 << QString();
    QByteArray redefined("<stitch_set>");
    for (int i = 1; i <= 5000; ++i)
        redefined += QStringLiteral("<stitch><abbrivs><abbriv>k</abbriv><abbriv>OWN%1</abbriv></abbrivs>"
                                    "<category>Category %2</category></stitch>").arg(i).arg(i % 40).toUtf8();
    redefined += "</stitch_set>";
    QTest::newRow("knit redefined 5000 times") << redefined << 0 << QStringLiteral("k");
}

void TestStitchSet::largeLibrary()
{
    QFETCH(QByteArray, file);
    QFETCH(int, added);
    QFETCH(QString, holder);
    QVERIFY(StitchFixtures::write(StitchSet::userStitchesFile(), file));

    StitchSet set;
    set.load();
    QCOMPARE(set.stitches().size(), 203 + added);
    QCOMPARE(set.categories().size(), 7 + 40);
    QCOMPARE(set.categories().at(7), QStringLiteral("Category 1"));
    int misses = 0;
    for (int i = 1; i <= 5000; ++i) {
        const QString abbriv = QStringLiteral("Own%1").arg(i);
        const Stitch *expected = holder.isEmpty() ? set.stitches().at(202 + i) : set.findStitch(holder);
        bool found = false;
        if (set.findStitch(abbriv, &found) != expected || !found)
            ++misses;
    }
    QCOMPARE(misses, 0);
    QCOMPARE(set.findStitch(QStringLiteral("p"))->name(), QStringLiteral("Purl"));
}

// A file of the user's own stitches that could not be read is never
// written over: the next save keeps a copy of it first.
void TestStitchSet::unreadUserFileIsKept_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QStringList>("copiesThere");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<QString>("why");
    const QString tooDeep = QStringLiteral("nested more than 64 deep");
    QTest::newRow("nested too deep") << StitchFixtures::nested(200) << QStringList() << ".unread" << tooDeep;
    QTest::newRow("cut off") << QByteArray("<stitch_set><stitch>") << QStringList() << ".unread"
                             << QStringLiteral("not well-formed");
    QTest::newRow("a copy is there already") << StitchFixtures::nested(200) << QStringList{".unread"} << ".unread-2"
                                             << tooDeep;
}

void TestStitchSet::unreadUserFileIsKept()
{
    QFETCH(QByteArray, contents);
    QFETCH(QStringList, copiesThere);
    QFETCH(QString, kept);
    QFETCH(QString, why);
    const QString path = StitchSet::userStitchesFile();
    QDir().mkpath(m_env->userFolder());
    QVERIFY(StitchFixtures::write(path, contents));
    for (const QString &copy : copiesThere)
        QVERIFY(StitchFixtures::write(path + copy, "older copy"));

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(why));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("could not be read; the file is kept")));
    StitchSet set;
    set.load();
    QCOMPARE(set.stitches().size(), 203);
    Stitch *mine = set.findOrAdd(QStringLiteral("mine"));
    mine->addAbbriv(QStringLiteral("mine"));

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("is kept as")));
    QVERIFY(set.saveUserStitches(set.stitches(), false));
    QCOMPARE(set.keptUnreadFile(), path + kept);
    QCOMPARE(TestEnvironment::readFile(path + kept), contents);
    for (const QString &copy : copiesThere)
        QCOMPARE(TestEnvironment::readFile(path + copy), QByteArray("older copy"));
    // Saving again writes over the file just written, which is the user's.
    QVERIFY(set.saveUserStitches(set.stitches(), false));
    QCOMPARE(QDir(m_env->userFolder()).entryList({QStringLiteral("*.unread*")}).size(), copiesThere.size() + 1);
    StitchSet reread;
    reread.load();
    QVERIFY(reread.hasStitch(QStringLiteral("mine")));
}

// Images from pattern and exchange files land in the stitch-image folder
// and nowhere else: never through a link, never under a name with folders.
// "#" in a name stands for the first 16 hex digits of the SHA-1 of "ours".
void TestStitchSet::storeIncomingImage_data()
{
    QTest::addColumn<QStringList>("existing"); // name=content, or name->target outside
    QTest::addColumn<QString>("carried");
    QTest::addColumn<QString>("stored");       // empty when refused
    QTest::newRow("new name") << QStringList() << "k.svg" << "k.svg";
    QTest::newRow("same bytes shared") << QStringList{"k.svg=ours"} << "k.svg" << "k.svg";
    QTest::newRow("other bytes kept") << QStringList{"k.svg=other"} << "k.svg" << "k-#.svg";
    QTest::newRow("content name shared") << QStringList{"k.svg=other", "k-#.svg=ours"} << "k.svg" << "k-#.svg";
    QTest::newRow("no suffix") << QStringList{"dot=other"} << "dot" << "dot-#";
    QTest::newRow("folder in the way") << QStringList{"k.svg/"} << "k.svg" << "k-#.svg";
    QTest::newRow("folders dropped") << QStringList() << "../../evil.svg" << "evil.svg";
    QTest::newRow("other separators dropped") << QStringList() << "..\\..\\evil.svg" << "evil.svg";
    QTest::newRow("absolute path") << QStringList() << "/tmp/evil.svg" << "evil.svg";
    QTest::newRow("empty name") << QStringList() << "" << "icon";
    QTest::newRow("parent folder") << QStringList() << "a/.." << "icon";
    QTest::newRow("dangling link") << QStringList{"k.svg->absent.svg"} << "k.svg" << "k-#.svg";
    QTest::newRow("link to a file outside") << QStringList{"k.svg->theirs.svg"} << "k.svg" << "k-#.svg";
    QTest::newRow("link to the same bytes") << QStringList{"k.svg->ours.svg"} << "k.svg" << "k-#.svg";
    QTest::newRow("both names linked") << QStringList{"k.svg->absent.svg", "k-#.svg->theirs.svg"} << "k.svg" << "";
}

void TestStitchSet::storeIncomingImage()
{
    QFETCH(QStringList, existing);
    QFETCH(QString, carried);
    QFETCH(QString, stored);
    const QString hash = QString::fromLatin1(QCryptographicHash::hash("ours", QCryptographicHash::Sha1).toHex().left(16));
    const QString folder = StitchSet::userIconFolder();
    const QString outside = m_env->scratchPath(QStringLiteral("outside"));
    QVERIFY(QDir().mkpath(folder) && QDir().mkpath(outside));
    QVERIFY(StitchFixtures::write(outside + "/theirs.svg", "theirs"));
    QVERIFY(StitchFixtures::write(outside + "/ours.svg", "ours"));
    for (QString entry : existing) {
        entry.replace('#', hash);
        if (entry.contains("->"))
            QVERIFY(StitchFixtures::plantLink(entry.section("->", 0, 0), outside + '/' + entry.section("->", 1)));
        else if (entry.endsWith('/'))
            QVERIFY(QDir().mkpath(folder + '/' + entry));
        else
            QVERIFY(StitchFixtures::write(folder + '/' + entry.section('=', 0, 0), entry.section('=', 1).toUtf8()));
    }
    const auto outsideBefore = StitchFixtures::snapshot(outside);
    const auto folderBefore = StitchFixtures::snapshot(folder);

    if (stored.isEmpty())
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("Not keeping the stitch image")));
    const QString path = StitchSet::storeIncomingImage(carried, "ours");
    QCOMPARE(path, stored.isEmpty() ? QString() : folder + '/' + stored.replace('#', hash));
    QCOMPARE(StitchFixtures::snapshot(outside), outsideBefore);
    auto expected = folderBefore;
    if (!path.isEmpty()) {
        QVERIFY(!QFileInfo(path).isSymLink());
        expected.insert(path, "ours");
    }
    QCOMPARE(StitchFixtures::snapshot(folder), expected);
}

YARNWISE_GUI_TEST_MAIN(TestStitchSet)
#include "tst_stitchset.moc"
