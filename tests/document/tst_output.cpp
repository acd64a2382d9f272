#include "chart.h"
#include "directions.h"
#include "directionsprinter.h"
#include "directionsrecord.h"
#include "document.h"
#include "imagefixtures.h"
#include "knitscene.h"
#include "modaldialog.h"
#include "patternfile.h"
#include "patternfixtures.h"
#include "pdfdialog.h"
#include "preferences.h"
#include "printdialog.h"
#include "samplepattern.h"
#include "settings.h"
#include "stitch.h"
#include "stitchkey.h"
#include "stitchset.h"
#include "testenvironment.h"
#include "textedit.h"

#include <QCheckBox>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTabWidget>
#include <QtTest>

class TestOutput : public TestSuite
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { StitchSet::instance()->load(); }

    void keyColumns_data();
    void keyColumns();
    void keyHoldsEveryStitch();
    void keyNoStitchCell_data();
    void keyNoStitchCell();
    void keyWrongSide();
    void keyText_data();
    void keyText();
    void keyOfCable();
    void keyColours();
    void textLines_data();
    void textLines();
    void keyFiles();
    void printDialogExclusivity();
    void pdfDialogPaths();
    void printedPdf_data();
    void printedPdf();
    void directionsFooters_data();
    void directionsFooters();
    void chartPictureRefresh();
    void pictureNeverBreaks_data();
    void pictureNeverBreaks();
    void printReadyFromTheWindow();

private:
    static QList<Stitch *> stitches(int count);
};

QList<Stitch *> TestOutput::stitches(int count)
{
    QList<Stitch *> list;
    for (Stitch *stitch : StitchSet::instance()->stitches()) {
        if (list.size() == count)
            break;
        if (stitch->stitchID() != QLatin1String("x"))
            list.append(stitch);
    }
    return list;
}

static QImage keyImage(const StitchKey &key)
{
    QImage scratch(10, 10, QImage::Format_ARGB32);
    QSize size;
    {
        QPainter measure(&scratch);
        size = key.size(measure.fontMetrics());
    }
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::green);
    QPainter painter(&image);
    const QRect covered = key.paint(&painter);
    painter.end();
    return covered.size() == size ? image : QImage();
}

void TestOutput::keyColumns_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("repeat");
    QTest::addColumn<int>("width");
    QTest::newRow("eight in one column") << 8 << false << 300;
    QTest::newRow("nine in two columns") << 9 << false << 600;
    QTest::newRow("seven and the repeat in one column") << 7 << true << 300;
    QTest::newRow("eight and the repeat in two columns") << 8 << true << 600;
}

void TestOutput::keyColumns()
{
    QFETCH(int, count);
    QFETCH(bool, repeat);
    QFETCH(int, width);
    const QColor outline(0, 0, 255);
    const QImage image = keyImage(StitchKey(stitches(count), false, true, repeat ? outline : QColor()));
    QCOMPARE(image.width(), width);
    // Framed in black; a rule between two columns.
    QCOMPARE(image.pixelColor(0, image.height() / 2), QColor(Qt::black));
    QCOMPARE(image.pixelColor(width - 1, image.height() / 2), QColor(Qt::black));
    QCOMPARE(image.pixelColor(width / 2, image.height() - 1), QColor(Qt::black));
    QCOMPARE(image.pixelColor(300, image.height() / 2) == QColor(Qt::black), count + int(repeat) > 8);
    // The repeat box comes last, outlined in its colour.
    QCOMPARE(pixelsWhere(image, [&outline](const QColor &c) { return c == outline; }).count > 0, repeat);
    // The whole canvas is painted.
    for (int y = 0; y < image.height(); y += 7)
        QVERIFY(image.pixelColor(width / 3, y) != QColor(Qt::green));

    // With nine entries the first column is the longer one.
    if (count + int(repeat) == 9) {
        int lastRuleLeft = 0, lastRuleRight = 0;
        for (int y = 40; y < image.height() - 3; ++y) {
            if (image.pixelColor(150, y) == QColor(Qt::black) && image.pixelColor(250, y) == QColor(Qt::black))
                lastRuleLeft = y;
            if (image.pixelColor(450, y) == QColor(Qt::black) && image.pixelColor(550, y) == QColor(Qt::black))
                lastRuleRight = y;
        }
        QVERIFY(lastRuleLeft > lastRuleRight);
    }

    Document empty(1, 1, QStringLiteral("a.kit"), QStringLiteral("Chart"), QStringLiteral("k"));
    empty.stitchesUsed.clear();
    QVERIFY(empty.generateKeyImage().isNull());
}

// The key grows with the stitches in use: none is cut off.
void TestOutput::keyHoldsEveryStitch()
{
    const QImage image = keyImage(StitchKey(stitches(60), true, true));
    QVERIFY(!image.isNull());
    QVERIFY(image.height() > 2000);
    // The last entry of the longer column sits just above the bottom rule.
    const QRect bottom(10, image.height() - 40, image.width() - 20, 37);
    const QRect rule(StitchKey::columnWidth - 4, 0, 9, image.height()); // between the columns
    const QRect left = bottom & QRect(0, 0, rule.left(), image.height());
    const QRect right = bottom & QRect(rule.right() + 1, 0, image.width(), image.height());
    QVERIFY(pixelsWhere(image, darkerThan(100), left).count + pixelsWhere(image, darkerThan(100), right).count > 0);
}

void TestOutput::keyNoStitchCell_data()
{
    QTest::addColumn<bool>("gray");
    QTest::newRow("gray") << true;
    QTest::newRow("plain") << false;
}

void TestOutput::keyNoStitchCell()
{
    QFETCH(bool, gray);
    const QImage image = keyImage(StitchKey({StitchSet::instance()->findStitch(QStringLiteral("x"))}, false, gray));
    QImage scratch(10, 10, QImage::Format_ARGB32);
    QPainter measure(&scratch);
    const int top = measure.fontMetrics().height() + 17;
    const QColor inside = image.pixelColor(StitchKey::margin + 12, top + StitchKey::margin + 12);
    QCOMPARE(inside, gray ? QColor(76, 76, 76) : QColor(Qt::white));
}

void TestOutput::keyWrongSide()
{
    Stitch *k = StitchSet::instance()->findStitch(QStringLiteral("k"));
    const QImage plain = keyImage(StitchKey({k}, false, true));
    const QImage both = keyImage(StitchKey({k}, true, true));
    QVERIFY(both.height() > plain.height());
}

void TestOutput::keyText_data()
{
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("opposite");
    QTest::addColumn<bool>("wrongSide");
    QTest::addColumn<QString>("text");
    const QString twoSided = QStringLiteral("(k1, yo, k1) in the next st; on a WS row, (p1, yo, p1) in it");
    QTest::newRow("right side only") << "knit" << "mate" << false << "RS: knit.";
    QTest::newRow("both sides") << "knit" << "mate" << true << "RS: knit.\nWS: purl.";
    QTest::newRow("a sentence of its own") << " Make a bobble. " << "mate" << true << "RS: Make a bobble.\nWS: purl.";
    QTest::newRow("a question") << "Any colour?" << "mate" << false << "RS: Any colour?";
    QTest::newRow("no description") << "" << "mate" << true << "RS:\nWS: purl.";
    // Not the default stitch that a lookup of an unknown abbreviation gives.
    QTest::newRow("opposite not in the library") << "knit" << "no such stitch" << true << "RS: knit.\nWS:";
    QTest::newRow("its own opposite") << "yarn over" << "own" << true << "RS: yarn over.\nWS: yarn over.";
    QTest::newRow("own opposite worked otherwise")
        << twoSided << "own" << true << "RS: (k1, yo, k1) in the next st.\nWS: (p1, yo, p1) in it.";
    QTest::newRow("right side of a two-sided stitch") << twoSided << "own" << false << "RS: (k1, yo, k1) in the next st.";
    // Worked from the wrong side, another stitch is done as it is on the
    // right side.
    QTest::newRow("two-sided opposite") << "knit" << "twin" << true << "RS: knit.\nWS: (k2, yo) in the next st.";
}

// The side lines read as a designer writes them in a key.
void TestOutput::keyText()
{
    QFETCH(QString, description);
    QFETCH(QString, opposite);
    QFETCH(bool, wrongSide);
    QFETCH(QString, text);
    const auto ownStitch = [](const QString &id, const QString &description, const QString &opposite) {
        Stitch *stitch = StitchSet::instance()->findOrAdd(id);
        stitch->addAbbriv(id);
        stitch->setDescription(description);
        stitch->setOpposite(opposite);
        return stitch;
    };
    ownStitch(QStringLiteral("mate"), QStringLiteral("purl"), QStringLiteral("own"));
    ownStitch(QStringLiteral("twin"), QStringLiteral("(k2, yo) in the next st; on a WS row, (p2, yo) in it"),
              QStringLiteral("twin"));
    Stitch *stitch = ownStitch(QStringLiteral("own"), description, opposite);
    QCOMPARE(StitchKey({stitch}, wrongSide, true).description(stitch), text);
}

// A cable on a wrong-side row is crossed as from the right side, its
// stitches purled.
void TestOutput::keyOfCable()
{
    Stitch *cable = StitchSet::instance()->findStitch(QStringLiteral("c6f"));
    QCOMPARE(StitchKey({cable}, true, true).description(cable),
             QStringLiteral("RS: sl 3 sts to cn, hold in front, k3, k3 from cn.\n"
                            "WS: sl 3 sts to cn, hold in front, p3, p3 from cn."));
}

// The key names the colours after the stitches, as a pattern of two
// colours or more needs; a pattern of one colour keeps its key as it was.
// A name given marks the pattern changed, goes into the key's picture on
// the Directions page at once, and is saved with the pattern.
void TestOutput::keyColours()
{
    if (!Poppler::installed())
        QSKIP("poppler-utils is not installed");
    Document doc(4, 3, QStringLiteral("a.kit"), QStringLiteral("Front"), QStringLiteral("k"));
    const QImage plain = doc.generateKeyImage();
    QCOMPARE(plain, StitchKey(doc.stitchesUsed, doc.showWS, Preferences::grayNoStitch.value()).image());
    const auto keyText = [this, &doc] {
        const QString path = m_env->scratchPath(QStringLiteral("key.pdf"));
        doc.print(pdfPrinter(path).get(), {QStringLiteral("[Key]")});
        return Poppler::text(path).simplified();
    };
    QVERIFY(!keyText().contains(QStringLiteral("MC")));

    doc.curChart()->knitScene()->setColor(QPoint(0, 0), Qt::red);
    const QImage coloured = doc.generateKeyImage();
    QVERIFY(coloured.height() > plain.height());
    QVERIFY(pixelsWhere(coloured, [](const QColor &c) { return c == QColor(Qt::red); }).count >= 20 * 20);
    QString text = keyText();
    QVERIFY2(text.contains(QStringLiteral("MC")) && text.contains(QStringLiteral("CC1")), qPrintable(text));

    Directions *page = doc.directions().first();
    doc.tabWidget()->setCurrentWidget(page);
    doc.docKeyHash = Directions::imageHash(coloured);
    page->insertChartImage(coloured);
    doc.markSaved();
    doc.setColourName(Qt::red, QStringLiteral("  Rust "));
    QVERIFY(doc.isWindowModified());
    QVERIFY(doc.docKeyHash != Directions::imageHash(coloured));
    QVERIFY(page->textEdit()->toHtml().contains(Directions::imageName(doc.docKeyHash)));
    text = keyText();
    QVERIFY2(text.contains(QStringLiteral("MC")) && text.contains(QStringLiteral("Rust")), qPrintable(text));
    QVERIFY(!text.contains(QStringLiteral("CC1")));

    bool read = false;
    const std::unique_ptr<Document> again = readPattern(patternBytes(doc), &read);
    QVERIFY(read);
    QCOMPARE(again->colourNames(), (ColourNames::Given{{QColor(Qt::red).rgba(), QStringLiteral("Rust")}}));
}

void TestOutput::textLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("lines");
    QTest::newRow("fits") << "knit" << 1;
    QTest::newRow("line break") << "knit\npurl" << 2;
    QTest::newRow("wraps at blanks") << QString("knit ").repeated(30) << -1;
    QTest::newRow("splits a long word") << QString(80, QLatin1Char('m')) << -1;
}

void TestOutput::textLines()
{
    QFETCH(QString, text);
    QFETCH(int, lines);
    const QStringList broken = Document::textLines(text, 278);
    if (lines > 0)
        QCOMPARE(broken.size(), lines);
    else
        QVERIFY(broken.size() > 1);
    QImage scratch(10, 10, QImage::Format_ARGB32);
    QPainter painter(&scratch);
    for (const QString &line : broken)
        QVERIFY(painter.fontMetrics().horizontalAdvance(line) <= 278);
    QCOMPARE(broken.join(QString()).remove(QLatin1Char(' ')).remove(QLatin1Char('\n')),
             QString(text).remove(QLatin1Char(' ')).remove(QLatin1Char('\n')));
}

void TestOutput::keyFiles()
{
    Document doc(3, 2, QStringLiteral("a.kit"), QStringLiteral("Chart"), QStringLiteral("k"));
    doc.curChart()->knitScene()->setStitch(QPoint(0, 0), StitchSet::instance()->findStitch(QStringLiteral("yo")), 0);
    const QString jpeg = m_env->scratchPath(QStringLiteral("key"));
    QVERIFY(doc.saveKeyImage(jpeg));
    QVERIFY(QFile::exists(jpeg + QStringLiteral(".jpg")));
    const QString svg = m_env->scratchPath(QStringLiteral("key.svg"));
    QVERIFY(doc.saveKeyImage(svg));
    QFile file(svg);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();
    QVERIFY(content.contains("<title>Document Key</title>"));
    // The whole key, not a corner of it.
    const QImage key = doc.generateKeyImage();
    QVERIFY(content.contains(QStringLiteral("viewBox=\"0 0 %1 %2\"").arg(key.width()).arg(key.height()).toUtf8()));
}

void TestOutput::printDialogExclusivity()
{
    PrintDialog dialog({QStringLiteral("Front"), QStringLiteral("Back"), QStringLiteral("Sleeve")});
    QList<QCheckBox *> boxes = dialog.findChildren<QCheckBox *>();
    QCOMPARE(dialog.selected(), QStringList{"[Document]"});
    boxes.at(3)->setChecked(true); // Back
    QCOMPARE(dialog.selected(), QStringList{"Back"});
    boxes.at(4)->setChecked(true);
    boxes.at(2)->setChecked(true);
    QCOMPARE(dialog.selected(), (QStringList{"Front", "Back", "Sleeve"}));
    boxes.at(1)->setChecked(true); // [Key]
    QCOMPARE(dialog.selected(), QStringList{"[Key]"});
    boxes.at(0)->setChecked(true);
    QCOMPARE(dialog.selected(), QStringList{"[Document]"});
}

void TestOutput::pdfDialogPaths()
{
    QPrinter printer;
    PdfDialog dialog(&printer);
    dialog.setFileName(QStringLiteral("/home/knitter/patterns/Scarf.kit"));
    QCOMPARE(dialog.fileName(), QStringLiteral("/home/knitter/patterns/Scarf.pdf"));
    const QString out = m_env->scratchPath(QStringLiteral("out"));
    QVERIFY(QDir().mkpath(out));
    Settings::instance()->setValue(QStringLiteral("defaultFileLocation"), out);
    dialog.setFileName(QStringLiteral("unknown.kit"));
    QCOMPARE(dialog.fileName(), out + QStringLiteral("/unknown.pdf"));

    dialog.findChild<QLineEdit *>()->setText(QStringLiteral("/tmp/typed"));
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.fileName(), QStringLiteral("/tmp/typed.pdf"));

    PdfDialog empty(&printer);
    QString warning;
    answerNextBox(QMessageBox::Ok, &warning);
    empty.accept();
    QCOMPARE(warning.section(QLatin1Char('|'), 1, 1),
             QStringLiteral("Please select a file name if you want to create a PDF."));
    QVERIFY(empty.result() != int(QDialog::Accepted));
}

void TestOutput::printedPdf_data()
{
    QTest::addColumn<QStringList>("selection");
    QTest::addColumn<int>("pages");
    QTest::newRow("three charts") << QStringList{"Sleeve", "Front", "Back"} << 3;
    QTest::newRow("one chart") << QStringList{"Back"} << 1;
    QTest::newRow("key") << QStringList{"[Key]"} << 1;
    QTest::newRow("directions") << QStringList{"[Document]"} << 1;
}

void TestOutput::printedPdf()
{
    QFETCH(QStringList, selection);
    QFETCH(int, pages);
    if (!Poppler::installed())
        QSKIP("poppler-utils is not installed");

    Document doc(6, 4, QStringLiteral("a.kit"), QStringLiteral("Front"), QStringLiteral("k"));
    doc.addNewChart(5, 5, QStringLiteral("Back"), QStringLiteral("p"));
    doc.addNewChart(4, 8, QStringLiteral("Sleeve"), QStringLiteral("k"));
    doc.directions().first()->textEdit()->setPlainText(QStringLiteral("Cast on loosely."));

    const QString path = m_env->scratchPath(QStringLiteral("out.pdf"));
    doc.print(pdfPrinter(path).get(), selection);
    QCOMPARE(Poppler::pages(path), pages);

    if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
        return;
    QProcess render;
    render.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("30"), QStringLiteral("-png"),
                                                QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                                QStringLiteral("1"), path, m_env->scratchPath(QStringLiteral("page"))});
    QVERIFY(render.waitForFinished(20000));
    const QDir scratch(m_env->scratchPath(QString()));
    const QStringList rendered = scratch.entryList({QStringLiteral("page*.png")});
    QCOMPARE(rendered.size(), 1);
    const QImage page(scratch.filePath(rendered.first()));
    QVERIFY(pixelsWhere(page, darkerThan(128)).count > 0);
}

void TestOutput::directionsFooters_data()
{
    QTest::addColumn<bool>("credit");
    QTest::addColumn<QString>("custom");
    QTest::newRow("all footers") << true << "<b>Pattern by Ann</b>";
    QTest::newRow("page numbers only") << false << "";
}

void TestOutput::directionsFooters()
{
    QFETCH(bool, credit);
    QFETCH(QString, custom);
    if (!Poppler::installed())
        QSKIP("poppler-utils is not installed");
    QCoreApplication::setOrganizationDomain(QStringLiteral("yarnwise.example.org"));
    Settings::instance()->setValue(QStringLiteral("showDesignedFooter"), credit);
    Settings::instance()->setValue(QStringLiteral("customFooter"), custom);

    Document doc(3, 3, QStringLiteral("a.kit"), QStringLiteral("Front"), QStringLiteral("k"));
    QStringList paragraphs;
    for (int i = 1; i <= 120; ++i)
        paragraphs << QStringLiteral("Row %1: knit to the end of the row.").arg(i);
    doc.directions().first()->textEdit()->setPlainText(paragraphs.join(QLatin1Char('\n')));

    const QString path = m_env->scratchPath(QStringLiteral("directions.pdf"));
    doc.print(pdfPrinter(path).get(), {QStringLiteral("[Document]")});
    const int pages = Poppler::pages(path);
    QVERIFY(pages >= 2);
    const QString text = Poppler::text(path);
    QVERIFY(text.contains(QStringLiteral("Page 1 of %1").arg(pages)));
    QVERIFY(text.contains(QStringLiteral("Page %1 of %1").arg(pages)));
    QCOMPARE(text.contains(QStringLiteral("Designed with")), credit);
    QCOMPARE(text.contains(QStringLiteral("Pattern by Ann")), !custom.isEmpty());
    // Every row of the text made it onto some page.
    QVERIFY(text.contains(QStringLiteral("Row 1: knit")));
    QVERIFY(text.contains(QStringLiteral("Row 120: knit")));
}

void TestOutput::chartPictureRefresh()
{
    Document doc(6, 4, QStringLiteral("a.kit"), QStringLiteral("Front"), QStringLiteral("k"));
    Chart *chart = doc.charts().first();
    Directions *page = doc.directions().first();
    const QImage picture = doc.generateChart(chart, 6.5, 9.0);
    // The size asked for, not whole inches, so that the picture drawn anew
    // is as large as this one, also after the pattern is saved and read.
    QCOMPARE(chart->imgSize, QSizeF(6.5, 9));
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    QVERIFY(doc.save(out));
    QDataStream in(bytes);
    in.setByteOrder(QDataStream::BigEndian);
    qint32 magic = 0, version = 0;
    in >> magic >> version;
    PatternValues read;
    QVERIFY(PatternFile::read(in, read));
    QCOMPARE(read.charts().first()->imageSize, QSizeF(6.5, 9));
    chart->setHash(Directions::imageHash(picture));
    page->insertChartImage(picture);
    const QString before = page->textEdit()->toHtml();

    // Unchanged: the page is left alone.
    doc.tabWidget()->setCurrentWidget(page);
    QCOMPARE(page->textEdit()->toHtml(), before);

    // Changed: the picture is replaced on return to the page.
    doc.tabWidget()->setCurrentWidget(chart);
    chart->knitScene()->setStitch(QPoint(0, 0), StitchSet::instance()->findStitch(QStringLiteral("yo")), 0);
    const QByteArray oldHash = chart->hash;
    doc.tabWidget()->setCurrentWidget(page);
    QVERIFY(chart->hash != oldHash);
    QCOMPARE(doc.generateChart(chart, chart->imgSize.width(), chart->imgSize.height()).size(), picture.size());
    QVERIFY(page->textEdit()->toHtml().contains(Directions::imageName(chart->hash)));
    QVERIFY(!page->textEdit()->toHtml().contains(Directions::imageName(oldHash)));

    // Instructions are inserted as text, with no link to the chart.
    const QByteArray hash = chart->hash;
    page->insertInstructions(chart->generateInstructions());
    QVERIFY(page->textEdit()->toPlainText().contains(QStringLiteral("Cast on 6 stitches")));
    QCOMPARE(chart->hash, hash);
}

void TestOutput::pictureNeverBreaks_data()
{
    QTest::addColumn<int>("linesBefore");
    QTest::addColumn<int>("height");
    // The picture is about fifteen lines high and a page about forty-five:
    // some of these put it across the end of the first page.
    for (int lines : {34, 38, 42, 46})
        QTest::newRow(qPrintable(QStringLiteral("%1 lines before").arg(lines))) << lines << 300;
    // Taller than a page: made as tall as one.
    QTest::newRow("16 inches high") << 10 << 1536;
}

// A picture that does not fit the rest of a page starts on the next page,
// whole: no page shows part of it.
void TestOutput::pictureNeverBreaks()
{
    QFETCH(int, linesBefore);
    QFETCH(int, height);
    if (!Poppler::installed() || QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
        QSKIP("pdftoppm (poppler-utils) is not installed");
    QImage green(300, height, QImage::Format_RGB32);
    green.fill(QColor(0, 200, 0));
    const DirectionsPicture picture = DirectionsPicture::fromImage(green);
    QString html;
    for (int i = 1; i <= linesBefore; ++i)
        html += QStringLiteral("<p>Line %1</p>").arg(i);
    html += QStringLiteral("<p><img src=\"%1\"/></p>").arg(DirectionsRecord::imageName(picture.hash));
    for (int i = 1; i <= 150; ++i)
        html += QStringLiteral("<p>After %1</p>").arg(i);
    const QString path = m_env->scratchPath(QStringLiteral("picture.pdf"));
    QVERIFY(DirectionsPrinter::print(html, {picture}, pdfPrinter(path).get()) >= 1);

    QProcess render;
    render.start(QStringLiteral("pdftoppm"),
                 {QStringLiteral("-r"), QStringLiteral("20"), QStringLiteral("-png"), path,
                  m_env->scratchPath(QStringLiteral("shown"))});
    QVERIFY(render.waitForFinished(20000));
    int pagesWithPicture = 0;
    int greenRows = 0;
    const QDir scratch(m_env->scratchPath(QString()));
    for (const QString &name : scratch.entryList({QStringLiteral("shown*.png")})) {
        const QImage page(scratch.filePath(name));
        int rows = 0;
        for (int y = 0; y < page.height(); ++y) {
            for (int x = 0; x < page.width(); ++x) {
                const QColor pixel = page.pixelColor(x, y);
                if (pixel.green() > 150 && pixel.red() < 60 && pixel.blue() < 60) {
                    ++rows;
                    break;
                }
            }
        }
        pagesWithPicture += rows > 0 ? 1 : 0;
        greenRows += rows;
    }
    QCOMPARE(pagesWithPicture, 1);
    // Whole: about three inches at 20 dots an inch, or most of a page.
    QVERIFY2(greenRows >= qMin(55, height / 5) && greenRows <= 220, qPrintable(QString::number(greenRows)));
    // Moving the picture moved the text after it, to the last line.
    QVERIFY(Poppler::text(path).contains(QStringLiteral("After 150\n")));
}

// From the window as from the command line: the picture of part of a chart
// shows those cells through changes, pictures print as lines, and a chart
// larger than a page is split.
void TestOutput::printReadyFromTheWindow()
{
    const std::unique_ptr<Document> doc = SamplePattern::createForPrint();
    Chart *yoke = doc->charts().last();
    Directions *page = doc->directions().first();
    const QRect part(16, 104, 16, 16);
    QCOMPARE(yoke->pictureCells(), part);
    const QImage picture = doc->generateChart(yoke, yoke->imgSize.width(), yoke->imgSize.height());
    // Sixteen cells across and down, with their numbers: about square.
    QVERIFY(qAbs(picture.width() - picture.height()) < picture.width() / 5);

    doc->tabWidget()->setCurrentWidget(yoke);
    yoke->knitScene()->setColor(QPoint(31, 119), Qt::yellow);
    const QByteArray oldHash = yoke->hash;
    doc->tabWidget()->setCurrentWidget(page);
    QVERIFY(yoke->hash != oldHash);
    QCOMPARE(yoke->pictureCells(), part);
    QCOMPARE(doc->generateChart(yoke, yoke->imgSize.width(), yoke->imgSize.height()).size(), picture.size());
    // Rows taken away at the top leave the part on rows 1 to 16; once the
    // chart has fewer rows, the part shows those it has.
    yoke->knitScene()->editor().removeRows(QRect(0, 0, 32, 10));
    QCOMPARE(yoke->pictureCells(), part.translated(0, -10));
    yoke->knitScene()->editor().removeRows(QRect(0, 0, 32, 100));
    QCOMPARE(yoke->pictureCells(), QRect(16, 0, 16, 10));
    QCOMPARE(yoke->keptPicturePart(), QRect(0, 0, 16, 10));
    yoke->knitScene()->undoStack()->undo();
    yoke->knitScene()->undoStack()->undo();

    if (!Poppler::installed())
        QSKIP("poppler-utils is not installed");
    const QString directions = m_env->scratchPath(QStringLiteral("directions.pdf"));
    doc->print(pdfPrinter(directions).get(), {QStringLiteral("[Document]")});
    QCOMPARE(Poppler::images(directions), 0);
    QVERIFY(Poppler::text(directions).contains(QLatin1String("pattern repeat")));
    const QString chart = m_env->scratchPath(QStringLiteral("yoke.pdf"));
    doc->print(pdfPrinter(chart).get(), {QStringLiteral("Diamond Yoke")});
    QVERIFY(Poppler::pages(chart) >= 2);
    QVERIFY(Poppler::text(chart).contains(QStringLiteral("Diamond Yoke, rows 1\u2013")));
}

YARNWISE_TEST_MAIN(TestOutput)
#include "tst_output.moc"
