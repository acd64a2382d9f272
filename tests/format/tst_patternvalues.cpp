#include "boundedhtml.h"
#include "chartfixtures.h"
#include "embeddedstitches.h"
#include "htmlfixtures.h"
#include "patternfile.h"
#include "recordbytes.h"
#include "stitch.h"
#include "stitchfixtures.h"
#include "stitchset.h"
#include "testenvironment.h"

#include <QBuffer>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QScopeGuard>
#include <QTextDocument>
#include <QtTest>

#include <cmath>

// Pattern files read into plain values and written from them, with no
// window: byte for byte as they came, every older version, and every kind
// of damage reported rather than crashed on.
class TestPatternValues : public TestSuite
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { StitchSet::instance()->load(); }

    void readAndWrittenAgainByteForByte();
    void fileVersions_data();
    void fileVersions();
    void versionFollowsWhatIsUsed_data();
    void versionFollowsWhatIsUsed();
    void damagedColourNames_data();
    void damagedColourNames();
    void gaugeOutOfRange_data();
    void gaugeOutOfRange();
    void damagedFiles_data();
    void damagedFiles();
    void everyCutIsReported();
    void embeddedStitchesSkipped();
    void embeddedStitchArithmetic_data();
    void embeddedStitchArithmetic();
    void fullDiskSaysSo();
    void embeddedImagesStayInTheFolder_data();
    void embeddedImagesStayInTheFolder();
    void fuzzedFiles_data();
    void fuzzedFiles();
    void pagesBeyondLimits_data();
    void pagesBeyondLimits();

private:
    QString write(const QString &name, const QByteArray &bytes) const { return m_env->writeScratch(name, bytes); }
};

// A pattern of a Directions page with a picture and two charts.
static PatternValues samplePattern()
{
    PatternValues pattern;
    pattern.settings.pageSize = 3;
    pattern.settings.keyHash = "key";
    pattern.settings.showWS = false;
    PatternTab page;
    page.directions = std::make_unique<DirectionsValues>();
    page.directions->name = QStringLiteral("Notes");
    QImage swatch(6, 4, QImage::Format_ARGB32);
    swatch.fill(Qt::darkCyan);
    page.directions->pictures.append(DirectionsPicture::fromImage(swatch));
    page.directions->html = QStringLiteral("<p>Cast on.<img src=\"%1\"/></p>")
                                .arg(DirectionsRecord::imageName(page.directions->pictures.first().hash));
    pattern.tabs.push_back(std::move(page));
    for (const char *title : {"Front", "Back"}) {
        PatternTab chart;
        chart.chart = std::make_unique<ChartValues>();
        chart.chart->title = QString::fromLatin1(title);
        chart.chart->hash = "abc";
        chart.chart->imageSize = QSize(6, 9);
        chart.chart->grid = randomGrid(5, 4, uint(chart.chart->title.size()));
        pattern.tabs.push_back(std::move(chart));
    }
    return pattern;
}

static QByteArray bytesOf(const PatternValues &pattern)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    PatternFile::write(out, pattern);
    return bytes;
}

// Opens and reads the file; the open's status.
static PatternFile::Status readFile(const QString &path, PatternValues &pattern)
{
    PatternFile file(path);
    const PatternFile::Status status = file.open();
    if (status == PatternFile::Ok)
        PatternFile::read(file.stream(), pattern);
    return status;
}

void TestPatternValues::readAndWrittenAgainByteForByte()
{
    const PatternValues written = samplePattern();
    const QByteArray bytes = bytesOf(written);
    PatternValues read;
    QCOMPARE(readFile(write(QStringLiteral("a.kit"), bytes), read), PatternFile::Ok);
    QCOMPARE(read.errors, QStringList());
    QCOMPARE(read.tabs.size(), size_t(3));
    QVERIFY(read.tabs.at(0).directions);
    QCOMPARE(read.tabs.at(0).directions->name, QStringLiteral("Notes"));
    QCOMPARE(read.tabs.at(0).directions->pictures.size(), 1);
    QCOMPARE(read.charts().size(), 2);
    QCOMPARE(read.charts().at(1)->title, QStringLiteral("Back"));
    QCOMPARE(snapshot(*read.charts().at(1)->grid), snapshot(*written.charts().at(1)->grid));
    QVERIFY(!read.settings.showWS);
    QCOMPARE(read.settings.pageSize, 3);
    QCOMPARE(bytesOf(read), bytes);
}

void TestPatternValues::fileVersions_data()
{
    QTest::addColumn<qint32>("version");
    QTest::addColumn<int>("status");
    QTest::newRow("newer") << qint32(PatternFile::newestVersion + 1) << int(PatternFile::TooNew);
    QTest::newRow("current") << qint32(PatternFile::newestVersion) << int(PatternFile::Ok);
    QTest::newRow("plain") << qint32(PatternFile::plainVersion) << int(PatternFile::Ok);
    QTest::newRow("older") << qint32(201001) << int(PatternFile::Ok);
}

void TestPatternValues::fileVersions()
{
    QFETCH(qint32, version);
    QFETCH(int, status);
    QByteArray bytes = bytesOf(samplePattern());
    QDataStream patch(&bytes, QIODevice::ReadWrite);
    patch.device()->seek(4);
    patch << version;
    PatternValues read;
    QCOMPARE(int(readFile(write(QStringLiteral("v.kit"), bytes), read)), status);
    if (status == PatternFile::Ok)
        QCOMPARE(read.charts().size(), 2);

    QCOMPARE(readFile(write(QStringLiteral("notes.kit"), "Cast on 20 stitches"), read), PatternFile::NotAPattern);
    QCOMPARE(readFile(m_env->scratchPath(QStringLiteral("missing.kit")), read), PatternFile::Unreadable);
    QCOMPARE(readFile(m_env->rootPath(), read), PatternFile::Unreadable);
}

// A file that uses nothing new keeps the version older programs open; a
// chart that chose where its numbers go, has a repeat box or is written
// other than plainly needs a newer one, shaping marks, a gauge or
// dismissed findings one newer still, and colours named for the key the
// newest, which older programs refuse. Reading gives it all back.
void TestPatternValues::versionFollowsWhatIsUsed_data()
{
    QTest::addColumn<QString>("feature");
    QTest::addColumn<qint32>("version");
    QTest::newRow("nothing new") << "" << PatternFile::plainVersion;
    QTest::newRow("numbers hidden") << "hidden" << PatternVersion::repeats;
    QTest::newRow("numbers shown") << "shown" << PatternVersion::repeats;
    QTest::newRow("repeat box") << "repeat" << PatternVersion::repeats;
    QTest::newRow("published") << "published" << PatternVersion::repeats;
    QTest::newRow("repeats found") << "find" << PatternVersion::repeats;
    QTest::newRow("shaping rows") << "shaping" << PatternVersion::check;
    QTest::newRow("gauge") << "gauge" << PatternVersion::check;
    QTest::newRow("dismissed findings") << "dismissed" << PatternVersion::check;
    QTest::newRow("colour names") << "names" << PatternVersion::print;
    QTest::newRow("picture of part of a chart") << "part" << PatternVersion::print;
}

void TestPatternValues::versionFollowsWhatIsUsed()
{
    QFETCH(QString, feature);
    QFETCH(qint32, version);
    PatternValues pattern = samplePattern();
    const QByteArray plain = bytesOf(pattern);
    ChartGrid *grid = pattern.charts().at(1)->grid.get();
    WrittenOptions choices;
    choices.style = feature == QLatin1String("published") ? WrittenStyle::Published : WrittenStyle::Plain;
    choices.findRepeats = feature == QLatin1String("find");
    grid->setWrittenOptions(choices);
    if (feature == QLatin1String("repeat"))
        grid->setRepeats({RepeatBox{QRect(1, 0, 2, 4), Qt::darkGreen}});
    else if (feature == QLatin1String("shaping"))
        grid->setShapingRows({3, 1});
    else if (feature == QLatin1String("gauge"))
        pattern.settings.gauge = Gauge{22.5, 30};
    else if (feature == QLatin1String("dismissed"))
        pattern.settings.dismissed = QStringList{QStringLiteral("Rib: row 2 makes 3 from 4")};
    else if (feature == QLatin1String("names"))
        pattern.settings.colourNames = {{qRgb(250, 240, 230), QStringLiteral("MC")},
                                        {qRgba(0, 0, 128, 200), QStringLiteral("Deep Sea")}};
    else if (feature == QLatin1String("part"))
        const_cast<ChartValues *>(pattern.charts().at(1))->imageCells = QRect(1, 1, 2, 3);
    else if (!feature.isEmpty() && choices.isDefault())
        grid->setNumbersAtBottom(feature == QLatin1String("shown"));
    const QByteArray bytes = bytesOf(pattern);
    QDataStream head(bytes);
    qint32 magic = 0, written = 0;
    head >> magic >> written;
    QCOMPARE(written, version);
    QCOMPARE(bytes == plain, feature.isEmpty());

    PatternValues read;
    QCOMPARE(readFile(write(QStringLiteral("b.kit"), bytes), read), PatternFile::Ok);
    QCOMPARE(read.errors, QStringList());
    QCOMPARE(snapshot(*read.charts().at(1)->grid), snapshot(*pattern.charts().at(1)->grid));
    QCOMPARE(read.charts().at(1)->grid->shapingRows(), grid->shapingRows());
    QCOMPARE(read.settings.gauge, pattern.settings.gauge);
    QCOMPARE(read.settings.dismissed, pattern.settings.dismissed);
    QCOMPARE(read.settings.colourNames, pattern.settings.colourNames);
    QCOMPARE(read.charts().at(1)->imageCells, pattern.charts().at(1)->imageCells);
    QCOMPARE(bytesOf(read), bytes);
}

// One entry of a ColorNames: tag: the colour's bytes, then the name.
static QByteArray nameEntry(const QByteArray &colourHex, const QString &name)
{
    return QByteArray::fromHex(colourHex) + StitchFixtures::streamed([&name](QDataStream &out) { out << name; });
}

void TestPatternValues::damagedColourNames_data()
{
    QTest::addColumn<qint32>("count");
    QTest::addColumn<QByteArray>("entry");
    QTest::addColumn<bool>("damaged");
    const QByteArray red = "01ffffffff000000000000";
    const QString cc1 = QStringLiteral("CC1");
    QTest::newRow("a colour of no known kind") << 2 << nameEntry("09ffffffff000000000000", cc1) << false;
    QTest::newRow("no colour") << 2 << nameEntry("00ffff0000000000000000", cc1) << false;
    QTest::newRow("no name") << 2 << nameEntry(red, QStringLiteral("  ")) << false;
    QTest::newRow("a name longer than a key holds") << 2 << nameEntry(red, QString(41, QLatin1Char('m'))) << false;
    QTest::newRow("more names than the file holds") << 100000 << nameEntry(red, cc1) << true;
}

// An entry no designer could have given is left out and the others kept;
// a count that lies is damage, reported.
void TestPatternValues::damagedColourNames()
{
    QFETCH(qint32, count);
    QFETCH(QByteArray, entry);
    QFETCH(bool, damaged);
    const QByteArray names = StitchFixtures::streamed([count](QDataStream &out) {
        out << QStringLiteral("ColorNames:") << count;
    }) + entry + nameEntry("01ffff0000ffff00000000", QStringLiteral("Moss"));
    const QByteArray good = bytesOf(samplePattern());
    const QByteArray start =
        StitchFixtures::streamed([](QDataStream &out) { out << QStringLiteral("<Document>"); });
    const qsizetype at = good.indexOf(start) + start.size();
    if (!damaged)
        QTest::ignoreMessage(QtWarningMsg,
                             "A colour's name in the key is damaged or longer than 40 characters; left out");
    PatternValues read;
    QCOMPARE(readFile(write(QStringLiteral("n.kit"), good.left(at) + names + good.mid(at)), read), PatternFile::Ok);
    QCOMPARE(read.errors.isEmpty(), !damaged);
    if (damaged)
        return;
    QCOMPARE(read.settings.colourNames, (ColourNames::Given{{qRgb(0, 255, 0), QStringLiteral("Moss")}}));
    QCOMPARE(read.charts().size(), 2);
}

void TestPatternValues::gaugeOutOfRange_data()
{
    QTest::addColumn<double>("stitches");
    QTest::addColumn<double>("rows");
    QTest::newRow("below nothing") << -4.0 << 30.0;
    QTest::newRow("not a number") << 22.0 << std::nan("");
    QTest::newRow("more than any yarn") << 1e300 << 30.0;
    QTest::newRow("less than any yarn") << 0.01 << 30.0;
}

// A gauge no fabric has reads as none given, and the rest of the file
// reads as written.
void TestPatternValues::gaugeOutOfRange()
{
    QFETCH(double, stitches);
    QFETCH(double, rows);
    PatternValues pattern = samplePattern();
    pattern.settings.gauge = Gauge{stitches, rows};
    PatternValues read;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^A gauge of .* is out of range")));
    QCOMPARE(readFile(write(QStringLiteral("g.kit"), bytesOf(pattern)), read), PatternFile::Ok);
    QCOMPARE(read.errors, QStringList());
    QCOMPARE(read.settings.gauge, Gauge());
    QCOMPARE(read.charts().size(), pattern.charts().size());
}

void TestPatternValues::damagedFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error");

    const QByteArray good = bytesOf(samplePattern());
    QByteArray noDocument;
    {
        QDataStream out(&noDocument, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_4_5);
        out << qint32(PatternFile::magicNumber) << qint32(PatternFile::newestVersion) << QStringLiteral("<Doc>");
    }
    QTest::newRow("no document section") << noDocument << "Error loading file - missing document section";
    QTest::newRow("cut before the end") << good.left(good.size() - 10)
                                       << "Error loading file - missing end of document section";
    QTest::newRow("extra data") << good + QByteArray("tail") << "Found unexpected extra data while loading pattern file";
    QByteArray hugeTag = good;
    hugeTag.replace(8, 4, QByteArray::fromHex("7ffffff0"));
    QTest::newRow("absurd tag length") << hugeTag << "Error loading file - missing document section";
}

void TestPatternValues::damagedFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    PatternValues read;
    QCOMPARE(readFile(write(QStringLiteral("d.kit"), bytes), read), PatternFile::Ok);
    QVERIFY2(read.errors.contains(error), qPrintable(read.errors.join(QLatin1Char('\n'))));
}

// A file cut anywhere opens with its damage listed, and what was read is
// whole: every chart can be written again.
void TestPatternValues::everyCutIsReported()
{
    const QByteArray good = bytesOf(samplePattern());
    for (qsizetype length = 8; length < good.size(); length += 3) {
        PatternValues read;
        QCOMPARE(readFile(write(QStringLiteral("cut.kit"), good.left(length)), read), PatternFile::Ok);
        QVERIFY2(!read.errors.isEmpty(), qPrintable(QStringLiteral("cut at %1 read as whole").arg(length)));
        for (const ChartValues *chart : read.charts()) {
            QVERIFY(chart->grid);
            QVERIFY(chart->grid->rowCount() <= 4 && chart->grid->columnCount() <= 5);
        }
        bytesOf(read);
    }
}

// A stitch record the library cannot use (no abbreviation, or a stitch it
// already knows) is read past: the pattern after it opens whole and no
// image of it lands in the user's folder.
void TestPatternValues::embeddedStitchesSkipped()
{
    const QByteArray good = bytesOf(samplePattern());
    QByteArray bytes = good.left(8);
    {
        QDataStream out(&bytes, QIODevice::WriteOnly | QIODevice::Append);
        out.setVersion(QDataStream::Qt_4_5);
        for (const QStringList &abbrivs : {QStringList(), QStringList{QStringLiteral("k")}}) {
            out << QStringLiteral("<Stitch>") << abbrivs << QStringLiteral("Name") << QString() << QString()
                << QString() << qint32(1) << QStringLiteral("/elsewhere/stray.svg") << QByteArray("<svg/>")
                << QStringLiteral("</Stitch>");
        }
    }
    bytes += good.mid(8);
    PatternValues read;
    QCOMPARE(readFile(write(QStringLiteral("s.kit"), bytes), read), PatternFile::Ok);
    QCOMPARE(read.errors, QStringList());
    QCOMPARE(read.stitchRecords, 2);
    QCOMPARE(read.charts().size(), 2);
    QVERIFY(!QFileInfo::exists(StitchSet::userFolder() + QStringLiteral("/stitches/stray.svg")));
}

void TestPatternValues::embeddedStitchArithmetic_data()
{
    QTest::addColumn<int>("worked");
    QTest::addColumn<int>("made");
    QTest::addColumn<int>("readWorked");
    QTest::addColumn<int>("readMade");
    QTest::newRow("plain knit stitch") << 1 << 1 << 1 << 1;
    QTest::newRow("decrease") << 2 << 1 << 2 << 1;
    QTest::newRow("yarn over") << 0 << 1 << 0 << 1;
    QTest::newRow("out of range") << 1000 << -3 << 1 << 1;
}

// A designer's stitch carries its numbers in the pattern only when they
// are not one and one, and only then needs the newest version; numbers no
// stitch can have read as one and one.
void TestPatternValues::embeddedStitchArithmetic()
{
    QFETCH(int, worked);
    QFETCH(int, made);
    QFETCH(int, readWorked);
    QFETCH(int, readMade);
    const QString id = QStringLiteral("zz%1x%2").arg(worked).arg(made);
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    preparePatternStream(out);
    out << QStringLiteral("<Stitch>") << QStringList{id} << QStringLiteral("Name") << QString() << QString()
        << QString() << qint32(1) << QStringLiteral(":/stitches/k.svg");
    if (worked != 1 || made != 1)
        out << QStringLiteral("Arithmetic:") << qint32(worked) << qint32(made);
    out << QStringLiteral("</Stitch>");

    if (readWorked != worked)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("out of range")));
    QDataStream in(bytes);
    preparePatternStream(in);
    QString tag;
    in >> tag;
    EmbeddedStitches::read(in);
    QCOMPARE(in.status(), QDataStream::Ok);
    QVERIFY(in.atEnd());
    Stitch *stitch = StitchSet::instance()->findStitch(id);
    QCOMPARE(stitch->stitchID(), id);
    QCOMPARE(stitch->worked(), readWorked);
    QCOMPARE(stitch->made(), readMade);

    // Written again: the same bytes where the numbers were sane.
    QByteArray again;
    QDataStream rewrite(&again, QIODevice::WriteOnly);
    preparePatternStream(rewrite);
    stitch->builtin = false;
    EmbeddedStitches::write(rewrite, {stitch});
    QCOMPARE(again == bytes, readWorked == worked);
    QCOMPARE(EmbeddedStitches::needsNewerVersion({stitch}), readWorked != 1 || readMade != 1);
}

// A save that runs out of room names the reason and leaves the file that
// was there as it was. Needs a small file system of its own, which only
// root can mount.
void TestPatternValues::fullDiskSaysSo()
{
    const QString folder = m_env->rootPath() + QStringLiteral("/small");
    QDir().mkpath(folder);
    if (QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                                     QStringLiteral("size=64k"), QStringLiteral("tmpfs"), folder}) != 0)
        QSKIP("mounting a small file system needs root");
    const auto unmount = qScopeGuard([folder] { QProcess::execute(QStringLiteral("umount"), {folder}); });
    const QString path = folder + QStringLiteral("/big.kit");
    QVERIFY(TestEnvironment::writeFile(path, "the pattern before"));

    PatternValues big;
    PatternTab tab;
    tab.chart = std::make_unique<ChartValues>();
    tab.chart->grid = randomGrid(60, 60, 7);
    big.tabs.push_back(std::move(tab));
    QString error;
    QVERIFY(!PatternFile::save(path, [&big](QDataStream &out) { return PatternFile::write(out, big); }, &error));
    QCOMPARE(error, QStringLiteral("the disk is full"));
    QCOMPARE(TestEnvironment::readFile(path), QByteArray("the pattern before"));
}

// What a designer's file brings is kept in the user's stitch-image folder
// and nowhere else, whatever stands there and however the image is named.
void TestPatternValues::embeddedImagesStayInTheFolder_data()
{
    StitchFixtures::ImageTrap::addRows(QStringLiteral("/home/designer/"));
}

void TestPatternValues::embeddedImagesStayInTheFolder()
{
    QFETCH(QString, carried);
    QFETCH(QString, link);
    const StitchFixtures::ImageTrap trap(m_env->scratchPath(QStringLiteral("outside")), carried, link);
    QVERIFY(trap.isSet());

    const QString abbriv = QStringLiteral("carried %1").arg(QTest::currentDataTag());
    const QByteArray good = bytesOf(samplePattern());
    const QByteArray bytes = good.left(8) + StitchFixtures::embeddedStitch(abbriv, carried, "<svg/>") + good.mid(8);
    PatternValues read;
    QCOMPARE(readFile(write(QStringLiteral("s.kit"), bytes), read), PatternFile::Ok);
    QCOMPARE(read.errors, QStringList());

    const QString kept = StitchSet::instance()->findStitch(abbriv)->path(0);
    QCOMPARE(trap.sprung(kept, "<svg/>"), QString());
    QVERIFY(QFileInfo(kept).fileName().startsWith(trap.name().section(QLatin1Char('.'), 0, 0)));
}

// Files that once made the reader crash or eat memory: each reads with a
// clear error, or as the complete pattern it is.
void TestPatternValues::fuzzedFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("error");
    QTest::addColumn<int>("charts");
    QTest::newRow("stitch with billions of abbreviations")
        << "stitch-list-count.kit" << "Error loading file - missing document section" << 0;
    QTest::newRow("every cell another image position") << "image-positions.kit" << QString() << 1;
    QTest::newRow("numbers starting at the integer limit") << "number-starts.kit" << QString() << 1;
}

void TestPatternValues::fuzzedFiles()
{
    QFETCH(QString, file);
    QFETCH(QString, error);
    QFETCH(int, charts);
    const QString path = QFINDTESTDATA(QStringLiteral("data/fuzz/") + file);
    QVERIFY(!path.isEmpty());
    if (file == QLatin1String("number-starts.kit"))
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("numbering offsets")));
    PatternValues read;
    QCOMPARE(readFile(path, read), PatternFile::Ok);
    if (error.isEmpty())
        QCOMPARE(read.errors, QStringList());
    else
        QVERIFY2(read.errors.contains(error), qPrintable(read.errors.join(QLatin1Char('\n'))));
    QCOMPARE(read.charts().size(), charts);
}

void TestPatternValues::pagesBeyondLimits_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("error");
    QTest::newRow("tables 20 deep") << "tables-20.kit" << QString() << QString();
    QTest::newRow("tables spelt with entities") << "spelt-tables.kit" << QString() << QString();
    const BoundedHtml::Limits limits;
    QTest::newRow("a page too long to show")
        << QString() << HtmlFixtures::ordinaryPage(limits.length + 1000)
        << "The Directions page is too long to show whole: its last \\d+ characters were left out";
}

// Pages that once hung the window or crashed it are read as the page can
// lay them out: flattened, and cut only when too long to show.
void TestPatternValues::pagesBeyondLimits()
{
    QFETCH(QString, file);
    QFETCH(QString, html);
    QFETCH(QString, error);
    QString path = QFINDTESTDATA(QStringLiteral("data/html/") + file);
    if (file.isEmpty()) {
        PatternValues pattern;
        pattern.tabs.emplace_back();
        pattern.tabs.back().directions = std::make_unique<DirectionsValues>();
        pattern.tabs.back().directions->html = html;
        path = write(QStringLiteral("long.kit"), bytesOf(pattern));
    }
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Rich text beyond")));
    if (!error.isEmpty())
        QTest::ignoreMessage(QtDebugMsg, "Error loading document in pattern file");
    PatternValues read;
    QCOMPARE(readFile(path, read), PatternFile::Ok);
    if (error.isEmpty())
        QCOMPARE(read.errors, QStringList());
    else
        QCOMPARE(read.errors.filter(QRegularExpression(error)).size(), 1);

    const QString &bounded = read.tabs.at(0).directions->html;
    BoundedHtml::Changes again;
    BoundedHtml::bound(bounded, &again);
    QVERIFY2(!again.any(), qPrintable(again.describe()));
    QTextDocument page;
    page.setHtml(bounded);
    QVERIFY(HtmlFixtures::shapeOf(page).tableDepth <= BoundedHtml::Limits().tableDepth);
    QVERIFY(page.toPlainText().contains(file.isEmpty() ? QStringLiteral("knit two") : QStringLiteral("x")));
}

YARNWISE_GUI_TEST_MAIN(TestPatternValues)
#include "tst_patternvalues.moc"
