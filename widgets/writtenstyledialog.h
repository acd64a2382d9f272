#ifndef WRITTENSTYLEDIALOG_H
#define WRITTENSTYLEDIALOG_H

#include "chartoptions.h"

#include <QDialog>

class ChartGrid;
class QCheckBox;
class QComboBox;
class QPlainTextEdit;

// Chooses how a chart's written instructions read: plainly or as
// published, and for the published style how repeats are written, which
// rows carry a stitch count and whether rows without a repeat box look for
// their own repeat. The chart's text below shows each choice as it is
// made; Cancel puts the chart's choices back.
class WrittenStyleDialog : public QDialog
{
    Q_OBJECT

public:
    WrittenStyleDialog(ChartGrid *grid, const QString &title, QWidget *parent = nullptr);

    WrittenOptions chosen() const;

    void reject() override;

private:
    void showChoices(const WrittenOptions &written);
    void preview();

    ChartGrid *m_grid;
    QString m_title;
    WrittenOptions m_original;
    QComboBox *m_style;
    QComboBox *m_repeats;
    QComboBox *m_counts;
    QCheckBox *m_findRepeats;
    QPlainTextEdit *m_text;
};

#endif // WRITTENSTYLEDIALOG_H
