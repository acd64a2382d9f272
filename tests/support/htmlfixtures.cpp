#include "htmlfixtures.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>

#include <utility>
#include <vector>

namespace HtmlFixtures {

QString nested(const QString &open, const QString &close, int levels)
{
    return open.repeated(levels) + QStringLiteral("x") + close.repeated(levels);
}

QString nestedTables(int levels)
{
    return nested(QStringLiteral("<table><tr><td>"), QStringLiteral("</td></tr></table>"), levels);
}

QString nestedLists(int levels)
{
    return nested(QStringLiteral("<ul><li>item "), QStringLiteral("</li></ul>"), levels);
}

QString longWord(int length)
{
    return QStringLiteral("<p>%1</p>").arg(QString(length, QLatin1Char('k')));
}

QString ordinaryPage(qsizetype characters)
{
    const QString paragraph = QStringLiteral("<p>Row 1 (right side): knit two, purl two to the last two stitches, "
                                             "knit two. Row 2: purl across.</p>\n");
    return paragraph.repeated(qMax<qsizetype>(1, characters / paragraph.size()));
}

// Frames within frames, walked without recursion.
static void countTables(const QTextDocument &document, Shape &shape)
{
    int &deepest = shape.tableDepth;
    std::vector<std::pair<QTextFrame *, int>> frames{{document.rootFrame(), 0}};
    while (!frames.empty()) {
        const auto [frame, depth] = frames.back();
        frames.pop_back();
        const auto *table = qobject_cast<QTextTable *>(frame);
        const int here = depth + (table ? 1 : 0);
        shape.tables += table ? 1 : 0;
        shape.cells += table ? table->rows() * table->columns() : 0;
        deepest = qMax(deepest, here);
        for (QTextFrame *child : frame->childFrames())
            frames.emplace_back(child, here);
    }
}

Shape shapeOf(const QTextDocument &document)
{
    Shape shape;
    countTables(document, shape);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (QTextList *list = block.textList()) {
            shape.items += list->itemNumber(block) >= 0 ? 1 : 0;
            shape.listDepth = qMax(shape.listDepth, list->format().indent());
            shape.longestList = qMax(shape.longestList, list->count());
        }
        shape.mostPictures = qMax(shape.mostPictures, int(block.text().count(QChar::ObjectReplacementCharacter)));
        int word = 0;
        for (const QChar c : block.text()) {
            // A no-break space breaks nothing.
            const bool breaks = c == QLatin1Char(' ') || c == QChar(0x200B) || c == QChar(QChar::LineSeparator);
            word = breaks ? 0 : word + 1;
            shape.longestWord = qMax(shape.longestWord, word);
        }
    }
    return shape;
}

} // namespace HtmlFixtures
