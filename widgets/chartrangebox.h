#ifndef CHARTRANGEBOX_H
#define CHARTRANGEBOX_H

#include "chartoptions.h"

#include <QGroupBox>
#include <QRect>

class ChartGrid;
class QSpinBox;

// Chooses a part of a chart by its rows and stitches, numbered as the
// chart numbers them: from the bottom and from the right, from the chart's
// first numbers, every second row where only those are charted. Left
// unchecked, it chooses the whole chart.
class ChartRangeBox : public QGroupBox
{
    Q_OBJECT

public:
    explicit ChartRangeBox(QWidget *parent = nullptr);

    // The chart the part is taken from, and the part shown (grid units;
    // null for the whole chart). The box keeps the chart's size and
    // numbering, not the chart.
    void setChart(const ChartGrid &grid, const QRect &cells = QRect());
    // The cells chosen (grid units); null for the whole chart.
    QRect cells() const;

Q_SIGNALS:
    void cellsChanged();

private:
    // The row and the stitch, counted from 1, a box's number stands for.
    int rowOf(const QSpinBox *box) const;
    int stitchOf(const QSpinBox *box) const;

    QSpinBox *m_firstRow;
    QSpinBox *m_lastRow;
    QSpinBox *m_firstStitch;
    QSpinBox *m_lastStitch;
    int m_columns = 0;
    int m_rows = 0;
    ChartOptions m_numbering;
};

#endif // CHARTRANGEBOX_H
