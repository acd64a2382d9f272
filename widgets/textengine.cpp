#include "textengine.h"

#include "stitch.h"
#include "stitchset.h"

TextEngine::TextEngine(QTextDocument *parent)
    : QSyntaxHighlighter(parent)
{
    m_keywordFormat.setForeground(Qt::darkMagenta);
    m_keywordFormat.setFontWeight(QFont::Bold);
    updateList();
}

void TextEngine::updateList()
{
    QStringList keyWords;
    for (const Stitch *stitch : StitchSet::instance()->stitches())
        keyWords += stitch->abbrivs();
    m_parser = InstructionParser(keyWords);
    rehighlight();
    Q_EMIT keyWordsUpdated();
}

void TextEngine::highlightBlock(const QString &text)
{
    for (const InstructionParser::Span &span : m_parser.abbreviations(text))
        setFormat(span.start, span.length, m_keywordFormat);
}
