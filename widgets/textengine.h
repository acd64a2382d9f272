#ifndef TEXTENGINE_H
#define TEXTENGINE_H

#include "instructionparser.h"

#include <QStringList>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>

// Shows in bold dark magenta every stitch abbreviation in the written
// instructions that is read as a stitch: whole items only, as the parser
// reads them; underlines in red every word that is not a stitch. Each line is split into its items once and each item looked
// up, so highlighting a long pane stays quick.
class TextEngine : public QSyntaxHighlighter
{
    Q_OBJECT

public:
    explicit TextEngine(QTextDocument *parent);

    // Every abbreviation of every catalogue stitch, in catalogue order.
    QStringList keyWords() const { return m_parser.keyWords(); }

public Q_SLOTS:
    // Rebuilds the keywords from the stitch catalogue.
    void updateList();

Q_SIGNALS:
    void keyWordsUpdated();

protected:
    void highlightBlock(const QString &text) override;

private:
    InstructionParser m_parser;
    QTextCharFormat m_keywordFormat;
    QTextCharFormat m_unknownFormat;
};

#endif // TEXTENGINE_H
