#ifndef DOCUMENTPROPERTIESDIALOG_H
#define DOCUMENTPROPERTIESDIALOG_H

#include "patternfile.h"

#include <QDialog>

class QDoubleSpinBox;

// Document > Properties...: what the pattern says about its knitting as a
// whole. Today its gauge, which the pattern check measures floats by.
class DocumentPropertiesDialog : public QDialog
{
    Q_OBJECT

public:
    explicit DocumentPropertiesDialog(const Gauge &gauge, QWidget *parent = nullptr);

    Gauge gauge() const;

private:
    Gauge m_given;
    bool m_edited = false;
    QDoubleSpinBox *m_stitches = nullptr;
    QDoubleSpinBox *m_rows = nullptr;
};

#endif // DOCUMENTPROPERTIESDIALOG_H
