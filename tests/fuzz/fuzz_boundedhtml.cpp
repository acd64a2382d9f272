// Bounds rich text and lays it out as the Directions page does: bounded
// once, the text must come back unchanged when bounded again (but for a
// cut), and Qt must
// build it no deeper and with no longer words than the limits. A page
// that takes Qt too long shows as a time-out.

#include "fuzzenvironment.h"

#include "boundedhtml.h"
#include "htmlfixtures.h"
#include "pagedocument.h"

#include <QAbstractTextDocumentLayout>

#include <cstdlib>

namespace {

// Small limits, so that short inputs reach them.
BoundedHtml::Limits smallLimits()
{
    BoundedHtml::Limits limits;
    limits.depth = 12;
    limits.tableDepth = 2;
    limits.listDepth = 3;
    limits.wordLength = 40;
    limits.length = 1 << 16;
    return limits;
}

void writeSeeds(FuzzEnvironment &seeds)
{
    using namespace HtmlFixtures;
    seeds.addSeed(QStringLiteral("tables.html"), nestedTables(4).toUtf8());
    seeds.addSeed(QStringLiteral("lists.html"), nestedLists(5).toUtf8());
    seeds.addSeed(QStringLiteral("word.html"), longWord(60).toUtf8());
    seeds.addSeed(QStringLiteral("page.html"),
                  "<html><head><style>p { white-space: pre-wrap; }</style></head><body><h1>Cowl</h1>"
                  "<ul><li>Wool<li>Needles</ul><table><tr><td>Gauge<td>18 sts</table><p>Cast on.<p>"
                  "<nobr>k2 p2 k2</nobr><!-- note --><img src=\"image://a.png\"/></body></html>");
    for (const char *token :
         {"<table>", "</table>", "<tr>", "</tr>", "<td>", "</td>", "<th>", "<tbody>", "<caption>", "<ul>", "</ul>",
          "<ol>", "<li>", "</li>", "<dl>", "<dt>", "<dd>", "<p>", "</p>", "<div>", "</div>", "<blockquote>",
          "<nobr>", "<span>", "</span>", "<b>", "<br>", "<img src=x>", "<hr/>", "<!--", "-->", "<!DOCTYPE html>",
          "<head>", "<body>", "<style>", "white-space:nowrap", "display:inline", "&#97;", "&amp;", "&nbsp;", "\\61",
          "\"", "'", "/>", "\xe2\x80\x8b"})
        seeds.addPlainToken(token);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    FuzzEnvironment::init(argc, argv, writeSeeds);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const BoundedHtml::Limits limits = smallLimits();
    const QString html = QString::fromUtf8(FuzzEnvironment::bytes(data, size));
    const QString bounded = BoundedHtml::bound(html, nullptr, limits);
    // Separators may lengthen a page that was cut; nothing else changes.
    BoundedHtml::Changes again;
    const QString twice = BoundedHtml::bound(bounded, &again, limits);
    if (again.tables || again.lists || again.elements || again.breaks || (!again.cut && twice != bounded))
        std::abort();

    PageDocument page;
    page.setPageSize(QSizeF(752, 992));
    page.setHtml(bounded);
    page.documentLayout()->documentSize();
    const HtmlFixtures::Shape shape = HtmlFixtures::shapeOf(page);
    // Tables nested deeper cost time that doubles with each level: none
    // may pass. A word's cost grows with its square, and in garbled text
    // (numeric entities without their ';', control characters) Qt may
    // join a few characters more into a word than the bounds count: a few
    // over the limit cost nothing, a word without bound would.
    const int wordSlack = 8;
    if (shape.tableDepth > limits.tableDepth || shape.longestWord > limits.wordLength + wordSlack)
        std::abort();
    FuzzEnvironment::reset();
    return 0;
}
