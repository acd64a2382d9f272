#ifndef STITCHREPLACERDIALOG_H
#define STITCHREPLACERDIALOG_H

#include <QDialog>

class QComboBox;
class Stitch;

// Asks which stitch to replace throughout the chart, and with which
// single-cell stitch. The stitches of the chart come first in both lists,
// the chart's most used first; the library's others follow.
class StitchReplacerDialog : public QDialog
{
    Q_OBJECT

public:
    explicit StitchReplacerDialog(const QList<Stitch *> &inChart, QWidget *parent = nullptr);

    QString originalStitch() const;
    QString newStitch() const;

private:
    QComboBox *m_original;
    QComboBox *m_new;
};

#endif // STITCHREPLACERDIALOG_H
