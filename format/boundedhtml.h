#ifndef BOUNDEDHTML_H
#define BOUNDEDHTML_H

#include <QString>

// Rich text on its way into the Directions page, kept within what Qt's
// text layout handles in time linear in its length. Qt 6.4 takes time
// that grows with the square of how deeply elements nest, of the length
// of a list, of the pictures in one paragraph and of the length of a word
// it cannot break, and that doubles with every table nested in a table
// cell; pattern files and pasted web pages can carry all of them. HTML
// within the limits comes back as it came, byte for byte. Beyond them,
// elements nested too deeply, and tables, cells and list items beyond the
// page's count, lose their tags and keep their content (table cells then
// stand apart by a space, rows and other blocks by a line break; a table
// open at the last cell is closed there); a long list is closed
// and opened again, a paragraph of many pictures gets a new paragraph; a
// long word gets an invisible break opportunity (a zero-width space)
// every `wordLength` characters, and a page longer than `length`
// characters is cut after the last whole tag or word before it. Every
// change is logged with a warning.
//
// The HTML is read the way Qt's HTML reader reads it, so that the depth
// it counts is never less than the depth Qt builds.
class BoundedHtml
{
public:
    struct Limits
    {
        // Elements of any kind open at once.
        int depth = 32;
        // Tables within tables.
        int tableDepth = 4;
        // Lists within lists.
        int listDepth = 8;
        // Tables, table rows and cells, and list items in the whole page:
        // Qt spends long on each.
        int tables = 1000;
        int cells = 5000;
        int items = 10000;
        // Items of one list.
        int listItems = 250;
        // Pictures in one paragraph.
        int pictures = 100;
        // Characters in a row without a space or a zero-width space.
        int wordLength = 1000;
        // Characters of the whole page.
        qsizetype length = 1 << 19;
    };

    // What bound() changed.
    struct Changes
    {
        qsizetype tables = 0;   // table elements left out (table, row, cell)
        qsizetype lists = 0;    // list elements left out (list, item)
        qsizetype elements = 0; // other elements left out
        qsizetype splits = 0;   // lists and paragraphs split in two
        qsizetype breaks = 0;   // zero-width spaces put into long words
        qsizetype cut = 0;      // characters left out at the end

        bool any() const { return tables || lists || elements || splits || breaks || cut; }
        // In words, for the log and the designer.
        QString describe() const;
    };

    // Linear in the length of `html`; memory in proportion to it.
    static QString bound(const QString &html, Changes *changes = nullptr);
    static QString bound(const QString &html, Changes *changes, const Limits &limits);
    // The same for plain text, which only has words and a length.
    static QString boundText(const QString &text, Changes *changes = nullptr);
    static QString boundText(const QString &text, Changes *changes, const Limits &limits);
};

#endif // BOUNDEDHTML_H
