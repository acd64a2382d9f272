#ifndef WRITTENPATTERNDIALOG_H
#define WRITTENPATTERNDIALOG_H

#include "instructionparser.h"
#include "writtenpattern.h"

#include <QDialog>

class QDialogButtonBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QTimer;

// Takes a written pattern, pasted or typed, and shows what chart it makes
// and which lines it does not read, as the text changes and before
// anything is built.
class WrittenPatternDialog : public QDialog
{
    Q_OBJECT

public:
    explicit WrittenPatternDialog(QWidget *parent = nullptr);

    void setText(const QString &text);
    // The pattern as last read; read again on demand.
    const WrittenPattern &pattern();
    const InstructionParser &parser() const { return m_parser; }

private:
    void readText();

    InstructionParser m_parser;
    WrittenPattern m_pattern;
    bool m_stale = true;
    QPlainTextEdit *m_text;
    QLabel *m_summary;
    QListWidget *m_unread;
    QDialogButtonBox *m_buttons;
    QTimer *m_reread;
};

#endif // WRITTENPATTERNDIALOG_H
