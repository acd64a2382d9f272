#include "boundedhtml.h"
#include "directions.h"
#include "directionsprinter.h"
#include "htmlfixtures.h"
#include "imagefixtures.h"
#include "linkdialog.h"
#include "samplepattern.h"
#include "document.h"
#include "settings.h"
#include "modaldialog.h"
#include "patternfixtures.h"
#include "testenvironment.h"
#include "textedit.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QClipboard>
#include <QColorDialog>
#include <QComboBox>
#include <QCryptographicHash>
#include <QImageWriter>
#include <QMenu>
#include <QMimeData>
#include <QPrinter>
#include <QTextBlock>
#include <QToolBar>
#include <QtTest>

class TestDirections : public TestSuite
{
    Q_OBJECT

private Q_SLOTS:
    void toolBarAndMenu();
    void undoFollowsTheText_data();
    void undoFollowsTheText();
    void recordLayout();
    void recordImages_data();
    void recordImages();
    void recordRoundTrip_data();
    void recordRoundTrip();
    void damagedRecords_data();
    void damagedRecords();
    void imageNaming();
    void insertImageFile_data();
    void insertImageFile();
    void updateImageReplacesReferences();
    void link_data();
    void link();
    void formatFollowsCursor_data();
    void formatFollowsCursor();
    void formatWithNothingSelected_data();
    void formatWithNothingSelected();
    void pageBreak();
    void refusesUnregisteredResources_data();
    void refusesUnregisteredResources();
    void pageGuides();
    void editingForwards();
    void printsToPdf();
    void samplePageUnchanged();
    void boundedOnTheWayIn_data();
    void boundedOnTheWayIn();
};

static QImage filled(const QColor &color, int width = 30, int height = 20)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}

static QByteArray png(const QImage &image, int compression = -1)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "PNG");
    writer.setCompression(compression);
    writer.write(image);
    return bytes;
}

static QByteArray sha1(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex();
}

// A record as the pattern file holds it: QStrings, QByteArrays and raw
// 32-bit words (for lengths no writer would produce).
static QByteArray record(const QVariantList &items)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_4_5);
    for (const QVariant &item : items) {
        if (item.userType() == QMetaType::QByteArray)
            out << item.toByteArray();
        else if (item.userType() == QMetaType::UInt)
            out << item.toUInt();
        else
            out << item.toString();
    }
    return bytes;
}

static QByteArray saved(const Directions &page)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_4_5);
    if (!page.save(out))
        return QByteArray();
    return bytes;
}

// Reads a record the way the document does: the opening tag first.
static bool load(Directions &page, const QByteArray &bytes, bool skipStart = true)
{
    QDataStream in(bytes);
    in.setVersion(QDataStream::Qt_4_5);
    if (skipStart) {
        QString start;
        in >> start;
    }
    return page.loadDirections(in);
}

// The PNGs a saved record carries, in order.
static QList<QByteArray> writtenImages(const QByteArray &bytes)
{
    QDataStream in(bytes);
    in.setVersion(QDataStream::Qt_4_5);
    QList<QByteArray> images;
    QString tag;
    while (!in.atEnd() && in.status() == QDataStream::Ok) {
        in >> tag;
        if (tag == QLatin1String("ImageData:")) {
            QByteArray image;
            in >> image;
            images.append(image);
        } else if (tag == QLatin1String("Name:") || tag == QLatin1String("Html:")) {
            in >> tag;
        }
    }
    return images;
}

static QAction *action(const Directions &page, const char *name)
{
    return page.findChild<QAction *>(QString::fromLatin1(name));
}

static void placeCursor(Directions &page, const QString &word, int offset = 1)
{
    QTextCursor found = page.textEdit()->document()->find(word);
    QTextCursor cursor(page.textEdit()->document());
    cursor.setPosition(found.selectionStart() + offset);
    page.textEdit()->setTextCursor(cursor);
}

static QTextCharFormat formatOf(const Directions &page, const QString &word)
{
    QTextCursor cursor = page.textEdit()->document()->find(word);
    cursor.setPosition(cursor.selectionStart() + 1);
    return cursor.charFormat();
}

void TestDirections::toolBarAndMenu()
{
    Directions page;
    for (QAction *candidate : page.menu()->actions()) {
        if (candidate->isSeparator())
            continue;
        QVERIFY2(!candidate->icon().isNull(), qPrintable(candidate->objectName()));
        // Menu entries are words for the designer, never an identifier.
        static const QRegularExpression identifier(QStringLiteral("[a-z][A-Z]"));
        QVERIFY2(!candidate->text().contains(identifier), qPrintable(candidate->text()));
        QVERIFY(page.toolBar()->actions().contains(candidate));
    }

    action(page, "actionJustifyRight")->trigger();
    QVERIFY(!action(page, "actionJustifyLeft")->isChecked());
    QCOMPARE(page.textEdit()->alignment() & Qt::AlignRight, Qt::AlignRight);

    QSignalSpy chart(&page, &Directions::getChartImage);
    action(page, "actionInsertChart")->trigger();
    QCOMPARE(chart.count(), 1);
}

void TestDirections::recordLayout()
{
    Directions page;
    page.setName(QStringLiteral("Notes"));
    page.textEdit()->setPlainText(QStringLiteral("Cast on 40."));
    const QImage red = filled(Qt::red);
    page.insertChartImage(red);
    const QString html = page.textEdit()->toHtml();
    const QByteArray expected = record({"<Directions>", "Name:", "Notes", "Html:", html, "<ImgList>", "ImageData:",
                                        png(red), "</ImgList>", "</Directions>"});
    QCOMPARE(saved(page), expected);
}

void TestDirections::recordImages_data()
{
    QTest::addColumn<QStringList>("inserted");
    QTest::addColumn<QString>("html");
    QTest::addColumn<QStringList>("written");

    QTest::newRow("two references, one entry") << QStringList{"red"} << "{red} and {red}" << QStringList{"red"};
    QTest::newRow("inserted twice") << QStringList{"red", "red"} << "{red}" << QStringList{"red", "red"};
    QTest::newRow("removed from the text") << QStringList{"red", "blue"} << "{blue}" << QStringList{"blue"};
    QTest::newRow("no pictures left") << QStringList{"red"} << "words only" << QStringList{};
}

void TestDirections::recordImages()
{
    QFETCH(QStringList, inserted);
    QFETCH(QString, html);
    QFETCH(QStringList, written);

    Directions page;
    for (const QString &color : inserted)
        page.insertChartImage(filled(QColor(color)));
    for (const char *color : {"red", "blue"}) {
        const QString name = Directions::imageName(Directions::imageHash(filled(QColor(color))));
        html.replace(QStringLiteral("{%1}").arg(QLatin1String(color)), QStringLiteral("<img src=\"%1\">").arg(name));
    }
    page.textEdit()->setHtml(html);

    QStringList colors;
    for (const QByteArray &bytes : writtenImages(saved(page)))
        colors << QColor(QImage::fromData(bytes).pixel(0, 0)).name();
    QStringList expected;
    for (const QString &color : written)
        expected << QColor(color).name();
    QCOMPARE(colors, expected);
}

void TestDirections::recordRoundTrip_data()
{
    QTest::addColumn<int>("compression");
    QTest::newRow("pictures encoded here") << -1;
    // Another writer's PNG bytes differ from ours; the names still match.
    QTest::newRow("pictures encoded elsewhere") << 0;
}

void TestDirections::recordRoundTrip()
{
    QFETCH(int, compression);

    const QByteArray red = png(filled(Qt::red), compression);
    QCOMPARE(red == png(filled(Qt::red)), compression < 0);
    const QByteArray blue = png(filled(Qt::blue, 10, 40), compression);
    const QString html = QStringLiteral("<p>Gauge <b>22</b> <img src=\"%1\"></p><p><img src=\"%2\"></p>")
                             .arg(Directions::imageName(sha1(red)), Directions::imageName(sha1(blue)));
    const QByteArray bytes = record({"<Directions>", "Name:", "Scarf", "Html:", html, "<ImgList>", "ImageData:", red,
                                     "ImageData:", blue, "</ImgList>", "</Directions>"});

    Directions page;
    QVERIFY(load(page, bytes));
    QVERIFY(page.loadErrors().isEmpty());
    QCOMPARE(page.name(), QStringLiteral("Scarf"));
    QCOMPARE(page.images().size(), 2);
    QTextDocument *doc = page.textEdit()->document();
    const QUrl blueName(Directions::imageName(sha1(blue)));
    QCOMPARE(doc->resource(QTextDocument::ImageResource, blueName).value<QImage>().size(), QSize(10, 40));
    QVERIFY(!page.isModified());

    Directions again;
    QVERIFY(load(again, saved(page)));
    QCOMPARE(again.textEdit()->toHtml(), page.textEdit()->toHtml());
    QCOMPARE(writtenImages(saved(again)), (QList<QByteArray>{red, blue}));
}

void TestDirections::damagedRecords_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("errors");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("images");

    const QByteArray image = png(filled(Qt::green));
    const QString fail = QStringLiteral("Error Loading File");
    const QString noList = QStringLiteral("Missing Document Images");
    const QString noListEnd = QStringLiteral("Missing end of Document image list");
    const QString noEnd = QStringLiteral("Missing End of Document");
    const QString badImage = QStringLiteral("Error loading document image from file");
    const QString cutImage = QStringLiteral("Error loading document images - unexpected end of file");

    QTest::newRow("text before name")
        << record({"Html:", "<p>hello</p>", "Name:", "n", "<ImgList>", "ImageData:", image, "</ImgList>",
                   "</Directions>"})
        << QStringList() << "hello" << 1;
    QTest::newRow("no text") << record({"Name:", "n", "<ImgList>", "</ImgList>", "</Directions>"}) << QStringList()
                             << "" << 0;
    QTest::newRow("wrong list tag") << record({"Name:", "n", "<Images>", "</ImgList>", "</Directions>"})
                                    << QStringList{fail, noList} << "" << 0;
    QTest::newRow("list not closed") << record({"<ImgList>", "ImageData:", image, "</Directions>"})
                                     << QStringList{fail, noListEnd, noEnd} << "" << 1;
    QTest::newRow("no closing tag") << record({"Html:", "<p>kept</p>", "<ImgList>", "</ImgList>"})
                                    << QStringList{fail, noEnd} << "kept" << 0;
    QTest::newRow("damaged picture")
        << record({"<ImgList>", "ImageData:", QByteArray("not a picture"), "ImageData:", image, "</ImgList>",
                   "</Directions>"})
        << QStringList{fail, badImage} << "" << 1;
    QTest::newRow("ends after a picture") << record({"<ImgList>", "ImageData:", image})
                                          << QStringList{fail, cutImage, noListEnd, noEnd} << "" << 1;
    QTest::newRow("absurd picture length")
        << record({"<ImgList>", "ImageData:", QVariant::fromValue(0xfffffff0u), "xy", "</ImgList>", "</Directions>"})
        << QStringList{fail, badImage, noListEnd, noEnd} << "" << 0;
    QTest::newRow("absurd text length")
        << record({"Html:", QVariant::fromValue(0x7ffffff0u), "<ImgList>", "</ImgList>", "</Directions>"})
        << QStringList{fail, noList, noListEnd, noEnd} << "" << 0;
    QImage huge(17000, 17000, QImage::Format_Mono);
    huge.fill(0);
    QTest::newRow("picture too large to show")
        << record({"<ImgList>", "ImageData:", png(huge), "ImageData:", image, "</ImgList>", "</Directions>"})
        << QStringList{fail, badImage} << "" << 1;
    QTest::newRow("empty") << QByteArray() << QStringList{fail, noList, noListEnd, noEnd} << "" << 0;
}

void TestDirections::damagedRecords()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, errors);
    QFETCH(QString, text);
    QFETCH(int, images);

    Directions page;
    if (!errors.isEmpty())
        QTest::ignoreMessage(QtDebugMsg, "Error loading document in pattern file");
    QCOMPARE(load(page, bytes, false), errors.isEmpty());
    QCOMPARE(page.loadErrors(), errors);
    QCOMPARE(page.textEdit()->toPlainText(), text);
    QCOMPARE(page.images().size(), images);
}

void TestDirections::imageNaming()
{
    Directions page;
    const QImage picture = filled(Qt::darkCyan);
    page.insertChartImage(picture);
    const QByteArray hash = sha1(png(picture));
    QVERIFY(QRegularExpression(QStringLiteral("^[0-9a-f]{40}$")).match(QString::fromLatin1(hash)).hasMatch());
    QCOMPARE(Directions::imageHash(picture), hash);
    const QString name = QStringLiteral("image://%1.png").arg(QString::fromLatin1(hash));
    QVERIFY(page.textEdit()->toHtml().contains(QStringLiteral("<img src=\"%1\"").arg(name)));
    QCOMPARE(page.textEdit()->document()->resource(QTextDocument::ImageResource, QUrl(name)).value<QImage>(), picture);
}

void TestDirections::insertImageFile_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<int>("images");

    QTest::newRow("picture") << png(filled(Qt::magenta)) << true << 1;
    QTest::newRow("cancelled") << png(filled(Qt::magenta)) << false << 0;
    QTest::newRow("not a picture") << QByteArray("plain words") << true << 0;
}

void TestDirections::insertImageFile()
{
    QFETCH(QByteArray, contents);
    QFETCH(bool, accept);
    QFETCH(int, images);

    const QString path = m_env->writeScratch(QStringLiteral("picture.png"), contents);
    Settings::instance()->setValue(QStringLiteral("defaultFileLocation"), QFileInfo(path).absolutePath());

    Directions page;
    QString folder;
    QString warned;
    whenModal<QFileDialog>([&](QFileDialog *dialog) {
        folder = dialog->directory().absolutePath();
        if (!accept)
            return dialog->reject();
        answerNextBox(QMessageBox::Ok, &warned);
        acceptFile(dialog, path);
    });
    page.insertImage();

    QCOMPARE(folder, QFileInfo(path).absolutePath());
    QCOMPARE(page.images().size(), images);
    QCOMPARE(page.textEdit()->toHtml().contains(QLatin1String("image://")), images > 0);
    QCOMPARE(!warned.isEmpty(), accept && images == 0);
}

void TestDirections::updateImageReplacesReferences()
{
    Directions page;
    const QImage red = filled(Qt::red), blue = filled(Qt::blue), green = filled(Qt::green);
    page.textEdit()->setPlainText(QStringLiteral("Start "));
    page.textEdit()->moveCursor(QTextCursor::End);
    page.insertChartImage(red);
    page.insertChartImage(blue);
    page.insertChartImage(red);
    page.setModified(false);
    const int position = page.textEdit()->textCursor().position();

    page.updateImage(Directions::imageHash(red), Directions::imageHash(green), green);
    const QString html = page.textEdit()->toHtml();
    QCOMPARE(html.count(Directions::imageName(Directions::imageHash(red))), 0);
    QCOMPARE(html.count(Directions::imageName(Directions::imageHash(green))), 2);
    QCOMPARE(html.count(Directions::imageName(Directions::imageHash(blue))), 1);
    QCOMPARE(page.textEdit()->document()
                 ->resource(QTextDocument::ImageResource, QUrl(Directions::imageName(Directions::imageHash(green))))
                 .value<QImage>(),
             green);
    QVERIFY(!page.isModified());
    QCOMPARE(page.textEdit()->textCursor().position(), position);
    QCOMPARE(writtenImages(saved(page)).size(), 2);

    page.updateImage("0123", Directions::imageHash(red), red);
    QCOMPARE(page.textEdit()->toHtml(), html);
}

void TestDirections::link_data()
{
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("href");

    QTest::newRow("bare address") << "yarn" << "example.org/yarn" << "yarn" << "http://example.org/yarn";
    QTest::newRow("prefix in capitals") << "yarn" << "HTTP://example.org" << "yarn" << "HTTP://example.org";
    QTest::newRow("secure address") << "yarn" << "https://example.org" << "yarn" << "https://example.org";
    QTest::newRow("markup is text") << "" << "example.org" << "<b>shop</b>" << "http://example.org";
    QTest::newRow("cancelled") << "yarn" << "" << "" << "";
}

void TestDirections::link()
{
    QFETCH(QString, selected);
    QFETCH(QString, typed);
    QFETCH(QString, text);
    QFETCH(QString, href);

    Directions page;
    page.textEdit()->setPlainText(QStringLiteral("Buy yarn here"));
    QTextCursor cursor = page.textEdit()->document()->find(QStringLiteral("yarn"));
    if (selected.isEmpty())
        cursor.setPosition(cursor.selectionEnd());
    page.textEdit()->setTextCursor(cursor);

    QString offeredText, offeredUrl;
    whenModal<LinkDialog>([&](LinkDialog *dialog) {
        offeredText = dialog->text();
        offeredUrl = dialog->url();
        if (typed.isEmpty())
            return dialog->reject();
        if (!text.isEmpty())
            dialog->setText(text);
        dialog->setUrl(typed);
        dialog->accept();
    });
    page.makeLink();
    QCOMPARE(offeredText, selected);
    QCOMPARE(offeredUrl, QStringLiteral("http://"));
    if (typed.isEmpty()) {
        QCOMPARE(page.textEdit()->toPlainText(), QStringLiteral("Buy yarn here"));
        return;
    }

    const QTextCharFormat link = formatOf(page, text);
    QVERIFY(link.isAnchor());
    QCOMPARE(link.anchorHref(), href);
    QTest::keyClicks(page.textEdit(), QStringLiteral("zz"));
    QVERIFY(!formatOf(page, QStringLiteral("zz")).isAnchor());
}

void TestDirections::formatFollowsCursor_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("checked");
    QTest::addColumn<QString>("size");
    QTest::addColumn<QString>("alignment");
    QTest::addColumn<QColor>("color");

    QTest::newRow("plain") << "plain" << "" << "12" << "actionJustifyLeft" << QColor(Qt::black);
    QTest::newRow("bold") << "heavy" << "actionTextBold" << "12" << "actionJustifyLeft" << QColor(Qt::black);
    QTest::newRow("italic") << "slanted" << "actionTextItalic" << "12" << "actionJustifyLeft" << QColor(Qt::black);
    QTest::newRow("underline") << "lined" << "actionTextUnderline" << "12" << "actionJustifyLeft"
                               << QColor(Qt::black);
    QTest::newRow("size and colour") << "large" << "" << "18" << "actionJustifyLeft" << QColor(Qt::red);
    QTest::newRow("right") << "east" << "" << "12" << "actionJustifyRight" << QColor(Qt::black);
    QTest::newRow("centre") << "middle" << "" << "12" << "actionJustifyCenter" << QColor(Qt::black);
    QTest::newRow("justified") << "even" << "" << "12" << "actionJustify" << QColor(Qt::black);
}

void TestDirections::formatFollowsCursor()
{
    QFETCH(QString, word);
    QFETCH(QString, checked);
    QFETCH(QString, size);
    QFETCH(QString, alignment);
    QFETCH(QColor, color);

    Directions page;
    page.textEdit()->setHtml(QStringLiteral(
        "<p>plain <b>heavy</b> <i>slanted</i> <u>lined</u> "
        "<span style=\"font-size:18pt; color:#ff0000\">large</span></p>"
        "<p align=\"right\">east</p><p align=\"center\">middle</p><p align=\"justify\">even</p>"));
    placeCursor(page, QStringLiteral("plain"), 0);
    placeCursor(page, word);

    for (const char *name : {"actionTextBold", "actionTextItalic", "actionTextUnderline"})
        QCOMPARE(action(page, name)->isChecked(), checked == QLatin1String(name));
    QCOMPARE(page.findChild<QComboBox *>(QStringLiteral("sizeBox"))->currentText(), size);
    QVERIFY(action(page, qPrintable(alignment))->isChecked());
    const QImage swatch = action(page, "actionColorForeground")->icon().pixmap(24, 24).toImage();
    QCOMPARE(QColor(swatch.pixel(12, 12)), color);
}

void TestDirections::formatWithNothingSelected_data()
{
    // Bold, italic and underline are toggles that apply to what is typed
    // next; the others restyle the word under the cursor.
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("toWord");
    QTest::newRow("bold") << "actionTextBold" << false;
    QTest::newRow("italic") << "actionTextItalic" << false;
    QTest::newRow("underline") << "actionTextUnderline" << false;
    QTest::newRow("size") << "size" << true;
    QTest::newRow("family") << "family" << true;
    QTest::newRow("font colour") << "actionColorForeground" << true;
    QTest::newRow("background colour") << "actionColorBackground" << true;
}

static bool carries(const QTextCharFormat &format, const QString &command)
{
    if (command == QLatin1String("actionTextBold"))
        return format.fontWeight() == QFont::Bold;
    if (command == QLatin1String("actionTextItalic"))
        return format.fontItalic();
    if (command == QLatin1String("actionTextUnderline"))
        return format.fontUnderline();
    if (command == QLatin1String("size"))
        return format.fontPointSize() == 20;
    if (command == QLatin1String("family"))
        return format.fontFamilies().toStringList() == QStringList{QStringLiteral("DejaVu Serif")};
    if (command == QLatin1String("actionColorForeground"))
        return format.foreground().color() == QColor(Qt::blue);
    return format.background().color() == QColor(Qt::blue);
}

void TestDirections::formatWithNothingSelected()
{
    QFETCH(QString, command);
    QFETCH(bool, toWord);

    Directions page;
    page.textEdit()->setPlainText(QStringLiteral("alpha beta gamma"));
    placeCursor(page, QStringLiteral("beta"), 2);
    if (command.startsWith(QLatin1String("actionColor"))) {
        whenModal<QColorDialog>([](QColorDialog *dialog) {
            dialog->setCurrentColor(Qt::blue);
            dialog->accept();
        });
    }
    if (command == QLatin1String("size"))
        page.setFontSize(QStringLiteral("20"));
    else if (command == QLatin1String("family"))
        page.setFont(QFont(QStringLiteral("DejaVu Serif")));
    else
        action(page, qPrintable(command))->trigger();

    QCOMPARE(carries(formatOf(page, QStringLiteral("beta")), command), toWord);
    QVERIFY(!carries(formatOf(page, QStringLiteral("alpha")), command));
    QVERIFY(!page.textEdit()->textCursor().hasSelection());
    QVERIFY(carries(page.textEdit()->currentCharFormat(), command));
    if (toWord)
        return;
    // "Ctrl+I, a word, Ctrl+I": the word typed between takes the style,
    // what follows is plain again.
    page.textEdit()->moveCursor(QTextCursor::End);
    action(page, qPrintable(command))->trigger();
    QTest::keyClicks(page.textEdit(), QStringLiteral(" delta"));
    action(page, qPrintable(command))->trigger();
    QTest::keyClicks(page.textEdit(), QStringLiteral(" omega"));
    QVERIFY(carries(formatOf(page, QStringLiteral("delta")), command));
    QVERIFY(!carries(formatOf(page, QStringLiteral("omega")), command));
    QVERIFY(!carries(formatOf(page, QStringLiteral("gamma")), command));
}

void TestDirections::pageBreak()
{
    Directions page;
    page.setPageSize(QSizeF(TextEdit::pageWidth, 300));
    page.textEdit()->setPlainText(QStringLiteral("first"));
    page.textEdit()->moveCursor(QTextCursor::End);
    page.insertPageBreak();
    QTest::keyClicks(page.textEdit(), QStringLiteral("second"));

    QTextDocument *doc = page.textEdit()->document();
    QCOMPARE(doc->blockCount(), 3);
    const QTextBlock ending = doc->findBlockByNumber(1);
    const QTextBlock next = doc->findBlockByNumber(2);
    QCOMPARE(ending.blockFormat().pageBreakPolicy(), QTextFormat::PageBreak_AlwaysAfter);
    QCOMPARE(next.text(), QStringLiteral("second"));
    QCOMPARE(next.blockFormat().pageBreakPolicy(), QTextFormat::PageBreak_Auto);
    QCOMPARE(next.blockFormat().alignment(), Qt::AlignLeft);
    QVERIFY(doc->documentLayout()->blockBoundingRect(next).top() >= 300);
    QCOMPARE(doc->pageSize(), QSizeF(TextEdit::pageWidth, 300));
}

void TestDirections::refusesUnregisteredResources_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<bool>("shown");

    const QString picture = QStringLiteral("<img src=\"%1\">");
    QTest::newRow("registered") << picture.arg(QStringLiteral("{registered}")) << true;
    QTest::newRow("local path") << picture.arg(QStringLiteral("{path}")) << false;
    QTest::newRow("file URL") << picture.arg(QStringLiteral("file://{path}")) << false;
    QTest::newRow("relative name") << picture.arg(QStringLiteral("tall.png")) << false;
    QTest::newRow("web address") << picture.arg(QStringLiteral("http://example.org/tall.png")) << false;
    QTest::newRow("data URL") << picture.arg(QStringLiteral("data:image/png;base64,{base64}")) << false;
    QTest::newRow("picture of another page") << picture.arg(QStringLiteral("{unregistered}")) << false;
    QTest::newRow("style sheet") << QStringLiteral("<html><head><link rel=\"stylesheet\" type=\"text/css\" "
                                                   "href=\"{css}\"></head><body><p>x</p></body></html>")
                                 << false;
}

void TestDirections::refusesUnregisteredResources()
{
    QFETCH(QString, html);
    QFETCH(bool, shown);

    const QImage tall = filled(Qt::black, 10, 400);
    const QString path = m_env->scratchPath(QStringLiteral("tall.png"));
    QVERIFY(tall.save(path));
    const QString css = m_env->writeScratch(QStringLiteral("big.css"), "p { font-size: 400pt; }");
    const QString previous = QDir::currentPath();
    QDir::setCurrent(QFileInfo(path).absolutePath());

    Directions page;
    const QImage registered = filled(Qt::gray, 10, 400);
    page.insertChartImage(registered);
    html.replace(QStringLiteral("{registered}"), Directions::imageName(Directions::imageHash(registered)));
    html.replace(QStringLiteral("{unregistered}"), Directions::imageName(Directions::imageHash(tall)));
    html.replace(QStringLiteral("{path}"), path);
    html.replace(QStringLiteral("{css}"), css);
    html.replace(QStringLiteral("{base64}"), QString::fromLatin1(png(tall).toBase64()));
    page.textEdit()->setHtml(html);
    const qreal height = page.textEdit()->document()->size().height();
    QDir::setCurrent(previous);

    QCOMPARE(height > 300, shown);
    QVERIFY(page.textEdit()->loadResource(QTextDocument::ImageResource, QUrl::fromLocalFile(path)).isNull());
}

void TestDirections::pageGuides()
{
    Directions page;
    page.setPageSize(QSizeF(300, 120));
    page.textEdit()->setPlainText(QStringLiteral("a\nb\nc\nd\ne\nf\ng\nh\ni\nj\nk"));
    page.resize(700, 500);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    const QImage view = page.textEdit()->viewport()->grab().toImage();

    QCOMPARE(QColor(view.pixel(500, 60)), QColor(Qt::gray));
    QCOMPARE(QColor(view.pixel(200, 60)), QColor(Qt::white));
    // The page has white margins either side of its 300 pixels of text.
    QCOMPARE(QColor(view.pixel(300 + TextEdit::pageMargin - 2, 60)), QColor(Qt::white));
    const QImage whole = page.textEdit()->grab().toImage();
    const int textLeft = page.textEdit()->viewport()->geometry().left();
    QVERIFY(textLeft >= TextEdit::pageMargin);
    QCOMPARE(QColor(whole.pixel(textLeft / 2, 60)), QColor(Qt::white));
    // The page's end: a line across it, 120 pixels down.
    QVERIFY(pixelsWhere(view, [](const QColor &c) { return qGray(c.rgb()) < 160; }, QRect(200, 118, 1, 5)).count > 0);
}

void TestDirections::undoFollowsTheText_data()
{
    QTest::addColumn<QString>("script");
    // Letters are typed; < is Backspace, u and r are the page's Undo and
    // Redo, z is Ctrl+Z in the text, t pastes a table, h replaces the page.
    QTest::newRow("typing merged after an undo") << "abc<udrrzu";
    QTest::newRow("undo all, then type") << "ab<uuuuxrr";
    QTest::newRow("table pasted and undone") << "atuurrzz";
    QTest::newRow("new page ends the history") << "abu" "h" "uurr";
    QTest::newRow("redo past the end") << "a<uurrrrr";
}

// Whatever the sequence of edits, the page's undo stack offers Undo and
// Redo exactly when the text can take them, and every undo it offers
// changes the text.
void TestDirections::undoFollowsTheText()
{
    QFETCH(QString, script);
    Directions page;
    QTextEdit *text = page.textEdit();
    QTextDocument *document = text->document();
    QUndoStack *stack = page.undoStack();
    for (const QChar step : script) {
        switch (step.unicode()) {
        case '<': QTest::keyClick(text, Qt::Key_Backspace); break;
        case 'u': page.undo(); break;
        case 'r': page.redo(); break;
        case 'z': QTest::keyClick(text, Qt::Key_Z, Qt::ControlModifier); break;
        case 't': text->insertHtml(QStringLiteral("<table><tr><td>1</td><td>2</td></tr></table>")); break;
        case 'h': text->setHtml(QStringLiteral("<p>Cast on.</p>")); break;
        default: QTest::keyClicks(text, QString(step));
        }
        const QString where = QStringLiteral("after '%1' of %2").arg(step).arg(script);
        QVERIFY2(stack->canUndo() == document->isUndoAvailable(), qPrintable(where));
        QVERIFY2(stack->canRedo() == document->isRedoAvailable(), qPrintable(where));
    }
    while (stack->canUndo()) {
        const QString before = text->toHtml();
        stack->undo();
        QVERIFY(text->toHtml() != before);
    }
}

void TestDirections::editingForwards()
{
    Directions page;
    QSignalSpy undo(&page, &Directions::undoAvailable);
    QSignalSpy changed(&page, &Directions::textChanged);
    QTest::keyClicks(page.textEdit(), QStringLiteral("abc"));
    QVERIFY(page.isModified());
    QVERIFY(page.isUndoAvailable());
    QVERIFY(!undo.isEmpty() && undo.last().first().toBool());
    QVERIFY(!changed.isEmpty());

    page.undo();
    QCOMPARE(page.textEdit()->toPlainText(), QString());
    QVERIFY(page.isRedoAvailable());
    page.redo();
    QCOMPARE(page.textEdit()->toPlainText(), QStringLiteral("abc"));

    page.insertInstructions(QStringLiteral("\nRow 1: k2, p2"));
    QCOMPARE(page.textEdit()->document()->blockCount(), 2);
}

static int pdfPages(const QString &path)
{
    QFile pdf(path);
    if (!pdf.open(QIODevice::ReadOnly))
        return -1;
    const QString text = QString::fromLatin1(pdf.readAll());
    int pages = 0;
    for (auto match = QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)")).globalMatch(text); match.hasNext();
         match.next())
        ++pages;
    return pages;
}

// The printed copy too shows only the page's own pictures: a tall picture
// named by its path would take several pages.
void TestDirections::printsToPdf()
{
    const QString tall = m_env->scratchPath(QStringLiteral("tall.png"));
    QVERIFY(filled(Qt::black, 10, 4000).save(tall));
    Directions page;
    page.textEdit()->setHtml(QStringLiteral("<p>Cast on.</p><p><img src=\"%1\"></p>").arg(tall));
    page.insertChartImage(filled(Qt::red));
    const QString path = m_env->scratchPath(QStringLiteral("page.pdf"));
    page.print(pdfPrinter(path).get());
    QCOMPARE(pdfPages(path), 1);
}

// The sample pattern's page is within every limit: it loads and saves as
// it was.
void TestDirections::samplePageUnchanged()
{
    const std::unique_ptr<Document> doc = SamplePattern::create();
    const QString html = doc->directions().first()->textEdit()->toHtml();
    BoundedHtml::Changes changes;
    QCOMPARE(BoundedHtml::bound(html, &changes), html);
    QVERIFY2(!changes.any(), qPrintable(changes.describe()));
}

void TestDirections::boundedOnTheWayIn_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("html");
    for (const char *way : {"loaded", "pasted", "pasted as text", "printed"}) {
        QTest::addRow("tables 3000 deep, %s", way) << way << HtmlFixtures::nestedTables(3000);
        QTest::addRow("a word of 200000 letters, %s", way) << way << HtmlFixtures::longWord(200000);
    }
    QTest::newRow("5000 nested list items, pasted") << "pasted" << HtmlFixtures::nestedLists(5000);
}

// However rich text comes in, the page holds it no deeper and with no
// longer words than the limits, and keeps its words.
void TestDirections::boundedOnTheWayIn()
{
    QFETCH(QString, way);
    QFETCH(QString, html);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Rich text beyond")));
    Directions page;
    if (way == QLatin1String("printed")) {
        QVERIFY(DirectionsPrinter::print(html, {}, pdfPrinter(m_env->scratchPath(QStringLiteral("page.pdf"))).get()) >= 1);
        return;
    }
    if (way == QLatin1String("loaded")) {
        QVERIFY(load(page, record({"Html:", html, "<ImgList>", "</ImgList>", "</Directions>"}), false));
    } else {
        auto *data = new QMimeData;
        if (way == QLatin1String("pasted"))
            data->setHtml(html);
        else
            data->setText(html);
        QApplication::clipboard()->setMimeData(data);
        page.paste();
    }
    const HtmlFixtures::Shape shape = HtmlFixtures::shapeOf(*page.textEdit()->document());
    const BoundedHtml::Limits limits;
    QVERIFY(shape.tableDepth <= limits.tableDepth);
    QVERIFY(shape.listDepth <= limits.listDepth);
    QVERIFY(shape.longestWord <= limits.wordLength);
    QString text = page.textEdit()->toPlainText();
    text.remove(QChar(0x200B));
    QVERIFY(text.contains(QLatin1Char('x')) || text.count(QLatin1Char('k')) == 200000);
}

YARNWISE_TEST_MAIN(TestDirections)
#include "tst_directions.moc"
