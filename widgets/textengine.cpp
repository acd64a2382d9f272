#include "textengine.h"

#include "stitch.h"
#include "stitchset.h"

TextEngine::TextEngine(QTextDocument *parent)
    : QSyntaxHighlighter(parent)
{
    m_keywordFormat.setForeground(Qt::darkMagenta);
    m_keywordFormat.setFontWeight(QFont::Bold);
    m_unknownFormat.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    m_unknownFormat.setUnderlineColor(Qt::red);
    updateList();
}

void TextEngine::updateList()
{
    m_parser = InstructionParser(StitchSet::instance()->keyWords());
    rehighlight();
    Q_EMIT keyWordsUpdated();
}

void TextEngine::highlightBlock(const QString &text)
{
    const InstructionParser::Reading reading = m_parser.read(text, 0, 0);
    for (const InstructionParser::Span &span : reading.stitches)
        setFormat(span.start, span.length, m_keywordFormat);
    for (const InstructionParser::Span &span : reading.unknown)
        setFormat(span.start, span.length, m_unknownFormat);
}
