#include "textengine.h"

#include "stitch.h"
#include "stitchset.h"

TextEngine::TextEngine(QTextDocument *parent)
    : QSyntaxHighlighter(parent)
{
    keywordFormat.setForeground(Qt::darkMagenta);
    keywordFormat.setFontWeight(QFont::Bold);
    updateList();
}

void TextEngine::updateList()
{
    m_keyWords.clear();
    highlightingRules.clear();
    for (const Stitch *stitch : StitchSet::instance()->stitches())
        m_keyWords += stitch->abbrivs();

    for (const QString &word : std::as_const(m_keyWords)) {
        // An empty abbreviation would match everywhere and nowhere.
        if (word.isEmpty())
            continue;
        HighlightingRule rule;
        rule.pattern.setPattern(QStringLiteral("(%1)(\\b|(?=[0-9]{0,}))").arg(QRegularExpression::escape(word)));
        rule.format = keywordFormat;
        highlightingRules.append(rule);
    }
    rehighlight();
    Q_EMIT keyWordsUpdated();
}

void TextEngine::highlightBlock(const QString &text)
{
    for (const HighlightingRule &rule : std::as_const(highlightingRules)) {
        QRegularExpressionMatchIterator matches = rule.pattern.globalMatch(text);
        while (matches.hasNext()) {
            const QRegularExpressionMatch match = matches.next();
            setFormat(int(match.capturedStart()), int(match.capturedLength()), rule.format);
        }
    }
}
