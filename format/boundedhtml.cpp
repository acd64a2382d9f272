#include "boundedhtml.h"

#include <QDebug>
#include <QHash>
#include <QList>
#include <QSet>
#include <QStringView>

#include <vector>

namespace {

const QChar zeroWidthSpace(0x200B);
const QString lineBreak = QStringLiteral("<br />");

// What an element means to the reading: which parents Qt lets it have,
// whether Qt closes it at once, and which limit it counts against.
enum class Role : quint8 {
    Inline,
    Block,
    Void,       // closed at once: Qt gives it no children
    Table,
    Section,    // thead, tbody, tfoot: only within a table
    Row,        // only within a table or a section
    Cell,       // only within a row
    List,
    Item,       // an item right within an item closes it
    Paragraph,  // likewise
    DefList,
    Term,       // only within a definition list
    Definition, // only within a term or a definition list
    NoBreak,    // spaces inside do not break lines
    // A name spelt with an entity, which Qt decodes: it could be any
    // element, so it counts as a table and a list and closes nothing.
    Unknown,
};

Role roleOf(const QString &name)
{
    static const QHash<QString, Role> roles = [] {
        QHash<QString, Role> map;
        const std::pair<const char *, Role> named[] = {
            {"img", Role::Void},        {"hr", Role::Void},         {"br", Role::Void},
            {"meta", Role::Void},       {"table", Role::Table},     {"thead", Role::Section},
            {"tbody", Role::Section},   {"tfoot", Role::Section},   {"caption", Role::Block},
            {"tr", Role::Row},          {"td", Role::Cell},         {"th", Role::Cell},
            {"ul", Role::List},         {"ol", Role::List},         {"li", Role::Item},
            {"p", Role::Paragraph},     {"dl", Role::DefList},      {"dt", Role::Term},
            {"dd", Role::Definition},   {"head", Role::Block},      {"body", Role::Block},
            {"nobr", Role::NoBreak},    {"div", Role::Block},       {"blockquote", Role::Block},
            {"pre", Role::Block},       {"center", Role::Block},    {"address", Role::Block},
            {"h1", Role::Block},        {"h2", Role::Block},        {"h3", Role::Block},
            {"h4", Role::Block},        {"h5", Role::Block},        {"h6", Role::Block},
            {"html", Role::Block},
        };
        for (const auto &[text, role] : named)
            map.insert(QString::fromLatin1(text), role);
        return map;
    }();
    if (name.isEmpty())
        return Role::Void;
    if (name.contains(QLatin1Char('&')))
        return Role::Unknown;
    return roles.value(name, Role::Inline);
}

bool isTable(Role role)
{
    return role == Role::Table || role == Role::Unknown;
}

bool isList(Role role)
{
    return role == Role::List || role == Role::Unknown;
}

bool isTablePart(Role role)
{
    return role == Role::Section || role == Role::Row || role == Role::Cell;
}

// The parents Qt lets an element have; it closes the elements in between.
bool allowedIn(Role role, Role parent)
{
    if (parent == Role::Unknown)
        return true;
    switch (role) {
    case Role::Section: return parent == Role::Table;
    case Role::Row: return parent == Role::Table || parent == Role::Section;
    case Role::Cell: return parent == Role::Row;
    case Role::Term: return parent == Role::DefList;
    case Role::Definition: return parent == Role::Term || parent == Role::DefList;
    default: return true;
    }
}

bool isPlainName(const QString &name)
{
    for (const QChar c : name) {
        const char16_t code = c.unicode();
        const bool plain = (code >= 'a' && code <= 'z') || (code >= '0' && code <= '9') || code == '-' || code == '_'
            || code == ':' || code == '.';
        if (!plain)
            return false;
    }
    return true;
}

bool isAsciiLetter(uint code)
{
    return (code >= 'a' && code <= 'z') || (code >= 'A' && code <= 'Z');
}

int digitValue(QChar c, int base)
{
    const char16_t code = c.unicode();
    if (code >= '0' && code <= '9')
        return code - '0';
    if (base == 16 && code >= 'a' && code <= 'f')
        return code - 'a' + 10;
    if (base == 16 && code >= 'A' && code <= 'F')
        return code - 'A' + 10;
    return -1;
}

// The value of at most `most` digits from `pos`; `end` is left after the
// last.
uint digits(QStringView text, qsizetype pos, int base, int most, qsizetype &end)
{
    uint value = 0;
    for (end = pos; end < text.size() && end - pos < most && digitValue(text[end], base) >= 0; ++end)
        value = value * uint(base) + uint(digitValue(text[end], base));
    return value;
}

// Whether a style could spell a word such as "nowrap" in a way that is
// not written out plainly: with a CSS escape or a numeric entity for a
// letter.
bool spellsLetterInCode(QStringView html, qsizetype pos)
{
    qsizetype end = 0;
    if (html[pos] == QLatin1Char('\\') && pos + 1 < html.size()) {
        const uint value = digits(html, pos + 1, 16, 6, end);
        return end > pos + 1 ? isAsciiLetter(value) : isAsciiLetter(html[pos + 1].unicode());
    }
    if (html[pos] == QLatin1Char('&') && html.mid(pos + 1).startsWith(QLatin1Char('#'))) {
        const bool hex = html.mid(pos + 2).startsWith(QLatin1Char('x'), Qt::CaseInsensitive);
        const uint value = digits(html, pos + (hex ? 3 : 2), hex ? 16 : 10, 8, end);
        return isAsciiLetter(value);
    }
    return false;
}

// Whether a style may turn spaces into no-break spaces anywhere in the
// page: it asks for no wrapping, plainly or spelt in code. (Qt 6.4 keeps
// block elements blocks whatever their style's "display" says.)
bool spacesMayNotBreak(QStringView html)
{
    if (html.contains(QLatin1String("nowrap"), Qt::CaseInsensitive))
        return true;
    for (qsizetype pos = 0; pos < html.size(); ++pos) {
        const QChar c = html[pos];
        if ((c == QLatin1Char('\\') || c == QLatin1Char('&')) && spellsLetterInCode(html, pos))
            return true;
    }
    return false;
}

bool isBlock(Role role)
{
    return role != Role::Inline && role != Role::Void && role != Role::NoBreak && role != Role::Unknown;
}

bool isLineBreak(const QString &name)
{
    return name == QLatin1String("br") || name == QLatin1String("hr");
}

// Elements whose start or end tag Qt always ends a paragraph at, whatever
// their content and style. A <div> ends one only where it starts, an
// empty table nowhere.
bool endsParagraph(const QString &name, bool start)
{
    static const QSet<QString> both = [] {
        QSet<QString> names;
        for (const char *name : {"p", "h1", "h2", "h3", "h4", "h5", "h6", "blockquote", "pre", "center", "body",
                                 "caption", "ul", "ol", "li", "dl", "dt", "dd", "td", "th"})
            names.insert(QString::fromLatin1(name));
        return names;
    }();
    // A row that gets no cell ends nothing (found by fuzzing: "p<tr><>k..."
    // is one word): a row start is not taken for the end of a paragraph,
    // which only ever counts words and pictures as longer.
    if (start && name == QLatin1String("div"))
        return true;
    return both.contains(name);
}

// An open element as the reading sees it, with what it counts towards the
// limits. Elements left out stay here too, so that their end tags find
// them.
struct Element
{
    int name = -1;
    Role role = Role::Block;
    bool kept = true;
    bool noBreak = false;
    // The nearest table or list around is left out.
    bool inFlatTable = false;
    bool inFlatList = false;
    // A table or row left out: whether a row or cell came already.
    bool hasPart = false;
    // Kept elements, tables and lists from the outermost to this one.
    int depth = 0;
    int tables = 0;
    int lists = 0;
    // The nearest table and list around, by their place in the stack.
    qsizetype table = -1;
    qsizetype list = -1;
    // A list: its items so far.
    int items = 0;
    // Where its start tag is in the HTML.
    qsizetype tagAt = 0;
    qsizetype tagEnd = 0;
};

// A start tag as read: where it is, its element, whether '/' closes it at
// once, and whether it opens a table: a row or cell outside any table
// makes Qt open one around it.
struct StartTag
{
    qsizetype pos = 0;
    qsizetype end = 0;
    QString name;
    Role role = Role::Inline;
    bool closed = false;
    bool table = false;
};

// Reads HTML the way Qt's HTML reader does: every '<' opens a tag, words
// in tags may be quoted, and the tag ends at the next '>'. Checking, it
// stops at the first limit exceeded; writing, it bounds the HTML.
class Reader
{
public:
    Reader(QStringView html, const BoundedHtml::Limits &limits, bool writing);

    // Checking: whether the HTML is within the limits.
    bool read();
    QString output() const { return m_out; }
    const BoundedHtml::Changes &changes() const { return m_changes; }

private:
    // Writing, a change is made and counted; checking, the reading stops.
    bool change(qsizetype &count);
    bool fits(qsizetype end);
    void write(qsizetype from, qsizetype to);

    qsizetype skipSpace(qsizetype pos) const;
    qsizetype wordEnd(qsizetype pos) const;
    bool isEmptyWord(qsizetype pos, qsizetype end) const;
    qsizetype attributesEnd(qsizetype pos) const;

    qsizetype text(qsizetype pos);
    qsizetype unitEnd(qsizetype pos, qsizetype end) const;
    bool breaksWord(QChar c) const;
    qsizetype tag(qsizetype pos);
    qsizetype declaration(qsizetype pos, qsizetype at);
    qsizetype endTag(qsizetype pos, qsizetype at);
    qsizetype startTag(qsizetype pos, qsizetype at);
    StartTag readStartTag(qsizetype pos, qsizetype at) const;
    void place(StartTag &tag);
    bool opensTable(Role role) const;

    int nameId(const QString &name);
    Element pop();
    void closeTop();
    qsizetype parentsOpen(Role role) const;
    void closeFor(Role role);
    bool leftOut(const StartTag &tag, const Element &parent) const;
    qsizetype &countFor(const StartTag &tag);
    bool writeSeparator(Role role);
    void endsLine(bool line);
    void endsBlock(bool paragraph);
    bool roomFor(Role role, const QString &name);
    void open(const StartTag &tag, bool kept);
    bool flattenRestOfTable();
    bool roomForPicture();
    bool roomForItem();

    QStringView m_html;
    BoundedHtml::Limits m_limits;
    bool m_writing;
    bool m_exceeded = false;
    bool m_spacesMayNotBreak;
    qsizetype m_end;
    int m_word = 0;
    // Tables, cells and rows, and items so far, pictures in the paragraph
    // so far.
    int m_tables = 0;
    int m_cells = 0;
    int m_items = 0;
    int m_pictures = 0;
    std::vector<Element> m_open;
    QHash<QString, int> m_ids;
    QList<QString> m_names;
    // Open elements of each name, and of each role.
    QList<qsizetype> m_openByName;
    qsizetype m_openByRole[int(Role::Unknown) + 1] = {};
    QString m_out;
    BoundedHtml::Changes m_changes;
};

Reader::Reader(QStringView html, const BoundedHtml::Limits &limits, bool writing)
    : m_html(html)
    , m_limits(limits)
    , m_writing(writing)
    , m_spacesMayNotBreak(spacesMayNotBreak(html))
    , m_end(qMin(html.size(), limits.length))
{
    m_open.push_back(Element());
    if (writing)
        m_out.reserve(m_end + m_end / 16);
}

bool Reader::read()
{
    if (!m_writing && m_html.size() > m_limits.length)
        return false;
    qsizetype pos = 0;
    while (pos < m_end && !m_exceeded) {
        if (m_html[pos] == QLatin1Char('<'))
            pos = tag(pos);
        else
            pos = text(pos);
    }
    if (m_writing && pos < m_html.size())
        m_changes.cut = m_html.size() - pos;
    return !m_exceeded;
}

bool Reader::change(qsizetype &count)
{
    if (!m_writing) {
        m_exceeded = true;
        return false;
    }
    ++count;
    return true;
}

// Whether a piece ending at `end` still fits the page; writing stops
// before the first that does not.
bool Reader::fits(qsizetype end)
{
    if (end <= m_end)
        return true;
    m_end = 0;
    return false;
}

void Reader::write(qsizetype from, qsizetype to)
{
    if (m_writing && to > from)
        m_out += m_html.mid(from, to - from);
}

qsizetype Reader::skipSpace(qsizetype pos) const
{
    while (pos < m_html.size() && m_html[pos].isSpace())
        ++pos;
    return pos;
}

// A word in a tag, as Qt reads one: in double quotes, in single quotes
// (a quote after a backslash does not end it), or up to a space, '>',
// "/>", '<' or '='.
qsizetype Reader::wordEnd(qsizetype pos) const
{
    const qsizetype size = m_html.size();
    if (pos < size && m_html[pos] == QLatin1Char('"')) {
        const qsizetype quote = m_html.indexOf(QLatin1Char('"'), pos + 1);
        return quote < 0 ? size : quote + 1;
    }
    if (pos < size && m_html[pos] == QLatin1Char('\'')) {
        for (++pos; pos < size; ++pos) {
            if (m_html[pos] == QLatin1Char('\'') && m_html[pos - 1] != QLatin1Char('\\'))
                return pos + 1;
        }
        return size;
    }
    for (; pos < size; ++pos) {
        const QChar c = m_html[pos];
        if (c == QLatin1Char('>') || c == QLatin1Char('<') || c == QLatin1Char('=') || c.isSpace()
            || (c == QLatin1Char('/') && pos + 1 < size && m_html[pos + 1] == QLatin1Char('>')))
            break;
    }
    return pos;
}

// Whether the word from `pos` to `end` says nothing: it is empty or two
// quotes.
bool Reader::isEmptyWord(qsizetype pos, qsizetype end) const
{
    if (end == pos)
        return true;
    const QChar quote = m_html[pos];
    if (quote != QLatin1Char('"') && quote != QLatin1Char('\''))
        return false;
    return end - pos == 1 || (end - pos == 2 && m_html[pos + 1] == quote);
}

// Attributes as Qt reads them: words, each maybe with '=' and a value,
// until '>', '/' or an empty word, even one in quotes.
qsizetype Reader::attributesEnd(qsizetype pos) const
{
    const qsizetype size = m_html.size();
    while (pos < size) {
        pos = skipSpace(pos);
        if (pos < size && (m_html[pos] == QLatin1Char('>') || m_html[pos] == QLatin1Char('/')))
            break;
        const qsizetype key = wordEnd(pos);
        if (isEmptyWord(pos, key))
            break;
        pos = skipSpace(key);
        if (pos < size && m_html[pos] == QLatin1Char('='))
            pos = wordEnd(skipSpace(pos + 1));
    }
    return pos;
}

bool Reader::breaksWord(QChar c) const
{
    if (c == zeroWidthSpace)
        return true;
    const bool space = c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n')
        || c == QLatin1Char('\r') || c == QLatin1Char('\f');
    return space && !m_spacesMayNotBreak && !m_open.back().noBreak;
}

// A character, a surrogate pair or an entity: what a break never splits.
qsizetype Reader::unitEnd(qsizetype pos, qsizetype end) const
{
    const QChar c = m_html[pos];
    if (c.isHighSurrogate() && pos + 1 < end && m_html[pos + 1].isLowSurrogate())
        return pos + 2;
    if (c == QLatin1Char('&')) {
        // Qt reads an entity of at most nine characters and no space.
        for (qsizetype next = pos + 1; next < end && next <= pos + 9 && !m_html[next].isSpace(); ++next) {
            if (m_html[next] == QLatin1Char(';'))
                return next + 1;
        }
    }
    return pos + 1;
}

// Text up to the next tag, with a break put into every word that grows
// beyond the limit.
qsizetype Reader::text(qsizetype pos)
{
    qsizetype end = m_html.indexOf(QLatin1Char('<'), pos);
    end = end < 0 || end > m_end ? m_end : end;
    qsizetype written = pos;
    while (pos < end) {
        if (breaksWord(m_html[pos])) {
            m_word = 0;
            ++pos;
            continue;
        }
        const qsizetype next = unitEnd(pos, end);
        if (m_word >= m_limits.wordLength) {
            if (!change(m_changes.breaks))
                return pos;
            write(written, pos);
            m_out += zeroWidthSpace;
            written = pos;
            m_word = 0;
        }
        ++m_word;
        pos = next;
    }
    write(written, pos);
    return pos;
}

qsizetype Reader::tag(qsizetype pos)
{
    const qsizetype at = skipSpace(pos + 1);
    if (at < m_html.size() && m_html[at] == QLatin1Char('!'))
        return declaration(pos, at + 1);
    if (at < m_html.size() && m_html[at] == QLatin1Char('/'))
        return endTag(pos, at + 1);
    return startTag(pos, at);
}

// A comment to its "-->", or a declaration such as <!DOCTYPE> to its '>'.
qsizetype Reader::declaration(qsizetype pos, qsizetype at)
{
    qsizetype end = m_html.size();
    if (m_html.mid(at).startsWith(QLatin1String("--"))) {
        const qsizetype close = m_html.indexOf(QLatin1String("-->"), at + 2);
        end = close < 0 ? end : close + 3;
    } else {
        const qsizetype close = m_html.indexOf(QLatin1Char('>'), at);
        end = close < 0 ? end : close + 1;
    }
    if (!fits(end))
        return pos;
    write(pos, end);
    return end;
}

int Reader::nameId(const QString &name)
{
    const auto found = m_ids.constFind(name);
    if (found != m_ids.constEnd())
        return found.value();
    const int id = int(m_names.size());
    m_ids.insert(name, id);
    m_names.append(name);
    m_openByName.append(0);
    return id;
}

Element Reader::pop()
{
    const Element top = m_open.back();
    m_open.pop_back();
    --m_openByName[top.name];
    --m_openByRole[int(top.role)];
    return top;
}

// Writing, an element closed for any other reason than its own end tag
// gets one, so that Qt closes it too.
void Reader::closeTop()
{
    const Element top = pop();
    if (m_writing && top.kept)
        m_out += QStringLiteral("</%1>").arg(m_names.at(top.name));
}

// The elements an end tag closes: up to the nearest open one of its
// name. One that names nothing open, or is spelt with an entity, is
// passed on as it is and closes nothing here: Qt closes at most as much.
qsizetype Reader::endTag(qsizetype pos, qsizetype at)
{
    const qsizetype nameEnd = wordEnd(at);
    const qsizetype close = m_html.indexOf(QLatin1Char('>'), nameEnd);
    const qsizetype end = close < 0 ? m_html.size() : close + 1;
    if (!fits(end))
        return pos;
    QStringView word = m_html.mid(at, nameEnd - at);
    if (word.startsWith(QLatin1Char('"')) || word.startsWith(QLatin1Char('\'')))
        word = word.mid(1, word.size() - 2);
    const QString name = word.toString().toLower().trimmed();
    const auto found = m_ids.constFind(name);
    if (found == m_ids.constEnd() || m_openByName.at(found.value()) == 0 || roleOf(name) == Role::Unknown) {
        write(pos, end);
        return end;
    }
    while (m_open.back().name != found.value())
        closeTop();
    const Element element = pop();
    if (element.kept)
        write(pos, end);
    const bool paragraph = element.kept && endsParagraph(name, false);
    endsLine(paragraph);
    endsBlock(paragraph);
    return end;
}

// Open elements that Qt would take for a parent of an element of this
// role, where it takes only some.
qsizetype Reader::parentsOpen(Role role) const
{
    const auto open = [this](Role parent) { return m_openByRole[int(parent)]; };
    const qsizetype unknown = open(Role::Unknown);
    switch (role) {
    case Role::Section: return unknown + open(Role::Table);
    case Role::Row: return unknown + open(Role::Table) + open(Role::Section);
    case Role::Cell: return unknown + open(Role::Row);
    case Role::Term: return unknown + open(Role::DefList);
    case Role::Definition: return unknown + open(Role::DefList) + open(Role::Term);
    default: return 1;
    }
}

// What Qt closes before an element of this role: an item or paragraph
// right within another, everything up to the nearest allowed parent.
// Without an allowed parent Qt goes to the top; staying is safe.
void Reader::closeFor(Role role)
{
    const Role top = m_open.back().role;
    if ((role == Role::Item || role == Role::Paragraph) && top == role) {
        closeTop();
        return;
    }
    if (allowedIn(role, top) || parentsOpen(role) == 0)
        return;
    while (!allowedIn(role, m_open.back().role))
        closeTop();
}

// An element closed at once nests nothing and counts against no depth,
// but a table still counts as a table.
bool Reader::leftOut(const StartTag &tag, const Element &parent) const
{
    const Role role = tag.role;
    if (role == Role::Void)
        return false;
    if (tag.table
        && (parent.tables >= m_limits.tableDepth || m_tables >= m_limits.tables || m_cells >= m_limits.cells))
        return true;
    if (isList(role) && parent.lists >= m_limits.listDepth)
        return true;
    if (isTablePart(role) && parent.inFlatTable)
        return true;
    if (role == Role::Item && (parent.inFlatList || m_items >= m_limits.items))
        return true;
    // A list can be closed and opened again for more items only right
    // within it.
    if (role == Role::Item && parent.list >= 0 && parent.list + 1 < qsizetype(m_open.size())
        && m_open[size_t(parent.list)].items >= m_limits.listItems)
        return true;
    return !tag.closed && parent.depth >= m_limits.depth;
}

qsizetype &Reader::countFor(const StartTag &tag)
{
    if (tag.table || isTablePart(tag.role))
        return m_changes.tables;
    if (isList(tag.role) || tag.role == Role::Item)
        return m_changes.lists;
    return m_changes.elements;
}

// What stands for an element left out: a line break for a block, a
// space between cells, nothing for an inline element. Whether it ends a
// word.
bool Reader::writeSeparator(Role role)
{
    Element &parent = m_open.back();
    if (role == Role::Cell || role == Role::Row) {
        Element &whole = role == Role::Row && parent.table >= 0 ? m_open[size_t(parent.table)] : parent;
        const bool first = !whole.hasPart;
        whole.hasPart = true;
        if (first)
            return false;
        m_out += role == Role::Cell ? QStringLiteral(" ") : lineBreak;
        return role == Role::Row || breaksWord(QLatin1Char(' '));
    }
    if (!isBlock(role) || role == Role::Section || role == Role::List)
        return false;
    m_out += lineBreak;
    return true;
}

// Qt spends long on every table cell: past the page's count, the table
// around is closed where it stands and the rest of it flattened. False
// when checking.
bool Reader::flattenRestOfTable()
{
    const qsizetype table = m_open.back().table;
    if (m_cells < m_limits.cells || table < 0 || m_open.back().inFlatTable)
        return true;
    if (!change(m_changes.tables))
        return false;
    for (qsizetype at = qsizetype(m_open.size()) - 1; at >= table; --at) {
        Element &element = m_open[size_t(at)];
        if (element.kept)
            m_out += QStringLiteral("</%1>").arg(m_names.at(element.name));
        element.kept = false;
        element.inFlatTable = true;
    }
    m_open[size_t(table)].hasPart = true;
    return true;
}

// Room for a kept element: a picture in its paragraph, an item in its
// list. False when checking and there is none.
bool Reader::roomFor(Role role, const QString &name)
{
    if (role == Role::Unknown || name == QLatin1String("img"))
        return roomForPicture();
    if (role == Role::Item)
        return roomForItem();
    return true;
}

// A new paragraph has no pictures yet.
void Reader::endsBlock(bool paragraph)
{
    if (paragraph)
        m_pictures = 0;
}

// A new block or line ends the word.
void Reader::endsLine(bool line)
{
    if (line)
        m_word = 0;
}

// Qt takes time that grows with the square of the pictures in one
// paragraph: every `pictures` of them, an empty block element, closed at
// once, starts a new one.
bool Reader::roomForPicture()
{
    if (m_pictures++ >= m_limits.pictures) {
        if (!change(m_changes.splits))
            return false;
        m_out += QStringLiteral("<div/>");
        m_pictures = 1;
        m_word = 0;
    }
    // A picture is one character of the word it stands in.
    if (m_word >= m_limits.wordLength) {
        if (!change(m_changes.breaks))
            return false;
        m_out += zeroWidthSpace;
        m_word = 0;
    }
    ++m_word;
    return true;
}

// Qt takes time that grows with the square of a list's length: every
// `listItems` items the list is closed and opened again as it was.
bool Reader::roomForItem()
{
    const qsizetype at = m_open.back().list;
    if (at < 0)
        return true;
    Element &list = m_open[size_t(at)];
    if (list.items++ < m_limits.listItems)
        return true;
    if (!change(m_changes.splits))
        return false;
    m_out += QStringLiteral("</%1>").arg(m_names.at(list.name));
    write(list.tagAt, list.tagEnd);
    list.items = 1;
    return true;
}

void Reader::open(const StartTag &tag, bool kept)
{
    const int name = nameId(tag.name);
    const Role role = tag.role;
    if (tag.closed || role == Role::Void)
        return;
    const Element &parent = m_open.back();
    Element element;
    element.name = name;
    element.role = role;
    element.kept = kept;
    element.noBreak = parent.noBreak || role == Role::NoBreak || role == Role::Unknown;
    element.inFlatTable = tag.table ? !kept : parent.inFlatTable;
    element.inFlatList = isList(role) ? !kept : parent.inFlatList;
    element.depth = parent.depth + (kept ? 1 : 0);
    element.tables = parent.tables + (kept && tag.table ? 1 : 0);
    element.lists = parent.lists + (kept && isList(role) ? 1 : 0);
    element.table = tag.table ? qsizetype(m_open.size()) : parent.table;
    element.list = role == Role::List ? qsizetype(m_open.size()) : parent.list;
    element.tagAt = tag.pos;
    element.tagEnd = tag.end;
    m_open.push_back(element);
    ++m_openByName[name];
    ++m_openByRole[int(role)];
}

// A start tag: its name, its attributes as Qt reads them, then anything
// to the next '>'; a '/' there closes the element at once.
StartTag Reader::readStartTag(qsizetype pos, qsizetype at) const
{
    StartTag tag;
    tag.pos = pos;
    const qsizetype nameEnd = wordEnd(at);
    qsizetype finish = nameEnd;
    if (finish < m_html.size() && m_html[finish].isSpace())
        finish = attributesEnd(finish);
    for (; finish < m_html.size() && m_html[finish] != QLatin1Char('>'); ++finish)
        tag.closed = tag.closed || m_html[finish] == QLatin1Char('/');
    tag.end = qMin(finish + 1, m_html.size());
    QStringView word = m_html.mid(at, nameEnd - at);
    if (word.startsWith(QLatin1Char('"')) || word.startsWith(QLatin1Char('\'')))
        word = word.mid(1, word.size() - 2);
    tag.name = word.toString().toLower();
    tag.role = roleOf(tag.name);
    return tag;
}

qsizetype Reader::startTag(qsizetype pos, qsizetype at)
{
    StartTag tag = readStartTag(pos, at);
    if (!fits(tag.end))
        return pos;
    closeFor(tag.role);
    if ((tag.role == Role::Row || tag.role == Role::Cell) && !flattenRestOfTable())
        return tag.end;
    tag.table = opensTable(tag.role);
    place(tag);
    return tag.end;
}

// Qt opens a table around a row or cell that stands outside any table,
// and around a cell with no row open in its table: a cell in a cell
// whose table Qt made up (found by fuzzing: "<td></tr><td><table>"). A
// cell right within a table is counted so too, which is safe.
bool Reader::opensTable(Role role) const
{
    if (isTable(role))
        return true;
    if (role != Role::Row && role != Role::Cell)
        return false;
    const qsizetype table = m_open.back().table;
    if (table < 0)
        return true;
    const Role around = m_open[size_t(table)].role;
    if (role == Role::Row)
        return around == Role::Cell;
    if (around == Role::Row)
        return false;
    for (qsizetype i = qsizetype(m_open.size()) - 1; i > table; --i) {
        if (m_open[size_t(i)].role == Role::Row)
            return false;
    }
    return true;
}

// Keeps the element or leaves it out, and opens it. Writing, a name that
// an end tag could not spell the same is left out, so that every element
// written can be closed.
void Reader::place(StartTag &tag)
{
    const bool strange = m_writing && tag.role != Role::Void && !isPlainName(tag.name);
    const bool kept = !(strange || leftOut(tag, m_open.back())) || !change(countFor(tag));
    if (m_exceeded || (kept && !roomFor(tag.role, tag.name)))
        return;
    if (kept) {
        write(tag.pos, tag.end);
        endsLine(endsParagraph(tag.name, true) || isLineBreak(tag.name));
        endsBlock(endsParagraph(tag.name, true));
        m_tables += tag.table ? 1 : 0;
        m_cells += tag.role == Role::Row || tag.role == Role::Cell ? 1 : 0;
        m_items += tag.role == Role::Item ? 1 : 0;
    } else {
        endsLine(writeSeparator(tag.role));
    }
    open(tag, kept);
}

} // namespace

QString BoundedHtml::Changes::describe() const
{
    QStringList parts;
    if (tables)
        parts << QStringLiteral("%1 table elements nested too deeply were flattened").arg(tables);
    if (lists)
        parts << QStringLiteral("%1 list elements nested too deeply were flattened").arg(lists);
    if (elements)
        parts << QStringLiteral("%1 other elements nested too deeply were flattened").arg(elements);
    if (splits)
        parts << QStringLiteral("%1 long lists or paragraphs of many pictures were split").arg(splits);
    if (breaks)
        parts << QStringLiteral("%1 breaks were put into long words").arg(breaks);
    if (cut)
        parts << QStringLiteral("the last %1 characters were left out").arg(cut);
    return parts.join(QStringLiteral("; "));
}

namespace {

// Spaces that break a line in plain text; a no-break space, a figure
// space and the like do not.
bool breaksPlainText(QChar c)
{
    switch (c.unicode()) {
    case ' ': case '\t': case '\n': case '\r': case '\f': case 0x200B: case 0x2028: case 0x2029: return true;
    default: return false;
    }
}

void warn(const BoundedHtml::Changes &changes)
{
    qWarning("Rich text beyond what the page lays out quickly was changed: %s", qPrintable(changes.describe()));
}

} // namespace

QString BoundedHtml::bound(const QString &html, Changes *changes)
{
    return bound(html, changes, Limits());
}

QString BoundedHtml::bound(const QString &html, Changes *changes, const Limits &limits)
{
    if (changes)
        *changes = Changes();
    if (Reader(html, limits, false).read())
        return html;
    Reader writer(html, limits, true);
    writer.read();
    if (changes)
        *changes = writer.changes();
    warn(writer.changes());
    return writer.output();
}

QString BoundedHtml::boundText(const QString &text, Changes *changes)
{
    return boundText(text, changes, Limits());
}

QString BoundedHtml::boundText(const QString &text, Changes *changes, const Limits &limits)
{
    Changes made;
    QString bounded;
    qsizetype written = 0;
    qsizetype end = qMin(text.size(), limits.length);
    if (end < text.size() && end > 0 && text.at(end - 1).isHighSurrogate())
        --end;
    int word = 0;
    for (qsizetype pos = 0; pos < end; ++pos) {
        const QChar c = text.at(pos);
        if (breaksPlainText(c)) {
            word = 0;
        } else if (++word > limits.wordLength && !c.isLowSurrogate()) {
            bounded += QStringView(text).mid(written, pos - written);
            bounded += zeroWidthSpace;
            written = pos;
            word = 1;
            ++made.breaks;
        }
    }
    made.cut = text.size() - end;
    if (changes)
        *changes = made;
    if (!made.any())
        return text;
    bounded += QStringView(text).mid(written, end - written);
    warn(made);
    return bounded;
}
