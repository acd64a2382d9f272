// The program's batch modes, run as a user would run them: the real
// program in a child process with no display and a fresh home folder.
#include "chart.h"
#include "chartpicture.h"
#include "document.h"
#include "samplepattern.h"
#include "saveoptionsdialog.h"
#include "stitchset.h"
#include "testenvironment.h"

#include <QApplication>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSvgRenderer>
#include <QTest>

namespace {

struct Result
{
    int status = -1;
    QString out;
    QString err;
};

const char *const sampleInstructions =
    "\nLace Edging\n"
    "Cast on 11 stitches\n"
    "Row 1  (rs): k1, yo, ssk, k5, k2tog, yo, k1\n"
    "Row 2 (ws): p11\n"
    "Row 3  (rs): k2, yo, ssk, k3, k2tog, yo, k2\n"
    "Row 4 (ws): p11\n"
    "Row 5  (rs): k3, yo, ssk, k1, k2tog, yo, k3\n"
    "Row 6 (ws): p11\n"
    "Row 7  (rs): k4, yo, sk2p, yo, k4\n"
    "Row 8 (ws): p11\n"
    "\nCable Panel\n"
    "Cast on 10 stitches\n"
    "Row 1  (rs): p2, k6, p2\n"
    "Row 2 (ws): k2, p6, k2\n"
    "Row 3  (rs): p2, c6f, p2\n"
    "Row 4 (ws): k2, p6, k2\n"
    "Row 5  (rs): p2, k6, p2\n"
    "Row 6 (ws): k2, p6, k2\n"
    "\nColour Band\n"
    "Cast on 12 stitches\n"
    "Row 1  (rs): k12\n"
    "Row 2 (ws): p12\n"
    "Row 3  (rs): k12\n"
    "Row 4 (ws): p12\n"
    "Row 5  (rs): k12\n"
    "Row 6 (ws): p12\n";

// As a designer would print it; the lace edging's box repeats it across.
const char *const publishedInstructions =
    "\nLace Edging\n"
    "Cast on a multiple of 11 sts (11 sts in the chart).\n"
    "Row 1 (RS): *K1, yo, ssk, k5, k2tog, yo, k1; rep from * to end.\n"
    "Row 2 and all WS rows: Purl.\n"
    "Row 3: *K2, yo, ssk, k3, k2tog, yo, k2; rep from * to end.\n"
    "Row 5: *K3, yo, ssk, k1, k2tog, yo, k3; rep from * to end.\n"
    "Row 7: *K4, yo, sk2p, yo, k4; rep from * to end.\n"
    "Rep Rows 1–8.\n"
    "\nCable Panel\n"
    "Cast on 10 sts.\n"
    "Row 1 (RS): P2, k6, p2.\n"
    "Row 2 (WS): K2, p6, k2.\n"
    "Row 3: P2, C6F, p2.\n"
    "Row 4: K2, p6, k2.\n"
    "Row 5: P2, k6, p2.\n"
    "Row 6: K2, p6, k2.\n"
    "\nColour Band\n"
    "Cast on 12 sts.\n"
    "Row 1 and all RS rows: Knit.\n"
    "Row 2 and all WS rows: Purl.\n";

} // namespace

class TestCommandLine : public TestSuite
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { StitchSet::instance()->load(); }
    void init();

    void instructions_data();
    void instructions();
    void fromWritten_data();
    void fromWritten();
    void check();
    void helpAndVersion();
    void exportPdf_data();
    void exportPdf();
    void printReadyPdf();
    void exportPicture_data();
    void exportPicture();
    void errors_data();
    void errors();
    void failedExportKeepsOldFile();

private:
    Result run(const QStringList &arguments) const;
    QString scratch(const QString &name) const { return m_env->scratchPath(name); }

    QString m_sample;
};

void TestCommandLine::init()
{
    TestSuite::init();
    m_sample = scratch(QStringLiteral("harbour cowl.kit"));
    QString error;
    QVERIFY2(SamplePattern::write(m_sample, &error), qPrintable(error));
}

// Without a display and without a platform named: the batch modes choose
// the offscreen one themselves.
Result TestCommandLine::run(const QStringList &arguments) const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    const QString home = m_env->rootPath() + QStringLiteral("/home");
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/cache"));

    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(YARNWISE_PROGRAM), arguments);
    Result result;
    if (!program.waitForFinished(60000) || program.exitStatus() != QProcess::NormalExit)
        return result;
    result.status = program.exitCode();
    result.out = QString::fromUtf8(program.readAllStandardOutput());
    result.err = QString::fromUtf8(program.readAllStandardError());
    return result;
}

// The sample's charts are written as published unless --style says
// otherwise.
void TestCommandLine::instructions_data()
{
    QTest::addColumn<QStringList>("style");
    QTest::addColumn<QString>("text");
    QTest::newRow("each chart's own") << QStringList() << QString::fromUtf8(publishedInstructions);
    QTest::newRow("plain") << QStringList{"--style", "plain"} << QString::fromLatin1(sampleInstructions);
    QTest::newRow("published") << QStringList{"--style", "published"} << QString::fromUtf8(publishedInstructions);
    QTest::newRow("with Qt's own options") << QStringList{"-platform", "offscreen", "--style=plain"}
                                           << QString::fromLatin1(sampleInstructions);
}

void TestCommandLine::instructions()
{
    QFETCH(QStringList, style);
    QFETCH(QString, text);
    const Result result = run(QStringList{QStringLiteral("--instructions"), m_sample} + style);
    QCOMPARE(result.status, 0);
    QCOMPARE(result.out, text);
}

// A written pattern becomes a pattern file of one chart, or, with any line
// not read, nothing at all and the lines on standard error.
void TestCommandLine::fromWritten_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("output"); // the plain instructions of the file written, or the errors

    QTest::newRow("arrow lace") << "Arrow Lace\n\nCast on a multiple of 8 sts plus 1.\n"
                                   "Row 1 (RS): K1, *yo, ssk, k3, k2tog, yo, k1; rep from * to end.\n"
                                   "Row 2 and all WS rows: Purl.\n"
                                   "Row 3: K1, *k1, yo, ssk, k1, k2tog, yo, k2; rep from * to end.\n"
                                   "Row 5: K1, *k2, yo, sk2p, yo, k3; rep from * to end.\n"
                                   "Row 7: Knit.\nRep Rows 1–8.\n"
                                << 0
                                << "\nArrow Lace\nCast on 9 stitches\n"
                                   "Row 1  (rs): k1, yo, ssk, k3, k2tog, yo, k1\nRow 2 (ws): p9\n"
                                   "Row 3  (rs): k2, yo, ssk, k1, k2tog, yo, k2\nRow 4 (ws): p9\n"
                                   "Row 5  (rs): k3, yo, sk2p, yo, k3\nRow 6 (ws): p9\n"
                                   "Row 7  (rs): k9\nRow 8 (ws): p9\n";
    QTest::newRow("named after the file") << "Row 1: k2, p2\nRow 2: k2, p2\n" << 0
                                          << "\nrib\nCast on 4 stitches\nRow 1  (rs): k2, p2\nRow 2 (ws): k2, p2\n";
    QTest::newRow("lines not read") << "Rib\nCast on 4 sts.\nRow 1 (RS): k2, pp2\nWork even.\n" << 1
                                    << "Line 3: Row 1: 'pp2' is not a stitch\n"
                                       "Not a row: Work even.\n";
    QTest::newRow("no rows") << "Just a note.\n" << 1 << "No rows were found";
}

void TestCommandLine::fromWritten()
{
    QFETCH(QString, text);
    QFETCH(int, status);
    QFETCH(QString, output);
    const QString input = m_env->writeScratch(QStringLiteral("rib.txt"), text.toUtf8());
    const QString written = scratch(QStringLiteral("rib.kit"));
    const Result result = run({QStringLiteral("--from-written"), input, written});
    QCOMPARE(result.status, status);
    QCOMPARE(QFile::exists(written), status == 0);
    if (status != 0) {
        for (const QString &line : output.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            QVERIFY2(result.err.contains(line), qPrintable(result.err));
        return;
    }
    const Result instructions = run({QStringLiteral("--instructions"), written});
    QCOMPARE(instructions.out, output);
}

// The sample checks clean; its copy with one mistake of each kind gives
// one finding for each, one a line or as JSON, with status 1 while an
// error is not dismissed.
void TestCommandLine::check()
{
    const Result clean = run({QStringLiteral("--check"), m_sample});
    QCOMPARE(clean.status, 0);
    QCOMPARE(clean.out, QString());

    const std::unique_ptr<Document> doc = SamplePattern::createWithErrors();
    const QString pattern = scratch(QStringLiteral("mistakes.kit"));
    QVERIFY(PatternFile::save(pattern, [&doc](QDataStream &out) { return doc->save(out); }));
    const Result text = run({QStringLiteral("--check"), pattern});
    QCOMPARE(text.status, 1);
    const QString countError = QStringLiteral("Cable Panel: row 5: 10 stitches made, row 6 works 9");
    QCOMPARE(text.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts),
             (QStringList{
                 "error: " + countError,
                 "warning: Lace Edging: row 8 makes 10 from 11: its yarn overs and decreases do not balance; if this "
                 "is shaping, mark the row as shaping",
                 "warning: Lace Edging: row 2: twist is worked on a wrong-side row, and the key does not say how to "
                 "work it from the wrong side",
                 "warning: Cable Panel: row 3: the repeat box cuts a stitch in two",
                 "warning: Colour Band: row 4: a float of 10 stitches (5.6 cm), longer than 2.5 cm; catch it or break "
                 "up the colour",
                 "warning: The key: nub (Own Nub) has no description",
                 "warning: Chart 4 has no title",
                 "note: The Directions page never names the chart Picot Edge",
             }));

    // The error dismissed: neither printed nor counted, but marked for
    // scripts.
    doc->setDismissedFindings({countError});
    QVERIFY(PatternFile::save(pattern, [&doc](QDataStream &out) { return doc->save(out); }));
    const Result dismissed = run({QStringLiteral("--check"), pattern});
    QCOMPARE(dismissed.status, 0);
    QVERIFY(!dismissed.out.contains(countError));
    const Result json = run({QStringLiteral("--check"), pattern, QStringLiteral("--format"), QStringLiteral("json")});
    QCOMPARE(json.status, 0);
    const QJsonArray findings = QJsonDocument::fromJson(json.out.toUtf8()).array();
    QCOMPARE(findings.size(), 8);
    QCOMPARE(findings.first().toObject().value(QStringLiteral("severity")).toString(), QStringLiteral("error"));
    QVERIFY(findings.first().toObject().value(QStringLiteral("dismissed")).toBool());

    QCOMPARE(run({QStringLiteral("--check"), pattern, QStringLiteral("--format"), QStringLiteral("xml")}).status, 2);
}

void TestCommandLine::helpAndVersion()
{
    const Result version = run({QStringLiteral("--version")});
    QCOMPARE(version.status, 0);
    QVERIFY2(version.out.startsWith(QStringLiteral("Yarnwise 1.5.4")), qPrintable(version.out));

    const Result help = run({QStringLiteral("--help")});
    QCOMPARE(help.status, 0);
    for (const char *option : {"--instructions", "--export-pdf", "--export-chart", "--export-key", "--select"})
        QVERIFY2(help.out.contains(QLatin1String(option)), option);
}

void TestCommandLine::exportPdf_data()
{
    QTest::addColumn<QStringList>("select");
    QTest::addColumn<int>("pages");

    QTest::newRow("directions by default") << QStringList() << 1;
    QTest::newRow("directions") << QStringList{QStringLiteral("[Document]")} << 1;
    QTest::newRow("key") << QStringList{QStringLiteral("[Key]")} << 1;
    QTest::newRow("one chart") << QStringList{QStringLiteral("Cable Panel")} << 1;
    QTest::newRow("two charts") << QStringList{QStringLiteral("Colour Band"), QStringLiteral("Lace Edging")} << 2;
}

void TestCommandLine::exportPdf()
{
    QFETCH(QStringList, select);
    QFETCH(int, pages);

    const QString output = scratch(QStringLiteral("out.pdf"));
    QStringList arguments{QStringLiteral("--export-pdf"), output, m_sample};
    for (const QString &item : select)
        arguments << QStringLiteral("--select") << item;
    const Result result = run(arguments);
    QVERIFY2(result.status == 0, qPrintable(result.err));

    QVERIFY(TestEnvironment::readFile(output).startsWith("%PDF-"));
    if (!Poppler::installed())
        return;
    QCOMPARE(Poppler::pages(output), pages);
    // Charts and the key as lines and shapes: sharp in print.
    QCOMPARE(Poppler::images(output), 0);
    // A shop lists the file by the pattern's title.
    QCOMPARE(Poppler::info(output, QStringLiteral("Title")), QStringLiteral("Harbour Cowl"));
    QCOMPARE(Poppler::info(output, QStringLiteral("Creator")), QStringLiteral("Yarnwise"));
    // The sample's two colours are named in its key, as in the window's.
    if (select == QStringList{QStringLiteral("[Key]")}) {
        const QString text = Poppler::text(output).simplified();
        for (const char *name : {"MC", "CC1"})
            QVERIFY2(text.contains(QLatin1String(name)), qPrintable(text));
    }
}

// The sample as it goes to print. On the Directions page the pictures of a
// chart, part of a chart and the key are drawn as lines, and the key stays
// whole on one page; the 120-row yoke is split over pages, each saying
// what it holds and numbering every row it shows, neighbours sharing a row.
void TestCommandLine::printReadyPdf()
{
    if (!Poppler::installed())
        QSKIP("poppler-utils is not installed");
    const QString kit = scratch(QStringLiteral("for print.kit"));
    QString error;
    QVERIFY2(SamplePattern::writeForPrint(kit, &error), qPrintable(error));

    const QString directions = scratch(QStringLiteral("directions.pdf"));
    QCOMPARE(run({QStringLiteral("--export-pdf"), directions, kit}).status, 0);
    QCOMPARE(Poppler::images(directions), 0);
    int keyPages = 0;
    for (const QString &page : Poppler::text(directions).split(QLatin1Char('\f'))) {
        if (page.contains(QLatin1String("Cable 6 Front")) || page.contains(QLatin1String("pattern repeat"))) {
            QVERIFY(page.contains(QLatin1String("Cable 6 Front")) && page.contains(QLatin1String("pattern repeat")));
            ++keyPages;
        }
    }
    QCOMPARE(keyPages, 1);

    const QString yoke = scratch(QStringLiteral("yoke.pdf"));
    QCOMPARE(run({QStringLiteral("--export-pdf"), yoke, QStringLiteral("--select"), QStringLiteral("Diamond Yoke"), kit})
                 .status,
             0);
    QCOMPARE(Poppler::images(yoke), 0);
    QStringList pages = Poppler::text(yoke).split(QLatin1Char('\f'));
    pages.removeAll(QString());
    QVERIFY(pages.size() >= 2);
    const QRegularExpression heading(
        QStringLiteral("Diamond Yoke, rows (\\d+)–(\\d+), stitches 1–32 \\(page (\\d+) of (\\d+)\\)"));
    int nextRow = 1;
    for (int i = 0; i < pages.size(); ++i) {
        const QRegularExpressionMatch match = heading.match(pages.at(i));
        QVERIFY2(match.hasMatch(), qPrintable(pages.at(i).left(200)));
        QCOMPARE(match.captured(3).toInt(), i + 1);
        QCOMPARE(match.captured(4).toInt(), int(pages.size()));
        QCOMPARE(match.captured(1).toInt(), nextRow);
        const int last = match.captured(2).toInt();
        const QStringList words = pages.at(i).split(QRegularExpression(QStringLiteral("\\s+")));
        for (int row = nextRow; row <= last; ++row)
            QVERIFY2(words.contains(QString::number(row)), qPrintable(QString::number(row)));
        nextRow = last;
    }
    QCOMPARE(nextRow, 120);
}

void TestCommandLine::exportPicture_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("dotsPerInch");

    QTest::newRow("chart png, own size") << QStringList{QStringLiteral("--export-chart")} << "chart.png"
                                         << QByteArray("png") << 0 << 300;
    QTest::newRow("chart jpg by name, width and dpi")
        << QStringList{QStringLiteral("--export-chart"), QStringLiteral("--chart"), QStringLiteral("Colour Band"),
                       QStringLiteral("--width"), QStringLiteral("600"), QStringLiteral("--dpi"),
                       QStringLiteral("300")}
        << "chart.jpg" << QByteArray("jpeg") << 600 << 300;
    QTest::newRow("chart tif") << QStringList{QStringLiteral("--export-chart"), QStringLiteral("--width"),
                                              QStringLiteral("200")}
                               << "chart.tif" << QByteArray("tiff") << 200 << 300;
    QTest::newRow("chart bmp") << QStringList{QStringLiteral("--export-chart"), QStringLiteral("--width"),
                                              QStringLiteral("100")}
                               << "Chart.BMP" << QByteArray("bmp") << 100 << 0;
    QTest::newRow("key png") << QStringList{QStringLiteral("--export-key")} << "key.png" << QByteArray("png") << 0
                             << 300;
    QTest::newRow("key png at 150 dpi") << QStringList{QStringLiteral("--export-key"), QStringLiteral("--dpi"),
                                                       QStringLiteral("150")}
                                        << "key.png" << QByteArray("png") << 0 << 150;
    QTest::newRow("chart svg") << QStringList{QStringLiteral("--export-chart")} << "chart.svg" << QByteArray("svg")
                               << 0 << 0;
    QTest::newRow("part of a chart, png")
        << QStringList{QStringLiteral("--export-chart"), QStringLiteral("--rows"), QStringLiteral("1-4"),
                       QStringLiteral("--stitches"), QStringLiteral("2-5")}
        << "part.png" << QByteArray("png") << 0 << 300;
    QTest::newRow("key svg") << QStringList{QStringLiteral("--export-key")} << "key.svg" << QByteArray("svg") << 0
                             << 0;
}

void TestCommandLine::exportPicture()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, fileName);
    QFETCH(QByteArray, format);
    QFETCH(int, width);
    QFETCH(int, dotsPerInch);

    const QString output = scratch(fileName);
    arguments.insert(1, output);
    arguments.insert(2, m_sample);
    const Result result = run(arguments);
    QVERIFY2(result.status == 0, qPrintable(result.err));
    // A batch run builds no widget and no pixmap, which would need a window system.
    for (const char *complaint : {"QWidget", "QApplication", "QPixmap"})
        QVERIFY2(!result.err.contains(QLatin1String(complaint)), qPrintable(result.err));
    if (format == "svg") {
        QSvgRenderer renderer(output);
        QVERIFY(renderer.isValid());
        QVERIFY(!renderer.defaultSize().isEmpty());
        // Symbols as paths, sharp at any size, never as pictures.
        QVERIFY(!TestEnvironment::readFile(output).contains("<image"));
        return;
    }

    QImageReader reader(output);
    QCOMPARE(reader.format(), format);
    const QImage image = reader.read();
    QVERIFY(!image.isNull());
    QVERIFY(image.width() >= 10 && image.height() >= 10);
    if (width > 0)
        QCOMPARE(image.width(), width);
    if (arguments.first() == QLatin1String("--export-chart") && width == 0) {
        // The window's Save Options dialog offers the chart's own size in
        // inches, at 300 pixels an inch, or the part's: rows 1-4 and
        // stitches 2-5 of the 11 by 8 edging.
        const std::unique_ptr<Document> doc = SamplePattern::create();
        const Chart *edging = doc->charts().first();
        const QSizeF part = ChartPicture::partSize(*edging->grid(), ChartPicture::preferredStyle(*edging->grid()),
                                                   QRect(6, 4, 4, 4));
        const bool whole = !arguments.contains(QLatin1String("--rows"));
        SaveOptionsDialog options((whole ? edging->imageSourceRect().size() : part).toSize(), 300);
        QCOMPARE(image.size(), options.imageSize());
    }
    if (dotsPerInch > 0)
        QCOMPARE(qRound(image.dotsPerMeterX() / 39.37), dotsPerInch);
    // Charts are large flat areas of colour: the lossless formats are
    // written compressed, well under a byte a pixel.
    if (format == "png" || format == "tiff")
        QVERIFY(QFileInfo(output).size() < qint64(image.width()) * image.height());
}

void TestCommandLine::errors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");

    const QString sample = QStringLiteral("SAMPLE");
    const QString out = QStringLiteral("OUT.png");
    QTest::newRow("missing file") << QStringList{QStringLiteral("--instructions"), QStringLiteral("nowhere.kit")} << 1
                                  << "Could not read";
    QTest::newRow("not a pattern") << QStringList{QStringLiteral("--instructions"), QStringLiteral("NOTPATTERN")} << 1
                                   << "This file is not recognized by Yarnwise.";
    QTest::newRow("damaged pattern") << QStringList{QStringLiteral("--instructions"), QStringLiteral("DAMAGED")} << 1
                                     << "Error loading";
    QTest::newRow("unknown chart") << QStringList{QStringLiteral("--export-chart"), out, sample,
                                                  QStringLiteral("--chart"), QStringLiteral("Sleeve")}
                                   << 1 << "no chart named \"Sleeve\". Its charts are: Lace Edging, Cable Panel";
    QTest::newRow("unknown pdf item") << QStringList{QStringLiteral("--export-pdf"), QStringLiteral("OUT.pdf"), sample,
                                                     QStringLiteral("--select"), QStringLiteral("Sleeve")}
                                      << 1 << "no chart named \"Sleeve\"";
    QTest::newRow("key with a chart") << QStringList{QStringLiteral("--export-pdf"), QStringLiteral("OUT.pdf"),
                                                     sample, QStringLiteral("--select"), QStringLiteral("[Key]"),
                                                     QStringLiteral("--select"), QStringLiteral("Cable Panel")}
                                      << 2 << "select them alone";
    QTest::newRow("unwritable output") << QStringList{QStringLiteral("--export-key"),
                                                      QStringLiteral("no/such/folder/key.png"), sample}
                                       << 1 << "Could not write the key";
    QTest::newRow("no pattern") << QStringList{QStringLiteral("--instructions")} << 2 << "exactly one pattern file";
    QTest::newRow("two patterns") << QStringList{QStringLiteral("--instructions"), sample, sample} << 2
                                  << "exactly one pattern file";
    QTest::newRow("two modes") << QStringList{QStringLiteral("--instructions"), QStringLiteral("--export-key"), out,
                                              sample}
                               << 2 << "only one of";
    QTest::newRow("no picture suffix") << QStringList{QStringLiteral("--export-chart"), QStringLiteral("OUT"), sample}
                                       << 2 << "needs a picture suffix";
    QTest::newRow("absurd width") << QStringList{QStringLiteral("--export-chart"), out, sample,
                                                 QStringLiteral("--width"), QStringLiteral("99999999999")}
                                  << 2 << "--width takes a whole number from 10 to 10000";
    QTest::newRow("rows past the chart") << QStringList{QStringLiteral("--export-chart"), out, sample,
                                                        QStringLiteral("--rows"), QStringLiteral("3-9")}
                                         << 1 << "The chart's rows are numbered 1 to 8 and its stitches 1 to 11.";
    QTest::newRow("stitches backwards") << QStringList{QStringLiteral("--export-chart"), out, sample,
                                                       QStringLiteral("--stitches"), QStringLiteral("5-2")}
                                        << 2 << "--stitches takes the first and last to export, such as 1-12.";
    QTest::newRow("dpi without a picture") << QStringList{QStringLiteral("--instructions"), sample,
                                                          QStringLiteral("--dpi"), QStringLiteral("300")}
                                           << 2 << "--dpi goes with --export-chart";
    QTest::newRow("unknown style") << QStringList{QStringLiteral("--instructions"), sample, QStringLiteral("--style"),
                                                  QStringLiteral("fancy")}
                                   << 2 << "--style takes \"plain\" or \"published\"";
    QTest::newRow("style without instructions") << QStringList{QStringLiteral("--export-key"), out, sample,
                                                               QStringLiteral("--style"), QStringLiteral("plain")}
                                                << 2 << "--style goes with --instructions";
    QTest::newRow("written pattern without a file to write") << QStringList{QStringLiteral("--from-written"),
                                                                            QStringLiteral("IN.txt")}
                                                             << 2 << "exactly one pattern file to write";
    QTest::newRow("written pattern missing") << QStringList{QStringLiteral("--from-written"),
                                                            QStringLiteral("nowhere.txt"), QStringLiteral("OUT.kit")}
                                             << 1 << "Could not read";
    QTest::newRow("unknown option") << QStringList{QStringLiteral("--instructions"), QStringLiteral("--colour"), sample}
                                    << 2 << "Unknown option 'colour'";
}

void TestCommandLine::errors()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, message);

    const QString notPattern = m_env->writeScratch(QStringLiteral("notes.kit"), "Cast on 20 stitches and knit.\n");
    const QByteArray sample = TestEnvironment::readFile(m_sample);
    const QString damaged = m_env->writeScratch(QStringLiteral("damaged.kit"), sample.left(sample.size() / 2));

    for (QString &argument : arguments) {
        if (argument == QLatin1String("SAMPLE"))
            argument = m_sample;
        else if (argument == QLatin1String("NOTPATTERN"))
            argument = notPattern;
        else if (argument == QLatin1String("DAMAGED"))
            argument = damaged;
        else if (argument.startsWith(QLatin1String("OUT")) || argument.contains(QLatin1Char('/')))
            argument = scratch(argument);
    }
    const Result result = run(arguments);
    QCOMPARE(result.status, status);
    QVERIFY2(result.err.contains(message), qPrintable(result.err));
    QVERIFY(result.out.isEmpty());
    QVERIFY(!QFile::exists(scratch(QStringLiteral("OUT.png"))));
}

// An export that fails neither leaves a broken file nor destroys the one
// that was there.
void TestCommandLine::failedExportKeepsOldFile()
{
    const QString output = m_env->writeScratch(QStringLiteral("chart.png"), "last week's chart");

    const Result failed = run({QStringLiteral("--export-chart"), output, m_sample, QStringLiteral("--chart"),
                               QStringLiteral("Sleeve")});
    QCOMPARE(failed.status, 1);
    QCOMPARE(TestEnvironment::readFile(output), QByteArray("last week's chart"));
    QCOMPARE(QDir(scratch(QString())).entryList(QDir::Files | QDir::Hidden).size(), 2); // the sample and the old chart

    const Result replaced = run({QStringLiteral("--export-chart"), output, m_sample});
    QCOMPARE(replaced.status, 0);
    QVERIFY(!QImage(output).isNull());
    QVERIFY(QFileInfo(output).permissions() & QFile::ReadOther);
}

YARNWISE_TEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
