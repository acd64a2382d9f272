#ifndef STITCHREPLACERDIALOG_H
#define STITCHREPLACERDIALOG_H

#include <QDialog>

class QComboBox;

// Asks which stitch to replace throughout the chart, and with which
// single-cell stitch.
class StitchReplacerDialog : public QDialog
{
    Q_OBJECT

public:
    explicit StitchReplacerDialog(QWidget *parent = nullptr);

    QString originalStitch() const;
    QString newStitch() const;

private:
    QComboBox *m_original;
    QComboBox *m_new;
};

#endif // STITCHREPLACERDIALOG_H
