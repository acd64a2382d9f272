#ifndef CHARTRANGEBOX_H
#define CHARTRANGEBOX_H

#include <QGroupBox>
#include <QRect>

class QSpinBox;

// Chooses a part of a chart by its rows and stitches, numbered as a
// knitter counts them: row 1 at the bottom, stitch 1 at the right. Left
// unchecked, it chooses the whole chart.
class ChartRangeBox : public QGroupBox
{
    Q_OBJECT

public:
    explicit ChartRangeBox(QWidget *parent = nullptr);

    // The chart the part is taken from, and the part shown (grid units;
    // null for the whole chart).
    void setChart(int columns, int rows, const QRect &cells = QRect());
    // The cells chosen (grid units); null for the whole chart.
    QRect cells() const;

Q_SIGNALS:
    void cellsChanged();

private:
    QSpinBox *m_firstRow;
    QSpinBox *m_lastRow;
    QSpinBox *m_firstStitch;
    QSpinBox *m_lastStitch;
    int m_columns = 0;
    int m_rows = 0;
};

#endif // CHARTRANGEBOX_H
