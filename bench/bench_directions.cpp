// The Directions page of a pattern file opened in the window, for pages
// that once hung or crashed it: tables nested 20 and 3000 deep, 5000
// nested list items, a word of 200,000 letters, a page of 10 MB. Each is
// paired in the same run with its floor: a page of ordinary paragraphs of
// the same length in characters, set and laid out as plain Qt does it.
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_directions

#include "boundedhtml.h"
#include "directions.h"
#include "directionsprinter.h"
#include "document.h"
#include "htmlfixtures.h"
#include "pagedocument.h"
#include "patternfile.h"
#include "stitchset.h"
#include "testenvironment.h"
#include "textedit.h"
#include "benchsupport.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFile>

namespace {

using bench::best;
using namespace HtmlFixtures;

QTextStream &out = bench::out();

// A pattern file of one Directions page holding `html`, as it is written.
QString writePattern(const QString &folder, const QString &html)
{
    PatternValues pattern;
    PatternTab page;
    page.directions = std::make_unique<DirectionsValues>();
    page.directions->html = html;
    pattern.tabs.push_back(std::move(page));
    const QString path = folder + QStringLiteral("/directions.kit");
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    QDataStream stream(&file);
    PatternFile::write(stream, pattern);
    return path;
}

// Opening the file in the window, as far as a laid-out page.
void open(const QString &path)
{
    PatternFile pattern(path);
    pattern.open();
    Document doc(pattern.stream());
    doc.loadDocument(pattern.stream());
    QCoreApplication::processEvents();
    const QSizeF size = doc.directions().first()->textEdit()->document()->documentLayout()->documentSize();
    bench::escape(&size);
}

// The floor: ordinary paragraphs of `characters` set into a page of the
// same size and font, and laid out.
void layOutPlain(qsizetype characters)
{
    PageDocument page;
    page.setDefaultFont(DirectionsPrinter::pageFont());
    page.setPageSize(QSizeF(TextEdit::pageWidth, 992));
    page.setHtml(ordinaryPage(characters));
    const QSizeF size = page.documentLayout()->documentSize();
    bench::escape(&size);
}

void opening(const QString &what, const QString &html, const QString &folder, int runs = 3)
{
    const QString path = writePattern(folder, html);
    const double figure = best(runs, [&] { open(path); });
    const double floor = best(runs, [&] { layOutPlain(html.size()); });
    bench::report(QStringLiteral("opening %1 (%2 KB)").arg(what).arg(QFile(path).size() / 1024), figure, floor);
}

// Bounding alone, against copying the text and counting its tags.
void bounding(const QString &what, const QString &html)
{
    qsizetype tags = 0;
    const double floor = best(5, [&] {
        QString copy = html;
        copy.detach();
        tags = copy.count(QLatin1Char('<'));
    });
    const double figure = best(5, [&] { bench::escape(BoundedHtml::bound(html).constData()); });
    bench::report(QStringLiteral("bounding %1").arg(what), figure, floor);
    bench::escape(&tags);
}

} // namespace

int main(int argc, char *argv[])
{
    const auto run = bench::start(argc, argv);
    // Every bounded page says what was changed; the figures are what counts.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    const QString folder = run.scratch(QString());
    const BoundedHtml::Limits limits;

    opening(QStringLiteral("tables 20 deep"), nestedTables(20), folder);
    opening(QStringLiteral("tables 3000 deep"), nestedTables(3000), folder);
    opening(QStringLiteral("5000 nested list items"), nestedLists(5000), folder);
    opening(QStringLiteral("a word of 200,000 letters"), longWord(200000), folder);
    opening(QStringLiteral("10 MB of ordinary paragraphs"), ordinaryPage(5 << 20), folder, 1);
    opening(QStringLiteral("a page at the length limit"), ordinaryPage(limits.length), folder);
    const QString deep = nested(QStringLiteral("<div>"), QStringLiteral("</div>"), limits.depth - 1);
    opening(QStringLiteral("a page at the limits, nested 31 deep throughout"),
            (deep + QStringLiteral(" k2 ")).repeated(limits.length / (deep.size() + 4)), folder);
    opening(QStringLiteral("a page of tables 4 deep throughout"),
            nestedTables(limits.tableDepth).repeated(limits.length / nestedTables(limits.tableDepth).size()), folder);
    for (int items : {1000, 4000})
        opening(QStringLiteral("one list of %1 items").arg(items),
                QStringLiteral("<ul>%1</ul>").arg(QStringLiteral("<li>k2, p2</li>").repeated(items)), folder);

    if (QCoreApplication::arguments().contains(QStringLiteral("--more"))) {
        const qsizetype n = limits.length;
        const auto fill = [n](const QString &piece) { return piece.repeated(n / piece.size()); };
        opening(QStringLiteral("flat tables"), fill(nestedTables(1)), folder, 1);
        opening(QStringLiteral("tables 2 deep"), fill(nestedTables(2)), folder, 1);
        opening(QStringLiteral("tables of 3x3"), fill(QStringLiteral("<table>%1</table>").arg(QStringLiteral("<tr>%1</tr>").arg(QStringLiteral("<td>k2</td>").repeated(3)).repeated(3))), folder, 1);
        opening(QStringLiteral("pictures between spaces"), QStringLiteral("<p>") + fill(QStringLiteral("<img src=\"image://none.png\"> ")), folder, 1);
        opening(QStringLiteral("pictures in paragraphs"), fill(QStringLiteral("<p><img src=\"image://none.png\"></p>")), folder, 1);
        opening(QStringLiteral("pictures between letters"), QStringLiteral("<p>") + fill(QStringLiteral("k<img src=\"image://none.png\">")), folder, 1);
        for (int items : {100, 250, 1000})
            opening(QStringLiteral("lists of %1 items").arg(items), fill(QStringLiteral("<ul>%1</ul>").arg(QStringLiteral("<li>k</li>").repeated(items))), folder, 1);
        for (int rows : {1000, 4000})
            opening(QStringLiteral("one table of %1 rows").arg(rows), QStringLiteral("<table>%1</table>").arg(QStringLiteral("<tr><td>k2</td><td>p2</td></tr>").repeated(rows)), folder, 1);
        opening(QStringLiteral("spans"), fill(QStringLiteral("<span style=\"color:red\">k</span> ")), folder, 1);
        opening(QStringLiteral("words of 999"), fill(QString(999, QLatin1Char('k')) + QLatin1Char(' ')), folder, 1);
    }
    bounding(QStringLiteral("1 MB of ordinary paragraphs (unchanged)"), ordinaryPage(1 << 19));
    bounding(QStringLiteral("tables 30000 deep (1 MB)"), nestedTables(30000));
    return 0;
}
