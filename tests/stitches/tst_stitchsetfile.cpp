#include "stitch.h"
#include "stitchfixtures.h"
#include "stitchset.h"
#include "stitchsetfile.h"
#include "testenvironment.h"

#include <QGuiApplication>
#include <QDir>
#include <QFile>
#include <QXmlStreamWriter>
#include <QtTest>

class TestStitchSetFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void readVariants_data();
    void readVariants();
    void roundTrip_data();
    void roundTrip();
    void counts_data();
    void counts();
    void stitchWithoutImages();
    void imagePaths_data();
    void imagePaths();
    void childOrderOfWriter_data();
    void childOrderOfWriter();
    void notWellFormed_data();
    void notWellFormed();
    void nesting_data();
    void nesting();
    void failedWriteKeepsOldFile();

private:
    std::unique_ptr<TestEnvironment> m_env;
};

void TestStitchSetFile::readVariants_data()
{
    QTest::addColumn<QString>("xml");
    QTest::addColumn<QString>("abbrivs");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("builtin");

    QTest::newRow("usual") << "<stitch_set><stitch><name>Bobble</name><abbrivs><abbriv>bo</abbriv></abbrivs><builtin>1</builtin></stitch></stitch_set>"
                           << "bo" << "Bobble" << true;
    QTest::newRow("other root name") << "<my_set><stitch><name>Bobble</name><abbrivs><abbriv>bo</abbriv></abbrivs></stitch></my_set>"
                                     << "bo" << "Bobble" << false;
    QTest::newRow("other child names") << "<s><stitch><abbrivs><a>bo</a><b>BB</b></abbrivs></stitch></s>"
                                       << "bo,bb" << "" << false;
    QTest::newRow("builtin true") << "<s><stitch><abbrivs><abbriv>bo</abbriv></abbrivs><builtin>true</builtin></stitch></s>"
                                  << "bo" << "" << false;
    QTest::newRow("builtin 0") << "<s><stitch><abbrivs><abbriv>bo</abbriv></abbrivs><builtin>0</builtin></stitch></s>"
                               << "bo" << "" << false;
    QTest::newRow("text kept as it stands") << "<s><stitch><name> Bob </name><abbrivs><abbriv>bo</abbriv></abbrivs></stitch></s>"
                                            << "bo" << " Bob " << false;
    QTest::newRow("last name wins") << "<s><stitch><name>A</name><name>B</name><abbrivs><abbriv>bo</abbriv></abbrivs></stitch></s>"
                                    << "bo" << "B" << false;
    QTest::newRow("lists accumulate") << "<s><stitch><abbrivs><abbriv>bo</abbriv></abbrivs><abbrivs><abbriv>bb</abbriv></abbrivs></stitch></s>"
                                      << "bo,bb" << "" << false;
    QTest::newRow("unknown elements skipped") << "<s><junk/>text<stitch><colour>red</colour><abbrivs><abbriv>bo</abbriv></abbrivs></stitch></s>"
                                              << "bo" << "" << false;
    // Text as the tree reader of earlier versions gave it.
    QTest::newRow("text of inner elements") << "<s><stitch><name>a <b>c</b></name><abbrivs><abbriv>bo</abbriv></abbrivs></stitch></s>"
                                            << "bo" << "a c" << false;
    QTest::newRow("blanks alone dropped") << "<s><stitch><name> <b/>&#32;</name><abbrivs><abbriv>bo</abbriv></abbrivs></stitch></s>"
                                          << "bo" << "" << false;
    QTest::newRow("blanks in CDATA kept") << "<s><stitch><name><![CDATA[ ]]></name><abbrivs><abbriv>bo</abbriv></abbrivs></stitch></s>"
                                          << "bo" << " " << false;
    QTest::newRow("undeclared prefix") << "<x:s><stitch><x:name>X</x:name><abbrivs><abbriv>bo</abbriv></abbrivs></stitch></x:s>"
                                       << "bo" << "" << false;
}

void TestStitchSetFile::readVariants()
{
    QFETCH(QString, xml);
    QFETCH(QString, abbrivs);
    QFETCH(QString, name);
    QFETCH(bool, builtin);

    StitchSet set;
    QVERIFY(StitchSetFile::read(m_env->writeScratch(QStringLiteral("set.xml"), xml.toUtf8()), set));
    QCOMPARE(set.stitches().size(), 1);
    Stitch *stitch = set.stitches().first();
    QCOMPARE(stitch->abbrivs().join(QLatin1Char(',')), abbrivs);
    QCOMPARE(stitch->name(), name);
    QCOMPARE(stitch->builtin, builtin);
}

// A set whose stitches all work 1 and make 1 says nothing of it, and is
// written as before; other arithmetic comes back as it went.
void TestStitchSetFile::roundTrip_data()
{
    QTest::addColumn<int>("worked");
    QTest::addColumn<int>("made");
    QTest::newRow("1 and 1") << 1 << 1;
    QTest::newRow("a cable") << 4 << 4;
    QTest::newRow("No Stitch") << 0 << 0;
    QTest::newRow("only made differs") << 1 << 2;
}

void TestStitchSetFile::roundTrip()
{
    QFETCH(int, worked);
    QFETCH(int, made);
    StitchSet original;
    Stitch *stitch = original.findOrAdd(QStringLiteral("c2x"));
    stitch->setName(QStringLiteral("Cross & <Twist>"));
    stitch->setCategory(QStringLiteral("Cables"));
    stitch->setDescription(QStringLiteral("Cross two \"stitches\""));
    stitch->setOpposite(QStringLiteral("c2xp"));
    stitch->addAbbriv(QStringLiteral("c2x"));
    stitch->addAbbriv(QStringLiteral("cross two"));
    stitch->setPaths({Stitch::placeholderPath(), Stitch::placeholderPath()});
    stitch->setWorked(worked);
    stitch->setMade(made);

    const QString path = m_env->scratchPath(QStringLiteral("roundtrip.xml"));
    const StitchSetFile::Header header{QStringLiteral("Mine"), QStringLiteral("My set"), QStringLiteral("Me"), QStringLiteral("stitches/")};
    QVERIFY(StitchSetFile::write(path, header, original.stitches()));
    const QByteArray written = TestEnvironment::readFile(path);
    QCOMPARE(written.contains("<worked>"), worked != 1 || made != 1);

    StitchSet reread;
    QVERIFY(StitchSetFile::read(path, reread));
    QCOMPARE(reread.name, header.name);
    QCOMPARE(reread.description, header.description);
    QCOMPARE(reread.author, header.author);
    QCOMPARE(reread.location, header.location);
    QCOMPARE(reread.stitches().size(), 1);
    const StitchRecord before = stitch->record();
    const StitchRecord after = reread.stitches().first()->record();
    QCOMPARE(after.name, before.name);
    QCOMPARE(after.abbrivs, before.abbrivs);
    QCOMPARE(after.paths, before.paths);
    QCOMPARE(after.description, before.description);
    QCOMPARE(after.opposite, before.opposite);
    QCOMPARE(after.category, before.category);
    QCOMPARE(after.worked, worked);
    QCOMPARE(after.made, made);
    QVERIFY(!reread.stitches().first()->builtin);

    QVERIFY(StitchSetFile::write(path, header, reread.stitches()));
    QCOMPARE(TestEnvironment::readFile(path), written);
}

// What a file says of a stitch's arithmetic, read into a catalogue that
// knows the stitch as 3 and 2 when `known`.
void TestStitchSetFile::counts_data()
{
    QTest::addColumn<QString>("elements");
    QTest::addColumn<bool>("known");
    QTest::addColumn<QString>("counts"); // worked/made with the file silent as plain, then keeping the known
    QTest::addColumn<bool>("warned");
    QTest::newRow("unsaid") << "" << false << "1/1 1/1" << false;
    QTest::newRow("unsaid, known") << "" << true << "1/1 3/2" << false;
    QTest::newRow("both") << "<worked>2</worked><made>1</made>" << true << "2/1 2/1" << false;
    QTest::newRow("made only") << "<made>0</made>" << true << "1/0 3/0" << false;
    QTest::newRow("blanks around") << "<worked> 5 </worked>" << false << "5/1 5/1" << false;
    QTest::newRow("at the limit") << "<worked>64</worked>" << false << "64/1 64/1" << false;
    QTest::newRow("beyond the limit") << "<worked>65</worked>" << true << "1/1 3/2" << true;
    QTest::newRow("negative") << "<made>-1</made>" << true << "1/1 3/2" << true;
    QTest::newRow("not a number") << "<worked>two</worked>" << false << "1/1 1/1" << true;
    QTest::newRow("huge") << "<worked>99999999999999999999</worked>" << false << "1/1 1/1" << true;
}

void TestStitchSetFile::counts()
{
    QFETCH(QString, elements);
    QFETCH(bool, known);
    QFETCH(QString, counts);
    QFETCH(bool, warned);
    const QString path = m_env->writeScratch(
        QStringLiteral("counts.xml"),
        QStringLiteral("<s><stitch><abbrivs><abbriv>st</abbriv></abbrivs>%1</stitch></s>").arg(elements).toUtf8());
    QStringList read;
    for (const auto missing : {StitchSetFile::MissingCounts::Plain, StitchSetFile::MissingCounts::KeepKnown}) {
        StitchSet set;
        if (known) {
            Stitch *stitch = set.findOrAdd(QStringLiteral("st"));
            stitch->addAbbriv(QStringLiteral("ST"));
            stitch->setWorked(3);
            stitch->setMade(2);
        }
        if (warned)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral(
                                                   "counts.xml, line 1: .* is not a number of stitches from 0 to 64")));
        QVERIFY(StitchSetFile::read(path, set, missing));
        QCOMPARE(set.stitches().size(), 1);
        const Stitch *stitch = set.stitches().first();
        read << StitchFixtures::counts(stitch->worked(), stitch->made());
    }
    QCOMPARE(read.join(QLatin1Char(' ')), counts);
}

void TestStitchSetFile::stitchWithoutImages()
{
    StitchSet original;
    Stitch *stitch = original.findOrAdd(QStringLiteral("plain"));
    stitch->addAbbriv(QStringLiteral("plain"));
    const QString path = m_env->scratchPath(QStringLiteral("plain.xml"));
    QVERIFY(StitchSetFile::write(path, {}, original.stitches()));

    StitchSet reread;
    QVERIFY(StitchSetFile::read(path, reread));
    QCOMPARE(reread.stitches().first()->paths(), QStringList{Stitch::placeholderPath()});
}

// The set is written in "set/" of the scratch folder, then the folder is
// moved: images inside it move along, all others stay where they were.
void TestStitchSetFile::imagePaths_data()
{
    QTest::addColumn<QString>("image"); // under the scratch folder, or a resource
    QTest::addColumn<QString>("stored"); // as written; empty for the absolute path
    QTest::newRow("in a subfolder") << "set/stitches/leaf.svg" << "stitches/leaf.svg";
    QTest::newRow("beside the file") << "set/leaf.png" << "leaf.png";
    QTest::newRow("dots begin the name") << "set/..leaf.svg" << "..leaf.svg";
    QTest::newRow("beside the folder") << "leaf.svg" << "";
    QTest::newRow("folder named alike") << "settings/leaf.svg" << "";
    QTest::newRow("resource") << ":/stitches/k.svg" << ":/stitches/k.svg";
}

void TestStitchSetFile::imagePaths()
{
    QFETCH(QString, image);
    QFETCH(QString, stored);
    const bool resource = image.startsWith(QLatin1Char(':'));
    const QString path = resource ? image : m_env->scratchPath(image);
    QVERIFY(resource || StitchFixtures::write(path, "<svg/>"));
    QVERIFY(QDir().mkpath(m_env->scratchPath(QStringLiteral("set"))));
    StitchSet original;
    Stitch *stitch = original.findOrAdd(QStringLiteral("img"));
    stitch->addAbbriv(QStringLiteral("img"));
    stitch->setPaths({path});
    QVERIFY(StitchSetFile::write(m_env->scratchPath(QStringLiteral("set/set.xml")), {}, original.stitches()));

    QVERIFY(QDir().rename(m_env->scratchPath(QStringLiteral("set")), m_env->scratchPath(QStringLiteral("moved"))));
    const QString file = m_env->scratchPath(QStringLiteral("moved/set.xml"));
    const QString written = stored.isEmpty() ? path : stored;
    QVERIFY(TestEnvironment::readFile(file).contains(QStringLiteral("<image>%1</image>").arg(written).toUtf8()));
    StitchSet reread;
    QVERIFY(StitchSetFile::read(file, reread));
    const bool moved = !stored.isEmpty() && !resource;
    QCOMPARE(reread.stitches().first()->paths(), QStringList{moved ? m_env->scratchPath("moved/" + stored) : path});
}

void TestStitchSetFile::childOrderOfWriter_data()
{
    QTest::addColumn<int>("worked");
    QTest::addColumn<int>("made");
    QTest::addColumn<bool>("sayCounts");
    QTest::addColumn<QString>("counts"); // as written between category and description
    QTest::newRow("1 and 1, as ever") << 1 << 1 << false << "";
    QTest::newRow("k2tog") << 2 << 1 << false << "<worked>2</worked><made>1</made>";
    QTest::newRow("1 and 1 said") << 1 << 1 << true << "<worked>1</worked><made>1</made>";
}

void TestStitchSetFile::childOrderOfWriter()
{
    QFETCH(int, worked);
    QFETCH(int, made);
    QFETCH(bool, sayCounts);
    QFETCH(QString, counts);
    StitchRecord record;
    record.name = QStringLiteral("n");
    record.abbrivs = {QStringLiteral("a")};
    record.worked = worked;
    record.made = made;
    QString text;
    QXmlStreamWriter xml(&text);
    StitchSetFile::writeStitch(xml, record, true, sayCounts);
    QCOMPARE(text, QStringLiteral("<stitch><name>n</name><category></category>%1<description></description>"
                                  "<abbrivs><abbriv>a</abbriv></abbrivs><images><image>:/stitches/unknown.svg</image></images>"
                                  "<opposite></opposite><builtin>1</builtin></stitch>").arg(counts));
}

void TestStitchSetFile::notWellFormed_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("cut off") << QByteArray("<stitch_set><stitch><name>A</name>");
    QTest::newRow("binary") << QByteArray("\x00\x01\x02garbage\xff", 12);
    QTest::newRow("two roots") << QByteArray("<stitch_set/><stitch_set/>");
    QTest::newRow("entity bomb") << QByteArray(
        "<?xml version=\"1.0\"?><!DOCTYPE s [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
        "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\"><!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">"
        "<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\"><!ENTITY f \"&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;\">"
        "<!ENTITY g \"&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;\"><!ENTITY h \"&g;&g;&g;&g;&g;&g;&g;&g;&g;&g;\">]>"
        "<s><stitch><name>&h;</name></stitch></s>");
}

void TestStitchSetFile::notWellFormed()
{
    QFETCH(QByteArray, contents);
    StitchSet set;
    set.findOrAdd(QStringLiteral("keep"))->addAbbriv(QStringLiteral("keep"));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("not well-formed")));
    QVERIFY(!StitchSetFile::read(m_env->writeScratch(QStringLiteral("bad.xml"), contents), set));
    QCOMPARE(set.stitches().size(), 1);
    QVERIFY(!StitchSetFile::read(m_env->scratchPath(QStringLiteral("missing.xml")), set));
}

// The format nests four deep. A file nested deeper than the reader
// allows is refused whole, however deep it goes.
void TestStitchSetFile::nesting_data()
{
    QTest::addColumn<int>("depth"); // of the elements inside a stitch's name
    QTest::addColumn<bool>("read");
    QTest::newRow("at the limit") << StitchSetFile::deepestNesting - 3 << true;
    QTest::newRow("one beyond") << StitchSetFile::deepestNesting - 2 << false;
    QTest::newRow("200,000 deep") << 200000 << false;
}

void TestStitchSetFile::nesting()
{
    QFETCH(int, depth);
    QFETCH(bool, read);
    StitchSet set;
    set.findOrAdd(QStringLiteral("keep"))->addAbbriv(QStringLiteral("keep"));
    if (!read)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("is damaged, line 1: elements nested more "
                                                                             "than 64 deep; nothing of it was read")));
    const QString path = m_env->writeScratch(QStringLiteral("deep.xml"), StitchFixtures::nested(depth));
    QCOMPARE(StitchSetFile::read(path, set), read);
    QCOMPARE(set.hasStitch(QStringLiteral("deep")), read);
    QCOMPARE(set.hasStitch(QStringLiteral("after")), read);
    QCOMPARE(set.stitches().size(), read ? 3 : 1);
}

void TestStitchSetFile::failedWriteKeepsOldFile()
{
    const QString path = m_env->writeScratch(QStringLiteral("kept.xml"), "<stitch_set/>");
    StitchSet set;
    QVERIFY(!StitchSetFile::write(m_env->scratchPath(QStringLiteral("no/such/folder/x.xml")), {}, set.stitches()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("<stitch_set/>"));
}

YARNWISE_GUI_TEST_MAIN(TestStitchSetFile)
#include "tst_stitchsetfile.moc"
