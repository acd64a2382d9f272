#ifndef TEXTENGINE_H
#define TEXTENGINE_H

#include <QList>
#include <QRegularExpression>
#include <QStringList>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>

// Shows every stitch abbreviation in the written instructions in bold
// dark magenta. Abbreviations are matched as literal text, case-sensitive,
// also inside longer words.
class TextEngine : public QSyntaxHighlighter
{
    Q_OBJECT

public:
    struct HighlightingRule
    {
        QRegularExpression pattern;
        QTextCharFormat format;
    };

    explicit TextEngine(QTextDocument *parent);

    // Every abbreviation of every catalogue stitch, in catalogue order.
    QStringList keyWords() const { return m_keyWords; }

public Q_SLOTS:
    // Rebuilds the keywords and rules from the stitch catalogue.
    void updateList();

Q_SIGNALS:
    void keyWordsUpdated();

protected:
    void highlightBlock(const QString &text) override;

private:
    QList<HighlightingRule> highlightingRules;
    QStringList m_keyWords;
    QTextCharFormat keywordFormat;
};

#endif // TEXTENGINE_H
