#include "boundedhtml.h"
#include "htmlfixtures.h"
#include "testenvironment.h"

#include <QGuiApplication>
#include <QTextDocument>
#include <QtTest>

using namespace HtmlFixtures;

// Rich text kept within what the page lays out in linear time: HTML within
// the limits comes back byte for byte, HTML beyond them comes back within
// them with its words kept.
class TestBoundedHtml : public TestSuite
{
    Q_OBJECT

private Q_SLOTS:
    void withinLimitsUnchanged_data();
    void withinLimitsUnchanged();
    void beyondLimitsBounded_data();
    void beyondLimitsBounded();
    void pageCut();
    void deepestInputStaysFlat();
};

// The page as Qt writes it, with the parts a designer uses.
static QString qtWritten(const QString &html)
{
    QTextDocument document;
    document.setHtml(html);
    return document.toHtml();
}

void TestBoundedHtml::withinLimitsUnchanged_data()
{
    QTest::addColumn<QString>("html");
    const BoundedHtml::Limits limits;
    QTest::newRow("lists, a table and a picture, as Qt writes them")
        << qtWritten(QStringLiteral("<h1>Cowl</h1><ul><li>Wool<ul><li>Slate</li></ul></li></ul><table border=1><tr>"
                                    "<td>Gauge</td><td>18 sts</td></tr></table><p><img src=\"image://a.png\"/></p>"));
    QTest::newRow("tables at the limit") << nestedTables(limits.tableDepth);
    QTest::newRow("lists at the limit") << nestedLists(limits.listDepth);
    QTest::newRow("word at the limit") << longWord(limits.wordLength);
    QTest::newRow("nesting at the limit") << nested(QStringLiteral("<div>"), QStringLiteral("</div>"), limits.depth);
    // Qt closes these itself: none of them nests.
    QTest::newRow("items, paragraphs and cells left open")
        << QStringLiteral("<ul>%1</ul>%2<table><tr>%3<tr>%3</table>")
               .arg(QStringLiteral("<li>k2, p2").repeated(limits.listItems), QStringLiteral("<p>Rest.").repeated(500),
                    QStringLiteral("<td>1").repeated(500));
    QTest::newRow("tables, items and pictures at the limits")
        << nestedTables(1).repeated(limits.tables - 1)
               + QStringLiteral("<table><tr>%1</tr></table>")
                     .arg(QStringLiteral("<td>1</td>").repeated(limits.cells - 2 * limits.tables + 1))
               + QStringLiteral("<p>%1</p>").arg(QStringLiteral("<img src=x>").repeated(limits.pictures)).repeated(3);
    QTest::newRow("empty elements, comments, declarations")
        << QStringLiteral("<!DOCTYPE html><!-- <div><div> -->%1")
               .arg(QStringLiteral("<br><hr/><img src=x><span/><meta a='>'>k ").repeated(limits.pictures));
    QTest::newRow("words between tags and entities")
        << QStringLiteral("k&amp;p<b>k</b>\n").repeated(2000) + QStringLiteral("&nbsp;").repeated(900);
}

void TestBoundedHtml::withinLimitsUnchanged()
{
    QFETCH(QString, html);
    BoundedHtml::Changes changes;
    const QString bounded = BoundedHtml::bound(html, &changes);
    QVERIFY2(!changes.any(), qPrintable(changes.describe()));
    QCOMPARE(bounded, html);
    // Not even copied.
    QCOMPARE(bounded.constData(), html.constData());
}

void TestBoundedHtml::beyondLimitsBounded_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<int>("words");

    QTest::newRow("tables 12 deep") << nestedTables(12) << 1;
    QTest::newRow("tables 3000 deep") << nestedTables(3000) << 1;
    QTest::newRow("tables of two rows, 30 deep")
        << nested(QStringLiteral("<table><tr><td>a</td></tr><tr><td>b</td><td>"), QStringLiteral("</td></tr></table>"),
                  30)
        << 61;
    QTest::newRow("5000 nested list items") << nestedLists(5000) << 5001;
    QTest::newRow("items left open, each in bold") << QStringLiteral("<ul>") + QStringLiteral("<li><b>k").repeated(5000)
                                                  << 5000;
    QTest::newRow("blockquotes 5000 deep") << nested(QStringLiteral("<blockquote>"), QStringLiteral("</blockquote>"), 5000)
                                           << 1;
    QTest::newRow("spans 35000 deep") << nested(QStringLiteral("<span>"), QStringLiteral("</span>"), 35000) << 1;
    QTest::newRow("unknown elements left open") << QStringLiteral("<input>k ").repeated(20000) << 20000;
    // Qt opens a table around a cell outside any (found by fuzzing).
    QTest::newRow("tables in a cell outside any table") << QStringLiteral("<b><td>") + nestedTables(4) << 1;
    // Qt ends the attributes at an empty word and the tag at the next '>'.
    QTest::newRow("tables hidden behind an empty attribute")
        << nested(QStringLiteral("<b \"\" x='><table><tr><td>'>"), QStringLiteral("</td></tr></table>"), 40) << 40;
    QTest::newRow("tables spelt with entities") << nested(QStringLiteral("<t&#97;ble><tr><td>"),
                                                          QStringLiteral("</td></tr></t&#97;ble>"), 40)
                                                << 1;
    QTest::newRow("word of 200000 letters") << longWord(200000) << 1;
    // Qt ends no paragraph at an empty table, nor where a <div> ends.
    QTest::newRow("a word across empty tables")
        << (QString(600, QLatin1Char('k')) + QStringLiteral("<table></table>")).repeated(50) << 1;
    QTest::newRow("a word across the ends of blocks")
        << QStringLiteral("<div><div>%1</div>%1</div>%1").arg(QString(600, QLatin1Char('k'))) << 2;
    QTest::newRow("a list of 2000 items") << QStringLiteral("<ol>%1</ol>").arg(QStringLiteral("<li>k2</li>").repeated(2000))
                                         << 2000;
    QTest::newRow("items of a long list within other elements")
        << QStringLiteral("<ul>%1</ul>").arg(QStringLiteral("<div><li>k2</li></div>").repeated(2000)) << 2000;
    QTest::newRow("5000 pictures in a paragraph")
        << QStringLiteral("<p>%1k</p>").arg(QStringLiteral("<img src=x> ").repeated(5000)) << 5001;
    // A cell with no row open in its made-up table gets a table of its own
    // (found by fuzzing).
    QTest::newRow("cells within cells outside any table") << QStringLiteral("<td></tr>").repeated(40) + QStringLiteral("x")
                                                          << 1;
    // A row with no cell ends no paragraph (found by fuzzing).
    QTest::newRow("a word across rows without cells")
        << (QString(300, QLatin1Char('k')) + QStringLiteral("<tr>")).repeated(10) << 1;
    // A picture is a character of the word it stands in (found by fuzzing).
    QTest::newRow("a word around a picture")
        << QStringLiteral("<p>%1<img src=x>%1</p>").arg(QString(600, QLatin1Char('k'))) << 1;
    QTest::newRow("pictures making a word") << QStringLiteral("<p>%1</p>").arg(QStringLiteral("<img src=x>k").repeated(600))
                                             << 6; // a paragraph every 100 pictures
    QTest::newRow("3000 tables") << nestedTables(1).repeated(3000) << 3000;
    QTest::newRow("a table of 4000 rows")
        << QStringLiteral("<table>%1</table>").arg(QStringLiteral("<tr><td><b>k2</b></td><td>p2").repeated(4000)) << 8000;
    QTest::newRow("20000 list items") << QStringLiteral("<ul>%1</ul>").arg(QStringLiteral("<li>k</li>").repeated(20000))
                                      << 20000;
    QTest::newRow("words that may not break")
        << QStringLiteral("<nobr>%1</nobr>").arg(QStringLiteral("k2 p2 ").repeated(30000)) << 60000;
    QTest::newRow("no wrapping asked for in a style sheet")
        << QStringLiteral("<style>.r{white-space:nowrap}</style><p class=r>%1</p>").arg(QStringLiteral("k2 ").repeated(30000))
        << 30000;
}

// Bounded once, the HTML is within every limit: bounding it again changes
// nothing, and Qt builds it no deeper than the limits, with every word of
// the text still there.
void TestBoundedHtml::beyondLimitsBounded()
{
    QFETCH(QString, html);
    QFETCH(int, words);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Rich text beyond")));
    BoundedHtml::Changes changes;
    const QString bounded = BoundedHtml::bound(html, &changes);
    QVERIFY(changes.any());
    QCOMPARE(changes.cut, 0);

    BoundedHtml::Changes again;
    QCOMPARE(BoundedHtml::bound(bounded, &again), bounded);
    QVERIFY2(!again.any(), qPrintable(again.describe()));

    QTextDocument document;
    document.setHtml(bounded);
    const BoundedHtml::Limits limits;
    const Shape shape = shapeOf(document);
    QVERIFY(shape.tables <= limits.tables);
    QVERIFY(shape.cells <= limits.cells);
    QVERIFY(shape.items <= limits.items);
    QVERIFY(shape.tableDepth <= limits.tableDepth);
    QVERIFY(shape.listDepth <= limits.listDepth);
    QVERIFY(shape.longestList <= limits.listItems);
    QVERIFY(shape.mostPictures <= limits.pictures);
    QVERIFY(shape.longestWord <= limits.wordLength);
    QString text = document.toPlainText();
    text.remove(QChar(0x200B));
    QCOMPARE(text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts).size(), words);
}

// A page beyond its length is cut after the last whole tag before it.
void TestBoundedHtml::pageCut()
{
    BoundedHtml::Limits limits;
    limits.length = 1000;
    const QString html = QStringLiteral("<p><img src=\"image://%1.png\"/>k2</p>").arg(QString(40, QLatin1Char('a')));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("the last \\d+ characters were left out")));
    BoundedHtml::Changes changes;
    const QString bounded = BoundedHtml::bound(html.repeated(100), &changes, limits);
    QVERIFY(bounded.size() <= limits.length);
    QVERIFY(bounded.size() > limits.length - html.size());
    QCOMPARE(changes.cut, html.size() * 100 - bounded.size());
    QVERIFY(html.repeated(100).startsWith(bounded));
    QVERIFY(bounded.endsWith(QLatin1Char('>')) || bounded.endsWith(QStringLiteral("k2")));
}

// A reading that recursed per level would overflow the stack here; the
// HTML is read in one pass and comes back flat.
void TestBoundedHtml::deepestInputStaysFlat()
{
    const QString html = nestedTables(100000) + nested(QStringLiteral("<ol><li>"), QStringLiteral("</li></ol>"), 100000);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Rich text beyond")));
    BoundedHtml::Changes changes;
    const QString bounded = BoundedHtml::bound(html, &changes);
    const BoundedHtml::Limits limits;
    QCOMPARE(bounded.count(QStringLiteral("<table>")), limits.tableDepth);
    QVERIFY(bounded.count(QStringLiteral("<ol>")) <= limits.listDepth);
    QVERIFY(bounded.size() < html.size());
}

YARNWISE_GUI_TEST_MAIN(TestBoundedHtml)
#include "tst_boundedhtml.moc"
