#ifndef NEWCHARTDIALOG_H
#define NEWCHARTDIALOG_H

#include "docvalues.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QSpinBox;

// Asks for the title, size and fill stitch of a new chart, alone or as the
// first chart of a new document.
class NewChartDialog : public QDialog
{
    Q_OBJECT

public:
    NewChartDialog(bool chartOnly, const QString &proposedTitle, QWidget *parent = nullptr);

    DocValues values() const;

private:
    QLineEdit *m_title;
    QSpinBox *m_width;
    QSpinBox *m_height;
    QComboBox *m_stitch;
};

#endif // NEWCHARTDIALOG_H
