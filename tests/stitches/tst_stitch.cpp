#include "stitch.h"
#include "testenvironment.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QSignalSpy>
#include <QSvgRenderer>
#include <QtTest>

class TestStitch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void abbreviations();
    void matchesAbbreviation_data();
    void matchesAbbreviation();
    void cellsPerStitch();
    void imageTypes_data();
    void imageTypes();
    void rasterImage();
    void outOfRangeImages();
    void imageCache();
    void iconSize();
    void emptyPathListKeepsIcon();
    void updateStitchCopiesDefinition();

private:
    QString writePicture(const QString &name, const QColor &colour);
    std::unique_ptr<TestEnvironment> m_env;
};

// A picture in the format that the name's suffix stands for, whatever it is.
QString TestStitch::writePicture(const QString &name, const QColor &colour)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(colour);
    const QString path = m_env->scratchPath(name);
    const QByteArray format = QFileInfo(name).suffix().toLower() == QLatin1String("jpg") ? "JPG" : "PNG";
    return pixmap.save(path, format.constData()) ? path : QString();
}

void TestStitch::abbreviations()
{
    Stitch stitch;
    QCOMPARE(stitch.stitchID(), QStringLiteral("?"));

    QSignalSpy changed(&stitch, &Stitch::abbrivsChanged);
    stitch.addAbbriv(QStringLiteral("K2TOG"));
    stitch.addAbbriv(QStringLiteral("k2tog"));
    QCOMPARE(stitch.abbrivs(), QStringList{QStringLiteral("k2tog")});
    QCOMPARE(changed.count(), 1);

    stitch.addAbbriv(QStringLiteral("dec"));
    QCOMPARE(stitch.stitchID(), QStringLiteral("k2tog"));

    stitch.setAbbrivs({});
    QCOMPARE(stitch.abbrivs(), (QStringList{QStringLiteral("k2tog"), QStringLiteral("dec")}));

    // Taken exactly as given: no lower-casing, duplicates kept.
    stitch.setAbbrivs({QStringLiteral("A"), QStringLiteral("A")});
    QCOMPARE(stitch.abbrivs(), (QStringList{QStringLiteral("A"), QStringLiteral("A")}));
    QCOMPARE(stitch.stitchID(), QStringLiteral("A"));
    QCOMPARE(changed.count(), 3);
    QCOMPARE(changed.last().at(0).toStringList(), (QStringList{QStringLiteral("k2tog"), QStringLiteral("dec")}));

    // Many more, each twice: still every one once, after a replacement too.
    for (const QStringList &start : {QStringList{QStringLiteral("a")}, QStringList{QStringLiteral("b")}}) {
        stitch.setAbbrivs(start);
        for (int round = 0; round < 2; ++round) {
            for (int i = 0; i < 40; ++i)
                stitch.addAbbriv(QStringLiteral("X%1").arg(i));
        }
        QCOMPARE(stitch.abbrivs().size(), 41);
        QCOMPARE(stitch.abbrivs().first(), start.first());
        QCOMPARE(stitch.abbrivs().last(), QStringLiteral("x39"));
    }
}

void TestStitch::matchesAbbreviation_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<bool>("matches");
    QTest::newRow("same") << "k2tog" << true;
    QTest::newRow("upper case") << "K2TOG" << true;
    QTest::newRow("second abbreviation") << "Dec" << true;
    QTest::newRow("trailing blank") << "k2tog " << false;
    QTest::newRow("leading blank") << " k2tog" << false;
    QTest::newRow("prefix") << "k2" << false;
    QTest::newRow("empty") << "" << false;
}

void TestStitch::matchesAbbreviation()
{
    QFETCH(QString, query);
    QFETCH(bool, matches);
    Stitch stitch;
    stitch.addAbbriv(QStringLiteral("k2tog"));
    stitch.addAbbriv(QStringLiteral("dec"));
    QCOMPARE(stitch.hasAbbriv(query), matches);
}

void TestStitch::cellsPerStitch()
{
    Stitch stitch;
    QCOMPARE(stitch.cellsPerStitch(), 1);
    const QString k = QStringLiteral(":/stitches/unknown.svg");
    stitch.setPaths({k, k, k, k});
    QCOMPARE(stitch.cellsPerStitch(), 4);
    stitch.clearPaths();
    QCOMPARE(stitch.cellsPerStitch(), 1);
}

// Keeps the messages logged while it lives, and passes them on.
class LogCapture
{
public:
    LogCapture() { s_previous = qInstallMessageHandler(&LogCapture::record); }
    ~LogCapture() { qInstallMessageHandler(s_previous); }
    static QStringList &messages()
    {
        static QStringList seen;
        return seen;
    }

private:
    static void record(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        messages().append(message);
        s_previous(type, context, message);
    }
    static inline QtMessageHandler s_previous = nullptr;
};

// `make` writes the file under the scratch folder: a picture in the format
// its suffix names, or the bytes given; otherwise `path` is used as it is.
// Only an SVG file that does not parse is logged as invalid.
void TestStitch::imageTypes_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("make");
    QTest::addColumn<QString>("type");
    QTest::addColumn<bool>("storedAsGiven");
    QTest::addColumn<QString>("log");

    const QString placeholder = Stitch::placeholderPath();
    QTest::newRow("empty path") << "" << "" << "None" << false << "";
    QTest::newRow("missing file") << "/no/such/stitch.svg" << "" << "Missing" << false
                                  << "stitch icon file does not exist: \"/no/such/stitch.svg\"";
    QTest::newRow("svg resource") << placeholder << "" << "svg" << true << "";
    QTest::newRow("png") << "red.png" << "picture" << "png" << true << "";
    QTest::newRow("capital suffix") << "RED.PNG" << "picture" << "png" << true << "";
    QTest::newRow("jpeg") << "red.jpg" << "picture" << "jpg" << true << "";
    QTest::newRow("broken svgz") << "broken.svgz" << "not gzip" << "Invalid" << true << "";
    QTest::newRow("broken svg") << "broken.svg" << "<svg" << "Invalid" << true << "";
    QTest::newRow("picture named svg") << "red.svg" << "picture" << "Invalid" << true << "";
}

void TestStitch::imageTypes()
{
    QFETCH(QString, path);
    QFETCH(QString, make);
    QFETCH(QString, type);
    QFETCH(bool, storedAsGiven);
    QFETCH(QString, log);

    if (make == QLatin1String("picture"))
        path = writePicture(path, Qt::red);
    else if (!make.isEmpty())
        path = m_env->writeScratch(path, make.toUtf8());
    const bool invalid = type == QLatin1String("Invalid");
    if (invalid)
        QTest::ignoreMessage(QtDebugMsg, QStringLiteral("svg file is not valid: \"%1\"").arg(path).toUtf8());
    if (!log.isEmpty())
        QTest::ignoreMessage(QtDebugMsg, log.toUtf8());
    LogCapture capture;
    LogCapture::messages().clear();
    Stitch stitch;
    stitch.setPaths({path});
    QCOMPARE(stitch.imageTypes(), QStringList{type});
    QCOMPARE(stitch.paths(), QStringList{storedAsGiven ? path : Stitch::placeholderPath()});
    QCOMPARE(stitch.cellsPerStitch(), 1);
    QVERIFY(stitch.svg(0));
    QVERIFY(stitch.svg(0)->isValid());
    QCOMPARE(LogCapture::messages().filter(QStringLiteral("svg file is not valid")).size(), invalid ? 1 : 0);
}

void TestStitch::rasterImage()
{
    const QString png = writePicture(QStringLiteral("red.png"), Qt::red);
    Stitch stitch;
    stitch.setPaths({png});

    QCOMPARE(stitch.path(0), png);
    // Drawn as the picture it is, in the cell and in the icon...
    QCOMPARE(stitch.image(20, 20, 0)->toImage().pixelColor(10, 10), QColor(Qt::red));
    QCOMPARE(stitch.icon().pixmap(64, 64).toImage().pixelColor(32, 32), QColor(Qt::red));
    // ...while the renderer stands in with the placeholder.
    QSvgRenderer placeholder(Stitch::placeholderPath());
    QCOMPARE(stitch.svg(0)->defaultSize(), placeholder.defaultSize());
}

void TestStitch::outOfRangeImages()
{
    Stitch stitch;
    stitch.setPaths({QStringLiteral(":/stitches/unknown.svg")});
    QCOMPARE(stitch.path(-1), Stitch::placeholderPath());
    QCOMPARE(stitch.path(1), Stitch::placeholderPath());
    QSvgRenderer *outside = stitch.svg(1);
    QVERIFY(outside);
    QVERIFY(outside->isValid());
    QVERIFY(outside != stitch.svg(0));
    QVERIFY(!stitch.image(24, 22, 5)->isNull());
    // A chart full of odd indexes gets one placeholder, not one per index.
    QCOMPARE(stitch.image(24, 22, 6), stitch.image(24, 22, 5));
    QCOMPARE(stitch.image(24, 22, -7), stitch.image(24, 22, 5));
    QVERIFY(stitch.image(24, 22, 0) != stitch.image(24, 22, 5));
}

void TestStitch::imageCache()
{
    Stitch stitch;
    stitch.setPaths({QStringLiteral(":/stitches/unknown.svg"), QStringLiteral(":/stitches/unknown.svg")});
    QPixmap *first = stitch.image(32, 32, 0);
    QCOMPARE(first->size(), QSize(32, 32));
    QCOMPARE(stitch.image(32, 32, 0), first);
    QVERIFY(stitch.image(48, 48, 0) != first);
    QVERIFY(stitch.image(32, 32, 1) != first);
    QCOMPARE(stitch.image(24, 22, 1)->size(), QSize(24, 22));

    // Absurd sizes are kept within reason instead of exhausting memory.
    QVERIFY(stitch.image(0, -5, 0)->width() >= 1);
    QVERIFY(stitch.image(1000000, 10, 0)->width() <= 8192);

    // New images drop every cached picture.
    QSignalSpy updated(&stitch, &Stitch::updateImage);
    stitch.setPaths({QStringLiteral(":/stitches/unknown.svg")});
    QCOMPARE(updated.count(), 1);
    QCOMPARE(stitch.image(32, 32, 0)->size(), QSize(32, 32));
}

void TestStitch::iconSize()
{
    Stitch stitch;
    const QString k = Stitch::placeholderPath();
    stitch.setPaths({k, k, k});
    const QList<QSize> sizes = stitch.icon().availableSizes();
    QCOMPARE(sizes, QList<QSize>{QSize(192, 64)});
    stitch.setPaths({k});
    QCOMPARE(stitch.icon().availableSizes(), QList<QSize>{QSize(64, 64)});
}

void TestStitch::emptyPathListKeepsIcon()
{
    Stitch stitch;
    stitch.setPaths({Stitch::placeholderPath()});
    const qint64 iconKey = stitch.icon().cacheKey();

    QSignalSpy updated(&stitch, &Stitch::updateImage);
    stitch.setPaths({});
    QCOMPARE(updated.count(), 1);
    QVERIFY(stitch.paths().isEmpty());
    QCOMPARE(stitch.icon().cacheKey(), iconKey);
}

void TestStitch::updateStitchCopiesDefinition()
{
    Stitch source;
    source.setName(QStringLiteral("Bobble"));
    source.setCategory(QStringLiteral("Advanced"));
    source.setDescription(QStringLiteral("Make a bobble"));
    source.setOpposite(QStringLiteral("bo"));
    source.addAbbriv(QStringLiteral("bo"));
    source.setPaths({Stitch::placeholderPath(), Stitch::placeholderPath()});
    source.builtin = true;
    source.temporary = true;
    source.setWorked(5);
    // Brought into range: an absurd number never reaches a chart's counts.
    source.setMade(-3);
    QCOMPARE(source.made(), 0);
    source.setMade(1000);
    QCOMPARE(source.made(), StitchRecord::mostStitches);
    source.setMade(1);

    Stitch target;
    target.addAbbriv(QStringLiteral("old"));
    QSignalSpy updated(&target, &Stitch::updateImage);
    target.updateStitch(&source);

    QCOMPARE(updated.count(), 1);
    QCOMPARE(target.name(), QStringLiteral("Bobble"));
    QCOMPARE(target.category(), QStringLiteral("Advanced"));
    QCOMPARE(target.description(), QStringLiteral("Make a bobble"));
    QCOMPARE(target.opposite(), QStringLiteral("bo"));
    QCOMPARE(target.abbrivs(), QStringList{QStringLiteral("bo")});
    QCOMPARE(target.cellsPerStitch(), 2);
    QCOMPARE(target.worked(), 5);
    QCOMPARE(target.made(), 1);
    QCOMPARE(target.record().worked, 5);
    QVERIFY(target.builtin);
    QVERIFY(!target.temporary);
}

YARNWISE_GUI_TEST_MAIN(TestStitch)
#include "tst_stitch.moc"
