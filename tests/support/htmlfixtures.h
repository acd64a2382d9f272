#ifndef HTMLFIXTURES_H
#define HTMLFIXTURES_H

#include <QString>

class QTextDocument;

// Rich text of the shapes that once made the Directions page slow or
// crash it, and the shape of a laid-out page to check them by.
namespace HtmlFixtures {

// `open` `levels` times, then "x", then `close` as often.
QString nested(const QString &open, const QString &close, int levels);
// A table in the one cell of a table, `levels` deep.
QString nestedTables(int levels);
// A list in the one item of a list, `levels` deep, each item with a word.
QString nestedLists(int levels);
// One paragraph of a single word of `length` letters.
QString longWord(int length);
// Paragraphs of ordinary directions, about `characters` long in all.
QString ordinaryPage(qsizetype characters);

// What makes a page's layout slow, as Qt built it.
struct Shape
{
    int tables = 0;
    int cells = 0; // of every table
    int items = 0; // of every list
    int tableDepth = 0;
    int listDepth = 0;
    int longestList = 0;
    int mostPictures = 0; // in one paragraph
    int longestWord = 0;
};
Shape shapeOf(const QTextDocument &document);

} // namespace HtmlFixtures

#endif // HTMLFIXTURES_H
