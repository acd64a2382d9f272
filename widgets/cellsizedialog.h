#ifndef CELLSIZEDIALOG_H
#define CELLSIZEDIALOG_H

#include <QDialog>

class QSpinBox;

// Asks for the width and height of the chart's cells.
class CellSizeDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CellSizeDialog(const QSize &current, QWidget *parent = nullptr);

    QSize cellSize() const;

private:
    QSpinBox *m_width;
    QSpinBox *m_height;
};

#endif // CELLSIZEDIALOG_H
